// What a screen reader says of each control of the program's dialogs as the
// keyboard reaches it, over AT-SPI: every field, list and radio button named
// by its own label, and the dialogs read as dialogs. Runs on a private
// session bus (dbus-run-session), under openbox where focus matters.

#include "document/ModelSelectDlg.h"
#include "monitor/GraphSetDlg.h"
#include "monitor/MonitorControlDlg.h"
#include "monitor/SetTimeDlg.h"
#include "res/CommandIds.h"
#include "session/CommSettings.h"
#include "shell/ConnectDlg.h"
#include "tests/platformgui/atspi/AtspiReading.h"
#include "tests/shellgui/MainWindowFixture.h"

#include <wx/printdlg.h>

#include <set>

namespace {

struct Control {
    std::string window, role, name, description;
    bool focusable = false;
    std::string labelledBy;
};

struct Controls {
    std::vector<std::pair<std::string, std::string>> windows; // role, name
    std::vector<Control> controls;
    long exitCode = 0;
    std::string errors;
};

class DialogNamesAccessibility : public MainWindowFixture {
protected:
    Controls ReadControls()
    {
        const ReaderOutput output = RunReader("read_controls.py", "", 7);
        Controls reading{{}, {}, output.exitCode, output.errors};
        for (const std::vector<std::string>& parts : output.lines) {
            if (parts[0] == "window")
                reading.windows.push_back({parts[1], parts[2]});
            else if (parts[0] == "control")
                reading.controls.push_back({parts[1], parts[2], parts[3], parts[4], parts[5] == "1", parts[6]});
        }
        return reading;
    }
};

} // namespace

TEST_F(DialogNamesAccessibility, EveryControlIsReadByItsOwnLabelOnDesktop)
{
    SKIP_WITHOUT_SESSION_BUS();
    if (!WindowManagerRunning())
        GTEST_SKIP() << "needs a window manager (with-openbox.sh)";
    StartWithProject();
    auto* models = new CModelSelectDlg(&Frame(), m_app->m_strProgramFolder, kPlainModel);
    models->Show();
    g_strCommPort = "/dev/ttyS0"; // no adapter search
    auto* connect = new CConnectDlg(&Frame(), Frame().Session(), Doc()->m_nModelCode);
    connect->Show();
    auto* control = new CMonitorControlDlg(&Frame(), Frame().Session(), 0, Doc());
    control->Show();
    auto* set = new CGraphSetDlg(&Frame(), {1, 3}, 0x11004B2);
    set->Show();
    auto* span = new CSetTimeDlg(&Frame());
    span->Show();
    Command(ID_FILE_PRINT_PREVIEW);
    Pump(500);
    const Controls reading = ReadControls();
    for (wxWindow* window : std::initializer_list<wxWindow*>{models, connect, control, set, span})
        window->Destroy();
    for (wxWindow* window : wxTopLevelWindows)
        if (auto* preview = dynamic_cast<wxPreviewFrame*>(window))
            preview->Close();
    Pump(200);
    if (reading.exitCode == kNoAccessibilityBus)
        GTEST_SKIP() << "the accessibility bus did not start: " << reading.errors;
    ASSERT_EQ(reading.exitCode, 0) << reading.errors;

    auto find = [&](const std::string& window, const std::string& role, const std::string& name) -> const Control* {
        for (const Control& control : reading.controls)
            if (control.window == window && control.role == role && control.name == name)
                return &control;
        return nullptr;
    };
    // What a reader says as the keyboard reaches each control: window, role, name.
    const struct {
        const char* window;
        const char* role;
        const char* name;
    } expected[] = {
        {"Model Select", "combo box", "Frequency"},
        {"Model Select", "combo box", "Model"},
        {"Connect", "text", "Port"},
        {"Connect", "text", "Station Num"},
        {"Connect", "combo box", "TCPIP"},
        {"Monitor Control", "combo box", "Station Num"},
        {"Monitor Control", "text", "Frequency (Hz)"},
        {"Parameter Set", "combo box", "Station Num"},
        {"Parameter Set", "combo box", "Yellow Curve"},
        {"Parameter Set", "text", "Yellow Curve Maximum"},
        {"Parameter Set", "text", "Yellow Curve Minimum"},
        {"Parameter Set", "text", "Blue Curve Maximum"},
        {"Parameter Set", "text", "Blue Curve Minimum"},
        {"Set Time", "text", "Time Interval, minutes"},
        {"Set Time", "text", "Time Interval, seconds"},
        {"Print Preview", "text", "Page"},
        {"Print Preview", "combo box", "Zoom"},
        {"Print Preview", "scroll pane", "Page 1 of 8"},
    };
    for (const auto& control : expected)
        EXPECT_TRUE(find(control.window, control.role, control.name))
            << control.window << ": " << control.role << " '" << control.name << "'";

    // The radio buttons that take the focus, each read with its group.
    const struct {
        const char* button;
        const char* group;
    } radios[] = {{"4800", "Baud rate"}, {"19200", "Baud rate"}, {"7 bits", "Data bits"}, {"8 bits", "Data bits"},
                  {"None", "Parity"},    {"1 bit", "Stop bits"}, {"2 bits", "Stop bits"}};
    for (const auto& radio : radios) {
        const Control* button = find("Connect", "radio button", radio.button);
        ASSERT_TRUE(button) << radio.button;
        EXPECT_EQ(button->description, radio.group) << radio.button;
    }

    // The page of the preview in words: its title block and its rows.
    const Control* page = find("Print Preview", "scroll pane", "Page 1 of 8");
    ASSERT_TRUE(page);
    EXPECT_NE(page->description.find("Parameter Setting List"), std::string::npos) << page->description;
    EXPECT_NE(page->description.find("00-01"), std::string::npos) << page->description;

    // No control that takes the focus goes unnamed or is named by what it shows.
    const std::set<std::string> values = {"50.00", "60.00", kPlainModel, "70%", "1", "3", "0"};
    for (const Control& control : reading.controls) {
        if (control.window == "D390 - New Project" || !control.focusable || control.role == "panel" ||
            control.role == "scroll pane" || control.role == "page tab list")
            continue;
        EXPECT_FALSE(control.name.empty()) << control.window << ": an unnamed " << control.role;
        EXPECT_EQ(values.count(control.name), 0u) << control.window << ": a " << control.role << " named by its value";
    }

    // The program's dialogs are read as dialogs; the preview is a window.
    const std::set<std::string> dialogs = {"Model Select", "Connect", "Monitor Control", "Parameter Set", "Set Time"};
    for (const auto& [role, name] : reading.windows) {
        if (dialogs.count(name)) {
            EXPECT_EQ(role, "dialog") << name;
        }
    }
}
