// Compare without the window: rows per mode, the saved text byte for byte,
// and the pages of the printout.

#include "document/D390DocData.h"
#include "platform/ResourceModule.h"
#include "tests/common/MessageRecorder.h"
#include "tests/common/PlantedFiles.h"
#include "tests/common/TestPaths.h"
#include "view/CompareList.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

std::string FileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

class CompareListTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_doc.m_Groups.resize(3);
        m_doc.m_Groups[0].m_strName = "Group 00";
        m_doc.m_Groups[1].m_strName = "Group 01";
        m_doc.m_Groups[2].m_strName = "Group 02";
        //     group item label                factory set     read    defined
        Add(0, 0, "00-00 Control mode", "0", "1", "1", true);     // default and set differ
        Add(0, 1, "00-01 Direction", "1.0", "1.00", "1.0", true); // 1.0 and 1.00 differ as texts
        Add(0, 2, "00-02 Source", "", "", "2", true);             // two empty texts are equal
        Add(1, 0, "01-00 Hidden", "5", "6", "7", false);          // never listed: not defined
        Add(1, 1, "01-01 Same", "3", "3", "3", true);
        Add(2, 0, "02-00", "abc", "ABC", "abc", true);            // case counts; no name
        Add(2, 1, "02-01 Tab\tin name", "x", "y", "z", true);
    }
    void TearDown() override
    {
        if (!m_folder.empty())
            std::filesystem::remove_all(m_folder);
    }

    void Add(int group, int item, const char* label, const char* factory, const char* set, const char* read,
             bool defined)
    {
        std::vector<ParamRec>& params = m_doc.m_Groups[group].m_Params;
        params.resize(std::max<std::size_t>(params.size(), item + 1));
        params[item] = ParamRec{label, factory, set, read, "", 1};
        m_doc.m_Defined[group][item] = defined ? 1 : 0;
    }

    std::string Folder()
    {
        if (m_folder.empty())
            m_folder = MakeTempFolder();
        return m_folder;
    }

    static std::string Describe(const std::vector<CompareRow>& rows)
    {
        std::string text;
        for (const CompareRow& row : rows)
            text += row.m_strCode + "|" + row.m_strName + "|" + row.m_strA + "|" + row.m_strB + "\n";
        return text;
    }

    CD390DocData m_doc;
    CCompareList m_list;
    std::vector<GroupRec> m_store;
    MessageRecorder m_messages;
    std::string m_folder;
};

