// The main window from the keyboard, with real keys through the X server: F6
// and Tab between the tree and the list, the focus coming back after a
// dialog, the editor or a live window, the keys and presses the list leaves
// to the view, the red of a selected heading on the screen, Print Preview,
// the progress window's name, the station chooser's Enter and the edit keys
// of text fields.

#include "platform/ResourceModule.h"
#include "session/DriveSession.h"
#include "tests/shellgui/MainWindowFixture.h"
#include "view/ParamListModel.h"
#include "view/PrintTitleDlg.h"
#include "view/ProgressDlg.h"
#include "view/ProgressWindowTransfer.h"
#include "view/ReadStationDlg.h"
#include "view/StationChoiceDlg.h"
#include "editor/GroupEditor.h"
#include "editor/GroupPagePanel.h"

#include <wx/clipbrd.h>
#include <wx/dcmemory.h>
#include <wx/dcscreen.h>
#include <wx/notebook.h>
#include <wx/print.h>
#include <wx/textctrl.h>
#include <wx/timer.h>

namespace {

class MainWindowKeysTest : public MainWindowFixture {
protected:
    CXListCtrl* ListCtrl() { return View()->GetList(); }

    // Runs then once the event loop is running (inside a modal window's loop
    // too), after ms.
    void Later(int ms, std::function<void()> then)
    {
        m_timer.Bind(wxEVT_TIMER, [then](wxTimerEvent&) { then(); });
        m_timer.StartOnce(ms);
    }

    template <class Window>
    static Window* FindTopLevel()
    {
        for (wxWindow* window : wxTopLevelWindows)
            if (auto* found = dynamic_cast<Window*>(window); found && found->IsShown() && !found->IsBeingDeleted())
                return found;
        return nullptr;
    }

    // Pixels of a cell of the list as the screen shows them.
    wxImage CellPixels(int row, int column)
    {
        wxRect cell;
        EXPECT_TRUE(ListCtrl()->GetSubItemRect(row, column, cell));
        const wxPoint origin = ListCtrl()->GetMainWindow()->ClientToScreen(cell.GetTopLeft());
        wxScreenDC screen;
        wxBitmap bitmap(cell.width, cell.height);
        wxMemoryDC memory(bitmap);
        memory.Blit(0, 0, cell.width, cell.height, &screen, origin.x, origin.y);
        memory.SelectObject(wxNullBitmap);
        return bitmap.ConvertToImage();
    }

    static int RedPixels(const wxImage& image)
    {
        int count = 0;
        for (int y = 0; y < image.GetHeight(); ++y)
            for (int x = 0; x < image.GetWidth(); ++x)
                if (image.GetRed(x, y) > 180 && image.GetGreen(x, y) < 90 && image.GetBlue(x, y) < 90)
                    ++count;
        return count;
    }

