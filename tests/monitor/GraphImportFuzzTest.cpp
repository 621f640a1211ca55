// The graph recorder's imports (comma-separated text and workbooks, through
// the functions the window calls) under mutated and hostile input: every
// file is taken within the project's text bound or refused whole, a file
// shows at most one message for its bad sample lines, and a file of any
// size takes bounded memory.

#include "monitor/GraphExchange.h"
#include "platform/Workbook.h"
#include "platform/WorkbookBounds.h"
#include "tests/common/HostileFiles.h"
#include "tests/common/Mutator.h"
#include "tests/common/TestPaths.h"
#include "tests/monitor/GraphTestSupport.h"

#include <sys/resource.h>
#include <zip.h>

#include <fstream>
#include <sstream>

namespace {

// Peak resident memory of the process so far, in bytes.
long long PeakResident()
{
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return static_cast<long long>(usage.ru_maxrss) * 1024;
}

// Everything an import may change, as text.
std::string State(const CGraphRecorder& recorder)
{
    std::string state;
    for (const GraphChannel& ch : recorder.m_Channels)
        state += ch.name + "|" + ch.maxText + "|" + ch.minText + "\n";
    for (const GraphSample& sample : recorder.Samples())
        state += sample.timeText + "," + sample.valueTexts[0] + "\n";
    return state;
}

class GraphImportFuzz : public GraphFileTest {
protected:
    void SetUp() override
    {
        GraphFileTest::SetUp();
        m_recorder.ApplyScaleRule();
        for (int i = 0; i < 40; ++i) {
            GraphSample sample = SampleAt(7301.2 + i * 0.1, i * 10.0);
            sample.timeText = GraphTimeOfDay{23, 59, 58, 0}.Plus(i * 100).Text();
            sample.valueTexts = {std::to_string(i), "540", "0.0", "1.5"};
            m_recorder.AppendSamples(sample);
        }
    }

    // One import as the window makes it; what must hold afterwards.
    void ImportAndCheck(const std::string& path, bool workbook, const std::string& what)
    {
        const std::string before = State(m_recorder);
        m_messages.Clear();
        bool taken = workbook ? ImportGraphWorkbookFile(m_recorder, path) : ImportGraphCsvFile(m_recorder, path);
        const auto texts = m_messages.Texts();
        if (!taken) {
            ASSERT_EQ(State(m_recorder), before) << what << ": a refused import changed the recording";
            ASSERT_EQ(texts.size(), 1u) << what;
            return;
        }
        // The skipped lines' one message, and a workbook's "Import success.".
        ASSERT_LE(texts.size(), workbook ? 2u : 1u) << what;
        for (const GraphChannel& ch : m_recorder.m_Channels) {
            for (const std::string* text : {&ch.name, &ch.maxText, &ch.minText}) {
                ASSERT_LE(text->size(), 4096u) << what;
                ASSERT_TRUE(IsValidUtf8Text(*text)) << what;
            }
        }
        // What was taken can be written out again.
        ASSERT_TRUE(ExportGraphCsvFile(m_recorder, Path("again.csv"))) << what;
    }

