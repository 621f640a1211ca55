// What a keyboard-only user meets on a desktop, and what a screen reader
// says at each step: Tab and Escape stay in the window that has the focus
// (Print Preview, the recorder on both of its roads, the control window),
// the focus lands where the user is (the editor opened on a row, Compare
// Select, the Small Keyboard, the project tree) and comes back when a window
// closes. Keys go through the X server to a window manager that activates
// windows as desktops do; the focus is read over AT-SPI. Runs under openbox
// on a private session bus, and skips itself on a bare display, where focus
// arrives where no desktop would give it.

#include "editor/GroupPageModel.h"
#include "editor/GroupPagePanel.h"
#include "editor/SmallKeyboardDlg.h"
#include "monitor/GraphCtrl.h"
#include "monitor/GraphDlg.h"
#include "monitor/MonitorControlDlg.h"
#include "platform/Accessible.h"
#include "platform/MessageBox.h"
#include "platform/WxMessageBox.h"
#include "res/CommandIds.h"
#include "tests/common/PumpUntil.h"
#include "tests/platformgui/atspi/AtspiReading.h"
#include "tests/shellgui/MainWindowFixture.h"
#include "view/CompareCommand.h"
#include "view/CompareDlg.h"
#include "view/CompareModeDlg.h"
#include "view/ParamListModel.h"
#include "view/PrintTitleDlg.h"
#include "view/ReadStationDlg.h"

#include <wx/button.h>
#include <wx/prntbase.h>
#include <wx/textctrl.h>
#include <wx/timer.h>

#include <filesystem>
#include <gtk/gtk.h>
#include <set>

namespace {

// The program's accessibility socket needs a runtime folder that outlives
// each test's temporary home.
struct DesktopRuntimeFolder {
    DesktopRuntimeFolder()
    {
        if (std::getenv("XDG_RUNTIME_DIR"))
            return;
        char pattern[] = "/tmp/d390-desktop-XXXXXX";
        if (mkdtemp(pattern)) {
            m_path = pattern;
            setenv("XDG_RUNTIME_DIR", pattern, 1);
        }
    }
    ~DesktopRuntimeFolder()
    {
        if (!m_path.empty())
            std::filesystem::remove_all(m_path);
    }
    std::string m_path;
} g_desktopRuntimeFolder;

// What a screen reader says of the focused object.
struct Spoken {
    std::string role, name, description, window;
};

class KeyboardOnDesktop : public MainWindowFixture {
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        if (!WindowManagerRunning())
            GTEST_SKIP() << "needs a window manager (registered to run under openbox)";
        if (!std::getenv("DBUS_SESSION_BUS_ADDRESS"))
            GTEST_SKIP() << "no session bus: run under dbus-run-session";
        // Dialogs shown for real, answered by keys.
        m_answer = [](wxDialog*) { return int(wxID_NONE); };
    }

    // The "focus" lines of a reader, whose description and window stand in
    // the fields given.
    std::vector<Spoken> SpokenOf(const ReaderOutput& output, std::size_t description, std::size_t window)
    {
        if (output.NoBus())
            m_noBus = true;
        EXPECT_TRUE(output.exitCode == 0 || output.NoBus()) << output.errors;
        std::vector<Spoken> objects;
        for (const std::vector<std::string>& parts : output.lines)
            if (parts[0] == "focus")
                objects.push_back({parts[1], parts[2], parts[description], parts[window]});
        return objects;
    }

    // Every focused object as a screen reader has it; empty when nothing is.
    std::vector<Spoken> ReadSpoken()
    {
        // read_focus.py: role, name, columns, window, description.
        return SpokenOf(RunReader("read_focus.py", "", 6, wxEXEC_SYNC | wxEXEC_NODISABLE), 5, 4);
    }

    // Every object that took the focus while meanwhile ran, as a reader is
    // told of it (by the event, also for an object that no walk down from
    // its window reaches), listening for seconds; meanwhile runs once the
    // reader listens.
    std::vector<Spoken> HeardFocus(double seconds, const std::function<void()>& meanwhile)
    {
        wxTimer timer;
        timer.Bind(wxEVT_TIMER, [&](wxTimerEvent&) { meanwhile(); });
        timer.StartOnce(1500);
        const ReaderOutput output =
            RunReader("listen_focus.py", std::to_string(seconds), 5, wxEXEC_SYNC | wxEXEC_NODISABLE);
        timer.Stop();
        // listen_focus.py: role, name, description, window.
        return SpokenOf(output, 3, 4);
    }

