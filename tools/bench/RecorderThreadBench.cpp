// How long the window thread goes without handling events while the graph
// recorder records, and how quickly a closed recorder lets go. A probe thread
// asks the window thread to answer every 10 ms; the longest gap between
// answers is the figure. Against the simulated drive paced at line speed,
// through the real main frame, project window and recorder window:
//   - recording from a drive that answers at once (at line speed);
//   - recording from a drive that answers 1.5 s late (the read times out);
//   - recording during a link watchdog pass over a silent station;
//   - recording with auto-refresh running;
//   - the recorder opened from the menu (modal to the main frame) closed
//     while it records, on a healthy and on a late drive: the time from its
//     Close until the window is gone and the main frame takes input again,
//     and the requests that still reached the drive afterwards.
// Not a test: run it by hand under a display (xvfb-run).
//
//   d390_recorder_thread_bench [baud]

#include "document/D390DocData.h"
#include "monitor/GraphDlg.h"
#include "monitor/GraphSampler.h"
#include "monitor/GraphWindowFactory.h"
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

#include <wx/evtloop.h>
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

// Lets the window thread run its loop until done() holds; done() is asked
// on the window thread whenever the loop is idle, so it may act too. The
// main frame stays enabled, as a user has it.
class LoopUntil : public wxEvtHandler {
public:
    explicit LoopUntil(const std::function<bool()>& done) : m_done(done), m_wake(this)
    {
        wxTheApp->Bind(wxEVT_IDLE, &LoopUntil::OnIdle, this);
        Bind(wxEVT_TIMER, [](wxTimerEvent&) {});
        m_wake.Start(5);
    }
    ~LoopUntil() override { wxTheApp->Unbind(wxEVT_IDLE, &LoopUntil::OnIdle, this); }
    void Run()
    {
        if (m_done())
            return;
        m_running = true;
        m_loop.Run();
        m_running = false;
    }

private:
    void OnIdle(wxIdleEvent& event)
    {
        event.Skip();
        // Asked also while a nested loop runs (done() may act), ended only
        // from this loop.
        const bool finished = m_running && m_done();
        if (finished && m_loop.IsRunning())
            m_loop.Exit();
    }

    const std::function<bool()>& m_done;
    bool m_running = false;
    wxGUIEventLoop m_loop;
    wxTimer m_wake;
};

void RunLoopUntil(const std::function<bool()>& done)
{
    LoopUntil loop(done);
    loop.Run();
}

void RunFor(int milliseconds)
{
    const Clock::time_point until = Clock::now() + std::chrono::milliseconds(milliseconds);
    RunLoopUntil([until] { return Clock::now() >= until; });
}

void Report(const char* what, double longest, int answered, double took, size_t samples)
{
    std::printf("%-52s longest gap %7.1f ms  (%d answers in %.0f ms, %zu samples)\n", what, longest, answered, took,
                samples);
}

size_t RequestsSince(const CSimulatedDrive& drive, Clock::time_point since)
{
    size_t count = 0;
    for (const SimFrame& frame : drive.GetFrameLog())
        count += frame.time > since;
    return count;
}

// The last read of the monitor block (the recorder's, not a watchdog probe)
// that reached the drive after since, in ms; -1 when none did.
double LastSampleReadAfter(const CSimulatedDrive& drive, Clock::time_point since)
{
    double last = -1.0;
    for (const SimFrame& frame : drive.GetFrameLog())
        if (frame.time > since && frame.request.size() >= 4 && frame.request[1] == 0x03 &&
            frame.request[2] == 0x25 && frame.request[3] == 0x23)
            last = std::max(last, Ms(frame.time - since));
    return last;
}

// Records for a while in a recorder window open beside the main frame (as
// the control window keeps it), with during() started first.
void RecordWhile(CMainFrame& frame, const char* what, int milliseconds, const std::function<void()>& during = {},
                 const std::function<bool()>& until = {})
{
    auto* graph = static_cast<CGraphDlg*>(CreateGraphWindow(&frame, frame.Session(), frame.GetActiveProject()));
    graph->Show();
    RunFor(300);
    WindowThreadProbe probe;
    const Clock::time_point start = Clock::now();
    probe.Start();
    graph->Start();
    if (during)
        during();
    const Clock::time_point end = start + std::chrono::milliseconds(milliseconds);
    RunLoopUntil([&] { return Clock::now() >= end && (!until || until()); });
    int answered = 0;
    const double longest = probe.Stop(&answered);
    Report(what, longest, answered, Ms(Clock::now() - start), graph->Recorder().Samples().size());
    graph->Stop();
    graph->Destroy();
    RunFor(100);
}

