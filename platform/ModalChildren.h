#pragma once
// Closing a window whose modal dialog is running. Such a dialog usually lives
// on the stack of the code that showed it, as a child of the window: deleting
// the window inside the dialog's loop would delete the dialog under its own
// feet, and the code after the loop would run in a window that is gone.

#include <functional>

class wxWindow;

// Destroys window as wxWindow::Destroy does, at once when no modal dialog
// owned by it (at any depth, through the windows it opened) runs. Otherwise
// window is hidden, each such dialog is ended as by Esc (wxID_CANCEL), and
// window is destroyed only once every one of them is gone (their loops have
// returned and the code that showed them went on). A nested loop of the
// window's own (CNestedLoopOf) is ended and waited for alike.
void DestroyAfterModalDialogs(wxWindow* window);

// While one lives, window runs a nested loop that is no dialog (a popup
// menu's): closing the window for good calls end() to end it, as Esc would,
// and the window is destroyed only after this is gone.
class CNestedLoopOf {
public:
    CNestedLoopOf(wxWindow* window, std::function<void()> end);
    ~CNestedLoopOf();
    CNestedLoopOf(const CNestedLoopOf&) = delete;
    CNestedLoopOf& operator=(const CNestedLoopOf&) = delete;

    wxWindow* Window() const { return m_window; }
    void End();
    // Called once this is gone (by whoever waits for it).
    std::function<void()> m_whenGone;

private:
    wxWindow* m_window;
    std::function<void()> m_end;
    bool m_ended = false;
};

// Whether window is still wanted after a modal dialog of it returned: shown,
// and not closing for good.
bool StillWanted(const wxWindow* window);
