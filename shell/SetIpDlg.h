#pragma once
// Set IP (dialog 5780): a new address and a name for an adapter of the list.
// The caller sets both texts before the dialog runs and reads them after OK.

#include <wx/dialog.h>

#include <string>

class wxTextCtrl;

class CSetIpDlg : public wxDialog {
public:
    enum { IDD = 5780, IDC_IP = 1221, IDC_NAME = 1223 };
    explicit CSetIpDlg(wxWindow* parent = nullptr);

    bool TransferDataToWindow() override;
    bool TransferDataFromWindow() override;

    std::string m_strIp;
    std::string m_strName; // at most 26 characters

private:
    wxTextCtrl* m_pIp = nullptr;
    wxTextCtrl* m_pName = nullptr;
};
