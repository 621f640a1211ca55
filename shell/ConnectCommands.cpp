#include "shell/ConnectCommands.h"

#include "document/D390DocData.h"
#include "platform/ModalWindow.h"
#include "res/CommandIds.h"
#include "session/AutoRefreshGuard.h"
#include "session/PasswordCommands.h"
#include "session/ReadWriteAll.h"
#include "shell/ChangePasswordDlg.h"
#include "shell/ConnectDlg.h"
#include "shell/MainFrame.h"
#include "shell/MotorParamListDlg.h"
#include "shell/PasswordInputDlg.h"
#include "shell/PasswordSetDlg.h"
#include "shell/ProgressDlg.h"
#include "shell/ProgressWindowTransfer.h"
#include "shell/ReadStationDlg.h"
#include "shell/StationSelectDlg.h"
#include "view/D390View.h"

#include <wx/dataview.h>

namespace {

// Each group's columns of the list, or the shown group's alone.
template <typename Update>
void ForShownGroups(CMainFrame& frame, CD390DocData& doc, Update update)
{
    if (frame.m_nSelGroup == -1) {
        for (std::size_t group = 0; group < doc.m_Groups.size(); ++group)
            update(static_cast<int>(group));
    } else {
        update(frame.m_nSelGroup);
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
    m_watchdog.BeginPass(*m_pFrame, [this] { CallAfter([this] { m_watchdog.OnPassDone(*m_pFrame); }); });
}

void CConnectCommands::FinishWatchdogPass()
{
    if (m_watchdog.IsPassRunning())
        RunModalWhile([this] { return m_watchdog.IsPassRunning(); }, m_pFrame);
    m_watchdog.OnPassDone(*m_pFrame);
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
    CConnectDlg dialog(nullptr);
    CMainFrame* frame = m_pFrame;
    dialog.m_onConnected = [frame, view] {
        // The factory defaults the drive's model gives, the set values kept.
        if (CD390DocData* doc = view->GetDocData()) {
            doc->m_bApplyInitParams = 0;
            ForShownGroups(*frame, *doc, [view](int group) { view->UpdateGroupDefaults(group); });
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
    return !RefusedWhileAutoRefresh();
}

void CConnectCommands::OnRead(wxCommandEvent&)
{
    CD390View* view = nullptr;
    CD390DocData* doc = nullptr;
    if (!TransferTarget(view, doc))
        return;
    CReadStationDlg dialog(nullptr);
    if (dialog.ShowModal() != wxID_OK)
        return;
    const int modelBefore = m_pFrame->m_nModelCode;
    CProgressWindowTransfer progress(m_pFrame, m_pFrame->m_pProgressDlg);
    if (!RunReadAll(*m_pFrame, *doc, dialog.GetStation(), progress))
        return;
    if (m_pFrame->m_nModelCode != modelBefore) {
        // Another model has other rows and groups: the list and the tree are rebuilt.
        m_pFrame->InitProjectTree();
        view->FillParamList();
    } else {
        ForShownGroups(*m_pFrame, *doc, [view](int group) { view->UpdateGroupDefaultsAndValues(group); });
    }
    view->GetList()->Refresh();
}

void CConnectCommands::OnWrite(wxCommandEvent&)
{
    CD390View* view = nullptr;
    CD390DocData* doc = nullptr;
    if (!TransferTarget(view, doc))
        return;
    m_pFrame->m_bWriteAll = 1;
    CStationSelectDlg dialog(nullptr);
    if (dialog.ShowModal() != wxID_OK)
        return;
    CProgressWindowTransfer progress(m_pFrame, m_pFrame->m_pProgressDlg);
    auto showMotorList = [doc] {
        CMotorParamListDlg list(nullptr, doc->m_MotorParams);
        list.ShowModal();
    };
    if (RunWriteAll(*m_pFrame, *doc, dialog.GetStation(), progress, showMotorList))
        view->GetList()->Refresh();
}

namespace {

PasswordDialogs MakePasswordDialogs()
{
    PasswordDialogs dialogs;
    dialogs.selectStation = [](int& station) {
        CStationSelectDlg dialog(nullptr);
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
    RunPasswordSet(*m_pFrame, MakePasswordDialogs());
}

void CConnectCommands::OnPasswordRelease(wxCommandEvent&)
{
    RunPasswordRelease(*m_pFrame, MakePasswordDialogs());
}
