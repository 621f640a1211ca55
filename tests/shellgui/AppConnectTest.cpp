// The whole program against the simulated drive: the hand-over file's
// connect-at-once job at start-up, then Read and Write from the menu.

#include "tests/session/ConnectTestSupport.h"
#include "tests/shellgui/AppFixture.h"

#include "document/D390DocData.h"
#include "platform/ResourceModule.h"
#include "res/CommandIds.h"
#include "session/DriveSession.h"
#include "shell/ConnectCommands.h"
#include "shell/ConnectDlg.h"
#include "shell/PasswordInputDlg.h"
#include "shell/PasswordSetDlg.h"
#include "view/ProgressDlg.h"
#include "view/D390View.h"

#include <wx/combobox.h>
#include <wx/textctrl.h>

#include <filesystem>
#include <fstream>

namespace {

class AppConnectTest : public AppFixture {
protected:
    void TearDown() override
    {
        AppFixture::TearDown();
        ResetCommSettings();
    }

    void WriteHandOver(const std::string& text)
    {
        std::ofstream(m_home + "curfile.ini", std::ios::binary) << text;
    }

    // Every modal dialog is confirmed with OK.
    static void ConfirmDialogs()
    {
        SetModalAnswer([](wxDialog* shown) {
            wxCommandEvent click(wxEVT_BUTTON, wxID_OK);
            wxWindow* ok = shown->FindWindow(wxID_OK);
            click.SetEventObject(ok);
            ok->GetEventHandler()->ProcessEvent(click);
            return shown->GetReturnCode();
        });
    }

    int DocumentCount() { return static_cast<int>(m_app->m_pDocManager->GetDocumentsVector().size()); }
};

} // namespace

TEST_F(AppConnectTest, ConnectsAtOnceThenReadsAndWrites)
{
    auto drive = StartDrive(DriveConfig({1}, 0x11004B5, 1093));
    // Base frequency 60.00 (index 1).
    WriteHandOver("2\n" + drive->GetPtyPath() + "\n19200\n802\n1\n1\n");
    ASSERT_TRUE(Start());
    if (!m_app->m_pDocTemplate) {
        // Without a project to hold the drive's values the job cannot finish: rolled back.
        EXPECT_EQ(Frame().Session().m_bConnected, 0);
        EXPECT_TRUE(Frame().Session().m_Stations.empty());
        GTEST_SKIP() << "this build has no project document";
    }

    EXPECT_FALSE(std::filesystem::exists(m_home + "curfile.ini"));
    CMainFrame& frame = Frame();
    CDriveSession& session = frame.Session();
    EXPECT_EQ(session.m_bConnected, 1);
    EXPECT_EQ(session.m_Stations, std::vector<int>{1});
    EXPECT_EQ(session.m_StationModels, std::vector<int>{0x11004B5});
    EXPECT_EQ(session.m_StationVersions, std::vector<int>{1093});
    EXPECT_EQ(session.m_nModelCode2, 0x11004B5);
    EXPECT_EQ(session.m_strModelName2, "RQ5 04 A240");
    EXPECT_EQ(DocumentCount(), 1) << "a new project for the drive";
    CD390DocData* project = frame.GetActiveProject();
    ASSERT_NE(project, nullptr);
    EXPECT_EQ(project->m_nModelCode, 0x11004B5);
    EXPECT_EQ(project->m_strModelName, "RQ5 04 A240");
    EXPECT_EQ(project->m_nFreqIndex, 1);
    EXPECT_EQ(frame.GetStatusPaneText(kPaneModel), LoadResString(61454) + "RQ5 04 A240");
    EXPECT_EQ(frame.GetStatusPaneText(kPaneLink), LoadResString(61540));
    EXPECT_EQ(frame.GetStatusPaneText(kPaneVersion), LoadResString(61452) + "1.093");
    EXPECT_FALSE(frame.m_pConnectCommands->IsWatchdogRunning()) << "the connect-at-once job starts no watchdog";
    EXPECT_TRUE(m_messages.Texts().empty());
    EXPECT_EQ(g_strCommPort, drive->GetPtyPath());

    // Read and Write through the menu commands.
    ConfirmDialogs();
    Command(ID_READ);
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{LoadResString(61575)});
    CD390View* view = frame.GetActiveProjectView();
    ASSERT_NE(view, nullptr);
    CD390DocData* doc = view->GetDocData();
    ASSERT_NE(doc, nullptr);
    EXPECT_FLOAT_EQ(doc->m_fDriveVersion, 1.093f);
    EXPECT_FALSE(frame.m_pProgressDlg->IsShown());

    m_messages.Clear();
    drive->ClearFrameLog();
    Command(ID_WRITE);
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{LoadResString(61541)});
    EXPECT_GT(drive->GetFrameCount(), 15u);
}

