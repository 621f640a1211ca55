#pragma once
// "Parameter Set": the sampling station and, per curve, its quantity and the
// maximum and minimum of its scale. Filled and read back by the graph window.

#include <wx/dialog.h>

#include <string>
#include <vector>

class wxChoice;
class wxTextCtrl;

class CGraphSetDlg : public wxDialog {
public:
    enum { IDD = 261, IDC_STATION = 1476 };
    // Curves in the order yellow, green, red, blue.
    static constexpr int kListIds[4] = {1032, 1033, 1034, 1035};
    static constexpr int kMaxIds[4] = {1022, 1020, 1024, 1026};
    static constexpr int kMinIds[4] = {1023, 1021, 1025, 1027};

    // stations: the connected stations; modelCode chooses the quantity lists.
    CGraphSetDlg(wxWindow* parent, const std::vector<int>& stations, int modelCode);

    int m_nStation = 0;    // set by OK
    int m_nStationSel = 0; // set by the caller
    std::string m_strName[4];
    int m_nSel[4] = {0, 0, 0, 0};
    std::string m_strMax[4];
    std::string m_strMin[4];

    bool TransferDataToWindow() override;
    bool TransferDataFromWindow() override;

    wxChoice* StationList() const { return m_pStations; }
    wxChoice* CurveList(int curve) const { return m_pLists[curve]; }
    wxTextCtrl* MaxEdit(int curve) const { return m_pMax[curve]; }
    wxTextCtrl* MinEdit(int curve) const { return m_pMin[curve]; }

    // OK's checks: false (with 61502 shown and the focus on that curve's
    // maximum) when a maximum is not above its minimum.
    bool CheckAndClose();

private:
    void OnLimitChanged(wxCommandEvent& event);
    void OnOK(wxCommandEvent& event);

    std::vector<int> m_stations;
    wxChoice* m_pStations = nullptr;
    wxChoice* m_pLists[4] = {};
    wxTextCtrl* m_pMax[4] = {};
    wxTextCtrl* m_pMin[4] = {};
    bool m_bFiltering = false;
};
