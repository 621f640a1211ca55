#pragma once
// "Graph": the graph recorder of a drive.

#include "monitor/MonitorWindowDlg.h"

class CGraphDlg : public CMonitorWindowDlg {
public:
    enum { IDD = 102 };
    explicit CGraphDlg(wxWindow* parent = nullptr) : CMonitorWindowDlg(parent, IDD, "Graph") {}
};
