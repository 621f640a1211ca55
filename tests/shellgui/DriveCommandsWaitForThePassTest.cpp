// A password command or an editor's row write started while a pass of the
// link watchdog probes a silent station: as Read and Write do, the command
// waits for the pass with the window thread handling events, takes in its
// verdict, and only then talks to the drive. The editor that started it
// takes no input meanwhile: what the user does then closes nothing and
// starts nothing, and the command sends what it would have sent, once.

#include "tests/session/ConnectTestSupport.h"
#include "tests/shellgui/AppFixture.h"

#include "editor/GroupPagePanel.h"
#include "editor/ParamGroupDlg.h"
#include "platform/ResourceModule.h"
#include "res/CommandIds.h"
#include "session/DriveSession.h"
#include "session/LinkSetup.h"
#include "shell/ConnectCommands.h"
#include "session/DriveWork.h"
#include "tests/common/PumpUntil.h"

#include <wx/notebook.h>
#include <wx/timer.h>
#include <wx/uiaction.h>
#include <wx/weakref.h>

#include <gtk/gtk.h>

#include <algorithm>
#include <fstream>
#include <functional>

namespace {

constexpr int kStation = 1;
constexpr int kSilentStation = 2;
constexpr std::uint32_t kModel = 0x11004B5;

// A 10 ms timer: its ticks count only while the window thread runs a loop.
// Those that found the main frame taking input are counted too.
class TickCounter {
public:
    TickCounter()
    {
        m_timer.Bind(wxEVT_TIMER, [this](wxTimerEvent&) {
            ++m_ticks;
            if (wxWindow* frame = wxTheApp->GetTopWindow(); frame && frame->IsEnabled())
                ++m_frameEnabled;
        });
        m_timer.Start(10);
    }
    ~TickCounter() { m_timer.Stop(); }
    int m_ticks = 0;
    int m_frameEnabled = 0;

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
    EXPECT_EQ(ticks.m_frameEnabled, 0) << "the main frame took no input meanwhile";
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

namespace {

constexpr int kSecondSilentStation = 3;
constexpr int kRowPage = 1;
constexpr int kRowButton = 1009; // 00-14's button
constexpr int kWriteSuccessful = 61541;
constexpr int kStationCommError = 61572;

// What the user's hand does on the display: the pointer goes to a control and
// clicks it, a key goes to the window under the pointer, the desktop reports
// the close box. Each step of a script runs on its own tick of a timer, so
// that the toolkit takes in what the last one sent before the next.
enum class Hand { None, Cancel, CloseBox, Escape, RowButton, TransmitGroup };

const char* HandName(Hand hand)
{
    switch (hand) {
    case Hand::None: return "nothing";
    case Hand::Cancel: return "Cancel";
    case Hand::CloseBox: return "the close box";
    case Hand::Escape: return "Esc";
    case Hand::RowButton: return "the row button";
    case Hand::TransmitGroup: return "Transmit Group";
    }
    return "";
}

void PointAt(wxWindow* control)
{
    wxUIActionSimulator sim;
    sim.MouseMove(control->GetScreenRect().GetPosition() + control->GetSize() / 2);
}

void ClickWhereThePointerIs()
{
    wxUIActionSimulator sim;
    sim.MouseClick();
}

void PressEscape()
{
    wxUIActionSimulator sim;
    sim.Char(WXK_ESCAPE);
}

// The close box of the window as the desktop reports it, through the
// toolkit's own queue.
void CloseBox(wxWindow* window)
{
    GdkEvent* close = gdk_event_new(GDK_DELETE);
    close->any.window = GDK_WINDOW(g_object_ref(gtk_widget_get_window(window->GetHandle())));
    close->any.send_event = TRUE;
    gdk_event_put(close);
    gdk_event_free(close);
}

// Steps run one a tick of a 10 ms timer; a step returns true when it is done.
class Script {
public:
    explicit Script(std::vector<std::function<bool()>> steps) : m_steps(std::move(steps))
    {
        m_timer.Bind(wxEVT_TIMER, [this](wxTimerEvent&) { OnTick(); });
        m_timer.Start(10);
    }
    ~Script() { m_timer.Stop(); }
    bool Finished() const { return m_next == m_steps.size(); }
    std::size_t Reached() const { return m_next; }

private:
    void OnTick()
    {
        // A step may wait in a loop of its own: no step begins meanwhile.
        if (m_inStep || Finished())
            return;
        m_inStep = true;
        if (m_steps[m_next]())
            ++m_next;
        m_inStep = false;
    }

    std::vector<std::function<bool()>> m_steps;
    std::size_t m_next = 0;
    bool m_inStep = false;
    wxTimer m_timer;
};

// The editor of group 00 open for real (as the main frame runs it) on the
// program connected to stations 1, 2 and 3, where 2 and 3 fall silent: a
// watchdog pass takes their two time-outs while the editor's command waits.
class EditorInputDuringThePassTest : public AppFixture {
protected:
    void TearDown() override
    {
        AppFixture::TearDown();
        ResetCommSettings();
        if (m_drive)
            m_drive->Stop();
    }

