// Workbooks written by us and by other producers read back cell for cell; a
// damaged or foreign file is refused with a reason, never half read.

#include "platform/Workbook.h"
#include "tests/common/TestPaths.h"

#include <gtest/gtest.h>
#include <zip.h>

#include <fstream>
#include <sys/stat.h>

namespace {

bool FileExists(const std::string& path)
{
    struct stat info;
    return ::stat(path.c_str(), &info) == 0;
}

// Builds an .xlsx package from the given parts, as another producer would.
void WriteZip(const std::string& path, const std::vector<std::pair<std::string, std::string>>& parts)
{
    int code = 0;
    zip_t* archive = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &code);
    ASSERT_NE(archive, nullptr);
    for (const auto& [name, text] : parts) {
        zip_source_t* source = zip_source_buffer(archive, text.data(), text.size(), 0);
        ASSERT_NE(source, nullptr);
        ASSERT_GE(zip_file_add(archive, name.c_str(), source, ZIP_FL_OVERWRITE), 0);
    }
    ASSERT_EQ(zip_close(archive), 0);
}

const char* kRootRels = R"(<?xml version="1.0" encoding="UTF-8"?>
<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">
<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument" Target="book/main.xml"/>
</Relationships>)";

// A workbook part with prefixed elements and a relationship prefix other
// than "r", a rels file with a target relative to the workbook's folder and
// one from the package root.
const char* kWorkbookXml = R"(<?xml version="1.0" encoding="UTF-8"?>
<x:workbook xmlns:x="http://schemas.openxmlformats.org/spreadsheetml/2006/main" xmlns:rel="http://schemas.openxmlformats.org/officeDocument/2006/relationships">
<x:sheets><x:sheet name="First" sheetId="1" rel:id="s1"/><x:sheet name="Second" sheetId="2" rel:id="s2"/></x:sheets>
</x:workbook>)";

const char* kWorkbookRels = R"(<?xml version="1.0" encoding="UTF-8"?>
<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">
<Relationship Id="s1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet" Target="sheets/one.xml"/>
<Relationship Id="s2" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet" Target="/book/sheets/two.xml"/>
<Relationship Id="t" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/sharedStrings" Target="../strings.xml"/>
</Relationships>)";

const char* kSharedStrings = R"(<?xml version="1.0" encoding="UTF-8"?>
<x:sst xmlns:x="http://schemas.openxmlformats.org/spreadsheetml/2006/main">
<x:si><x:t>plain</x:t></x:si>
<x:si><x:r><x:t>rich </x:t></x:r><x:r><x:t xml:space="preserve">text </x:t></x:r><x:rPh><x:t>hint</x:t></x:rPh></x:si>
<x:si><x:t>a_x000D_b</x:t></x:si>
</x:sst>)";

// Cells with and without references, inline strings, numbers, booleans, a
// formula's cached text, and a gap before row 4.
const char* kSheetOne = R"(<?xml version="1.0" encoding="UTF-8"?>
<x:worksheet xmlns:x="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><x:sheetData>
<x:row r="1"><x:c r="A1" t="s"><x:v>0</x:v></x:c><x:c r="C1" t="s"><x:v>1</x:v></x:c></x:row>
<x:row><x:c t="inlineStr"><x:is><x:t>in &amp; line</x:t></x:is></x:c><x:c><x:v>50.5</x:v></x:c><x:c t="b"><x:v>1</x:v></x:c></x:row>
<x:row r="4"><x:c r="B4" t="str"><x:f>A1</x:f><x:v>cached</x:v></x:c><x:c t="s"><x:v>2</x:v></x:c></x:row>
</x:sheetData></x:worksheet>)";

const char* kSheetTwo = R"(<?xml version="1.0" encoding="UTF-8"?>
<worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><sheetData/></worksheet>)";

