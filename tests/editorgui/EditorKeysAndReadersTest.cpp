// The editor for a user at the keyboard and for a screen reader: Esc in a
// page, the small keyboard's focus and keys (typed on the display's own
// keyboard), what each row's controls are named and described as, the digit
// lists of the packed rows, every tab and every row text shown whole, and the
// small keyboard's target on pages without its hook-up. The test main fails
// any test during which the toolkit reports a critical message, so opening
// every group here also checks that the editor raises none.

#include "tests/common/GuiTestSupport.h"
#include "tests/editorgui/EditorWindowFixture.h"

#include "editor/ParamLabel.h"
#include "editor/SmallKeyboardDlg.h"
#include "platform/Accessible.h"

#include <wx/button.h>
#include <wx/uiaction.h>

#include <gtk/gtk.h>

namespace {

constexpr int kBaseModel = 1202;              // the base page set
constexpr int kExtendedModel = 0x1100000 + 1202; // the extended set, group 09 with two tabs

// Real key presses through the X server, after the window under them was
// raised; false when the display gives that window no keyboard focus.
bool FocusForKeys(wxWindow* window)
{
    window->Raise();
    window->SetFocus();
    for (int i = 0; i < 50 && wxWindow::FindFocus() != window; ++i) {
        Yield();
        wxMilliSleep(10);
    }
    return wxWindow::FindFocus() == window;
}

void TypeOnDisplay(int keyCode)
{
    wxUIActionSimulator keys;
    keys.Char(keyCode);
    for (int i = 0; i < 10; ++i) {
        Yield();
        wxMilliSleep(10);
    }
}

std::vector<wxString> Names(std::initializer_list<wxWindow*> windows)
{
    std::vector<wxString> names;
    for (wxWindow* window : windows)
        names.push_back(window->GetLabel());
    return names;
}

// What the text of a label shows: cut with "..." or whole.
bool IsCut(wxWindow* label)
{
    GtkWidget* widget = label->GetHandle();
    if (!GTK_IS_LABEL(widget))
        return false;
    return pango_layout_is_ellipsized(gtk_label_get_layout(GTK_LABEL(widget)));
}

} // namespace

class EditorKeysAndReadersTest : public EditorWindowFixture {
protected:
    void SetUp() override { MakeProject(kBaseModel); }
};

TEST_F(EditorKeysAndReadersTest, EscInAPageKeepsTheEditorOpenCancelAndTheCloseBoxEndIt)
{
    const std::string stored = m_doc.FindParam(6, 1)->m_strValue;
    CParamGroupDlg& editor = Open(6);
    wxTextCtrl* edit = Edit(0, 1034);
    edit->SetValue("7");
    // Esc from an edit and from a list of a page: the editor stays, with
    // what was typed.
    PressKey(&editor, edit, WXK_ESCAPE);
    PressKey(&editor, editor.PagePanel(2)->FindWindow(1025), WXK_ESCAPE);
    EXPECT_TRUE(editor.IsShown());
    EXPECT_EQ(edit->GetValue(), "7");

    // The same key on the display's keyboard, with the edit focused.
    if (FocusForKeys(edit)) {
        TypeOnDisplay(WXK_ESCAPE);
        EXPECT_TRUE(editor.IsShown());
        EXPECT_EQ(edit->GetValue(), "7");
    }

    // Esc on the editor's own buttons cancels, as Cancel does: nothing stored.
    PressKey(&editor, editor.FindWindow(wxID_OK), WXK_ESCAPE);
    EXPECT_FALSE(editor.IsShown());
    EXPECT_EQ(editor.GetReturnCode(), wxID_CANCEL);
    EXPECT_EQ(m_doc.FindParam(6, 1)->m_strValue, stored);

    // The close box.
    CParamGroupDlg& again = Open(6);
    Edit(0, 1034)->SetValue("8");
    again.Close();
    Yield();
    EXPECT_EQ(again.GetReturnCode(), wxID_CANCEL);
    EXPECT_EQ(m_doc.FindParam(6, 1)->m_strValue, stored);
    EXPECT_TRUE(m_stored.empty());
}

