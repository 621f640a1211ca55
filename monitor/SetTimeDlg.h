#pragma once
// "Set Time": the time span the chart shows, as minutes and seconds.

#include <wx/dialog.h>

class wxTextCtrl;

class CSetTimeDlg : public wxDialog {
public:
    enum { IDD = 302, IDC_MINUTES = 1034, IDC_SECONDS = 1035 };

    explicit CSetTimeDlg(wxWindow* parent);

    int m_nMinutes = 1;
    int m_nSeconds = 1;

    bool TransferDataToWindow() override;
    bool TransferDataFromWindow() override;

    wxTextCtrl* MinutesEdit() const { return m_pMinutes; }
    wxTextCtrl* SecondsEdit() const { return m_pSeconds; }
    // OK: refuses a span of 0 or less with 61577.
    bool CheckAndClose();

private:
    void OnEdit(wxCommandEvent& event);
    void OnOK(wxCommandEvent& event);

    wxTextCtrl* m_pMinutes = nullptr;
    wxTextCtrl* m_pSeconds = nullptr;
    bool m_bFilling = false;
};
