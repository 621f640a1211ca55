// Closing the recorder, or the window that opened it, while one of the
// recorder's modal dialogs runs: the dialog ends as by Esc, the code that
// showed it returns into a window that still exists, and the window goes
// afterwards. Every dialog by every road, bare and under a window manager.

#include "tests/monitorgui/LiveWindowModalCloseScenario.h"

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
