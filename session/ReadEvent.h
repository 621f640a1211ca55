#pragma once
// The auto-refresh cycle's event: auto-reset, so that a Wait that returns has
// taken the signal and the next Wait blocks until Set. Cancel releases every
// waiter for good, so a stop never hangs on a cycle that waits here.

#include <condition_variable>
#include <mutex>

class CReadEvent {
public:
    explicit CReadEvent(bool signalled) : m_bSignalled(signalled) {}

    CReadEvent(const CReadEvent&) = delete;
    CReadEvent& operator=(const CReadEvent&) = delete;

    void Set();
    // Waits until signalled and takes the signal. False, taking nothing, once
    // the event is cancelled.
    bool Wait();
    void Cancel();

private:
    std::mutex m_mutex;
    std::condition_variable m_cv;
    bool m_bSignalled;
    bool m_bCancelled = false;
};
