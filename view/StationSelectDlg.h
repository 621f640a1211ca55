#pragma once
// "Station Select": the drive that a write, a password command or auto-refresh
// addresses.

#include "view/StationChoiceDlg.h"

class CStationSelectDlg : public CStationChoiceDlg {
public:
    enum { IDD = 192, IDC_STATION = 1074 };
    CStationSelectDlg(wxWindow* parent, const CDriveSession& session);

    int GetStation() const { return m_nStation; } // -1 until OK
};