    wxTimer m_timer;
};

TEST_F(MainWindowKeysTest, F6AndTabGoBetweenTheTreeAndTheList)
{
    StartWithProject();
    Tree()->SetFocus();
    Pump(200);
    ASSERT_TRUE(FocusIn(Tree()));
    const struct {
        int key, modifiers;
        bool toList;
    } steps[] = {
        {WXK_F6, wxMOD_NONE, true},  {WXK_F6, wxMOD_NONE, false}, {WXK_F6, wxMOD_SHIFT, true},
        {WXK_F6, wxMOD_SHIFT, false}, {WXK_TAB, wxMOD_NONE, true}, {WXK_TAB, wxMOD_NONE, false},
        {WXK_TAB, wxMOD_SHIFT, true}, {WXK_TAB, wxMOD_SHIFT, false},
    };
    for (const auto& step : steps) {
        Key(step.key, step.modifiers);
        EXPECT_TRUE(FocusIn(step.toList ? List() : Tree()))
            << step.key << " " << step.modifiers << " should reach the " << (step.toList ? "list" : "tree");
    }
    // From a tab strip the next Tab reaches the tree, Shift+Tab the list.
    Frame().m_wndTabCtrl->SetFocus();
    Pump(100);
    Key(WXK_TAB);
    EXPECT_TRUE(FocusIn(Tree()));
    Frame().m_wndTabCtrl->SetFocus();
    Pump(100);
    Key(WXK_TAB, wxMOD_SHIFT);
    EXPECT_TRUE(FocusIn(List()));
}

TEST_F(MainWindowKeysTest, TheFocusComesBackAfterTheEditorADialogAndALiveWindow)
{
    StartWithProject();
    // Enter on row 2 (00-01) opens the real editor, as a double click does.
    int group = -1, item = -1;
    m_answer = [&](wxDialog* dialog) {
        if (auto* editor = dynamic_cast<CParamGroupDlg*>(dialog)) {
            group = editor->m_nGroup;
            item = editor->m_nItem;
        }
        return int(wxID_NONE); // shown for real
    };
    ListCtrl()->SetFocus();
    ListCtrl()->SelectItem(2);
    Pump(200);
    bool editorSeen = false;
    Later(600, [&] {
        if (auto* editor = FindTopLevel<CParamGroupDlg>()) {
            editorSeen = true;
            EXPECT_FALSE(Frame().IsEnabled());
            editor->Close();
        }
    });
    Key(WXK_RETURN);
    PumpUntil([&] { return editorSeen && Frame().IsEnabled(); }, 3000);
    Pump(300);
    EXPECT_TRUE(editorSeen);
    EXPECT_EQ(group, 0);
    EXPECT_EQ(item, 1);
    EXPECT_TRUE(FocusIn(List())) << "after the editor";

    // A dialog shown with ShowModal: Print Title.
    bool dialogSeen = false;
    Later(600, [&] {
        if (auto* dialog = FindTopLevel<CPrintTitleDlg>()) {
            dialogSeen = true;
            dialog->EndModal(wxID_CANCEL);
        }
    });
    Command(ID_PRINT_TITLE);
    Pump(300);
    EXPECT_TRUE(dialogSeen);
    EXPECT_TRUE(FocusIn(List())) << "after a dialog";

    // A live window from the tree.
    Frame().Session().m_bConnected = 1;
    Frame().Session().m_Stations = {1};
    Tree()->SetFocus();
    Pump(200);
    bool keypadSeen = false;
    Frame().CallAfter([&] {
        if (wxWindow* keypad = wxWindow::FindWindowById(146)) {
            keypadSeen = true;
            keypad->Close();
        }
    });
    Command(ID_KEYPAD);
    Pump(300);
    EXPECT_TRUE(keypadSeen);
    EXPECT_TRUE(FocusIn(Tree())) << "after a live window";
    Frame().Session().m_bConnected = 0;
    Frame().Session().m_Stations.clear();
}

TEST_F(MainWindowKeysTest, TheListLeavesLettersAndRightPressesToTheViewAndReselectsOnEmptySpace)
{
    StartWithProject();
    View()->FillGroupList(12); // a short list with space below it
    Pump(200);
    std::vector<int> keys;
    int rightPresses = 0;
    wxWindow* frame = View()->GetFrame();
    frame->Bind(wxEVT_KEY_DOWN, [&](wxKeyEvent& event) {
        if (event.GetEventObject() == ListCtrl())
            keys.push_back(event.GetKeyCode());
        event.Skip();
    });
    frame->Bind(wxEVT_RIGHT_DOWN, [&](wxMouseEvent& event) {
        if (event.GetEventObject() == ListCtrl())
            ++rightPresses;
        event.Skip();
    });
    ListCtrl()->SetFocus();
    Pump(200);
    ASSERT_TRUE(FocusIn(List()));
    // Row 3 by the keyboard.
    ListCtrl()->SelectItem(0);
    for (int row = 0; row < 3; ++row)
        Key(WXK_DOWN);
    ASSERT_EQ(ListCtrl()->GetCurSel(), 3);

    // Letters and Space go up; the list's own search does not move it.
    Key('A');
    Key(WXK_SPACE);
    Key('C', wxMOD_CONTROL); // with Ctrl held: the list's
    EXPECT_EQ(keys, (std::vector<int>{'A', WXK_SPACE}));
    EXPECT_EQ(ListCtrl()->GetCurSel(), 3);
    // No search field opened by a letter or the toolkit's search key: Esc
    // leaves the row chosen and the focus in the list.
    for (int modifiers : {wxMOD_NONE, wxMOD_CONTROL}) {
        Key('F', modifiers);
        Key(WXK_ESCAPE);
        EXPECT_EQ(ListCtrl()->GetCurSel(), 3) << (modifiers ? "Ctrl+F" : "F");
        EXPECT_TRUE(FocusIn(List())) << (modifiers ? "Ctrl+F" : "F");
    }
    keys.clear();
    Key(WXK_DOWN);
    EXPECT_EQ(ListCtrl()->GetCurSel(), 4) << "the arrows stay the list's";

    // A click on row 2, the arrow up, then a click below the last row.
    wxUIActionSimulator sim;
    wxRect cell;
    ASSERT_TRUE(ListCtrl()->GetSubItemRect(2, 1, cell));
    sim.MouseMove(ListCtrl()->GetMainWindow()->ClientToScreen(wxPoint(cell.x + 20, cell.y + cell.height / 2)));
    Pump(100);
    sim.MouseClick();
    Pump(300);
    EXPECT_EQ(ListCtrl()->GetCurSel(), 2);
    Key(WXK_UP);
    EXPECT_EQ(ListCtrl()->GetCurSel(), 1);
    wxRect last;
    ASSERT_TRUE(ListCtrl()->GetSubItemRect(ListCtrl()->GetItemCount() - 1, 1, last));
    const wxSize client = ListCtrl()->GetMainWindow()->GetClientSize();
    ASSERT_LT(last.GetBottom() + 30, client.y) << "space below the last row";
    sim.MouseMove(ListCtrl()->GetMainWindow()->ClientToScreen(wxPoint(last.x + 20, last.GetBottom() + 20)));
    Pump(100);
    sim.MouseClick();
    Pump(300);
    EXPECT_EQ(ListCtrl()->GetCurSel(), 2) << "the row clicked last";

    // A right press on row 4 selects nothing and reaches the view.
    ASSERT_TRUE(ListCtrl()->GetSubItemRect(4, 1, cell));
    sim.MouseMove(ListCtrl()->GetMainWindow()->ClientToScreen(wxPoint(cell.x + 20, cell.y + cell.height / 2)));
    Pump(100);
    sim.MouseClick(wxMOUSE_BTN_RIGHT);
    Pump(300);
    EXPECT_EQ(ListCtrl()->GetCurSel(), 2);
    EXPECT_EQ(rightPresses, 1);
}

TEST_F(MainWindowKeysTest, ASelectedHeadingRowIsRedOnTheScreen)
{
    StartWithProject();
    wxUIActionSimulator().MouseMove(wxPoint(2, 2));
    ListCtrl()->SetFocus();
    ASSERT_TRUE(View()->GetListModel()->IsHeadingRow(0));
    ASSERT_FALSE(View()->GetListModel()->IsHeadingRow(1));
    for (int selected : {0, 1}) {
        ListCtrl()->SelectItem(selected);
        ListCtrl()->Refresh();
        Pump(300);
        const int red = RedPixels(CellPixels(0, 1));
        EXPECT_GT(red, 20) << "heading row with row " << selected << " selected: " << red << " red pixels";
        EXPECT_EQ(RedPixels(CellPixels(1, 1)), 0) << "a parameter row is not red, row " << selected << " selected";
    }
}

TEST_F(MainWindowKeysTest, PrintPreviewOpenedFromTheKeyboardTakesTheFocus)
{
    StartWithProject();
    ListCtrl()->SetFocus();
    Pump(200);
    // File, Print Preview by their mnemonics.
    Key('F', wxMOD_ALT);
    Key('V');
    wxPreviewFrame* preview = nullptr;
    PumpUntil([&] { return (preview = FindTopLevel<wxPreviewFrame>()) != nullptr; }, 3000);
    ASSERT_NE(preview, nullptr) << "messages: " << ::testing::PrintToString(m_messages.Texts());
    Pump(300);
    EXPECT_TRUE(FocusIn(preview));
    EXPECT_FALSE(Frame().IsEnabled());
    preview->Close();
    Pump(300);
    EXPECT_TRUE(Frame().IsEnabled());
    EXPECT_TRUE(FocusIn(List())) << "back to the list after the preview";
}

TEST_F(MainWindowKeysTest, TheProgressWindowIsNamedAfterItsCommand)
{
    ASSERT_TRUE(Start());
    CProgressWindowTransfer progress(&Frame(), Frame().m_pProgressDlg);
    for (unsigned heading : {61487u, 61486u}) {
        progress.ShowWithHeading(LoadResString(heading));
        Pump(100);
        std::string expected = LoadResString(heading);
        expected = expected.substr(0, expected.find("..."));
        EXPECT_EQ(Frame().m_pProgressDlg->GetTitle().utf8_string(), expected);
        progress.Hide();
    }
}

TEST_F(MainWindowKeysTest, EnterInTheStationChooserPressesOK)
{
    ASSERT_TRUE(Start());
    Frame().Session().m_Stations = {3, 9};
    auto* dialog = new CReadStationDlg(&Frame(), Frame().Session());
    dialog->Show();
    dialog->Raise();
    wxChoice* stations = dialog->GetStationCombo();
    stations->SetSelection(1);
    stations->SetFocus();
    // wx does not see GTK's focus inside a drop list: the dialog is active.
    ASSERT_TRUE(PumpUntil([&] { return dialog->IsActive(); }, 2000));
    Pump(200);
    Key(WXK_RETURN);
    EXPECT_EQ(dialog->GetReturnCode(), wxID_OK);
    EXPECT_EQ(dialog->GetStation(), 9);
    EXPECT_FALSE(dialog->IsShown());
    dialog->Destroy();
    Frame().Session().m_Stations.clear();
}

// Every drive command's station chooser, shown modal on its own road, is
// the active window with the keyboard: Escape reaches it and cancels, and
// the focus comes back where the command came from.
TEST_F(MainWindowKeysTest, EachDriveCommandsStationChooserTakesTheKeyboard)
{
    if (!WindowManagerRunning())
        GTEST_SKIP() << "activation is a window manager's (registered to run under openbox)";
    StartWithProject();
    Frame().Session().m_Stations = {3, 9};
    m_answer = [](wxDialog*) { return int(wxID_NONE); }; // shown for real
    const struct {
        const char* road;
        int command;
        bool inEditor;
    } roads[] = {{"Read", ID_READ, false}, {"Write", ID_WRITE, false}, {"the editor's row button", ID_GROUP_00, true}};
    for (const auto& road : roads) {
        SCOPED_TRACE(road.road);
        Frame().Session().m_bConnected = road.inEditor; // the row button asks only while connected
        ListCtrl()->SetFocus();
        ASSERT_TRUE(PumpUntil([&] { return FocusIn(List()); }, 3000));
        bool wasActive = false;
        bool closedByTest = false;
        CParamGroupDlg* editor = nullptr;
        wxWindow* rowButton = nullptr;
        int ticks = 0;
        wxTimer poll;
        poll.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
            ++ticks;
            if (road.inEditor && !rowButton) {
                if (!(editor = FindTopLevel<CParamGroupDlg>()) || !editor->IsActive())
                    return;
                rowButton = editor->PagePanel(editor->Editor()->m_nShownTab)->RowButton(1);
                rowButton->SetFocus();
                wxUIActionSimulator().Char(WXK_SPACE);
                return;
            }
            auto* chooser = FindTopLevel<CStationChoiceDlg>();
            if (chooser && chooser->IsActive() && !wasActive) {
                wasActive = true;
                wxUIActionSimulator().Char(WXK_ESCAPE);
                return;
            }
            if (wasActive && !chooser) {
                poll.Stop();
                if (editor)
                    editor->Close();
                return;
            }
            if (ticks > 50) { // neither active nor closed in time: closed here
                closedByTest = true;
                poll.Stop();
                if (chooser)
                    chooser->EndModal(wxID_CANCEL);
                if (editor)
                    editor->Close();
            }
        });
        poll.Start(100);
        Command(road.command);
        poll.Stop();
        EXPECT_TRUE(wasActive) << "the chooser became the active window";
        EXPECT_FALSE(closedByTest) << "Escape reached it";
        EXPECT_TRUE(PumpUntil([&] { return Frame().IsEnabled() && FocusIn(List()); }, 3000));
    }
    Frame().Session().m_bConnected = 0;
    Frame().Session().m_Stations.clear();
}

