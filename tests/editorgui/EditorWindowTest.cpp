// The editor's window under Xvfb: pages built from the tables, the filter on
// typed text, row buttons against the simulated drive, the keyboard, Enter
// and Esc.

#include "tests/editorgui/EditorWindowFixture.h"

#include "editor/ParamLabel.h"
#include "editor/SmallKeyboardDlg.h"
#include "link/ParamGroupIO.h"

#include <wx/button.h>

class EditorWindowTest : public EditorWindowFixture {
protected:
    static constexpr int kModel = 0x1100000 + 1202;

    void SetUp() override { MakeProject(kModel); }
};

TEST_F(EditorWindowTest, PagesAreBuiltFromTheTables)
{
    CParamGroupDlg& editor = Open(5, 22);
    wxNotebook* tabs = editor.Notebook();
    ASSERT_NE(tabs, nullptr);
    EXPECT_EQ(tabs->GetId(), CParamGroupDlg::IDC_TAB);
    ASSERT_EQ(tabs->GetPageCount(), 3u);
    EXPECT_EQ(tabs->GetPageText(1), "    05-18 - 05-27    ");
    EXPECT_EQ(tabs->GetSelection(), 2);
    auto* label = wxDynamicCast(editor.PagePanel(2)->FindWindow(1017), CParamLabel);
    ASSERT_NE(label, nullptr);
    EXPECT_TRUE(label->IsMarked());
    EXPECT_TRUE(label->GetLabel().StartsWith("05-30"));
    EXPECT_FALSE(wxDynamicCast(editor.PagePanel(2)->FindWindow(1016), CParamLabel)->IsMarked());
    EXPECT_FALSE(editor.FindWindow(CParamGroupDlg::IDC_TRANSMIT)->IsEnabled()); // no link at opening
    auto* list = wxDynamicCast(editor.PagePanel(0)->FindWindow(1025), wxChoice);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->GetString(1), "1: special");
    EXPECT_EQ(list->GetName(), wxString::FromUTF8(m_doc.FindParam(5, 0)->m_strLabel));
    EXPECT_EQ(editor.PagePanel(0)->FindWindow(1006)->GetName(), "Write 05-01");
    EXPECT_EQ(Edit(0, 1034)->GetValue(), wxString::FromUTF8(m_doc.FindParam(5, 1)->m_strValue));
}

TEST_F(EditorWindowTest, TypedTextPassesThroughTheFilterAndOkStores)
{
    CParamGroupDlg& editor = Open(6);
    wxTextCtrl* edit = Edit(0, 1034); // 06-01
    edit->SetValue("599");
    edit->SetValue("599.01");
    EXPECT_EQ(edit->GetValue(), "599");
    edit->SetValue("12.345");
    EXPECT_EQ(edit->GetValue(), "12.34");
    Click(&editor, wxID_OK);
    EXPECT_EQ(editor.GetReturnCode(), wxID_OK);
    EXPECT_EQ(m_doc.FindParam(6, 1)->m_strValue, "12.34");
    EXPECT_EQ(m_doc.m_Changed[6][1], 1u);
    EXPECT_EQ(m_stored, std::vector<int>{6});
    EXPECT_TRUE(m_doc.IsModified());
}

TEST_F(EditorWindowTest, OkOnABadValueShowsItsPageWithTheEditFocused)
{
    m_doc.FindParam(6, 1)->m_strValue = "650.00";
    CParamGroupDlg& editor = Open(6);
    editor.Notebook()->ChangeSelection(2);
    Click(&editor, wxID_OK);
    Yield();
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{LoadResString(61460)});
    EXPECT_EQ(editor.Notebook()->GetSelection(), 0);
    EXPECT_TRUE(editor.IsShown());
    EXPECT_EQ(m_doc.FindParam(6, 1)->m_strValue, "650.00");
}

