// An independent reader of our workbooks: a spreadsheet program, run
// headless, turns the exported .xlsx into one comma-separated file per sheet,
// and those show exactly the cells we wrote. Skipped where the program is not
// installed (the test scripts install it).

#include "platform/Workbook.h"
#include "tests/view/ExchangeTestSupport.h"

#include <cstdlib>
#include <filesystem>

namespace {

std::string FindOnPath(const std::string& program)
{
    const char* path = std::getenv("PATH");
    std::string folders = path ? path : "/usr/bin:/bin";
    std::size_t start = 0;
    while (start <= folders.size()) {
        std::size_t end = folders.find(':', start);
        if (end == std::string::npos)
            end = folders.size();
        std::string candidate = folders.substr(start, end - start) + "/" + program;
        if (::access(candidate.c_str(), X_OK) == 0)
            return candidate;
        start = end + 1;
    }
    return {};
}

// Rows of a comma-separated file as the spreadsheet program writes it:
// fields with a comma, a quote or a line break are quoted, quotes doubled.
std::vector<std::vector<std::string>> ParseQuotedCsv(const std::string& text)
{
    std::vector<std::vector<std::string>> rows;
    std::vector<std::string> row;
    std::string field;
    bool quoted = false;
    bool any = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        any = true;
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                field += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            row.push_back(field);
            field.clear();
        } else if (c == '\n' || c == '\r') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            row.push_back(field);
            rows.push_back(row);
            row.clear();
            field.clear();
            any = false;
        } else {
            field += c;
        }
    }
    if (any) {
        row.push_back(field);
        rows.push_back(row);
    }
    return rows;
}

} // namespace

using SpreadsheetCheckTest = ExchangeTest;

TEST_F(SpreadsheetCheckTest, SpreadsheetProgramReadsTheSameCells)
{
    std::string soffice = FindOnPath("soffice");
    if (soffice.empty())
        GTEST_SKIP() << "no spreadsheet program (soffice) installed";

    Param(2, 1).m_strValue = "a, \"quoted\" text";
    Param(14, 2).m_strFactory = "\xE4\xB8\xAD\xE6\x96\x87";
    Param(5, 0).m_strValue = "007.50"; // a text that looks like a number stays as written
    CWorkbook templ;
    CParamExchange::MakeTemplate(templ);
    std::string error;
    ASSERT_TRUE(templ.Save(Path("template.xlsx"), error)) << error;
    CWorkbook exported;
    ASSERT_TRUE(m_exchange.BuildWorkbook(Path("template.xlsx"), exported));
    ASSERT_TRUE(m_exchange.SaveWorkbook(exported, Path("book.xlsx")));

    std::string out = Path("csv");
    std::string command = "cd '" + m_folder + "' && timeout 240 '" + soffice
                          + "' --headless --norestore -env:UserInstallation=file://" + m_folder
                          + "profile --convert-to 'csv:Text - txt - csv (StarCalc):44,34,76,1,,0,false,true,false,false,false,-1'"
                            " --outdir '" + out + "' book.xlsx >'" + m_folder + "soffice.log' 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0) << ReadFileBytes(m_folder + "soffice.log");

    for (const WorkbookSheet& sheet : exported.m_Sheets) {
        std::string csvPath = out + "/book-" + sheet.m_strName + ".csv";
        ASSERT_TRUE(std::filesystem::exists(csvPath)) << csvPath << "\n" << ReadFileBytes(m_folder + "soffice.log");
        auto rows = ParseQuotedCsv(ReadFileBytes(csvPath));
        ASSERT_EQ(static_cast<int>(rows.size()), sheet.RowCount()) << sheet.m_strName;
        for (int r = 1; r <= sheet.RowCount(); ++r) {
            const auto& cells = rows[r - 1];
            ASSERT_EQ(cells.size(), 3u) << sheet.m_strName << " row " << r;
            for (int c = 1; c <= 3; ++c)
                EXPECT_EQ(cells[c - 1], sheet.Cell(r, c)) << sheet.m_strName << " row " << r << " column " << c;
        }
    }
    auto group2 = ParseQuotedCsv(ReadFileBytes(out + "/book-Group2.csv"));
    EXPECT_EQ(group2.at(3).at(2), "a, \"quoted\" text");
}
