// Comma-separated parameter files and workbooks (.xlsx and the older .xls)
// under mutated input: every file is imported or refused whole, the project
// stays savable, and the workbook reader stays within a memory bound.

#include "document/CsvFile.h"
#include "document/ProjectFile.h"
#include "platform/Workbook.h"
#include "tests/view/ExchangeTestSupport.h"
#include "tests/common/Mutator.h"

#include <sys/resource.h>
#include <zip.h>

namespace {

// The workbook reader runs under this much address space, so that a reader
// that allocates without bound fails here instead of passing on a big machine.
// The sanitizers reserve terabytes of address space for themselves: there the
// bounds of the reader are all that holds.
constexpr rlim_t kWorkbookAddressSpace = rlim_t(3) << 30;

class ScopedAddressSpace {
public:
    explicit ScopedAddressSpace(rlim_t bytes)
    {
#if !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
        ::getrlimit(RLIMIT_AS, &m_old);
        rlimit limited = m_old;
        limited.rlim_cur = bytes;
        m_set = ::setrlimit(RLIMIT_AS, &limited) == 0;
#else
        (void)bytes;
#endif
    }
    ~ScopedAddressSpace()
    {
        if (m_set)
            ::setrlimit(RLIMIT_AS, &m_old);
    }

private:
    rlimit m_old{};
    bool m_set = false;
};

std::string Zip(const std::vector<std::pair<std::string, std::string>>& parts, const std::string& path)
{
    int code = 0;
    zip_t* archive = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &code);
    if (!archive)
        return {};
    for (const auto& [name, text] : parts) {
        zip_source_t* source = zip_source_buffer(archive, text.data(), text.size(), 0);
        if (!source || zip_file_add(archive, name.c_str(), source, ZIP_FL_OVERWRITE) < 0) {
            zip_source_free(source);
            zip_discard(archive);
            return {};
        }
    }
    zip_close(archive);
    return ReadFileBytes(path);
}

// The parts of a workbook file, to mutate its XML rather than its compressed bytes.
std::vector<std::pair<std::string, std::string>> Unzip(const std::string& path)
{
    std::vector<std::pair<std::string, std::string>> parts;
    int code = 0;
    zip_t* archive = zip_open(path.c_str(), ZIP_RDONLY, &code);
    if (!archive)
        return parts;
    for (zip_int64_t i = 0; i < zip_get_num_entries(archive, 0); ++i) {
        zip_stat_t stat;
        if (zip_stat_index(archive, static_cast<zip_uint64_t>(i), 0, &stat) != 0)
            continue;
        std::string data(static_cast<std::size_t>(stat.size), '\0');
        zip_file_t* file = zip_fopen_index(archive, static_cast<zip_uint64_t>(i), 0);
        if (file) {
            zip_fread(file, data.data(), data.size());
            zip_fclose(file);
        }
        parts.emplace_back(stat.name, data);
    }
    zip_discard(archive);
    return parts;
}

} // namespace

using ExchangeFilesFuzz = ExchangeTest;

TEST_F(ExchangeFilesFuzz, CommaSeparatedFilesAreImportedOrRefusedWhole)
{
    const std::string exported = Path("seed.csv");
    ASSERT_TRUE(m_exchange.ExportCsv(exported));
    const std::string good = ReadFileBytes(exported);
    std::string lineEnds;
    for (int i = 0; i < 70000; ++i)
        lineEnds += "\r\n"; // past the line bound
    const std::vector<std::string> seeds = {
        good, "Model:D390-1P2-SHxx\r\nParameter Name,Set Value\r\nx\r\n00-00a,1\r\n00-01b,2",
        // A line past the bound of a line, line ends past the bound of
        // lines, a good file with more after it.
        "Model:D390-1P2-Hxx\r\nParameter Name,Set Value\r\nx\r\n00-00" + std::string(9000, 'n') + ",1", lineEnds,
        good + std::string(4096, '\0') + "\r\nappended,1"};
    CMutator mutator(4);
    const int runs = FuzzRuns(800);
    for (int run = 0; run < runs; ++run) {
        const std::string input = mutator.Mutate(seeds);
        WriteFileBytes(Path("in.csv"), input);
        std::vector<std::string> lines;
        {
            CCsvFile csv;
            ASSERT_TRUE(csv.Open(Path("in.csv"), CCsvFile::modeRead));
            csv.ReadLines(lines);
            for (const std::string& line : lines) {
                std::vector<std::string> cells;
                csv.SplitRow(line, cells);
            }
        }
        const std::string before = State();
        if (!m_exchange.ImportCsv(Path("in.csv"))) {
            ASSERT_EQ(State(), before) << "run " << run << ": a refused import changed the project";
        }
        ASSERT_TRUE(m_doc.SaveProjectFile(Path("p.zrv"))) << "run " << run << ": imported, and cannot be saved";
        m_messages.Clear();
    }
}

TEST_F(ExchangeFilesFuzz, WorkbooksAreReadOrRefusedWithinAMemoryBound)
{
    CWorkbook book;
    CParamExchange::MakeTemplate(book);
    std::string error;
    ASSERT_TRUE(book.Save(Path(CParamExchange::TemplateNameOf(m_doc.m_nModelCode)), error)) << error;
    CWorkbook filled;
    ASSERT_TRUE(m_exchange.BuildWorkbook(Path(CParamExchange::TemplateNameOf(m_doc.m_nModelCode)), filled));
    ASSERT_TRUE(filled.Save(Path("seed.xlsx"), error)) << error;
    const auto parts = Unzip(Path("seed.xlsx"));
    ASSERT_FALSE(parts.empty());
    std::vector<std::string> xmlSeeds;
    for (const auto& part : parts)
        xmlSeeds.push_back(part.second);
    const std::vector<std::string> fileSeeds = {ReadFileBytes(Path("seed.xlsx"))};
    const std::vector<std::string> xlsSeeds = {ReadFileBytes(TestSourceFolder() + "view/data/Sample.xls")};

    ScopedAddressSpace bound(kWorkbookAddressSpace);
    CMutator mutator(5);
    const int runs = FuzzRuns(300);
    for (int run = 0; run < runs; ++run) {
        std::string input;
        std::string path = Path("in.xlsx");
        switch (run % 3) {
        case 0: { // one XML part changed, the package intact
            auto changed = parts;
            auto& part = changed[mutator.Below(static_cast<std::uint32_t>(changed.size()))];
            part.second = mutator.Mutate({part.second, xmlSeeds[mutator.Below(static_cast<std::uint32_t>(xmlSeeds.size()))]});
            input = Zip(changed, Path("in.xlsx"));
            break;
        }
        case 1: // the package's own bytes
            input = mutator.Mutate(fileSeeds);
            break;
        default: // the older form, parsed in a child process
            input = mutator.Mutate(xlsSeeds);
            path = Path("in.xls");
            break;
        }
        WriteFileBytes(path, input);
        CWorkbook read;
        if (!read.Load(path, error)) {
            ASSERT_TRUE(read.m_Sheets.empty()) << "run " << run;
        }
        const std::string before = State();
        if (!m_exchange.ImportWorkbook(path)) {
            ASSERT_EQ(State(), before) << "run " << run << ": a refused import changed the project";
        }
        ASSERT_TRUE(m_doc.SaveProjectFile(Path("p.zrv"))) << "run " << run << ": imported, and cannot be saved";
        m_messages.Clear();
    }
}
