#pragma once
// The recorder's two clocks behind one interface, so that tests step time
// exactly: a monotonic clock for the spacing of samples and the local time of
// day for the labels and the exported time texts.

#include <cstdint>
#include <string>

// A local time of day, as the time axis and the sample texts show it.
struct GraphTimeOfDay {
    uint16_t hour = 0;
    uint16_t minute = 0;
    uint16_t second = 0;
    uint16_t millisecond = 0;

    // Milliseconds since midnight.
    long long Milliseconds() const;
    // The time of day ms milliseconds since midnight, taken modulo one day
    // (a negative count counts back from the previous midnight).
    static GraphTimeOfDay FromMilliseconds(long long ms);
    GraphTimeOfDay Plus(long long ms) const { return FromMilliseconds(Milliseconds() + ms); }
    // "hh:mm:ss.mmm".
    std::string Text() const;
    bool operator==(const GraphTimeOfDay&) const = default;
};

class IGraphClock {
public:
    virtual ~IGraphClock() = default;
    // Seconds of a clock that never steps back.
    virtual double MonotonicSeconds() = 0;
    virtual GraphTimeOfDay LocalTime() = 0;
};

// The machine's clocks.
class CSystemGraphClock : public IGraphClock {
public:
    double MonotonicSeconds() override;
    GraphTimeOfDay LocalTime() override;
};
