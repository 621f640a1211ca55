#include "view/CompareCommand.h"

#include "document/D390DocData.h"
#include "platform/FocusReturn.h"
#include "res/CommandIds.h"
#include "session/DriveSession.h"
#include "session/ReadWriteAll.h"
#include "view/ProgressWindowTransfer.h"
#include "view/ReadStationDlg.h"
#include "view/CompareDlg.h"
#include "view/CompareList.h"
#include "view/CompareModeDlg.h"
#include "view/D390View.h"

#include <wx/dataview.h>
#include <wx/toplevel.h>

CCompareCommand::CCompareCommand(CD390View& view) : m_view(view)
{
    view.Bind(wxEVT_MENU, &CCompareCommand::OnCompareCommand, this, ID_COMPARE);
}

CCompareCommand::~CCompareCommand()
{
    m_view.Unbind(wxEVT_MENU, &CCompareCommand::OnCompareCommand, this, ID_COMPARE);
}

void CCompareCommand::OnCompare()
{
    CD390DocData* doc = m_view.GetDocData();
    if (!doc)
        return;
    // Where the keyboard was, unless that is the compare window itself.
    wxWindow* focus = wxWindow::FindFocus();
    if (!m_pDialog || !focus || wxGetTopLevelParent(focus) != m_pDialog)
        m_pReturnFocus = focus;
    CCompareModeDlg modes(nullptr, m_view.Session().m_bConnected != 0);
    if (modes.ShowModal() != wxID_OK)
        return;
    // A command that stops before the window is rebuilt leaves its mode, rows
    // and store as they were, so its Save and Print still match its rows.
    const int mode = modes.m_nMode;
    if (mode != kCompareDefaultWithSet && !ReadDrive())
        return;

    if (!m_pDialog) {
        wxWindow* parent = m_view.GetFrame();
        m_pDialog = new CCompareDlg(parent, mode, m_view.Session().m_CompareGroups);
        m_pDialog->Bind(wxEVT_SHOW, &CCompareCommand::OnDialogShown, this);
    }
    m_pDialog->m_nMode = mode;
    m_pDialog->m_drive = GateContext{static_cast<uint32_t>(doc->m_nModelCode), doc->m_fDriveVersion};
    m_pDialog->Rebuild(*doc);
    if (wxWindow* main = m_view.Links().mainWindow) {
        // Centred on the main window.
        const wxRect area = main->GetScreenRect();
        const wxSize size = m_pDialog->GetSize();
        m_pDialog->Move(area.x + (area.width - size.x) / 2, area.y + (area.height - size.y) / 2);
    }
    m_pDialog->Show();
    m_pDialog->Raise();
}

void CCompareCommand::OnDialogShown(wxShowEvent& event)
{
    event.Skip();
    if (event.IsShown() || event.GetEventObject() != m_pDialog)
        return;
    // Closing a window leaves the keyboard nowhere; the window manager would
    // give the project window its tab strip.
    CallAfter([this] {
        if (m_pDialog && m_pDialog->IsShown())
            return;
        if (!ReturnFocusTo(m_pReturnFocus.get()))
            ReturnFocusTo(m_view.GetList());
    });
}

bool CCompareCommand::ReadDrive()
{
    CDriveSession& session = m_view.Session();
    CD390DocData* doc = m_view.GetDocData();
    if (!doc)
        return false;
    // The reading thread would share the link and the records.
    if (session.RefusedWhileAutoRefresh())
        return false;
    CReadStationDlg stations(nullptr, session);
    if (stations.ShowModal() != wxID_OK)
        return false;
    session.m_nReadStation = stations.GetStation();
    CProgressWindowTransfer progress(m_view.GetList(), m_view.Links().progress);
    return RunCompareRead(session, *doc, session.m_nReadStation, progress);
}
