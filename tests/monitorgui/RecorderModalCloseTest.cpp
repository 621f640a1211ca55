// Closing the recorder, or the window that opened it, while one of the
// recorder's modal dialogs runs: the dialog ends as by Esc, the code that
// showed it returns into a window that still exists, and the window goes
// afterwards. Every dialog by every road, bare and under a window manager.

#include "monitor/GraphCtrl.h"
#include "tests/monitorgui/LiveWindowModalCloseScenario.h"

#include <wx/menu.h>

namespace {

class RecorderModalCloseTest : public LiveWindowFixture {
protected:
    void RunCases()
    {
        for (const RecorderClose& road : RecorderCloses()) {
            for (const RecorderDialog& dialog : RecorderDialogs()) {
                const std::string what = std::string(dialog.name) + " closed by " + road.name;
                RecorderModalCloseRun run(m_state, m_project, dialog, road);
                run.Run();
                ExpectRecorderClosedCleanly(run, road, what);
            }
        }
    }
};

class RecorderModalCloseOnDesktop : public RecorderModalCloseTest {};

} // namespace

TEST_F(RecorderModalCloseTest, ADialogRunningOverAClosedRecorderEndsBeforeTheRecorderGoes)
{
    RunCases();
}

TEST_F(RecorderModalCloseOnDesktop, ADialogRunningOverAClosedRecorderEndsBeforeTheRecorderGoes)
{
    if (!WindowManagerRunning())
        GTEST_SKIP() << "needs a window manager (run under tests/common/with-openbox.sh)";
    RunCases();
}


// The recorder's popup menu runs a loop of its own, as a dialog does: a close
// meanwhile takes the menu down, and the recorder goes once the right click
// that opened it has returned. Every road of closing.
TEST_F(RecorderModalCloseTest, APopupMenuOverAClosedRecorderIsTakenDownFirst)
{
    for (const RecorderClose& road : RecorderCloses()) {
        const std::string what = std::string("the popup menu closed by ") + road.name;
        RecorderWindows windows;
        road.open(m_state, m_project, windows);
        wxWeakRef<wxWindow> top = windows.top;
        wxMenu* menu = nullptr;
        bool closeAsked = false, clickReturned = false, controlStayed = false, timedOut = false;
        wxEvtHandler posts, ticks;
        wxTimer timer(&ticks);
        wxStopWatch clock;
        ticks.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
            if (menu && !closeAsked && clock.Time() > 200) {
                closeAsked = true;
                road.close(windows); // from inside the menu's loop
                return;
            }
            if (closeAsked && !road.closesTop && clickReturned && !windows.graph && top && top->IsShown()) {
                controlStayed = true;
                top->Close();
            }
            if (clock.Time() > 10000 && !timedOut) {
                timedOut = true;
                if (menu && closeAsked)
                    ADD_FAILURE() << what << ": the menu stayed up";
                if (top && top->IsShown())
                    top->Close();
            }
        });
        timer.Start(10);
        posts.CallAfter([&] {
            road.openRecorder(windows);
            auto* graph = static_cast<CGraphDlg*>(windows.graph.get());
            graph->Bind(wxEVT_MENU_OPEN, [&](wxMenuEvent& event) {
                menu = event.GetMenu();
                event.Skip();
            });
            graph->Bind(wxEVT_MENU_CLOSE, [&](wxMenuEvent& event) {
                menu = nullptr;
                event.Skip();
            });
            clock.Start();
            // A right click on the chart, as the toolkit delivers it.
            wxMouseEvent right(wxEVT_RIGHT_DOWN);
            right.SetPosition(wxPoint(40, 40));
            right.SetEventObject(graph->Chart());
            graph->Chart()->GetEventHandler()->ProcessEvent(right);
            clickReturned = true;
        });
        RunModalToMainFrame(windows.top);
        timer.Stop();
        EXPECT_FALSE(timedOut) << what;
        EXPECT_TRUE(closeAsked) << what << ": the menu did not come";
        EXPECT_TRUE(clickReturned) << what;
        EXPECT_FALSE(windows.graph) << what;
        EXPECT_FALSE(top) << what;
        if (!road.closesTop) {
            EXPECT_TRUE(controlStayed) << what << ": the control window went with its recorder";
        }
    }
}
