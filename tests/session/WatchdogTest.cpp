// The link watchdog against the simulated drive: a silent station is dropped,
// and the link closes with "Unlink" when none is left.

#include "ConnectTestSupport.h"

#include "platform/ResourceModule.h"
#include "session/DriveWork.h"
#include "session/LinkSetup.h"
#include "session/LinkWatchdog.h"

#include <condition_variable>
#include <functional>
#include <mutex>

namespace {

constexpr std::uint16_t kRegCommandWord = 0x2501;

// A session connected to the drive's stations, as Connect leaves it.
void Connect(TestSession& session, CSimulatedDrive& drive, const std::vector<int>& stations)
{
    CSerialComm* comm = EnsureLinkObject(session);
    ASSERT_NE(comm->InitComm(drive.GetPtyPath(), 19200, 8, 0, 2.0f), 0);
    for (int station : stations)
        AppendStationRecord(session, {station, 1205, 1100 + station});
    session.m_bConnected = 1;
}

std::string StationError(int station)
{
    return FormatResString(61572, station);
}

} // namespace

TEST(LinkWatchdog, DropsTheStationThatStopsAnswering)
{
    auto drive = StartDrive(DriveConfig({1, 2, 3}, 1205));
    TestSession session;
    Connect(session, *drive, {1, 2, 3});
    session.m_nAutoRefreshStation = 2;
    session.m_bAutoRefresh = 1;
    MessageRecorder messages;
    CLinkWatchdog watchdog;

    watchdog.Tick(session);
    EXPECT_TRUE(messages.Texts().empty());
    EXPECT_EQ(Requests(*drive), (std::vector<Bytes>{ReadRequest(1, kRegCommandWord), ReadRequest(2, kRegCommandWord),
                                                    ReadRequest(3, kRegCommandWord)}));

    drive->ClearFrameLog();
    drive->SetSilent(2, true);
    watchdog.Tick(session);
    EXPECT_EQ(messages.Texts(), std::vector<std::string>{StationError(2)});
    // The records stay in step: number, model and version of stations 1 and 3.
    EXPECT_EQ(session.m_Stations, (std::vector<int>{1, 3}));
    EXPECT_EQ(session.m_StationModels, (std::vector<int>{1205, 1205}));
    EXPECT_EQ(session.m_StationVersions, (std::vector<int>{1101, 1103}));
    EXPECT_EQ(session.m_recorded.GetStatusPaneText(kPaneStation), LoadResString(61453) + "1,3");
    EXPECT_EQ(session.m_bAutoRefresh, 0) << "the auto-refresh station dropped out";
    EXPECT_EQ(session.m_bConnected, 1);
    EXPECT_EQ(session.m_recorded.m_watchdogStops, 0);
}

TEST(LinkWatchdog, ClosesTheLinkWhenNoStationIsLeft)
{
    auto drive = StartDrive(DriveConfig({1, 2}, 1205));
    TestSession session;
    Connect(session, *drive, {1, 2});
    session.Windows().SetStatusPaneText(kPaneVersion, "1.101");
    drive->SetSilent(kSimAllStations, true);
    MessageRecorder messages;
    CLinkWatchdog watchdog;

    watchdog.Tick(session);
    EXPECT_EQ(messages.Texts(), (std::vector<std::string>{StationError(1), StationError(2)}));
    EXPECT_EQ(session.m_bConnected, 0);
    EXPECT_TRUE(session.m_Stations.empty());
    EXPECT_TRUE(session.m_StationVersions.empty());
    EXPECT_EQ(session.m_recorded.m_watchdogStops, 1);
    ASSERT_NE(session.m_pComm, nullptr) << "closed, not deleted";
    EXPECT_FALSE(session.m_pComm->IsOpen());
    EXPECT_EQ(session.m_recorded.GetStatusPaneText(kPaneVersion), LoadResString(61452));
    EXPECT_EQ(session.m_recorded.GetStatusPaneText(kPaneStation), LoadResString(61453));
    EXPECT_EQ(session.m_recorded.GetStatusPaneText(kPaneLink), LoadResString(61455));

    // Not connected any more: a late tick does nothing.
    messages.Clear();
    drive->ClearFrameLog();
    watchdog.Tick(session);
    EXPECT_TRUE(messages.Texts().empty());
    EXPECT_EQ(drive->GetFrameCount(), 0u);
}

