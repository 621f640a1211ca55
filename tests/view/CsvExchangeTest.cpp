// The comma-separated parameter file: the exact bytes of an export, the way
// back, the repair of 10-00's lines, and every refusal leaving the project as
// it was.

#include "document/ProjectFile.h"
#include "tests/common/PlantedFiles.h"
#include "tests/view/ExchangeTestSupport.h"

#include <filesystem>

namespace {

std::string ExpectedPlainExport()
{
    std::string bytes = "Model:D390-1P2-Hxx\r\nParameter Name,Set Value\r\nDate: 03-07-2026,Time: 09:05:03";
    for (int g = 0; g < 15; ++g) {
        for (int i : g == 1 ? std::vector<int>{0, 2, 5} : std::vector<int>{0, 1, 2}) {
            std::string name = (g == 10 && i == 0) ? "Station, address" : "Param " + Code(g, i);
            std::string value = std::to_string(g * 10 + i) + ".5";
            // The model's own values of a new project (50 Hz, capacity 1P2).
            if (Code(g, i) == "01-00")
                value = "1";
            else if (Code(g, i) == "01-02")
                value = "50.00";
            else if (Code(g, i) == "13-00")
                value = "1P2";
            bytes += "\r\n" + Code(g, i) + name + "," + value;
        }
    }
    return bytes;
}

} // namespace

using CsvExchangeTest = ExchangeTest;

TEST_F(CsvExchangeTest, ExportWritesTheModelTheStampAndEveryDefinedParameter)
{
    std::string path = Path("out.csv");
    WriteFileBytes(path, "an older and much longer file that the export replaces entirely");
    ASSERT_TRUE(m_exchange.ExportCsv(path));
    EXPECT_EQ(ReadFileBytes(path), ExpectedPlainExport());
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{"Export success."});
    EXPECT_FALSE(m_doc.IsModified());
}

TEST_F(CsvExchangeTest, ExportOfATableWithoutParametersHasThreeLines)
{
    m_doc.m_nModelCode = 0x7777; // not in the model table: empty name
    m_doc.m_Groups.clear();
    std::memset(m_doc.m_Defined, 0, sizeof m_doc.m_Defined);
    std::string path = Path("empty.csv");
    ASSERT_TRUE(m_exchange.ExportCsv(path));
    EXPECT_EQ(ReadFileBytes(path), "Model:\r\nParameter Name,Set Value\r\nDate: 03-07-2026,Time: 09:05:03");
}

TEST_F(CsvExchangeTest, ExportToAFolderThatDoesNotExistFails)
{
    EXPECT_FALSE(m_exchange.ExportCsv(Path("missing/out.csv")));
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{Path("missing/out.csv") +
                                                           " could not be written: No such file or directory. The file "
                                                           "that was there is unchanged."});
}

TEST_F(CsvExchangeTest, AFullDiskKeepsTheFileThatWasThere)
{
    const std::string path = Path("out.csv");
    WriteFileBytes(path, "the export of last week");
    {
        ScopedFileSizeLimit full(64);
        EXPECT_FALSE(m_exchange.ExportCsv(path));
    }
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{path + " could not be written: File too large. The file "
                                                                  "that was there is unchanged."});
    EXPECT_EQ(ReadFileBytes(path), "the export of last week");
    int files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(m_folder))
        files += entry.path().filename().string().rfind("out.csv", 0) == 0;
    EXPECT_EQ(files, 1) << "no temporary file is left behind";
}

TEST_F(CsvExchangeTest, AnOverlongValueIsRefusedWhenItComesIn)
{
    // A cell of 5000 characters used to import with success, and then no save
    // of the project could succeed.
    const std::string head = "Model:D390-1P2-Hxx\r\nParameter Name,Set Value\r\nDate: x,Time: y\r\n";
    std::string before = State();
    WriteFileBytes(Path("long.csv"), head + "00-00a," + std::string(5000, '7'));
    EXPECT_FALSE(m_exchange.ImportCsv(Path("long.csv")));
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{"Line 3 of the import file: parameter 00-00 holds a text "
                                                           "longer than 4096 bytes. Nothing was imported."});
    EXPECT_EQ(State(), before);

    m_messages.Clear();
    WriteFileBytes(Path("name.csv"), "Model:" + std::string(4097, 'D') + "\r\n");
    EXPECT_FALSE(m_exchange.ImportCsv(Path("name.csv")));
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{"Line 0 of the import file: the model name holds a text "
                                                           "longer than 4096 bytes. Nothing was imported."});
    EXPECT_EQ(State(), before);

    // At the bound the value comes in, and the project saves.
    m_messages.Clear();
    WriteFileBytes(Path("bound.csv"), head + "00-00a," + std::string(kProjectTextLimit, '7'));
    ASSERT_TRUE(m_exchange.ImportCsv(Path("bound.csv")));
    EXPECT_EQ(Param(0, 0).m_strValue, std::string(kProjectTextLimit, '7'));
    EXPECT_TRUE(m_doc.SaveProjectFile(Path("p.zrv")));
}

