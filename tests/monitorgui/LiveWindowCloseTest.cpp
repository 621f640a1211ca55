// Closing a live window never ends the program: closed by its button, its
// close box or Esc while its request waits for a late drive, or while a
// message box of a silent drive is up, each live window alone and the
// control window with its status monitor and recorder, the window goes with
// its pending results and its boxes. The same cases run under a window
// manager (the focus then decides no box's owner).

#include "tests/monitorgui/LiveWindowCloseScenario.h"

namespace {

class LiveWindowCloseTest : public LiveWindowFixture {
protected:
    void RunCases(const std::vector<CloseRoad>& roads)
    {
        for (const CloseMoment moment : { CloseMoment::RequestWaits, CloseMoment::BoxUp }) {
            for (const WindowSet& set : LiveWindowSets()) {
                if (moment == CloseMoment::BoxUp && !set.raisesBoxes)
                    continue;
                for (const CloseRoad road : roads) {
                    if (!RoadApplies(set, road))
                        continue;
                    const std::string what = std::string(set.name) + " by " + RoadName(road) + " " + MomentName(moment);
                    LiveWindowCloseRun run(m_state, m_project, set, road, moment, [this, moment] { Arm(moment); });
                    run.Run();
                    ExpectClosedCleanly(run, what, moment);
                    m_drive->SetReplyDelay(1, 0);
                    m_drive->SetSilent(1, false);
                }
            }
        }
    }
    // Late: past the link's 1 s time-out, so that a request waits the whole
    // second. Silent: every request times out, and its window says so.
    void Arm(CloseMoment moment)
    {
        m_drive->SetReplyDelay(1, moment == CloseMoment::RequestWaits ? 1500 : 0);
        m_drive->SetSilent(1, moment == CloseMoment::BoxUp);
    }
};

class LiveWindowCloseOnDesktop : public LiveWindowCloseTest {};

} // namespace

TEST_F(LiveWindowCloseTest, AClosedWindowTakesItsPendingResultsAndBoxesWithIt)
{
    RunCases({ CloseRoad::Button, CloseRoad::CloseBox, CloseRoad::Escape });
}

TEST_F(LiveWindowCloseOnDesktop, AClosedWindowTakesItsPendingResultsAndBoxesWithIt)
{
    if (!WindowManagerRunning())
        GTEST_SKIP() << "needs a window manager (run under tests/common/with-openbox.sh)";
    RunCases({ CloseRoad::Button, CloseRoad::CloseBox, CloseRoad::Escape });
}
