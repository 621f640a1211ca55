#pragma once
// Lets the window system settle (map windows, deliver input) for a while, or
// until done() holds; whether done() held in the end.

#include <wx/app.h>
#include <wx/stopwatch.h>
#include <wx/utils.h>

#include <functional>

inline bool PumpUntil(const std::function<bool()>& done, long ms = 3000)
{
    wxStopWatch clock;
    while (clock.Time() < ms) {
        wxTheApp->Yield(true);
        if (done && done())
            return true;
        wxMilliSleep(5);
    }
    return done && done();
}
