#pragma once
// Closing live windows in the middle of their exchanges, as the program runs
// them: each opened modal to the (absent) main frame, polling a drive that
// answers late or not at all, with the program's message box and its
// accessibility filter in place. A window is closed by one road (its button,
// the close box, Esc, or a reader pressing the button over AT-SPI) while its
// request waits for the line, or from inside the nested loop of a message
// box that one of the windows raised. A crash, or code running in a freed
// window, ends the run (and the address sanitizer names it); what the test
// sees besides is every box the program showed, who owned it and when it
// ended.

#include "monitor/GraphDlg.h"
#include "monitor/KeyPadDlg.h"
#include "monitor/LiveDriveInfo.h"
#include "monitor/MonitorControlDlg.h"
#include "monitor/MonitorStatusDlg.h"
#include "platform/Accessibility.h"
#include "platform/BackgroundJob.h"
#include "platform/MessageBox.h"
#include "platform/ModalWindow.h"
#include "platform/WxMessageBox.h"
#include "tests/common/GuiTestSupport.h"
#include "tests/monitorgui/LiveWindowFixture.h"

#include <gtk/gtk.h>
#include <wx/button.h>
#include <wx/msgdlg.h>
#include <wx/stopwatch.h>
#include <wx/timer.h>
#include <wx/toplevel.h>
#include <wx/weakref.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

// When the close comes: while a request waits for a late drive's answer, or
// while a message box of a silent drive's time-out is up.
enum class CloseMoment { RequestWaits, BoxUp };

inline const char* MomentName(CloseMoment moment)
{
    return moment == CloseMoment::RequestWaits ? "while a request waits" : "while a box is up";
}

// The windows of one case, as the program opens them. top is run modal to
// the main frame; the others are its own windows, opened by its buttons.
struct LiveWindows {
    wxWindow* top = nullptr;
    wxWeakRef<wxWindow> control, status, graph, keypad;
    std::vector<std::function<bool()>> busy; // whether each polling window has an exchange
};

// Which windows a case opens and which one it closes.
struct WindowSet {
    const char* name;
    // Creates the windows (top not shown yet) on state.
    std::function<void(CDriveSession&, CD390DocData&, LiveWindows&)> open;
    // Once top is shown: starts the polling of those that poll on request.
    std::function<void(LiveWindows&)> start;
    // The window to close, and the names a reader finds it and its button by.
    std::function<wxWindow*(LiveWindows&)> target;
    const char* windowName;
    const char* buttonName;
    int buttonId;
    // Whether a time-out shows a box (the status monitor alone says it in a line).
    bool raisesBoxes = true;
};

// A road of closing a window. Button: the toolkit's click on it; close box:
// the close the window manager asks for; Esc: the key as the focused
// control passes it up; accessibility: a reader's press (run outside).
enum class CloseRoad { Button, CloseBox, Escape, Accessibility };

inline const char* RoadName(CloseRoad road)
{
    switch (road) {
    case CloseRoad::Button: return "button";
    case CloseRoad::CloseBox: return "close box";
    case CloseRoad::Escape: return "Esc";
    case CloseRoad::Accessibility: return "accessibility action";
    }
    return "";
}

