#include "monitor/GraphClock.h"

#include <chrono>
#include <cstdio>
#include <ctime>

namespace {
constexpr long long kDayMs = 24LL * 3600 * 1000;
}

long long GraphTimeOfDay::Milliseconds() const
{
    return ((hour * 60LL + minute) * 60 + second) * 1000 + millisecond;
}

GraphTimeOfDay GraphTimeOfDay::FromMilliseconds(long long ms)
{
    ms %= kDayMs;
    if (ms < 0)
        ms += kDayMs;
    GraphTimeOfDay time;
    time.millisecond = static_cast<uint16_t>(ms % 1000);
    time.second = static_cast<uint16_t>(ms / 1000 % 60);
    time.minute = static_cast<uint16_t>(ms / 60000 % 60);
    time.hour = static_cast<uint16_t>(ms / 3600000);
    return time;
}

std::string GraphTimeOfDay::Text() const
{
    char text[32];
    std::snprintf(text, sizeof text, "%02u:%02u:%02u.%03u", unsigned(hour), unsigned(minute), unsigned(second),
                  unsigned(millisecond));
    return text;
}

double CSystemGraphClock::MonotonicSeconds()
{
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

GraphTimeOfDay CSystemGraphClock::LocalTime()
{
    using namespace std::chrono;
    auto now = system_clock::now();
    std::time_t seconds = system_clock::to_time_t(now);
    std::tm local{};
    localtime_r(&seconds, &local);
    GraphTimeOfDay time;
    time.hour = static_cast<uint16_t>(local.tm_hour);
    time.minute = static_cast<uint16_t>(local.tm_min);
    time.second = static_cast<uint16_t>(local.tm_sec > 59 ? 59 : local.tm_sec);
    time.millisecond = static_cast<uint16_t>(duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000);
    return time;
}
