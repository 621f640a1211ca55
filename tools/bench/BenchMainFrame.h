#pragma once
// What the benchmarks that drive the real main frame share: the program
// started connected with a project to the simulated drive paced at line
// speed, every modal dialog confirmed, a probe of the window thread's gaps,
// and the program taken down again. Start with StartBench() (BenchStart.h).

#include "platform/ProgramFolder.h"
#include "shell/D390App.h"
#include "shell/MainFrame.h"
#include "tools/SimulatedDrive.h"

#include <wx/app.h>
#include <wx/dialog.h>
#include <wx/docview.h>
#include <wx/init.h>
#include <wx/modalhook.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace bench {

using Clock = std::chrono::steady_clock;

inline double Ms(Clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

// A figure in ms, or "none" when there is none (below 0).
inline std::string MsOrNone(double ms)
{
    char text[32] = "none";
    if (ms >= 0)
        std::snprintf(text, sizeof text, "%.1f ms", ms);
    return text;
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
    // takeLateCalls: Stop() handles the calls posted after the end at once
    // (not wanted where Stop() runs inside a posted call itself).
    explicit WindowThreadProbe(bool takeLateCalls = true) : m_takeLateCalls(takeLateCalls) {}

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
        if (m_takeLateCalls)
            wxTheApp->ProcessPendingEvents();
        return longest;
    }

private:
    const bool m_takeLateCalls;
    std::thread m_thread;
    std::atomic<bool> m_stop{false};
    std::mutex m_mutex;
    std::vector<Clock::time_point> m_answers;
    Clock::time_point m_begin;
};

// A menu command of the main frame, as a click on it sends it.
inline void Command(CMainFrame& frame, int id)
{
    wxCommandEvent event(wxEVT_MENU, id);
    event.SetEventObject(&frame);
    frame.ProcessWindowEvent(event);
}

// Starts wx without a program; false (said why) when it cannot.
inline bool StartWx(char** argv)
{
    wxApp::SetInstance(new wxApp);
    int wxArgc = 1; // our own arguments are not wx's
    if (!wxEntryStart(wxArgc, argv)) {
        std::fprintf(stderr, "cannot start wx (is there a display?)\n");
        return false;
    }
    wxTheApp->CallOnInit();
    return true;
}

// The program as a user starts it, connected at start-up to the simulated
// drive with a project open, in a home and a temporary folder of its own
// (the profile and the hand-over file). Taken down, the drive stopped and the
// folder removed, when it goes.
class BenchProgram {
public:
    explicit BenchProgram(const char* name)
        : m_home((std::filesystem::temp_directory_path() / name).string() + "/")
    {
        std::filesystem::remove_all(m_home);
        std::filesystem::create_directories(m_home);
        setenv("TMPDIR", m_home.c_str(), 1); // where the hand-over file is looked for
        setenv("HOME", m_home.c_str(), 1);
        setenv("XDG_CONFIG_HOME", (m_home + "config").c_str(), 1);
    }

    BenchProgram(const BenchProgram&) = delete;
    BenchProgram& operator=(const BenchProgram&) = delete;

    ~BenchProgram()
    {
        if (m_app) {
            if (m_app->m_pDocManager) {
                for (wxDocument* document : m_app->m_pDocManager->GetDocumentsVector())
                    document->Modify(false);
                m_app->m_pDocManager->Clear(true);
            }
            delete m_app->m_pMainFrame;
            m_app->m_pMainFrame = nullptr;
            m_app->ProcessPendingEvents();
            m_app->ExitInstance();
            delete m_app->m_pDocManager;
            m_app->m_pDocManager = nullptr;
            m_confirm.Unregister();
            wxApp::SetInstance(m_plain);
            delete m_app;
        }
        if (m_drive)
            m_drive->Stop();
        std::filesystem::remove_all(m_home);
    }

    // Starts the drive on the program's definition files, paced at baud, and
    // names it in the hand-over file, as the start command does it: 8 data
    // bits, no parity, 2 stop bits.
    bool StartDrive(std::vector<SimStationConfig> stations, unsigned baud, bool ignoreEarly = false)
    {
        SimDriveConfig config;
        config.stations = std::move(stations);
        config.dataDir = m_folder;
        config.line = SimLineFormat{baud, 8, 'N', 2, ignoreEarly};
        m_drive = std::make_unique<CSimulatedDrive>(config);
        m_line = config.line;
        std::string error;
        if (!m_drive->Start(&error)) {
            std::fprintf(stderr, "simulated drive: %s\n", error.c_str());
            return false;
        }
        std::ofstream(m_home + "curfile.ini", std::ios::binary)
            << "2\n" + m_drive->GetPtyPath() + "\n" + std::to_string(baud) + "\n802\n1\n0\n";
        return true;
    }

    CSimulatedDrive& Drive() { return *m_drive; }
    const SimLineFormat& Line() const { return m_line; }

    // Starts wx and the program; its main frame, or nullptr (said why) when
    // it did not start connected with a project.
    CMainFrame* StartProgram(char** argv)
    {
        if (!StartWx(argv))
            return nullptr;
        m_plain = wxApp::GetInstance();
        m_app = new CD390App;
        wxApp::SetInstance(m_app);
        m_confirm.Register();
        if (!m_app->InitInstance({"d390"}, m_folder) || !m_app->m_pMainFrame ||
            !m_app->m_pMainFrame->Session().m_bConnected || !m_app->m_pMainFrame->GetActiveProjectView()) {
            std::fprintf(stderr, "the program did not start connected with a project\n");
            return nullptr;
        }
        return m_app->m_pMainFrame;
    }

private:
    const std::string m_folder = ExecutableFolder();
    std::string m_home;
    SimLineFormat m_line;
    std::unique_ptr<CSimulatedDrive> m_drive;
    wxAppConsole* m_plain = nullptr;
    CD390App* m_app = nullptr;
    ConfirmDialogs m_confirm;
};

} // namespace bench
