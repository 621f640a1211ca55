// The main frame's custom controls in place: the project tree read over the
// accessibility bus and driven by mouse and keyboard, the docking pane, the
// tab page, and project lists that each keep their own document and group.

#include "controls/CJTreeCtrl.h"
#include "controls/CoolBar.h"
#include "controls/CoolBarManager.h"
#include "controls/CoolTabCtrl.h"
#include "controls/XListCtrl.h"
#include "document/D390DocData.h"
#include "document/ModelSelectDlg.h"
#include "editor/ParamGroupDlg.h"
#include "platform/ResourceModule.h"
#include "res/CommandIds.h"
#include "tests/common/GuiTestSupport.h"
#include "tests/shellgui/MainWindowFixture.h"
#include "view/D390View.h"
#include "view/ParamListModel.h"

#include <wx/choice.h>
#include <wx/notebook.h>
#include <wx/process.h>
#include <wx/stream.h>
#include <wx/txtstrm.h>
#include <wx/uiaction.h>
#include <wx/utils.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <sstream>
#include <unistd.h>

namespace {


void PumpFor(int ms)
{
    wxLongLong end = wxGetLocalTimeMillis() + ms;
    while (wxGetLocalTimeMillis() < end) {
        wxTheApp->Yield(true);
        wxTheApp->ProcessPendingEvents();
        wxMilliSleep(5);
    }
}

wxString Res(unsigned id)
{
    return wxString::FromUTF8(LoadResString(id));
}

// Counts the refills of a list: every refill resets its model.
class RefillCounter : public wxDataViewModelNotifier {
public:
    explicit RefillCounter(int& count) : m_count(count) {}
    bool ItemAdded(const wxDataViewItem&, const wxDataViewItem&) override { return true; }
    bool ItemDeleted(const wxDataViewItem&, const wxDataViewItem&) override { return true; }
    bool ItemChanged(const wxDataViewItem&) override { return true; }
    bool ValueChanged(const wxDataViewItem&, unsigned) override { return true; }
    bool Cleared() override
    {
        ++m_count;
        return true;
    }
    void Resort() override {}

private:
    int& m_count;
};

class ProjectControlsTest : public MainWindowFixture {
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        m_answer = [this](wxDialog* dialog) {
            if (auto* editor = dynamic_cast<CParamGroupDlg*>(dialog)) {
                m_editorOpened.push_back({editor->m_nGroup, editor->m_nItem});
                return int(wxID_CANCEL);
            }
            ADD_FAILURE() << "unexpected modal dialog: " << dialog->GetTitle().utf8_string();
            return int(wxID_CANCEL);
        };
    }

    CJTreeItem* FindTreeItem(const wxString& text)
    {
        CCJTreeCtrl* tree = Frame().m_wndTree;
        for (CJTreeItem* item = tree->GetRootItem(); item; item = tree->GetNextItem(item))
            if (tree->GetItemText(item) == text)
                return item;
        return nullptr;
    }

    void ChooseTreeItem(const wxString& text)
    {
        Frame().m_wndTree->SelectItem(FindTreeItem(text));
        Frame().OnTreeSelect();
    }

    std::vector<std::pair<int, int>> m_editorOpened;
    // Outlives the lists whose refills it counts.
    int m_refills = 0;
};

