#include "shell/PasswordSetDlg.h"

#include "session/PasswordCommands.h"
#include "shell/PasswordDlgCommon.h"

#include <wx/statbox.h>

using namespace PasswordDlg;

CPasswordSetDlg::CPasswordSetDlg(wxWindow* parent) : wxDialog(parent, IDD, "Password Set")
{
    SetClientSize(DlgSize(this, 160, 70));
    m_pPassword = AddRow(this, IDC_PASSWORD, "Password:", 10);
    m_pRepeat = AddRow(this, IDC_REPEAT, "Repeat:", 28);
    AddButtons(this, 50);
    Bind(wxEVT_BUTTON, &CPasswordSetDlg::OnOK, this, wxID_OK);
}

void CPasswordSetDlg::OnOK(wxCommandEvent&)
{
    m_strPassword = Text(m_pPassword);
    m_strRepeat = Text(m_pRepeat);
    if (Accept(CheckPasswordSetInput(m_strPassword, m_strRepeat))) {
        SetReturnCode(wxID_OK);
        EndDialog(wxID_OK);
    }
}
