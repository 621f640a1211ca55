#pragma once
// One worker thread at a time: it runs a job, marks it ended and then tells
// its owner through a post function (which must not block and must not wait
// for the thread that owns the job). The owner looks whether the job still
// runs and joins it; nothing else is shared.
//
// An owner that must go at once while its job still runs (a window closed in
// the middle of a drive exchange) releases the job: the process keeps the
// thread and waits for it in JoinReleasedJobs, which whoever deletes what
// such jobs use (the link object) calls first.

#include <functional>
#include <memory>
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

    // Hands the thread of the last job to the process, which joins it in
    // JoinReleasedJobs (and at the latest as the program ends); this object
    // is then free to go. The job must end soon by itself and must no longer
    // touch its owner: its work and post function are the owner's to make so.
    void Release();

    // Waits for every released job. Window thread, before what the jobs use
    // is deleted.
    static void JoinReleasedJobs();
    // Released jobs whose threads have not yet been joined.
    static int ReleasedJobCount();

private:
    struct State {
        std::mutex mutex;
        bool running = false;
    };

    std::thread m_thread;
    // Shared with the thread, which may outlive this object once released.
    std::shared_ptr<State> m_state = std::make_shared<State>();
};
