#include "platform/BackgroundJob.h"

#include <vector>

namespace {

// The threads of released jobs. Joined at the latest when the program ends,
// so that no thread outlives what it was started from.
class CReleasedJobs {
public:
    ~CReleasedJobs() { JoinAll(); }

    void Add(std::thread thread)
    {
        std::lock_guard lock(m_mutex);
        m_threads.push_back(std::move(thread));
    }
    void JoinAll()
    {
        std::vector<std::thread> threads;
        {
            std::lock_guard lock(m_mutex);
            threads.swap(m_threads);
        }
        for (std::thread& thread : threads)
            if (thread.joinable())
                thread.join();
    }
    int Count()
    {
        std::lock_guard lock(m_mutex);
        return static_cast<int>(m_threads.size());
    }

private:
    std::mutex m_mutex;
    std::vector<std::thread> m_threads;
};

CReleasedJobs& ReleasedJobs()
{
    static CReleasedJobs jobs;
    return jobs;
}

} // namespace

CBackgroundJob::~CBackgroundJob()
{
    Join();
}

void CBackgroundJob::Start(std::function<void()> work, std::function<void()> posted)
{
    Join();
    {
        std::lock_guard lock(m_state->mutex);
        m_state->running = true;
    }
    m_thread = std::thread([state = m_state, work = std::move(work), posted = std::move(posted)] {
        work();
        {
            std::lock_guard lock(state->mutex);
            state->running = false;
        }
        if (posted)
            posted();
    });
}

bool CBackgroundJob::IsRunning() const
{
    std::lock_guard lock(m_state->mutex);
    return m_state->running;
}

void CBackgroundJob::Join()
{
    if (m_thread.joinable())
        m_thread.join();
}

void CBackgroundJob::Release()
{
    if (!m_thread.joinable())
        return;
    ReleasedJobs().Add(std::move(m_thread));
    // A fresh state for a job started later on this object.
    m_state = std::make_shared<State>();
}

void CBackgroundJob::JoinReleasedJobs()
{
    ReleasedJobs().JoinAll();
}

int CBackgroundJob::ReleasedJobCount()
{
    return ReleasedJobs().Count();
}
