#include "monitor/LiveWorker.h"

#include "platform/WxMessageBox.h"

#include <wx/app.h>
#include <wx/utils.h>

#include <optional>

CLiveWorker::CLiveWorker(CDriveSession& state, wxWindow* window)
    : m_exchange(state)
    , m_window(window)
    , m_token(std::make_shared<Token>())
    , m_stopped(std::make_shared<std::atomic<bool>>(false))
{
    m_token->owner = this;
}

CLiveWorker::~CLiveWorker()
{
    Stop();
    m_token->owner = nullptr;
    // A window closes at once: a step still on the line ends by itself.
    if (m_job.IsRunning())
        m_job.Release();
    else
        m_job.Join();
}

void CLiveWorker::Queue(Work work, Apply apply)
{
    m_waiting.push_back({ std::move(work), std::move(apply) });
    if (!m_current)
        StartNext();
}

void CLiveWorker::Stop()
{
    m_stopped->store(true);
    m_stopped = std::make_shared<std::atomic<bool>>(false);
    m_waiting.clear();
    if (m_current)
        m_currentDropped = true;
}

void CLiveWorker::StartNext()
{
    if (m_current || m_waiting.empty())
        return;
    m_current = std::make_unique<Step>(std::move(m_waiting.front()));
    m_waiting.pop_front();
    m_currentDropped = false;
    // The link is taken here, on the window thread: the worker reads nothing
    // of the session.
    auto link = std::make_shared<CLiveLink>(m_exchange.Link(), m_stopped);
    Work work = m_current->work;
    m_job.Start([link, work = std::move(work)] { work(*link); },
        [token = m_token] {
            if (wxTheApp)
                wxTheApp->CallAfter([token] {
                    if (token->owner)
                        token->owner->OnStepDone();
                });
        });
}

void CLiveWorker::OnStepDone()
{
    m_job.Join();
    if (!m_current)
        return;
    if (!m_currentDropped && m_current->apply) {
        // The apply may show a message box, stop this worker or queue more;
        // the step counts as current until it has returned, so that a timer
        // tick meanwhile starts nothing.
        const std::shared_ptr<Token> token = m_token;
        const Apply apply = std::move(m_current->apply);
        {
            std::optional<CMessageBoxOwner> boxes;
            if (m_window)
                boxes.emplace(m_window);
            apply();
        }
        if (!token->owner)
            return; // its window went during the apply
    }
    m_current.reset();
    StartNext();
}

void CLiveWorker::WaitUntilIdle()
{
    while (IsBusy()) {
        wxTheApp->ProcessPendingEvents();
        if (IsBusy())
            wxMilliSleep(1);
    }
}
