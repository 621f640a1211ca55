#include "monitor/GraphSetDlg.h"

#include "monitor/GraphQuantities.h"
#include "platform/Accessibility.h"
#include "platform/MessageBox.h"
#include "res/StringIds.h"

#include <wx/button.h>
#include <wx/choice.h>
#include <wx/sizer.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include <cstdio>
#include <cstdlib>

namespace {

const char* const kCurveNames[4] = {"Yellow Curve", "Green Curve", "Red Curve", "Blue Curve"};

wxString Utf8(const std::string& text)
{
    return wxString::FromUTF8(text);
}

// What the limit edits take: digits and points, up to 65535.
bool IsLimitText(const std::string& text)
{
    for (char c : text) {
        if (!(c >= '0' && c <= '9') && c != '.')
            return false;
    }
    return std::atof(text.c_str()) <= 65535.0;
}

std::string TwoDecimals(double value)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.2f", value);
    return text;
}

} // namespace

CGraphSetDlg::CGraphSetDlg(wxWindow* parent, const std::vector<int>& stations, int modelCode)
    : wxDialog(parent, IDD, "Parameter Set"), m_stations(stations)
{
    auto* top = new wxBoxSizer(wxVERTICAL);
    auto* stationRow = new wxBoxSizer(wxHORIZONTAL);
    stationRow->Add(new wxStaticText(this, wxID_ANY, "Station Num:"), 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 6);
    m_pStations = new wxChoice(this, IDC_STATION);
    for (int station : m_stations)
        m_pStations->Append(wxString::Format("%d", station));
    stationRow->Add(m_pStations, 1);
    top->Add(stationRow, 0, wxEXPAND | wxALL, 8);

    wxArrayString names;
    for (const std::string& name : GraphCurveListNames(modelCode))
        names.Add(Utf8(name));
    auto* grid = new wxGridSizer(2, 2, 6, 6);
    for (int k = 0; k < 4; ++k) {
        auto* box = new wxStaticBoxSizer(wxVERTICAL, this, "Set");
        auto* fields = new wxFlexGridSizer(2, 4, 6);
        wxWindow* group = box->GetStaticBox();
        // Each label made just before its control: assistive tools name a
        // control after the label before it.
        fields->Add(new wxStaticText(group, wxID_ANY, kCurveNames[k]), 0, wxALIGN_CENTER_VERTICAL);
        m_pLists[k] = new wxChoice(group, kListIds[k], wxDefaultPosition, wxDefaultSize, names);
        fields->Add(m_pLists[k], 1, wxEXPAND);
        fields->Add(new wxStaticText(group, wxID_ANY, "Maximum"), 0, wxALIGN_CENTER_VERTICAL);
        m_pMax[k] = new wxTextCtrl(group, kMaxIds[k]);
        fields->Add(m_pMax[k], 1, wxEXPAND);
        fields->Add(new wxStaticText(group, wxID_ANY, "Minimum"), 0, wxALIGN_CENTER_VERTICAL);
        m_pMin[k] = new wxTextCtrl(group, kMinIds[k]);
        fields->Add(m_pMin[k], 1, wxEXPAND);
        box->Add(fields, 1, wxEXPAND | wxALL, 4);
        grid->Add(box, 1, wxEXPAND);
        m_pMax[k]->Bind(wxEVT_TEXT, &CGraphSetDlg::OnLimitChanged, this);
        m_pMin[k]->Bind(wxEVT_TEXT, &CGraphSetDlg::OnLimitChanged, this);
    }
    top->Add(grid, 1, wxEXPAND | wxLEFT | wxRIGHT, 8);
    top->Add(CreateButtonSizer(wxOK | wxCANCEL), 0, wxEXPAND | wxALL, 8);
    SetSizerAndFit(top);
    // Four boxes have a "Maximum" and a "Minimum": each field is read with
    // its curve's name, as the focus alone does not show which box it is in.
    for (int k = 0; k < 4; ++k) {
        SetAccessibleName(m_pMax[k], wxString(kCurveNames[k]) + " Maximum");
        SetAccessibleName(m_pMin[k], wxString(kCurveNames[k]) + " Minimum");
    }
    NameControlsByLabels(this);
    Bind(wxEVT_BUTTON, &CGraphSetDlg::OnOK, this, wxID_OK);
}

