// How long a drive command started during a pass of the link watchdog waits
// beyond the pass. Stations 2 and 3 are silent: the pass's probes of them
// time out one after the other, so the gap between those two frames is the
// pass's own time-out, and the gap from the second to the command's first
// frame is that time-out plus the end of the wait (the windows enabled again,
// the verdict taken in) and the command's start. Their difference is what
// the wait adds. Against the simulated drive paced at line speed, through the
// real main frame:
//   - Password Release from the menu (the dialogs answered with OK);
//   - the row write of 00-14 in the editor of group 00, shown for real.
// Not a test: run it by hand under a display (xvfb-run).
//
//   d390_watchdog_wait_bench [baud] [rounds]

#include "editor/GroupPagePanel.h"
#include "editor/ParamGroupDlg.h"
#include "res/CommandIds.h"
#include "session/DriveSession.h"
#include "session/LinkSetup.h"
#include "shell/ConnectCommands.h"
#include "shell/MainFrame.h"
#include "tools/SimulatedDrive.h"
#include "tools/bench/BenchMainFrame.h"
#include "tools/bench/BenchStart.h"

#include <wx/notebook.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

namespace {

using namespace bench;

constexpr uint32_t kModel = 0x11004B5;
constexpr int kRowPage = 1;
constexpr int kRowButton = 1009; // 00-14

// The editor, shown for real, runs what m_run says, then is cancelled; the
// other dialogs go on to the program's hook, which confirms them. (A hook
// that lets the editor through to its own modal loop would be followed by
// that one.)
class RunTheEditor : public wxModalDialogHook {
public:
    std::function<void(CParamGroupDlg&)> m_run;

protected:
    int Enter(wxDialog* dialog) override
    {
        auto* editor = dynamic_cast<CParamGroupDlg*>(dialog);
        if (!editor || !m_run)
            return wxID_NONE;
        editor->Show();
        const Clock::time_point end = Clock::now() + std::chrono::seconds(5);
        while (!editor->IsShownOnScreen() && Clock::now() < end)
            wxTheApp->Yield(true);
        m_run(*editor);
        editor->Hide();
        return wxID_CANCEL;
    }
    void Exit(wxDialog*) override {}
};

void Click(wxWindow* button)
{
    wxCommandEvent click(wxEVT_BUTTON, button->GetId());
    click.SetEventObject(button);
    button->ProcessWindowEvent(click);
}

// The gaps of one round: the pass's own time-out, and the wait's end.
struct Gaps {
    double timeout = -1;
    double toCommand = -1;
};

// From the frame log: the probes of stations 2 and 3, then the next frame.
Gaps Measure(const CSimulatedDrive& drive)
{
    const std::vector<SimFrame> frames = drive.GetFrameLog();
    Gaps gaps;
    for (std::size_t k = 0; k + 2 < frames.size(); ++k) {
        if (frames[k].request.empty() || frames[k].request[0] != 2 || frames[k + 1].request.empty() ||
            frames[k + 1].request[0] != 3)
            continue;
        gaps.timeout = Ms(frames[k + 1].time - frames[k].time);
        gaps.toCommand = Ms(frames[k + 2].time - frames[k + 1].time);
        break;
    }
    return gaps;
}

void Report(const char* what, std::vector<Gaps> rounds)
{
    std::vector<double> added;
    double timeout = 0;
    for (const Gaps& gaps : rounds) {
        if (gaps.timeout < 0 || gaps.toCommand < 0)
            continue;
        added.push_back(gaps.toCommand - gaps.timeout);
        timeout += gaps.timeout;
    }
    if (added.empty()) {
        std::printf("%-34s no measure (the frames were not as expected)\n", what);
        return;
    }
    std::sort(added.begin(), added.end());
    std::printf("%-34s wait adds median %6.1f ms, max %6.1f ms  (time-out %.0f ms, %zu rounds)\n", what,
                added[added.size() / 2], added.back(), timeout / static_cast<double>(added.size()), added.size());
}

} // namespace

int main(int argc, char** argv)
{
    const unsigned baud = argc > 1 ? static_cast<unsigned>(std::atoi(argv[1])) : 19200;
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
    if (!StartBench())
        return 1;

    BenchProgram program("d390_watchdog_wait_bench");
    if (!program.StartDrive({SimStationConfig{1, kModel, 1093}, SimStationConfig{2, kModel, 1093},
                             SimStationConfig{3, kModel, 1093}},
                            baud))
        return 1;
    CSimulatedDrive& drive = program.Drive();
    CMainFrame* started = program.StartProgram(argv);
    if (!started)
        return 1;
    CMainFrame& frame = *started;
    frame.Show();
    RunTheEditor editorHook;
    editorHook.Register();
    std::printf("simulated drive at %u baud, stations 1 to 3, 2 and 3 silent\n", baud);

    auto beginPass = [&] {
        CDriveSession& session = frame.Session();
        for (int station : {2, 3})
            if (std::find(session.m_Stations.begin(), session.m_Stations.end(), station) == session.m_Stations.end())
                AppendStationRecord(session, {station, static_cast<int>(kModel), 1093});
        drive.SetSilent(2, true);
        drive.SetSilent(3, true);
        drive.ClearFrameLog();
        frame.m_pConnectCommands->WatchdogTick();
        return frame.m_pConnectCommands->IsWatchdogPassRunning();
    };

    std::vector<Gaps> password;
    for (int round = 0; round < rounds; ++round) {
        if (!beginPass())
            break;
        Command(frame, ID_PASSWORD_RELEASE);
        password.push_back(Measure(drive));
    }
    Report("Password Release during a pass", password);

    std::vector<Gaps> rowWrite;
    editorHook.m_run = [&](CParamGroupDlg& editor) {
        editor.Notebook()->SetSelection(kRowPage);
        if (beginPass())
            Click(editor.PagePanel(kRowPage)->FindWindow(kRowButton));
    };
    for (int round = 0; round < rounds; ++round) {
        Command(frame, ID_GROUP_00);
        rowWrite.push_back(Measure(drive));
    }
    Report("editor row write during a pass", rowWrite);
    editorHook.Unregister();
    return 0;
}
