#include "monitor/StatusTabPage.h"

#include "monitor/LiveWindowSupport.h"
#include "monitor/LiveWorker.h"
#include "monitor/MonitorStatusDlg.h"
#include "platform/ResourceModule.h"
#include "res/StringIds.h"
#include "session/DriveSession.h"

#include <wx/choice.h>
#include <wx/dcbuffer.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

namespace {

constexpr int kPictureWidth = 711;
constexpr int kPictureHeight = 435;

} // namespace

CStatusTabPage::CStatusTabPage(wxWindow* parent, CMonitorStatusDlg* owner, CDriveSession& state, int stationIndex)
    : wxPanel(parent)
    , m_pOwner(owner)
    , m_state(state)
    , m_exchange(state)
    , m_timer(this, 1)
    , m_nStationIndex(stationIndex)
{
    m_pStation = CreateStationChoice(this, IDC_STATION, m_state.m_Stations, m_nStationIndex);
    m_nStationIndex = m_pStation->GetSelection();
    m_nStation = SelectedStation(m_pStation, m_state.m_Stations);
    m_pPicture = new wxPanel(this, wxID_ANY, wxDefaultPosition, wxSize(kPictureWidth, kPictureHeight));
    m_pPicture->SetMinSize(wxSize(kPictureWidth, kPictureHeight));
    m_pPicture->SetBackgroundStyle(wxBG_STYLE_PAINT);

    auto* row = new wxBoxSizer(wxHORIZONTAL);
    auto* label = new wxStaticText(this, wxID_ANY, wxString::FromUTF8(LoadResString(IDS_STATION_NUM_LABEL)));
    NameByLabel(m_pStation, label->GetLabel());
    row->Add(label, 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 6);
    row->Add(m_pStation);
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(row, 0, wxALL, 4);
    sizer->Add(m_pPicture, 0, wxLEFT | wxRIGHT | wxBOTTOM, 2);
    SetSizer(sizer);

    m_pPicture->Bind(wxEVT_PAINT, [this](wxPaintEvent&) {
        wxAutoBufferedPaintDC dc(m_pPicture);
        OnPaintPicture(dc);
    });
    Bind(wxEVT_TIMER, [this](wxTimerEvent&) { OnTick(); }, 1);
    Bind(wxEVT_CHOICE, [this](wxCommandEvent&) {
        m_nStationIndex = m_pStation->GetSelection();
        m_nStation = SelectedStation(m_pStation, m_state.m_Stations);
        m_pOwner->OnPageStation(m_nStationIndex);
    }, IDC_STATION);
}

void CStatusTabPage::Start()
{
    m_timer.Start(400);
    m_bPending = false;
    m_bStarted = 1;
    m_bStopped = 0;
}

void CStatusTabPage::Stop()
{
    m_timer.Stop();
    m_bPending = false;
    m_bStarted = 0;
    m_bStopped = 1;
}

void CStatusTabPage::KillTimer()
{
    m_timer.Stop();
    m_bPending = false;
}

void CStatusTabPage::ShowStale()
{
    m_bStale = true;
    UpdateTexts();
    m_pPicture->Refresh(false);
}

void CStatusTabPage::SelectStationIndex(int index)
{
    if (index < 0 || index >= static_cast<int>(m_pStation->GetCount()))
        return;
    m_nStationIndex = index;
    m_pStation->SetSelection(index);
    m_nStation = SelectedStation(m_pStation, m_state.m_Stations);
}

void CStatusTabPage::Poll()
{
    OnTick();
    m_pOwner->Worker().WaitUntilIdle();
}

void CStatusTabPage::OnTick()
{
    if (m_bPending)
        return;
    if (!m_exchange.IsConnected())
        return m_pOwner->LinkGone();
    m_bPending = true;
    QueuePoll(m_pOwner->Worker());
}

bool CStatusTabPage::Done(const LiveReply& reply)
{
    m_bPending = false;
    if (reply.failure == LiveFailure::NotConnected || (!reply.Ok() && !m_exchange.IsConnected())) {
        m_pOwner->LinkGone();
        return false;
    }
    switch (reply.failure) {
    case LiveFailure::None:
        m_bStale = false;
        m_pOwner->LinkAnswered();
        return true;
    case LiveFailure::NotConnected:
        break;
    case LiveFailure::Link:
        if (reply.messageId != 0)
            m_pOwner->LinkFailed(static_cast<int>(reply.messageId));
        break;
    case LiveFailure::WrongFunction:
        KillTimer();
        ShowStale();
        ShowLiveMessage(reply);
        break;
    }
    return false;
}
