#include "monitor/MonitorWindowDlg.h"

#include "platform/ResourceModule.h"
#include "shell/MainFrameState.h"

#include <wx/button.h>
#include <wx/choice.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

namespace {

constexpr unsigned IDS_STATION_LABEL = 61453;

} // namespace

CMonitorWindowDlg::CMonitorWindowDlg(wxWindow* parent, int dialogId, const wxString& caption)
    : wxDialog(parent, dialogId, caption)
{
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    auto* row = new wxBoxSizer(wxHORIZONTAL);
    row->Add(new wxStaticText(this, wxID_ANY, wxString::FromUTF8(LoadResString(IDS_STATION_LABEL))), 0,
             wxALIGN_CENTER_VERTICAL | wxRIGHT, 8);
    m_pStations = new wxChoice(this, wxID_ANY);
    if (const CMainFrameState* frame = GetMainFrameState()) {
        for (int station : frame->m_Stations)
            m_pStations->Append(wxString::Format("%d", station));
    }
    if (m_pStations->GetCount() > 0)
        m_pStations->SetSelection(0);
    row->Add(m_pStations, 1);
    sizer->Add(row, 0, wxEXPAND | wxALL, 12);
    sizer->Add(CreateStdDialogButtonSizer(wxCLOSE), 0, wxEXPAND | wxALL, 8);
    SetEscapeId(wxID_CLOSE);
    SetAffirmativeId(wxID_CLOSE);
    SetSizerAndFit(sizer);
}
