#pragma once
// "Print Title Set": the title, name and department that the printed report's
// title block shows.

#include <wx/dialog.h>

#include <string>

class wxTextCtrl;

class CPrintTitleDlg : public wxDialog {
public:
    enum { IDD = 161, IDC_TITLE = 1142, IDC_NAME = 1143, IDC_DEPARTMENT = 1144 };
    // Longest texts, in characters.
    enum { kMaxDepartment = 40, kMaxName = 25, kMaxTitle = 30 };

    explicit CPrintTitleDlg(wxWindow* parent = nullptr);

    std::string m_strDepartment;
    std::string m_strName;
    std::string m_strTitle;

    bool TransferDataToWindow() override;
    // False when a field is longer than its limit (only a text that came
    // from a project file can be: typing is limited).
    bool TransferDataFromWindow() override;

private:
    void OnOK(wxCommandEvent& event);
    void OnTextChanged(wxCommandEvent& event);
    // Typing stops at the limit; a longer text that a project file brought
    // stays as it is until it is shortened (the toolkit's own limit would cut
    // it unseen).
    std::size_t LimitOf(const wxTextCtrl* edit) const;

    wxTextCtrl* m_pTitle = nullptr;
    wxTextCtrl* m_pName = nullptr;
    wxTextCtrl* m_pDepartment = nullptr;
    wxString m_accepted[3]; // title, name, department as last accepted
};
