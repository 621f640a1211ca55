// The graph recorder's pace and drawing cost. Not a test: run it by hand
// under a display (xvfb-run -a -s "-screen 0 1280x1024x24").
//
//   d390_graph_bench [seconds]
//
// (1) The recorder window samples the simulated drive, paced at 19200 baud
//     8E1, for the given wall time (60 s): samples recorded over the samples of
//     an exact 100 ms grid, and the 95th percentile of the interval error;
//     again with the view's auto-refresh reader sharing the link.
// (2) The whole chart rendered at 1280 x 800 with one hour of samples, and
//     with one minute: the ratio of the two, and the one-hour render as a
//     share of the 100 ms period; for a paint after each new sample (the
//     chart's steady state) and for the first paint after a resize.

#include "document/D390DocData.h"
#include "link/ParamGroupIO.h"
#include "link/SerialComm.h"
#include "monitor/GraphCurves.h"
#include "monitor/GraphDlg.h"
#include "monitor/GraphRenderer.h"
#include "platform/MessageBox.h"
#include "platform/ProgramFolder.h"
#include "platform/ResourceModule.h"
#include "session/AutoRefresh.h"
#include "session/DriveSession.h"
#include "tools/SimulatedDrive.h"
#include "tools/bench/BenchMainFrame.h"
#include "tools/bench/BenchStart.h"

#include <wx/app.h>
#include <wx/dcmemory.h>
#include <wx/evtloop.h>
#include <wx/init.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