TEST_F(CompareListTest, RowsOfEachMode)
{
    struct Case {
        int mode;
        const char* rows;
        const char* file;
    };
    const Case cases[] = {
        {kCompareDefaultWithSet,
         "00-00|Control mode|0|1\n00-01|Direction|1.0|1.00\n02-00||abc|ABC\n02-01|Tab\tin name|x|y\n",
         "Group 00\r\n00-00 Control mode\t0\t1\r\n00-01 Direction\t1.0\t1.00\r\n"
         "Group 02\r\n02-00\tabc\tABC\r\n02-01 Tab\tin name\tx\ty\r\n"},
        {kCompareDefaultWithRead,
         "00-00|Control mode|0|1\n00-02|Source||2\n02-01|Tab\tin name|x|z\n",
         "Group 00\r\n00-00 Control mode\t0\t1\r\n00-02 Source\t\t2\r\n"
         "Group 02\r\n02-01 Tab\tin name\tx\tz\r\n"},
        {kCompareSetWithRead,
         "00-01|Direction|1.00|1.0\n00-02|Source||2\n02-00||ABC|abc\n02-01|Tab\tin name|y|z\n",
         "Group 00\r\n00-01 Direction\t1.00\t1.0\r\n00-02 Source\t\t2\r\n"
         "Group 02\r\n02-00\tABC\tabc\r\n02-01 Tab\tin name\ty\tz\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        m_list.FillDiffList(m_doc, c.mode, m_store);
        EXPECT_EQ(Describe(m_list.m_Rows), c.rows);
        ASSERT_EQ(m_store.size(), 2u) << "groups without a difference are not stored";
        EXPECT_EQ(m_store[0].m_strName, "Group 00");
        EXPECT_EQ(m_store[1].m_strName, "Group 02");

        const std::string path = Folder() + "compare.txt";
        ASSERT_TRUE(CCompareList::SaveText(path, m_store, c.mode));
        EXPECT_EQ(FileBytes(path), c.file);
    }
    EXPECT_TRUE(m_messages.Texts().empty());
}

TEST_F(CompareListTest, StoreHoldsOnlyTheModesTwoValues)
{
    m_list.FillDiffList(m_doc, kCompareSetWithRead, m_store);
    const ParamRec& stored = m_store[0].m_Params[0];
    EXPECT_EQ(stored.m_strLabel, "00-01 Direction");
    EXPECT_EQ(stored.m_strFactory, "");
    EXPECT_EQ(stored.m_strValue, "1.00");
    EXPECT_EQ(stored.m_strRead, "1.0");

    m_list.FillDiffList(m_doc, kCompareDefaultWithSet, m_store);
    EXPECT_EQ(m_store[0].m_Params[0].m_strFactory, "0");
    EXPECT_EQ(m_store[0].m_Params[0].m_strValue, "1");
    EXPECT_EQ(m_store[0].m_Params[0].m_strRead, "");
}

TEST_F(CompareListTest, NoDifferencesGiveNoRowsAnEmptyFileAndNoPage)
{
    for (GroupRec& group : m_doc.m_Groups)
        for (ParamRec& param : group.m_Params)
            param.m_strFactory = param.m_strValue = param.m_strRead = "same";
    m_list.FillDiffList(m_doc, kCompareDefaultWithSet, m_store);
    EXPECT_TRUE(m_list.m_Rows.empty());
    EXPECT_TRUE(m_store.empty());
    const std::string path = Folder() + "empty.txt";
    {
        std::ofstream(path) << "old contents";
    }
    ASSERT_TRUE(CCompareList::SaveText(path, m_store, kCompareDefaultWithSet));
    EXPECT_EQ(FileBytes(path), "");
    EXPECT_EQ(CCompareList::PageCountOf(m_store), 0);
    EXPECT_TRUE(m_list.Page(1, 4000, 5000).empty());
}

TEST_F(CompareListTest, AFileThatCannotBeCreatedIsReported)
{
    m_list.FillDiffList(m_doc, kCompareDefaultWithSet, m_store);
    EXPECT_FALSE(CCompareList::SaveText(Folder() + "missing/compare.txt", m_store, kCompareDefaultWithSet));
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{Folder() + "missing/compare.txt could not be written: No "
                                                                       "such file or directory. The file that was "
                                                                       "there is unchanged."});

    // A full disk: the list saved before stays whole.
    m_messages.Clear();
    const std::string path = Folder() + "compare.txt";
    std::ofstream(path, std::ios::binary) << "the list of yesterday";
    {
        ScopedFileSizeLimit full(8);
        EXPECT_FALSE(CCompareList::SaveText(path, m_store, kCompareDefaultWithSet));
    }
    EXPECT_EQ(FileBytes(path), "the list of yesterday");
    ASSERT_EQ(m_messages.Texts().size(), 1u);
    EXPECT_NE(m_messages.Texts()[0].find("File too large"), std::string::npos) << m_messages.Texts()[0];
}

