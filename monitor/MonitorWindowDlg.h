#pragma once
// The common frame of the live windows that watch one drive: a caption, the
// connected stations to choose from and a Close button. Each window is made,
// run modally and discarded by the main frame's command. (The keypad, control
// panel, status panel and graph recorder fill it with their own controls.)

#include <wx/dialog.h>

class wxChoice;

class CMonitorWindowDlg : public wxDialog {
public:
    wxChoice* GetStationCombo() const { return m_pStations; }

protected:
    CMonitorWindowDlg(wxWindow* parent, int dialogId, const wxString& caption);

private:
    wxChoice* m_pStations = nullptr;
};
