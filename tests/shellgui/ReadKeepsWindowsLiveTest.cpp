// Read and Write against a drive that answers late: the window thread goes on
// handling events while the drive is busy (the main frame taking no input
// meanwhile), and the progress window, the results, the message boxes and the
// questions come as they did when the window thread did the traffic itself.

#include "tests/session/ConnectTestSupport.h"
#include "tests/shellgui/AppFixture.h"

#include "document/D390DocData.h"
#include "platform/ResourceModule.h"
#include "res/CommandIds.h"
#include "session/DriveSession.h"
#include "session/LinkSetup.h"
#include "shell/ConnectCommands.h"
#include "shell/MotorParamListDlg.h"
#include "view/ProgressDlg.h"
#include "view/D390View.h"

#include <wx/stattext.h>
#include <wx/timer.h>
#include <wx/weakref.h>

#include <gtk/gtk.h>

#include <chrono>
#include <fstream>
#include <thread>

namespace {

constexpr int kStation = 1;
constexpr std::uint32_t kModel = 0x11004B5; // with group 14 from version 1093
constexpr int kReplyDelayMs = 15;
constexpr std::uint16_t kReg1420 = 0x0E14;

// What the window thread did while a command ran: a 10 ms timer that must be
// served, and what it saw at each tick.
class WindowThreadWatch {
public:
    explicit WindowThreadWatch(CMainFrame& frame) : m_frame(frame)
    {
        m_timer.Bind(wxEVT_TIMER, [this](wxTimerEvent&) { OnTick(); });
        m_timer.Start(10);
    }
    ~WindowThreadWatch() { m_timer.Stop(); }

    // Called on each tick with the progress window's text.
    std::function<void(const std::string&)> m_onTick;
    int m_ticks = 0;
    int m_ticksWithProgress = 0;
    int m_ticksFrameEnabled = 0;

private:
    void OnTick()
    {
        ++m_ticks;
        CProgressDlg* progress = m_frame.m_pProgressDlg;
        if (progress->IsShown())
            ++m_ticksWithProgress;
        if (m_frame.IsEnabled())
            ++m_ticksFrameEnabled;
        if (m_onTick)
            m_onTick(progress->m_ctlGroupText->GetLabel().utf8_string());
    }

    CMainFrame& m_frame;
    wxTimer m_timer;
};

class ReadKeepsWindowsLiveTest : public AppFixture {
protected:
    void TearDown() override
    {
        if (m_recorder)
            SetMessageHandler(m_recorder);
        AppFixture::TearDown();
        ResetCommSettings();
    }

    // The program started on the drive with the connect-at-once job, the
    // station dialog answered with OK, and the thread of every message box
    // noted.
    bool StartConnected(CSimulatedDrive& drive)
    {
        std::ofstream(m_home + "curfile.ini", std::ios::binary)
            << "2\n" + drive.GetPtyPath() + "\n19200\n802\n1\n0\n";
        if (!Start() || !m_app->m_pDocTemplate || Frame().Session().m_bConnected != 1)
            return false;
        SetModalAnswer([](wxDialog* shown) {
            wxCommandEvent click(wxEVT_BUTTON, wxID_OK);
            click.SetEventObject(shown->FindWindow(wxID_OK));
            shown->FindWindow(wxID_OK)->GetEventHandler()->ProcessEvent(click);
            return shown->GetReturnCode();
        });
        m_recorder = SetMessageHandler(nullptr);
        SetMessageHandler([this](const std::string& text, unsigned type) {
            m_boxThreads.push_back(std::this_thread::get_id());
            return ShowMessageWith(m_recorder, text, type);
        });
        return true;
    }

    CD390DocData& Doc() { return *Frame().GetActiveProjectView()->GetDocData(); }

    MessageHandler m_recorder;
    std::vector<std::thread::id> m_boxThreads;
};

} // namespace