// The keypad alone, the control window alone, the status monitor alone, the
// recorder alone; the control window with its status monitor and recorder
// (closed by its own Cancel, or one of them closed); the status monitor
// with the control window it opened and that one's recorder.
inline std::vector<WindowSet> LiveWindowSets()
{
    auto controlWith = [](CDriveSession& state, CD390DocData& project, LiveWindows& w) {
        auto* control = new CMonitorControlDlg(nullptr, state, 0, &project);
        w.top = w.control = control;
        w.busy.push_back([control] { return control->IsExchanging(); });
    };
    auto openSiblings = [](LiveWindows& w) {
        auto* control = static_cast<CMonitorControlDlg*>(w.control.get());
        for (int id : { CMonitorControlDlg::IDC_SHOW_STATUS, CMonitorControlDlg::IDC_GRAPH }) {
            wxCommandEvent click(wxEVT_BUTTON, id);
            control->ProcessWindowEvent(click);
        }
        auto* status = control->GetStatusWindow();
        auto* graph = static_cast<CGraphDlg*>(control->GetGraphWindow());
        w.status = status;
        w.graph = graph;
        wxCommandEvent start(wxEVT_BUTTON, CMonitorStatusDlg::IDC_START);
        status->ProcessWindowEvent(start);
        graph->Start();
        w.busy.push_back([status] { return status->Worker().IsBusy(); });
        w.busy.push_back([graph] { return graph->IsExchangeRunning(); });
    };
    return {
        { "keypad",
            [](CDriveSession& state, CD390DocData& project, LiveWindows& w) {
                auto* pad = new CKeyPadDlg(nullptr, state, LiveDriveInfoOf(state, &project));
                w.top = w.keypad = pad;
                w.busy.push_back([pad] { return pad->IsExchanging(); });
            },
            [](LiveWindows&) {}, [](LiveWindows& w) { return w.top; }, "KeyPad", "Close", wxID_CLOSE },
        { "control window", controlWith, [](LiveWindows&) {}, [](LiveWindows& w) { return w.top; },
            "Monitor Control", "Cancel", wxID_CANCEL },
        { "status monitor",
            [](CDriveSession& state, CD390DocData& project, LiveWindows& w) {
                auto* status = new CMonitorStatusDlg(nullptr, state, 0, &project);
                w.top = w.status = status;
                w.busy.push_back([status] { return status->Worker().IsBusy(); });
            },
            [](LiveWindows& w) {
                wxCommandEvent start(wxEVT_BUTTON, CMonitorStatusDlg::IDC_START);
                w.status->ProcessWindowEvent(start);
            },
            [](LiveWindows& w) { return w.top; }, "Monitor Status", "Cancel", wxID_CANCEL, false },
        { "recorder",
            [](CDriveSession& state, CD390DocData& project, LiveWindows& w) {
                auto* graph = new CGraphDlg(nullptr, state, state.m_Stations, project.m_nModelCode, &project);
                w.top = w.graph = graph;
                w.busy.push_back([graph] { return graph->IsExchangeRunning(); });
            },
            [](LiveWindows& w) { static_cast<CGraphDlg*>(w.graph.get())->Start(); },
            [](LiveWindows& w) { return w.top; }, "Graph", nullptr, 0 },
        { "control window with status monitor and recorder", controlWith, openSiblings,
            [](LiveWindows& w) { return w.top; }, "Monitor Control", "Cancel", wxID_CANCEL },
        { "recorder of the control window", controlWith, openSiblings,
            [](LiveWindows& w) { return w.graph.get(); }, "Graph", nullptr, 0 },
        { "status monitor of the control window", controlWith, openSiblings,
            [](LiveWindows& w) { return w.status.get(); }, "Monitor Status", "Cancel", wxID_CANCEL },
        { "status monitor with its control window and recorder",
            [](CDriveSession& state, CD390DocData& project, LiveWindows& w) {
                auto* status = new CMonitorStatusDlg(nullptr, state, 0, &project);
                w.top = w.status = status;
                w.busy.push_back([status] { return status->Worker().IsBusy(); });
            },
            [](LiveWindows& w) {
                auto* status = static_cast<CMonitorStatusDlg*>(w.status.get());
                wxCommandEvent start(wxEVT_BUTTON, CMonitorStatusDlg::IDC_START);
                status->ProcessWindowEvent(start);
                wxCommandEvent show(wxEVT_BUTTON, CMonitorStatusDlg::IDC_SHOW_CONTROL);
                status->ProcessWindowEvent(show);
                auto* control = status->GetControlWindow();
                w.control = control;
                w.busy.push_back([control] { return control->IsExchanging(); });
                wxCommandEvent graphButton(wxEVT_BUTTON, CMonitorControlDlg::IDC_GRAPH);
                control->ProcessWindowEvent(graphButton);
                auto* graph = static_cast<CGraphDlg*>(control->GetGraphWindow());
                w.graph = graph;
                graph->Start();
                w.busy.push_back([graph] { return graph->IsExchangeRunning(); });
            },
            [](LiveWindows& w) { return w.top; }, "Monitor Status", "Cancel", wxID_CANCEL },
    };
}

