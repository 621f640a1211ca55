#pragma once
// The common form of the two station choosers: a drop list of the stations
// that Connect found, the first one selected; OK takes the chosen number.

#include <wx/dialog.h>

class CDriveSession;
class wxChoice;

class CStationChoiceDlg : public wxDialog {
public:
    wxChoice* GetStationCombo() const { return m_pCombo; }

protected:
    struct Layout {
        int dialogId;
        const char* caption;
        int comboId;
    };
    CStationChoiceDlg(wxWindow* parent, const CDriveSession& session, const Layout& layout, int noStation);

    int m_nStation;

private:
    void OnOK(wxCommandEvent& event);
    void OnCharHook(wxKeyEvent& event);

    wxChoice* m_pCombo = nullptr;
};
