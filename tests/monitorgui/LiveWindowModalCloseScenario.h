#pragma once
// Closing a live window while one of the recorder's own modal dialogs runs
// (Parameter Set, Set Time, the export format, the system's file choosers),
// each shown for real with its nested loop, the recorder opened as the
// program opens it: from the control window, from the status monitor's
// control window, or alone from the Monitor menu. The close comes from inside
// the dialog's loop, by the control window's or the status monitor's Cancel
// or by the recorder's close box. A dialog deleted under its own loop, or
// code running in a window already freed, ends the run (the address
// sanitizer names it).

#include "monitor/GraphDlg.h"
#include "monitor/GraphSetDlg.h"
#include "monitor/MonitorControlDlg.h"
#include "monitor/MonitorStatusDlg.h"
#include "monitor/SetTimeDlg.h"
#include "platform/BackgroundJob.h"
#include "platform/ModalWindow.h"
#include "tests/common/GuiTestSupport.h"
#include "tests/monitorgui/LiveWindowFixture.h"
#include "view/ExportFormatDlg.h"

#include <gtk/gtk.h>
#include <wx/button.h>
#include <wx/filedlg.h>
#include <wx/stopwatch.h>
#include <wx/timer.h>
#include <wx/weakref.h>

#include <functional>
#include <string>
#include <vector>

// A modal dialog of the recorder: the command that shows it and how to tell
// it from the dialogs shown before it on the way.
struct RecorderDialog {
    const char* name;
    void (CGraphDlg::*command)();
    std::function<bool(wxDialog*)> isIt;
};

inline std::vector<RecorderDialog> RecorderDialogs()
{
    auto chooser = [](wxDialog* d) { return dynamic_cast<wxFileDialog*>(d) != nullptr; };
    return {
        { "Parameter Set", &CGraphDlg::Set, [](wxDialog* d) { return dynamic_cast<CGraphSetDlg*>(d) != nullptr; } },
        { "Dim Time", &CGraphDlg::DimTime, [](wxDialog* d) { return dynamic_cast<CSetTimeDlg*>(d) != nullptr; } },
        { "the export format", &CGraphDlg::Export,
            [](wxDialog* d) { return dynamic_cast<CExportFormatDlg*>(d) != nullptr; } },
        { "Export's file chooser", &CGraphDlg::Export, chooser },
        { "Import's file chooser", &CGraphDlg::Import, chooser },
        { "Save(*.BMP)'s file chooser", &CGraphDlg::SaveBmp, chooser },
    };
}

// The recorder's windows of one case, as the program opens them.
struct RecorderWindows {
    wxWindow* top = nullptr; // run modal to the (absent) main frame
    wxWeakRef<wxWindow> status, control, graph;
};

// How the recorder is opened and which window is closed how.
struct RecorderClose {
    const char* name;
    std::function<void(CDriveSession&, CD390DocData&, RecorderWindows&)> open;
    // Once top is shown: opens the recorder through the windows' buttons.
    std::function<void(RecorderWindows&)> openRecorder;
    // The close, from inside the dialog's loop.
    std::function<void(RecorderWindows&)> close;
    // Whether the close takes the window run modal (so all) with it.
    bool closesTop;
    // The window and button a reader presses for the same close (none for a
    // close box).
    const char* windowName = nullptr;
    const char* buttonName = nullptr;
};

inline void ClickButton(wxWindow* window, int id)
{
    if (auto* button = dynamic_cast<wxButton*>(window ? window->FindWindow(id) : nullptr))
        gtk_button_clicked(GTK_BUTTON(button->GetHandle()));
    else
        ADD_FAILURE() << "no button " << id;
}