TEST_F(CsvExchangeTest, AFileOfTheOlderProgramsCodePageIsReadAsUtf8)
{
    // "参数" in code page 936: kept in UTF-8, so that the saved project does
    // not turn every other text of it into code page 936 on the next open.
    WriteFileBytes(Path("gbk.csv"),
                   "Model:D390-1P2-Hxx\r\nParameter Name,Set Value\r\nDate: x,Time: y\r\n00-00a,\xB2\xCE\xCA\xFD");
    ASSERT_TRUE(m_exchange.ImportCsv(Path("gbk.csv")));
    EXPECT_EQ(Param(0, 0).m_strValue, "\xE5\x8F\x82\xE6\x95\xB0");
}

TEST_F(CsvExchangeTest, ImportOfAnExportBringsEveryValueBack)
{
    std::string path = Path("round.csv");
    Param(10, 0).m_strValue = "7";
    Param(1, 5).m_strValue = "-3.25";
    ASSERT_TRUE(m_exchange.ExportCsv(path));
    std::string exported = State(true);
    for (GroupRec& group : m_doc.m_Groups)
        for (ParamRec& p : group.m_Params)
            p.m_strValue = "changed";
    m_messages.Clear();

    ASSERT_TRUE(m_exchange.ImportCsv(path));
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{"Import success."});
    // 10-00's line splits in three at the comma of its name; it is taken
    // with that comma read as a blank.
    EXPECT_EQ(Param(10, 0).m_strValue, "7");
    EXPECT_EQ(Param(1, 5).m_strValue, "-3.25");
    EXPECT_EQ(Param(0, 0).m_strValue, "0.5");
    // The placeholders are rebuilt with the table and are not imported.
    EXPECT_EQ(Param(1, 1).m_strValue, "0");
    EXPECT_TRUE(m_doc.IsModified());
    m_doc.SetModifiedFlag(false);
    EXPECT_EQ(State(true), exported);
}

TEST_F(CsvExchangeTest, ImportOfTheSameValuesLeavesTheProjectUnmodified)
{
    std::string path = Path("same.csv");
    ASSERT_TRUE(m_exchange.ExportCsv(path));
    ASSERT_TRUE(m_exchange.ImportCsv(path));
    EXPECT_FALSE(m_doc.IsModified());
}

TEST_F(CsvExchangeTest, ImportSwitchesToTheFilesModel)
{
    std::string path = Path("s.csv");
    WriteFileBytes(path, "Model:D390-1P2-SHxx\r\nParameter Name,Set Value\r\nDate: x,Time: y\r\n"
                         "00-00anything,1\r\n00-01,2\r\n01-00,3");
    ASSERT_TRUE(m_exchange.ImportCsv(path));
    EXPECT_EQ(m_doc.m_nModelCode, kSFamilyModel);
    EXPECT_EQ(m_doc.m_strModelName, "D390-1P2-SHxx");
    ASSERT_EQ(m_doc.m_Groups.size(), 3u);
    EXPECT_EQ(Param(0, 0).m_strValue, "1");
    EXPECT_EQ(Param(0, 1).m_strValue, "2");
    EXPECT_EQ(Param(1, 0).m_strValue, "3");
    // Fewer data lines than parameters: the rest keep the model's values.
    EXPECT_EQ(Param(1, 1).m_strValue, "s1");
    EXPECT_EQ(Param(2, 0).m_strValue, "s0");
    EXPECT_TRUE(m_doc.IsModified());
}

