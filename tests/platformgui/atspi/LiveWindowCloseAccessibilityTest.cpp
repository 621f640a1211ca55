// A screen reader presses a live window's closing button (the control
// window's and the status monitor's Cancel, the keypad's Close) by its
// accessible action while the window's request waits for a late drive, or
// while a message box of a silent drive is up: the action arrives through
// the box's grab, in the box's own nested loop. Each live window alone and
// the control window with its status monitor and recorder; the window goes
// with its pending results and boxes, and the program goes on. Runs on a
// private session bus, bare and under a window manager.

#include "tests/monitorgui/LiveWindowCloseScenario.h"
#include "tests/platformgui/atspi/AtspiReading.h"
#include "tests/platformgui/atspi/ReaderPress.h"

namespace {

class LiveWindowCloseAccessibilityTest : public LiveWindowFixture {
protected:
    void RunCases()
    {
        SKIP_WITHOUT_SESSION_BUS();
        if (RunReader("read_focus.py", "", 5).NoBus())
            GTEST_SKIP() << "the accessibility bus did not start";
        for (const CloseMoment moment : { CloseMoment::RequestWaits, CloseMoment::BoxUp }) {
            for (const WindowSet& set : LiveWindowSets()) {
                if ((moment == CloseMoment::BoxUp && !set.raisesBoxes) || !RoadApplies(set, CloseRoad::Accessibility))
                    continue;
                const std::string what = std::string(set.name) + " by the accessibility action " + MomentName(moment);
                // The reader finds the button while the windows open and
                // presses it the moment the case closes the window. Its
                // search meets what the accessibility bridge keeps of the
                // windows of the cases before (see RunReader): the bridge
                // complains of those gone objects, which the program cannot
                // reach.
                ReaderPress reader(set.windowName, set.buttonName);
                ASSERT_TRUE(reader.Started()) << what;
                LiveWindowCloseRun run(
                    m_state, m_project, set, CloseRoad::Accessibility, moment,
                    [this, moment] {
                        m_drive->SetReplyDelay(1, moment == CloseMoment::RequestWaits ? 1500 : 0);
                        m_drive->SetSilent(1, moment == CloseMoment::BoxUp);
                    },
                    [&reader](const char*, const char*) { reader.PressNow(); },
                    [&reader] { return reader.Ready(); });
                run.Run();
                ExpectClosedCleanly(run, what, moment);
                reader.ExpectPressed(what);
                m_drive->SetReplyDelay(1, 0);
                m_drive->SetSilent(1, false);
            }
        }
    }
};

class LiveWindowCloseAccessibilityOnDesktop : public LiveWindowCloseAccessibilityTest {};

} // namespace

TEST_F(LiveWindowCloseAccessibilityTest, APressOfTheClosingButtonTakesPendingResultsAndBoxesAlong)
{
    RunCases();
}

TEST_F(LiveWindowCloseAccessibilityOnDesktop, APressOfTheClosingButtonTakesPendingResultsAndBoxesAlong)
{
    if (!WindowManagerRunning())
        GTEST_SKIP() << "needs a window manager (run under tests/common/with-openbox.sh)";
    RunCases();
}
