// How long the window thread is held by auto-refresh: each cycle it begins the
// reader (a snapshot of the records and a new thread) and later takes the
// result in (the values applied to the project). Both are timed over many
// cycles against the simulated drive; the worst case is the figure that
// matters. A Stop in the middle of a cycle waits for the rest of that cycle by
// design; it is timed separately. Not a test: run it by hand.
//
//   d390_refresh_bench [cycles] [baud]   (baud 0: unpaced)

#include "document/D390DocData.h"
#include "link/ParamGroupIO.h"
#include "link/SerialComm.h"
#include "platform/ProgramFolder.h"
#include "platform/ResourceModule.h"
#include "session/AutoRefresh.h"
#include "session/DriveSession.h"
#include "tools/SimulatedDrive.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

class BenchHost : public CAutoRefreshHost {
public:
    void PostReadDone() override
    {
        std::lock_guard lock(m_mutex);
        ++m_posted;
        m_cv.notify_all();
    }
    void SetReadTimer() override {}
    void KillReadTimer() override {}
    void RefreshValues(const std::vector<int>&) override {}
    void WaitPosted()
    {
        std::unique_lock lock(m_mutex);
        m_cv.wait(lock, [this] { return m_posted > 0; });
        --m_posted;
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_cv;
    int m_posted = 0;
};

double Ms(Clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

void Report(const char* what, std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    std::printf("%-34s median %7.3f ms   99%% %7.3f ms   max %7.3f ms\n", what, times[times.size() / 2],
                times[times.size() * 99 / 100], times.back());
}

} // namespace

int main(int argc, char** argv)
{
    const int cycles = argc > 1 ? std::max(2, std::atoi(argv[1])) : 20;
    // Paced at line speed unless told otherwise.
    const unsigned baud = argc > 2 ? static_cast<unsigned>(std::atoi(argv[2])) : 19200;
    const uint32_t model = 0x1110000 + 1202; // every group, group 14 included

    const std::string folder = ExecutableFolder();
    LoadResourceModule(folder);
    CDriveSession frame(NoFrameWindows());
    CD390DocData doc;
    doc.m_strProgramFolder = folder;
    doc.m_nModelCode = static_cast<int>(model);
    if (!doc.BuildForCurrentModel()) {
        std::fprintf(stderr, "no definition file in %s\n", folder.c_str());
        return 1;
    }
    doc.m_fDriveVersion = 1.2f;

    SimDriveConfig config;
    config.stations = {SimStationConfig{1, model, 1200}};
    config.dataDir = folder;
    config.line = SimLineFormat{baud, 8, 'E', 1};
    CSimulatedDrive drive(config);
    std::string error;
    if (!drive.Start(&error)) {
        std::fprintf(stderr, "simulated drive: %s\n", error.c_str());
        return 1;
    }
    CSerialComm comm;
    if (!comm.InitComm(drive.GetPtyPath(), baud ? baud : 19200, 8, 2, 1.0f)) {
        std::fprintf(stderr, "cannot open %s\n", drive.GetPtyPath().c_str());
        return 1;
    }
    frame.m_pComm = &comm;
    frame.m_bConnected = 1;

    BenchHost host;
    std::vector<double> begin, apply, cycle;
    {
        CAutoRefresh refresh(host, frame);
        auto started = Clock::now();
        refresh.OnAutoRefresh(doc, [] { return 1; });
        begin.push_back(Ms(Clock::now() - started));
        for (int n = 0; n < cycles; ++n) {
            host.WaitPosted();
            cycle.push_back(Ms(Clock::now() - started));
            auto t = Clock::now();
            if (refresh.OnReadDone() != CAutoRefresh::Outcome::Applied) {
                std::fprintf(stderr, "cycle %d failed: %s\n", n, frame.m_strLastError.c_str());
                return 1;
            }
            apply.push_back(Ms(Clock::now() - t));
            // A changing drive, so that the values applied really change.
            drive.SetRegister(1, 0x0003, static_cast<uint16_t>(n % 3));
            started = Clock::now();
            refresh.OnTimer();
            begin.push_back(Ms(Clock::now() - started));
        }
        // Stop halfway through the last begun cycle.
        std::vector<double> sorted = cycle;
        std::sort(sorted.begin(), sorted.end());
        std::this_thread::sleep_for(std::chrono::duration<double, std::milli>(sorted[sorted.size() / 2] / 2));
        auto t = Clock::now();
        refresh.Stop();
        std::printf("%d cycles of %zu records, baud %u%s\n", cycles, doc.m_Groups.size() * 100, baud,
                    baud ? "" : " (unpaced)");
        Report("window thread: begin a cycle", begin);
        Report("window thread: apply a cycle", apply);
        Report("a cycle, begin to posted", cycle);
        std::printf("%-34s %7.3f ms (waits for the running cycle)\n", "Stop in the middle of a cycle", Ms(Clock::now() - t));
    }
    comm.Close();
    drive.Stop();
    return 0;
}