    static bool IsValidUtf8Text(const std::string& text)
    {
        // The reader's own check is the one under test; this one is plain.
        size_t i = 0;
        while (i < text.size()) {
            unsigned char c = static_cast<unsigned char>(text[i]);
            size_t n = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
            if (n == 0 || i + n > text.size())
                return false;
            for (size_t k = 1; k < n; ++k)
                if ((static_cast<unsigned char>(text[i + k]) >> 6) != 2)
                    return false;
            i += n;
        }
        return true;
    }

};

// The lines of a comma-separated recording as the rows of sheet "GraphData"
// (an empty first row, then the file's lines from row 2).
CWorkbook SheetOf(const std::string& csv)
{
    CWorkbook book;
    WorkbookSheet& sheet = book.AddSheet("GraphData");
    std::istringstream in(csv);
    std::string line;
    int row = 2;
    sheet.SetCell(1, 1, "");
    while (std::getline(in, line, '\r') && row < 400) {
        if (!line.empty() && line[0] == '\n')
            line.erase(0, 1);
        std::istringstream cells(line);
        std::string cell;
        int column = 1;
        while (std::getline(cells, cell, ',') && column <= 8)
            sheet.SetCell(row, column++, cell);
        ++row;
    }
    return book;
}
// Rewrites a workbook file with every placeholder in its parts replaced: a
// text longer than the workbook writer takes, as another program may write it.
bool ReplaceInWorkbook(const std::string& path, const std::string& placeholder, const std::string& text)
{
    std::vector<std::pair<std::string, std::string>> parts;
    int code = 0;
    zip_t* archive = zip_open(path.c_str(), ZIP_RDONLY, &code);
    if (!archive)
        return false;
    for (zip_int64_t i = 0; i < zip_get_num_entries(archive, 0); ++i) {
        zip_stat_t stat;
        if (zip_stat_index(archive, static_cast<zip_uint64_t>(i), 0, &stat) != 0)
            continue;
        std::string data(static_cast<size_t>(stat.size), '\0');
        if (zip_file_t* file = zip_fopen_index(archive, static_cast<zip_uint64_t>(i), 0)) {
            zip_fread(file, data.data(), data.size());
            zip_fclose(file);
        }
        for (size_t at = data.find(placeholder); at != std::string::npos; at = data.find(placeholder, at + text.size()))
            data.replace(at, placeholder.size(), text);
        parts.emplace_back(stat.name, std::move(data));
    }
    zip_discard(archive);
    archive = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &code);
    if (!archive)
        return false;
    for (const auto& [name, data] : parts) {
        zip_source_t* source = zip_source_buffer(archive, data.data(), data.size(), 0);
        if (!source || zip_file_add(archive, name.c_str(), source, ZIP_FL_OVERWRITE) < 0) {
            zip_source_free(source);
            zip_discard(archive);
            return false;
        }
    }
    return zip_close(archive) == 0;
}

const char* const kError = "Import file error.";
const char* const kTooLarge = "The file holds more than can be imported. Nothing was imported.";

} // namespace

