#include "shell/SetIpDlg.h"

#include "platform/DialogUnits.h"
#include "platform/ResourceModule.h"
#include "res/StringIds.h"

#include <wx/button.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

namespace {

constexpr unsigned long kNameLength = 26;
// "255.255.255.255"
constexpr unsigned long kIpLength = 15;

wxString ResText(unsigned id)
{
    return wxString::FromUTF8(LoadResString(id));
}

} // namespace

CSetIpDlg::CSetIpDlg(wxWindow* parent) : wxDialog(parent, IDD, ResText(IDS_SET_IP_CAPTION))
{
    SetClientSize(DlgSize(this, 170, 70));
    new wxStaticText(this, wxID_ANY, ResText(IDS_IP_LABEL), DlgPoint(this, 10, 12), DlgSize(this, 46, 10));
    m_pIp = new wxTextCtrl(this, IDC_IP, wxEmptyString, DlgPoint(this, 60, 10), DlgSize(this, 100, 12));
    m_pIp->SetMaxLength(kIpLength);
    new wxStaticText(this, wxID_ANY, ResText(IDS_DEVICE_NAME_LABEL), DlgPoint(this, 10, 30), DlgSize(this, 46, 10));
    m_pName = new wxTextCtrl(this, IDC_NAME, wxEmptyString, DlgPoint(this, 60, 28), DlgSize(this, 100, 12));
    m_pName->SetMaxLength(kNameLength);
    auto* ok = new wxButton(this, wxID_OK, ResText(IDS_OK), DlgPoint(this, 34, 50), DlgSize(this, 48, 14));
    new wxButton(this, wxID_CANCEL, ResText(IDS_CANCEL), DlgPoint(this, 90, 50), DlgSize(this, 48, 14));
    ok->SetDefault();
}

bool CSetIpDlg::TransferDataToWindow()
{
    m_pIp->ChangeValue(wxString::FromUTF8(m_strIp));
    m_pName->ChangeValue(wxString::FromUTF8(m_strName));
    return true;
}

bool CSetIpDlg::TransferDataFromWindow()
{
    m_strIp = m_pIp->GetValue().Trim(true).Trim(false).utf8_string();
    m_strName = m_pName->GetValue().utf8_string();
    return true;
}
