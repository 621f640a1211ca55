#pragma once
// Assign IP (dialog 282): a new address for any adapter, known by its MAC text.

#include <wx/dialog.h>

#include <string>

class wxTextCtrl;

class CAssignIpDlg : public wxDialog {
public:
    enum { IDD = 282, IDC_IP = 1221, IDC_MAC = 1318 };
    explicit CAssignIpDlg(wxWindow* parent = nullptr);

    bool TransferDataFromWindow() override;

    std::string m_strIp;
    std::string m_strMac; // at most 17 characters: xx-xx-xx-xx-xx-xx

private:
    wxTextCtrl* m_pIp = nullptr;
    wxTextCtrl* m_pMac = nullptr;
};
