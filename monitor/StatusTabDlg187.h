#pragma once
// The status monitor's "Terminal" page: input terminals S1 to S5 and the
// relay, over picture 188.

#include "monitor/StatusTabPage.h"

class CStatusTabDlg187 : public CStatusTabPage {
public:
    enum { IDD = 187 };
    CStatusTabDlg187(wxWindow* parent, CMonitorStatusDlg* owner, CDriveSession& state, int stationIndex);

    int m_nTerminal = 0;

private:
    void QueuePoll(CLiveWorker& worker) override;
    void OnPaintPicture(wxDC& dc) override;
    void UpdateTexts() override;
};