    // The one focused object in words: role 'name' (description) in 'window';
    // "tree" and "list" for the main window's two panes.
    std::string SpokenFocus()
    {
        const std::vector<Spoken> objects = ReadSpoken();
        if (m_noBus)
            return "<no accessibility bus>";
        std::string said;
        for (const Spoken& object : objects) {
            if (!said.empty())
                said += " + ";
            if (object.name == "Project" && object.window.rfind("D390", 0) == 0)
                said += "tree";
            else if (object.name == "Parameter" && object.window.rfind("D390", 0) == 0)
                said += "list";
            else
                said += object.role + " '" + object.name + "'"
                        + (object.description.empty() ? "" : " (" + object.description + ")") + " in '"
                        + object.window + "'";
        }
        return said.empty() ? "nothing" : said;
    }

    // What is said once it holds (the bridge tells a new window's focus a
    // little after the toolkit has it), else what is said then.
    std::string SpokenFocusOnce(const std::function<bool(const std::string&)>& holds)
    {
        std::string said;
        for (int attempt = 0; attempt < 10; ++attempt) {
            said = SpokenFocus();
            if (holds(said))
                break;
            Pump(200);
        }
        return said;
    }

    // Runs steps once open() has started what it opens: open() may run a
    // nested loop until that window closes, which steps then does.
    void WhileOpen(const std::function<void()>& open, const std::function<void()>& steps)
    {
        bool ran = false;
        wxTimer timer;
        timer.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
            ran = true;
            steps();
            // A step that failed left its window open: it goes, so that the
            // loop that waits for it ends.
            if (HasFatalFailure())
                for (wxWindow* window : wxTopLevelWindows)
                    if (window != &Frame() && window->IsShown() && !window->IsBeingDeleted())
                        window->Close(true);
        });
        timer.StartOnce(300);
        open();
        PumpUntil([&] { return ran; }, 10000);
        EXPECT_TRUE(ran);
    }

    template <class Window>
    static Window* Find()
    {
        for (wxWindow* window : wxTopLevelWindows)
            if (auto* found = dynamic_cast<Window*>(window); found && found->IsShown() && !found->IsBeingDeleted())
                return found;
        return nullptr;
    }

    // The list has the focus, as a keyboard user leaves it.
    void FocusOnList()
    {
        List()->SetFocus();
        ASSERT_TRUE(PumpUntil([&] { return Frame().IsActive() && FocusIn(List()); }, 3000));
        Pump(200);
    }

    CXListCtrl* ListCtrl() { return View() ? View()->GetList() : nullptr; }

    // The list row of a parameter ("00-14"), -1 when not listed.
    int RowOf(const std::string& parameter)
    {
        for (int row = 0; row < ListCtrl()->GetItemCount(); ++row)
            if (View()->GetListModel()->GetItemText(row, CParamListModel::kColumnName).utf8_string().find(parameter) != std::string::npos)
                return row;
        return -1;
    }

    bool m_noBus = false;
};

} // namespace