TEST_F(ReadKeepsWindowsLiveTest, TheWindowThreadServesEventsWhileTheDriveIsRead)
{
    auto drive = StartDrive(DriveConfig({kStation}, kModel, 1093));
    if (!StartConnected(*drive))
        GTEST_SKIP() << "this build has no project document";
    CMainFrame& frame = Frame();
    const std::string before = Doc().FindParam(0, 3)->m_strValue;
    drive->SetRegister(kStation, 0x0003, before == "2" ? 1 : 2);
    drive->SetRegister(kStation, kReg1420, 0); // pressure form
    frame.Session().m_nPressureMode = 1;
    drive->SetReplyDelay(kStation, kReplyDelayMs);
    drive->ClearFrameLog();

    // A close asked for meanwhile is put off: the frame stays under the transfer.
    WindowThreadWatch watch(frame);
    int closeAttempts = 0;
    bool closed = false;
    watch.m_onTick = [&](const std::string&) {
        if (closeAttempts++ == 3)
            closed = frame.Close();
    };
    Command(ID_READ);
    const int ticks = watch.m_ticks;
    EXPECT_FALSE(closed);
    EXPECT_FALSE(frame.IsBeingDeleted());

    // The transfer took many ticks of the timer, each served while the
    // progress window stood and the main frame took no input.
    EXPECT_GT(drive->GetFrameCount(), 15u);
    EXPECT_GE(ticks, 10) << "the window thread served the timer during the read";
    EXPECT_GE(watch.m_ticksWithProgress, ticks / 2);
    EXPECT_EQ(watch.m_ticksFrameEnabled, 0);
    EXPECT_TRUE(frame.IsEnabled());
    EXPECT_FALSE(frame.m_pProgressDlg->IsShown());

    // The results, taken in on the window thread; the message as before.
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{LoadResString(61575)});
    EXPECT_EQ(m_boxThreads, std::vector<std::thread::id>{std::this_thread::get_id()});
    EXPECT_FLOAT_EQ(Doc().m_fDriveVersion, 1.093f);
    EXPECT_NE(Doc().FindParam(0, 3)->m_strValue, before);
    EXPECT_EQ(Doc().FindParam(0, 3)->m_strValue, Doc().FindParam(0, 3)->m_strRead);
    EXPECT_EQ(frame.Session().m_nPressureMode, 0) << "14-20 read from the drive";
    EXPECT_EQ(frame.Session().m_bReading, 0);
    EXPECT_FALSE(Doc().IsModified());
}

TEST_F(ReadKeepsWindowsLiveTest, TheDesktopsCloseDuringTheReadIsCarriedOutWhenItEnds)
{
    auto drive = StartDrive(DriveConfig({kStation}, kModel, 1093));
    if (!StartConnected(*drive))
        GTEST_SKIP() << "this build has no project document";
    CMainFrame& frame = Frame();
    drive->SetReplyDelay(kStation, kReplyDelayMs);
    bool requested = false;
    std::string progressTitle;
    {
    WindowThreadWatch watch(frame);
    watch.m_onTick = [&](const std::string&) {
        if (!frame.m_pProgressDlg->IsShown() || requested)
            return;
        requested = true;
        progressTitle = frame.m_pProgressDlg->GetTitle().utf8_string();
        // The window's close box, as the desktop reports it.
        EXPECT_FALSE(frame.IsEnabled());
        GdkEvent* close = gdk_event_new(GDK_DELETE);
        close->any.window = GDK_WINDOW(g_object_ref(gtk_widget_get_window(frame.GetHandle())));
        close->any.send_event = TRUE;
        gtk_widget_event(frame.GetHandle(), close);
        gdk_event_free(close);
    };
    m_messages.Answer(IDOK);  // "Read sucessful !"
    m_messages.Answer(IDNO);  // the save question: close without saving
    Command(ID_READ);
    }
    ASSERT_TRUE(requested);
    EXPECT_EQ(progressTitle, "Read Inverter function parameter") << "the progress window is named";
    wxWeakRef<wxWindow> alive(&frame);
    auto closed = [&] { return !alive || wxTheApp->IsScheduledForDestruction(&frame); };
    EXPECT_FALSE(closed()) << "not while the read ran";
    // Modified when the put-off close comes (as a Write leaves a project).
    Doc().SetModifiedFlag(true);
    for (int round = 0; round < 100 && !closed(); ++round) {
        wxTheApp->Yield(true);
        wxTheApp->ProcessPendingEvents();
        wxMilliSleep(5);
    }
    EXPECT_EQ(m_messages.Texts(), (std::vector<std::string>{LoadResString(61575), LoadResString(61536)}));
    ASSERT_TRUE(closed()) << "the close was carried out once the read ended";
    EXPECT_TRUE(m_app->m_pDocManager->GetDocumentsVector().empty());
    // Gone now rather than at an idle time that a test never has.
    if (alive) {
        wxPendingDelete.DeleteObject(&frame);
        delete &frame;
    }
    m_app->m_pMainFrame = nullptr;
}

TEST_F(ReadKeepsWindowsLiveTest, AFailureMidwayIsShownByTheWindowThread)
{
    auto drive = StartDrive(DriveConfig({kStation}, kModel, 1093));
    if (!StartConnected(*drive))
        GTEST_SKIP() << "this build has no project document";
    CMainFrame& frame = Frame();
    const std::string before = Doc().FindParam(0, 3)->m_strValue;
    drive->SetRegister(kStation, 0x0003, before == "2" ? 1 : 2);
    drive->SetReplyDelay(kStation, kReplyDelayMs);

    // The drive falls silent once group 05 is being read.
    WindowThreadWatch watch(frame);
    bool silenced = false;
    watch.m_onTick = [&](const std::string& text) {
        if (!silenced && text.rfind("05-XX", 0) == 0) {
            drive->SetSilent(kStation, true);
            silenced = true;
        }
    };
    Command(ID_READ);

    EXPECT_TRUE(silenced) << "the progress window named group 05 while the drive was read";
    const std::vector<std::string> texts = m_messages.Texts();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_NE(texts[0], LoadResString(61575));
    EXPECT_EQ(texts[0], frame.Session().m_strLastError) << "the reader's failure";
    EXPECT_EQ(m_boxThreads, std::vector<std::thread::id>{std::this_thread::get_id()});
    // The project stays as it was.
    EXPECT_EQ(Doc().FindParam(0, 3)->m_strValue, before);
    EXPECT_EQ(Doc().m_nModelCode, static_cast<int>(kModel));
    EXPECT_FALSE(frame.m_pProgressDlg->IsShown());
    EXPECT_TRUE(frame.IsEnabled());
    EXPECT_EQ(frame.Session().m_bReading, 0);
}

