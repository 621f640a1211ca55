// How long the window thread goes without handling events while a live
// window (the keypad, the control window, the status monitor) polls a drive,
// and how soon each closes: a probe thread asks the window thread to answer
// every 10 ms, and the longest gap between answers is the figure. Through the
// real main frame and its menu commands, against the simulated drive paced
// at line speed:
//   - a drive that answers at once (on the line's time);
//   - a drive answering 1.5 s late (the link's time-out is shorter);
//   - a pass of the link watchdog over a silent second station;
//   - auto-refresh running on the project.
// After each, the window is closed (its close box): the time until the main
// frame takes input again, and the last request of the window's polling seen
// by the drive after the close.
// Not a test: run it by hand under a display (xvfb-run).
//
//   d390_live_windows_thread_bench [baud]

#include "monitor/KeyPadDlg.h"
#include "monitor/LiveExchange.h"
#include "monitor/MonitorControlDlg.h"
#include "monitor/MonitorStatusDlg.h"
#include "platform/BackgroundJob.h"
#include "platform/ModalWindow.h"
#include "res/CommandIds.h"
#include "session/DriveSession.h"
#include "session/LinkSetup.h"
#include "shell/ConnectCommands.h"
#include "shell/MainFrame.h"
#include "tools/SimulatedDrive.h"
#include "tools/bench/BenchMainFrame.h"
#include "tools/bench/BenchStart.h"
#include "view/D390View.h"
#include "view/ViewAutoRefresh.h"

#include <wx/timer.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

using namespace bench;

// Lets the window thread run its loop until done() holds; a timer wakes the
// loop to look again.
void RunLoopUntil(const std::function<bool()>& done)
{
    wxEvtHandler waker;
    wxTimer timer(&waker);
    waker.Bind(wxEVT_TIMER, [](wxTimerEvent&) {});
    timer.Start(10);
    RunModalWhile([&done] { return !done(); });
}

void RunLoopFor(int ms)
{
    const Clock::time_point until = Clock::now() + std::chrono::milliseconds(ms);
    RunLoopUntil([until] { return Clock::now() >= until; });
}

enum class Condition { Healthy, Late, Watchdog, AutoRefresh };

struct Window {
    const char* name;
    int command;
    std::function<wxWindow*()> find;
    std::function<void(wxWindow*)> start; // what starts its polling once open
};

template <typename T>
wxWindow* FindOpen()
{
    for (wxWindow* window : wxTopLevelWindows)
        if (dynamic_cast<T*>(window) && window->IsShown())
            return window;
    return nullptr;
}

struct Figures {
    double longest = 0.0;
    int answered = 0;
    double openMs = 0.0;
    double closeMs = -1.0; // Close to the command's return (the main frame enabled)
    bool frameEnabled = false;
    int framesWhileOpen = 0;
    double lastRequestAfterClose = -1.0; // -1: none
};

class Bench {
public:
    Bench(CMainFrame& frame, CSimulatedDrive& drive, uint32_t model)
        : m_frame(frame)
        , m_drive(drive)
        , m_model(model)
    {
    }

