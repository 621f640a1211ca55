#pragma once
// "Export/Import Format": workbook or comma-separated file. Shared by the
// parameter exchange of the project view and the graph recorder's data export.
// It has no Cancel button: closing the window or Escape cancels.

#include <wx/dialog.h>

class wxRadioButton;

class CExportFormatDlg : public wxDialog {
public:
    enum { IDD = 5779, IDC_EXCEL = 1072, IDC_CSV = 1059 };
    enum { kWorkbook = 0, kCsv = 1 };

    explicit CExportFormatDlg(wxWindow* parent = nullptr);

    int m_nFormat = kWorkbook;

    bool TransferDataToWindow() override;
    bool TransferDataFromWindow() override;

private:
    void OnOK(wxCommandEvent& event);
    void OnClose(wxCloseEvent& event);
    void OnCharHook(wxKeyEvent& event);

    wxRadioButton* m_pExcel = nullptr;
    wxRadioButton* m_pCsv = nullptr;
};
