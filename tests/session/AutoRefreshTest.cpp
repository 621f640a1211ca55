// The auto-refresh cycle against the simulated drive: values follow the drive,
// the group-14 rule by model class and version, a drive that falls silent,
// stopping in the middle of a cycle, and what is refused meanwhile.

#include "tests/session/RefreshTestSupport.h"

#include "link/CommTexts.h"
#include "link/Crc16.h"
#include "platform/ResourceModule.h"
#include "session/DriveSession.h"

#include <thread>

namespace {

using Outcome = CAutoRefresh::Outcome;

TEST_F(RefreshTest, DriveValuesBecomeSetValuesWithinACycleOrTwo)
{
    StartDrive(kRangeBModel);
    Toggle();
    ASSERT_TRUE(m_session.m_bAutoRefresh);
    EXPECT_TRUE(m_view.m_bTimer);
    EXPECT_EQ(m_session.m_nAutoRefreshStation, 1);
    EXPECT_EQ(FinishCycle(), Outcome::Applied);

    // The drive changes while the reader goes on; the user marked a row changed.
    ASSERT_TRUE(m_drive->SetRegister(1, 0x0003, 2));
    ASSERT_TRUE(m_drive->SetRegister(1, 0x0E00, 1));
    m_doc.m_Changed[0][3] = 1;
    int refreshes = m_view.m_refreshes;
    for (int cycle = 0; cycle < 2 && Param(0, 3).m_strValue != "2"; ++cycle)
        EXPECT_EQ(FinishCycle(), Outcome::Applied);

    EXPECT_EQ(Param(0, 3).m_strValue, "2");
    EXPECT_EQ(Param(0, 3).m_strRead, "2");
    EXPECT_EQ(Param(14, 0).m_strValue, "1");
    EXPECT_GT(m_view.m_refreshes, refreshes);
    EXPECT_EQ(m_doc.m_Changed[0][3], 0u) << "no refreshed value shows as changed";
    EXPECT_TRUE(m_messages.Texts().empty());

    // Only groups that changed are redrawn; a quiet drive redraws nothing.
    EXPECT_EQ(FinishCycle(false), Outcome::Applied);
    EXPECT_TRUE(m_view.m_refreshedGroups.empty());
    m_doc.m_Changed[5][0] = 1;
    ASSERT_TRUE(m_drive->SetRegister(1, 0x0201, 7));
    ASSERT_TRUE(m_refresh->OnTimer());
    EXPECT_EQ(FinishCycle(false), Outcome::Applied);
    EXPECT_EQ(m_view.m_refreshedGroups, (std::vector<int>{2, 5}));

    m_refresh->OnAutoRefresh(m_doc, [] { return -1; }); // off: no dialog is asked
    EXPECT_FALSE(m_session.m_bAutoRefresh);
    EXPECT_FALSE(m_view.m_bTimer);
    EXPECT_FALSE(IsAutoRefreshBusy());
}

// Group 14 by model class and the project's stored drive version.
struct Group14Case {
    const char* name;
    uint32_t model;
    float version;
    bool read;
    const char* why;
};

void PrintTo(const Group14Case& c, std::ostream* os)
{
    *os << c.why;
}

class Group14RuleTest : public RefreshTest, public ::testing::WithParamInterface<Group14Case> {};

TEST_P(Group14RuleTest, ReadOrKeptAsSet)
{
    const Group14Case& c = GetParam();
    StartDrive(c.model, c.version);
    const bool hasGroup14 = m_doc.FindParam(14, 0) != nullptr;
    if (hasGroup14) {
        Param(14, 0).m_strValue = "7"; // what the project holds, unlike the drive
        ASSERT_TRUE(m_drive->SetRegister(1, 0x0E00, 1));
    }
    Toggle();
    EXPECT_EQ(FinishCycle(), Outcome::Applied);

    EXPECT_EQ(FramesToGroup(14) > 0, c.read) << c.why;
    EXPECT_GT(FramesToGroup(13), 0) << c.why;
    if (hasGroup14) {
        EXPECT_EQ(Param(14, 0).m_strValue, c.read ? "1" : "7") << c.why;
        if (c.model > 0x1100000) {
            EXPECT_EQ(Param(14, 0).m_strRead, Param(14, 0).m_strValue) << c.why;
        }
    }
    m_refresh->Stop();
}

INSTANTIATE_TEST_SUITE_P(Models, Group14RuleTest,
    ::testing::Values(Group14Case{"RangeA1092", kRangeAModel, 1.092f, false, "range A below 1.093 has no group 14"},
                      Group14Case{"RangeA1093", kRangeAModel, 1.093f, true, "range A from 1.093 on reads group 14"},
                      Group14Case{"Boundary", kBoundaryModel, 1.2f, false, "0x1110000 is in neither range"},
                      Group14Case{"RangeB", kRangeBModel, 1.0f, true, "range B always reads group 14"},
                      Group14Case{"Old", kOldModel, 1.2f, false, "old models have no group 14"}),
    [](const ::testing::TestParamInfo<Group14Case>& info) { return std::string(info.param.name); });

TEST_F(RefreshTest, AnEditDuringACycleSurvivesInWhatTheDriveDoesNotHave)
{
    // Range A below 1.093: group 14 is not read; its read values follow the
    // set values.
    StartDrive(kRangeAModel, 1.092f);
    ASSERT_NE(m_doc.FindParam(14, 0), nullptr);
    Param(14, 0).m_strValue = "7";
    Toggle();
    // The window thread edits while the cycle reads.
    Param(14, 0).m_strValue = "9";
    EXPECT_EQ(FinishCycle(false), Outcome::Applied);
    EXPECT_EQ(Param(14, 0).m_strValue, "9") << "the edit is not undone";
    EXPECT_EQ(Param(14, 0).m_strRead, "9");
    m_refresh->Stop();
}

TEST_F(RefreshTest, SilentDriveMidCycleGivesOneMessageAndLeavesSetValues)
{
    StartDrive(kRangeBModel);
    Toggle();
    ASSERT_EQ(FinishCycle(false), Outcome::Applied);

    // The drive's values move on; then it falls silent in group 05 of the next cycle.
    ASSERT_TRUE(m_drive->SetRegister(1, 0x0003, 2));
    ASSERT_TRUE(m_drive->SetRegister(1, 0x0501, 3000));
    const std::string before0003 = Param(0, 3).m_strValue;
    const std::string before0501 = Param(5, 1).m_strValue;
    m_link.m_before = [this](int) {
        if (m_drive->GetFrameCount() > 0 && m_drive->GetFrameLog().back().request[2] == 4)
            m_drive->SetSilent(1, true);
    };
    m_drive->ClearFrameLog();
    ASSERT_TRUE(m_refresh->OnTimer());
    EXPECT_EQ(FinishCycle(false), Outcome::Failed);

    const std::string timeout = LoadResString(GetErrTypeTextId(kErrTimeout));
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{timeout});
    EXPECT_EQ(m_session.m_strLastError, timeout);
    EXPECT_FALSE(m_session.m_bAutoRefresh);
    EXPECT_FALSE(m_view.m_bTimer);
    EXPECT_FALSE(IsAutoRefreshBusy());
    EXPECT_EQ(Param(0, 3).m_strValue, before0003) << "groups before the failure keep their set values";
    EXPECT_EQ(Param(5, 1).m_strValue, before0501);
    EXPECT_EQ(Param(0, 3).m_strRead, "2") << "what was read stays as the read value";
    EXPECT_EQ(FramesToGroup(6), 0) << "the cycle ended at the failure";

