// How long the window thread goes without handling events while the drive is
// busy: a probe thread asks the window thread to answer every 10 ms, and the
// longest gap between answers is the figure. Against the simulated drive
// paced at line speed, through the real main frame and project window:
//   - Read from the menu (the station dialog answered with OK);
//   - a pass of the link watchdog over 32 stations;
//   - auto-refresh turned off in the middle of a cycle, the list redrawing
//     what the cycle read.
// Not a test: run it by hand under a display (xvfb-run).
//
//   d390_window_thread_bench [baud]

#include "document/D390DocData.h"
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

#include <wx/utils.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using namespace bench;

// Lets the window thread run its loop until done() holds.
void RunLoopUntil(const std::function<bool()>& done)
{
    // The probe's calls wake the loop often enough to look again.
    RunModalWhile([&done] { return !done(); });
}

void Report(const char* what, double longest, int answered, double took)
{
    std::printf("%-44s longest gap %7.1f ms  (%d answers in %.0f ms)\n", what, longest, answered, took);
}

} // namespace

int main(int argc, char** argv)
{
    const unsigned baud = argc > 1 ? static_cast<unsigned>(std::atoi(argv[1])) : 19200;
    if (!StartBench())
        return 1;

    BenchProgram program("d390_window_thread_bench");
    constexpr int kStations = 32;
    const uint32_t model = 0x11004B5;
    std::vector<SimStationConfig> stations;
    for (int station = 1; station <= kStations; ++station)
        stations.push_back(SimStationConfig{station, model, 1093});
    if (!program.StartDrive(stations, baud))
        return 1;
    CSimulatedDrive& drive = program.Drive();
    CMainFrame* started = program.StartProgram(argv);
    WindowThreadProbe probe;
    if (started) {
        CMainFrame& frame = *started;
        std::printf("simulated drive at %u baud, %d stations\n", baud, kStations);
        // The windows are shown and drawn first, as a running program has them.
        frame.Show();
        const Clock::time_point settled = Clock::now() + std::chrono::milliseconds(1000);
        probe.Start();
        RunLoopUntil([settled] { return Clock::now() >= settled; });
        probe.Stop();

        // Read from the menu.
        int answered = 0;
        Clock::time_point start = Clock::now();
        probe.Start();
        Command(frame, ID_READ);
        double longest = probe.Stop(&answered);
        Report("Read", longest, answered, Ms(Clock::now() - start));

        // A pass of the watchdog over every station.
        for (int station = 2; station <= kStations; ++station)
            AppendStationRecord(frame.Session(), {station, static_cast<int>(model), 1093});
        start = Clock::now();
        probe.Start();
        frame.m_pConnectCommands->WatchdogTick();
        RunLoopUntil([&frame] { return !frame.m_pConnectCommands->IsWatchdogPassRunning(); });
        wxTheApp->ProcessPendingEvents(); // the verdict
        longest = probe.Stop(&answered);
        Report("link watchdog pass over 32 stations", longest, answered, Ms(Clock::now() - start));
        if (frame.Session().m_Stations.size() != static_cast<std::size_t>(kStations))
            std::fprintf(stderr, "the watchdog dropped stations\n");

        // Auto-refresh: one cycle timed, then off in the middle of the next.
        CD390View* view = frame.GetActiveProjectView();
        CAutoRefresh& reader = view->GetAutoRefresh()->GetReader();
        Command(frame, ID_AUTO_REFRESH);
        RunLoopUntil([&reader] { return reader.IsCycleRunning(); });
        Clock::time_point cycleBegan = Clock::now();
        RunLoopUntil([&reader] { return !reader.IsCycleRunning(); });
        const Clock::duration cycle = Clock::now() - cycleBegan;
        // The next cycle reads other values in every group it can: taking it
        // in redraws them in the list.
        int changed = 0;
        for (int group = 0; group <= 14; ++group)
            for (int item = 0; item < 100; ++item) {
                const auto reg = static_cast<uint16_t>(group << 8 | item);
                uint16_t value = 0;
                if (drive.GetRegister(1, reg, &value) && drive.SetRegister(1, reg, static_cast<uint16_t>(value ^ 1)))
                    ++changed;
            }
        RunLoopUntil([&reader] { return reader.IsCycleRunning(); });
        cycleBegan = Clock::now();
        RunLoopUntil([&] { return Clock::now() - cycleBegan >= cycle / 2; });
        const std::vector<GroupRec> shownBefore = view->GetDocData()->m_Groups;
        start = Clock::now();
        probe.Start();
        Command(frame, ID_AUTO_REFRESH);
        longest = probe.Stop(&answered);
        int redrawn = 0;
        const std::vector<GroupRec>& shownAfter = view->GetDocData()->m_Groups;
        for (std::size_t group = 0; group < shownAfter.size() && group < shownBefore.size(); ++group)
            for (std::size_t item = 0; item < shownAfter[group].m_Params.size(); ++item)
                if (item < shownBefore[group].m_Params.size() &&
                    shownAfter[group].m_Params[item].m_strValue != shownBefore[group].m_Params[item].m_strValue)
                    ++redrawn;
        Report("auto-refresh off in the middle of a cycle", longest, answered, Ms(Clock::now() - start));
        std::printf("%-44s %7.1f ms; %d registers changed for the last one, %d values redrawn\n",
                    "(one auto-refresh cycle)", Ms(cycle), changed, redrawn);
    }

    return started ? 0 : 1;
}
