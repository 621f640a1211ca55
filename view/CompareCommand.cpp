#include "view/CompareCommand.h"

#include "document/D390DocData.h"
#include "platform/MessageBox.h"
#include "platform/ResourceModule.h"
#include "res/CommandIds.h"
#include "res/StringIds.h"
#include "session/DriveSession.h"
#include "session/DriveWork.h"
#include "session/ReadWriteAll.h"
#include "view/ProgressDlg.h"
#include "view/ProgressWindowTransfer.h"
#include "view/ReadStationDlg.h"
#include "view/CompareDlg.h"
#include "view/CompareList.h"
#include "view/CompareModeDlg.h"
#include "view/D390View.h"

#include <wx/dataview.h>

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
    const auto station = static_cast<uint8_t>(session.m_nReadStation);

    CDriveTransferScope transfer;
    CProgressWindowTransfer progress(m_view.GetList(), m_view.Links().progress);
    if (!progress.IsShown())
        progress.ShowWithHeading(LoadResString(IDS_READ_HEADING));

    // The drive is read into a copy of the records; the project's read values
    // change on the window thread once the reading has ended.
    CD390DocData buffer;
    buffer.m_nModelCode = doc->m_nModelCode;
    buffer.m_Groups = doc->m_Groups;
    float version = 0.0f;
    bool versionRead = false;
    bool read = false;
    {
        CWorkerTransfer worker(session, buffer);
        CWindowThreadProgress shown(progress);
        RunDriveWork([&] {
            versionRead = session.ReadParam0D01(station, version) != 0;
            if (!versionRead)
                return;
            buffer.m_fDriveVersion = version;
            read = ReadAllGroups(worker.Context(), station, shown);
        });
        worker.GiveBack();
    }
    if (!versionRead) {
        progress.Hide();
        return false;
    }
    doc->m_fDriveVersion = version;
    // What was read counts, a failed read's groups included.
    for (std::size_t group = 0; group < buffer.m_Groups.size() && group < doc->m_Groups.size(); ++group) {
        const std::vector<ParamRec>& from = buffer.m_Groups[group].m_Params;
        std::vector<ParamRec>& into = doc->m_Groups[group].m_Params;
        for (std::size_t item = 0; item < from.size() && item < into.size(); ++item)
            into[item].m_strRead = from[item].m_strRead;
    }
    if (!read) {
        progress.Hide();
        AfxMessageBox(session.m_strLastError, MB_OK);
        return false;
    }
    progress.Hide();
    return true;
}
