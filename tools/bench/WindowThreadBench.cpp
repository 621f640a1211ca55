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
#include "platform/MessageBox.h"
#include "platform/ModalWindow.h"
#include "platform/ProgramFolder.h"
#include "platform/ResourceModule.h"
#include "res/CommandIds.h"
#include "session/DriveSession.h"
#include "session/LinkSetup.h"
#include "shell/ConnectCommands.h"
#include "shell/D390App.h"
#include "shell/MainFrame.h"
#include "tools/SimulatedDrive.h"
#include "tools/bench/BenchStart.h"
#include "view/D390View.h"
#include "view/ViewAutoRefresh.h"

#include <wx/app.h>
#include <wx/dialog.h>
#include <wx/docview.h>
#include <wx/init.h>
#include <wx/modalhook.h>
#include <wx/utils.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

// Every modal dialog is confirmed with OK at once.
class ConfirmDialogs : public wxModalDialogHook {
protected:
    int Enter(wxDialog* dialog) override
    {
        if (wxWindow* ok = dialog->FindWindow(wxID_OK)) {
            wxCommandEvent click(wxEVT_BUTTON, wxID_OK);
            click.SetEventObject(ok);
            ok->GetEventHandler()->ProcessEvent(click);
        }
        return dialog->GetReturnCode() ? dialog->GetReturnCode() : wxID_OK;
    }
    void Exit(wxDialog*) override {}
};

// Posts a call to the window thread every 10 ms and notes when each one was
// answered.
class WindowThreadProbe {
public:
    void Start()
    {
        {
            std::lock_guard lock(m_mutex);
            m_answers.clear();
        }
        m_stop = false;
        m_begin = Clock::now();
        m_thread = std::thread([this] {
            while (!m_stop.load()) {
                wxTheApp->CallAfter([this] {
                    std::lock_guard lock(m_mutex);
                    m_answers.push_back(Clock::now());
                });
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            }
        });
    }

    // Ends the measure: the longest time the window thread went without
    // answering, from the start to the end.
    double Stop(int* answered = nullptr)
    {
        const Clock::time_point end = Clock::now();
        m_stop = true;
        m_thread.join();
        std::vector<Clock::time_point> answers;
        {
            std::lock_guard lock(m_mutex);
            answers = m_answers;
        }
        double longest = 0.0;
        Clock::time_point last = m_begin;
        int count = 0;
        for (Clock::time_point answer : answers) {
            if (answer > end)
                break;
            longest = std::max(longest, Ms(answer - last));
            last = answer;
            ++count;
        }
        longest = std::max(longest, Ms(end - last));
        if (answered)
            *answered = count;
        wxTheApp->ProcessPendingEvents(); // the calls posted late
        return longest;
    }

private:
    std::thread m_thread;
    std::atomic<bool> m_stop{false};
    std::mutex m_mutex;
    std::vector<Clock::time_point> m_answers;
    Clock::time_point m_begin;
};

void Command(CMainFrame& frame, int id)
{
    wxCommandEvent event(wxEVT_MENU, id);
    event.SetEventObject(&frame);
    frame.ProcessWindowEvent(event);
}

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
    const std::string folder = ExecutableFolder();

    // A home and a temporary folder of its own: the profile and the hand-over file.
    const std::string home = (std::filesystem::temp_directory_path() / "d390_window_thread_bench").string() + "/";
    std::filesystem::remove_all(home);
    std::filesystem::create_directories(home);
    setenv("TMPDIR", home.c_str(), 1); // where the hand-over file is looked for
    setenv("HOME", home.c_str(), 1);
    setenv("XDG_CONFIG_HOME", (home + "config").c_str(), 1);

    constexpr int kStations = 32;
    const uint32_t model = 0x11004B5;
    SimDriveConfig config;
    config.stations.clear();
    for (int station = 1; station <= kStations; ++station)
        config.stations.push_back(SimStationConfig{station, model, 1093});
    config.dataDir = folder;
    config.line = SimLineFormat{baud, 8, 'N', 2};
    CSimulatedDrive drive(config);
    std::string error;
    if (!drive.Start(&error)) {
        std::fprintf(stderr, "simulated drive: %s\n", error.c_str());
        return 1;
    }
    std::ofstream(home + "curfile.ini", std::ios::binary)
        << "2\n" + drive.GetPtyPath() + "\n" + std::to_string(baud) + "\n802\n1\n0\n";

    wxApp::SetInstance(new wxApp);
    int wxArgc = 1; // our own arguments are not wx's
    if (!wxEntryStart(wxArgc, argv)) {
        std::fprintf(stderr, "cannot start wx (is there a display?)\n");
        return 1;
    }
    wxTheApp->CallOnInit();
    wxAppConsole* plain = wxApp::GetInstance();
    auto* app = new CD390App;
    wxApp::SetInstance(app);
    ConfirmDialogs confirm;
    confirm.Register();
    int status = 0;
    if (!app->InitInstance({"d390"}, folder) || !app->m_pMainFrame || !app->m_pMainFrame->Session().m_bConnected ||
        !app->m_pMainFrame->GetActiveProjectView()) {
        std::fprintf(stderr, "the program did not start connected with a project\n");
        status = 1;
    }
    WindowThreadProbe probe;
    if (status == 0) {
        CMainFrame& frame = *app->m_pMainFrame;
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

    if (app->m_pDocManager) {
        for (wxDocument* document : app->m_pDocManager->GetDocumentsVector())
            document->Modify(false);
        app->m_pDocManager->Clear(true);
    }
    delete app->m_pMainFrame;
    app->m_pMainFrame = nullptr;
    app->ProcessPendingEvents();
    app->ExitInstance();
    delete app->m_pDocManager;
    app->m_pDocManager = nullptr;
    confirm.Unregister();
    wxApp::SetInstance(plain);
    delete app;
    drive.Stop();
    std::filesystem::remove_all(home);
    return status;
}
