#pragma once
// "Monitor Control": runs, stops, reverses and jogs one drive station and sets
// its frequency command. Opens the status monitor and the graph recorder as
// modeless windows it owns.

#include "monitor/LiveExchange.h"
#include "monitor/LiveWorker.h"

#include <wx/dialog.h>
#include <wx/timer.h>
#include <wx/weakref.h>

#include <cstdint>

class CD390DocData;
class CDriveSession;
class CMonitorStatusDlg;
class wxButton;
class wxChoice;
class wxStaticText;
class wxTextCtrl;

class CMonitorControlDlg : public wxDialog {
public:
    enum { IDD = 171 };
    enum {
        IDC_RUN = 1075, IDC_STOP = 1076, IDC_FWD = 1077, IDC_REV = 1078, IDC_ABNORMAL = 1079,
        IDC_FAULT_RESET = 1080, IDC_JOG_FORWARD = 1081, IDC_SET = 1082, IDC_GRAPH = 1089,
        IDC_FREQUENCY = 1177, IDC_JOG_REVERSE = 1468, IDC_SHOW_STATUS = 1474, IDC_STATION = 1477,
    };

    // project: the open project, for the graph window's channels, or null.
    CMonitorControlDlg(wxWindow* parent, CDriveSession& state, int stationIndex = 0, CD390DocData* project = nullptr);
    ~CMonitorControlDlg() override;

    // The status monitor sets the station before it shows this window again.
    void SetStationIndex(int index);
    // Polling runs while the window is shown (a sibling hidden by its own Cancel stops).
    bool Show(bool show = true) override;
    bool IsPolling() const { return m_timer.IsRunning(); }
    // An exchange runs or waits to be taken in.
    bool IsExchanging() const { return m_worker.IsBusy(); }
    // One tick, its exchange waited for and taken in.
    void Poll();
    // Waits for the exchanges queued so far and takes them in.
    void Settle() { m_worker.WaitUntilIdle(); }
    // The jog buttons offer what the last poll read (false before it and
    // after polling stopped for a failure).
    bool ShowsLiveValues() const { return m_bLive; }
    CMonitorStatusDlg* GetStatusWindow() const;
    wxWindow* GetGraphWindow() const { return m_pGraphDlg; }

private:
    void OnTimer();
    void ApplyPoll(const LiveReply& reply, std::uint16_t word);
    // Polling stopped for a failure: the jog buttons no longer offer what was read.
    void ShowStale();
    // After a button's exchange: its message, or the line when the link went.
    void ApplyButton(const LiveReply& reply);
    void OnCharHook(wxKeyEvent& event);
    void OnCommand(int id);
    void OnJog(std::uint16_t bit, bool polledSet);
    void OnSet();
    void OnFrequencyText();
    void OnShowStatus();
    void OnGraph();
    void OnCancel();
    void LinkGone();
    void DestroySiblings();

    CDriveSession& m_state;
    CD390DocData* m_pProject;
    CLiveExchange m_exchange;
    CLiveWorker m_worker;
    wxTimer m_timer;
    bool m_bLive = false;

    // Owned; weak, so that a sibling that destroyed itself is seen as gone.
    wxWeakRef<wxWindow> m_pGraphDlg;
    wxWeakRef<wxWindow> m_pStatusDlg;
    std::uint16_t m_wJogReverse = 0xFFFF;
    std::uint16_t m_wJogForward = 0xFFFF;
    std::uint16_t m_wCommand = 0xFFFF;
    int m_nStationIndex = 0;
    int m_nStation = 1;
    wxString m_strFrequency = "50.00";

    wxChoice* m_pStation = nullptr;
    wxTextCtrl* m_pFrequency = nullptr;
    wxButton* m_pJogForward = nullptr;
    wxButton* m_pJogReverse = nullptr;
    wxStaticText* m_pLinkGone = nullptr;
};
