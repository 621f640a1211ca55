#include "view/ReadStationDlg.h"

CReadStationDlg::CReadStationDlg(wxWindow* parent, const CDriveSession& session)
    : CStationChoiceDlg(parent, session, {IDD, "Read", IDC_STATION}, 0)
{
}