    bool StartWithThreeStations()
    {
        m_drive = StartDrive(DriveConfig({kStation, kSilentStation, kSecondSilentStation}, kModel, 1093));
        std::ofstream(m_home + "curfile.ini", std::ios::binary)
            << "2\n" + m_drive->GetPtyPath() + "\n19200\n802\n1\n0\n";
        if (!Start() || !m_app->m_pDocTemplate || Frame().Session().m_bConnected != 1)
            return false;
        Frame().Show();
        // Placed by a desktop, if there is one, before the editor comes.
        PumpUntil([this] { return Frame().IsShownOnScreen(); });
        PumpUntil(nullptr, 300);
        SetModalAnswer([this](wxDialog* shown) -> int {
            if (auto* editor = dynamic_cast<CParamGroupDlg*>(shown)) {
                m_editor = editor;
                return wxID_NONE; // shown for real, modal to the main frame
            }
            ClickButton(shown, wxID_OK); // the station chooser
            return shown->GetReturnCode();
        });
        return true;
    }

    struct Outcome {
        bool disabledDuringTheWait = false;
        bool passRanOnAfterTheInput = false;
        bool openAfterTheCommand = false;
        bool enabledAfterTheCommand = false;
        bool focusBackOnTheButton = false;
        std::vector<std::string> messages;
        std::vector<Bytes> writes; // the requests with function 06 or 0x10, in order
        std::vector<Bytes> writesAfterClosing;
        bool finished = false;
    };

    static bool IsWrite(const Bytes& request) { return request.size() > 1 && (request[1] == 0x06 || request[1] == 0x10); }

    std::vector<Bytes> Writes() const
    {
        std::vector<Bytes> writes;
        for (const Bytes& request : Requests(*m_drive))
            if (IsWrite(request))
                writes.push_back(request);
        return writes;
    }

    // Opens the editor of group 00, begins a watchdog pass with stations 2
    // and 3 silent, starts the command with a click on its button (the row
    // button of 00-14, or Transmit Group), and while it waits for the pass
    // does what hand says; the command over, the editor is closed with Cancel.
    Outcome Run(int startButton, Hand hand)
    {
        CDriveSession& session = Frame().Session();
        for (int station : {kSilentStation, kSecondSilentStation})
            if (std::find(session.m_Stations.begin(), session.m_Stations.end(), station) == session.m_Stations.end())
                AppendStationRecord(session, {station, static_cast<int>(kModel), 1093});
        m_drive->SetSilent(kSilentStation, true);
        m_drive->SetSilent(kSecondSilentStation, true);
        m_drive->ClearFrameLog();
        m_messages.Clear();
        m_editor = nullptr;

        Outcome outcome;
        CConnectCommands& commands = *Frame().m_pConnectCommands;
        wxWeakRef<wxWindow> editor;
        wxWindow* started = nullptr;
        wxRect startedAt;
        int settle = 0;
        auto control = [&](Hand which) -> wxWindow* {
            if (which == Hand::RowButton)
                return m_editor->PagePanel(kRowPage)->FindWindow(kRowButton);
            if (which == Hand::TransmitGroup)
                return m_editor->FindWindow(CParamGroupDlg::IDC_TRANSMIT);
            return m_editor->FindWindow(wxID_CANCEL);
        };
        auto waiting = [&] { return IsDriveTransferActive() && commands.IsWatchdogPassRunning(); };
        const std::string written = LoadResString(kWriteSuccessful);
        auto commandOver = [&] {
            const std::vector<std::string> texts = m_messages.Texts();
            return !IsDriveTransferActive() &&
                   (!editor || !editor->IsShown() || std::find(texts.begin(), texts.end(), written) != texts.end());
        };
        Script script({
            // The editor on the screen, on 00-14's tab.
            [&] {
                if (!m_editor || !m_editor->IsShownOnScreen())
                    return false;
                editor = m_editor;
                m_editor->Notebook()->SetSelection(kRowPage);
                started = startButton == kRowButton ? control(Hand::RowButton) : control(Hand::TransmitGroup);
                return true;
            },
            // Its button where it stays (a desktop may still place the
            // window); the pass begins.
            [&] {
                const wxRect place = started->GetScreenRect();
                const bool settled = started->IsShownOnScreen() && place == startedAt;
                startedAt = place;
                if (!settled)
                    return false;
                commands.WatchdogTick();
                PointAt(started);
                return true;
            },
            [&] {
                ClickWhereThePointerIs();
                return true;
            },
            // The command waits for the pass: the hand comes.
            [&] {
                if (!waiting())
                    return false;
                outcome.disabledDuringTheWait = editor && !editor->IsEnabled();
                if (hand == Hand::Cancel || hand == Hand::RowButton || hand == Hand::TransmitGroup)
                    PointAt(control(hand));
                return true;
            },
            [&] {
                if (hand == Hand::Cancel || hand == Hand::RowButton || hand == Hand::TransmitGroup)
                    ClickWhereThePointerIs();
                else if (hand == Hand::Escape)
                    PressEscape();
                else if (hand == Hand::CloseBox)
                    CloseBox(editor);
                return true;
            },
            // Time for the toolkit to deliver it while the pass still runs.
            [&] {
                if (++settle < 20)
                    return false;
                outcome.passRanOnAfterTheInput = commands.IsWatchdogPassRunning();
                return true;
            },
            // The command over: the editor closed with its own Cancel.
            [&] {
                if (!commandOver())
                    return false;
                outcome.openAfterTheCommand = editor && editor->IsShown();
                outcome.enabledAfterTheCommand = editor && editor->IsEnabled();
                outcome.focusBackOnTheButton = wxWindow::FindFocus() == started;
                outcome.messages = m_messages.Texts();
                outcome.writes = Writes();
                if (editor && editor->IsShown())
                    PointAt(control(Hand::Cancel));
                return true;
            },
            [&] {
                if (editor && editor->IsShown())
                    ClickWhereThePointerIs();
                outcome.finished = true;
                return true;
            },
        });
        // Whatever the command did, the editor goes in the end.
        wxTimer watchdog;
        watchdog.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
            ADD_FAILURE() << "the editor was still open at step " << script.Reached();
            if (editor)
                editor->Hide();
        });
        watchdog.StartOnce(20000);
        Command(ID_GROUP_00);
        watchdog.Stop();
        const std::vector<Bytes> all = Writes();
        outcome.writesAfterClosing.assign(all.begin() + static_cast<std::ptrdiff_t>(std::min(all.size(), outcome.writes.size())), all.end());
        PumpUntil(nullptr, 100);
        return outcome;
    }

