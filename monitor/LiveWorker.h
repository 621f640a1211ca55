#pragma once
// Runs a live window's drive exchanges off the window thread, one step after
// another in the order the window queued them: a step's work runs on a worker
// (CBackgroundJob) and touches nothing but the link and what it was handed;
// its apply then runs on the window thread, where the window takes the
// results in and shows its messages. The window thread never waits for the
// link, so a late or silent drive, a watchdog pass holding the link, or a
// slow line leave the program answering.
//
// Stop() drops what waits and the running step's apply; the running step
// sends nothing more after its current exchange, and that exchange too is
// given up unsent while it still waits for the line (the quiet the link keeps
// after a failure, another caller holding it). The worker object may go
// while a step still runs (the window closed): the thread is released and
// joined before the link object is deleted (CBackgroundJob::JoinReleasedJobs).

#include "monitor/LiveExchange.h"
#include "platform/BackgroundJob.h"

#include <atomic>
#include <deque>
#include <functional>
#include <memory>

class CDriveSession;
class wxWindow;

class CLiveWorker {
public:
    using Work = std::function<void(CLiveLink& link)>;
    using Apply = std::function<void()>;

    // window: the window whose results the applies take in, which owns the
    // boxes they show (none: the window the user works in).
    explicit CLiveWorker(CDriveSession& state, wxWindow* window = nullptr);
    ~CLiveWorker();
    CLiveWorker(const CLiveWorker&) = delete;
    CLiveWorker& operator=(const CLiveWorker&) = delete;

    // Queues a step behind those queued before. Window thread.
    void Queue(Work work, Apply apply);
    // A step runs, waits, or is being applied.
    bool IsBusy() const { return m_current || !m_waiting.empty(); }
    // Drops the waiting steps and the running step's apply; nothing more is
    // sent, not even the running exchange while it waits for the line.
    void Stop();

    // Handles the window thread's pending calls until no step is left; for
    // tests and benchmarks that drive a window without its event loop.
    void WaitUntilIdle();

private:
    struct Step {
        Work work;
        Apply apply;
    };
    // Shared with the worker and with the calls it posts.
    struct Token {
        CLiveWorker* owner = nullptr; // window thread only; null once the worker went
    };

    void StartNext();
    void OnStepDone();

    CLiveExchange m_exchange;
    wxWindow* m_window;
    CBackgroundJob m_job;
    std::shared_ptr<Token> m_token;
    // The current generation's stop; a Stop() begins a new one.
    std::shared_ptr<std::atomic<bool>> m_stopped;
    std::deque<Step> m_waiting;
    std::unique_ptr<Step> m_current; // running on the worker or being applied
    bool m_currentDropped = false;
};
