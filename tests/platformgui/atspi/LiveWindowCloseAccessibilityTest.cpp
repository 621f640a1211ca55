// A screen reader presses a live window's closing button (the control
// window's and the status monitor's Cancel, the keypad's Close) by its
// accessible action while the window's request waits for a late drive, or
// while a message box of a silent drive is up: the action arrives through
// the box's grab, in the box's own nested loop. Each live window alone and
// the control window with its status monitor and recorder; the window goes
// with its pending results and boxes, and the program goes on. Runs on a
// private session bus, bare and under a window manager.

#include "tests/common/PumpUntil.h"
#include "tests/monitorgui/LiveWindowCloseScenario.h"
#include "tests/platformgui/atspi/AtspiReading.h"

#include <wx/file.h>
#include <wx/filename.h>
#include <wx/process.h>

namespace {

// A reader run beside the process; its exit code once it ended.
class PressingReader : public wxProcess {
public:
    void OnTerminate(int, int status) override
    {
        m_status = status;
        m_ended = true;
    }
    bool m_ended = false;
    int m_status = -1;
};

bool IsBridgeComplaintOfAGoneObject(const std::string& domain, const std::string& message)
{
    static const std::pair<const char*, const char*> kComplaints[] = {
        { "Atk", "atk_state_set_contains_state: assertion 'ATK_IS_STATE_SET (set)' failed" },
        { "Atk", "atk_selection_ref_selection: assertion 'ATK_IS_SELECTION (obj)' failed" },
        { "Gtk", "gtk_accessible_get_widget: assertion 'GTK_IS_ACCESSIBLE (accessible)' failed" },
        { "Gtk", "gtk_container_forall: assertion 'GTK_IS_CONTAINER (container)' failed" },
        { "GLib-GObject", "g_object_unref: assertion 'G_IS_OBJECT (object)' failed" },
    };
    for (const auto& [from, text] : kComplaints)
        if (domain == from && message.find(text) != std::string::npos)
            return true;
    return false;
}

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
                // presses it the moment the case closes the window.
                const std::string when = wxFileName::CreateTempFileName("d390-press").utf8_string();
                wxRemoveFile(wxString::FromUTF8(when));
                // Its search meets what the accessibility bridge keeps of the
                // windows of the cases before (see RunReader): the bridge asks
                // those gone objects for their states, widgets and selections,
                // and complains of its own nothing; the program cannot reach
                // that cache.
                SetExpectedToolkitCritical(IsBridgeComplaintOfAGoneObject);
                auto reader = std::make_unique<PressingReader>();
                const wxString command =
                    wxString::Format("/usr/bin/python3 -B %s/platformgui/atspi/press_button.py %ld \"%s\" \"%s\" %s",
                        D390_TEST_SOURCE_DIR, static_cast<long>(getpid()), set.windowName, set.buttonName,
                        wxString::FromUTF8(when));
                ASSERT_GT(wxExecute(command, wxEXEC_ASYNC, reader.get()), 0) << what;
                LiveWindowCloseRun run(
                    m_state, m_project, set, CloseRoad::Accessibility, moment,
                    [this, moment] {
                        m_drive->SetReplyDelay(1, moment == CloseMoment::RequestWaits ? 1500 : 0);
                        m_drive->SetSilent(1, moment == CloseMoment::BoxUp);
                    },
                    [&when](const char*, const char*) { wxFile().Create(wxString::FromUTF8(when)); },
                    [&when] { return wxFileExists(wxString::FromUTF8(when + ".ready")); });
                run.Run();
                ExpectClosedCleanly(run, what, moment);
                // The reader pressed the button (it is not left waiting).
                PumpUntil([&reader] { return reader->m_ended; }, 12000);
                SetExpectedToolkitCritical(nullptr);
                EXPECT_TRUE(reader->m_ended) << what;
                EXPECT_EQ(reader->m_status, 0) << what;
                if (!reader->m_ended)
                    reader.release()->Detach(); // it deletes itself when it ends
                wxRemoveFile(wxString::FromUTF8(when));
                wxRemoveFile(wxString::FromUTF8(when + ".ready"));
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
