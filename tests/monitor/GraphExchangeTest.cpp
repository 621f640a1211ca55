// Exported and imported recordings: comma-separated text, workbooks (checked
// with a spreadsheet program where one is installed) and the picture file.

#include "monitor/GraphExchange.h"
#include "monitor/GraphPicture.h"
#include "platform/Workbook.h"
#include "tests/common/TestPaths.h"
#include "tests/monitor/GraphTestSupport.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace {

std::string FindOnPath(const std::string& program)
{
    for (const char* folder : {"/usr/bin", "/usr/local/bin", "/bin"}) {
        std::string candidate = std::string(folder) + "/" + program;
        if (::access(candidate.c_str(), X_OK) == 0)
            return candidate;
    }
    return {};
}

class GraphExchangeTest : public GraphFileTest {
protected:
    void SetUp() override
    {
        GraphFileTest::SetUp();
        m_recorder.SetChannel(2, "No display", "10.00", "0.00");
        m_recorder.SetChannel(3, "Output Current", "20.00", "0.00");
        m_recorder.ApplyScaleRule();
        Add(0.0, "23:59:59.950", {"50.00", "540", "0.0", "1.5"});
        Add(0.1, "00:00:00.050", {"49.50", "541", "0.0", "1.6"});
    }

    void Add(double clock, const std::string& time, std::array<std::string, 4> texts)
    {
        GraphSample sample = SampleAt(clock);
        sample.timeText = time;
        sample.valueTexts = texts;
        for (int c = 0; c < 4; ++c) {
            const GraphChannel& ch = m_recorder.m_Channels[c];
            sample.plotted[c] = (std::atof(texts[c].c_str()) - ch.minimum) * ch.scaleFactor;
        }
        m_recorder.AppendSamples(sample);
    }

};

const std::string kTwoSamples = ",Set Frequency,DC Voltage,No display,Output Current\r\n"
                                "Min,0.00,200.00,0.00,0.00\r\n"
                                "Max,60.00,800.00,10.00,20.00\r\n"
                                "0,50.00,540,0.0,1.5,23:59:59.950\r\n"
                                "1,49.50,541,0.0,1.6,00:00:00.050";

} // namespace

TEST_F(GraphExchangeTest, CsvExportImportAndExportAgainGiveTheSameBytes)
{
    ASSERT_TRUE(ExportGraphCsvFile(m_recorder, Path("a.csv")));
    EXPECT_EQ(ReadFileBytes(Path("a.csv")), kTwoSamples);

    SteppedClock clock;
    CGraphRecorder imported(clock);
    ASSERT_TRUE(ImportGraphCsvFile(imported, Path("a.csv")));
    EXPECT_TRUE(m_messages.Texts().empty());
    ASSERT_EQ(imported.Samples().size(), 2u);
    for (int c = 0; c < 4; ++c) {
        EXPECT_EQ(imported.m_Channels[c].name, m_recorder.m_Channels[c].name);
        EXPECT_EQ(imported.m_Channels[c].scaleLabels, m_recorder.m_Channels[c].scaleLabels);
        for (size_t i = 0; i < 2; ++i) {
            EXPECT_DOUBLE_EQ(imported.Samples()[i].plotted[c], m_recorder.Samples()[i].plotted[c]);
            EXPECT_EQ(imported.Samples()[i].valueTexts[c], m_recorder.Samples()[i].valueTexts[c]);
        }
    }
    EXPECT_EQ(imported.m_TimeAxisBase.Text(), "23:59:59.950");
    EXPECT_DOUBLE_EQ(imported.m_dStartClock, imported.Samples().front().clock);

    ASSERT_TRUE(ExportGraphCsvFile(imported, Path("b.csv")));
    EXPECT_EQ(ReadFileBytes(Path("b.csv")), kTwoSamples);
}