TEST_F(EditorKeysAndReadersTest, TheSmallKeyboardTakesTheFocusTypesDigitsAndClosesOnEsc)
{
    CParamGroupDlg& editor = Open(6);
    wxTextCtrl* edit = Edit(0, 1034); // 06-01, at most 599.00
    edit->ChangeValue("1");
    if (!FocusForKeys(edit))
        GTEST_SKIP() << "the display gives no keyboard focus";
    edit->SetInsertionPointEnd();
    Click(&editor, CParamGroupDlg::IDC_KEYBOARD);
    CSmallKeyboardDlg* keyboard = editor.Keyboard();
    ASSERT_NE(keyboard, nullptr);
    Yield();
    // Opening leaves the focus in the page edit where no window manager
    // activates the new window (a desktop gives it to the first key); a
    // click on a key takes none, Tab reaches every key.
    if (!WindowManagerRunning()) {
        EXPECT_EQ(wxWindow::FindFocus(), edit);
    }
    for (wxWindow* key : keyboard->GetChildren()) {
        EXPECT_TRUE(gtk_widget_get_can_focus(key->GetHandle())) << key->GetLabel();
        EXPECT_FALSE(gtk_widget_get_focus_on_click(key->GetHandle())) << key->GetLabel();
    }

    // The user comes to the keyboard: its first key takes the focus, a typed
    // digit and the point press their keys.
    wxWindow* first = keyboard->FindWindow(CSmallKeyboardDlg::IDC_KEY_FIRST);
    keyboard->Raise();
    for (int i = 0; i < 50 && wxWindow::FindFocus() != first; ++i) {
        Yield();
        wxMilliSleep(10);
    }
    ASSERT_EQ(wxWindow::FindFocus(), first) << "the keyboard's first key takes the focus when it is activated";
    edit->SetInsertionPointEnd(); // opening the keyboard focused the edit, which selects its text
    TypeOnDisplay('2');
    TypeOnDisplay('.');
    TypeOnDisplay('5');
    EXPECT_EQ(edit->GetValue(), "12.5");

    // Esc closes it; the editor stays open with the text.
    ASSERT_TRUE(FocusForKeys(first));
    TypeOnDisplay(WXK_ESCAPE);
    EXPECT_EQ(editor.Keyboard(), nullptr);
    EXPECT_EQ(m_pKeypad, nullptr);
    EXPECT_TRUE(editor.IsShown());
    EXPECT_EQ(edit->GetValue(), "12.5");
}

TEST_F(EditorKeysAndReadersTest, PagesWithoutTheKeyboardHookGiveTheKeyboardNoTarget)
{
    MakeProject(kExtendedModel);
    CParamGroupDlg& editor = Open(14);
    Click(&editor, CParamGroupDlg::IDC_KEYBOARD);
    CSmallKeyboardDlg* keyboard = editor.Keyboard();
    ASSERT_NE(keyboard, nullptr);
    wxTextCtrl* pressure = Edit(0, 1034); // 14-02
    const wxString before = pressure->GetValue();
    pressure->SetFocus();
    editor.EditFocused(nullptr); // what the focus handler of a group-14 edit reports
    Yield();
    EXPECT_EQ(keyboard->m_pEdit, nullptr);
    EXPECT_EQ(m_pCurEdit, nullptr);
    keyboard->OnKey(1046);
    EXPECT_EQ(pressure->GetValue(), before);

    // A hooked page's edit, focused, becomes the target.
    Open(6);
    Click(m_editor, CParamGroupDlg::IDC_KEYBOARD);
    wxTextCtrl* edit = Edit(0, 1034);
    if (!FocusForKeys(edit))
        GTEST_SKIP() << "the display gives no keyboard focus";
    EXPECT_EQ(m_editor->Keyboard()->m_pEdit, edit);
    EXPECT_EQ(m_pCurEdit, edit);

    // And a group-14 edit that takes the real focus clears it again.
    Open(14);
    Click(m_editor, CParamGroupDlg::IDC_KEYBOARD);
    m_editor->EditFocused(Edit(0, 1034)); // aimed as from an earlier page
    wxTextCtrl* target = Edit(0, 1035);
    ASSERT_TRUE(FocusForKeys(target));
    EXPECT_EQ(m_editor->Keyboard()->m_pEdit, nullptr);
}

