#pragma once
// The main frame's drive-connection commands: Connect, Read, Write, Password
// Set and Password Release, and the link watchdog's timer. They ask for the
// station and refresh the list; the work is in LinkSetup, ReadWriteAll,
// PasswordCommands and LinkWatchdog.

#include "shell/LinkWatchdog.h"

#include <wx/event.h>
#include <wx/timer.h>

class CD390DocData;
class CD390View;
class CMainFrame;

class CConnectCommands : public wxEvtHandler {
public:
    explicit CConnectCommands(CMainFrame* frame);
    ~CConnectCommands() override;

    CConnectCommands(const CConnectCommands&) = delete;
    CConnectCommands& operator=(const CConnectCommands&) = delete;

    void StartWatchdog();
    void StopWatchdog();
    bool IsWatchdogRunning() const { return m_timer.IsRunning(); }

    void OnConnect(wxCommandEvent& event);
    void OnRead(wxCommandEvent& event);
    void OnWrite(wxCommandEvent& event);
    void OnPasswordSet(wxCommandEvent& event);
    void OnPasswordRelease(wxCommandEvent& event);

private:
    void OnTimer(wxTimerEvent& event);
    // The active project's view and records for Read or Write; false when
    // there is none or auto-refresh would race the transfer (refused).
    bool TransferTarget(CD390View*& view, CD390DocData*& doc) const;

    CMainFrame* m_pFrame;
    wxTimer m_timer;
    CLinkWatchdog m_watchdog;
};
