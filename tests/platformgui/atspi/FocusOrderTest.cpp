// What a screen reader hears as the focus moves through the main window with
// the keyboard: Tab and Shift+Tab between the project tree and the parameter
// list and back, and the list again once a dialog opened from it closes.
// Keys go through the X server; the focus is read over AT-SPI. Runs on a
// private session bus (dbus-run-session) under Xvfb.

#include "res/CommandIds.h"
#include "tests/platformgui/atspi/AtspiReading.h"
#include "tests/shellgui/MainWindowFixture.h"
#include "view/PrintTitleDlg.h"

#include <wx/timer.h>

#include <filesystem>

namespace {

// The program's own accessibility socket goes into the runtime folder, which
// GLib fixes at its first use: without XDG_RUNTIME_DIR that is the cache
// folder of the first test's temporary home, gone with that test. A folder
// of the run's own keeps it for every test.
struct RuntimeFolder {
    RuntimeFolder()
    {
        if (std::getenv("XDG_RUNTIME_DIR"))
            return;
        char pattern[] = "/tmp/d390-atspi-XXXXXX";
        if (mkdtemp(pattern)) {
            m_path = pattern;
            setenv("XDG_RUNTIME_DIR", pattern, 1);
        }
    }
    ~RuntimeFolder()
    {
        if (!m_path.empty())
            std::filesystem::remove_all(m_path);
    }
    std::string m_path;
} g_runtimeFolder;

struct Focused {
    std::string role, name;
    int columns = -1;
    std::string window;
};

struct FocusReading {
    std::vector<Focused> objects;
    long exitCode = 0;
    std::string errors;
};

class FocusOrderTest : public MainWindowFixture {
protected:
    FocusReading ReadFocus()
    {
        // The windows stay enabled: a disabled window has no focus to read.
        const ReaderOutput output = RunReader("read_focus.py", "", 5, wxEXEC_SYNC | wxEXEC_NODISABLE);
        FocusReading reading{{}, output.exitCode, output.errors};
        for (const std::vector<std::string>& parts : output.lines)
            if (parts[0] == "focus")
                reading.objects.push_back({parts[1], parts[2], std::atoi(parts[3].c_str()), parts[4]});
        return reading;
    }

    // What the reader takes as focused, in words: "tree", "list", or the
    // role and name of anything else.
    std::string FocusedControl()
    {
        FocusReading reading = ReadFocus();
        if (reading.exitCode != 0)
            return "reader failed: " + reading.errors;
        std::string shown;
        for (const Focused& object : reading.objects) {
            if (!shown.empty())
                shown += " + ";
            if (object.columns == 1 && object.name == "Project")
                shown += "tree";
            else if (object.columns == 3 && object.name == "Parameter")
                shown += "list";
            else
                shown += object.role + " '" + object.name + "'";
        }
        return shown.empty() ? "nothing" + (reading.errors.empty() ? std::string() : " (" + reading.errors + ")") : shown;
    }
};

} // namespace

TEST_F(FocusOrderTest, TabGoesFromTheTreeToTheListAndBackAndADialogGivesTheFocusBack)
{
    SKIP_WITHOUT_SESSION_BUS();
    StartWithProject();
    Tree()->SetFocus();
    Pump(300);
    FocusReading first = ReadFocus();
    if (first.exitCode == kNoAccessibilityBus)
        GTEST_SKIP() << "the accessibility bus did not start: " << first.errors;
    ASSERT_EQ(first.exitCode, 0) << first.errors;
    EXPECT_EQ(FocusedControl(), "tree");

    const struct {
        int modifiers;
        const char* focused;
    } presses[] = {{wxMOD_NONE, "list"}, {wxMOD_NONE, "tree"}, {wxMOD_SHIFT, "list"}, {wxMOD_SHIFT, "tree"},
                   {wxMOD_NONE, "list"}};
    for (const auto& press : presses) {
        Key(WXK_TAB, press.modifiers);
        EXPECT_EQ(FocusedControl(), press.focused) << (press.modifiers ? "Shift+Tab" : "Tab");
    }

    // A dialog opened from the list and closed: the list again.
    m_answer = [](wxDialog*) { return int(wxID_NONE); }; // shown for real
    std::string inDialog;
    wxTimer timer;
    timer.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
        for (wxWindow* window : wxTopLevelWindows)
            if (auto* dialog = dynamic_cast<CPrintTitleDlg*>(window); dialog && dialog->IsShown()) {
                // As a window manager gives a new dialog the focus (Xvfb has none).
                dialog->Raise();
                Pump(300);
                inDialog = FocusedControl();
                dialog->EndModal(wxID_CANCEL);
            }
    });
    timer.StartOnce(800);
    Command(ID_PRINT_TITLE);
    Pump(400);
    EXPECT_NE(inDialog, "") << "the dialog was shown";
    EXPECT_NE(inDialog.find("text"), std::string::npos) << "a field of the dialog had the focus: " << inDialog;
    EXPECT_EQ(FocusedControl(), "list") << "after the dialog closed";
}