// A project named on the command line and its editor opened at once, before
// the desktop has placed the main window: the editor comes up in front of
// it and active, and stays so.
TEST_F(MainWindowKeysTest, AnEditorOpenedAsTheProgramStartsComesUpInFrontAndActive)
{
    if (!WindowManagerRunning())
        GTEST_SKIP() << "activation is a window manager's (registered to run under openbox)";
    ASSERT_TRUE(Start());
    const std::string path = SaveProject("started.zrv", "7.50");
    Stop();
    ASSERT_TRUE(Start({"d390", path}));
    m_answer = [](wxDialog*) { return int(wxID_NONE); }; // shown for real
    int activeTicks = 0;
    bool frameActive = false;
    int ticks = 0;
    wxTimer poll;
    poll.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
        auto* editor = FindTopLevel<CParamGroupDlg>();
        if (!editor)
            return;
        activeTicks = editor->IsActive() ? activeTicks + 1 : 0;
        frameActive = frameActive || (activeTicks > 0 && Frame().IsActive());
        // A second in front, or three without it.
        if (activeTicks >= 10 || ++ticks > 30) {
            poll.Stop();
            editor->Close();
        }
    });
    poll.Start(100);
    Command(ID_GROUP_00);
    poll.Stop();
    EXPECT_GE(activeTicks, 10) << "the editor was the active window for a second on end";
    EXPECT_FALSE(frameActive);
}

