#include "shell/ConnectCommands.h"

#include "document/D390DocData.h"
#include "platform/ModalWindow.h"
#include "res/CommandIds.h"
#include "session/DriveSession.h"
#include "session/PasswordCommands.h"
#include "session/ReadWriteAll.h"
#include "shell/ChangePasswordDlg.h"
#include "shell/ConnectDlg.h"
#include "shell/MainFrame.h"
#include "shell/MotorParamListDlg.h"
#include "shell/PasswordInputDlg.h"
#include "shell/PasswordSetDlg.h"
#include "view/ProgressDlg.h"
#include "view/ProgressWindowTransfer.h"
#include "view/ReadStationDlg.h"
#include "view/StationSelectDlg.h"
#include "view/D390View.h"

#include <wx/dataview.h>

namespace {

// Each group's columns of the list, or the shown group's alone.
template <typename Update>
void ForShownGroups(const CD390View& view, CD390DocData& doc, Update update)
{
    if (view.m_nSelGroup == -1) {
        for (std::size_t group = 0; group < doc.m_Groups.size(); ++group)
            update(static_cast<int>(group));
    } else {
        update(view.m_nSelGroup);
    }
}

} // namespace

CConnectCommands::CConnectCommands(CMainFrame* frame) : m_pFrame(frame), m_timer(this)
{
    frame->Bind(wxEVT_MENU, &CConnectCommands::OnConnect, this, ID_CONNECT);
    frame->Bind(wxEVT_MENU, &CConnectCommands::OnRead, this, ID_READ);
    frame->Bind(wxEVT_MENU, &CConnectCommands::OnWrite, this, ID_WRITE);
    frame->Bind(wxEVT_MENU, &CConnectCommands::OnPasswordSet, this, ID_PASSWORD_SET);
    frame->Bind(wxEVT_MENU, &CConnectCommands::OnPasswordRelease, this, ID_PASSWORD_RELEASE);
    Bind(wxEVT_TIMER, &CConnectCommands::OnTimer, this);
}

CConnectCommands::~CConnectCommands()
{
    // The pass's end would be posted to this handler.
    StopWatchdog();
}

void CConnectCommands::StartWatchdog()
{
    m_timer.Start(CLinkWatchdog::kIntervalMs);
}

void CConnectCommands::StopWatchdog()
{
    m_timer.Stop();
    m_watchdog.StopPass();
}

void CConnectCommands::StopWatchdogPass()
{
    m_watchdog.StopPass();
}

void CConnectCommands::WatchdogTick()
{
    if (m_bConnectDialogOpen)
        return;
    m_watchdog.BeginPass(m_pFrame->Session(), [this] { CallAfter([this] { m_watchdog.OnPassDone(m_pFrame->Session()); }); });
}

void CConnectCommands::FinishWatchdogPass()
{
    if (m_watchdog.IsPassRunning())
        RunModalWhile([this] { return m_watchdog.IsPassRunning(); }, m_pFrame);
    m_watchdog.OnPassDone(m_pFrame->Session());
}

void CConnectCommands::OnConnect(wxCommandEvent&)
{
    CD390View* view = m_pFrame->GetActiveProjectView();
    if (!view)
        return;
    m_watchdog.StopPass();
    m_bConnectDialogOpen = true;
    struct DialogOpen {
        bool& open;
        ~DialogOpen() { open = false; }
    } dialogOpen{m_bConnectDialogOpen};
    CD390DocData* project = view->GetDocData();
    CConnectDlg dialog(nullptr, m_pFrame->Session(), project ? project->m_nModelCode : kDefaultModelCode);
    dialog.m_onConnected = [view] {
        // The factory defaults the drive's model gives, the set values kept.
        if (CD390DocData* doc = view->GetDocData()) {
            doc->m_bApplyInitParams = 0;
            ForShownGroups(*view, *doc, [view](int group) { view->UpdateGroupDefaults(group); });
            doc->m_bApplyInitParams = 1;
        }
    };
    dialog.ShowModal();
}