std::vector<std::pair<std::string, std::string>> ForeignParts()
{
    return {{"_rels/.rels", kRootRels},
            {"book/main.xml", kWorkbookXml},
            {"book/_rels/main.xml.rels", kWorkbookRels},
            {"strings.xml", kSharedStrings},
            {"book/sheets/one.xml", kSheetOne},
            {"book/sheets/two.xml", kSheetTwo}};
}

} // namespace

TEST(Workbook, WrittenWorkbookReadsBackCellForCell)
{
    CWorkbook out;
    WorkbookSheet& first = out.AddSheet("Group0");
    first.SetCell(1, 1, "Parameter_Descriptions");
    first.SetCell(1, 3, "Current_Value"); // gap in column 2 stays empty
    first.SetCell(3, 1, "00-01<Start & \"stop\">");
    first.SetCell(3, 2, "  leading and trailing blanks  ");
    first.SetCell(3, 3, "50.00");        // a number-like text stays a text
    first.SetCell(4, 1, "\xE8\xBF\x90\xE8\xA1\x8C"); // UTF-8 beyond ASCII
    first.SetCell(6, 2, "after a blank row");
    WorkbookSheet expected = first; // AddSheet may move the sheets
    out.AddSheet("Empty");
    out.AddSheet("Group14").SetCell(2, 1, "x");

    std::string path = MakeTempFolder() + "book.xlsx";
    std::string error;
    ASSERT_TRUE(out.Save(path, error)) << error;
    EXPECT_FALSE(FileExists(path + ".part"));

    CWorkbook in;
    ASSERT_TRUE(in.Load(path, error)) << error;
    ASSERT_EQ(in.m_Sheets.size(), 3u);
    EXPECT_EQ(in.m_Sheets[0].m_strName, "Group0");
    EXPECT_EQ(in.m_Sheets[1].m_strName, "Empty");
    EXPECT_EQ(in.m_Sheets[2].m_strName, "Group14");
    const WorkbookSheet* sheet = in.FindSheet("Group0");
    ASSERT_NE(sheet, nullptr);
    for (int row = 1; row <= 7; ++row)
        for (int column = 1; column <= 4; ++column)
            EXPECT_EQ(sheet->Cell(row, column), expected.Cell(row, column)) << "row " << row << " column " << column;
    EXPECT_EQ(sheet->RowCount(), 6);
    EXPECT_EQ(in.FindSheet("Empty")->RowCount(), 0);
    EXPECT_EQ(in.FindSheet("Group14")->Cell(2, 1), "x");
    EXPECT_EQ(in.FindSheet("group14"), nullptr); // names are exact
}

TEST(Workbook, ReadsTheShapesOtherProducersWrite)
{
    std::string path = MakeTempFolder() + "foreign.xlsx";
    WriteZip(path, ForeignParts());

    CWorkbook book;
    std::string error;
    ASSERT_TRUE(book.Load(path, error)) << error;
    ASSERT_EQ(book.m_Sheets.size(), 2u);
    const WorkbookSheet& one = book.m_Sheets[0];
    EXPECT_EQ(one.m_strName, "First");
    EXPECT_EQ(one.Cell(1, 1), "plain");
    EXPECT_EQ(one.Cell(1, 2), "");
    EXPECT_EQ(one.Cell(1, 3), "rich text "); // runs joined, phonetic hint left out
    EXPECT_EQ(one.Cell(2, 1), "in & line");
    EXPECT_EQ(one.Cell(2, 2), "50.5");
    EXPECT_EQ(one.Cell(2, 3), "TRUE");
    EXPECT_EQ(one.Cell(3, 1), "");
    EXPECT_EQ(one.Cell(4, 2), "cached");
    EXPECT_EQ(one.Cell(4, 3), "a\rb");
    EXPECT_EQ(book.m_Sheets[1].m_strName, "Second");
    EXPECT_EQ(book.m_Sheets[1].RowCount(), 0);
}

