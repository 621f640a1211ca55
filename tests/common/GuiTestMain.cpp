// Test entry point of window tests (run under xvfb-run). A wx application is
// started without a main loop; any modal dialog that a test did not expect,
// and any wx assertion, fails the test instead of hanging the run.

#include "platform/ResourceModule.h"
#include "tests/common/GuiTestSupport.h"
#include "tests/common/MessageRecorder.h"
#include "tests/common/TestPaths.h"

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/dialog.h>
#include <wx/init.h>
#include <wx/log.h>
#include <wx/modalhook.h>

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

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    if (!LoadResourceModule(TestProgramFolder())) {
        fprintf(stderr, "resource module missing in %s\n", TestProgramFolder().c_str());
        return 1;
    }
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
    return result;
}
