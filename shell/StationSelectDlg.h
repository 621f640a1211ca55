#pragma once
// "Station Select": the drive that a write, a password command or auto-refresh
// addresses.

#include "shell/StationChoiceDlg.h"

class CStationSelectDlg : public CStationChoiceDlg {
public:
    enum { IDD = 192, IDC_STATION = 1074 };
    explicit CStationSelectDlg(wxWindow* parent = nullptr);

    int GetStation() const { return m_nStation; } // -1 until OK
};