TEST_F(ReadKeepsWindowsLiveTest, WriteWaitsForTheAnswerToItsQuestion)
{
    // The project says another model of the drive's class: Write asks first.
    auto drive = StartDrive(DriveConfig({kStation}, 1102, 1100));
    if (!StartConnected(*drive))
        GTEST_SKIP() << "this build has no project document";
    CMainFrame& frame = Frame();
    drive->SetReplyDelay(kStation, kReplyDelayMs);
    int motorLists = 0;
    SetModalAnswer([&motorLists](wxDialog* shown) {
        if (dynamic_cast<CMotorParamListDlg*>(shown))
            ++motorLists;
        wxCommandEvent click(wxEVT_BUTTON, wxID_OK);
        if (wxWindow* ok = shown->FindWindow(wxID_OK)) {
            click.SetEventObject(ok);
            ok->GetEventHandler()->ProcessEvent(click);
        }
        return wxID_OK;
    });
    auto writeFrames = [&drive] {
        int writes = 0;
        for (const Bytes& request : Requests(*drive))
            writes += request.size() > 1 && (request[1] == 0x06 || request[1] == 0x10);
        return writes;
    };

    for (int answer : {IDNO, IDYES}) {
        SCOPED_TRACE(answer == IDNO ? "No" : "Yes");
        Doc().m_nModelCode = 1205;
        m_messages.Clear();
        m_boxThreads.clear();
        m_messages.Answer(answer);
        motorLists = 0;
        drive->ClearFrameLog();
        WindowThreadWatch watch(frame);
        Command(ID_WRITE);

        const std::vector<std::string> texts = m_messages.Texts();
        ASSERT_FALSE(texts.empty());
        EXPECT_EQ(texts[0], LoadResString(61555));
        EXPECT_EQ(m_boxThreads, std::vector<std::thread::id>(texts.size(), std::this_thread::get_id()));
        EXPECT_GE(watch.m_ticks, 1) << "the window thread served the timer during the checks";
        EXPECT_EQ(watch.m_ticksFrameEnabled, 0);
        EXPECT_TRUE(frame.IsEnabled());
        if (answer == IDNO) {
            EXPECT_EQ(texts.size(), 1u);
            EXPECT_EQ(writeFrames(), 0) << "nothing written after No";
            EXPECT_EQ(motorLists, 0);
        } else {
            EXPECT_EQ(texts.back(), LoadResString(61541));
            EXPECT_GT(writeFrames(), 0);
            EXPECT_EQ(frame.Session().m_bWriteAll, 0) << "the mismatch was let pass";
            EXPECT_EQ(motorLists, 1) << "the motor parameters shown after the write";
        }
        EXPECT_EQ(frame.Session().m_bWriting, 0);
        EXPECT_FALSE(frame.m_pProgressDlg->IsShown());
    }
}

TEST_F(ReadKeepsWindowsLiveTest, TheWatchdogProbesOnAWorkerAndReadTakesItsVerdictFirst)
{
    auto drive = StartDrive(DriveConfig({kStation, 2}, kModel, 1093));
    if (!StartConnected(*drive))
        GTEST_SKIP() << "this build has no project document";
    CMainFrame& frame = Frame();
    AppendStationRecord(frame.Session(), {2, static_cast<int>(kModel), 1093});
    drive->SetSilent(2, true);

    // A tick returns at once; the window thread shows the verdict later.
    frame.m_pConnectCommands->WatchdogTick();
    EXPECT_TRUE(m_messages.Texts().empty());
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (m_messages.Texts().empty() && std::chrono::steady_clock::now() < end) {
        wxTheApp->ProcessPendingEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{FormatResString(61572, 2)});
    EXPECT_EQ(frame.Session().m_Stations, std::vector<int>{kStation});
    EXPECT_EQ(m_boxThreads, std::vector<std::thread::id>{std::this_thread::get_id()});

    // Read while a pass runs: the pass ends and its verdict comes first.
    AppendStationRecord(frame.Session(), {2, static_cast<int>(kModel), 1093});
    m_messages.Clear();
    frame.m_pConnectCommands->WatchdogTick();
    ASSERT_TRUE(frame.m_pConnectCommands->IsWatchdogPassRunning());
    Command(ID_READ);
    EXPECT_EQ(m_messages.Texts(), (std::vector<std::string>{FormatResString(61572, 2), LoadResString(61575)}));
    EXPECT_EQ(frame.Session().m_Stations, std::vector<int>{kStation});
    EXPECT_EQ(frame.Session().m_bConnected, 1);
}
