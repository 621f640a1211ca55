#pragma once
// One worker thread at a time: it runs a job, marks it ended and then tells
// its owner through a post function (which must not block and must not wait
// for the thread that owns the job). The owner looks whether the job still
// runs and joins it; nothing else is shared.

#include <functional>
#include <mutex>
#include <thread>

class CBackgroundJob {
public:
    CBackgroundJob() = default;
    // Waits for a job that still runs.
    ~CBackgroundJob();

    CBackgroundJob(const CBackgroundJob&) = delete;
    CBackgroundJob& operator=(const CBackgroundJob&) = delete;

    // Runs work on a new thread, then posted (when given) on that thread once
    // IsRunning() is false. The thread of an earlier job is joined first.
    void Start(std::function<void()> work, std::function<void()> posted = {});

    // Started and not yet ended.
    bool IsRunning() const;
    // Waits for the thread of the last job to be gone.
    void Join();

private:
    std::thread m_thread;
    mutable std::mutex m_mutex;
    bool m_running = false;
};
