#include "shell/StationSelectDlg.h"

CStationSelectDlg::CStationSelectDlg(wxWindow* parent)
    : CStationChoiceDlg(parent, {IDD, "Station Select", IDC_STATION}, -1)
{
}
