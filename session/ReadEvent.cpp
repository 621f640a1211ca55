#include "session/ReadEvent.h"

void CReadEvent::Set()
{
    {
        std::lock_guard lock(m_mutex);
        m_bSignalled = true;
    }
    m_cv.notify_one();
}

bool CReadEvent::Wait()
{
    std::unique_lock lock(m_mutex);
    m_cv.wait(lock, [this] { return m_bSignalled || m_bCancelled; });
    if (m_bCancelled)
        return false;
    m_bSignalled = false;
    return true;
}

void CReadEvent::Cancel()
{
    {
        std::lock_guard lock(m_mutex);
        m_bCancelled = true;
    }
    m_cv.notify_all();
}
