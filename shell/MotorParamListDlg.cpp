#include "shell/MotorParamListDlg.h"

#include "platform/DialogUnits.h"
#include "platform/ResourceModule.h"
#include "res/StringIds.h"

#include <wx/button.h>
#include <wx/dataview.h>

namespace {

constexpr int kCodeColumnWidth = 50;

} // namespace

CMotorParamListDlg::CMotorParamListDlg(wxWindow* parent, const std::vector<MotorParamRec>& params)
    : wxDialog(parent, IDD, wxString::FromUTF8(LoadResString(IDS_MOTOR_PARAMS_CAPTION)))
{
    SetClientSize(DlgSize(this, 260, 170));
    wxSize listSize = DlgSize(this, 246, 136);
    m_pList = new wxDataViewListCtrl(this, IDC_LIST, DlgPoint(this, 7, 7), listSize,
                                     wxDV_ROW_LINES | wxDV_HORIZ_RULES | wxDV_VERT_RULES | wxDV_SINGLE);
    m_pList->AppendTextColumn(wxString::FromUTF8(LoadResString(IDS_CODE)), wxDATAVIEW_CELL_INERT, kCodeColumnWidth);
    m_pList->AppendTextColumn(wxString::FromUTF8(LoadResString(IDS_PARAMETER_NAME)), wxDATAVIEW_CELL_INERT,
                              listSize.x - kCodeColumnWidth - 4);
    for (const MotorParamRec& param : params) {
        wxVector<wxVariant> row;
        row.push_back(wxVariant(wxString::FromUTF8(param.m_strCode)));
        row.push_back(wxVariant(wxString::FromUTF8(param.m_strText)));
        m_pList->AppendItem(row);
    }
    auto* ok = new wxButton(this, wxID_OK, wxString::FromUTF8(LoadResString(IDS_OK)), DlgPoint(this, 106, 150), DlgSize(this, 48, 14));
    ok->SetDefault();
}
