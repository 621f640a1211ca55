#pragma once
// Change Password (dialog 279): the active password and a new one, typed twice.
// OK checks the texts and closes only on valid input; each edit takes at most
// 5 characters.

#include <wx/dialog.h>

#include <string>

class wxTextCtrl;

class CChangePasswordDlg : public wxDialog {
public:
    enum { IDD = 279, IDC_OLD = 1488, IDC_NEW = 1489, IDC_REPEAT = 1490 };
    explicit CChangePasswordDlg(wxWindow* parent = nullptr);

    std::string m_strNew;
    std::string m_strRepeat;
    std::string m_strOld;

private:
    void OnOK(wxCommandEvent& event);
    wxTextCtrl* m_pOld = nullptr;
    wxTextCtrl* m_pNew = nullptr;
    wxTextCtrl* m_pRepeat = nullptr;
};