TEST_F(GraphImportFuzz, HostileFilesAreRefusedWholeWithinBoundedMemory)
{
    const std::string header = ",Set Frequency,DC Voltage,No display,Output Current\r\n"
                               "Min,0.00,200.00,0.00,0.00\r\nMax,60.00,800.00,10.00,20.00\r\n";
    const std::string sample = "0,50.00,540,0.0,1.5,23:59:59.950\r\n";
    struct Case {
        const char* what;
        std::string bytes;
        bool taken;
        std::string message; // the first message's beginning
    };
    std::vector<Case> cases;
    // A curve named with 50 MB of text: a file larger than any recording,
    // refused unread; named with 8 MB, refused at the name's bound.
    const std::string tooLarge = Path("in.csv") + " was not read: it is larger than 17 MB. Nothing was changed.";
    cases.push_back({"50 MB name", ",Set Frequency," + std::string(50u << 20, 'N') + ",a,b\r\nMin,0,0,0,0\r\nMax,1,1,1,1\r\n", false, tooLarge});
    // The rest of this file passes the text bound: read to its end, it would
    // be refused as too large.
    cases.push_back({"8 MB name", ",Set Frequency," + std::string(8u << 20, 'N') + ",a,b\r\nMin,0,0,0,0\r\nMax,1,1,1,1\r\n"
                                      + std::string(17u << 19, 'y'),
                     false, kError});
    // A name one byte past the bound, and names that are not UTF-8.
    cases.push_back({"4097-byte name", ",a," + std::string(4097, 'x') + ",c,d\r\nMin,0,0,0,0\r\nMax,1,1,1,1\r\n", false, kError});
    cases.push_back({"Latin-1 name", ",Stra\xdf" "e,b,c,d\r\nMin,0,0,0,0\r\nMax,1,1,1,1\r\n", false, kError});
    cases.push_back({"overlong encoding", ",\xc0\xaf,b,c,d\r\nMin,0,0,0,0\r\nMax,1,1,1,1\r\n", false, kError});
    // At the line bound, all but one sample line bad: one message.
    {
        std::string bytes = header + sample;
        for (int i = 0; i < kReadMaxRows - 4; ++i)
            bytes += "x\r\n";
        cases.push_back({"65532 bad lines", bytes, true, "Import file error. 65532 lines"});
    }
    // A million bad sample lines: past the line bound.
    {
        std::string bytes = header;
        for (int i = 0; i < 1000000; ++i)
            bytes += "1,2\r\n";
        cases.push_back({"a million bad lines", bytes, false, kTooLarge});
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WriteFileBytes(Path("in.csv"), c.bytes);
        const long long peak = PeakResident();
        ImportAndCheck(Path("in.csv"), false, c.what);
        ASSERT_EQ(m_messages.Texts().size(), 1u);
        EXPECT_EQ(m_messages.Texts()[0].rfind(c.message, 0), 0u) << m_messages.Texts()[0];
        // The file's text, not a multiple of it.
        EXPECT_LT(PeakResident() - peak, (kReadMaxTextBytes + (40 << 20)) * 2) << c.what;
        SetUp();
    }

    // A 199 MB file, written piece by piece, takes no more than the bounds.
    {
        std::ofstream out(Path("big.csv"), std::ios::binary);
        out << header;
        std::string block;
        for (int i = 0; i < 4096; ++i)
            block += "1,50.00,540,0.0,1.5,23:59:59.950\r\n";
        for (size_t written = header.size(); written < (199u << 20); written += block.size())
            out << block;
    }
    const long long peak = PeakResident();
    ImportAndCheck(Path("big.csv"), false, "199 MB");
    EXPECT_LT(PeakResident() - peak, 2 * (kReadMaxTextBytes + (40 << 20)));
    EXPECT_EQ(m_messages.Texts(),
              std::vector<std::string>{Path("big.csv") + " was not read: it is larger than 17 MB. Nothing was changed."});
    std::remove(Path("big.csv").c_str());

    // A small workbook that names a curve with 1 MB of text, and one whose
    // name is not UTF-8.
    for (const std::string& name : {std::string(1u << 20, 'W'), std::string("Spannung \xe4")}) {
        CWorkbook book = SheetOf(",Set Frequency,NAMEHERE,a,b\r\nMin,0,0,0,0\r\nMax,1,1,1,1\r\n" + sample);
        std::string error;
        ASSERT_TRUE(book.Save(Path("in.xlsx"), error)) << error;
        ASSERT_TRUE(ReplaceInWorkbook(Path("in.xlsx"), "NAMEHERE", name));
        EXPECT_LT(ReadFileBytes(Path("in.xlsx")).size(), 64u * 1024);
        ImportAndCheck(Path("in.xlsx"), true, "workbook name");
        EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{"Import file error."});
    }
}

