#pragma once
// A point in time by which something must be done, counted on the monotonic
// clock, so that a wait made of several smaller waits stays honest.

#include <algorithm>
#include <chrono>

class Deadline {
public:
    explicit Deadline(int ms) : m_end(std::chrono::steady_clock::now() + std::chrono::milliseconds(std::max(ms, 0))) {}

    // Milliseconds left, never below 0 (rounded up, so that a wait of the
    // result does not end just before the deadline).
    int RemainingMs() const
    {
        auto left = m_end - std::chrono::steady_clock::now();
        if (left <= std::chrono::steady_clock::duration::zero())
            return 0;
        return static_cast<int>(std::chrono::ceil<std::chrono::milliseconds>(left).count());
    }
    bool Expired() const { return std::chrono::steady_clock::now() >= m_end; }

private:
    std::chrono::steady_clock::time_point m_end;
};
