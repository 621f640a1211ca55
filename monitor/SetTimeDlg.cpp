#include "monitor/SetTimeDlg.h"

#include "platform/Accessibility.h"
#include "platform/MessageBox.h"
#include "res/StringIds.h"

#include <wx/button.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

namespace {

// A whole number, optionally negative, as the edits take it.
bool ParseWhole(const wxString& text, int& value)
{
    long number = 0;
    if (text.empty() || !text.ToLong(&number) || number < -1000000 || number > 1000000)
        return false;
    value = static_cast<int>(number);
    return true;
}

} // namespace

CSetTimeDlg::CSetTimeDlg(wxWindow* parent) : wxDialog(parent, IDD, "Set Time")
{
    auto* top = new wxBoxSizer(wxVERTICAL);
    top->Add(new wxStaticText(this, wxID_ANY, "Time Interval:"), 0, wxALL, 8);
    auto* row = new wxBoxSizer(wxHORIZONTAL);
    // The unit is written after each field; both are read as the interval
    // they set, in their unit.
    auto* minutes = new wxStaticText(this, wxID_ANY, "(*1 Minute)");
    m_pMinutes = new wxTextCtrl(this, IDC_MINUTES);
    auto* seconds = new wxStaticText(this, wxID_ANY, "(*1 Second)");
    m_pSeconds = new wxTextCtrl(this, IDC_SECONDS);
    row->Add(m_pMinutes, 1, wxRIGHT, 4);
    row->Add(minutes, 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 8);
    row->Add(m_pSeconds, 1, wxRIGHT, 4);
    row->Add(seconds, 0, wxALIGN_CENTER_VERTICAL);
    top->Add(row, 0, wxEXPAND | wxLEFT | wxRIGHT, 8);
    top->Add(CreateButtonSizer(wxOK | wxCANCEL), 0, wxEXPAND | wxALL, 8);
    SetSizerAndFit(top);
    SetAccessibleName(m_pMinutes, "Time Interval, minutes");
    SetAccessibleName(m_pSeconds, "Time Interval, seconds");
    NameControlsByLabels(this);
    m_pMinutes->Bind(wxEVT_TEXT, &CSetTimeDlg::OnEdit, this);
    m_pSeconds->Bind(wxEVT_TEXT, &CSetTimeDlg::OnEdit, this);
    Bind(wxEVT_BUTTON, &CSetTimeDlg::OnOK, this, wxID_OK);
}

bool CSetTimeDlg::TransferDataToWindow()
{
    m_bFilling = true;
    m_pMinutes->ChangeValue(wxString::Format("%d", m_nMinutes));
    m_pSeconds->ChangeValue(wxString::Format("%d", m_nSeconds));
    m_bFilling = false;
    return true;
}

bool CSetTimeDlg::TransferDataFromWindow()
{
    return ParseWhole(m_pMinutes->GetValue(), m_nMinutes) && ParseWhole(m_pSeconds->GetValue(), m_nSeconds);
}

void CSetTimeDlg::OnEdit(wxCommandEvent& event)
{
    if (m_bFilling)
        return;
    wxTextCtrl* edit = event.GetId() == IDC_MINUTES ? m_pMinutes : m_pSeconds;
    int& member = event.GetId() == IDC_MINUTES ? m_nMinutes : m_nSeconds;
    wxString text = edit->GetValue();
    // An empty edit or a lone sign is a number being typed.
    if (text.empty() || text == "-")
        return;
    if (!ParseWhole(text, member)) {
        m_bFilling = true;
        edit->ChangeValue(wxString::Format("%d", member));
        edit->SetInsertionPointEnd();
        m_bFilling = false;
    }
}

bool CSetTimeDlg::CheckAndClose()
{
    int minutes = m_nMinutes;
    int seconds = m_nSeconds;
    if (!ParseWhole(m_pMinutes->GetValue(), minutes) || !ParseWhole(m_pSeconds->GetValue(), seconds))
        return false;
    if (static_cast<long long>(minutes) * 60 + seconds <= 0) {
        AfxMessageBox(IDS_SPAN_NOT_POSITIVE);
        return false;
    }
    m_nMinutes = minutes;
    m_nSeconds = seconds;
    if (IsModal())
        EndModal(wxID_OK);
    else
        SetReturnCode(wxID_OK);
    return true;
}

void CSetTimeDlg::OnOK(wxCommandEvent&)
{
    CheckAndClose();
}