    // Nothing more happens: no further cycle, no further message.
    const std::size_t frames = m_drive->GetFrameCount();
    EXPECT_FALSE(m_refresh->OnTimer());
    EXPECT_EQ(m_refresh->OnReadDone(), Outcome::None);
    EXPECT_EQ(m_drive->GetFrameCount(), frames);
    EXPECT_EQ(m_messages.Texts().size(), 1u);
}

TEST_F(RefreshTest, StopInTheMiddleOfACycleReturnsAfterItAndNothingFollows)
{
    StartDrive(kRangeBModel);
    ASSERT_TRUE(m_drive->SetRegister(1, 0x0003, 2));
    m_drive->SetReplyDelay(1, 5); // a cycle long enough to stop in
    std::mutex mutex;
    std::condition_variable cv;
    bool midCycle = false;
    m_link.m_before = [&](int count) {
        if (count == 20) {
            std::lock_guard lock(mutex);
            midCycle = true;
            cv.notify_all();
        }
    };
    Toggle();
    {
        std::unique_lock lock(mutex);
        ASSERT_TRUE(cv.wait_for(lock, std::chrono::seconds(30), [&] { return midCycle; }));
    }
    EXPECT_EQ(m_refresh->Stop(), Outcome::Applied) << "the cycle ran to its end";

    const std::size_t frames = m_drive->GetFrameCount();
    EXPECT_GT(FramesToGroup(14), 0) << "the last group of the cycle was read before Stop returned";
    EXPECT_EQ(Param(0, 3).m_strValue, "2");
    EXPECT_FALSE(m_session.m_bAutoRefresh);
    EXPECT_FALSE(m_view.m_bTimer);
    EXPECT_FALSE(IsAutoRefreshBusy());
    EXPECT_FALSE(m_refresh->OnTimer());
    EXPECT_EQ(m_refresh->OnReadDone(), Outcome::None) << "the late message finds nothing to take";
    // Anything still on its way would show within a few timer periods.
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_EQ(m_drive->GetFrameCount(), frames);
    EXPECT_EQ(m_link.m_count.load(), static_cast<int>(frames));
}

