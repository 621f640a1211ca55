// A screen reader presses the control window's or the status monitor's
// Cancel by its accessible action while one of the recorder's modal dialogs
// (Parameter Set, Set Time, the export format, a file chooser) runs over the
// recorder those windows opened: the press arrives in the dialog's own loop.
// The dialog ends as by Esc, the code that showed it returns, and the windows
// go afterwards. Runs on a private session bus, bare and under a window
// manager.

#include "tests/monitorgui/LiveWindowModalCloseScenario.h"
#include "tests/platformgui/atspi/AtspiReading.h"
#include "tests/platformgui/atspi/ReaderPress.h"

namespace {

class RecorderModalCloseAccessibilityTest : public LiveWindowFixture {
protected:
    void RunCases()
    {
        SKIP_WITHOUT_SESSION_BUS();
        if (RunReader("read_focus.py", "", 5).NoBus())
            GTEST_SKIP() << "the accessibility bus did not start";
        for (const RecorderClose& road : RecorderCloses()) {
            if (!road.buttonName)
                continue;
            for (const RecorderDialog& dialog : RecorderDialogs()) {
                const std::string what = std::string(dialog.name) + " closed by a reader's press of " + road.name;
                ReaderPress reader(road.windowName, road.buttonName);
                ASSERT_TRUE(reader.Started()) << what;
                RecorderModalCloseRun run(
                    m_state, m_project, dialog, road, [&reader](RecorderWindows&) { reader.PressNow(); },
                    [&reader] { return reader.Ready(); });
                run.Run();
                ExpectRecorderClosedCleanly(run, road, what);
                reader.ExpectPressed(what);
            }
        }
    }
};

class RecorderModalCloseAccessibilityOnDesktop : public RecorderModalCloseAccessibilityTest {};

} // namespace

TEST_F(RecorderModalCloseAccessibilityTest, APressOfCancelOverARecorderDialogEndsItBeforeTheWindowsGo)
{
    RunCases();
}

TEST_F(RecorderModalCloseAccessibilityOnDesktop, APressOfCancelOverARecorderDialogEndsItBeforeTheWindowsGo)
{
    if (!WindowManagerRunning())
        GTEST_SKIP() << "needs a window manager (run under tests/common/with-openbox.sh)";
    RunCases();
}
