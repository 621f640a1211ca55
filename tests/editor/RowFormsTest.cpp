// The engine's second row forms, list hooks and opening hook on a small table
// of their own: a row that is a two-decimal number or a whole number as the
// page's rule says, a list whose choice flips that rule, and a group whose
// opening hook settles the rule before its page loads.

#include "tests/editor/EditorTestSupport.h"

#include "editor/EditorStrings.h"
#include "platform/ResourceModule.h"

namespace {

// Group 14's 14-09 and 14-20 stand in; the rule is the connection's mode.
const PageRow& WholeForm()
{
    static const PageRow form = [] {
        PageRow row;
        row.item = 9;
        row.kind = RowKind::Integer;
        row.controlId = 1034;
        row.digitsOnly = true;
        row.filterMax = 100;
        row.checked = true;
        row.checkMin = 1;
        row.checkMax = 100;
        row.rangeText = "1~100";
        row.rangeTextId = 1075;
        return row;
    }();
    return form;
}

const PageTable& FormPage()
{
    static const PageTable page = [] {
        PageTable table;
        table.group = 14;
        table.running = RunningRule::Ignore;
        table.rows.push_back(OptionRow(20, 1025, PageStringBase(14) + 30, 2));
        PageRow number = DecimalRow(9, 1034, 2, 650.0, 0.01, 650.0, "0.01~650.00");
        number.rangeTextId = 1075;
        number.alternate = &WholeForm();
        table.rows.push_back(number);
        table.alternateForm = [](const EditorContext& context) { return context.drive.m_nPressureMode != 0; };
        table.onSelect = [](CGroupPageModel& model, int row, EditorContext& context) {
            context.drive.m_nPressureMode = model.m_rows[static_cast<std::size_t>(row)].selection;
            model.SyncForm(context);
        };
        return table;
    }();
    return page;
}

} // namespace

TEST_F(EditorTest, ARowTakesItsSecondFormWhileThePageSaysSo)
{
    MakeProject(0x1110000 + 1202);
    SetValue(14, 9) = "6.75";
    m_frame.m_nPressureMode = 0;
    CGroupPageModel page(FormPage(), 0);
    page.Load(m_context);
    EXPECT_FALSE(page.m_bAlternate);
    EXPECT_EQ(page.m_rows[1].text, "6.75");
    EXPECT_EQ(page.m_rows[1].rangeText, "0.01~650.00");
    EXPECT_EQ(page.Filter(1, "6.7", "6.7.5"), "6.7");

    // The list's choice flips the rule at once: range text, filter, check,
    // the text stored and the word sent all follow the whole-number form.
    page.Select(0, 1, m_context);
    EXPECT_EQ(m_frame.m_nPressureMode, 1);
    EXPECT_TRUE(page.m_bAlternate);
    EXPECT_EQ(page.Row(1).kind, RowKind::Integer);
    EXPECT_EQ(page.Row(1).item, 9);
    EXPECT_EQ(page.m_rows[1].rangeText, "1~100");
    EXPECT_EQ(page.Filter(1, "6", "6."), "6");
    EXPECT_EQ(page.Filter(1, "6", "-6"), "6");
    EXPECT_EQ(page.Filter(1, "60", "600"), "60");
    EXPECT_TRUE(m_messages.Texts().empty()); // digits only: no prompt
    EXPECT_TRUE(page.CheckRange(m_context));
    std::string text;
    ASSERT_TRUE(page.RowText(1, text));
    EXPECT_EQ(text, "6");
    uint16_t word = 0;
    EXPECT_TRUE(page.ValueForDrive(1, text, word, m_context));
    EXPECT_EQ(word, 6);
    page.m_rows[1].text = "0";
    EXPECT_FALSE(page.CheckRange(m_context));

    // The rule is asked again at every check and store, not only on a choice.
    m_frame.m_nPressureMode = 0;
    page.m_rows[1].text = "0.5";
    EXPECT_TRUE(page.CheckRange(m_context));
    EXPECT_EQ(page.m_rows[1].text, "0.50");
    page.Store(m_context);
    EXPECT_EQ(SetValue(14, 9), "0.50");
}

TEST_F(EditorTest, TheOpeningHookRunsBeforeThePagesLoad)
{
    MakeProject(0x1110000 + 1202);
    SetValue(14, 9) = "6.75";
    m_frame.m_nPressureMode = 1;
    LayoutTable layout;
    layout.pages = {&FormPage()};
    layout.captions = {"-> 14-00 - 14-09 "};
    GroupTable table;
    table.group = 14;
    table.layouts = {layout};
    table.onOpen = [](EditorContext& context) { context.drive.m_nPressureMode = 0; };
    CGroupEditor editor(m_context, table, 14, -1);
    editor.InitGroupTabs();
    EXPECT_EQ(editor.m_Pages[0]->m_rows[1].text, "6.75");
}