void Pump(double seconds)
{
    auto end = Clock::now() + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
    while (Clock::now() < end) {
        wxTheApp->ProcessPendingEvents();
        wxYield();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

// Posts each finished auto-refresh cycle to the window thread, which takes it
// in and begins the next one at once.
class BenchRefreshHost : public CAutoRefreshHost {
public:
    CAutoRefresh* m_refresh = nullptr;
    int m_cycles = 0;
    bool m_running = true;
    void PostReadDone() override
    {
        wxTheApp->CallAfter([this] {
            if (!m_running || !m_refresh)
                return;
            if (m_refresh->OnReadDone() == CAutoRefresh::Outcome::Applied)
                ++m_cycles;
            m_refresh->OnTimer();
        });
    }
    void SetReadTimer() override {}
    void KillReadTimer() override {}
    void RefreshValues(const std::vector<int>&) override {}
};

struct PaceResult {
    size_t samples = 0;
    double p95ErrorMs = 0;
    double maxErrorMs = 0;
};

PaceResult MeasurePace(CDriveSession& state, CD390DocData& project, double seconds)
{
    auto* window = new CGraphDlg(nullptr, state, state.m_Stations, project.m_nModelCode, &project);
    window->Show();
    Pump(0.3);
    CGraphRecorder& recorder = window->Recorder();
    recorder.SetMsPerDivision(static_cast<int>(seconds * 1000)); // keeps every sample
    window->Start();
    Pump(seconds);
    window->Stop();
    PaceResult result;
    const auto& samples = recorder.Samples();
    result.samples = samples.size();
    std::vector<double> errors;
    for (size_t i = 1; i < samples.size(); ++i)
        errors.push_back(std::fabs((samples[i].clock - samples[i - 1].clock) * 1000 - 100.0));
    std::sort(errors.begin(), errors.end());
    if (!errors.empty()) {
        result.p95ErrorMs = errors[std::min(errors.size() - 1, errors.size() * 95 / 100)];
        result.maxErrorMs = errors.back();
    }
    window->Destroy();
    Pump(0.1);
    return result;
}

// Slow swings of the whole scale with sample-to-sample noise of up to noise
// units (of 1000): 10 is a drive's jitter, 97 fills every column of an hour.
struct BenchSignal {
    int noise = 10;
    int next = 0;
    GraphSample Next()
    {
        GraphSample sample;
        sample.clock = next * 0.1;
        for (int c = 0; c < kGraphChannels; ++c)
            sample.plotted[c] = 500 + 450 * std::sin(next * 0.01 * (c + 1)) + (next * 7919 % noise);
        ++next;
        return sample;
    }
};

void FillStore(CGraphRecorder& recorder, double seconds, BenchSignal& signal)
{
    recorder.SetMsPerDivision(static_cast<int>(seconds * 1000 / 4));
    recorder.ResetSamples();
    signal.next = 0;
    while (signal.next * 0.1 <= seconds)
        recorder.AppendSamples(signal.Next());
}

// The median paint of the whole chart. As on screen, a paint follows each
// new sample, which with a full store drops the oldest and moves every
// column; after a resize, the view also copies the store afresh.
double RenderMs(CGraphRecorder& recorder, BenchSignal& signal, int repeats, bool afresh)
{
    wxBitmap bitmap(1280, 800, 24);
    wxMemoryDC dc(bitmap);
    GraphViewState view;
    view.cursor = {640, 300};
    DrawGraphChart(dc, wxSize(1280, 800), recorder, view);
    std::vector<double> times;
    for (int i = 0; i < repeats; ++i) {
        if (afresh)
            DrawGraphChart(dc, wxSize(1280, 790), recorder, view);
        recorder.AppendSamples(signal.Next());
        auto start = Clock::now();
        DrawGraphChart(dc, wxSize(1280, 800), recorder, view);
        times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

void ReportPace(CDriveSession& state, CD390DocData& project, double seconds, const std::string& folder)
{
    const double grid = seconds * 10;
    PaceResult alone = MeasurePace(state, project, seconds);
    std::printf("(1) sampling alone:        %zu samples over %.0f of the 100 ms grid = %.3f; interval error p95 %.1f ms, max %.1f ms\n",
                alone.samples, grid, alone.samples / grid, alone.p95ErrorMs, alone.maxErrorMs);

    // The table the reader refreshes; building it would reset the channels
    // the graph window starts from, so it is a document of its own.
    CD390DocData doc;
    doc.m_strProgramFolder = folder;
    doc.m_nModelCode = project.m_nModelCode;
    if (doc.BuildForCurrentModel()) {
        doc.m_fDriveVersion = 1.2f;
        BenchRefreshHost host;
        {
            CAutoRefresh refresh(host, state);
            host.m_refresh = &refresh;
            refresh.OnAutoRefresh(doc, [] { return 1; });
            PaceResult shared = MeasurePace(state, project, seconds);
            host.m_running = false;
            refresh.Stop();
            std::printf("    with auto-refresh:     %zu samples over %.0f = %.3f; interval error p95 %.1f ms, max %.1f ms (%d refresh cycles)\n",
                        shared.samples, grid, shared.samples / grid, shared.p95ErrorMs, shared.maxErrorMs, host.m_cycles);
        }
    } else {
        std::printf("    with auto-refresh:     skipped (no definition file in %s)\n", folder.c_str());
    }

}

} // namespace

int main(int argc, char** argv)
{
    double seconds = argc > 1 ? std::atof(argv[1]) : 60.0;
    if (!StartBench())
        return 1;
    const std::string folder = ExecutableFolder();
    if (!bench::StartWx(argv))
        return 1;

    const uint32_t model = 0x1110000 + 1202;
    SimDriveConfig config;
    config.stations = {SimStationConfig{1, model, 1200}};
    config.dataDir = folder;
    config.line = SimLineFormat{19200, 8, 'E', 1};
    CSimulatedDrive drive(config);
    std::string error;
    if (!drive.Start(&error)) {
        std::fprintf(stderr, "simulated drive: %s\n", error.c_str());
        return 1;
    }
    CSerialComm comm;
    if (!comm.InitComm(drive.GetPtyPath(), 19200, 8, 2, 1.0f)) {
        std::fprintf(stderr, "cannot open %s\n", drive.GetPtyPath().c_str());
        return 1;
    }
    CD390DocData project;
    project.m_strProgramFolder = folder;
    project.m_nModelCode = static_cast<int>(model);
    project.ResetGraphChannels();
    project.m_strGraphSource[0] = "Output Frequency";
    project.m_strGraphSource[1] = "DC Voltage";
    CDriveSession state(NoFrameWindows());
    state.m_pComm = &comm;
    state.m_bConnected = 1;
    state.m_Stations = {1};
    state.m_StationModels = {static_cast<int>(model)};

    if (seconds > 0) // 0: the render figures alone
        ReportPace(state, project, seconds, folder);
    CSystemGraphClock clock;
    CGraphRecorder recorder(clock);
    for (int c = 0; c < kGraphChannels; ++c)
        recorder.SetChannel(c, "Set Frequency", "1000", "0");
    recorder.ApplyScaleRule();
    for (int noise : {10, 97}) {
        BenchSignal signal;
        signal.noise = noise;
        for (bool afresh : {false, true}) {
            // Alternated, so that a change of the machine's load touches both alike.
            std::vector<double> minutes, hours;
            for (int round = 0; round < 5; ++round) {
                FillStore(recorder, 60, signal);
                minutes.push_back(RenderMs(recorder, signal, 9, afresh));
                FillStore(recorder, 3600, signal);
                hours.push_back(RenderMs(recorder, signal, 9, afresh));
            }
            std::sort(minutes.begin(), minutes.end());
            std::sort(hours.begin(), hours.end());
            double minute = minutes[minutes.size() / 2];
            double hour = hours[hours.size() / 2];
            std::printf("(2) render 1280 x 800, noise %2d/1000, %s: one minute %.2f ms, one hour %.2f ms (%zu samples); "
                        "ratio %.2f; one hour = %.1f%% of 100 ms\n",
                        noise, afresh ? "first paint after a resize    " : "a paint after each new sample",
                        minute, hour, recorder.Samples().size(), hour / minute, hour);
        }
    }

    comm.Close();
    drive.Stop();
    wxEntryCleanup();
    return 0;
}