TEST_F(EditorKeysAndReadersTest, EachRowsControlsAreNamedAndDescribedByThatRowOnly)
{
    // Group 00's second base page: ten edits with their range texts, the
    // rows where the old order made each range text the next button's label.
    CParamGroupDlg& editor = Open(0);
    CGroupPagePanel* page = editor.PagePanel(1);
    ASSERT_EQ(page->Model().RowCount(), 10);
    for (int r = 0; r < 10; ++r) {
        SCOPED_TRACE(r);
        wxWindow* button = page->RowButton(r);
        CParamLabel* label = page->Label(r);
        wxWindow* input = page->Control(r);
        char write[16];
        std::snprintf(write, sizeof write, "Write 00-%02d", page->Model().Row(r).item);
        EXPECT_EQ(GetAccessibleName(button), write);
        EXPECT_EQ(GetAccessibleRelation(button, AccessibleRelation::LabelledBy), Names({label}));
        EXPECT_EQ(GetAccessibleName(input), label->GetLabel());
        EXPECT_EQ(GetAccessibleRelation(input, AccessibleRelation::LabelledBy), Names({label}));
        auto* range = dynamic_cast<wxStaticText*>(page->FindWindow(input->GetId())->GetNextSibling());
        ASSERT_NE(range, nullptr);
        EXPECT_FALSE(range->GetLabel().empty());
        EXPECT_EQ(GetAccessibleDescription(input), range->GetLabel());
        EXPECT_TRUE(GetAccessibleRelation(range, AccessibleRelation::LabelFor).empty()) << range->GetLabel();
    }

    // A range text that changes with the page follows into the description:
    // group 14's mode rows, percent first, then pressure.
    MakeProject(kExtendedModel);
    Open(14);
    CGroupPagePanel* first = m_editor->PagePanel(0);
    wxTextCtrl* tolerance = Edit(0, 1039); // 14-09
    EXPECT_EQ(GetAccessibleDescription(tolerance), "1~100");
    Choose(m_editor->PagePanel(2), 1025, 0); // 14-20: pressure
    wxTimer timer(first);
    wxTimerEvent tick(timer);
    first->ProcessWindowEvent(tick);
    EXPECT_EQ(Label(0, 1075), "0.01~650.00");
    EXPECT_EQ(GetAccessibleDescription(tolerance), "0.01~650.00");
}

