#pragma once
// "KeyPad": the virtual keypad of a drive.

#include "monitor/MonitorWindowDlg.h"

class CKeyPadDlg : public CMonitorWindowDlg {
public:
    enum { IDD = 146 };
    explicit CKeyPadDlg(wxWindow* parent = nullptr) : CMonitorWindowDlg(parent, IDD, "KeyPad") {}
};
