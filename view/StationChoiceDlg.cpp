#include "view/StationChoiceDlg.h"

#include "platform/DialogUnits.h"
#include "session/DriveSession.h"

#include <wx/button.h>
#include <wx/choice.h>
#include <wx/stattext.h>

#include <cstdlib>

CStationChoiceDlg::CStationChoiceDlg(wxWindow* parent, const CDriveSession& session, const Layout& layout,
                                     int noStation)
    : wxDialog(parent, layout.dialogId, layout.caption), m_nStation(noStation)
{
    SetClientSize(DlgSize(this, 160, 58));
    new wxStaticText(this, wxID_ANY, "Station Num:", DlgPoint(this, 10, 14), DlgSize(this, 48, 10));
    m_pCombo = new wxChoice(this, layout.comboId, DlgPoint(this, 60, 12), wxSize(DlgSize(this, 90, 12).x, -1));
    auto* ok = new wxButton(this, wxID_OK, "OK", DlgPoint(this, 30, 36), DlgSize(this, 48, 14));
    new wxButton(this, wxID_CANCEL, "Cancel", DlgPoint(this, 86, 36), DlgSize(this, 48, 14));
    ok->SetDefault();

    for (int station : session.m_Stations)
        m_pCombo->Append(wxString::Format("%d", station));
    if (m_pCombo->GetCount() > 0)
        m_pCombo->SetSelection(0);
    Bind(wxEVT_BUTTON, &CStationChoiceDlg::OnOK, this, wxID_OK);
    Bind(wxEVT_CHAR_HOOK, &CStationChoiceDlg::OnCharHook, this);
}

void CStationChoiceDlg::OnCharHook(wxKeyEvent& event)
{
    // Enter presses OK, also in the drop list, which GTK would open on it
    // (an open list takes its keys itself).
    const int code = event.GetKeyCode();
    if ((code != WXK_RETURN && code != WXK_NUMPAD_ENTER) || event.HasAnyModifiers()) {
        event.Skip();
        return;
    }
    wxWindow* ok = FindWindow(wxID_OK);
    // A focused button takes Enter itself.
    if (!ok || !ok->IsEnabled() || dynamic_cast<wxButton*>(FindFocus())) {
        event.Skip();
        return;
    }
    wxCommandEvent click(wxEVT_BUTTON, wxID_OK);
    click.SetEventObject(ok);
    ok->GetEventHandler()->ProcessEvent(click);
}

void CStationChoiceDlg::OnOK(wxCommandEvent&)
{
    // Leading digits; no entry gives 0.
    m_nStation = std::atoi(m_pCombo->GetStringSelection().utf8_str());
    SetReturnCode(wxID_OK);
    EndDialog(wxID_OK);
}