// Whether a window set can be closed by a road: the recorder has no button
// of its own, and Esc is its chart's (it takes the cursor away) and never
// closes it, on either road that opens it.
inline bool RoadApplies(const WindowSet& set, CloseRoad road)
{
    const bool hasButton = set.buttonName != nullptr;
    if (road == CloseRoad::Button || road == CloseRoad::Accessibility)
        return hasButton;
    if (road == CloseRoad::Escape)
        return std::string(set.name).rfind("recorder", 0) != 0;
    return true;
}

// A box the program showed: its text, its owner as it was shown, and
// whether and when it ended.
struct ShownBox {
    std::string text;
    wxMessageDialog* dialog = nullptr;
    wxWeakRef<wxWindow> owner;
    bool hadOwner = false;
    long shownAt = 0;
    bool ended = false;
    long endedAt = 0;
    // Ended by the test because it stayed up after its owner closed.
    bool outlivedOwner = false;
};

// Runs one case and records what the program did.
class LiveWindowCloseRun {
public:
    // press: how the accessibility road presses a button (a reader run
    // outside the process); the other roads need none.
    using Press = std::function<void(const char* window, const char* button)>;

    // arm makes the drive late or silent; it is called once the windows
    // poll and ready() holds (a reader has found the button it is to press).
    LiveWindowCloseRun(CDriveSession& state, CD390DocData& project, const WindowSet& set, CloseRoad road,
                       CloseMoment moment, std::function<void()> arm, Press press = nullptr,
                       std::function<bool()> ready = nullptr)
        : m_state(state), m_project(project), m_set(set), m_road(road), m_moment(moment), m_arm(std::move(arm)),
          m_press(std::move(press)), m_ready(std::move(ready))
    {
    }

    // Runs the case to its end: the windows closed and deleted.
    void Run()
    {
        InstallWxMessageHandler();
        MessageHandler real = SetMessageHandler(nullptr);
        SetMessageHandler([this, real](const std::string& text, unsigned type) {
            m_boxes.push_back(std::make_unique<ShownBox>());
            ShownBox* box = m_boxes.back().get();
            box->text = text;
            box->shownAt = m_clock.Time();
            const int answer = ShowMessageWith(real, text, type);
            box->ended = true;
            box->endedAt = m_clock.Time();
            return answer;
        });
        SetModalAnswer([this](wxDialog* dialog) {
            auto* box = dynamic_cast<wxMessageDialog*>(dialog);
            if (!box || m_boxes.empty() || m_boxes.back()->dialog) {
                ADD_FAILURE() << "unexpected modal dialog: " << dialog->GetTitle().utf8_string();
                return static_cast<int>(wxID_CANCEL);
            }
            ShownBox& shown = *m_boxes.back();
            shown.dialog = box;
            wxWindow* owner = box->GetParent() ? wxGetTopLevelParent(box->GetParent()) : nullptr;
            shown.owner = owner;
            shown.hadOwner = owner != nullptr;
            return static_cast<int>(wxID_NONE); // shown for real, its nested loop and all
        });
        wxEvtHandler::AddFilter(&m_filter);

        m_set.open(m_state, m_project, m_windows);
        m_top = m_windows.top;
        m_timer.SetOwner(&m_ticks);
        m_ticks.Bind(wxEVT_TIMER, [this](wxTimerEvent&) { Tick(); });
        m_timer.Start(10);
        m_topLevel.CallAfter([this] {
            m_set.start(m_windows);
            m_started = true;
        });
        RunModalToMainFrame(m_windows.top);
        m_timer.Stop();
        if (m_closeAsked && !m_closed && TargetGone()) {
            m_closed = true;
            m_closedAt = m_clock.Time();
        }
        // What the closed windows left running ends before the link may go;
        // what it posts finds no window.
        CBackgroundJob::JoinReleasedJobs();
        wxStopWatch settle;
        while (settle.Time() < 200) {
            wxTheApp->Yield(true);
            wxMilliSleep(5);
        }

        wxEvtHandler::RemoveFilter(&m_filter);
        SetModalAnswer(nullptr);
        SetMessageHandler(nullptr);
    }

