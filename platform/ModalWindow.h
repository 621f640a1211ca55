#pragma once
// Runs a window modal to the main frame without wxDialog::ShowModal: on GTK a
// ShowModal dialog puts the windows it opens itself out of reach of input,
// and the live windows open siblings (the control window's status monitor and
// graph recorder) that must take clicks.

#include <functional>

class wxWindow;

// Disables the main frame (parent, else the application's top window), shows
// window modeless and runs a nested event loop until window is closed (hidden
// or destroyed). The main frame is enabled again and the window, if it still
// exists, is destroyed before this returns, as a dialog on the caller's stack
// would be. The window must have been created on the heap.
void RunModalToMainFrame(wxWindow* window, wxWindow* parent = nullptr);

// Waits with the main frame disabled (parent, else the application's top
// window) while busy() is true, the window thread handling events meanwhile:
// windows draw, timers fire, calls posted from other threads run. busy() is
// asked again whenever the loop has nothing else to do; whoever ends what it
// waits for must post something (a CallAfter) afterwards, so that the loop
// looks once more.
void RunModalWhile(const std::function<bool()>& busy, wxWindow* parent = nullptr);

// As RunModalWhile, with every shown top-level window disabled rather than
// the main frame alone: for a wait that a window other than the main frame
// may have begun (an editor's row write waiting for the link watchdog), which
// then takes no input meanwhile, as the main frame takes none during Read.
// Each window is enabled again afterwards, and the focus put back where it
// was if the toolkit dropped it.
void RunModalWhileAllDisabled(const std::function<bool()>& busy);
