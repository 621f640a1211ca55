#include "shell/ChangePasswordDlg.h"

#include "session/PasswordCommands.h"
#include "shell/PasswordDlgCommon.h"

#include <wx/statbox.h>

using namespace PasswordDlg;

CChangePasswordDlg::CChangePasswordDlg(wxWindow* parent) : wxDialog(parent, IDD, "Change Password")
{
    SetClientSize(DlgSize(this, 160, 94));
    new wxStaticBox(this, wxID_ANY, "Modify", DlgPoint(this, 6, 2), DlgSize(this, 148, 68));
    m_pOld = AddRow(this, IDC_OLD, "Old:", 14);
    m_pNew = AddRow(this, IDC_NEW, "New:", 32);
    m_pRepeat = AddRow(this, IDC_REPEAT, "Repeat:", 50);
    AddButtons(this, 75);
    Bind(wxEVT_BUTTON, &CChangePasswordDlg::OnOK, this, wxID_OK);
}

void CChangePasswordDlg::OnOK(wxCommandEvent&)
{
    m_strOld = Text(m_pOld);
    m_strNew = Text(m_pNew);
    m_strRepeat = Text(m_pRepeat);
    if (Accept(CheckChangePasswordInput(m_strOld, m_strNew, m_strRepeat))) {
        SetReturnCode(wxID_OK);
        EndDialog(wxID_OK);
    }
}
