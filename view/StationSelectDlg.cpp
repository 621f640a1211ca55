#include "view/StationSelectDlg.h"

CStationSelectDlg::CStationSelectDlg(wxWindow* parent, const CDriveSession& session)
    : CStationChoiceDlg(parent, session, {IDD, "Station Select", IDC_STATION}, -1)
{
}
