#pragma once
// "Read": the drive that Read-all and Compare read from.

#include "view/StationChoiceDlg.h"

class CReadStationDlg : public CStationChoiceDlg {
public:
    enum { IDD = 172, IDC_STATION = 1025 };
    CReadStationDlg(wxWindow* parent, const CDriveSession& session);

    int GetStation() const { return m_nStation; } // 0 until OK
};