TEST_F(EditorWindowTest, RowButtonWritesThroughTheDrive)
{
    Connect(kModel);
    CParamGroupDlg& editor = Open(6);
    EXPECT_TRUE(editor.FindWindow(CParamGroupDlg::IDC_TRANSMIT)->IsEnabled());
    Edit(0, 1034)->SetValue("12.34");
    m_stations = {1};
    Click(editor.PagePanel(0), 1006);
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{LoadResString(61541)});
    EXPECT_EQ(m_drive->GetRegister(1, 0x0601), 1234);
}

TEST_F(EditorWindowTest, KeyboardTypesIntoTheLastFocusedEdit)
{
    CParamGroupDlg& editor = Open(6);
    wxTextCtrl* edit = Edit(0, 1034); // maximum 599.00
    edit->SetValue("12.5");
    edit->SetFocus();
    Yield();
    editor.EditFocused(edit);
    Click(&editor, CParamGroupDlg::IDC_KEYBOARD);
    CSmallKeyboardDlg* keyboard = editor.Keyboard();
    ASSERT_NE(keyboard, nullptr);
    EXPECT_EQ(keyboard->GetTitle(), "Small Keyboard'");
    EXPECT_EQ(m_pKeypad, keyboard);
    EXPECT_EQ(keyboard->m_pEdit, edit);
    edit->SetSelection(1, 3);
    keyboard->OnKey(1046); // 7
    EXPECT_EQ(edit->GetValue(), "175");
    long start = 0, end = 0;
    edit->GetSelection(&start, &end);
    EXPECT_EQ(start, 2);

    // A 3600.0 row: 3600.0 then any digit is refused, the caret stays.
    wxTextCtrl* time = Edit(0, 1041); // 06-16
    time->SetValue("3600.0");
    editor.EditFocused(time);
    time->SetSelection(6, 6);
    keyboard->OnKey(1047);
    EXPECT_EQ(time->GetValue(), "3600.0");
    time->GetSelection(&start, &end);
    EXPECT_EQ(start, 6);

    // A second press opens no second keyboard.
    Click(&editor, CParamGroupDlg::IDC_KEYBOARD);
    EXPECT_EQ(editor.Keyboard(), keyboard);
}

TEST_F(EditorWindowTest, EnterStoresNothingAndEscClosesOnlyTheKeyboard)
{
    CParamGroupDlg& editor = Open(6);
    wxTextCtrl* edit = Edit(0, 1034);
    edit->SetValue("7");
    TypeEnter(edit);
    PressKey(&editor, edit, WXK_RETURN);
    EXPECT_TRUE(editor.IsShown());
    EXPECT_NE(m_doc.FindParam(6, 1)->m_strValue, "7.00");

    Click(&editor, CParamGroupDlg::IDC_KEYBOARD);
    CSmallKeyboardDlg* keyboard = editor.Keyboard();
    ASSERT_NE(keyboard, nullptr);
    PressKey(keyboard, keyboard, WXK_ESCAPE);
    EXPECT_EQ(editor.Keyboard(), nullptr);
    EXPECT_EQ(m_pKeypad, nullptr);
    EXPECT_TRUE(editor.IsShown());
    Click(&editor, CParamGroupDlg::IDC_KEYBOARD);
    EXPECT_NE(editor.Keyboard(), nullptr);
}

TEST_F(EditorWindowTest, ClosingTheEditorLeavesNoKeyboardTarget)
{
    CParamGroupDlg& editor = Open(6);
    wxTextCtrl* edit = Edit(0, 1034);
    edit->SetFocus();
    editor.EditFocused(edit);
    Click(&editor, CParamGroupDlg::IDC_KEYBOARD);
    Click(&editor, wxID_CANCEL);
    EXPECT_EQ(editor.GetReturnCode(), wxID_CANCEL);
    EXPECT_EQ(m_pCurEdit, nullptr);
    EXPECT_EQ(m_pKeypad, nullptr);
    m_editor->Destroy();
    m_editor = nullptr;
    Yield();

    // The next editor: its keyboard has no stale target; a key does nothing.
    CParamGroupDlg& next = Open(6);
    Click(&next, CParamGroupDlg::IDC_KEYBOARD);
    ASSERT_NE(next.Keyboard(), nullptr);
    EXPECT_EQ(next.Keyboard()->m_pEdit, nullptr);
    next.Keyboard()->OnKey(1046);
}

