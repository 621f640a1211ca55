#include "controls/CJTreeCtrl.h"
#include "platform/ResourceModule.h"
#include "res/CommandIds.h"
#include "session/DriveSession.h"
#include "tests/common/GuiTestSupport.h"
#include "tests/common/PumpUntil.h"
#include "tests/shellgui/AppFixture.h"

#include <wx/aui/framemanager.h>
#include <wx/display.h>
#include <wx/toolbar.h>
#include <wx/statusbr.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

TEST_F(AppFixture, StartsWithoutProject)
{
    ASSERT_TRUE(Start());
    CMainFrame& frame = Frame();
    EXPECT_TRUE(frame.IsShown());
    EXPECT_EQ(static_cast<CD390App*>(wxApp::GetInstance())->m_pMainFrame, &frame);
    ASSERT_NE(m_app->m_pSession, nullptr);
    EXPECT_EQ(&frame.Session(), m_app->m_pSession.get());
    EXPECT_EQ(&frame.Session().Windows(), static_cast<CFrameWindows*>(&frame));
    EXPECT_EQ(m_app->m_strProgramFolder, TestProgramFolder());
    EXPECT_EQ(frame.Session().m_bNetLink, 0);
    EXPECT_EQ(frame.Session().m_bConnected, 0);
    EXPECT_TRUE(m_app->m_pDocManager->GetDocumentsVector().empty());
    EXPECT_EQ(frame.GetActiveProject(), nullptr);
    EXPECT_EQ(frame.m_wndTree->GetCount(), 0u);
    // No project view, so no group is chosen.
    EXPECT_EQ(frame.GetActiveProjectView(), nullptr);
    // Without a project window the group commands, Read and Graph Watch are off.
    for (int id : {int(ID_GROUP_00), int(ID_GROUP_13), int(ID_GROUP_14), int(ID_READ), int(ID_WRITE),
                   int(ID_GRAPH_WATCH), int(ID_KEYPAD)})
        EXPECT_FALSE(IsEnabled(id)) << id;
    EXPECT_TRUE(IsEnabled(ID_FILE_NEW));
    EXPECT_TRUE(m_messages.Texts().empty());
}

TEST_F(AppFixture, StatusPanesShowLabelsAndFollowTheWidth)
{
    ASSERT_TRUE(Start());
    CMainFrame& frame = Frame();
    wxStatusBar* bar = frame.GetStatusBar();
    ASSERT_EQ(bar->GetFieldsCount(), 5);
    EXPECT_EQ(bar->GetStatusText(0), "File name:");
    EXPECT_EQ(bar->GetStatusText(3), "Model:");
    EXPECT_EQ(bar->GetStatusText(4), "Unlink");
    frame.SetStatusPaneText(kPaneVersion, "1.093");
    frame.SetStatusPaneText(kPaneLink, "Online");
    frame.SetStatusPaneText(5, "nowhere");
    EXPECT_EQ(bar->GetStatusText(1), "Version:1.093");
    EXPECT_EQ(bar->GetStatusText(4), "Online");

    frame.LayoutStatusPanes(700);
    const int expected[5] = {150, 100, 200, 100, 50};
    for (int pane = 0; pane < 5; ++pane)
        EXPECT_EQ(bar->GetStatusWidth(pane), expected[pane]) << pane;
}

TEST_F(AppFixture, HelpWithoutHelpFileIsReported)
{
    ASSERT_TRUE(Start());
    ASSERT_FALSE(fs::exists(TestProgramFolder() + "RQ5 help.chm"));
    Command(ID_HELP_HOWTO);
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{LoadResString(61554)});
}

TEST_F(AppFixture, ProjectWindowCommandHidesAndShowsTheDockBar)
{
    ASSERT_TRUE(Start());
    wxAuiPaneInfo& pane = Frame().m_wndDockManager.GetPane("dock");
    ASSERT_TRUE(pane.IsOk());
    EXPECT_TRUE(pane.IsShown());
    Command(ID_VIEW_PROJECT);
    EXPECT_FALSE(Frame().m_wndDockManager.GetPane("dock").IsShown());
    Command(ID_VIEW_PROJECT);
    EXPECT_TRUE(Frame().m_wndDockManager.GetPane("dock").IsShown());
}

TEST_F(AppFixture, HandOverJobZeroDoesNothingAndTheFileGoes)
{
    std::string handOver = m_home + "curfile.ini";
    std::ofstream(handOver) << "0\n";
    ASSERT_TRUE(Start());
    EXPECT_FALSE(fs::exists(handOver));
    EXPECT_TRUE(m_app->m_pDocManager->GetDocumentsVector().empty());
    EXPECT_TRUE(m_messages.Texts().empty());
}

TEST(AppExit, QuietWithoutResourceModule)
{
    // A copy of the program folder without the resource module.
    std::string folder = MakeTempFolder();
    struct Remove {
        std::string path;
        ~Remove() { fs::remove_all(path); }
    } remove{folder};
    fs::copy_file(TestProgramFolder() + "d390", folder + "d390");
    fs::permissions(folder + "d390", fs::perms::owner_exec, fs::perm_options::add);
    std::string output = folder + "output.txt";
    std::string command = "cd '" + folder + "' && HOME='" + folder + "' XDG_CONFIG_HOME='" + folder +
                          // A sanitizer build of the program would report GTK's caches as leaks at exit.
                          "' ASAN_OPTIONS=detect_leaks=0 timeout 120 ./d390 > '" + output + "' 2>&1";
    int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_NE(WEXITSTATUS(status), 0);
    EXPECT_NE(WEXITSTATUS(status), 124) << "the program did not end by itself";
    std::ifstream file(output);
    std::string text((std::istreambuf_iterator<char>(file)), {});
    EXPECT_EQ(text, "");
}

// Under a window manager the main window comes up as the user sees it:
// shown, maximized, its toolbar across its width, and no complaint of the
// toolkit on the way (the test main fails on any critical one).
class MainWindowOnDesktop : public AppFixture {};

TEST_F(MainWindowOnDesktop, StartsMaximizedWithItsToolbarAcrossAndNoToolkitComplaint)
{
    if (!WindowManagerRunning())
        GTEST_SKIP() << "needs a window manager";
    ASSERT_TRUE(Start());
    CMainFrame& frame = Frame();
    EXPECT_TRUE(PumpUntil([&] { return frame.IsShownOnScreen() && frame.IsMaximized(); }, 5000));
    // The manager's border and the maximized size arrive after the window
    // shows; they are laid out too.
    PumpUntil(nullptr, 500);
    wxToolBar* toolbar = frame.GetToolBar();
    ASSERT_NE(toolbar, nullptr);
    EXPECT_TRUE(toolbar->IsShownOnScreen());
    EXPECT_EQ(toolbar->GetSize().x, frame.GetClientSize().x);
    EXPECT_GE(toolbar->GetSize().y, toolbar->GetBestSize().y);
    const wxRect area = wxDisplay(static_cast<unsigned>(std::max(0, wxDisplay::GetFromWindow(&frame)))).GetClientArea();
    EXPECT_GT(frame.GetSize().x, area.width / 2) << "maximized";
}