TEST(Workbook, RefusesDamagedOrForeignFiles)
{
    std::string folder = MakeTempFolder();
    struct Case {
        const char* why;
        std::vector<std::pair<std::string, std::string>> parts;
    };
    auto without = [](const std::string& name) {
        auto parts = ForeignParts();
        std::erase_if(parts, [&](const auto& part) { return part.first == name; });
        return parts;
    };
    auto replaced = [](const std::string& name, const std::string& text) {
        auto parts = ForeignParts();
        for (auto& part : parts)
            if (part.first == name)
                part.second = text;
        return parts;
    };
    std::string badIndex = kSheetOne;
    badIndex.replace(badIndex.find("<x:v>2</x:v>"), 12, "<x:v>9</x:v>");
    std::string badReference = kSheetOne;
    badReference.replace(badReference.find("r=\"B4\""), 6, "r=\"B5\"");
    const Case cases[] = {
        {"no workbook part", without("book/main.xml")},
        {"a listed sheet is missing", without("book/sheets/two.xml")},
        {"no relationships of the workbook", without("book/_rels/main.xml.rels")},
        {"a shared text index beyond the table", replaced("book/sheets/one.xml", badIndex)},
        {"a cell outside its row", replaced("book/sheets/one.xml", badReference)},
        {"a sheet that is not XML", replaced("book/sheets/one.xml", "<x:worksheet><x:sheetData>")},
    };
    int n = 0;
    for (const Case& c : cases) {
        std::string path = folder + std::to_string(n++) + ".xlsx";
        WriteZip(path, c.parts);
        CWorkbook book;
        book.AddSheet("stale");
        std::string error;
        EXPECT_FALSE(book.Load(path, error)) << c.why;
        EXPECT_FALSE(error.empty()) << c.why;
        EXPECT_TRUE(book.m_Sheets.empty()) << c.why;
    }

    std::string text = folder + "notes.xlsx";
    std::ofstream(text) << "Model:,not a workbook\r\n";
    CWorkbook book;
    std::string error;
    EXPECT_FALSE(book.Load(text, error));
    EXPECT_FALSE(book.Load(folder + "missing.xlsx", error));
    EXPECT_EQ(error, "cannot open the workbook");
}

TEST(Workbook, FailedSaveLeavesNoFileBehind)
{
    std::string folder = MakeTempFolder();
    CWorkbook book;
    book.AddSheet("Group0").SetCell(1, 1, "a");
    std::string error;
    EXPECT_FALSE(book.Save(folder + "no/such/folder/book.xlsx", error));
    EXPECT_FALSE(error.empty());

    // A sheet name the format forbids fails the whole save; an older file of
    // that name stays as it was.
    std::string path = folder + "book.xlsx";
    std::ofstream(path) << "old";
    book.AddSheet("bad/name");
    EXPECT_FALSE(book.Save(path, error));
    EXPECT_FALSE(FileExists(path + ".part"));
    std::ifstream in(path);
    std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(content, "old");
}

TEST(Workbook, ReadsTheBinaryForm)
{
    // Made by a spreadsheet program from a workbook of ours: sheet "Group0"
    // with the column names in row 1 and parameter rows from row 3, and a
    // number cell in the binary form's own number encoding.
    CWorkbook book;
    std::string error;
    ASSERT_TRUE(book.Load(TestSourceFolder() + "view/data/Sample.xls", error)) << error;
    const WorkbookSheet* sheet = book.FindSheet("Group0");
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(sheet->Cell(1, 1), "Parameter_Descriptions");
    EXPECT_EQ(sheet->Cell(1, 2), "Factory_Setting");
    EXPECT_EQ(sheet->Cell(1, 3), "Current_Value");
    EXPECT_EQ(sheet->Cell(3, 1), "00-00Control mode");
    EXPECT_EQ(sheet->Cell(3, 3), "2");
    EXPECT_EQ(sheet->Cell(4, 2), "50.5");
    ASSERT_NE(book.FindSheet("Group1"), nullptr);
}

namespace {

std::string SheetWith(const std::string& rows)
{
    return R"(<?xml version="1.0" encoding="UTF-8"?>
<worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><sheetData>)"
           + rows + "</sheetData></worksheet>";
}

