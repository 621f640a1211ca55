#pragma once
// STAND-IN, to be replaced by RunModalToMainFrame of platform/ModalWindow.h
// once that is on main: runs a window modal to the main frame without
// ShowModal (on GTK a ShowModal dialog blocks input to the windows it opens).
// The other top-level windows are disabled, a nested event loop runs until
// the window closes, then the window is destroyed.

#include <wx/evtloop.h>
#include <wx/utils.h>
#include <wx/window.h>

inline void RunGraphWindowModalStandIn(wxWindow* window)
{
    wxGUIEventLoop loop;
    bool closed = false;
    window->Bind(wxEVT_CLOSE_WINDOW, [&](wxCloseEvent& event) {
        closed = true;
        window->Hide();
        if (loop.IsRunning())
            loop.Exit();
        event.Veto(); // destroyed below, after the loop
    });
    {
        wxWindowDisabler disabler(window);
        window->Show();
        window->Raise();
        if (!closed)
            loop.Run();
    }
    window->Destroy();
}