inline std::vector<RecorderClose> RecorderCloses()
{
    auto control = [](CDriveSession& state, CD390DocData& project, RecorderWindows& w) {
        w.top = w.control = new CMonitorControlDlg(nullptr, state, 0, &project);
    };
    auto graphOfControl = [](RecorderWindows& w) {
        auto* dlg = static_cast<CMonitorControlDlg*>(w.control.get());
        wxCommandEvent click(wxEVT_BUTTON, CMonitorControlDlg::IDC_GRAPH);
        dlg->ProcessWindowEvent(click);
        w.graph = dlg->GetGraphWindow();
    };
    return {
        { "the control window's Cancel", control, graphOfControl,
            [](RecorderWindows& w) { ClickButton(w.control.get(), wxID_CANCEL); }, true, "Monitor Control", "Cancel" },
        { "the close box of the control window's recorder", control, graphOfControl,
            [](RecorderWindows& w) { w.graph->Close(); }, false },
        { "the close box of the recorder opened from the Monitor menu",
            [](CDriveSession& state, CD390DocData& project, RecorderWindows& w) {
                w.top = w.graph = new CGraphDlg(nullptr, state, state.m_Stations, project.m_nModelCode, &project);
            },
            [](RecorderWindows&) {}, [](RecorderWindows& w) { w.graph->Close(); }, true },
        { "the status monitor's Cancel (its control window's recorder)",
            [](CDriveSession& state, CD390DocData& project, RecorderWindows& w) {
                w.top = w.status = new CMonitorStatusDlg(nullptr, state, 0, &project);
            },
            [](RecorderWindows& w) {
                auto* status = static_cast<CMonitorStatusDlg*>(w.status.get());
                wxCommandEvent show(wxEVT_BUTTON, CMonitorStatusDlg::IDC_SHOW_CONTROL);
                status->ProcessWindowEvent(show);
                auto* control = status->GetControlWindow();
                w.control = control;
                wxCommandEvent graph(wxEVT_BUTTON, CMonitorControlDlg::IDC_GRAPH);
                control->ProcessWindowEvent(graph);
                w.graph = control->GetGraphWindow();
            },
            [](RecorderWindows& w) { ClickButton(w.status.get(), wxID_CANCEL); }, true, "Monitor Status", "Cancel" },
    };
}

// Runs one case: opens the windows, runs the dialog's command from the
// windows' loop, closes from inside the dialog's loop, and closes what is
// left as the user would.
class RecorderModalCloseRun {
public:
    using Close = std::function<void(RecorderWindows&)>;

    // close replaces the road's own close (a reader's press run outside);
    // ready() holds once it can come.
    RecorderModalCloseRun(CDriveSession& state, CD390DocData& project, const RecorderDialog& dialog,
                          const RecorderClose& road, Close close = nullptr, std::function<bool()> ready = nullptr)
        : m_state(state), m_project(project), m_dialog(dialog), m_road(road),
          m_close(close ? std::move(close) : road.close), m_ready(std::move(ready))
    {
    }

    void Run()
    {
        SetModalAnswer([this](wxDialog* dialog) {
            if (m_dialog.isIt(dialog)) {
                m_shown = dialog;
                return static_cast<int>(wxID_NONE); // shown for real, its nested loop and all
            }
            if (dynamic_cast<CExportFormatDlg*>(dialog))
                return static_cast<int>(wxID_OK); // on the way to the chooser
            ADD_FAILURE() << "unexpected modal dialog: " << dialog->GetTitle().utf8_string();
            return static_cast<int>(wxID_CANCEL);
        });
        m_road.open(m_state, m_project, m_windows);
        m_top = m_windows.top;
        m_timer.SetOwner(&m_ticks);
        m_ticks.Bind(wxEVT_TIMER, [this](wxTimerEvent&) { Tick(); });
        m_timer.Start(10);
        m_posts.CallAfter([this] {
            m_road.openRecorder(m_windows);
            m_graphOpened = m_windows.graph;
            if (auto* graph = dynamic_cast<CGraphDlg*>(m_windows.graph.get()))
                (graph->*m_dialog.command)(); // returns once the dialog's loop has
            m_commandReturned = true;
        });
        RunModalToMainFrame(m_windows.top);
        m_timer.Stop();
        CBackgroundJob::JoinReleasedJobs();
        wxStopWatch settle;
        while (settle.Time() < 100) {
            wxTheApp->Yield(true);
            wxMilliSleep(5);
        }
        SetModalAnswer(nullptr);
    }

