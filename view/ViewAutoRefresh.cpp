#include "view/ViewAutoRefresh.h"

#include "document/D390DocData.h"
#include "platform/ModalWindow.h"
#include "res/CommandIds.h"
#include "session/DriveWork.h"
#include "session/DriveSession.h"
#include "view/StationSelectDlg.h"
#include "view/D390View.h"

#include <wx/app.h>
#include <wx/utils.h>

CViewAutoRefresh::CViewAutoRefresh(CD390View& view)
    : m_view(view), m_timer(this, CAutoRefresh::kReadTimerId), m_pReader(std::make_unique<CAutoRefresh>(*this, view.Session()))
{
    view.Bind(wxEVT_MENU, &CViewAutoRefresh::OnAutoRefreshCommand, this, ID_AUTO_REFRESH);
    view.Bind(wxEVT_UPDATE_UI, &CViewAutoRefresh::OnUpdateAutoRefresh, this, ID_AUTO_REFRESH);
    Bind(wxEVT_TIMER, &CViewAutoRefresh::OnTimer, this, CAutoRefresh::kReadTimerId);
}

CViewAutoRefresh::~CViewAutoRefresh()
{
    m_timer.Stop();
    // The worker may still post: it must have ended before this handler goes.
    m_pReader.reset();
    m_view.Unbind(wxEVT_MENU, &CViewAutoRefresh::OnAutoRefreshCommand, this, ID_AUTO_REFRESH);
    m_view.Unbind(wxEVT_UPDATE_UI, &CViewAutoRefresh::OnUpdateAutoRefresh, this, ID_AUTO_REFRESH);
}

void CViewAutoRefresh::OnAutoRefresh()
{
    CD390DocData* doc = m_view.GetDocData();
    if (!doc)
        return;
    m_pReader->OnAutoRefresh(*doc, [this] {
        CStationSelectDlg dialog(nullptr, m_view.Session());
        return dialog.ShowModal() == wxID_OK ? dialog.GetStation() : -1;
    });
}

void CViewAutoRefresh::OnUpdateAutoRefresh(wxUpdateUIEvent& event)
{
    const CDriveSession& session = m_view.Session();
    event.Enable(session.m_bConnected && !session.m_bReading && !session.m_bWriting);
    event.Check(session.m_bAutoRefresh != 0);
}

void CViewAutoRefresh::StopReadThread(bool handleEvents)
{
    if (m_view.Session().m_bAutoRefresh || m_pReader->IsCycleActive()) {
        if (handleEvents)
            WaitWhileCycleRuns();
        wxBusyCursor busy; // at most the rest of one cycle
        m_pReader->Stop();
    }
}

void CViewAutoRefresh::PostReadDone()
{
    // On the reading thread: only queue.
    CallAfter([this] { m_pReader->OnReadDone(); });
}

void CViewAutoRefresh::WaitWhileCycleRuns()
{
    if (!m_pReader->IsCycleRunning())
        return;
    // No next cycle; the running one reads to its end (up to 15 groups of a
    // slow line) while the windows go on drawing, the main frame taking no
    // input. Its end, posted by the reader, is taken in meanwhile.
    m_timer.Stop();
    m_pReader->CancelPendingCycle();
    wxBusyCursor busy;
    RunModalWhile([this] { return m_pReader->IsCycleRunning(); }, m_view.Links().mainWindow);
}

void CViewAutoRefresh::SetReadTimer()
{
    m_timer.Start(CAutoRefresh::kReadTimerMs);
}

void CViewAutoRefresh::KillReadTimer()
{
    m_timer.Stop();
}

void CViewAutoRefresh::OnTimer(wxTimerEvent&)
{
    // Read, Write and Compare's read have the link meanwhile.
    if (IsDriveTransferActive())
        return;
    m_pReader->OnTimer();
}

void CViewAutoRefresh::RefreshValues(const std::vector<int>& groups)
{
    if (!m_view.GetDocData())
        return;
    // All groups listed: each changed one; one group listed: it, if changed.
    const int shown = m_view.GetListGroup();
    for (int group : groups)
        if (shown == -1 || shown == group)
            m_view.UpdateGroupValues(group);
}