TEST_F(AppConnectTest, AFailedConnectAtOnceRollsBack)
{
    auto drive = StartDrive(DriveConfig({1}, 1205));
    drive->SetSilent(1, true);
    WriteHandOver("2\n" + drive->GetPtyPath() + "\n19200\n802\n1\n1\n");
    ASSERT_TRUE(Start());
    CMainFrame& frame = Frame();
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{LoadResString(61479)});
    EXPECT_EQ(frame.Session().m_bConnected, 0);
    EXPECT_TRUE(frame.Session().m_Stations.empty());
    EXPECT_TRUE(frame.Session().m_StationVersions.empty());
    // No project was made, so no base frequency was taken from the job.
    EXPECT_EQ(frame.GetActiveProject(), nullptr);
    EXPECT_EQ(DocumentCount(), 0);
    EXPECT_FALSE(std::filesystem::exists(m_home + "curfile.ini"));
}

TEST_F(AppConnectTest, ConnectDialogAndPasswordCommandsFromTheMenu)
{
    auto drive = StartDrive(DriveConfig({1}, 0x11004B5, 1093));
    WriteHandOver("2\n" + drive->GetPtyPath() + "\n19200\n802\n1\n0\n");
    ASSERT_TRUE(Start());
    if (!m_app->m_pDocTemplate)
        GTEST_SKIP() << "this build has no project document";
    CMainFrame& frame = Frame();
    ASSERT_EQ(frame.Session().m_bConnected, 1);

    // Connect: disconnect first, then connect again; the watchdog starts.
    SetModalAnswer([&drive](wxDialog* shown) {
        auto click = [shown](int id) {
            wxCommandEvent event(wxEVT_BUTTON, id);
            event.SetEventObject(shown->FindWindow(id));
            shown->FindWindow(id)->GetEventHandler()->ProcessEvent(event);
        };
        click(CConnectDlg::IDC_DISCONNECT);
        dynamic_cast<wxComboBox*>(shown->FindWindow(CConnectDlg::IDC_PORT))
            ->SetValue(wxString::FromUTF8(drive->GetPtyPath()));
        dynamic_cast<wxTextCtrl*>(shown->FindWindow(CConnectDlg::IDC_STATIONS))->ChangeValue("1");
        click(wxID_OK);
        return shown->GetReturnCode();
    });
    Command(ID_CONNECT);
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{LoadResString(61470)});
    EXPECT_EQ(frame.Session().m_bConnected, 1);
    EXPECT_TRUE(frame.m_pConnectCommands->IsWatchdogRunning());

    // Password Set: the station chooser, then the password typed twice.
    m_messages.Clear();
    SetModalAnswer([](wxDialog* shown) {
        if (auto* set = dynamic_cast<CPasswordSetDlg*>(shown)) {
            dynamic_cast<wxTextCtrl*>(set->FindWindow(CPasswordSetDlg::IDC_PASSWORD))->ChangeValue("4321");
            dynamic_cast<wxTextCtrl*>(set->FindWindow(CPasswordSetDlg::IDC_REPEAT))->ChangeValue("4321");
        }
        if (auto* input = dynamic_cast<CPasswordInputDlg*>(shown))
            dynamic_cast<wxTextCtrl*>(input->FindWindow(CPasswordInputDlg::IDC_PASSWORD))->ChangeValue("4321");
        wxCommandEvent click(wxEVT_BUTTON, wxID_OK);
        click.SetEventObject(shown->FindWindow(wxID_OK));
        shown->FindWindow(wxID_OK)->GetEventHandler()->ProcessEvent(click);
        return shown->GetReturnCode();
    });
    Command(ID_PASSWORD_SET);
    EXPECT_TRUE(m_messages.Texts().empty());
    EXPECT_TRUE(drive->IsPasswordActive(1));

    // Write is refused while the password is active; Release lifts it.
    Command(ID_WRITE);
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{FormatResString(61534, 1)});
    m_messages.Clear();
    Command(ID_PASSWORD_RELEASE);
    EXPECT_TRUE(m_messages.Texts().empty());
    EXPECT_FALSE(drive->IsPasswordActive(1));
}