TEST_F(KeyboardOnDesktop, PrintPreviewKeepsTabAndEscapeAndGivesTheListBack)
{
    StartWithProject();
    FocusOnList();
    Key('F', wxMOD_ALT);
    Key('V');
    wxPreviewFrame* preview = nullptr;
    ASSERT_TRUE(PumpUntil([&] { return (preview = Find<wxPreviewFrame>()) && FocusIn(preview); }, 5000));
    const std::string opened = SpokenFocus();
    EXPECT_NE(opened.find("in 'Print Preview'"), std::string::npos) << opened;

    // Tab and Shift+Tab go round the preview's own controls: never to the
    // main window, which stays disabled and inactive.
    std::set<wxWindow*> reached;
    const struct {
        int modifiers;
        int presses;
    } roads[] = {{wxMOD_NONE, 12}, {wxMOD_SHIFT, 12}};
    for (const auto& road : roads)
        for (int press = 1; press <= road.presses; ++press) {
            Key(WXK_TAB, road.modifiers);
            SCOPED_TRACE((road.modifiers ? "Shift+Tab " : "Tab ") + std::to_string(press));
            // wx does not see GTK's focus inside the zoom list: there the
            // preview is active with no focus wx knows of.
            ASSERT_TRUE(PumpUntil([&] { return preview->IsActive() && (FocusIn(preview) || !wxWindow::FindFocus()); },
                                  1000))
                << "the focus left the preview";
            EXPECT_FALSE(Frame().IsEnabled());
            EXPECT_FALSE(Frame().IsActive());
            reached.insert(wxWindow::FindFocus());
        }
    EXPECT_GE(reached.size(), 4u) << "Tab goes on through the preview's controls";
    const std::string tabbed = SpokenFocus();
    EXPECT_NE(tabbed.find("in 'Print Preview'"), std::string::npos) << tabbed;
    std::cout << "Print Preview: opened: " << opened << "; after the Tabs: " << tabbed << "\n";

    Key(WXK_ESCAPE);
    EXPECT_TRUE(PumpUntil([&] { return Find<wxPreviewFrame>() == nullptr; }, 3000)) << "Esc closes the preview";
    EXPECT_TRUE(PumpUntil([&] { return Frame().IsEnabled() && FocusIn(List()); }, 3000));
    EXPECT_EQ(SpokenFocus(), "list") << "after the preview";
}

TEST_F(KeyboardOnDesktop, TabInTheRecorderStaysThereOnBothRoads)
{
    StartWithProject();
    const struct {
        const char* road;
        bool fromControlWindow;
    } roads[] = {{"Monitor > Graph Watch", false}, {"Monitor > Control, Graph", true}};
    for (const auto& road : roads) {
        SCOPED_TRACE(road.road);
        FocusOnList();
        WhileOpen([&] { Command(road.fromControlWindow ? ID_MONITOR_CONTROL : ID_GRAPH_WATCH); }, [&] {
            CMonitorControlDlg* control = nullptr;
            if (road.fromControlWindow) {
                ASSERT_TRUE(PumpUntil([&] { return (control = Find<CMonitorControlDlg>()) != nullptr; }, 3000));
                Click(control, CMonitorControlDlg::IDC_GRAPH);
            }
            CGraphDlg* graph = nullptr;
            ASSERT_TRUE(PumpUntil([&] { return (graph = Find<CGraphDlg>()) && graph->IsActive(); }, 5000));
            graph->Chart()->SetFocus();
            ASSERT_TRUE(PumpUntil([&] { return FocusIn(graph->Chart()); }, 2000));
            bool bandReached = false;
            for (int press = 1; press <= 6; ++press) {
                Key(WXK_TAB);
                ASSERT_TRUE(PumpUntil([&] { return FocusIn(graph); }, 1000)) << "Tab " << press << " left the recorder";
                EXPECT_FALSE(Frame().IsActive()) << "Tab " << press;
                if (FocusIn(graph->Band())) {
                    bandReached = true;
                    const std::string said = SpokenFocus();
                    EXPECT_NE(said.find("'Maximum and minimum'"), std::string::npos) << said;
                    EXPECT_NE(said.find("in 'Graph'"), std::string::npos) << said;
                    std::cout << road.road << ": the band: " << said << "\n";
                }
            }
            EXPECT_TRUE(bandReached) << "Tab reaches the band";
            Key(WXK_TAB, wxMOD_SHIFT);
            EXPECT_TRUE(FocusIn(graph)) << "Shift+Tab";
            graph->Close();
            if (control) {
                PumpUntil([&] { return Find<CGraphDlg>() == nullptr && control->IsActive(); }, 3000);
                EXPECT_TRUE(control->IsShown()) << "closing the recorder leaves the control window";
                control->Close();
            }
        });
        EXPECT_TRUE(PumpUntil([&] { return Frame().IsEnabled() && FocusIn(List()); }, 3000));
        EXPECT_EQ(SpokenFocus(), "list") << "after the recorder closed";
    }
}