    bool Closed() const { return m_closed; }
    long ClosedAt() const { return m_closedAt; }
    bool TargetGone() const { return m_target.get() == nullptr || !m_target->IsShown(); }
    bool TopDeleted() const { return !m_top; }
    bool TimedOut() const { return m_timedOut; }
    // The window closed was the one run modal (all of the case's windows went).
    bool ClosedAll() const { return m_targetIsTop; }
    const std::vector<std::unique_ptr<ShownBox>>& Boxes() const { return m_boxes; }
    // Boxes the program showed once the close had come, for a window already closed.
    int BoxesShownForClosedWindows() const { return m_boxesForClosed; }

private:
    bool AnyBusy() const
    {
        for (const auto& busy : m_windows.busy)
            if (busy())
                return true;
        return false;
    }
    ShownBox* OpenBox() const
    {
        for (auto it = m_boxes.rbegin(); it != m_boxes.rend(); ++it)
            if (!(*it)->ended)
                return it->get();
        return nullptr;
    }
    static bool OwnerClosed(const ShownBox& box)
    {
        return box.hadOwner && (!box.owner || !box.owner->IsShown());
    }
    static void End(ShownBox& box)
    {
        if (box.dialog && box.dialog->GetHandle())
            gtk_dialog_response(GTK_DIALOG(box.dialog->GetHandle()), GTK_RESPONSE_OK);
    }

    void Close(wxWindow* window)
    {
        switch (m_road) {
        case CloseRoad::Button:
            if (auto* button = dynamic_cast<wxButton*>(window->FindWindow(m_set.buttonId)))
                gtk_button_clicked(GTK_BUTTON(button->GetHandle()));
            else
                ADD_FAILURE() << "no button to press";
            break;
        case CloseRoad::CloseBox:
            window->Close();
            break;
        case CloseRoad::Escape: {
            // From the window's first control, as the key goes from where the focus is.
            wxWindow* from = window->GetChildren().empty() ? window : window->GetChildren().front();
            wxKeyEvent key(wxEVT_CHAR_HOOK);
            key.m_keyCode = WXK_ESCAPE;
            key.SetEventObject(from);
            key.ResumePropagation(wxEVENT_PROPAGATE_MAX);
            from->GetEventHandler()->ProcessEvent(key);
            break;
        }
        case CloseRoad::Accessibility:
            m_press(m_set.windowName, m_set.buttonName);
            break;
        }
    }

