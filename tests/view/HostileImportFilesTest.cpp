// Imports of parameters from what is no file of parameters: each is refused
// before it is read, with a message that names it, and the project stays as
// it was; a line of the comma-separated file longer than a line can be is
// refused where it passes the bound, the message showing only its start.

#include "platform/Workbook.h"
#include "tests/common/HostileFiles.h"
#include "tests/view/ExchangeTestSupport.h"

namespace {

class HostileImportFilesTest : public ExchangeTest {
protected:
    // A file each import takes whole.
    std::string GoodCsv()
    {
        EXPECT_TRUE(m_exchange.ExportCsv(Path("good.csv")));
        return ReadFileBytes(Path("good.csv"));
    }
    std::string GoodWorkbook()
    {
        CWorkbook book;
        CParamExchange::MakeTemplate(book);
        std::string error;
        EXPECT_TRUE(book.Save(Path(CParamExchange::TemplateNameOf(m_doc.m_nModelCode)), error)) << error;
        CWorkbook filled;
        EXPECT_TRUE(m_exchange.BuildWorkbook(Path(CParamExchange::TemplateNameOf(m_doc.m_nModelCode)), filled));
        EXPECT_TRUE(filled.Save(Path("good.xlsx"), error)) << error;
        return ReadFileBytes(Path("good.xlsx"));
    }
};

std::string Refusal(const std::string& path, const std::string& reason)
{
    return path + " was not read: " + reason + ". Nothing was changed.";
}

} // namespace

TEST_F(HostileImportFilesTest, WhatIsNoFileOrTooLargeIsRefusedUnreadAndTheProjectStays)
{
    struct Reader {
        const char* name;
        std::string good;
        bool (CParamExchange::*import)(const std::string&);
        const char* sizeReason;
    };
    const Reader readers[] = {
        {"comma-separated", GoodCsv(), &CParamExchange::ImportCsv, "it is larger than 17 MB"},
        {"workbook", GoodWorkbook(), &CParamExchange::ImportWorkbook, "it is larger than 64 MB"},
    };
    for (const Reader& reader : readers) {
        Param(0, 0).m_strValue = "unsaved edit";
        m_doc.SetModifiedFlag(true);
        const std::string before = State();
        m_messages.Clear();
        const std::string path = Path(std::string("named.") + (reader.import == &CParamExchange::ImportCsv ? "csv" : "xlsx"));
        for (Hostile kind : kHostileKinds) {
            SCOPED_TRACE(std::string(reader.name) + ", " + HostileName(kind));
            ASSERT_TRUE(MakeHostile(kind, path, reader.good));
            FifoRescue rescue(path);
            EXPECT_FALSE((m_exchange.*reader.import)(path));
            EXPECT_FALSE(rescue.Rescued()) << "the import waited for a writer";
            ASSERT_EQ(m_messages.Texts().size(), 1u);
            const std::string said = m_messages.Texts()[0];
            switch (kind) {
            case Hostile::Fifo:
                EXPECT_EQ(said, Refusal(path, "it is a FIFO, not a file"));
                break;
            case Hostile::LinkToDevZero:
                EXPECT_EQ(said, Refusal(path, "it is a device, not a file"));
                break;
            case Hostile::Folder:
                EXPECT_EQ(said, Refusal(path, "it is a folder, not a file"));
                break;
            case Hostile::LongLine:
                // 50 MB is within what a workbook file may be: it is read as
                // one, and is none.
                if (reader.import == &CParamExchange::ImportWorkbook)
                    EXPECT_EQ(said.rfind("DataBase error:cannot open the workbook", 0), 0u) << said;
                else
                    EXPECT_EQ(said, Refusal(path, reader.sizeReason));
                break;
            case Hostile::LineEnds:
            case Hostile::LargeTail:
                EXPECT_EQ(said, Refusal(path, reader.sizeReason));
                break;
            }
            EXPECT_EQ(State(), before);
            m_messages.Clear();
            RemoveHostile(path);
        }
        // And the good file is taken.
        WriteFileBytes(path, reader.good);
        EXPECT_TRUE((m_exchange.*reader.import)(path)) << reader.name;
        EXPECT_NE(Param(0, 0).m_strValue, "unsaved edit");
    }
}

TEST_F(HostileImportFilesTest, ALineLongerThanALineCanBeIsRefusedAtTheBoundShowingItsStart)
{
    const std::string head = "Model:D390-1P2-Hxx\r\nParameter Name,Set Value\r\nDate: x,Time: y\r\n";
    // Two texts at the project's bound and their comma: 8193 bytes.
    const std::string atBound = "00-00" + std::string(8193 - 5 - 2, 'n') + ",7";
    const std::string gbk = "00-00\xB2\xCE\xCA\xFD"; // code page 936: the file is read as such
    struct Case {
        const char* what;
        std::string line;
        bool taken;
        std::string shown;
    };
    const Case cases[] = {
        {"a line at the bound", atBound, true, ""},
        {"one byte past it", atBound + "7", false, atBound.substr(0, 100) + "..."},
        {"a 1 MB line", "00-00" + std::string(1u << 20, 'x'), false, "00-00" + std::string(95, 'x') + "..."},
        {"a 1 MB line of another code page", gbk + std::string(1u << 20, 'x'), false,
         "00-00\xE5\x8F\x82\xE6\x95\xB0" + std::string(89, 'x') + "..."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetUp();
        Param(0, 0).m_strValue = "unsaved edit";
        const std::string before = State();
        WriteFileBytes(Path("long.csv"), head + c.line + "\r\n00-01b,2");
        EXPECT_EQ(m_exchange.ImportCsv(Path("long.csv")), c.taken);
        if (c.taken) {
            EXPECT_EQ(Param(0, 0).m_strValue, "7");
            continue;
        }
        EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{"Line 3(" + c.shown + ") of the import ffile is error."});
        EXPECT_EQ(State(), before);
    }

    // A bad short line is shown whole, a bad long one only by its start.
    SetUp();
    const std::string before = State();
    WriteFileBytes(Path("bad.csv"), head + "00-00a,1\r\n01-00" + std::string(3000, 'q') + ",2");
    EXPECT_FALSE(m_exchange.ImportCsv(Path("bad.csv")));
    EXPECT_EQ(m_messages.Texts(),
              std::vector<std::string>{"Line 4(01-00" + std::string(95, 'q') + "...) of the import ffile is error."});
    EXPECT_EQ(State(), before);
}
