#include "platform/BackgroundJob.h"

CBackgroundJob::~CBackgroundJob()
{
    Join();
}

void CBackgroundJob::Start(std::function<void()> work, std::function<void()> posted)
{
    Join();
    {
        std::lock_guard lock(m_mutex);
        m_running = true;
    }
    m_thread = std::thread([this, work = std::move(work), posted = std::move(posted)] {
        work();
        {
            std::lock_guard lock(m_mutex);
            m_running = false;
        }
        if (posted)
            posted();
    });
}

bool CBackgroundJob::IsRunning() const
{
    std::lock_guard lock(m_mutex);
    return m_running;
}

void CBackgroundJob::Join()
{
    if (m_thread.joinable())
        m_thread.join();
}
