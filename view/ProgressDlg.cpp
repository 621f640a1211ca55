#include "view/ProgressDlg.h"

#include "platform/DialogUnits.h"

#include <wx/gauge.h>
#include <wx/stattext.h>

CProgressDlg::CProgressDlg(wxWindow* parent)
    : wxDialog(parent, IDD, wxEmptyString, wxDefaultPosition, wxDefaultSize, wxBORDER_RAISED)
{
    SetClientSize(DlgSize(this, 220, 56));
    m_pHeading = new wxStaticText(this, IDC_HEADING, wxEmptyString, DlgPoint(this, 8, 6), DlgSize(this, 204, 10));
    m_ctlProgress = new wxGauge(this, IDC_PROGRESS, 100, DlgPoint(this, 8, 20), DlgSize(this, 204, 12));
    m_ctlGroupText = new wxStaticText(this, IDC_GROUP_TEXT, wxEmptyString, DlgPoint(this, 8, 38), DlgSize(this, 204, 10));
}

bool CProgressDlg::TransferDataToWindow()
{
    m_pHeading->SetLabel(m_strHeading);
    return wxDialog::TransferDataToWindow();
}
