#pragma once
// What the two pages of the status monitor share: a station choice, a
// picture panel drawn with a buffered paint, and a 400 ms poll between
// "Start" and "Stop".

#include "monitor/LiveExchange.h"

#include <wx/panel.h>
#include <wx/timer.h>

class CDriveSession;
class CMonitorStatusDlg;
class wxChoice;

class CStatusTabPage : public wxPanel {
public:
    enum { IDC_STATION = 1025 };

    void Start();
    void Stop();
    // Killed after a link failure of either page (flags unchanged, last values kept).
    void KillTimer() { m_timer.Stop(); }
    bool IsPolling() const { return m_timer.IsRunning(); }
    void SelectStationIndex(int index);
    int GetStation() const { return m_nStation; }
    void Poll() { OnTimer(); }
    wxPanel* GetPicture() const { return m_pPicture; }

    int m_bStarted = 0;
    int m_bStopped = 0;

protected:
    CStatusTabPage(wxWindow* parent, CMonitorStatusDlg* owner, CDriveSession& state, int stationIndex);
    // One poll's exchange and redraw; a failed exchange is handed to Failed.
    virtual void OnTimer() = 0;
    virtual void OnPaintPicture(wxDC& dc) = 0;
    // A failed poll: a link failure stops both pages silently, a wrong
    // function byte only this page, with 61479.
    void Failed(const LiveReply& reply);

    CMonitorStatusDlg* m_pOwner;
    CDriveSession& m_state;
    CLiveExchange m_exchange;
    wxTimer m_timer;
    int m_nStation = 1;
    int m_nStationIndex = 0;
    wxChoice* m_pStation = nullptr;
    wxPanel* m_pPicture = nullptr;
};