TEST_F(KeyboardOnDesktop, EscapeClosesOnlyWhatHasTheFocus)
{
    StartWithProject();
    FocusOnList();
    WhileOpen([&] { Command(ID_MONITOR_CONTROL); }, [&] {
        CMonitorControlDlg* control = nullptr;
        ASSERT_TRUE(PumpUntil([&] { return (control = Find<CMonitorControlDlg>()) != nullptr; }, 3000));
        Click(control, CMonitorControlDlg::IDC_GRAPH);
        CGraphDlg* graph = nullptr;
        ASSERT_TRUE(PumpUntil([&] { return (graph = Find<CGraphDlg>()) && graph->IsActive(); }, 5000));
        graph->Chart()->SetFocus();
        ASSERT_TRUE(PumpUntil([&] { return FocusIn(graph->Chart()); }, 2000));

        // The chart's cursor goes; the windows stay, also for an Escape with
        // no cursor left and for the one that closes the menu bar's menu.
        auto hasCursor = [&] { return graph->Chart()->m_View.cursor.x >= 0; };
        Key(WXK_RIGHT);
        EXPECT_TRUE(hasCursor()) << "the arrow key set the cursor";
        const struct {
            const char* what;
            int before;
        } escapes[] = {{"removes the cursor", 0}, {"without a cursor", 0}, {"closing the menu", WXK_F10}};
        for (const auto& escape : escapes) {
            SCOPED_TRACE(escape.what);
            if (escape.before)
                Key(escape.before);
            Key(WXK_ESCAPE);
            Pump(300);
            ASSERT_EQ(Find<CGraphDlg>(), graph) << "the recorder stays open";
            EXPECT_TRUE(control->IsShown()) << "the control window stays open";
            EXPECT_FALSE(hasCursor());
        }
        PumpUntil([&] { return FocusIn(graph); }, 2000);
        const std::string said = SpokenFocus();
        EXPECT_NE(said.find("in 'Graph'"), std::string::npos) << said;
        std::cout << "Recorder after the Escapes: " << said << "\n";

        // Escape in the control window closes it, and the recorder with it.
        control->Raise();
        ASSERT_TRUE(PumpUntil([&] { return control->IsActive(); }, 3000));
        Key(WXK_ESCAPE);
        PumpUntil([&] { return !control->IsShown(); }, 3000);
    });
    EXPECT_EQ(Find<CMonitorControlDlg>(), nullptr);
    EXPECT_EQ(Find<CGraphDlg>(), nullptr);
    EXPECT_TRUE(PumpUntil([&] { return Frame().IsEnabled() && FocusIn(List()); }, 3000));
    EXPECT_EQ(SpokenFocus(), "list");
}

TEST_F(KeyboardOnDesktop, EnterOnARowOpensTheEditorInThatRowsInput)
{
    StartWithProject();
    FocusOnList();
    const struct {
        const char* parameter;
        bool text; // an edit; else a drop list, whose focus GTK tells readers on its inner button only, named as the row
    } rows[] = {{"00-14", true}, {"00-11", true}, {"00-02", false}};
    for (const auto& choice : rows) {
        SCOPED_TRACE(choice.parameter);
        const int row = RowOf(choice.parameter);
        ASSERT_GE(row, 0);
        ListCtrl()->SelectItem(row);
        FocusOnList();
        WhileOpen([&] { Key(WXK_RETURN); }, [&] {
            CParamGroupDlg* editor = nullptr;
            ASSERT_TRUE(PumpUntil([&] { return (editor = Find<CParamGroupDlg>()) && editor->IsActive(); }, 5000));
            const int page = editor->Editor()->m_nShownTab;
            const int marked = editor->Editor()->m_Pages[static_cast<std::size_t>(page)]->m_nMarked;
            ASSERT_GE(marked, 0) << "the chosen row is marked";
            wxWindow* input = editor->PagePanel(page)->Control(marked);
            EXPECT_TRUE(PumpUntil([&] { return FocusIn(input); }, 2000)) << "the row's input has the focus";
            EXPECT_EQ(dynamic_cast<wxTextCtrl*>(input) != nullptr, choice.text);
            if (choice.text) {
                const std::string said = SpokenFocusOnce([](const std::string& said) { return said != "nothing"; });
                EXPECT_EQ(said.rfind("text '" + GetAccessibleName(input).utf8_string() + "'", 0), 0u) << said;
                std::cout << "Editor opened by Enter on " << choice.parameter << ": " << said << "\n";
            } else {
                // The focus goes to the next control and back, as the user
                // tabs: what the reader is told of each object that takes it.
                const std::vector<Spoken> heard = HeardFocus(3.5, [] {
                    wxUIActionSimulator().Char(WXK_TAB);
                    wxUIActionSimulator().Char(WXK_TAB, wxMOD_SHIFT);
                });
                if (!m_noBus) {
                    ASSERT_FALSE(heard.empty()) << "no focus told";
                    const Spoken& back = heard.back();
                    const std::string said = back.role + " '" + back.name + "' (" + back.description + ") in '" + back.window + "'";
                    EXPECT_EQ(back.name, GetAccessibleName(input).utf8_string()) << said;
                    EXPECT_EQ(back.name.rfind(choice.parameter, 0), 0u) << said;
                    EXPECT_NE(back.description.find("chosen in the parameter list"), std::string::npos) << said;
                    EXPECT_EQ(back.window, "D390 Parameter") << said;
                    std::cout << "Editor opened by Enter on " << choice.parameter << ", its drop list: " << said << "\n";
                }
                // wx does not see GTK's focus inside a drop list.
                EXPECT_TRUE(editor->IsActive()) << "the focus stays in the editor";
            }
            Click(editor, wxID_CANCEL);
        });
        EXPECT_TRUE(PumpUntil([&] { return Frame().IsEnabled() && FocusIn(List()); }, 3000));
        EXPECT_EQ(SpokenFocus(), "list") << "after the editor closed";
    }
}