TEST_F(GraphImportFuzz, MutatedRecordingsAreTakenOrRefusedWhole)
{
    ASSERT_TRUE(ExportGraphCsvFile(m_recorder, Path("seed.csv")));
    const std::vector<std::string> seeds = {
        ReadFileBytes(Path("seed.csv")),
        ",Set Frequency,DC Voltage,No display,Output Current\r\nMin,0.00,200.00,0.00,0.00\r\n"
        "Max,60.00,800.00,10.00,20.00\r\n0,50.00,540,0.0,1.5,23:59:59.950\r\n1,2\r\n",
        ",\xe4\xb8\xad,b,c,d\r\nMin,0,0,0,0\r\nMax,1,1,1,1\r\n0,1,1,1,1,9:05:07.250",
        // A name past its bound, line ends past the bound of lines, a good
        // file with more after it.
        ",Set Frequency," + std::string(5000, 'N') + ",a,b\r\nMin,0,0,0,0\r\nMax,1,1,1,1\r\n",
        std::string(70000, '\r'),
        ReadFileBytes(Path("seed.csv")) + std::string(4096, '\0') + "\r\n9,1,1,1,1,9:05:07.250",
    };
    CMutator mutator(26);
    const int runs = FuzzRuns(400);
    for (int run = 0; run < runs; ++run) {
        const std::string input = mutator.Mutate(seeds);
        const std::string what = "run " + std::to_string(run);
        if (run % 2 == 0) {
            WriteFileBytes(Path("in.csv"), input);
            ImportAndCheck(Path("in.csv"), false, what);
        } else {
            std::string error;
            if (!SheetOf(input).Save(Path("in.xlsx"), error))
                continue; // cells no workbook can hold
            ImportAndCheck(Path("in.xlsx"), true, what);
        }
        if (HasFatalFailure())
            return;
    }
    // Whole workbook files changed byte by byte.
    ASSERT_TRUE(ExportGraphWorkbookFile(m_recorder, Path("seed.xlsx")));
    const std::vector<std::string> files = {ReadFileBytes(Path("seed.xlsx"))};
    for (int run = 0; run < runs / 4; ++run) {
        WriteFileBytes(Path("in.xlsx"), mutator.Mutate(files));
        ImportAndCheck(Path("in.xlsx"), true, "file run " + std::to_string(run));
        if (HasFatalFailure())
            return;
    }
}

TEST_F(GraphImportFuzz, WhatIsNoRecordingFileIsRefusedUnreadAndTheRecordingStays)
{
    ASSERT_TRUE(ExportGraphCsvFile(m_recorder, Path("good.csv")));
    ASSERT_TRUE(ExportGraphWorkbookFile(m_recorder, Path("good.xlsx")));
    struct Reader {
        bool workbook;
        std::string good;
        const char* sizeReason;
    };
    const Reader readers[] = {
        {false, ReadFileBytes(Path("good.csv")), "it is larger than 17 MB"},
        {true, ReadFileBytes(Path("good.xlsx")), "it is larger than 64 MB"},
    };
    for (const Reader& reader : readers) {
        const std::string path = Path(reader.workbook ? "named.xlsx" : "named.csv");
        for (Hostile kind : kHostileKinds) {
            SCOPED_TRACE(std::string(reader.workbook ? "workbook, " : "comma-separated, ") + HostileName(kind));
            ASSERT_TRUE(MakeHostile(kind, path, reader.good));
            const std::string before = State(m_recorder);
            m_messages.Clear();
            FifoRescue rescue(path);
            EXPECT_FALSE(reader.workbook ? ImportGraphWorkbookFile(m_recorder, path) : ImportGraphCsvFile(m_recorder, path));
            EXPECT_FALSE(rescue.Rescued()) << "the import waited for a writer";
            EXPECT_EQ(State(m_recorder), before);
            ASSERT_EQ(m_messages.Texts().size(), 1u);
            const std::string said = m_messages.Texts()[0];
            const char* reason = kind == Hostile::Fifo            ? "it is a FIFO, not a file"
                                 : kind == Hostile::LinkToDevZero ? "it is a device, not a file"
                                 : kind == Hostile::Folder        ? "it is a folder, not a file"
                                                                  : reader.sizeReason;
            if (reader.workbook && kind == Hostile::LongLine)
                EXPECT_EQ(said.rfind("DataBase error:cannot open the workbook", 0), 0u) << said; // within its bound, and no workbook
            else
                EXPECT_EQ(said, path + " was not read: " + reason + ". Nothing was changed.");
            RemoveHostile(path);
        }
        WriteFileBytes(path, reader.good);
        m_messages.Clear();
        EXPECT_TRUE(reader.workbook ? ImportGraphWorkbookFile(m_recorder, path) : ImportGraphCsvFile(m_recorder, path));
    }
}