TEST_F(CsvExchangeTest, RefusalsLeaveTheProjectAsItWas)
{
    // Every file names the other family, and its bad line comes after good
    // ones: neither the model switch nor the earlier values may happen.
    const std::string head = "Model:D390-1P2-SHxx\r\nParameter Name,Set Value\r\nDate: x,Time: y\r\n00-00a,1\r\n";
    struct Case {
        const char* why;
        std::string bytes;
        std::string message;
    };
    const Case cases[] = {
        {"an empty file has no first line", "", "Line 0() of the import ffile is error."},
        {"the code of another parameter", head + "01-00b,2", "Line 4(01-00b,2) of the import ffile is error."},
        {"three cells", head + "00-01b,2,3", "Line 4(00-01b,2,3) of the import ffile is error."},
        {"one cell", head + "00-01b", "Line 4(00-01b) of the import ffile is error."},
        {"an empty value leaves one cell", head + "00-01b,", "Line 4(00-01b,) of the import ffile is error."},
        {"a code shorter than five characters", head + "00-0,2", "Line 4(00-0,2) of the import ffile is error."},
        {"more lines than parameters",
         head + "00-01,2\r\n01-00,3\r\n01-01,4\r\n02-00,5\r\n02-01,6\r\n02-01,7",
         "Line 9(02-01,7) of the import ffile is error."},
        {"a comma in the name of another parameter than 10-00", head + "00-01b,c,2",
         "Line 4(00-01b,c,2) of the import ffile is error."},
    };
    for (const Case& c : cases) {
        std::string path = Path("bad.csv");
        WriteFileBytes(path, c.bytes);
        std::string before = State();
        m_messages.Clear();
        EXPECT_FALSE(m_exchange.ImportCsv(path)) << c.why;
        EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{c.message}) << c.why;
        EXPECT_EQ(State(), before) << c.why;
    }
}

TEST_F(CsvExchangeTest, OnlyTheLineOf1000IsRepairedAndOnlyOnce)
{
    // The plain table: the ninth line is 10-00's, after 29 lines before it.
    std::string lines = "Model:D390-1P2-Hxx\r\nParameter Name,Set Value\r\nDate: x,Time: y";
    for (int g = 0; g < 10; ++g)
        for (int i : g == 1 ? std::vector<int>{0, 2, 5} : std::vector<int>{0, 1, 2})
            lines += "\r\n" + Code(g, i) + "n,1";
    const std::size_t index = 3 + 30;

    std::string path = Path("repair.csv");
    WriteFileBytes(path, lines + "\r\n10-00Station, address,9");
    ASSERT_TRUE(m_exchange.ImportCsv(path));
    EXPECT_EQ(Param(10, 0).m_strValue, "9");

    // Two commas in the name: after the one repair it still has three cells;
    // the message shows the line as repaired.
    std::string before = State();
    m_messages.Clear();
    WriteFileBytes(path, lines + "\r\n10-00Station, address, two,9");
    EXPECT_FALSE(m_exchange.ImportCsv(path));
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{"Line " + std::to_string(index)
                                                           + "(10-00Station  address, two,9) of the import ffile is error."});
    EXPECT_EQ(State(), before);
}

TEST_F(CsvExchangeTest, RefusedWhileAutoRefreshRunsOrWithoutTheFile)
{
    std::string path = Path("ok.csv");
    ASSERT_TRUE(m_exchange.ExportCsv(path));
    Param(0, 0).m_strValue = "edited";
    std::string before = State();

    m_session.m_bAutoRefresh = 1;
    m_messages.Clear();
    EXPECT_FALSE(m_exchange.ImportCsv(path));
    EXPECT_EQ(m_messages.Texts(),
              std::vector<std::string>{"PC software is under auto-refresh,Please stop auto-refresh first!"});
    EXPECT_EQ(State(), before);
    m_session.m_bAutoRefresh = 0;

    m_messages.Clear();
    EXPECT_FALSE(m_exchange.ImportCsv(Path("no such file.csv")));
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{"Opening the file is fail."});
    EXPECT_EQ(State(), before);

    // The file names a model whose definition file is missing: reported,
    // nothing switched.
    ::unlink(Path("PARAMS.DAT").c_str());
    WriteFileBytes(path, "Model:D390-1P2-SHxx\r\nx\r\ny\r\n00-00a,1");
    m_messages.Clear();
    EXPECT_FALSE(m_exchange.ImportCsv(path));
    ASSERT_EQ(m_messages.Texts().size(), 1u);
    EXPECT_NE(m_messages.Texts()[0].find("PARAMS.DAT"), std::string::npos);
    EXPECT_EQ(State(), before);
}

TEST(ImportKind, ChosenByTheExtensionInAnyCase)
{
    using Kind = CParamExchange::ImportKind;
    const std::pair<const char*, Kind> cases[] = {
        {"/a/b.csv", Kind::Csv},       {"/a/b.CsV", Kind::Csv},         {"/a/b.xls", Kind::Workbook},
        {"/a/b.XLSX", Kind::Workbook}, {"/a/b.xlsx", Kind::Workbook},   {"/a/b.txt", Kind::None},
        {"/a.csv/b", Kind::None},      {"/a/b", Kind::None},            {"/a/b.csv.bak", Kind::None},
    };
    for (auto [path, kind] : cases)
        EXPECT_EQ(CParamExchange::ImportKindOf(path), kind) << path;
}