TEST_F(RefreshTest, CancelledStationDialogStartsNothing)
{
    StartDrive(kOldModel);
    m_refresh->OnAutoRefresh(m_doc, [] { return -1; });
    EXPECT_FALSE(m_session.m_bAutoRefresh);
    EXPECT_FALSE(m_view.m_bTimer);
    EXPECT_FALSE(m_refresh->IsCycleActive());
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(m_drive->GetFrameCount(), 0u);
}

TEST_F(RefreshTest, WhatWouldRaceTheReaderIsRefusedUntilItsCycleIsTakenIn)
{
    StartDrive(kOldModel);
    EXPECT_FALSE(RefusedWhileAutoRefresh());
    Toggle();
    EXPECT_TRUE(RefusedWhileAutoRefresh());
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{LoadResString(61576)});

    // The watchdog drops the station while the cycle runs: the cycle still
    // counts until the window thread has taken it in.
    m_session.m_bAutoRefresh = 0;
    EXPECT_TRUE(IsAutoRefreshBusy());
    ASSERT_TRUE(m_view.TakePosted());
    EXPECT_EQ(m_refresh->OnReadDone(), Outcome::Applied);
    EXPECT_FALSE(IsAutoRefreshBusy());
    EXPECT_FALSE(m_refresh->OnTimer()) << "no cycle after the flag was cleared";
    EXPECT_FALSE(m_view.m_bTimer);
}

TEST_F(RefreshTest, TheCycleWritesIntoItsOwnProjectWhateverTheWindowThreadReadsInto)
{
    StartDrive(kOldModel);
    ASSERT_TRUE(m_drive->SetRegister(1, 0x0003, 2));
    CD390DocData other;
    // A Read of another project on this thread meanwhile.
    CParamGroupIO otherRead(m_session.TransferContext(other));
    Toggle();
    EXPECT_EQ(FinishCycle(), Outcome::Applied);
    EXPECT_TRUE(other.m_Groups.empty());
    EXPECT_EQ(Param(0, 3).m_strValue, "2");
    m_refresh->Stop();
}

TEST_F(RefreshTest, TheViewGoingAwayEndsTheRun)
{
    StartDrive(kOldModel);
    Toggle();
    m_refresh.reset();
    const std::size_t frames = m_drive->GetFrameCount();
    EXPECT_FALSE(m_session.m_bAutoRefresh);
    EXPECT_FALSE(IsAutoRefreshBusy());
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_EQ(m_drive->GetFrameCount(), frames);
}

} // namespace