TEST_F(GraphExchangeTest, BadCsvFilesAreRefusedAndChangeNothing)
{
    struct Case {
        const char* what;
        std::string bytes;
        std::vector<std::string> messages;
        size_t samples; // after the import
    } cases[] = {
        {"two lines", ",a,b,c,d\r\nMin,0,0,0,0", {"Import file error."}, 2},
        {"max = min", ",a,b,c,d\r\nMin,0,0,0,5\r\nMax,1,1,1,5", {"Import file error."}, 2},
        {"max no number", ",a,b,c,d\r\nMin,0,0,0,0\r\nMax,1,1,1,x", {"Import file error."}, 2},
        {"header cells", ",a,b,c\r\nMin,0,0,0,0\r\nMax,1,1,1,1", {"Import file error."}, 2},
        {"bad time and a short line",
         ",a,b,c,d\r\nMin,0,0,0,0\r\nMax,1,1,1,1\r\n0,1,1,1,1,1:2\r\n1,1,1,1,1\r\n2,1,1,1,1,9:05:07.250",
         {"Import file error. 2 lines were not samples and were skipped."},
         1},
        {"a name past the text bound", ",a," + std::string(4097, 'n') + ",c,d\r\nMin,0,0,0,0\r\nMax,1,1,1,1", {"Import file error."}, 2},
        {"a name at the text bound", ",a," + std::string(4096, 'n') + ",c,d\r\nMin,0,0,0,0\r\nMax,1,1,1,1\r\n0,1,1,1,1,9:05:07.250", {}, 1},
        {"a name not UTF-8", ",a,b\xc0\xafz,c,d\r\nMin,0,0,0,0\r\nMax,1,1,1,1", {"Import file error."}, 2},
        {"a scale not UTF-8", ",a,b,c,d\r\nMin,0,0,0,0\r\nMax,1,1,1,1\xff", {"Import file error."}, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        m_recorder.ResetSamples();
        SetUp();
        WriteFileBytes(Path("bad.csv"), c.bytes);
        m_messages.Clear();
        ImportGraphCsvFile(m_recorder, Path("bad.csv"));
        EXPECT_EQ(m_messages.Texts(), c.messages);
        EXPECT_EQ(m_recorder.Samples().size(), c.samples);
        if (c.samples == 2) {
            EXPECT_EQ(m_recorder.m_Channels[1].name, "DC Voltage");
            EXPECT_EQ(m_recorder.m_Channels[0].name, "Set Frequency");
            EXPECT_EQ(m_recorder.m_Channels[0].maxText, "60.00");
        } else {
            EXPECT_EQ(m_recorder.Samples().back().timeText, "9:05:07.250");
        }
    }
    m_messages.Clear();
    EXPECT_FALSE(ImportGraphCsvFile(m_recorder, Path("missing.csv")));
    ASSERT_EQ(m_messages.Texts().size(), 1u);
    EXPECT_EQ(m_messages.Texts()[0].rfind("Opening the file is fail.\n", 0), 0u);
}

TEST_F(GraphExchangeTest, AFailedWriteKeepsWhatWasThereAndNamesTheReason)
{
    // A folder where the file should go: the rename over it fails.
    std::filesystem::create_directory(Path("keep.csv"));
    WriteFileBytes(Path("keep.csv/inside"), "old");
    EXPECT_FALSE(ExportGraphCsvFile(m_recorder, Path("keep.csv")));
    EXPECT_EQ(ReadFileBytes(Path("keep.csv/inside")), "old");
    ASSERT_EQ(m_messages.Texts().size(), 1u);
    EXPECT_EQ(m_messages.Texts()[0], "Opening the file is fail.\nIs a directory");
    int files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(m_folder))
        ++files;
    EXPECT_EQ(files, 1) << "no temporary file is left behind";
}

