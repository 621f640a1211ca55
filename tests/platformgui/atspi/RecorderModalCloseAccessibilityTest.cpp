// A screen reader presses the control window's or the status monitor's
// Cancel by its accessible action while one of the recorder's modal dialogs
// (Parameter Set, Set Time, the export format, a file chooser) runs over the
// recorder those windows opened: the press arrives in the dialog's own loop.
// The dialog ends as by Esc, the code that showed it returns, and the windows
// go afterwards. Runs on a private session bus, bare and under a window
// manager.

#include "tests/common/PumpUntil.h"
#include "tests/monitorgui/LiveWindowModalCloseScenario.h"
#include "tests/platformgui/atspi/AtspiReading.h"

#include <wx/file.h>
#include <wx/filename.h>
#include <wx/process.h>

namespace {

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

// What the accessibility bridge says of the gone windows of the cases before
// (the reader's search meets its cache of them), and what it asks of a
// notebook page the toolkit has just taken out while the status monitor's
// notebook is deleted; the program reaches neither.
bool IsBridgeComplaintOfAGoneObject(const std::string& domain, const std::string& message)
{
    static const std::pair<const char*, const char*> kComplaints[] = {
        { "Atk", "atk_state_set_contains_state: assertion 'ATK_IS_STATE_SET (set)' failed" },
        { "Atk", "atk_selection_ref_selection: assertion 'ATK_IS_SELECTION (obj)' failed" },
        { "Gtk", "gtk_accessible_get_widget: assertion 'GTK_IS_ACCESSIBLE (accessible)' failed" },
        { "Gtk", "gtk_container_forall: assertion 'GTK_IS_CONTAINER (container)' failed" },
        { "GLib-GObject", "g_object_unref: assertion 'G_IS_OBJECT (object)' failed" },
        { "Gtk", "gtk_notebook_get_tab_label: assertion 'list != NULL' failed" },
    };
    for (const auto& [from, text] : kComplaints)
        if (domain == from && message.find(text) != std::string::npos)
            return true;
    return false;
}

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
                const std::string when = wxFileName::CreateTempFileName("d390-press").utf8_string();
                wxRemoveFile(wxString::FromUTF8(when));
                SetExpectedToolkitCritical(IsBridgeComplaintOfAGoneObject);
                auto reader = std::make_unique<PressingReader>();
                const wxString command =
                    wxString::Format("/usr/bin/python3 -B %s/platformgui/atspi/press_button.py %ld \"%s\" \"%s\" %s",
                        D390_TEST_SOURCE_DIR, static_cast<long>(getpid()), road.windowName, road.buttonName,
                        wxString::FromUTF8(when));
                ASSERT_GT(wxExecute(command, wxEXEC_ASYNC, reader.get()), 0) << what;
                RecorderModalCloseRun run(
                    m_state, m_project, dialog, road,
                    [&when](RecorderWindows&) { wxFile().Create(wxString::FromUTF8(when)); },
                    [&when] { return wxFileExists(wxString::FromUTF8(when + ".ready")); });
                run.Run();
                ExpectRecorderClosedCleanly(run, road, what);
                PumpUntil([&reader] { return reader->m_ended; }, 12000);
                SetExpectedToolkitCritical(nullptr);
                EXPECT_TRUE(reader->m_ended) << what;
                EXPECT_EQ(reader->m_status, 0) << what;
                if (!reader->m_ended)
                    reader.release()->Detach(); // it deletes itself when it ends
                wxRemoveFile(wxString::FromUTF8(when));
                wxRemoveFile(wxString::FromUTF8(when + ".ready"));
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
