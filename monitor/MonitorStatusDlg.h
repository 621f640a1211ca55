#pragma once
// "Monitor Status": the state of one drive station on two pages, "Status"
// (lamps, running values, current fault) and "Terminal" (input terminals and
// relay). Each page has its own station and polls it every 400 ms once
// "Start" is pressed. "Show Control" opens the control window modeless.

#include "monitor/LiveWorker.h"

#include <wx/dialog.h>
#include <wx/weakref.h>

class CD390DocData;
class CDriveSession;
class CMonitorControlDlg;
class CStatusTabDlg145;
class CStatusTabDlg187;
class wxButton;
class wxNotebook;
class wxStaticText;

class CMonitorStatusDlg : public wxDialog {
public:
    enum { IDD = 189 };
    enum { IDC_STOP = 1076, IDC_START = 1080, IDC_SHOW_CONTROL = 1081, IDC_TABS = 1082 };

    // project: the open project, for the graph window's channels, or null.
    CMonitorStatusDlg(wxWindow* parent, CDriveSession& state, int stationIndex = 0, CD390DocData* project = nullptr);
    ~CMonitorStatusDlg() override;

    void SetStationIndex(int index);
    int GetStationIndex() const { return m_nStationIndex; }
    void EnableShowControl(bool enable);

    CStatusTabDlg145* GetStatusPage() const { return m_pStatusPage; }
    CStatusTabDlg187* GetTerminalPage() const { return m_pTerminalPage; }
    wxNotebook* GetTabs() const { return m_pTabs; }
    CMonitorControlDlg* GetControlWindow() const;

    // Hidden (every road of closing hides it first): polling ends at once.
    bool Show(bool show = true) override;

    // The pages' exchanges run here, one after another.
    CLiveWorker& Worker() { return m_worker; }
    // The line that says the link failed (shown or not).
    wxStaticText* GetLinkFailedLine() const { return m_pLinkFailed; }

    // The pages report here.
    void OnPageStation(int index) { m_nStationIndex = index; }
    void StopBothPages();
    void LinkGone();
    // A page's poll failed on the link (61477 to 61479): both pages stop and
    // show nothing as live; the window says so, no message box.
    void LinkFailed(int messageId);
    // A page read successfully: the failure line goes.
    void LinkAnswered();

private:
    void OnStart();
    void OnShowControl();
    void OnCancel();

    CDriveSession& m_state;
    CD390DocData* m_pProject;
    CLiveWorker m_worker;
    int m_nStationIndex = 0;
    wxWeakRef<wxWindow> m_pControlDlg;
    CStatusTabDlg187* m_pTerminalPage = nullptr;
    CStatusTabDlg145* m_pStatusPage = nullptr;
    wxNotebook* m_pTabs = nullptr;
    wxStaticText* m_pLinkGone = nullptr;
    wxStaticText* m_pLinkFailed = nullptr;
};