TEST_F(EditorWindowTest, AGroupWithoutPagesOpensAsThePlainList)
{
    // Every group has its pages now; an editor handed no drive state is the
    // one left to open as the plain list.
    m_links.drive = nullptr;
    CParamGroupDlg& editor = Open(8, 0);
    EXPECT_EQ(editor.Notebook(), nullptr);
    ASSERT_FALSE(editor.m_Fields.empty());
    EXPECT_FALSE(editor.FindWindow(CParamGroupDlg::IDC_TRANSMIT)->IsEnabled());
    editor.m_Fields[0]->ChangeValue("9.99");
    Click(&editor, wxID_OK);
    EXPECT_EQ(m_doc.m_Groups[8].m_Params[0].m_strValue, "9.99");
    EXPECT_EQ(m_doc.m_Changed[8][0], 1u);
    EXPECT_TRUE(m_doc.IsModified());
}

TEST_F(EditorWindowTest, WhileACommandRunsTheEditorNeitherClosesNorStartsAnother)
{
    // What reaches the editor while its command is in the middle (here: while
    // the station chooser is up), each as its own event would come.
    struct Input {
        const char* what;
        std::function<void(CParamGroupDlg&)> arrive;
    };
    const Input inputs[] = {
        {"nothing", [](CParamGroupDlg&) {}},
        {"Cancel", [](CParamGroupDlg& editor) { Click(&editor, wxID_CANCEL); }},
        {"OK", [](CParamGroupDlg& editor) { Click(&editor, wxID_OK); }},
        {"a close", [](CParamGroupDlg& editor) { editor.Close(); }},
        {"the row button", [](CParamGroupDlg& editor) { Click(editor.PagePanel(0), 1006); }},
        {"Transmit Group", [](CParamGroupDlg& editor) { Click(&editor, CParamGroupDlg::IDC_TRANSMIT); }},
    };
    struct Command {
        const char* what;
        std::function<void(CParamGroupDlg&)> start;
    };
    const Command commands[] = {
        {"row write", [](CParamGroupDlg& editor) { Click(editor.PagePanel(0), 1006); }},
        {"Transmit Group", [](CParamGroupDlg& editor) { Click(&editor, CParamGroupDlg::IDC_TRANSMIT); }},
    };
    Connect(kModel);
    const Input* input = nullptr;
    CParamGroupDlg* editor = nullptr;
    int chosen = 0;
    m_links.chooseStation = [&] {
        if (chosen++ == 0)
            input->arrive(*editor);
        return 1;
    };
    for (const Command& command : commands) {
        std::vector<SimFrame> undisturbed;
        for (const Input& each : inputs) {
            SCOPED_TRACE(std::string(command.what) + ", " + each.what);
            input = &each;
            chosen = 0;
            editor = &Open(6);
            Edit(0, 1034)->SetValue("12.34");
            m_drive->ClearFrameLog();
            m_messages.Clear();
            command.start(*editor);
            EXPECT_EQ(chosen, 1) << "one command, one station chooser";
            EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{LoadResString(61541)});
            EXPECT_EQ(m_drive->GetRegister(1, 0x0601), 1234);
            // Byte for byte what the command sends undisturbed, once.
            const std::vector<SimFrame> frames = m_drive->GetFrameLog();
            if (undisturbed.empty())
                undisturbed = frames;
            ASSERT_EQ(frames.size(), undisturbed.size());
            for (std::size_t k = 0; k < frames.size(); ++k)
                EXPECT_EQ(frames[k].request, undisturbed[k].request) << "frame " << k;
            EXPECT_TRUE(editor->IsShown()) << "still open";
            EXPECT_TRUE(m_stored.empty()) << "nothing stored";

            // Once the command is over, the editor takes its buttons again.
            Click(editor, wxID_CANCEL);
            EXPECT_FALSE(editor->IsShown());
            EXPECT_EQ(editor->GetReturnCode(), wxID_CANCEL);
        }
    }
}
