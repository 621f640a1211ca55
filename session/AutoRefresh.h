#pragma once
// Auto-refresh without the window: the project follows one drive, every group
// read over and over, one worker thread per cycle.
//
// The worker never touches a window, the project or the session's state:
// it reads into a buffer of its own, through a transfer context of its own (the
// readers leave their texts there), and asks the window thread to take the
// result in (PostReadDone). Only the window thread changes the project, the
// flag and the session's texts, and shows a failure. The link's own lock keeps
// the worker's frames apart from the watchdog's and the pages'.
//
// Every member is called on the window thread, except the host's
// PostReadDone, which the worker calls.

#include "platform/BackgroundJob.h"
#include "session/DriveSession.h"

#include <memory>
#include <mutex>
#include <vector>

class CD390DocData;
class CReadEvent;

// What the view does for the reader.
class CAutoRefreshHost {
public:
    virtual ~CAutoRefreshHost() = default;
    // From the worker, at the end of each cycle: have the window thread call
    // CAutoRefresh::OnReadDone soon. Must not block and must not wait for the
    // window thread.
    virtual void PostReadDone() = 0;
    // The view's 100 ms timer, whose ticks call CAutoRefresh::OnTimer.
    virtual void SetReadTimer() = 0;
    virtual void KillReadTimer() = 0;
    // Show the set values of these groups (in order): those whose set values
    // or changed marks the cycle changed. Rewriting an unchanged list costs
    // the window thread a redraw of every row.
    virtual void RefreshValues(const std::vector<int>& groups) = 0;
    // Before auto-refresh goes off: a host with windows lets a running cycle
    // end while its window thread goes on handling events (with nothing a
    // user could start meanwhile); the default waits in Stop.
    virtual void WaitWhileCycleRuns() {}
};

class CAutoRefresh {
public:
    static constexpr int kReadTimerId = 2;
    static constexpr int kReadTimerMs = 100;

    enum class Outcome {
        None,    // nothing had ended
        Applied, // a cycle read every group; its values are the project's set values
        Failed,  // a reader failed: shown, auto-refresh off
    };

    CAutoRefresh(CAutoRefreshHost& host, CDriveSession& session);
    // Stops as Stop does, without showing anything.
    ~CAutoRefresh();

    CAutoRefresh(const CAutoRefresh&) = delete;
    CAutoRefresh& operator=(const CAutoRefresh&) = delete;

    // Command AutoRefresh: the flag is inverted; on, chooseStation runs the
    // station dialog (the station, or -1 when cancelled) and the reading
    // starts for doc; off, a running cycle ends first (Stop).
    template <typename ChooseStation>
    void OnAutoRefresh(CD390DocData& doc, ChooseStation chooseStation)
    {
        m_session.m_bAutoRefresh = !m_session.m_bAutoRefresh;
        if (!m_session.m_bAutoRefresh) {
            m_host.WaitWhileCycleRuns();
            Stop();
            return;
        }
        const int station = chooseStation();
        if (station < 0) {
            m_session.m_bAutoRefresh = 0;
            return;
        }
        m_session.m_nAutoRefreshStation = station;
        OnStartReadThread(doc);
    }

    // Starts reading m_nAutoRefreshStation into doc: what an earlier
    // run left is taken in first, then the timer and the first cycle begin.
    void OnStartReadThread(CD390DocData& doc);

    // A tick of the read timer: begins the next cycle once the last one was
    // taken in. With the flag cleared (by the watchdog) the timer is killed
    // instead. True when a cycle began.
    bool OnTimer();

    // The cycle has ended (PostReadDone): its values go into the project, or
    // its failure is shown and auto-refresh turned off.
    Outcome OnReadDone();

    // Auto-refresh off: a running cycle is allowed to end and is taken in as
    // OnReadDone would; then the timer is killed and the flag cleared. No
    // session goes out after it returns. Never waits for the window thread.
    Outcome Stop();

    // A cycle has begun and was not taken in yet.
    bool IsCycleActive() const;
    // A cycle has begun and its worker has not yet ended it.
    bool IsCycleRunning() const;
    // A cycle still waiting for the event will not begin reading.
    void CancelPendingCycle();
    // The project being refreshed (nullptr when none).
    CD390DocData* GetDocument() const { return m_pDoc; }

private:
    struct Cycle;

    void BeginCycle();
    // On the worker: one cycle.
    static void ReadThreadProc(Cycle* cycle, CReadEvent* event, CAutoRefreshHost* host);
    static bool ReadAllGroups(Cycle& cycle, CReadEvent& event);
    // Applies the result of the cycle, waiting for it to end first unless it
    // already has.
    Outcome TakeCycle(bool showFailure);
    // Waits for the thread of the last cycle to be gone. A cycle that has
    // posted its end touches nothing any more, so the window thread takes
    // its result without this and joins only before the next cycle.
    void JoinReader();

    CAutoRefreshHost& m_host;
    CDriveSession& m_session;
    CD390DocData* m_pDoc = nullptr;
    std::unique_ptr<CReadEvent> m_pEvent;
    std::unique_ptr<Cycle> m_pCycle;     // begun, not taken in
    std::unique_ptr<Cycle> m_pDoneCycle; // taken in, its thread maybe still on its way out
    CBackgroundJob m_reader;
};