std::string InlineCell(const std::string& reference)
{
    return "<c r=\"" + reference + "\" t=\"inlineStr\"><is><t>x</t></is></c>";
}

std::vector<std::pair<std::string, std::string>> PartsWithSheet(const std::string& sheet,
                                                                 const std::string& strings = kSharedStrings)
{
    auto parts = ForeignParts();
    for (auto& part : parts) {
        if (part.first == "book/sheets/one.xml")
            part.second = sheet;
        if (part.first == "strings.xml")
            part.second = strings;
    }
    return parts;
}

} // namespace

TEST(Workbook, RefusesAWorkbookPastWhatAParameterWorkbookHolds)
{
    std::string folder = MakeTempFolder();
    std::string manyRows;
    for (int row = 1; row <= 4000; ++row)
        manyRows += "<row r=\"" + std::to_string(row) + "\">" + InlineCell("IV" + std::to_string(row)) + "</row>";
    std::string manyStrings = "<sst xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">";
    for (int n = 0; n < 200001; ++n)
        manyStrings += "<si/>";
    manyStrings += "</sst>";
    const struct {
        const char* why;
        std::vector<std::pair<std::string, std::string>> parts;
        const char* said;
    } cases[] = {
        // Each of these took gigabytes before it was refused, or ended the program.
        {"a cell in the last column (XFD)", PartsWithSheet(SheetWith("<row r=\"1\">" + InlineCell("XFD1") + "</row>")),
         "column 256"},
        {"a row past 65536", PartsWithSheet(SheetWith("<row r=\"70000\">" + InlineCell("A70000") + "</row>")),
         "row 65536"},
        {"4000 rows reaching column 256", PartsWithSheet(SheetWith(manyRows)), "more cells"},
        {"200001 shared texts", PartsWithSheet(SheetWith(""), manyStrings), "shared texts"},
        {"a part that inflates to 17 MB", PartsWithSheet(SheetWith(std::string(17 << 20, ' '))), "too large"},
    };
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        std::string path = folder + std::to_string(n++) + ".xlsx";
        WriteZip(path, c.parts);
        CWorkbook book;
        std::string error;
        EXPECT_FALSE(book.Load(path, error));
        EXPECT_NE(error.find(c.said), std::string::npos) << error;
        EXPECT_TRUE(book.m_Sheets.empty());
    }

    // Within the bounds a far cell is kept, with the gaps before it.
    std::string path = folder + "far.xlsx";
    WriteZip(path, PartsWithSheet(SheetWith("<row r=\"65536\">" + InlineCell("IV65536") + "</row>")));
    CWorkbook book;
    std::string error;
    ASSERT_TRUE(book.Load(path, error)) << error;
    EXPECT_EQ(book.m_Sheets[0].Cell(65536, 256), "x");
}

TEST(Workbook, ADamagedBinaryWorkbookIsRefusedAndTheProgramGoesOn)
{
    // The older form is parsed in a child process: whatever the damage does
    // to the parser, the file is refused here.
    std::ifstream in(TestSourceFolder() + "view/data/Sample.xls", std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_GT(bytes.size(), 2048u);
    std::string folder = MakeTempFolder();
    const struct {
        const char* why;
        std::string bytes;
    } cases[] = {
        {"cut after its header", bytes.substr(0, 1024)},
        {"its sector tables overwritten", bytes.substr(0, 512) + std::string(bytes.size() - 512, '\xFF')},
    };
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        std::string path = folder + std::to_string(n++) + ".xls";
        std::ofstream(path, std::ios::binary) << c.bytes;
        CWorkbook book;
        std::string error;
        EXPECT_FALSE(book.Load(path, error));
        EXPECT_FALSE(error.empty());
        EXPECT_TRUE(book.m_Sheets.empty());
    }
    // And the intact file still reads after them.
    CWorkbook book;
    std::string error;
    EXPECT_TRUE(book.Load(TestSourceFolder() + "view/data/Sample.xls", error)) << error;
}
