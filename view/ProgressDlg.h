#pragma once
// The progress window of Read-all and Write-all: a modeless window without a
// caption that the main frame makes once and that the batch moves, fills,
// shows and hides.

#include <wx/dialog.h>

class wxGauge;
class wxStaticText;

class CProgressDlg : public wxDialog {
public:
    enum { IDD = 167, IDC_PROGRESS = 1381, IDC_HEADING = 1076, IDC_GROUP_TEXT = 1382 };

    explicit CProgressDlg(wxWindow* parent);

    bool TransferDataToWindow() override;

    wxStaticText* m_ctlGroupText = nullptr; // per-group progress text
    wxGauge* m_ctlProgress = nullptr;
    wxString m_strHeading; // shown in 1076 by TransferDataToWindow

private:
    wxStaticText* m_pHeading = nullptr;
};
