#include "view/ExportFormatDlg.h"

#include "platform/DialogUnits.h"

#include <wx/button.h>
#include <wx/radiobut.h>

CExportFormatDlg::CExportFormatDlg(wxWindow* parent) : wxDialog(parent, IDD, "Export/Import Format")
{
    SetClientSize(DlgSize(this, 150, 62));
    m_pExcel = new wxRadioButton(this, IDC_EXCEL, "Excel Format", DlgPoint(this, 20, 12), DlgSize(this, 110, 10),
                                 wxRB_GROUP);
    m_pCsv = new wxRadioButton(this, IDC_CSV, "CSV Format", DlgPoint(this, 20, 26), DlgSize(this, 110, 10));
    auto* ok = new wxButton(this, wxID_OK, "OK", DlgPoint(this, 51, 42), DlgSize(this, 48, 14));
    ok->SetDefault();
    Bind(wxEVT_BUTTON, &CExportFormatDlg::OnOK, this, wxID_OK);
    Bind(wxEVT_CLOSE_WINDOW, &CExportFormatDlg::OnClose, this);
    Bind(wxEVT_CHAR_HOOK, &CExportFormatDlg::OnCharHook, this);
}

bool CExportFormatDlg::TransferDataToWindow()
{
    m_pExcel->SetValue(m_nFormat != kCsv);
    m_pCsv->SetValue(m_nFormat == kCsv);
    return true;
}

bool CExportFormatDlg::TransferDataFromWindow()
{
    m_nFormat = m_pCsv->GetValue() ? kCsv : kWorkbook;
    return true;
}

void CExportFormatDlg::OnOK(wxCommandEvent&)
{
    TransferDataFromWindow();
    EndModal(wxID_OK);
}

void CExportFormatDlg::OnClose(wxCloseEvent&)
{
    EndModal(wxID_CANCEL);
}

void CExportFormatDlg::OnCharHook(wxKeyEvent& event)
{
    if (event.GetKeyCode() == WXK_ESCAPE) {
        EndModal(wxID_CANCEL);
        return;
    }
    event.Skip();
}
