// The page pattern's keystroke filter and CheckRange on the rows of groups 05
// and 06, and the walk of every page table over every model.

#include "tests/editor/EditorTestSupport.h"

#include "editor/EditorStrings.h"
#include "link/RegisterText.h"
#include "platform/ResourceModule.h"

namespace {

struct FilterCase {
    int page, row;          // group 06 page and row
    const char* before;
    const char* typed;
    const char* kept;
};

// Page 0 row 1 is 06-01 (two decimals, filter 599.0); row 8 is 06-16 (one
// decimal, filter 3600.0).
const FilterCase kFilterCases[] = {
    {0, 1, "1.2", "1.2.3", "1.2"},
    {0, 1, "", ".5", ""},
    {0, 1, "1", "-1", "1"},
    {0, 1, "1", "1e3", "1"},
    {0, 1, "12", "12a", "12"},
    {0, 1, "59", "599", "599"},
    {0, 1, "599.0", "599.01", "599.0"},
    {0, 1, "599.00", "600", "599.00"},
    {0, 1, "12.34", "12.345", "12.34"},
    {0, 1, "0.01", "0.015", "0.01"},
    {0, 1, "5", "", ""},
    {0, 1, "12", "12.", "12."},
    {0, 8, "12.3", "12.34", "12.3"},
    {0, 8, "3600.", "3600.0", "3600.0"},
    {0, 8, "3600.0", "3600.1", "3600.0"},
};

} // namespace

TEST_F(EditorTest, KeystrokeFilterOfDecimalRows)
{
    MakeProject(0x1100000 + 1202);
    Open(6);
    for (const FilterCase& c : kFilterCases) {
        SCOPED_TRACE(std::string(c.before) + " -> " + c.typed);
        EXPECT_EQ(Page(c.page).Filter(c.row, c.before, c.typed), c.kept);
    }
    EXPECT_TRUE(m_messages.Texts().empty());
}

TEST_F(EditorTest, CheckRangeBoundsAndOrder)
{
    MakeProject(0x1100000 + 1202);
    struct Case {
        int group, page, row;
        const char* text;
        bool passes;
        const char* shown; // the text afterwards
    } cases[] = {
        {6, 0, 1, "599.00", true, "599.00"},
        {6, 0, 1, "599.01", false, "599.01"},
        {6, 0, 1, "0.00", true, "0.00"},
        {6, 0, 1, "-0.01", false, "-0.01"},
        {6, 0, 1, "", true, "0.00"},
        {5, 1, 0, "", false, ""},        // minimum 0.1
        {5, 1, 0, "0.0", false, "0.0"},
        {5, 1, 0, "0.1", true, "0.1"},
        {5, 0, 9, "3600", true, "3600.0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.group) + ": " + c.text);
        Open(c.group);
        Text(c.page, c.row) = c.text;
        m_messages.Clear();
        EXPECT_EQ(Page(c.page).CheckRange(m_context), c.passes);
        EXPECT_EQ(Text(c.page, c.row), c.shown);
        EXPECT_EQ(m_messages.Texts().size(), c.passes ? 0u : 1u);
    }

    // The first bad row stops the check: rows above it are reformatted, rows
    // below it are untouched.
    Open(6);
    Text(0, 1) = "5";
    Text(0, 2) = "700";
    Text(0, 3) = "6";
    EXPECT_FALSE(Page(0).CheckRange(m_context));
    EXPECT_EQ(Text(0, 1), "5.00");
    EXPECT_EQ(Text(0, 3), "6");
    EXPECT_EQ(m_host.m_focus, std::make_pair(0, 2));
}

TEST_F(EditorTest, IntegerRowsPromptForWholeNumbersInTheirBounds)
{
    MakeProject(0x1100000 + 1202);
    PageTable table;
    table.group = 9;
    table.rows.push_back(IntegerRow(1, 1034, 1, 32, "1~32"));
    CGroupPageModel page(table, 0);
    EXPECT_EQ(page.Filter(0, "3", "31"), "31");
    EXPECT_EQ(page.Filter(0, "3", ""), "");
    EXPECT_EQ(page.Filter(0, "3", "3x"), "3");
    EXPECT_EQ(page.Filter(0, "3", "33"), "3");
    EXPECT_EQ(m_messages.Texts(), (std::vector<std::string>{LoadResString(IDS_ENTER_INTEGER),
                                                            "Please enter an integer between 1 and 32."}));
}

// Every page table over every model family: the items exist, their flag
// positions are the pages' own (page first number + row), and every factory and
// initial value passes the page's checks and converts to a word.
TEST_F(EditorTest, EveryPageTableFitsEveryModel)
{
    const int codes[] = {1202, 1205, 0x4B2, 0x1100000, 0x1100000 + 1202, 0x1100000 + 203, 0x1110000,
                         0x1110000 + 1202, 0x1110000 + 4015};
    for (int code : codes) {
        SCOPED_TRACE(code);
        MakeProject(code);
        // A code without an initial-values column keeps the definition
        // files' values, which need not lie inside a range that follows the
        // voltage class.
        const bool hasColumn = CD390DocData::WideColumnOf(code) >= 0;
        for (int group = 0; group < 15; ++group) {
            const GroupTable* table = FindGroupTable(group);
            if (!table)
                continue;
            SCOPED_TRACE(group);
            for (int pass = 0; pass < 2; ++pass) {
                // pass 0: the set values of a new project; pass 1: the factory values.
                if (pass == 1)
                    for (ParamRec& param : m_doc.m_Groups[static_cast<std::size_t>(group)].m_Params)
                        param.m_strValue = param.m_strFactory;
                CGroupEditor& editor = Open(group);
                for (std::size_t p = 0; p < editor.m_Pages.size(); ++p) {
                    CGroupPageModel& page = *editor.m_Pages[p];
                    m_messages.Clear();
                    // Group 01's first page takes 01-01's limits from the
                    // voltage class through its layout; other rows through
                    // rangeOf.
                    const bool classRanges =
                        !hasColumn && (group == 1 || std::any_of(page.Table().rows.begin(), page.Table().rows.end(),
                                                                 [](const PageRow& row) { return static_cast<bool>(row.rangeOf); }));
                    if (!classRanges) {
                        EXPECT_TRUE(page.CheckRange(m_context)) << page.Table().className;
                    }
                    for (int r = 0; r < page.RowCount(); ++r) {
                        const int item = page.Row(r).item;
                        SCOPED_TRACE(item);
                        EXPECT_TRUE(m_doc.m_Defined[group][item]);
                        EXPECT_EQ(page.FlagPosition(r, m_doc), static_cast<int>(10 * p) + r);
                        if (page.Row(r).readOnly || (classRanges && (group == 1 || page.Row(r).rangeOf)))
                            continue; // shown only, or a class range (above)
                        std::string text;
                        ASSERT_TRUE(page.RowText(r, text));
                        uint16_t word = 0;
                        EXPECT_TRUE(page.ValueForDrive(r, text, word, m_context)) << text;
                    }
                    if (!classRanges) {
                        EXPECT_TRUE(m_messages.Texts().empty());
                    }
                }
            }
        }
    }
}