bool CGraphSetDlg::TransferDataToWindow()
{
    m_bFiltering = true;
    // A saved station beyond the connected ones starts from the first.
    if (m_nStationSel < 0 || m_nStationSel >= static_cast<int>(m_pStations->GetCount()))
        m_nStationSel = 0;
    if (m_pStations->GetCount() > 0)
        m_pStations->SetSelection(m_nStationSel);
    for (int k = 0; k < 4; ++k) {
        int found = 0;
        for (unsigned i = 0; i < m_pLists[k]->GetCount(); ++i) {
            if (SameGraphName(m_pLists[k]->GetString(i).utf8_string(), m_strName[k])) {
                found = static_cast<int>(i);
                break;
            }
        }
        m_nSel[k] = found;
        m_pLists[k]->SetSelection(found);
        m_pMax[k]->ChangeValue(Utf8(m_strMax[k]));
        m_pMin[k]->ChangeValue(Utf8(m_strMin[k]));
    }
    m_bFiltering = false;
    return true;
}

bool CGraphSetDlg::TransferDataFromWindow()
{
    m_nStationSel = m_pStations->GetSelection();
    if (m_nStationSel >= 0 && m_nStationSel < static_cast<int>(m_stations.size()))
        m_nStation = m_stations[m_nStationSel];
    for (int k = 0; k < 4; ++k) {
        // A list without a selection counts as "No Display".
        int sel = m_pLists[k]->GetSelection();
        m_nSel[k] = sel < 0 ? 0 : sel;
        m_strName[k] = m_pLists[k]->GetString(m_nSel[k]).utf8_string();
        m_strMax[k] = m_pMax[k]->GetValue().utf8_string();
        m_strMin[k] = m_pMin[k]->GetValue().utf8_string();
    }
    return true;
}

void CGraphSetDlg::OnLimitChanged(wxCommandEvent& event)
{
    if (m_bFiltering)
        return;
    auto* edit = dynamic_cast<wxTextCtrl*>(event.GetEventObject());
    std::string* member = nullptr;
    for (int k = 0; k < 4; ++k) {
        if (edit == m_pMax[k])
            member = &m_strMax[k];
        else if (edit == m_pMin[k])
            member = &m_strMin[k];
    }
    if (!edit || !member)
        return;
    std::string text = edit->GetValue().utf8_string();
    m_bFiltering = true;
    if (!IsLimitText(text)) {
        long at = edit->GetInsertionPoint();
        edit->ChangeValue(Utf8(*member));
        edit->SetInsertionPoint(std::min<long>(at > 0 ? at - 1 : 0, edit->GetLastPosition()));
    } else {
        size_t point = text.find('.');
        if (point != std::string::npos && text.size() - point - 1 > 2) {
            text.pop_back();
            edit->ChangeValue(Utf8(text));
            edit->SetInsertionPointEnd();
        }
        *member = text;
    }
    m_bFiltering = false;
}

bool CGraphSetDlg::CheckAndClose()
{
    for (int k = 0; k < 4; ++k) {
        m_strMax[k] = m_pMax[k]->GetValue().utf8_string();
        m_strMin[k] = m_pMin[k]->GetValue().utf8_string();
    }
    for (int k = 0; k < 4; ++k) {
        double max = std::atof(m_strMax[k].c_str());
        double min = std::atof(m_strMin[k].c_str());
        if (!(max > min)) {
            m_pMax[k]->SetFocus();
            m_pMax[k]->SelectAll();
            AfxMessageBox(IDS_MAX_NOT_ABOVE_MIN);
            return false;
        }
        m_strMax[k] = TwoDecimals(max);
        m_strMin[k] = TwoDecimals(min);
        m_bFiltering = true;
        m_pMax[k]->ChangeValue(Utf8(m_strMax[k]));
        m_pMin[k]->ChangeValue(Utf8(m_strMin[k]));
        m_bFiltering = false;
    }
    TransferDataFromWindow();
    if (IsModal())
        EndModal(wxID_OK);
    else
        SetReturnCode(wxID_OK);
    return true;
}

void CGraphSetDlg::OnOK(wxCommandEvent&)
{
    CheckAndClose();
}
