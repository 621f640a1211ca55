#pragma once
// STAND-IN, to be replaced by RunModalToMainFrame of platform/ModalWindow.h
// once that is on main: runs a window modal to the main frame without
// ShowModal (on GTK a ShowModal dialog blocks input to the windows it opens).
// The other top-level windows are disabled, events are dispatched until the
// window closes, then the window is destroyed.

#include <wx/app.h>
#include <wx/evtloop.h>
#include <wx/utils.h>
#include <wx/window.h>

inline void RunGraphWindowModalStandIn(wxWindow* window)
{
    bool closed = false;
    wxGUIEventLoop loop;
    window->Bind(wxEVT_CLOSE_WINDOW, [&](wxCloseEvent& event) {
        closed = true;
        window->Hide();
        if (loop.IsRunning())
            loop.Exit();
        event.Veto(); // deleted below, after the loop
    });
    {
        wxWindowDisabler disabler(window);
        window->Show();
        window->Raise();
        if (wxEventLoopBase::GetActive()) {
            if (!closed)
                loop.Run();
        } else {
            // No main loop runs: window tests drive the application by hand
            // and close the window from a posted call.
            while (!closed) {
                wxTheApp->ProcessPendingEvents();
                wxMilliSleep(2);
            }
        }
    }
    // Deleted here rather than left to idle time: the main frame may be gone
    // before the next idle event.
    delete window;
}
