#pragma once
// The status monitor's "Status" page: status lamps, the five running values
// and the current fault, over picture 186.

#include "monitor/StatusTabPage.h"

class wxStaticText;

class CStatusTabDlg145 : public CStatusTabPage {
public:
    enum { IDD = 145 };
    CStatusTabDlg145(wxWindow* parent, CMonitorStatusDlg* owner, CDriveSession& state, int stationIndex);

    int m_nFaultCode = 0;
    int m_nValues[5] {}; // set frequency, output frequency, output voltage, DC voltage, output current
    int m_nStatus = 0;

    wxStaticText* GetValueLabel(int k) const { return m_pValues[k]; }
    wxStaticText* GetFaultShortLabel() const { return m_pFaultShort; }
    wxStaticText* GetFaultDescriptionLabel() const { return m_pFaultDescription; }

private:
    void QueuePoll(CLiveWorker& worker) override;
    void OnPaintPicture(wxDC& dc) override;
    void UpdateTexts() override;

    wxStaticText* m_pValues[5] {};
    wxStaticText* m_pFaultShort = nullptr;
    wxStaticText* m_pFaultDescription = nullptr;
};
