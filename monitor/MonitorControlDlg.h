#pragma once
// "Monitor Control": the run and stop control of a drive.

#include "monitor/MonitorWindowDlg.h"

class CMonitorControlDlg : public CMonitorWindowDlg {
public:
    enum { IDD = 171 };
    explicit CMonitorControlDlg(wxWindow* parent = nullptr) : CMonitorWindowDlg(parent, IDD, "Monitor Control") {}
};
