#pragma once
// The main frame's drive-connection commands: Connect, Read, Write, Password
// Set and Password Release, and the link watchdog's timer. They ask for the
// station and refresh the list; the work is in LinkSetup, ReadWriteAll,
// PasswordCommands and LinkWatchdog.

#include "session/LinkWatchdog.h"

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
    // The timer stops; a running pass stops between probes and is waited for.
    void StopWatchdog();
    bool IsWatchdogRunning() const { return m_timer.IsRunning(); }
    // A running pass is waited for, the window thread handling events, and
    // its verdict taken in.
    void FinishWatchdogPass();
    // A running pass stops between probes and is waited for; the timer goes on.
    void StopWatchdogPass();
    // The probes of a pass still run.
    bool IsWatchdogPassRunning() const { return m_watchdog.IsPassRunning(); }
    // A tick of the watchdog's timer.
    void WatchdogTick();

    void OnConnect(wxCommandEvent& event);
    void OnRead(wxCommandEvent& event);
    void OnWrite(wxCommandEvent& event);
    void OnPasswordSet(wxCommandEvent& event);
    void OnPasswordRelease(wxCommandEvent& event);

private:
    void OnTimer(wxTimerEvent&) { WatchdogTick(); }
    // The active project's view and records for Read or Write; false when
    // there is none or auto-refresh would race the transfer (refused).
    bool TransferTarget(CD390View*& view, CD390DocData*& doc) const;

    CMainFrame* m_pFrame;
    // The Connect dialog opens, closes and replaces the link object: no pass
    // of the watchdog runs while it is open.
    bool m_bConnectDialogOpen = false;
    wxTimer m_timer;
    CLinkWatchdog m_watchdog;
};
