// Test entry point of window tests (run under xvfb-run). A wx application is
// started without a main loop; any modal dialog that a test did not expect,
// and any wx assertion, fails the test instead of hanging the run. A critical
// message of GTK or GLib (a failed check inside the toolkit, which it only
// prints) fails the test it came in, or the run when no test was running,
// also when it comes after main has returned.

#include "platform/ResourceModule.h"
#include "tests/common/GuiTestSupport.h"
#include "tests/common/MessageRecorder.h"
#include "tests/common/TestPaths.h"

#include <glib.h>
#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/dialog.h>
#include <wx/init.h>
#include <wx/log.h>
#include <wx/modalhook.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>

// GTK's font libraries keep caches until exit that LeakSanitizer reports as
// leaks; window test programs alone turn leak checking off (window-free tests
// keep it).
extern "C" const char* __asan_default_options()
{
    return "detect_leaks=0";
}

namespace {

std::function<int(wxDialog*)> g_modalAnswer;

class UnexpectedModalHook : public wxModalDialogHook {
protected:
    int Enter(wxDialog* dialog) override
    {
        if (g_modalAnswer)
            return g_modalAnswer(dialog);
        ADD_FAILURE() << "unexpected modal dialog: " << dialog->GetTitle().utf8_string();
        return wxID_CANCEL;
    }
    void Exit(wxDialog*) override {}
};

int g_criticalsOutsideTests = 0;
// Set once main has its result: what comes later comes from static destruction.
std::atomic<bool> g_mainReturned{false};

std::function<void(const std::string&, const std::string&)> g_toolkitObserver;
std::function<bool(const std::string&, const std::string&)> g_expectedCritical;

void FieldsOf(const GLogField* fields, gsize count, std::string& domain, std::string& message)
{
    for (gsize k = 0; k < count; ++k) {
        const std::string key = fields[k].key;
        const auto* value = static_cast<const char*>(fields[k].value);
        if (!value || fields[k].length > 0)
            continue;
        if (key == "GLIB_DOMAIN")
            domain = value;
        else if (key == "MESSAGE")
            message = value;
    }
}

// Every message of GLib, GTK and the libraries below them ends here, whether
// sent structured or through the old g_log calls (whose default handler
// passes them on).
GLogWriterOutput FailOnCritical(GLogLevelFlags level, const GLogField* fields, gsize count, gpointer data)
{
    std::string domain;
    std::string message;
    if (level & (G_LOG_LEVEL_CRITICAL | G_LOG_LEVEL_ERROR | G_LOG_LEVEL_WARNING))
        FieldsOf(fields, count, domain, message);
    if (g_mainReturned) {
        // Static destruction, with the observers gone and the run's status
        // decided: a critical ends the process with a failure of its own.
        g_log_writer_default(level, fields, count, data);
        if (level & (G_LOG_LEVEL_CRITICAL | G_LOG_LEVEL_ERROR)) {
            std::fprintf(stderr, "a critical message of the toolkit after the tests\n");
            std::fflush(stderr);
            std::_Exit(1);
        }
        return G_LOG_WRITER_HANDLED;
    }
    if (g_toolkitObserver && (level & (G_LOG_LEVEL_CRITICAL | G_LOG_LEVEL_WARNING)))
        g_toolkitObserver(domain, message);
    if (level & (G_LOG_LEVEL_CRITICAL | G_LOG_LEVEL_ERROR)) {
        if (g_expectedCritical && g_expectedCritical(domain, message))
            return g_log_writer_default(level, fields, count, data);
        if (::testing::UnitTest::GetInstance()->current_test_info())
            ADD_FAILURE() << domain << " critical: " << message;
        else
            ++g_criticalsOutsideTests;
    }
    return g_log_writer_default(level, fields, count, data);
}

void FailOnAssert(const wxString& file, int line, const wxString& func, const wxString& cond, const wxString& msg)
{
    ADD_FAILURE() << "wx assertion " << cond.utf8_string() << " (" << msg.utf8_string() << ") at "
                  << file.utf8_string() << ":" << line << " in " << func.utf8_string();
}

} // namespace

void SetModalAnswer(std::function<int(wxDialog*)> answer)
{
    g_modalAnswer = std::move(answer);
}

void SetExpectedToolkitCritical(std::function<bool(const std::string&, const std::string&)> expected)
{
    g_expectedCritical = std::move(expected);
}

bool WindowManagerRunning()
{
    // Set by tests/common/with-openbox.sh once openbox holds the display.
    const char* manager = std::getenv("D390_WINDOW_MANAGER");
    return manager && *manager;
}

void SetToolkitMessageObserver(std::function<void(const std::string&, const std::string&)> observer)
{
    g_toolkitObserver = std::move(observer);
}

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    if (!LoadResourceModule(TestProgramFolder())) {
        fprintf(stderr, "resource module missing in %s\n", TestProgramFolder().c_str());
        return 1;
    }
    // Before the toolkit starts: the writer can be set once only.
    g_log_set_writer_func(FailOnCritical, nullptr, nullptr);
    wxApp::SetInstance(new wxApp);
    if (!wxEntryStart(argc, argv)) {
        fprintf(stderr, "cannot start wx (is there a display?)\n");
        return 1;
    }
    wxTheApp->CallOnInit();
    // wx messages go to standard error: a log window would be a modal dialog
    // shown at cleanup, after the hook that answers dialogs is gone.
    delete wxLog::SetActiveTarget(new wxLogStderr);
    wxSetAssertHandler(FailOnAssert);
    UnexpectedModalHook hook;
    hook.Register();
    MessageRecorder stray;
    int result = RUN_ALL_TESTS();
    hook.Unregister();
    wxEntryCleanup();
    if (g_criticalsOutsideTests > 0) {
        fprintf(stderr, "%d critical message(s) of the toolkit outside any test\n", g_criticalsOutsideTests);
        result = 1;
    }
    g_mainReturned = true;
    return result;
}
