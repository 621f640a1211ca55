#pragma once
// The parameter editor for one group: every defined parameter of the group
// with its set value. OK stores the values into the project and refreshes the
// list; Cancel leaves the project as it was. (The tabbed pages with their
// range checks and drive writes replace this form.)

#include <wx/dialog.h>

#include <vector>

class wxTextCtrl;

class CParamGroupDlg : public wxDialog {
public:
    enum { IDD = 133 };

    explicit CParamGroupDlg(wxWindow* parent = nullptr);

    // Builds the group's fields, then runs the dialog.
    int ShowModal() override;

    int m_nGroup = -1; // the group shown, 0 to 14
    int m_nItem = -1;  // position among the group's shown parameters to mark; -1 none

    // The value field of each shown parameter, in list order.
    std::vector<wxTextCtrl*> m_Fields;

private:
    void BuildFields();
    void OnOK(wxCommandEvent& event);

    std::vector<int> m_Records; // record index of each field
};
