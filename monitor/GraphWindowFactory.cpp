#include "monitor/GraphWindowFactory.h"

#include "monitor/GraphDlg.h"

wxWindow* CreateGraphWindow(wxWindow* parent, CMainFrameState&)
{
    return new CGraphDlg(parent);
}
