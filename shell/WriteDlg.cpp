#include "shell/WriteDlg.h"

#include "platform/DialogUnits.h"
#include "platform/MessageBox.h"
#include "platform/ResourceModule.h"
#include "res/StringIds.h"
#include "session/DriveSession.h"
#include "session/StationList.h"

#include <wx/button.h>
#include <wx/radiobut.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include <algorithm>

namespace {

bool OnlyStationListCharacters(const wxString& text)
{
    for (wxUniChar c : text) {
        if (!((c >= '0' && c <= '9') || c == ',' || c == '-'))
            return false;
    }
    return true;
}

} // namespace

CWriteDlg::CWriteDlg(wxWindow* parent, const CDriveSession& session)
    : wxDialog(parent, IDD, "Write"), m_pParent(parent), m_session(session)
{
    SetClientSize(DlgSize(this, 210, 100));
    new wxStaticBox(this, wxID_ANY, "Station", DlgPoint(this, 7, 5), DlgSize(this, 196, 66));
    m_pSingle = new wxRadioButton(this, IDC_SINGLE, "Single", DlgPoint(this, 15, 18), DlgSize(this, 50, 10), wxRB_GROUP);
    m_pAll = new wxRadioButton(this, IDC_ALL, "All Inverter", DlgPoint(this, 110, 18), DlgSize(this, 70, 10));
    m_pStations = new wxTextCtrl(this, IDC_STATIONS, wxEmptyString, DlgPoint(this, 15, 34), DlgSize(this, 180, 12));
    new wxStaticText(this, wxID_ANY, "(Single or specified range, e.g.: 1,3,5-12)", DlgPoint(this, 15, 52),
                     DlgSize(this, 180, 10));
    auto* ok = new wxButton(this, wxID_OK, "OK", DlgPoint(this, 50, 78), DlgSize(this, 48, 14));
    new wxButton(this, wxID_CANCEL, "Cancel", DlgPoint(this, 112, 78), DlgSize(this, 48, 14));
    ok->SetDefault();

    m_strStations = session.m_strStations;
    m_lastAccepted = wxString::FromUTF8(m_strStations);
    m_pStations->ChangeValue(m_lastAccepted);
    m_pSingle->SetValue(true);

    Bind(wxEVT_TEXT, &CWriteDlg::OnStationsChanged, this, IDC_STATIONS);
    Bind(wxEVT_RADIOBUTTON, &CWriteDlg::OnSingle, this, IDC_SINGLE);
    Bind(wxEVT_RADIOBUTTON, &CWriteDlg::OnAll, this, IDC_ALL);
    Bind(wxEVT_BUTTON, &CWriteDlg::OnOK, this, wxID_OK);
}

void CWriteDlg::OnStationsChanged(wxCommandEvent&)
{
    wxString text = m_pStations->GetValue();
    if (OnlyStationListCharacters(text)) {
        m_lastAccepted = text;
        return;
    }
    long insertion = m_pStations->GetInsertionPoint();
    m_pStations->ChangeValue(m_lastAccepted);
    m_pStations->SetInsertionPoint(std::min<long>(std::max(0L, insertion - 1), m_pStations->GetLastPosition()));
}

void CWriteDlg::OnSingle(wxCommandEvent&)
{
    m_nChoice = kSingle;
    m_pStations->Enable(true);
}

void CWriteDlg::OnAll(wxCommandEvent&)
{
    m_nChoice = kAllInverter;
    m_pStations->Enable(false);
}

void CWriteDlg::OnOK(wxCommandEvent&)
{
    m_nChoice = m_pAll->GetValue() ? kAllInverter : kSingle;
    m_strStations = m_pStations->GetValue().utf8_string();
    m_Stations.clear();
    if (m_nChoice == kAllInverter) {
        m_Stations.push_back(0); // broadcast
        Finish(wxID_OK);
        return;
    }
    if (m_strStations.empty()) {
        AfxMessageBox(IDS_STATION_EMPTY);
        return;
    }
    if (!ParseStationList(m_Stations, m_strStations))
        return;
    const std::vector<int>& connectedStations = m_session.m_Stations;
    for (int station : m_Stations) {
        bool connected = std::find(connectedStations.begin(), connectedStations.end(), station) !=
                         connectedStations.end();
        if (!connected) {
            AfxMessageBox(FormatResString(IDS_STATION_NOT_CONNECTED, station));
            m_pStations->SetFocus();
            m_pStations->SelectAll();
            return;
        }
    }
    Finish(wxID_OK);
}

void CWriteDlg::Finish(int code)
{
    SetReturnCode(code);
    EndDialog(code);
}
