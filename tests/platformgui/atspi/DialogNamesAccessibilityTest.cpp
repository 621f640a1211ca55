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

#include <iostream>

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

TEST_F(DialogNamesAccessibility, Dump)
{
    SKIP_WITHOUT_SESSION_BUS();
    StartWithProject();
    auto* models = new CModelSelectDlg(&Frame(), m_app->m_strProgramFolder, "D390-2P2-Hxx");
    models->Show();
    g_strCommPort = "/dev/ttyS0";
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
    for (const auto& [role, name] : reading.windows)
        std::cout << "W " << role << " | " << name << "\n";
    for (const Control& c : reading.controls)
        std::cout << c.window << " | " << c.role << " | " << c.name << " | " << c.description << " | "
                  << c.focusable << " | " << c.labelledBy << "\n";
    std::cout << reading.errors;
    for (wxWindow* w : {(wxWindow*)models, (wxWindow*)connect, (wxWindow*)control, (wxWindow*)set, (wxWindow*)span})
        w->Destroy();
    for (wxWindow* window : wxTopLevelWindows)
        if (auto* preview = dynamic_cast<wxPreviewFrame*>(window))
            preview->Close();
    Pump(200);
}
