#include "view/PrintTitleDlg.h"

#include "platform/DialogUnits.h"
#include "platform/MessageBox.h"
#include "res/StringIds.h"

#include <wx/button.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/utils.h>

#include <algorithm>

CPrintTitleDlg::CPrintTitleDlg(wxWindow* parent) : wxDialog(parent, IDD, "Print Title Set")
{
    SetClientSize(DlgSize(this, 220, 92));
    new wxStaticText(this, wxID_ANY, "Title:", DlgPoint(this, 10, 12), DlgSize(this, 45, 10));
    m_pTitle = new wxTextCtrl(this, IDC_TITLE, wxEmptyString, DlgPoint(this, 60, 10), DlgSize(this, 150, 13));
    new wxStaticText(this, wxID_ANY, "Name:", DlgPoint(this, 10, 31), DlgSize(this, 45, 10));
    m_pName = new wxTextCtrl(this, IDC_NAME, wxEmptyString, DlgPoint(this, 60, 29), DlgSize(this, 150, 13));
    new wxStaticText(this, wxID_ANY, "Department:", DlgPoint(this, 10, 50), DlgSize(this, 48, 10));
    m_pDepartment = new wxTextCtrl(this, IDC_DEPARTMENT, wxEmptyString, DlgPoint(this, 60, 48), DlgSize(this, 150, 13));
    auto* ok = new wxButton(this, wxID_OK, "OK", DlgPoint(this, 50, 70), DlgSize(this, 50, 14));
    new wxButton(this, wxID_CANCEL, "Cancel", DlgPoint(this, 120, 70), DlgSize(this, 50, 14));
    ok->SetDefault();
    Bind(wxEVT_BUTTON, &CPrintTitleDlg::OnOK, this, wxID_OK);
    for (int id : {IDC_TITLE, IDC_NAME, IDC_DEPARTMENT})
        Bind(wxEVT_TEXT, &CPrintTitleDlg::OnTextChanged, this, id);
}

std::size_t CPrintTitleDlg::LimitOf(const wxTextCtrl* edit) const
{
    if (edit == m_pTitle)
        return kMaxTitle;
    if (edit == m_pName)
        return kMaxName;
    return kMaxDepartment;
}

void CPrintTitleDlg::OnTextChanged(wxCommandEvent& event)
{
    wxTextCtrl* edits[3] = {m_pTitle, m_pName, m_pDepartment};
    for (int i = 0; i < 3; ++i) {
        if (event.GetEventObject() != edits[i])
            continue;
        wxString text = edits[i]->GetValue();
        // Longer than the limit and longer than before: the typing is refused.
        if (text.length() > LimitOf(edits[i]) && text.length() > m_accepted[i].length()) {
            long insertion = edits[i]->GetInsertionPoint();
            edits[i]->ChangeValue(m_accepted[i]);
            edits[i]->SetInsertionPoint(std::min<long>(insertion, edits[i]->GetLastPosition()));
            wxBell();
            return;
        }
        m_accepted[i] = text;
    }
}

bool CPrintTitleDlg::TransferDataToWindow()
{
    m_accepted[2] = wxString::FromUTF8(m_strDepartment);
    m_accepted[1] = wxString::FromUTF8(m_strName);
    m_accepted[0] = wxString::FromUTF8(m_strTitle);
    m_pDepartment->ChangeValue(m_accepted[2]);
    m_pName->ChangeValue(m_accepted[1]);
    m_pTitle->ChangeValue(m_accepted[0]);
    return true;
}

bool CPrintTitleDlg::TransferDataFromWindow()
{
    struct Field {
        wxTextCtrl* edit;
        std::size_t limit;
    };
    for (Field field : {Field{m_pDepartment, kMaxDepartment}, Field{m_pName, kMaxName}, Field{m_pTitle, kMaxTitle}}) {
        if (field.edit->GetValue().length() > field.limit) {
            field.edit->SetFocus();
            field.edit->SelectAll();
            return false;
        }
    }
    m_strDepartment = m_pDepartment->GetValue().utf8_string();
    m_strName = m_pName->GetValue().utf8_string();
    m_strTitle = m_pTitle->GetValue().utf8_string();
    return true;
}

void CPrintTitleDlg::OnOK(wxCommandEvent&)
{
    // An over-long text keeps the dialog open until it is shortened or the
    // dialog is cancelled.
    if (!TransferDataFromWindow()) {
        AfxMessageBox(IDS_TITLE_TOO_LONG, MB_OK);
        return;
    }
    EndModal(wxID_OK);
}
