// Parameter workbooks: the template filled per group, read back into the
// table, and every workbook that does not fit refused before anything
// changes.

#include "platform/Workbook.h"
#include "tests/view/ExchangeTestSupport.h"

namespace {

class WorkbookExchangeTest : public ExchangeTest {
protected:
    void SetUp() override
    {
        ExchangeTest::SetUp();
        CWorkbook book;
        CParamExchange::MakeTemplate(book);
        std::string error;
        ASSERT_TRUE(book.Save(TemplatePath(), error)) << error;
    }

    std::string TemplatePath() const { return m_folder + CParamExchange::TemplateNameOf(m_doc.m_nModelCode); }

    // Export through the template into path, as the view does.
    void Export(const std::string& path)
    {
        CWorkbook book;
        ASSERT_TRUE(m_exchange.BuildWorkbook(TemplatePath(), book));
        ASSERT_TRUE(m_exchange.SaveWorkbook(book, path));
    }

    CWorkbook Load(const std::string& path)
    {
        CWorkbook book;
        std::string error;
        EXPECT_TRUE(book.Load(path, error)) << error;
        return book;
    }

    void Save(const CWorkbook& book, const std::string& path)
    {
        std::string error;
        ASSERT_TRUE(book.Save(path, error)) << error;
    }
};

} // namespace

TEST(WorkbookTemplate, NamesPerFamilyAndLayout)
{
    EXPECT_EQ(CParamExchange::TemplateNameOf(0x44E), "D390 Parameter.xlsx");
    EXPECT_EQ(CParamExchange::TemplateNameOf(0x1110000), "D390 Parameter.xlsx");
    EXPECT_EQ(CParamExchange::TemplateNameOf(0x1110001), "RQ5 Parameter.xlsx");
    CWorkbook book;
    CParamExchange::MakeTemplate(book);
    ASSERT_EQ(book.m_Sheets.size(), 15u);
    for (int g = 0; g < 15; ++g) {
        const WorkbookSheet& sheet = book.m_Sheets[g];
        EXPECT_EQ(sheet.m_strName, "Group" + std::to_string(g));
        EXPECT_EQ(sheet.Cell(1, 1), "Parameter_Descriptions");
        EXPECT_EQ(sheet.Cell(1, 2), "Factory_Setting");
        EXPECT_EQ(sheet.Cell(1, 3), "Current_Value");
        EXPECT_FALSE(sheet.Cell(2, 1).empty());
        EXPECT_EQ(sheet.RowCount(), 2);
    }
}

TEST_F(WorkbookExchangeTest, ExportFillsOneSheetPerGroupFromRow3WithoutGaps)
{
    std::string path = Path("out.xlsx");
    Export(path);
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{"Export success."});
    CWorkbook book = Load(path);
    ASSERT_EQ(book.m_Sheets.size(), 15u);
    // Group 1's defined items are 0, 2 and 5: rows 3, 4 and 5.
    const WorkbookSheet* group1 = book.FindSheet("Group1");
    ASSERT_NE(group1, nullptr);
    EXPECT_EQ(group1->Cell(1, 3), "Current_Value");
    EXPECT_EQ(group1->Cell(3, 1), "01-00Param 01-00");
    EXPECT_EQ(group1->Cell(4, 1), "01-02Param 01-02");
    EXPECT_EQ(group1->Cell(5, 1), "01-05Param 01-05");
    EXPECT_EQ(group1->Cell(5, 2), "15");
    EXPECT_EQ(group1->Cell(5, 3), "15.5");
    EXPECT_EQ(group1->RowCount(), 5);
    EXPECT_EQ(book.FindSheet("Group10")->Cell(3, 1), "10-00Station, address");
    EXPECT_FALSE(m_doc.IsModified());
}

