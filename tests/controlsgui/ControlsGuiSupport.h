#pragma once
// Helpers of the custom controls' window tests: letting the display and the
// event queue run, and real mouse input through the X server.

#include <wx/app.h>
#include <wx/time.h>
#include <wx/uiaction.h>
#include <wx/utils.h>
#include <wx/window.h>

#include <functional>

// Runs the event loop for ms milliseconds, or until done says so.
inline bool PumpUntil(const std::function<bool()>& done, int ms = 2000)
{
    wxLongLong end = wxGetLocalTimeMillis() + ms;
    while (wxGetLocalTimeMillis() < end) {
        wxTheApp->Yield(true);
        wxTheApp->ProcessPendingEvents();
        if (done && done())
            return true;
        wxMilliSleep(5);
    }
    return done ? done() : true;
}

inline void Pump(int ms = 200)
{
    PumpUntil(nullptr, ms);
}

// Moves the pointer to a point of window (client coordinates) and lets the
// window see the motion.
inline void MoveTo(wxWindow* window, const wxPoint& point)
{
    wxUIActionSimulator sim;
    sim.MouseMove(window->ClientToScreen(point));
    Pump(100);
}
