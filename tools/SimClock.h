#pragma once
// The time a simulated drive lives by. A drive served on a pseudo-terminal
// lives in real time; a drive run in process behind the link lives on a
// stepped clock that only moves when the link waits, so that a sequence of
// hundreds of frames with time-outs in it takes milliseconds.

#include <chrono>
#include <mutex>

class SimClock {
public:
    using time_point = std::chrono::steady_clock::time_point;
    using duration = std::chrono::steady_clock::duration;

    virtual ~SimClock() = default;
    virtual time_point Now() const = 0;
};

// Real time.
class SimSystemClock : public SimClock {
public:
    time_point Now() const override { return std::chrono::steady_clock::now(); }
};

// Time that stands still until it is moved on; never backwards.
class SimSteppedClock : public SimClock {
public:
    // Starts at the real time of its making, so that its time points mix with
    // those of real clocks in logs.
    SimSteppedClock() : m_now(std::chrono::steady_clock::now()) {}

    time_point Now() const override
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_now;
    }
    void Advance(duration step)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (step > duration::zero())
            m_now += step;
    }
    void AdvanceTo(time_point when)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (when > m_now)
            m_now = when;
    }

private:
    mutable std::mutex m_mutex;
    time_point m_now;
};
