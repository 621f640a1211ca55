#pragma once
// "Write": one station, a list of stations, or all drives at once (broadcast).

#include <wx/dialog.h>

#include <string>
#include <vector>

class CDriveSession;
class wxRadioButton;
class wxTextCtrl;

class CWriteDlg : public wxDialog {
public:
    enum { IDD = 144, IDC_SINGLE = 1072, IDC_ALL = 1059, IDC_STATIONS = 1034 };
    enum { kSingle = 0, kAllInverter = 1 };

    CWriteDlg(wxWindow* parent, const CDriveSession& session);

    wxWindow* m_pParent;
    std::vector<int> m_Stations; // after OK: the stations to write, {0} for all
    std::string m_strStations;
    int m_nChoice = kSingle;

private:
    const CDriveSession& m_session;
    void OnStationsChanged(wxCommandEvent& event);
    void OnSingle(wxCommandEvent& event);
    void OnAll(wxCommandEvent& event);
    void OnOK(wxCommandEvent& event);
    void Finish(int code);

    wxRadioButton* m_pSingle = nullptr;
    wxRadioButton* m_pAll = nullptr;
    wxTextCtrl* m_pStations = nullptr;
    wxString m_lastAccepted;
};
