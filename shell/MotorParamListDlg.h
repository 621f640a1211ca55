#pragma once
// Dialog 202: the motor parameters of the project, listed after a Write that
// the user let go on to a drive of another model (they were not adapted to it).

#include "document/MotorParamRec.h"

#include <wx/dialog.h>

#include <vector>

class wxDataViewListCtrl;

class CMotorParamListDlg : public wxDialog {
public:
    enum { IDD = 202, IDC_LIST = 1090 };
    CMotorParamListDlg(wxWindow* parent, const std::vector<MotorParamRec>& params);

    wxDataViewListCtrl* GetList() const { return m_pList; }

private:
    wxDataViewListCtrl* m_pList = nullptr;
};