TEST_F(KeyboardOnDesktop, TheFocusComesBackWhenEachWindowCloses)
{
    StartWithProject();
    MessageHandler recorder = SetMessageHandler(nullptr);
    InstallWxMessageHandler();
    const struct {
        const char* window;
        std::function<void()> open;
        std::function<bool()> shown;
        int closeKey;
    } windows[] = {
        {"Print Title", [&] { Command(ID_PRINT_TITLE); }, [&] { return Find<CPrintTitleDlg>() != nullptr; }, WXK_ESCAPE},
        {"a message box", [&] { AfxMessageBox("Write successful!", MB_OK); },
         [&] { return !Frame().IsEnabled() || !Frame().IsActive(); }, WXK_RETURN},
    };
    for (const auto& window : windows) {
        SCOPED_TRACE(window.window);
        FocusOnList();
        std::string said;
        WhileOpen(window.open, [&] {
            ASSERT_TRUE(PumpUntil(window.shown, 5000));
            Pump(500);
            said = SpokenFocus();
            std::cout << window.window << ": " << said << "\n";
            Key(window.closeKey);
        });
        EXPECT_NE(said, "list") << "the window had the focus";
        EXPECT_TRUE(PumpUntil([&] { return Frame().IsEnabled() && Frame().IsActive() && FocusIn(List()); }, 3000));
        EXPECT_EQ(SpokenFocus(), "list") << "after " << window.window;
        // The next Down moves in the list, not on the tab strip.
        const int before = ListCtrl()->GetCurSel();
        Key(WXK_DOWN);
        EXPECT_TRUE(FocusIn(List()));
        EXPECT_EQ(ListCtrl()->GetCurSel(), before + 1);
    }
    SetMessageHandler(recorder);

    // Compare's window is modeless: Compare Select, Enter, then the window,
    // closed with Escape.
    FocusOnList();
    WhileOpen([&] { Command(ID_COMPARE); }, [&] {
        CCompareModeDlg* modes = nullptr;
        ASSERT_TRUE(PumpUntil([&] { return (modes = Find<CCompareModeDlg>()) && modes->IsActive(); }, 3000));
        Pump(300);
        std::cout << "Compare Select: " << SpokenFocus() << "\n";
        Key(WXK_RETURN);
    });
    CCompareDlg* compare = nullptr;
    ASSERT_TRUE(PumpUntil([&] { return (compare = Find<CCompareDlg>()) && compare->IsActive(); }, 5000));
    Pump(300);
    const std::string comparing = SpokenFocusOnce([](const std::string& said) { return said.find("Compare") != std::string::npos; });
    std::cout << "Compare: " << comparing << "\n";
    // The list is told by what it compares (Enter ran the mode Compare
    // Select started on: no drive is connected).
    EXPECT_EQ(comparing.rfind("table 'Default with Set Value' in 'Compare'", 0), 0u) << comparing;
    Key(WXK_ESCAPE);
    EXPECT_TRUE(PumpUntil([&] { return !compare->IsShown(); }, 3000));
    EXPECT_TRUE(PumpUntil([&] { return Frame().IsActive() && FocusIn(List()); }, 3000));
    EXPECT_EQ(SpokenFocus(), "list") << "after Compare";
    const int before = ListCtrl()->GetCurSel();
    Key(WXK_DOWN);
    EXPECT_TRUE(FocusIn(List()));
    EXPECT_EQ(ListCtrl()->GetCurSel(), before + 1) << "the next Down moves in the list";
}

