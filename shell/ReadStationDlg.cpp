#include "shell/ReadStationDlg.h"

CReadStationDlg::CReadStationDlg(wxWindow* parent)
    : CStationChoiceDlg(parent, {IDD, "Read", IDC_STATION}, 0)
{
}