bool CConnectCommands::TransferTarget(CD390View*& view, CD390DocData*& doc) const
{
    view = m_pFrame->GetActiveProjectView();
    doc = view ? view->GetDocData() : nullptr;
    if (!doc)
        return false;
    // The auto-refresh reader shares the link and the records.
    return !m_pFrame->Session().RefusedWhileAutoRefresh();
}

void CConnectCommands::OnRead(wxCommandEvent&)
{
    CD390View* view = nullptr;
    CD390DocData* doc = nullptr;
    if (!TransferTarget(view, doc))
        return;
    CReadStationDlg dialog(nullptr, m_pFrame->Session());
    if (dialog.ShowModal() != wxID_OK)
        return;
    const int modelBefore = doc->m_nModelCode;
    CProgressWindowTransfer progress(m_pFrame, m_pFrame->m_pProgressDlg);
    // Shown before "Read sucessful !" is.
    auto showRead = [this, view, doc, modelBefore] {
        if (doc->m_nModelCode != modelBefore) {
            // Another model has other rows and groups: the list and the tree are rebuilt.
            m_pFrame->InitProjectTree(doc->m_nModelCode);
            view->FillParamList();
        } else {
            ForShownGroups(*view, *doc, [view](int group) { view->UpdateGroupDefaultsAndValues(group); });
        }
        view->GetList()->Refresh();
    };
    RunReadAll(m_pFrame->Session(), *doc, dialog.GetStation(), progress, showRead);
}

void CConnectCommands::OnWrite(wxCommandEvent&)
{
    CD390View* view = nullptr;
    CD390DocData* doc = nullptr;
    if (!TransferTarget(view, doc))
        return;
    m_pFrame->Session().m_bWriteAll = 1;
    CStationSelectDlg dialog(nullptr, m_pFrame->Session());
    if (dialog.ShowModal() != wxID_OK)
        return;
    CProgressWindowTransfer progress(m_pFrame, m_pFrame->m_pProgressDlg);
    auto showMotorList = [doc] {
        CMotorParamListDlg list(nullptr, doc->m_MotorParams);
        list.ShowModal();
    };
    // The change marks of what was written go before the outcome is told.
    RunWriteAll(m_pFrame->Session(), *doc, dialog.GetStation(), progress, showMotorList,
                [view] { view->GetList()->Refresh(); });
}

namespace {

PasswordDialogs MakePasswordDialogs(const CDriveSession& session)
{
    PasswordDialogs dialogs;
    dialogs.selectStation = [&session](int& station) {
        CStationSelectDlg dialog(nullptr, session);
        if (dialog.ShowModal() != wxID_OK)
            return false;
        station = dialog.GetStation();
        return true;
    };
    dialogs.askNewPassword = [](std::string& password) {
        CPasswordSetDlg dialog(nullptr);
        if (dialog.ShowModal() != wxID_OK)
            return false;
        password = dialog.m_strPassword;
        return true;
    };
    dialogs.askChangePassword = [](std::string& oldText, std::string& newText) {
        CChangePasswordDlg dialog(nullptr);
        if (dialog.ShowModal() != wxID_OK)
            return false;
        oldText = dialog.m_strOld;
        newText = dialog.m_strNew;
        return true;
    };
    dialogs.askPassword = [](std::string& password) {
        CPasswordInputDlg dialog(nullptr);
        if (dialog.ShowModal() != wxID_OK)
            return false;
        password = dialog.m_strPassword;
        return true;
    };
    return dialogs;
}

} // namespace

void CConnectCommands::OnPasswordSet(wxCommandEvent&)
{
    RunPasswordSet(m_pFrame->Session(), MakePasswordDialogs(m_pFrame->Session()));
}

void CConnectCommands::OnPasswordRelease(wxCommandEvent&)
{
    RunPasswordRelease(m_pFrame->Session(), MakePasswordDialogs(m_pFrame->Session()));
}