TEST_F(KeyboardOnDesktop, CompareSelectStartsOnTheModeThatEnterRuns)
{
    StartWithProject();
    FocusOnList();
    // The read modes need a drive: as connected, Enter would run the third.
    Frame().Session().m_bConnected = 1;
    WhileOpen([&] { Command(ID_COMPARE); }, [&] {
        CCompareModeDlg* modes = nullptr;
        ASSERT_TRUE(PumpUntil([&] { return (modes = Find<CCompareModeDlg>()) && modes->IsActive(); }, 3000));
        Pump(300);
        const std::string said = SpokenFocus();
        EXPECT_EQ(said.rfind("radio button 'Set value with read value'", 0), 0u) << said;
        std::cout << "Compare Select while connected: " << said << "\n";
        Key(WXK_ESCAPE);
    });
    Frame().Session().m_bConnected = 0;
    EXPECT_TRUE(PumpUntil([&] { return FocusIn(List()); }, 3000));
}

TEST_F(KeyboardOnDesktop, TheSmallKeyboardsKeysTakeTheFocusAndNameTheirField)
{
    StartWithProject();
    ListCtrl()->SelectItem(RowOf("00-14"));
    FocusOnList();
    WhileOpen([&] { Key(WXK_RETURN); }, [&] {
        CParamGroupDlg* editor = nullptr;
        ASSERT_TRUE(PumpUntil([&] { return (editor = Find<CParamGroupDlg>()) && editor->IsActive()
                                           && dynamic_cast<wxTextCtrl*>(wxWindow::FindFocus()); }, 5000));
        auto* field = dynamic_cast<wxTextCtrl*>(wxWindow::FindFocus());
        ASSERT_NE(field, nullptr) << "the row's input has the focus";
        const wxString fieldName = GetAccessibleName(field);
        const wxString before = field->GetValue();
        Click(editor, CParamGroupDlg::IDC_KEYBOARD);
        CSmallKeyboardDlg* keyboard = nullptr;
        ASSERT_TRUE(PumpUntil([&] { return (keyboard = editor->Keyboard()) && keyboard->IsActive(); }, 3000));
        ASSERT_TRUE(PumpUntil([&] { return FocusIn(keyboard->FindWindow(CSmallKeyboardDlg::IDC_KEY_FIRST)); }, 2000))
            << "the first key has the focus";
        std::string said = SpokenFocus();
        EXPECT_EQ(said.rfind("push button '7' (" + fieldName.utf8_string() + ")", 0), 0u) << said;
        std::cout << "Small Keyboard opened: " << said << "\n";

        // Tab to the next key, Space presses it: typed into the field, the
        // field stays the target and the key keeps the focus.
        field->SetSelection(-1, -1);
        Key(WXK_TAB);
        EXPECT_TRUE(FocusIn(keyboard->FindWindow(CSmallKeyboardDlg::IDC_KEY_FIRST + 1)));
        Key(WXK_SPACE);
        EXPECT_EQ(field->GetValue(), "8") << "was " << before;
        EXPECT_EQ(keyboard->m_pEdit, field);
        EXPECT_TRUE(FocusIn(keyboard));
        said = SpokenFocus();
        std::cout << "Small Keyboard after Tab and Space: " << said << "\n";
        EXPECT_EQ(said.rfind("push button '8' (" + fieldName.utf8_string() + ")", 0), 0u) << said;

        // Esc closes it: back in the field.
        Key(WXK_ESCAPE);
        EXPECT_EQ(editor->Keyboard(), nullptr);
        EXPECT_TRUE(PumpUntil([&] { return FocusIn(field); }, 3000));
        said = SpokenFocus();
        std::cout << "after the Small Keyboard: " << said << "\n";
        Click(editor, wxID_CANCEL);
    });
}