// Runs the program's tree under a session bus of its own and reads it over
// the accessibility bus; the read happens in DISABLED_ReadInsideSessionBus,
// which this test starts as a process of its own under dbus-run-session.
TEST(ProjectTreeAccessibility, TheTreeReadsOverTheAccessibilityBus)
{
    if (std::system("command -v dbus-run-session >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "no session bus: dbus-run-session is not installed (package dbus)";
    char self[4096] = {};
    ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
    ASSERT_GT(length, 0);
    std::string command = "env -u NO_AT_BRIDGE -u GTK_A11Y dbus-run-session -- '" + std::string(self) +
                          "' --gtest_also_run_disabled_tests"
                          " --gtest_filter=ProjectControlsTest.DISABLED_ReadTreeInsideSessionBus 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string output;
    char buffer[4096];
    while (std::size_t got = fread(buffer, 1, sizeof buffer, pipe))
        output.append(buffer, got);
    int status = pclose(pipe);
    if (output.find("NO-ACCESSIBILITY-BUS") != std::string::npos)
        GTEST_SKIP() << "the session bus or the accessibility bus could not start:\n" << output;
    EXPECT_EQ(status, 0) << output;
    EXPECT_NE(output.find("[  PASSED  ] 1 test"), std::string::npos) << output;
}

TEST_F(ProjectControlsTest, DISABLED_ReadTreeInsideSessionBus)
{
    StartWithProject();
    CCJTreeCtrl* tree = Frame().m_wndTree;
    std::vector<std::string> expected;
    for (CJTreeItem* item = tree->GetRootItem(); item; item = tree->GetNextItem(item))
        expected.push_back(item->text);
    ASSERT_EQ(expected.size(), 16u) << "project, parameter, groups 00 to 13";

    wxString script = wxString::FromUTF8(TestSourceFolder() + "shellgui/read_trees_atspi.py");
    wxProcess process;
    process.Redirect();
    bool ended = false;
    int exitCode = -1;
    process.Bind(wxEVT_END_PROCESS, [&](wxProcessEvent& event) {
        ended = true;
        exitCode = event.GetExitCode();
    });
    // Debian's own interpreter: the accessibility bindings are its package.
    long pid = wxExecute(wxString::Format("/usr/bin/python3 \"%s\" %ld", script, static_cast<long>(getpid())), wxEXEC_ASYNC,
                         &process);
    ASSERT_GT(pid, 0);
    // The script's calls are answered by this process's event loop.
    std::string output;
    wxLongLong end = wxGetLocalTimeMillis() + 60000;
    auto drain = [&] {
        for (wxInputStream* stream : {process.GetInputStream(), process.GetErrorStream()}) {
            while (stream && stream->CanRead()) {
                char buffer[1024];
                stream->Read(buffer, sizeof buffer);
                output.append(buffer, stream->LastRead());
            }
        }
    };
    while (!ended && wxGetLocalTimeMillis() < end) {
        wxTheApp->Yield(true);
        wxTheApp->ProcessPendingEvents();
        drain();
        wxMilliSleep(5);
    }
    drain();
    ASSERT_TRUE(ended) << "the reader did not finish:\n" << output;
    if (exitCode == 3 || exitCode == 4) {
        printf("NO-ACCESSIBILITY-BUS\n%s\n", output.c_str());
        GTEST_SKIP() << output;
    }
    ASSERT_EQ(exitCode, 0) << output;

    std::map<std::string, std::vector<std::string>> tables;
    std::istringstream lines(output);
    for (std::string line; std::getline(lines, line);) {
        std::size_t tab = line.find('\t');
        if (tab != std::string::npos)
            tables[line.substr(0, tab)].push_back(line.substr(tab + 1));
    }
    bool found = false;
    for (const auto& [table, cells] : tables)
        found = found || cells == expected;
    EXPECT_TRUE(found) << "no tree on the bus holds the project tree's items; the bus shows:\n" << output;
}

TEST_F(ProjectControlsTest, KeyboardAndClickChoicesRefillTheListOnce)
{
    StartWithProject();
    CCJTreeCtrl* tree = Frame().m_wndTree;
    int& refills = m_refills;
    View()->GetListModel()->AddNotifier(new RefillCounter(m_refills));

    // The keyboard: group 02 selected, then the down arrow.
    tree->SelectItem(FindTreeItem(Res(61626)));
    tree->SetFocus();
    PumpFor(300);
    wxUIActionSimulator sim;
    sim.Char(WXK_DOWN);
    PumpFor(500);
    EXPECT_EQ(tree->GetSelectedItem(), FindTreeItem(Res(61627)));
    EXPECT_EQ(View()->GetListGroup(), 3);
    EXPECT_EQ(refills, 1) << "the list shows group 03 once";

    // A click: the selection change and the tree's select message both
    // reach the frame; the list is refilled once.
    refills = 0;
    wxRect rect = tree->GetItemRect(FindTreeItem(Res(61629))); // group 05
    // The start of the text: the narrow pane hides the rest of the row.
    sim.MouseMove(tree->ClientToScreen(wxPoint(rect.x + 8, rect.y + rect.height / 2)));
    PumpFor(100);
    sim.MouseClick();
    PumpFor(500);
    EXPECT_EQ(View()->GetListGroup(), 5);
    EXPECT_EQ(refills, 1);
}

TEST_F(ProjectControlsTest, TheDockPaneStartsLeftAt120AndStopsAt33)
{
    ASSERT_TRUE(Start());
    PumpFor(300);
    wxAuiPaneInfo& pane = Frame().m_wndDockManager.GetPane("dock");
    ASSERT_TRUE(pane.IsOk());
    EXPECT_TRUE(pane.IsDocked());
    EXPECT_EQ(pane.dock_direction, wxAUI_DOCK_LEFT);
    EXPECT_FALSE(pane.HasCloseButton()) << "only View > Project Window hides it";
    EXPECT_TRUE(pane.IsFloatable());
    EXPECT_TRUE(pane.IsLeftDockable() && pane.IsRightDockable() && pane.IsTopDockable() && pane.IsBottomDockable());
    EXPECT_EQ(Frame().m_wndTabCtrl->GetSize().x, CCoolBar::kDockedWidth);

    // Drag the pane's sash far to the left.
    wxRect bar = Frame().m_wndTabCtrl->GetScreenRect();
    wxUIActionSimulator sim;
    wxPoint sash(bar.GetRight() + 3, bar.y + bar.height / 2);
    sim.MouseMove(sash);
    PumpFor(100);
    sim.MouseDown();
    PumpFor(100);
    for (int x = sash.x - 10; x > bar.x - 30; x -= 10) {
        sim.MouseMove(wxPoint(x, sash.y));
        PumpFor(30);
    }
    sim.MouseUp();
    PumpFor(400);
    EXPECT_EQ(Frame().m_wndTabCtrl->GetSize().x, CCoolBar::kMinWidth);
    // Narrower than GTK can draw the tab strip: the strip is left out (the
    // toolkit's messages would fail the test), and comes back with room.
    auto* tabs = dynamic_cast<CCoolTabCtrl*>(Frame().m_wndTabCtrl);
    ASSERT_NE(tabs, nullptr);
    EXPECT_FALSE(tabs->IsTabStripShown());

    bar = Frame().m_wndTabCtrl->GetScreenRect();
    sash = wxPoint(bar.GetRight() + 3, bar.y + bar.height / 2);
    sim.MouseMove(sash);
    PumpFor(100);
    sim.MouseDown();
    PumpFor(100);
    for (int x = sash.x + 10; x <= bar.x + CCoolBar::kDockedWidth + 3; x += 10) {
        sim.MouseMove(wxPoint(x, sash.y));
        PumpFor(30);
    }
    sim.MouseUp();
    PumpFor(400);
    EXPECT_GE(Frame().m_wndTabCtrl->GetSize().x, CCoolBar::kDockedWidth - 10);
    EXPECT_TRUE(tabs->IsTabStripShown());
    EXPECT_TRUE(tabs->PagesKeepScrollBars());
}

// Docked along the top at its lowest stop, the bar is lower than the strip
// and the tree need: GTK reports nothing (a critical fails the test), the
// strip is left out, and back on the left at its width the strip is shown.
TEST_F(ProjectControlsTest, TheDockPaneAtItsLowestStopOnTopLeavesTheStripOut)
{
    StartWithProject();
    CCoolBarManager& manager = Frame().m_wndDockManager;
    wxAuiPaneInfo& pane = manager.GetPane("dock");
    ASSERT_TRUE(pane.IsOk());
    pane.Top().BestSize(CCoolBar::kDockedWidth, CCoolBar::kMinHeight);
    manager.Update();
    PumpFor(300);
    auto* tabs = dynamic_cast<CCoolTabCtrl*>(Frame().m_wndTabCtrl);
    ASSERT_NE(tabs, nullptr);
    EXPECT_EQ(tabs->GetSize().y, CCoolBar::kMinHeight);
    EXPECT_FALSE(tabs->IsTabStripShown());
    EXPECT_FALSE(tabs->PagesKeepScrollBars());

    manager.GetPane("dock").Left().BestSize(CCoolBar::kDockedWidth, CCoolBar::kDockedHeight);
    manager.Update();
    PumpFor(300);
    EXPECT_EQ(tabs->GetSize().x, CCoolBar::kDockedWidth);
    EXPECT_TRUE(tabs->IsTabStripShown());
    EXPECT_TRUE(tabs->PagesKeepScrollBars());
}

// A project opened while the frame has a paint pending (the model choice
// was on the screen above it): the project window's tab is placed before
// the status text's paint draws it, so GTK warns of nothing drawn at a size
// it never gave.
TEST_F(ProjectControlsTest, OpeningAProjectDrawsNothingUnallocated)
{
    ASSERT_TRUE(Start());
    PumpFor(200);
    std::vector<std::string> messages;
    SetToolkitMessageObserver([&messages](const std::string& domain, const std::string& message) {
        if (domain == "Gtk")
            messages.push_back(message);
    });
    SetModalAnswer([](wxDialog* dialog) {
        auto* models = dynamic_cast<CModelSelectDlg*>(dialog);
        if (!models) {
            ADD_FAILURE() << "unexpected modal dialog: " << dialog->GetTitle().utf8_string();
            return int(wxID_CANCEL);
        }
        models->Show();
        PumpFor(150);
        models->Hide();
        auto* combo = dynamic_cast<wxChoice*>(models->FindWindow(CModelSelectDlg::IDC_MODEL));
        EXPECT_TRUE(combo->SetStringSelection(kPlainModel));
        wxCommandEvent ok(wxEVT_BUTTON, wxID_OK);
        ok.SetEventObject(models->FindWindow(wxID_OK));
        models->FindWindow(wxID_OK)->GetEventHandler()->ProcessEvent(ok);
        return models->GetReturnCode();
    });
    Command(ID_FILE_NEW);
    ASSERT_NE(View(), nullptr);
    PumpFor(300);
    SetToolkitMessageObserver(nullptr);
    EXPECT_TRUE(messages.empty()) << ::testing::PrintToString(messages);
    // The text that made the paint is there.
    EXPECT_FALSE(Frame().GetStatusPaneText(0).empty());
}

TEST_F(ProjectControlsTest, TheTabStripHoldsTheTreeAsItsProjectPage)
{
    ASSERT_TRUE(Start());
    wxNotebook* tabs = Frame().m_wndTabCtrl;
    EXPECT_TRUE(tabs->HasFlag(wxNB_BOTTOM));
    ASSERT_EQ(tabs->GetPageCount(), 1u);
    EXPECT_EQ(tabs->GetPageText(0), Res(61450));
    EXPECT_EQ(tabs->GetPage(0), Frame().m_wndTree);
}

TEST_F(ProjectControlsTest, TwoProjectWindowsKeepTheirOwnDocumentAndGroup)
{
    StartWithProject();
    CD390View* first = View();
    wxDocument* second = m_app->m_pDocManager->CreateDocument(wxEmptyString, wxDOC_NEW);
    ASSERT_NE(second, nullptr);
    auto* other = dynamic_cast<CD390View*>(second->GetFirstView());
    ASSERT_NE(other, nullptr);
    ASSERT_NE(other, first);
    other->FillParamList();

    // The first lists group 03 with 03-00 changed; the other lists all
    // groups with 00-01 changed.
    m_app->m_pDocManager->ActivateView(first);
    ASSERT_EQ(View(), first);
    ChooseTreeItem(Res(61627));
    ASSERT_EQ(first->GetListGroup(), 3);
    ASSERT_EQ(other->GetListGroup(), -1);
    first->GetDocData()->m_Changed[3][0] = 1;
    other->GetDocData()->m_Changed[0][1] = 1;

    auto green = [](CD390View* view, int row) {
        wxDataViewItemAttr attr;
        return view->GetListModel()->GetAttrByRow(row, CParamListModel::kColumnValue, attr) &&
               attr.GetBackgroundColour() == wxColour(0, 0xF0, 0);
    };
    EXPECT_TRUE(green(first, 1));
    EXPECT_FALSE(green(first, 2));
    EXPECT_FALSE(green(other, 1)) << "the active project's flags are not another list's";
    EXPECT_TRUE(green(other, 2));

    // A double click opens the clicked parameter of that list.
    first->OpenEditorAtRow(2);
    other->OpenEditorAtRow(2);
    EXPECT_EQ(m_editorOpened, (std::vector<std::pair<int, int>>{{3, 1}, {0, 1}}));

    // "Parameter" refills the active list although the other shows all groups.
    ChooseTreeItem(Res(61459));
    EXPECT_EQ(first->GetListGroup(), -1);
    EXPECT_EQ(first->GetListModel()->GetRowCount(), other->GetListModel()->GetRowCount());
    m_app->m_pDocManager->ActivateView(other);
    ChooseTreeItem(Res(61629)); // group 05
    EXPECT_EQ(other->GetListGroup(), 5);
    EXPECT_EQ(first->GetListGroup(), -1);
}

TEST_F(ProjectControlsTest, TheListsChangedAndHeadingColoursHoldForTheSelectedRow)
{
    StartWithProject();
    CD390DocData& doc = *View()->GetDocData();
    doc.m_Changed[0][1] = 1; // row 2 of the all-groups list
    CXListCtrl* list = View()->GetList();
    CParamListModel& model = *View()->GetListModel();
    auto attrOf = [&](int row, int column) {
        wxDataViewItemAttr attr;
        model.GetAttrByRow(static_cast<unsigned>(row), static_cast<unsigned>(column), attr);
        return attr;
    };
    list->UnselectAll();
    EXPECT_EQ(list->GetCurSel(), -1);
    EXPECT_EQ(attrOf(2, 3).GetBackgroundColour(), wxColour(0, 0xF0, 0));
    EXPECT_EQ(attrOf(0, 1).GetColour(), wxColour(0xFF, 0, 0)) << "a heading is red without a selection";
    list->SelectItem(2);
    EXPECT_EQ(list->GetCurSel(), 2);
    EXPECT_EQ(attrOf(2, 3).GetBackgroundColour(), wxColour(0, 0xF0, 0)) << "selected, still green";
    EXPECT_EQ(attrOf(0, 1).GetColour(), wxColour(0xFF, 0, 0)) << "a heading is red with a selection";
    list->SelectItem(0);
    EXPECT_EQ(attrOf(0, 1).GetColour(), wxColour(0xFF, 0, 0)) << "a selected heading is red";
}

} // namespace