TEST_F(MainWindowKeysTest, EditKeysReachTheFocusedTextField)
{
    ASSERT_TRUE(Start());
    auto* dialog = new wxDialog(&Frame(), wxID_ANY, "fields");
    auto* field = new wxTextCtrl(dialog, wxID_ANY, "", wxPoint(10, 10), wxSize(200, -1));
    auto* other = new wxTextCtrl(dialog, wxID_ANY, "", wxPoint(10, 50), wxSize(200, -1));
    dialog->Show();
    field->SetFocus();
    Pump(300);
    ASSERT_TRUE(FocusIn(field));
    wxUIActionSimulator sim;
    sim.Text("12.5");
    Pump(200);
    ASSERT_EQ(field->GetValue(), "12.5");

    // Ctrl+Insert copies, Shift+Delete cuts, Shift+Insert pastes.
    field->SelectAll();
    Key(WXK_INSERT, wxMOD_CONTROL);
    other->SetFocus();
    Pump(200);
    Key(WXK_INSERT, wxMOD_SHIFT);
    EXPECT_EQ(other->GetValue(), "12.5") << "copied and pasted";
    field->SetFocus();
    Pump(200);
    field->SetSelection(0, 2);
    Key(WXK_DELETE, wxMOD_SHIFT);
    EXPECT_EQ(field->GetValue(), ".5") << "cut";

    // Alt+Backspace undoes the changes since the field took the focus, and
    // again redoes them; Ctrl+Z is the same.
    field->SetInsertionPointEnd();
    sim.Text("7");
    Pump(200);
    ASSERT_EQ(field->GetValue(), ".57");
    Key(WXK_BACK, wxMOD_ALT);
    EXPECT_EQ(field->GetValue(), "12.5");
    Key(WXK_BACK, wxMOD_ALT);
    EXPECT_EQ(field->GetValue(), ".57");
    Key('Z', wxMOD_CONTROL);
    EXPECT_EQ(field->GetValue(), "12.5");
    // Typing after an undo is undone on its own.
    sim.Text("0");
    Pump(200);
    ASSERT_EQ(field->GetValue(), "12.50");
    Key('Z', wxMOD_CONTROL);
    EXPECT_EQ(field->GetValue(), "12.5");
    dialog->Destroy();
    Pump(100);
}

} // namespace