TEST_F(EditorKeysAndReadersTest, DigitListsOfPackedRowsAreNamedByRowAndDigit)
{
    struct Case {
        int model, group, page, row;
        std::vector<const char*> digits; // "": a digit without a shown list
    };
    const Case cases[] = {
        {kBaseModel, 3, 0, 8, {"terminal S5", "terminal S4", "terminal S3", "terminal S2", "terminal S1"}},
        {kBaseModel, 8, 0, 0, {"", "digit 2", "digit 3", "digit 4", "digit 5"}},
        {kExtendedModel, 8, 0, 5, {"", "", "digit 3", "digit 4", "digit 5"}},
        {kBaseModel, 12, 0, 0, {"digit 1", "digit 2", "digit 3", "digit 4", "digit 5"}},
        {kExtendedModel, 12, 0, 0, {"digit 1", "digit 2", "digit 3", "digit 4", "digit 5"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.group << " row " << c.row << " model " << std::hex << c.model);
        MakeProject(c.model);
        CParamGroupDlg& editor = Open(c.group);
        CGroupPagePanel* page = editor.PagePanel(c.page);
        const wxString label = page->Label(c.row)->GetLabel();
        ASSERT_FALSE(label.empty());
        const std::vector<wxWindow*>& lists = page->DigitLists(c.row);
        ASSERT_EQ(lists.size(), c.digits.size());
        std::vector<wxString> names;
        for (std::size_t d = 0; d < lists.size(); ++d) {
            if (!lists[d] || !lists[d]->IsShown()) {
                EXPECT_STREQ(c.digits[d], "") << d;
                continue;
            }
            EXPECT_EQ(GetAccessibleName(lists[d]), label + ", " + c.digits[d]);
            EXPECT_EQ(GetAccessibleRelation(lists[d], AccessibleRelation::LabelledBy), Names({page->Label(c.row)}));
            names.push_back(GetAccessibleName(lists[d]));
        }
        // No two lists of a row read alike, and none reads as its entry.
        for (std::size_t a = 0; a < names.size(); ++a)
            for (std::size_t b = a + 1; b < names.size(); ++b)
                EXPECT_NE(names[a], names[b]);
    }
}

TEST_F(EditorKeysAndReadersTest, EveryTabAndEveryRowTextIsShownWhole)
{
    for (int model : {kBaseModel, kExtendedModel}) {
        MakeProject(model);
        for (int group = 0; group <= 14; ++group) {
            if (group == 14 && model == kBaseModel)
                continue;
            SCOPED_TRACE(testing::Message() << "group " << group << " model " << std::hex << model);
            CParamGroupDlg& editor = Open(group);
            wxNotebook* tabs = editor.Notebook();
            ASSERT_NE(tabs, nullptr);
            GtkNotebook* notebook = GTK_NOTEBOOK(tabs->GetHandle());
            GtkAllocation strip;
            gtk_widget_get_allocation(GTK_WIDGET(notebook), &strip);
            for (size_t p = 0; p < tabs->GetPageCount(); ++p) {
                // A tab scrolled out of sight has no visible label, or one
                // beyond the notebook's edge.
                GtkWidget* tab = gtk_notebook_get_tab_label(notebook, tabs->GetPage(p)->GetHandle());
                ASSERT_NE(tab, nullptr);
                EXPECT_TRUE(gtk_widget_get_child_visible(tab) && gtk_widget_get_mapped(tab))
                    << tabs->GetPageText(p).utf8_string();
                GtkAllocation at;
                gtk_widget_get_allocation(tab, &at);
                EXPECT_LE(at.x + at.width, strip.x + strip.width) << tabs->GetPageText(p).utf8_string();
            }
            // The editor keeps its buttons on screen below the tabs.
            EXPECT_LE(editor.GetSize().x, wxGetClientDisplayRect().GetWidth());
            for (size_t p = 0; p < tabs->GetPageCount(); ++p) {
                CGroupPagePanel* page = editor.PagePanel(static_cast<int>(p));
                for (int r = 0; r < page->Model().RowCount(); ++r) {
                    CParamLabel* label = page->Label(r);
                    EXPECT_FALSE(IsCut(label)) << label->GetLabel().utf8_string();
                    EXPECT_GE(label->GetSize().x, label->GetTextExtent(label->GetLabel()).x)
                        << label->GetLabel().utf8_string();
                    auto* list = dynamic_cast<wxChoice*>(page->Control(r));
                    if (list && page->Model().Row(r).kind == RowKind::Option) {
                        EXPECT_GE(list->GetSize().x, list->GetBestSize().x) << label->GetLabel().utf8_string();
                    }
                    // The page holds the row whole.
                    wxWindow* rightmost = page->Control(r) ? page->Control(r) : label;
                    EXPECT_LE(rightmost->GetRect().GetRight(), tabs->GetSize().x) << label->GetLabel().utf8_string();
                }
            }
        }
    }
}