    // Runs the command undisturbed, then once with each of hands during its
    // wait: nothing taken, the same frames sent once.
    void ExpectNoInputTakenDuringTheWait(int startButton, const std::vector<Hand>& hands);

    std::unique_ptr<CSimulatedDrive> m_drive;
    CParamGroupDlg* m_editor = nullptr;
};

// The row write's frame: 00-14 (register 0x000E) to station 1.
bool IsRowWriteTo0E(const Bytes& request)
{
    return request.size() == 8 && request[0] == kStation && request[1] == 0x06 && request[2] == 0x00 && request[3] == 0x0E;
}

} // namespace

void EditorInputDuringThePassTest::ExpectNoInputTakenDuringTheWait(int startButton, const std::vector<Hand>& hands)
{
    const std::vector<std::string> verdictThenWritten{FormatResString(kStationCommError, kSilentStation),
                                                      FormatResString(kStationCommError, kSecondSilentStation),
                                                      LoadResString(kWriteSuccessful)};
    // Undisturbed, the command sends this once the pass has ended.
    const Outcome reference = Run(startButton, Hand::None);
    ASSERT_TRUE(reference.finished);
    EXPECT_EQ(reference.messages, verdictThenWritten);
    ASSERT_FALSE(reference.writes.empty());
    if (startButton == kRowButton) {
        ASSERT_EQ(reference.writes.size(), 1u);
        EXPECT_TRUE(IsRowWriteTo0E(reference.writes[0]));
    }
    for (const Bytes& request : reference.writes)
        EXPECT_EQ(request[0], kStation);
    for (Hand hand : hands) {
        SCOPED_TRACE(HandName(hand));
        const Outcome outcome = Run(startButton, hand);
        ASSERT_TRUE(outcome.finished);
        EXPECT_TRUE(outcome.disabledDuringTheWait) << "the editor takes no input while its command waits";
        EXPECT_TRUE(outcome.passRanOnAfterTheInput) << "the input came during the wait";
        EXPECT_TRUE(outcome.openAfterTheCommand);
        EXPECT_TRUE(outcome.enabledAfterTheCommand);
        EXPECT_TRUE(outcome.focusBackOnTheButton);
        EXPECT_EQ(outcome.messages, verdictThenWritten);
        EXPECT_EQ(outcome.writes, reference.writes) << "sent once, as without the input";
        EXPECT_TRUE(outcome.writesAfterClosing.empty());
        EXPECT_EQ(Frame().Session().m_Stations, std::vector<int>{kStation});
    }
    EXPECT_TRUE(Frame().IsEnabled());
}

TEST_F(EditorInputDuringThePassTest, ARowWriteWaitingForThePassTakesNoInputAndWritesOnce)
{
    if (!StartWithThreeStations())
        GTEST_SKIP() << "this build has no project document";
    // Esc in a page does nothing by design, and the row button is in one.
    ExpectNoInputTakenDuringTheWait(kRowButton, {Hand::Cancel, Hand::CloseBox, Hand::RowButton, Hand::TransmitGroup});
}

TEST_F(EditorInputDuringThePassTest, TransmitGroupWaitingForThePassTakesNoInputAndWritesOnce)
{
    if (!StartWithThreeStations())
        GTEST_SKIP() << "this build has no project document";
    ExpectNoInputTakenDuringTheWait(CParamGroupDlg::IDC_TRANSMIT,
                                    {Hand::Cancel, Hand::CloseBox, Hand::Escape, Hand::TransmitGroup, Hand::RowButton});
}
