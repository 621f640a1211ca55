#pragma once
// What the two pages of the status monitor share: a station choice, a
// picture panel drawn with a buffered paint, and a 400 ms poll between
// "Start" and "Stop". A page's exchange runs on its monitor's worker; a tick
// that finds the page's last exchange still running starts none.

#include "monitor/LiveExchange.h"

#include <wx/panel.h>
#include <wx/timer.h>

class CDriveSession;
class CLiveWorker;
class CMonitorStatusDlg;
class wxChoice;

class CStatusTabPage : public wxPanel {
public:
    enum { IDC_STATION = 1025 };

    void Start();
    void Stop();
    // Killed after a failure (flags unchanged); the page then shows nothing
    // as live until its next successful read.
    void KillTimer();
    void ShowStale();
    bool IsPolling() const { return m_timer.IsRunning(); }
    bool ShowsLiveValues() const { return (m_bStarted || m_bStopped) && !m_bStale; }
    void SelectStationIndex(int index);
    int GetStation() const { return m_nStation; }
    wxChoice* GetStationChoice() const { return m_pStation; }
    // One tick, its exchange waited for and taken in.
    void Poll();
    wxPanel* GetPicture() const { return m_pPicture; }

    int m_bStarted = 0;
    int m_bStopped = 0;

protected:
    CStatusTabPage(wxWindow* parent, CMonitorStatusDlg* owner, CDriveSession& state, int stationIndex);
    // Queues the page's exchange on worker; its apply ends with Done.
    virtual void QueuePoll(CLiveWorker& worker) = 0;
    virtual void OnPaintPicture(wxDC& dc) = 0;
    // Shows what was read, or nothing when not live.
    virtual void UpdateTexts() = 0;
    // Takes a poll's reply in: false after a failure, which it handles. A
    // link failure stops both pages silently (the monitor says so in its
    // window), a wrong function byte only this page, with 61479.
    bool Done(const LiveReply& reply);

    CMonitorStatusDlg* m_pOwner;
    CDriveSession& m_state;
    CLiveExchange m_exchange;
    wxTimer m_timer;
    bool m_bPending = false; // this page's exchange is queued or running
    bool m_bStale = false;
    int m_nStation = 1;
    int m_nStationIndex = 0;
    wxChoice* m_pStation = nullptr;
    wxPanel* m_pPicture = nullptr;

private:
    void OnTick();
};