TEST_F(WorkbookExchangeTest, ImportOfAnExportBringsFactoryAndSetValuesBack)
{
    Param(2, 1).m_strValue = "text with, comma";
    Param(14, 2).m_strFactory = "\xE4\xB8\xAD"; // beyond ASCII
    std::string path = Path("round.xlsx");
    Export(path);
    std::string exported = State();
    for (GroupRec& group : m_doc.m_Groups)
        for (ParamRec& p : group.m_Params)
            if (p.m_bDefined)
                p.m_strValue = p.m_strFactory = "changed";
    m_messages.Clear();

    ASSERT_TRUE(m_exchange.ImportWorkbook(path));
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{"Import success."});
    EXPECT_TRUE(m_doc.IsModified());
    m_doc.SetModifiedFlag(false);
    EXPECT_EQ(State(), exported);

    // The same workbook again changes nothing and marks nothing.
    ASSERT_TRUE(m_exchange.ImportWorkbook(path));
    EXPECT_FALSE(m_doc.IsModified());
}

TEST_F(WorkbookExchangeTest, RowsBeyondTheGroupsParametersAreNotRead)
{
    std::string path = Path("long.xlsx");
    Export(path);
    CWorkbook book = Load(path);
    WorkbookSheet& group0 = *book.FindSheet("Group0");
    group0.SetCell(3, 3, "first");
    // Group 0 has three parameters: rows 3 to 5. Rows after them are not
    // read, whatever they hold.
    group0.SetCell(6, 1, "00-01Param 00-01");
    group0.SetCell(6, 3, "late");
    group0.SetCell(7, 1, "not a code");
    Save(book, path);

    ASSERT_TRUE(m_exchange.ImportWorkbook(path));
    EXPECT_EQ(Param(0, 0).m_strValue, "first");
    EXPECT_EQ(Param(0, 1).m_strValue, "1.5");
}

TEST_F(WorkbookExchangeTest, RowsAreTakenByTheirCodeNotTheirPlace)
{
    std::string path = Path("order.xlsx");
    Export(path);
    CWorkbook book = Load(path);
    WorkbookSheet& group1 = *book.FindSheet("Group1");
    // Rows 3 and 5 swapped; row 4 blanked.
    std::swap(group1.m_Rows[2], group1.m_Rows[4]);
    group1.m_Rows[4][2] = "new 01-00";
    group1.m_Rows[3] = {"", "", ""};
    Save(book, path);

    ASSERT_TRUE(m_exchange.ImportWorkbook(path));
    EXPECT_EQ(Param(1, 0).m_strValue, "new 01-00");
    EXPECT_EQ(Param(1, 5).m_strValue, "15.5");
    EXPECT_EQ(Param(1, 2).m_strValue, "50.00");
}