TEST_F(KeyboardOnDesktop, ArrowKeysInTheProjectTreeKeepTheFocusThere)
{
    StartWithProject();
    Tree()->SetFocus();
    ASSERT_TRUE(PumpUntil([&] { return Frame().IsActive() && FocusIn(Tree()); }, 3000));
    std::vector<wxWindow*> seen;
    wxWindow* list = List();
    auto watch = [&](wxFocusEvent& event) {
        seen.push_back(list);
        event.Skip();
    };
    list->Bind(wxEVT_SET_FOCUS, watch);
    int groups = 0;
    for (int press = 1; press <= 4; ++press) {
        const int shown = View()->GetListGroup();
        Key(WXK_DOWN);
        Pump(100);
        EXPECT_TRUE(FocusIn(Tree())) << "Down " << press;
        groups += View()->GetListGroup() != shown;
    }
    list->Unbind(wxEVT_SET_FOCUS, watch);
    EXPECT_GE(groups, 3) << "the list follows the tree's choice";
    EXPECT_TRUE(seen.empty()) << "the list never took the focus, not even for a moment";
    EXPECT_EQ(SpokenFocus(), "tree");
}

TEST_F(KeyboardOnDesktop, AfterAChooserOrAStackedBoxTheFocusIsBackOnTheButtonPressed)
{
    StartWithProject();
    MessageHandler recorder = SetMessageHandler(nullptr);
    InstallWxMessageHandler();
    Frame().Session().m_Stations = {1, 2};
    const struct {
        const char* road;
        bool chooser;     // a station chooser before the box
        bool stackedBox;  // a second box comes while the first is up
    } roads[] = {{"station chooser, then a box", true, false}, {"a box over a box", false, true}};
    for (const auto& road : roads) {
        SCOPED_TRACE(road.road);
        auto* window = new wxDialog(&Frame(), wxID_ANY, "Writer", wxDefaultPosition, wxSize(300, 200));
        new wxButton(window, wxID_ANY, "First", wxPoint(10, 10));
        auto* write = new wxButton(window, wxID_ANY, "Write", wxPoint(10, 60));
        bool done = false;
        wxTimer second;
        second.Bind(wxEVT_TIMER, [&](wxTimerEvent&) { AfxMessageBox("It is not connect with inverter!", MB_OK); });
        write->Bind(wxEVT_BUTTON, [&](wxCommandEvent&) {
            if (road.chooser) {
                CReadStationDlg chooser(window, Frame().Session());
                chooser.ShowModal();
            }
            if (road.stackedBox)
                second.StartOnce(500);
            AfxMessageBox("Write successful!", MB_OK);
            done = true;
        });
        window->Show();
        write->SetFocus();
        ASSERT_TRUE(PumpUntil([&] { return window->IsActive() && FocusIn(write); }, 3000));
        // Enter answers whatever comes up over the window, as a user would.
        wxTimer answer;
        answer.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
            if (!window->IsActive() && !second.IsRunning())
                wxUIActionSimulator().Char(WXK_RETURN);
        });
        answer.Start(700);
        Key(WXK_SPACE);
        EXPECT_TRUE(PumpUntil([&] { return done; }, 10000));
        answer.Stop();
        EXPECT_TRUE(PumpUntil([&] { return window->IsActive() && FocusIn(write); }, 3000))
            << "focus on " << (wxWindow::FindFocus() ? wxWindow::FindFocus()->GetLabel().utf8_string() : "nothing");
        const std::string said = SpokenFocus();
        EXPECT_EQ(said.rfind("push button 'Write' in 'Writer'", 0), 0u) << said;
        std::cout << road.road << ": " << said << "\n";
        window->Destroy();
        Pump(200);
    }
    Frame().Session().m_Stations.clear();
    SetMessageHandler(recorder);
}
