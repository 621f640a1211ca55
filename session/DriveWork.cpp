#include "session/DriveWork.h"

#include "document/D390DocData.h"
#include "platform/MessageBox.h"
#include "session/DriveSession.h"

#include <vector>

namespace {

CDriveWorkRunner* g_runner = nullptr;
int g_activeTransfers = 0;
std::vector<std::function<void()>> g_afterTransfers;
// Set on the thread that runs drive work, for as long as it does.
thread_local CDriveWorkRunner* t_workRunner = nullptr;

} // namespace

void SetDriveWorkRunner(CDriveWorkRunner* runner)
{
    g_runner = runner;
}

void RunDriveWork(const std::function<void()>& work)
{
    CDriveWorkRunner* runner = g_runner;
    if (!runner || t_workRunner) {
        work();
        return;
    }
    CDriveTransferScope transfer;
    // Message boxes of the work: shown by the window thread, with whatever
    // shows them there.
    MessageHandler shown = SetMessageHandler(nullptr);
    SetMessageHandler([shown](const std::string& text, unsigned type) {
        if (!t_workRunner)
            return ShowMessageWith(shown, text, type);
        int answer = IDOK;
        t_workRunner->CallOnWindowThread([&] { answer = ShowMessageWith(shown, text, type); });
        return answer;
    });
    runner->Run([runner, &work] {
        t_workRunner = runner;
        work();
        // The calls it posted are made before the work is seen to end.
        runner->CallOnWindowThread([] {});
        t_workRunner = nullptr;
    });
    SetMessageHandler(shown);
}

void OnWindowThread(const std::function<void()>& call)
{
    if (t_workRunner)
        t_workRunner->CallOnWindowThread(call);
    else
        call();
}

void PostOnWindowThread(std::function<void()> call)
{
    if (t_workRunner)
        t_workRunner->PostToWindowThread(std::move(call));
    else
        call();
}

CDriveTransferScope::CDriveTransferScope()
{
    if (g_activeTransfers++ == 0 && g_runner)
        g_runner->BeforeTransfer();
}

CDriveTransferScope::~CDriveTransferScope()
{
    if (--g_activeTransfers > 0)
        return;
    std::vector<std::function<void()>> then;
    then.swap(g_afterTransfers);
    for (const std::function<void()>& call : then)
        call();
}

void WhenDriveTransfersEnd(std::function<void()> then)
{
    if (g_activeTransfers > 0)
        g_afterTransfers.push_back(std::move(then));
    else
        then();
}

bool IsDriveTransferActive()
{
    return g_activeTransfers > 0;
}

CWorkerTransfer::CWorkerTransfer(CDriveSession& session, CD390DocData& doc)
    : m_session(session)
    , m_param0002(session.m_nParam0002)
    , m_pressureMode(session.m_nPressureMode)
    , m_lastError(session.m_strLastError)
    , m_context{session.m_pComm, doc, doc.m_nModelCode, m_param0002, m_pressureMode, m_lastError}
{
}

void CWorkerTransfer::GiveBack()
{
    m_session.m_nParam0002 = m_param0002;
    m_session.m_nPressureMode = m_pressureMode;
    m_session.m_strLastError = m_lastError;
}

bool CWindowThreadProgress::IsShown() const
{
    bool shown = false;
    OnWindowThread([&] { shown = m_shown.IsShown(); });
    return shown;
}

void CWindowThreadProgress::ShowWithHeading(const std::string& heading)
{
    PostOnWindowThread([shown = &m_shown, heading] { shown->ShowWithHeading(heading); });
}

void CWindowThreadProgress::SetRange(int high)
{
    PostOnWindowThread([shown = &m_shown, high] { shown->SetRange(high); });
}

void CWindowThreadProgress::SetPosition(int position)
{
    PostOnWindowThread([shown = &m_shown, position] { shown->SetPosition(position); });
}

void CWindowThreadProgress::SetText(const std::string& text)
{
    PostOnWindowThread([shown = &m_shown, text] { shown->SetText(text); });
}

void CWindowThreadProgress::Hide()
{
    PostOnWindowThread([shown = &m_shown] { shown->Hide(); });
}
