#pragma once
// Closing a window whose modal dialog is running. Such a dialog usually lives
// on the stack of the code that showed it, as a child of the window: deleting
// the window inside the dialog's loop would delete the dialog under its own
// feet, and the code after the loop would run in a window that is gone.

class wxWindow;

// Whether a modal dialog owned by window (at any depth, through the windows
// it opened) is running.
bool HasRunningModalDialog(wxWindow* window);

// Destroys window as wxWindow::Destroy does, at once when no modal dialog of
// it runs. Otherwise window is hidden, each such dialog is ended as by Esc
// (wxID_CANCEL), and window is destroyed only once every one of them is gone
// (their loops have returned and the code that showed them went on).
void DestroyAfterModalDialogs(wxWindow* window);

// Whether window is still wanted after a modal dialog of it returned: shown,
// and not closing for good.
bool StillWanted(const wxWindow* window);
