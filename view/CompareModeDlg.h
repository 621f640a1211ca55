#pragma once
// "Compare Select": which two values Compare sets side by side. Without an
// open link only the factory default against the set value can be chosen.

#include <wx/dialog.h>

class wxRadioButton;

class CCompareModeDlg : public wxDialog {
public:
    enum { IDD = 188, IDC_DEFAULT_SET = 1072, IDC_DEFAULT_READ = 1059, IDC_SET_READ = 1060 };

    // connected: whether a drive is connected (the read values need one).
    explicit CCompareModeDlg(wxWindow* parent = nullptr, bool connected = false);

    // 0 default/set, 1 default/read, 2 set/read (CompareMode).
    int m_nMode = 2;

    bool TransferDataToWindow() override;
    bool TransferDataFromWindow() override;

private:
    void OnInitDialog(wxInitDialogEvent& event);

    bool m_bConnected;
    wxRadioButton* m_pModes[3] = {};
};
