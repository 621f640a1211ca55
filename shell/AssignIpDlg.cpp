#include "shell/AssignIpDlg.h"

#include "platform/DialogUnits.h"
#include "platform/ResourceModule.h"
#include "res/StringIds.h"

#include <wx/button.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

namespace {

constexpr unsigned long kMacLength = 17;
constexpr unsigned long kIpLength = 15;

wxString ResText(unsigned id)
{
    return wxString::FromUTF8(LoadResString(id));
}

} // namespace

CAssignIpDlg::CAssignIpDlg(wxWindow* parent) : wxDialog(parent, IDD, ResText(IDS_ASSIGN_IP_CAPTION))
{
    SetClientSize(DlgSize(this, 170, 84));
    new wxStaticText(this, wxID_ANY, "MAC:", DlgPoint(this, 10, 12), DlgSize(this, 30, 10));
    m_pMac = new wxTextCtrl(this, IDC_MAC, wxEmptyString, DlgPoint(this, 44, 10), DlgSize(this, 116, 12));
    m_pMac->SetMaxLength(kMacLength);
    new wxStaticText(this, wxID_ANY, "(00-20-4a-00-00-01)", DlgPoint(this, 44, 25), DlgSize(this, 116, 10));
    new wxStaticText(this, wxID_ANY, "IP:", DlgPoint(this, 10, 42), DlgSize(this, 30, 10));
    m_pIp = new wxTextCtrl(this, IDC_IP, wxEmptyString, DlgPoint(this, 44, 40), DlgSize(this, 116, 12));
    m_pIp->SetMaxLength(kIpLength);
    auto* ok = new wxButton(this, wxID_OK, ResText(IDS_OK), DlgPoint(this, 34, 64), DlgSize(this, 48, 14));
    new wxButton(this, wxID_CANCEL, ResText(IDS_CANCEL), DlgPoint(this, 90, 64), DlgSize(this, 48, 14));
    ok->SetDefault();
}

bool CAssignIpDlg::TransferDataFromWindow()
{
    m_strMac = m_pMac->GetValue().Trim(true).Trim(false).utf8_string();
    m_strIp = m_pIp->GetValue().Trim(true).Trim(false).utf8_string();
    return true;
}