// The recorder opened from the menu's road (modal to the main frame),
// recording, then closed: how long until the window is gone and the main
// frame is enabled again, and what reached the drive afterwards.
void CloseWhileRecording(CMainFrame& frame, CSimulatedDrive& drive, const char* what,
                         const std::function<void()>& atStart = {})
{
    auto* graph = static_cast<CGraphDlg*>(CreateGraphWindow(&frame, frame.Session(), frame.GetActiveProject()));
    bool done = false;
    Clock::time_point closed, returned;
    bool enabledAfter = false;
    wxTheApp->CallAfter([&] {
        RunModalToMainFrame(graph, &frame);
        returned = Clock::now();
        enabledAfter = frame.IsEnabled();
        done = true;
    });
    const Clock::time_point start = Clock::now();
    bool started = false;
    bool closing = false;
    WindowThreadProbe probe;
    probe.Start();
    RunLoopUntil([&] {
        const double elapsed = Ms(Clock::now() - start);
        if (!started && elapsed > 300) {
            graph->Start();
            if (atStart)
                atStart();
            started = true;
        }
        // Closed in the middle of a read, as a user's click finds it.
        if (started && !closing && elapsed > 1300 && graph->IsExchangeRunning()) {
            closing = true;
            closed = Clock::now();
            graph->Close();
        }
        return done;
    });
    int answered = 0;
    const double longest = probe.Stop(&answered);
    const Clock::time_point settled = Clock::now() + std::chrono::milliseconds(3000);
    const size_t leftAtReturn = CGraphSampler::LeftRunning();
    RunLoopUntil([&] { return Clock::now() >= settled; });
    CBackgroundJob::JoinReleasedJobs();
    std::printf("%-52s closed and main frame %s after %6.1f ms; longest gap %6.1f ms; read left running %zu; "
                "requests after the close returned %zu; last poll after Close: %s\n",
                what, enabledAfter ? "enabled" : "STILL DISABLED", Ms(returned - closed), longest, leftAtReturn,
                RequestsSince(drive, returned), MsOrNone(LastSampleReadAfter(drive, closed)).c_str());
}

} // namespace

int main(int argc, char** argv)
{
    const unsigned baud = argc > 1 ? static_cast<unsigned>(std::atoi(argv[1])) : 19200;
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    if (!StartBench())
        return 1;

    BenchProgram program("d390_recorder_thread_bench");
    const uint32_t model = 0x11004B5;
    if (!program.StartDrive({SimStationConfig{1, model, 1093}, SimStationConfig{2, model, 1093}}, baud))
        return 1;
    CSimulatedDrive& drive = program.Drive();
    drive.SetRegister(1, 0x2523, 5000);
    CMainFrame* started = program.StartProgram(argv);
    if (started) {
        CMainFrame& frame = *started;
        std::printf("simulated drive at %u baud\n", baud);
        frame.Show();
        RunFor(1000);

        RecordWhile(frame, "recording, drive answering at once", 3000);

        drive.SetReplyDelay(1, 1500);
        RecordWhile(frame, "recording, drive answering 1.5 s late", 3000);
        drive.SetReplyDelay(1, 0);
        RunFor(2500); // the late reply, then the line quiet again

        // Station 2 is listed but silent: the pass waits out its time-out
        // holding the link, and drops it.
        AppendStationRecord(frame.Session(), {2, static_cast<int>(model), 1093});
        drive.SetSilent(2, true);
        RecordWhile(
            frame, "recording during a watchdog pass over a silent station", 5000,
            [&frame] { frame.m_pConnectCommands->WatchdogTick(); },
            [&frame] { return !frame.m_pConnectCommands->IsWatchdogPassRunning(); });
        RunFor(1500);

        CD390View* view = frame.GetActiveProjectView();
        CAutoRefresh& reader = view->GetAutoRefresh()->GetReader();
        Command(frame, ID_AUTO_REFRESH);
        RecordWhile(frame, "recording with auto-refresh running", 3000);
        Command(frame, ID_AUTO_REFRESH);
        RunLoopUntil([&reader] { return !reader.IsCycleRunning(); });
        RunFor(300);

        CloseWhileRecording(frame, drive, "close while recording, drive answering at once");
        drive.SetReplyDelay(1, 1500);
        CloseWhileRecording(frame, drive, "close while recording, drive answering 1.5 s late");
        drive.SetReplyDelay(1, 0);
        RunFor(2500);
        // Closed while its read waits behind the pass's time-out and the
        // quiet the link keeps after it (station 2 is still silent).
        if (frame.Session().m_Stations.size() < 2)
            AppendStationRecord(frame.Session(), {2, static_cast<int>(model), 1093});
        CloseWhileRecording(frame, drive, "close while recording, watchdog pass failing",
                            [&frame] { frame.m_pConnectCommands->WatchdogTick(); });
        RunLoopUntil([&frame] { return !frame.m_pConnectCommands->IsWatchdogPassRunning(); });
        RunFor(1500);
    }

    return started ? 0 : 1;
}
