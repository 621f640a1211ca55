#include "monitor/MonitorStatusDlg.h"

#include "monitor/LiveWindowSupport.h"
#include "monitor/MonitorControlDlg.h"
#include "monitor/StatusTabDlg145.h"
#include "monitor/StatusTabDlg187.h"
#include "platform/ModalChildren.h"
#include "platform/ResourceModule.h"
#include "platform/WorkArea.h"
#include "res/StringIds.h"
#include "session/DriveSession.h"

#include <wx/button.h>
#include <wx/notebook.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

CMonitorStatusDlg::CMonitorStatusDlg(wxWindow* parent, CDriveSession& state, int stationIndex, CD390DocData* project)
    : wxDialog(parent, IDD, "Monitor Status")
    , m_state(state)
    , m_pProject(project)
    , m_worker(state, this)
    , m_nStationIndex(stationIndex)
{
    m_pTabs = new wxNotebook(this, IDC_TABS);
    m_pStatusPage = new CStatusTabDlg145(m_pTabs, this, m_state, m_nStationIndex);
    m_pTerminalPage = new CStatusTabDlg187(m_pTabs, this, m_state, m_nStationIndex);
    m_pTabs->AddPage(m_pStatusPage, wxString::FromUTF8(LoadResString(IDS_STATUS_TAB)), true);
    m_pTabs->AddPage(m_pTerminalPage, wxString::FromUTF8(LoadResString(IDS_TERMINAL_TAB)));
    m_pLinkGone = CreateLinkGoneLine(this);
    m_pLinkFailed = CreateLinkFailedLine(this);

    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    buttons->Add(new wxButton(this, IDC_START, "Start"), 0, wxRIGHT, 6);
    buttons->Add(new wxButton(this, IDC_STOP, "Stop"), 0, wxRIGHT, 6);
    buttons->Add(new wxButton(this, IDC_SHOW_CONTROL, "Show Control"), 0, wxRIGHT, 6);
    buttons->AddStretchSpacer();
    buttons->Add(new wxButton(this, wxID_CANCEL, "Cancel"));
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(m_pTabs, 1, wxEXPAND | wxALL, 6);
    sizer->Add(m_pLinkGone, 0, wxLEFT | wxRIGHT, 8);
    sizer->Add(m_pLinkFailed, 0, wxLEFT | wxRIGHT, 8);
    sizer->Add(buttons, 0, wxEXPAND | wxALL, 6);
    SetSizerAndFit(sizer);

    m_pTabs->Bind(wxEVT_NOTEBOOK_PAGE_CHANGED, [this](wxBookCtrlEvent& event) {
        event.Skip();
        auto* page = dynamic_cast<CStatusTabPage*>(m_pTabs->GetPage(static_cast<size_t>(event.GetSelection())));
        if (page)
            page->SetFocus();
    });
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnStart(); }, IDC_START);
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
        m_worker.Stop();
        m_pStatusPage->Stop();
        m_pTerminalPage->Stop();
        m_pStatusPage->GetPicture()->Refresh(false);
        m_pTerminalPage->GetPicture()->Refresh(false);
    }, IDC_STOP);
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnShowControl(); }, IDC_SHOW_CONTROL);
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnCancel(); }, wxID_CANCEL);
    Bind(wxEVT_CLOSE_WINDOW, [this](wxCloseEvent&) { OnCancel(); });
    if (m_state.m_bConnected == 0 || m_state.m_pComm == nullptr)
        LinkGone();
}

// The control window is a child of this window and is deleted with it.
CMonitorStatusDlg::~CMonitorStatusDlg()
{
    m_worker.Stop();
}

bool CMonitorStatusDlg::Show(bool show)
{
    if (!show)
        StopBothPages();
    return wxDialog::Show(show);
}

CMonitorControlDlg* CMonitorStatusDlg::GetControlWindow() const
{
    return static_cast<CMonitorControlDlg*>(m_pControlDlg.get());
}

void CMonitorStatusDlg::SetStationIndex(int index)
{
    m_nStationIndex = index;
    m_pStatusPage->SelectStationIndex(index);
    m_pTerminalPage->SelectStationIndex(index);
}

void CMonitorStatusDlg::EnableShowControl(bool enable)
{
    FindWindow(IDC_SHOW_CONTROL)->Enable(enable);
}

void CMonitorStatusDlg::OnStart()
{
    if (m_state.m_bConnected == 0 || m_state.m_pComm == nullptr)
        return LinkGone();
    m_worker.Stop();
    m_pStatusPage->Start();
    m_pTerminalPage->Start();
}

void CMonitorStatusDlg::StopBothPages()
{
    m_worker.Stop();
    m_pStatusPage->KillTimer();
    m_pTerminalPage->KillTimer();
}

void CMonitorStatusDlg::LinkFailed(int messageId)
{
    StopBothPages();
    m_pStatusPage->ShowStale();
    m_pTerminalPage->ShowStale();
    if (ShowLinkFailed(m_pLinkFailed, messageId))
        Refit(this);
}

void CMonitorStatusDlg::LinkAnswered()
{
    if (ShowLinkFailed(m_pLinkFailed, -1))
        Refit(this);
}

void CMonitorStatusDlg::LinkGone()
{
    StopBothPages();
    m_pStatusPage->ShowStale();
    m_pTerminalPage->ShowStale();
    FindWindow(IDC_START)->Disable();
    if (!m_pLinkGone->IsShown()) {
        m_pLinkGone->Show();
        Refit(this);
    }
}

void CMonitorStatusDlg::OnShowControl()
{
    CMonitorControlDlg* control = GetControlWindow();
    if (!control) {
        control = new CMonitorControlDlg(this, m_state, m_nStationIndex, m_pProject);
        m_pControlDlg = control;
    } else {
        control->SetStationIndex(m_nStationIndex);
    }
    control->Show();
    control->FindWindow(CMonitorControlDlg::IDC_SHOW_STATUS)->Disable();
    const wxRect mine = GetScreenRect();
    MoveInsideWorkArea(control, wxPoint(mine.GetRight() + 1, mine.GetTop()));
    control->Raise();
}

void CMonitorStatusDlg::OnCancel()
{
    if (wxWindow* control = m_pControlDlg.get()) {
        control->Hide();
        DestroyAfterModalDialogs(control);
    }
    m_pControlDlg = nullptr;
    // A sibling hidden by its own Cancel stops polling; its opener shows it again.
    Hide();
}