TEST_F(CompareListTest, FortyOneRowsPrintOnTwoPages)
{
    GroupRec& group = m_doc.m_Groups[1];
    group.m_Params.resize(41);
    for (int item = 0; item < 41; ++item) {
        char label[32];
        std::snprintf(label, sizeof label, "01-%02d Item %d", item, item);
        group.m_Params[item] = ParamRec{label, "1", std::to_string(item + 2), "", "", 1};
        m_doc.m_Defined[1][item] = 1;
    }
    m_doc.m_Groups[0].m_Params.clear();
    m_doc.m_Groups[2].m_Params.clear();
    m_list.FillDiffList(m_doc, kCompareDefaultWithSet, m_store);
    ASSERT_EQ(m_list.m_Rows.size(), 41u);
    EXPECT_EQ(CCompareList::PageCountOf(m_store), 2);

    const int width = 4960, height = 7016; // A4 at 600 dpi
    const int r = width - 200;
    for (int page = 1; page <= 2; ++page) {
        SCOPED_TRACE(page);
        std::vector<PrintItem> items = m_list.Page(page, width, height);
        const int rows = page == 1 ? 40 : 1;
        ASSERT_EQ(items.size(), 5u + 3u * rows + 1u);
        EXPECT_EQ(items[0].m_strText, LoadResString(61523));
        EXPECT_EQ(items[0].m_x, r / 2 + 150);
        EXPECT_EQ(items[0].m_y, 60);
        EXPECT_TRUE(items[0].m_bCentered);
        EXPECT_EQ(items[1].m_strText, LoadResString(61542));
        EXPECT_EQ(items[2].m_strText, LoadResString(61447));
        EXPECT_EQ(items[2].m_x, 7 * r / 10 + 150);
        EXPECT_EQ(items[3].m_strText, LoadResString(61557));
        EXPECT_EQ(items[3].m_x, 10 * r / 11 + 80);
        EXPECT_EQ(items[4].m_kind, PrintItem::Rule);
        EXPECT_EQ(items[4].m_x2, r + 100);
        // First row of the page, and the last.
        const int first = 40 * (page - 1);
        EXPECT_EQ(items[5].m_strText, m_list.m_Rows[first].m_strCode + " " + m_list.m_Rows[first].m_strName);
        EXPECT_EQ(items[5].m_x, 160);
        EXPECT_EQ(items[5].m_y, 310);
        EXPECT_EQ(items[6].m_strText, "1");
        EXPECT_EQ(items[7].m_strText, std::to_string(first + 2));
        EXPECT_EQ(items[5 + 3 * (rows - 1)].m_y, 310 + 75 * (rows - 1));
        const PrintItem& footer = items.back();
        EXPECT_EQ(footer.m_strText, LoadResString(61530) + std::to_string(page));
        EXPECT_EQ(footer.m_y, height - 160);
        EXPECT_EQ(footer.m_x, 6 * r / 7 + 150);
    }
    EXPECT_TRUE(m_list.Page(3, width, height).empty());
}

} // namespace

TEST_F(CompareListTest, ItemsTheDriveDoesNotHoldAreNoDifferences)
{
    // Group 14 of an extended model: 14-74 needs software 1.1 on range A.
    m_doc.m_Groups.resize(15);
    m_doc.m_Groups[14].m_strName = "Group 14";
    Add(14, 20, "14-20 Unit", "0", "1", "0", true);
    Add(14, 74, "14-74 Tail", "0.0", "5.0", "", true);
    const GateContext oldDrive{0x110044E, 1.05f};
    const GateContext newDrive{0x110044E, 1.2f};

    auto codes = [&](int mode, const GateContext* drive) {
        m_list.FillDiffList(m_doc, mode, m_store, drive);
        std::string text;
        for (const CompareRow& row : m_list.m_Rows)
            if (row.m_strCode.rfind("14-", 0) == 0)
                text += row.m_strCode + " ";
        return text;
    };
    EXPECT_EQ(codes(kCompareSetWithRead, &oldDrive), "14-20 ");
    EXPECT_EQ(m_store.back().m_Params.size(), 1u) << "left out of what Save and Print read too";
    EXPECT_EQ(codes(kCompareDefaultWithRead, &oldDrive), "");
    EXPECT_EQ(codes(kCompareSetWithRead, &newDrive), "14-20 14-74 ");
    EXPECT_EQ(codes(kCompareDefaultWithRead, &newDrive), "14-74 ");
    // Default against set reads no drive: every item counts.
    EXPECT_EQ(codes(kCompareDefaultWithSet, &oldDrive), "14-20 14-74 ");
}