TEST(LinkWatchdog, ATickDuringAnOpenMessageDoesNotStartASecondPass)
{
    auto drive = StartDrive(DriveConfig({1, 2}, 1205));
    drive->SetSilent(1, true);
    TestSession session;
    Connect(session, *drive, {1, 2});
    CLinkWatchdog watchdog;
    int nested = 0;
    // The timer keeps firing while the first message box is open.
    MessageHandler previous = SetMessageHandler([&](const std::string&, unsigned) {
        ++nested;
        watchdog.Tick(session);
        return IDOK;
    });
    watchdog.Tick(session);
    SetMessageHandler(previous);
    EXPECT_EQ(nested, 1);
    EXPECT_EQ(session.m_Stations, std::vector<int>{2});
    EXPECT_EQ(Requests(*drive), (std::vector<Bytes>{ReadRequest(1, kRegCommandWord), ReadRequest(2, kRegCommandWord)}));
}

namespace {

// The window thread's side of a pass on a worker: the post is awaited here.
class PassPost {
public:
    std::function<void()> Post()
    {
        return [this] {
            std::lock_guard lock(m_mutex);
            m_posted = true;
            m_cv.notify_all();
        };
    }
    void Wait()
    {
        std::unique_lock lock(m_mutex);
        m_cv.wait(lock, [this] { return m_posted; });
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_cv;
    bool m_posted = false;
};

} // namespace

TEST(LinkWatchdog, APassOnAWorkerLeavesItsVerdictToTheWindowThread)
{
    auto drive = StartDrive(DriveConfig({1, 2, 3}, 1205));
    TestSession session;
    Connect(session, *drive, {1, 2, 3});
    drive->SetSilent(3, true);
    drive->SetSilent(1, true);
    MessageRecorder messages;
    CLinkWatchdog watchdog;
    PassPost post;

    watchdog.BeginPass(session, post.Post());
    ASSERT_TRUE(watchdog.IsPassPending());
    // A tick that finds the pass does nothing.
    watchdog.BeginPass(session, [] { ADD_FAILURE() << "a second pass"; });
    post.Wait();
    EXPECT_FALSE(watchdog.IsPassRunning());
    EXPECT_TRUE(messages.Texts().empty()) << "nothing is shown before the verdict is taken in";
    EXPECT_EQ(session.m_Stations, (std::vector<int>{1, 2, 3}));

    watchdog.OnPassDone(session);
    EXPECT_FALSE(watchdog.IsPassPending());
    EXPECT_EQ(messages.Texts(), (std::vector<std::string>{StationError(1), StationError(3)}));
    EXPECT_EQ(session.m_Stations, std::vector<int>{2});
    EXPECT_EQ(session.m_bConnected, 1);
    EXPECT_EQ(Requests(*drive), (std::vector<Bytes>{ReadRequest(1, kRegCommandWord), ReadRequest(2, kRegCommandWord),
                                                    ReadRequest(3, kRegCommandWord)}));
}

TEST(LinkWatchdog, AStoppedPassEndsBetweenProbesAndIsDropped)
{
    auto drive = StartDrive(DriveConfig({1, 2, 3, 4}, 1205));
    TestSession session;
    Connect(session, *drive, {1, 2, 3, 4});
    drive->SetSilent(kSimAllStations, true); // each probe waits out its time-out
    MessageRecorder messages;
    CLinkWatchdog watchdog;
    PassPost post;

    watchdog.BeginPass(session, post.Post());
    watchdog.StopPass();
    EXPECT_FALSE(watchdog.IsPassPending());
    post.Wait();
    watchdog.OnPassDone(session);
    EXPECT_LT(drive->GetFrameCount(), 4u);
    EXPECT_TRUE(messages.Texts().empty());
    EXPECT_EQ(session.m_Stations, (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(session.m_bConnected, 1);
}

TEST(LinkWatchdog, TicksDoNothingDuringACommandsTransfer)
{
    auto drive = StartDrive(DriveConfig({1}, 1205));
    TestSession session;
    Connect(session, *drive, {1});
    drive->SetSilent(1, true);
    MessageRecorder messages;
    CLinkWatchdog watchdog;
    {
        CDriveTransferScope transfer;
        watchdog.Tick(session);
        watchdog.BeginPass(session, [] { ADD_FAILURE() << "a pass during a transfer"; });
        EXPECT_FALSE(watchdog.IsPassPending());
    }
    EXPECT_EQ(drive->GetFrameCount(), 0u);
    EXPECT_TRUE(messages.Texts().empty());
    EXPECT_EQ(session.m_Stations, std::vector<int>{1});
}
