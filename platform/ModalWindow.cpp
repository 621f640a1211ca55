#include "platform/ModalWindow.h"

#include "platform/FocusReturn.h"

#include <wx/app.h>
#include <wx/evtloop.h>
#include <wx/toplevel.h>
#include <wx/weakref.h>
#include <wx/window.h>

#include <vector>

namespace {

// Ends the nested loop once the window is gone or hidden. A dialog's Cancel
// or close box only hides a modeless dialog, a window may also destroy
// itself: the loop ends on either, at once from the window's own show and
// destroy events. The application's idle event looks too (a window may be
// scheduled for destruction without being hidden), but it cannot be relied
// on alone: no idle time comes while a timer is always due.
class CModalEnd {
public:
    CModalEnd(wxWindow* window, wxEventLoopBase* loop)
        : m_window(window)
        , m_loop(loop)
    {
        m_window->Bind(wxEVT_DESTROY, &CModalEnd::OnDestroy, this);
        m_window->Bind(wxEVT_SHOW, &CModalEnd::OnShow, this);
        wxTheApp->Bind(wxEVT_IDLE, &CModalEnd::OnIdle, this);
    }
    ~CModalEnd()
    {
        wxTheApp->Unbind(wxEVT_IDLE, &CModalEnd::OnIdle, this);
        if (m_window) {
            m_window->Unbind(wxEVT_SHOW, &CModalEnd::OnShow, this);
            m_window->Unbind(wxEVT_DESTROY, &CModalEnd::OnDestroy, this);
        }
    }
    CModalEnd(const CModalEnd&) = delete;
    CModalEnd& operator=(const CModalEnd&) = delete;

    // The window, or nullptr once it was deleted.
    wxWindow* Window() const { return m_window; }
    bool Closed() const
    {
        return !m_window || !m_window->IsShown() || m_window->IsBeingDeleted()
            || wxTheApp->IsScheduledForDestruction(m_window);
    }

private:
    void OnDestroy(wxWindowDestroyEvent& event)
    {
        event.Skip();
        if (event.GetEventObject() != m_window)
            return; // one of its children
        m_window->Unbind(wxEVT_SHOW, &CModalEnd::OnShow, this);
        m_window->Unbind(wxEVT_DESTROY, &CModalEnd::OnDestroy, this);
        m_window = nullptr;
        Stop();
    }
    void OnShow(wxShowEvent& event)
    {
        event.Skip();
        if (event.GetEventObject() == m_window && !event.IsShown())
            Stop();
    }
    void OnIdle(wxIdleEvent& event)
    {
        event.Skip();
        if (Closed())
            Stop();
    }
    void Stop()
    {
        if (m_loop->IsRunning())
            m_loop->Exit();
    }

    wxWindow* m_window;
    wxEventLoopBase* m_loop;
};

// Ends the nested loop of RunModalWhile once what it waits for has ended.
class CWaitEnd {
public:
    CWaitEnd(const std::function<bool()>& busy, wxEventLoopBase* loop)
        : m_busy(busy)
        , m_loop(loop)
    {
        wxTheApp->Bind(wxEVT_IDLE, &CWaitEnd::OnIdle, this);
    }
    ~CWaitEnd() { wxTheApp->Unbind(wxEVT_IDLE, &CWaitEnd::OnIdle, this); }
    CWaitEnd(const CWaitEnd&) = delete;
    CWaitEnd& operator=(const CWaitEnd&) = delete;

private:
    void OnIdle(wxIdleEvent& event)
    {
        event.Skip();
        if (!m_busy() && m_loop->IsRunning())
            m_loop->Exit();
    }

    const std::function<bool()>& m_busy;
    wxEventLoopBase* m_loop;
};

// Every shown top-level window disabled while it lives. A window may go
// meanwhile: only those still there are enabled again.
class CTopWindowsDisabled {
public:
    CTopWindowsDisabled() : m_focus(wxWindow::FindFocus())
    {
        for (wxWindowList::compatibility_iterator node = wxTopLevelWindows.GetFirst(); node; node = node->GetNext()) {
            wxWindow* window = node->GetData();
            if (window->IsShown() && window->IsEnabled() && !window->IsBeingDeleted()) {
                window->Disable();
                m_disabled.emplace_back(window);
            }
        }
    }
    ~CTopWindowsDisabled()
    {
        for (wxWeakRef<wxWindow>& window : m_disabled)
            if (window)
                window->Enable();
        // An insensitive window loses its focus in GTK and does not get it
        // back: the command goes on where the user left it.
        if (m_focus && wxWindow::FindFocus() != m_focus)
            ReturnFocusTo(m_focus);
    }
    CTopWindowsDisabled(const CTopWindowsDisabled&) = delete;
    CTopWindowsDisabled& operator=(const CTopWindowsDisabled&) = delete;

private:
    wxWeakRef<wxWindow> m_focus;
    std::vector<wxWeakRef<wxWindow>> m_disabled;
};

// The nested loop of RunModalWhile, until busy() is false.
void RunLoopWhile(const std::function<bool()>& busy)
{
    wxGUIEventLoop loop;
    CWaitEnd end(busy, &loop);
    if (busy())
        loop.Run();
}

} // namespace

void RunModalWhile(const std::function<bool()>& busy, wxWindow* parent)
{
    if (!busy())
        return;
    wxWindow* frame = parent ? parent : wxTheApp->GetTopWindow();
    const bool frameWasEnabled = frame && frame->IsEnabled();
    if (frameWasEnabled)
        frame->Disable();
    RunLoopWhile(busy);
    if (frameWasEnabled)
        frame->Enable();
}

void RunModalWhileAllDisabled(const std::function<bool()>& busy)
{
    if (!busy())
        return;
    CTopWindowsDisabled disabled;
    RunLoopWhile(busy);
}

void RunModalToMainFrame(wxWindow* window, wxWindow* parent)
{
    if (!window)
        return;
    wxWindow* frame = parent ? parent : wxTheApp->GetTopWindow();
    if (frame == window)
        frame = nullptr;
    const bool frameWasEnabled = frame && frame->IsEnabled();
    if (frameWasEnabled)
        frame->Disable();

    {
        wxGUIEventLoop loop;
        CModalEnd end(window, &loop);
        window->Show();
        window->Raise();
        if (!end.Closed())
            loop.Run();
        window = end.Window();
    }

    if (frameWasEnabled)
        frame->Enable();
    if (window) {
        // Gone now, as a stack object would be, also when it destroyed itself:
        // the idle time that would delete it may come after its parent went.
        wxPendingDelete.DeleteObject(window);
        window->Hide();
        delete window;
    }
    if (frameWasEnabled && frame->IsShown())
        frame->Raise();
}