TEST_F(GraphExchangeTest, WorkbookCellsAsASpreadsheetProgramReadsThemAndBothFormsImport)
{
    ASSERT_TRUE(ExportGraphWorkbookFile(m_recorder, Path("book.xlsx")));
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{"Export success."});

    SteppedClock clock;
    CGraphRecorder imported(clock);
    m_messages.Clear();
    ASSERT_TRUE(ImportGraphWorkbookFile(imported, Path("book.xlsx")));
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{"Import success."});
    ASSERT_EQ(imported.Samples().size(), 2u);
    EXPECT_EQ(imported.Samples()[1].valueTexts[1], "541");
    EXPECT_DOUBLE_EQ(imported.Samples()[1].plotted[0], m_recorder.Samples()[1].plotted[0]);
    EXPECT_EQ(GraphCsvLines(imported), GraphCsvLines(m_recorder));

    std::string soffice = FindOnPath("soffice");
    if (soffice.empty())
        GTEST_SKIP() << "no spreadsheet program (soffice) installed";
    std::string command = "cd '" + m_folder + "' && timeout 240 '" + soffice +
                          "' --headless --norestore -env:UserInstallation=file://" + m_folder +
                          "profile --convert-to csv --outdir out book.xlsx >soffice.log 2>&1"
                          " && timeout 240 '" + soffice + "' --headless --norestore -env:UserInstallation=file://" +
                          m_folder + "profile --convert-to xls --outdir out book.xlsx >>soffice.log 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0) << ReadFileBytes(Path("soffice.log"));
    std::string csv = ReadFileBytes(Path("out/book.csv"));
    EXPECT_EQ(csv, ",,,,,\n"
                   "Index,Set Frequency,DC Voltage,No display,Output Current,Time\n"
                   "Min,0.00,200.00,0.00,0.00,\n"
                   "Max,60.00,800.00,10.00,20.00,\n"
                   "0,50.00,540,0.0,1.5,23:59:59.950\n"
                   "1,49.50,541,0.0,1.6,00:00:00.050\n");

    CGraphRecorder fromXls(clock);
    m_messages.Clear();
    ASSERT_TRUE(ImportGraphWorkbookFile(fromXls, Path("out/book.xls")));
    EXPECT_EQ(GraphCsvLines(fromXls), GraphCsvLines(m_recorder));
}

TEST_F(GraphExchangeTest, WorkbookFaultsAreNamed)
{
    WriteFileBytes(Path("broken.xlsx"), "not a workbook");
    EXPECT_FALSE(ImportGraphWorkbookFile(m_recorder, Path("broken.xlsx")));
    ASSERT_EQ(m_messages.Texts().size(), 1u);
    EXPECT_EQ(m_messages.Texts()[0].rfind("DataBase error:", 0), 0u);
    EXPECT_GT(m_messages.Texts()[0].size(), std::string("DataBase error:").size());

    CWorkbook other;
    other.AddSheet("Sheet1").SetCell(1, 1, "x");
    std::string error;
    ASSERT_TRUE(other.Save(Path("other.xlsx"), error)) << error;
    m_messages.Clear();
    EXPECT_FALSE(ImportGraphWorkbookFile(m_recorder, Path("other.xlsx")));
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{"Import file error."});
    EXPECT_EQ(m_recorder.Samples().size(), 2u);
}

TEST(GraphPictureTest, Bmp24HeaderAndRows)
{
    // 3 x 2 pixels: rows of 9 bytes padded to 12.
    const unsigned char rgb[] = {255, 0, 0, 0, 255, 0, 0, 0, 255, 1, 2, 3, 4, 5, 6, 7, 8, 9};
    std::string bmp = EncodeBmp24(3, 2, rgb);
    ASSERT_EQ(bmp.size(), 54u + 24u);
    auto u32 = [&](size_t at) {
        return uint32_t(uint8_t(bmp[at])) | uint32_t(uint8_t(bmp[at + 1])) << 8 | uint32_t(uint8_t(bmp[at + 2])) << 16 |
               uint32_t(uint8_t(bmp[at + 3])) << 24;
    };
    EXPECT_EQ(bmp.substr(0, 2), "BM");
    EXPECT_EQ(u32(2), 78u);
    EXPECT_EQ(u32(10), 54u);
    EXPECT_EQ(u32(14), 40u);
    EXPECT_EQ(u32(18), 3u);
    EXPECT_EQ(u32(22), 2u);
    EXPECT_EQ(uint8_t(bmp[28]), 24);
    EXPECT_EQ(u32(34), 24u);
    // Bottom row first, blue-green-red.
    EXPECT_EQ(std::string(bmp.data() + 54, 3), std::string("\x03\x02\x01", 3));
    EXPECT_EQ(std::string(bmp.data() + 66, 3), std::string("\x00\x00\xff", 3));
}