    bool DialogShown() const { return m_shown.get() != nullptr || m_dialogSeen; }
    bool DialogWasRunningAtClose() const { return m_runningAtClose; }
    bool CloseCame() const { return m_closeAsked; }
    bool CommandReturned() const { return m_commandReturned; }
    bool RecorderGone() const { return m_graphOpened && !m_windows.graph; }
    bool TopDeleted() const { return !m_top; }
    bool TimedOut() const { return m_timedOut; }
    // Whether the control window stayed up when only its recorder closed.
    bool ControlStayed() const { return m_controlStayed; }

private:
    void Tick()
    {
        if (m_inTick)
            return;
        m_inTick = true;
        const long now = m_clock.Time();
        if (m_shown)
            m_dialogSeen = true;
        if (!m_closeAsked && m_shown && m_shown->IsShown()) {
            if (m_shownAt < 0)
                m_shownAt = now;
            if (now - m_shownAt > 150 && (!m_ready || m_ready())) {
                m_closeAsked = true;
                m_runningAtClose = m_shown->IsModal();
                m_inTick = false;
                m_close(m_windows); // from inside the dialog's loop
                return;
            }
        }
        if (m_closeAsked && !m_road.closesTop && m_commandReturned && !m_windows.graph && m_top
            && m_top->IsShown() && !m_closedRest) {
            m_controlStayed = true;
            m_closedRest = true;
            m_top->Close();
        }
        if (now > 20000 && !m_timedOut) {
            m_timedOut = true;
            if (m_shown && m_shown->IsModal())
                m_shown->EndModal(wxID_CANCEL);
            if (m_top && m_top->IsShown())
                m_top->Close();
        }
        m_inTick = false;
    }

    CDriveSession& m_state;
    CD390DocData& m_project;
    const RecorderDialog& m_dialog;
    const RecorderClose& m_road;
    Close m_close;
    std::function<bool()> m_ready;
    RecorderWindows m_windows;
    wxWeakRef<wxWindow> m_top;
    wxWeakRef<wxDialog> m_shown;
    wxEvtHandler m_ticks;
    wxEvtHandler m_posts;
    wxTimer m_timer;
    wxStopWatch m_clock;
    long m_shownAt = -1;
    bool m_dialogSeen = false;
    bool m_graphOpened = false;
    bool m_closeAsked = false;
    bool m_runningAtClose = false;
    bool m_commandReturned = false;
    bool m_closedRest = false;
    bool m_controlStayed = false;
    bool m_inTick = false;
    bool m_timedOut = false;
};

// What every case expects: the dialog ran and was ended by the close, the
// code that showed it returned, and the closed windows are gone; a recorder
// closed alone leaves its control window up.
inline void ExpectRecorderClosedCleanly(const RecorderModalCloseRun& run, const RecorderClose& road,
                                        const std::string& what)
{
    EXPECT_FALSE(run.TimedOut()) << what;
    EXPECT_TRUE(run.DialogShown()) << what << ": the dialog did not come";
    EXPECT_TRUE(run.CloseCame()) << what;
    EXPECT_TRUE(run.DialogWasRunningAtClose()) << what;
    EXPECT_TRUE(run.CommandReturned()) << what;
    EXPECT_TRUE(run.RecorderGone()) << what;
    EXPECT_TRUE(run.TopDeleted()) << what;
    if (!road.closesTop) {
        EXPECT_TRUE(run.ControlStayed()) << what << ": the control window went with its recorder";
    }
}
