#pragma once
// "Monitor Status": the status panel of a drive.

#include "monitor/MonitorWindowDlg.h"

class CMonitorStatusDlg : public CMonitorWindowDlg {
public:
    enum { IDD = 189 };
    explicit CMonitorStatusDlg(wxWindow* parent = nullptr) : CMonitorWindowDlg(parent, IDD, "Monitor Status") {}
};
