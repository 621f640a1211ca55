// A password command or an editor's row write started while a pass of the
// link watchdog probes a silent station: as Read and Write do, the command
// waits for the pass with the window thread handling events, takes in its
// verdict, and only then talks to the drive.

#include "tests/session/ConnectTestSupport.h"
#include "tests/shellgui/AppFixture.h"

#include "editor/GroupPagePanel.h"
#include "editor/ParamGroupDlg.h"
#include "platform/ResourceModule.h"
#include "res/CommandIds.h"
#include "session/DriveSession.h"
#include "session/LinkSetup.h"
#include "shell/ConnectCommands.h"

#include <wx/timer.h>

#include <fstream>
#include <functional>

namespace {

constexpr int kStation = 1;
constexpr int kSilentStation = 2;
constexpr std::uint32_t kModel = 0x11004B5;

// A 10 ms timer: its ticks count only while the window thread runs a loop.
class TickCounter {
public:
    TickCounter()
    {
        m_timer.Bind(wxEVT_TIMER, [this](wxTimerEvent&) { ++m_ticks; });
        m_timer.Start(10);
    }
    ~TickCounter() { m_timer.Stop(); }
    int m_ticks = 0;

private:
    wxTimer m_timer;
};

void ClickButton(wxWindow* window, int id)
{
    wxCommandEvent click(wxEVT_BUTTON, id);
    click.SetEventObject(window->FindWindow(id));
    window->FindWindow(id)->GetEventHandler()->ProcessEvent(click);
}

class DriveCommandsWaitForThePassTest : public AppFixture {
protected:
    void TearDown() override
    {
        AppFixture::TearDown();
        ResetCommSettings();
        if (m_drive)
            m_drive->Stop();
    }

    // The program connected to station 1 of the drive, station 2 listed too
    // and silent; every dialog answered with OK, the editor by m_editor.
    bool StartWithAPassUnderWay()
    {
        m_drive = StartDrive(DriveConfig({kStation, kSilentStation}, kModel, 1093));
        std::ofstream(m_home + "curfile.ini", std::ios::binary)
            << "2\n" + m_drive->GetPtyPath() + "\n19200\n802\n1\n0\n";
        if (!Start() || !m_app->m_pDocTemplate || Frame().Session().m_bConnected != 1)
            return false;
        SetModalAnswer([this](wxDialog* shown) -> int {
            if (auto* editor = dynamic_cast<CParamGroupDlg*>(shown); editor && m_editor) {
                m_editor(*editor);
                return wxID_CANCEL;
            }
            ClickButton(shown, wxID_OK);
            return shown->GetReturnCode();
        });
        AppendStationRecord(Frame().Session(), {kSilentStation, static_cast<int>(kModel), 1093});
        m_drive->SetSilent(kSilentStation, true);
        m_messages.Clear();
        Frame().m_pConnectCommands->WatchdogTick();
        return Frame().m_pConnectCommands->IsWatchdogPassRunning();
    }

    std::unique_ptr<CSimulatedDrive> m_drive;
    std::function<void(CParamGroupDlg&)> m_editor;
};

} // namespace

TEST_F(DriveCommandsWaitForThePassTest, PasswordReleaseWaitsForThePassWithTheWindowThreadAnswering)
{
    ASSERT_TRUE(StartWithAPassUnderWay());
    TickCounter ticks;
    Command(ID_PASSWORD_RELEASE);
    EXPECT_GE(ticks.m_ticks, 1) << "the window thread handled events while the pass ended";
    // The pass's verdict first, then the command's own answer.
    EXPECT_EQ(m_messages.Texts(),
              (std::vector<std::string>{FormatResString(61572, kSilentStation), LoadResString(61553)}));
    EXPECT_EQ(Frame().Session().m_Stations, std::vector<int>{kStation});
    EXPECT_TRUE(Frame().IsEnabled());
}

TEST_F(DriveCommandsWaitForThePassTest, ARowWriteWaitsForThePassWithTheWindowThreadAnswering)
{
    ASSERT_TRUE(StartWithAPassUnderWay());
    int ticksDuringWrite = -1;
    m_editor = [&](CParamGroupDlg& editor) {
        TickCounter ticks;
        ClickButton(editor.PagePanel(1), 1009); // 00-14
        ticksDuringWrite = ticks.m_ticks;
    };
    Command(ID_GROUP_00);
    EXPECT_GE(ticksDuringWrite, 1) << "the window thread handled events while the pass ended";
    EXPECT_EQ(m_messages.Texts(),
              (std::vector<std::string>{FormatResString(61572, kSilentStation), LoadResString(61541)}));
    EXPECT_EQ(Frame().Session().m_Stations, std::vector<int>{kStation});
    EXPECT_TRUE(Frame().IsEnabled());
}
