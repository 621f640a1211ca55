#pragma once
// Password Input (dialog 263): the password that releases the drive's parameters.
// OK checks the texts and closes only on valid input; each edit takes at most
// 5 characters.

#include <wx/dialog.h>

#include <string>

class wxTextCtrl;

class CPasswordInputDlg : public wxDialog {
public:
    enum { IDD = 263, IDC_PASSWORD = 1487 };
    explicit CPasswordInputDlg(wxWindow* parent = nullptr);

    std::string m_strPassword;

private:
    void OnOK(wxCommandEvent& event);
    wxTextCtrl* m_pPassword = nullptr;
};
