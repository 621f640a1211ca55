#pragma once
// Password Set (dialog 259): a new password, typed twice.
// OK checks the texts and closes only on valid input; each edit takes at most
// 5 characters.

#include <wx/dialog.h>

#include <string>

class wxTextCtrl;

class CPasswordSetDlg : public wxDialog {
public:
    enum { IDD = 259, IDC_PASSWORD = 1485, IDC_REPEAT = 1486 };
    explicit CPasswordSetDlg(wxWindow* parent = nullptr);

    std::string m_strPassword;
    std::string m_strRepeat;

private:
    void OnOK(wxCommandEvent& event);
    wxTextCtrl* m_pPassword = nullptr;
    wxTextCtrl* m_pRepeat = nullptr;
};
