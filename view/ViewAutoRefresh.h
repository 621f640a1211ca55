#pragma once
// Command AutoRefresh of the project view with its 100 ms timer: the window
// side of CAutoRefresh. The reader's "cycle done" reaches the window thread
// through CallAfter.

#include "session/AutoRefresh.h"

#include <wx/event.h>
#include <wx/timer.h>

#include <memory>

class CD390View;

class CViewAutoRefresh : public wxEvtHandler, public CAutoRefreshHost {
public:
    explicit CViewAutoRefresh(CD390View& view);
    // A running cycle is waited for; nothing is shown.
    ~CViewAutoRefresh() override;

    // Command 32805 and its update.
    void OnAutoRefresh();
    void OnUpdateAutoRefresh(wxUpdateUIEvent& event);
    // Stops while the flag is set (the main frame's close, Disconnect). With
    // handleEvents the window thread waits for a running cycle in a loop of
    // its own, every window disabled; without (destructors) it blocks.
    void StopReadThread(bool handleEvents = false);

    CAutoRefresh& GetReader() { return *m_pReader; }

    // CAutoRefreshHost
    void PostReadDone() override;
    void SetReadTimer() override;
    void KillReadTimer() override;
    void RefreshValues(const std::vector<int>& groups) override;
    void WaitWhileCycleRuns() override;

private:
    void OnAutoRefreshCommand(wxCommandEvent&) { OnAutoRefresh(); }
    void OnTimer(wxTimerEvent& event);

    CD390View& m_view;
    wxTimer m_timer;
    std::unique_ptr<CAutoRefresh> m_pReader;
};