TEST_F(WorkbookExchangeTest, WorkbooksThatDoNotFitAreRefusedWhole)
{
    std::string good = Path("good.xlsx");
    Export(good);
    CWorkbook exported = Load(good);
    // Every case changes group 0's first value as well, so that a partial
    // import would show.
    exported.FindSheet("Group0")->SetCell(3, 3, "partial");

    struct Case {
        const char* why;
        std::function<void(CWorkbook&)> spoil;
        std::string message;
    };
    const Case cases[] = {
        {"a group's sheet is missing",
         [](CWorkbook& b) { std::erase_if(b.m_Sheets, [](const WorkbookSheet& s) { return s.m_strName == "Group7"; }); },
         "DataBase error:the workbook has no sheet Group7"},
        {"a column is missing", [](CWorkbook& b) { b.FindSheet("Group3")->SetCell(1, 2, "Factory"); },
         "DataBase error:sheet Group3 has no column Factory_Setting"},
        {"a code of another group", [](CWorkbook& b) { b.FindSheet("Group4")->SetCell(4, 1, "05-01Param"); },
         "DataBase error:sheet Group4 row 4: \"05-01Param\" is no parameter of group 4"},
        {"a placeholder's code", [](CWorkbook& b) { b.FindSheet("Group1")->SetCell(4, 1, "01-03"); },
         "DataBase error:sheet Group1 row 4: \"01-03\" is no parameter of group 1"},
        {"an item beyond the group", [](CWorkbook& b) { b.FindSheet("Group2")->SetCell(5, 1, "02-99"); },
         "DataBase error:sheet Group2 row 5: \"02-99\" is no parameter of group 2"},
        {"a value without a code", [](CWorkbook& b) { b.FindSheet("Group2")->SetCell(3, 1, ""); },
         "DataBase error:sheet Group2 row 3: \"\" is no parameter of group 2"},
    };
    const Case longCases[] = {
        {"a set value over the bound of a project text",
         [](CWorkbook& b) { b.FindSheet("Group2")->SetCell(4, 3, std::string(5000, '5')); },
         "Sheet Group2, row 4: parameter 02-01 holds a text longer than 4096 bytes. Nothing was imported."},
        {"a factory value over the bound",
         [](CWorkbook& b) { b.FindSheet("Group0")->SetCell(3, 2, std::string(4097, '5')); },
         "Sheet Group0, row 3: parameter 00-00 holds a text longer than 4096 bytes. Nothing was imported."},
    };
    for (const Case& c : longCases) {
        CWorkbook spoiled = exported;
        c.spoil(spoiled);
        std::string path = Path("long.xlsx");
        Save(spoiled, path);
        std::string before = State();
        m_messages.Clear();
        EXPECT_FALSE(m_exchange.ImportWorkbook(path)) << c.why;
        EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{c.message}) << c.why;
        EXPECT_EQ(State(), before) << c.why;
    }
    for (const Case& c : cases) {
        CWorkbook spoiled = exported;
        c.spoil(spoiled);
        std::string path = Path("spoiled.xlsx");
        Save(spoiled, path);
        std::string before = State();
        m_messages.Clear();
        EXPECT_FALSE(m_exchange.ImportWorkbook(path)) << c.why;
        EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{c.message}) << c.why;
        EXPECT_EQ(State(), before) << c.why;
    }

    // Not a workbook at all, and no file.
    std::string before = State();
    WriteFileBytes(Path("text.xlsx"), "Model:x\r\n");
    m_messages.Clear();
    EXPECT_FALSE(m_exchange.ImportWorkbook(Path("text.xlsx")));
    EXPECT_FALSE(m_exchange.ImportWorkbook(Path("none.xls")));
    EXPECT_EQ(m_messages.Texts(), (std::vector<std::string>{"DataBase error:the file is not a workbook",
                                                            "DataBase error:cannot open the workbook"}));
    EXPECT_EQ(State(), before);

    // Auto-refresh writes into the table: no import meanwhile.
    m_session.m_bAutoRefresh = 1;
    m_messages.Clear();
    EXPECT_FALSE(m_exchange.ImportWorkbook(good));
    EXPECT_EQ(m_messages.Texts(),
              std::vector<std::string>{"PC software is under auto-refresh,Please stop auto-refresh first!"});
    EXPECT_EQ(State(), before);
}

TEST_F(WorkbookExchangeTest, MissingTemplateOrTemplateSheetStopsTheExport)
{
    CWorkbook book;
    EXPECT_FALSE(m_exchange.BuildWorkbook(Path("none.xlsx"), book));
    CWorkbook partial;
    CParamExchange::MakeTemplate(partial);
    partial.m_Sheets.pop_back(); // no Group14
    Save(partial, Path("partial.xlsx"));
    EXPECT_FALSE(m_exchange.BuildWorkbook(Path("partial.xlsx"), book));
    EXPECT_EQ(m_messages.Texts(), (std::vector<std::string>{"Some a file lost,please setup Kestrolix again.",
                                                            "Some a file lost,please setup Kestrolix again."}));
    EXPECT_TRUE(book.m_Sheets.empty());
}

TEST_F(WorkbookExchangeTest, ImportsTheBinaryWorkbookForm)
{
    // A spreadsheet program's .xls of group 0 and 1 sheets only covers the
    // first two groups: the others are missing, so it is refused whole.
    m_messages.Clear();
    EXPECT_FALSE(m_exchange.ImportWorkbook(TestSourceFolder() + "view/data/Sample.xls"));
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{"DataBase error:the workbook has no sheet Group2"});

    // With a table of two groups it fits: 00-00's value is the number 2.
    m_doc.m_Groups.resize(2);
    ASSERT_TRUE(m_exchange.ImportWorkbook(TestSourceFolder() + "view/data/Sample.xls"));
    EXPECT_EQ(Param(0, 0).m_strValue, "2");
    EXPECT_EQ(Param(0, 1).m_strFactory, "50.5");
    EXPECT_EQ(Param(0, 1).m_strValue, "50.00");
}
