#include "view/CompareModeDlg.h"

#include "platform/DialogUnits.h"
#include "session/DriveSession.h"

#include <wx/button.h>
#include <wx/radiobut.h>
#include <wx/statbox.h>

CCompareModeDlg::CCompareModeDlg(wxWindow* parent, bool connected)
    : wxDialog(parent, IDD, "Compare Select"), m_bConnected(connected)
{
    SetClientSize(DlgSize(this, 186, 96));
    new wxStaticBox(this, wxID_ANY, "Compare", DlgPoint(this, 8, 6), DlgSize(this, 170, 62));
    const struct {
        int id;
        const char* text;
    } modes[3] = {{IDC_DEFAULT_SET, "Default value with set value"},
                  {IDC_DEFAULT_READ, "Default value with read value"},
                  {IDC_SET_READ, "Set value with read value"}};
    for (int mode = 0; mode < 3; ++mode)
        m_pModes[mode] = new wxRadioButton(this, modes[mode].id, modes[mode].text, DlgPoint(this, 18, 18 + 16 * mode),
                                           DlgSize(this, 150, 10), mode == 0 ? wxRB_GROUP : 0);
    auto* ok = new wxButton(this, wxID_OK, "OK", DlgPoint(this, 38, 76), DlgSize(this, 48, 14));
    new wxButton(this, wxID_CANCEL, "Cancel", DlgPoint(this, 100, 76), DlgSize(this, 48, 14));
    ok->SetDefault();
    Bind(wxEVT_INIT_DIALOG, &CCompareModeDlg::OnInitDialog, this);
}

void CCompareModeDlg::OnInitDialog(wxInitDialogEvent& event)
{
    // The read values need a drive.
    const bool connected = m_bConnected;
    if (!connected)
        m_nMode = 0;
    m_pModes[1]->Enable(connected);
    m_pModes[2]->Enable(connected);
    event.Skip(); // TransferDataToWindow
    // The focus starts on the mode that Enter runs, not on the group's first
    // button: a screen reader names the one that counts.
    const int mode = m_nMode >= 0 && m_nMode < 3 ? m_nMode : 0;
    m_pModes[mode]->SetFocus();
    CallAfter([this, mode] {
        if (IsShown() && m_pModes[mode]->GetValue())
            m_pModes[mode]->SetFocus();
    });
}

bool CCompareModeDlg::TransferDataToWindow()
{
    for (int mode = 0; mode < 3; ++mode)
        m_pModes[mode]->SetValue(mode == m_nMode);
    return true;
}

bool CCompareModeDlg::TransferDataFromWindow()
{
    for (int mode = 0; mode < 3; ++mode)
        if (m_pModes[mode]->GetValue())
            m_nMode = mode;
    return true;
}