    // Opens the window by its menu command; measures for openMs (the
    // condition set up first), then closes it.
    Figures Run(const Window& window, Condition condition, int openMs)
    {
        Figures figures;
        if (condition == Condition::Late)
            m_drive.SetReplyDelay(1, 1500);
        if (condition == Condition::Watchdog) {
            m_drive.SetSilent(2, true);
            if (m_frame.Session().m_Stations.size() < 2)
                AppendStationRecord(m_frame.Session(), {2, static_cast<int>(m_model), 1093});
        }
        if (condition == Condition::AutoRefresh) {
            Command(m_frame, ID_AUTO_REFRESH);
            CAutoRefresh& reader = m_frame.GetActiveProjectView()->GetAutoRefresh()->GetReader();
            RunLoopUntil([&reader] { return reader.IsCycleRunning(); });
        }
        const std::size_t mark = m_drive.GetFrameCount();
        Clock::time_point closed;
        WindowThreadProbe probe(false); // stopped inside a posted call
        m_frame.CallAfter([&] {
            wxWindow* open = window.find();
            if (!open) {
                std::fprintf(stderr, "%s did not open\n", window.name);
                return;
            }
            const Clock::time_point began = Clock::now();
            probe.Start();
            if (window.start)
                window.start(open);
            if (condition == Condition::Watchdog)
                m_frame.m_pConnectCommands->WatchdogTick();
            RunLoopFor(openMs);
            // The pass has ended before the close: its probes are not the window's polling.
            RunLoopUntil([this] { return !m_frame.m_pConnectCommands->IsWatchdogPassRunning(); });
            figures.longest = probe.Stop(&figures.answered);
            figures.openMs = Ms(Clock::now() - began);
            figures.framesWhileOpen = static_cast<int>(m_drive.GetFrameCount() - mark);
            closed = Clock::now();
            open->Close(); // the close box
        });
        Command(m_frame, window.command);
        const Clock::time_point returned = Clock::now();
        figures.closeMs = Ms(returned - closed);
        figures.frameEnabled = m_frame.IsEnabled();

        // What the window's worker still had on the line ends by itself.
        RunLoopFor(condition == Condition::Late ? 2500 : 500);
        if (condition == Condition::Watchdog)
            RunLoopUntil([this] { return !m_frame.m_pConnectCommands->IsWatchdogPassRunning(); });
        CBackgroundJob::JoinReleasedJobs();
        for (const SimFrame& request : m_drive.GetFramesFrom(mark)) {
            if (request.time <= closed)
                continue;
            // Auto-refresh's own group reads are not the window's.
            if (condition == Condition::AutoRefresh && request.request.size() >= 6 && request.request[1] == 0x03) {
                const uint16_t reg = static_cast<uint16_t>(request.request[2] << 8 | request.request[3]);
                const int count = request.request[5];
                const bool keypadRead = (reg == 0x0002 && count == 5) || (reg == 0x000C && count == 2);
                if ((reg < 0x2000 && !keypadRead) || reg == 0x252F) // groups, series code
                    continue;
            }
            figures.lastRequestAfterClose = std::max(figures.lastRequestAfterClose, Ms(request.time - closed));
        }

        if (condition == Condition::Late)
            m_drive.SetReplyDelay(1, 0);
        if (condition == Condition::Watchdog) {
            RunLoopUntil([this] { return !m_frame.m_pConnectCommands->IsWatchdogPassRunning(); });
            wxTheApp->ProcessPendingEvents(); // the verdict
            m_drive.SetSilent(2, false);
        }
        if (condition == Condition::AutoRefresh)
            Command(m_frame, ID_AUTO_REFRESH);
        // After a failure the link holds the next request until the line has
        // been quiet for its first-byte time: one read here pays that, so
        // that the next case starts on a settled line.
        std::uint16_t word = 0;
        CLiveExchange(m_frame.Session()).Read(1, 0x2501, 1, &word);
        RunLoopFor(200);
        return figures;
    }

private:
    CMainFrame& m_frame;
    CSimulatedDrive& m_drive;
    uint32_t m_model;
};

void Report(const char* window, const char* condition, const Figures& f)
{
    std::printf("%-15s %-34s longest gap %7.1f ms (%3d answers in %5.0f ms, %3d frames); closed in %6.1f ms%s; "
                "last poll after Close: %s\n",
                window, condition, f.longest, f.answered, f.openMs, f.framesWhileOpen, f.closeMs,
                f.frameEnabled ? "" : " (main frame DISABLED)", MsOrNone(f.lastRequestAfterClose).c_str());
}

} // namespace

int main(int argc, char** argv)
{
    const unsigned baud = argc > 1 ? static_cast<unsigned>(std::atoi(argv[1])) : 19200;
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    if (!StartBench())
        return 1;

    BenchProgram program("d390_live_windows_thread_bench");
    const uint32_t model = 0x11004B5;
    if (!program.StartDrive({SimStationConfig{1, model, 1093}, SimStationConfig{2, model, 1093}}, baud))
        return 1;
    CSimulatedDrive& drive = program.Drive();
    for (int station : {1, 2}) {
        drive.SetRegister(station, 0x0002, 2);
        drive.SetRegister(station, 0x0005, 5);
    }
    CMainFrame* started = program.StartProgram(argv);
    if (started) {
        CMainFrame& frame = *started;
        std::printf("simulated drive at %u baud; each window polls station 1\n", baud);
        frame.Show();
        RunLoopFor(1000); // the windows are shown and drawn first, as a running program has them

        const auto press = [](int id) {
            return [id](wxWindow* window) {
                wxCommandEvent click(wxEVT_BUTTON, id);
                click.SetEventObject(window->FindWindow(id));
                window->ProcessWindowEvent(click);
            };
        };
        const Window windows[] = {
            {"KeyPad", ID_KEYPAD, FindOpen<CKeyPadDlg>, nullptr},
            {"Monitor Control", ID_MONITOR_CONTROL, FindOpen<CMonitorControlDlg>, nullptr},
            {"Monitor Status", ID_MONITOR_STATUS, FindOpen<CMonitorStatusDlg>, press(CMonitorStatusDlg::IDC_START)},
        };
        Bench bench(frame, drive, model);
        for (const Window& window : windows) {
            Report(window.name, "drive on the line's time", bench.Run(window, Condition::Healthy, 3000));
            // Closed while its request waits for the late reply; then open
            // through the time-out.
            Report(window.name, "drive 1.5 s late, closed mid-exchange", bench.Run(window, Condition::Late, 600));
            Report(window.name, "drive 1.5 s late, open 3 s", bench.Run(window, Condition::Late, 3000));
            Report(window.name, "watchdog pass over a silent station", bench.Run(window, Condition::Watchdog, 3000));
            Report(window.name, "auto-refresh running", bench.Run(window, Condition::AutoRefresh, 3000));
        }
    }

    return started ? 0 : 1;
}
