#include "shell/PasswordInputDlg.h"

#include "session/PasswordCommands.h"
#include "shell/PasswordDlgCommon.h"

#include <wx/statbox.h>

using namespace PasswordDlg;

CPasswordInputDlg::CPasswordInputDlg(wxWindow* parent) : wxDialog(parent, IDD, "Password Input")
{
    SetClientSize(DlgSize(this, 160, 52));
    m_pPassword = AddRow(this, IDC_PASSWORD, "Password:", 10);
    AddButtons(this, 32);
    Bind(wxEVT_BUTTON, &CPasswordInputDlg::OnOK, this, wxID_OK);
}

void CPasswordInputDlg::OnOK(wxCommandEvent&)
{
    m_strPassword = Text(m_pPassword);
    if (Accept(CheckPasswordText(m_strPassword))) {
        SetReturnCode(wxID_OK);
        EndDialog(wxID_OK);
    }
}