    // The case's course, every 10 ms, in whatever loop runs: the windows'
    // own, or a message box's.
    void Tick()
    {
        if (m_inTick)
            return; // a box shown meanwhile runs its loop below a tick
        m_inTick = true;
        const long now = m_clock.Time();
        if (!m_started) {
            m_inTick = false;
            return;
        }
        if (m_armedAt < 0) {
            if (m_ready && !m_ready() && now < 12000) {
                m_inTick = false;
                return;
            }
            m_armedAt = now;
            m_arm();
        }
        if (!m_closeAsked) {
            bool due = OpenBox() != nullptr;
            if (m_moment == CloseMoment::RequestWaits) {
                // Well inside the late answer's wait.
                // Exchanges begun before the drive turned late end at once.
                if (AnyBusy() && m_busySince < 0 && now - m_armedAt > 150)
                    m_busySince = now;
                due = m_busySince >= 0 && now - m_busySince > 200;
            }
            if (due) {
                m_closeAsked = true;
                m_closedAt = now;
                m_boxesAtClose = m_boxes.size();
                m_target = m_set.target(m_windows);
                m_targetIsTop = m_target.get() == m_windows.top;
                wxWindow* target = m_target.get();
                m_inTick = false;
                if (target)
                    Close(target); // may run a reader, or end the box we are in
                return;
            }
        }
        if (m_closeAsked && !m_closed && TargetGone()) {
            m_closed = true;
            m_closedAt = now;
        }
        // Boxes of windows that are still open are answered as a user would;
        // a box whose owner closed is ended by the test after a second, and
        // marked so.
        for (auto& box : m_boxes) {
            if (box->ended || !box->dialog)
                continue;
            if (OwnerClosed(*box)) {
                if (m_closed && now - m_closedAt > 1000) {
                    box->outlivedOwner = true;
                    End(*box);
                }
            } else if (now - box->shownAt > 500 && (!m_closeAsked || m_closed)) {
                End(*box);
            }
        }
        if (m_closed)
            for (std::size_t k = m_boxesAtClose; k < m_boxes.size(); ++k)
                if (!m_counted[k] && OwnerClosed(*m_boxes[k])) {
                    m_counted[k] = true;
                    ++m_boxesForClosed;
                }
        // Once the close is over and the drive's late answers are in, the
        // rest is closed as the user would.
        if ((m_closed && now - m_closedAt > 1800 && !OpenBox()) || now > 15000) {
            m_timedOut = now > 15000;
            if (m_top && m_top->IsShown()) {
                if (m_timedOut)
                    for (auto& box : m_boxes)
                        if (!box->ended)
                            End(*box);
                m_top->Close();
            }
        }
        m_inTick = false;
    }

    CDriveSession& m_state;
    CD390DocData& m_project;
    const WindowSet& m_set;
    CloseRoad m_road;
    CloseMoment m_moment;
    std::function<void()> m_arm;
    Press m_press;
    std::function<bool()> m_ready;
    LiveWindows m_windows;
    wxWeakRef<wxWindow> m_top;
    wxWeakRef<wxWindow> m_target;
    CAccessibleNamesFilter m_filter;
    wxEvtHandler m_ticks;
    wxEvtHandler m_topLevel;
    wxTimer m_timer;
    wxStopWatch m_clock;
    std::vector<std::unique_ptr<ShownBox>> m_boxes;
    std::map<std::size_t, bool> m_counted;
    std::size_t m_boxesAtClose = 0;
    int m_boxesForClosed = 0;
    long m_busySince = -1;
    long m_armedAt = -1;
    long m_closedAt = 0;
    bool m_started = false;
    bool m_closeAsked = false;
    bool m_closed = false;
    bool m_inTick = false;
    bool m_timedOut = false;
    bool m_targetIsTop = false;
};

// What every case expects: the close arrived, the closed windows are gone,
// every box of a closed window ended with it, and nothing showed for a
// closed window afterwards.
inline void ExpectClosedCleanly(const LiveWindowCloseRun& run, const std::string& what, CloseMoment moment)
{
    EXPECT_FALSE(run.TimedOut()) << what;
    EXPECT_TRUE(run.Closed()) << what << ": the close did not arrive";
    EXPECT_TRUE(run.TopDeleted()) << what;
    for (const auto& box : run.Boxes()) {
        EXPECT_FALSE(box->outlivedOwner) << what << ": \"" << box->text << "\" stayed up after its window closed";
    }
    EXPECT_EQ(run.BoxesShownForClosedWindows(), 0) << what;
    // A request that waited when all went brings no message afterwards.
    if (moment == CloseMoment::RequestWaits && run.ClosedAll()) {
        EXPECT_TRUE(run.Boxes().empty()) << what << ": \"" << run.Boxes().front()->text << "\"";
    }
    if (moment == CloseMoment::BoxUp) {
        EXPECT_FALSE(run.Boxes().empty()) << what << ": no box came";
    }
}
