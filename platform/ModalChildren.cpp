#include "platform/ModalChildren.h"

#include <wx/app.h>
#include <wx/dialog.h>
#include <wx/modalhook.h>
#include <wx/weakref.h>
#include <wx/window.h>

#include <algorithm>
#include <iterator>
#include <vector>

namespace {

bool OwnedBy(const wxWindow* dialog, const wxWindow* window)
{
    for (const wxWindow* up = dialog->GetParent(); up; up = up->GetParent())
        if (up == window)
            return true;
    return false;
}

// Every dialog whose modal loop runs, in the order they were shown. Some of
// the toolkit's dialogs (the file chooser) are neither among their parent's
// children nor among the top-level windows: the modal hook sees them all.
class CRunningModals : public wxModalDialogHook {
public:
    CRunningModals() { Register(); }
    ~CRunningModals() override { Unregister(); }
    CRunningModals(const CRunningModals&) = delete;
    CRunningModals& operator=(const CRunningModals&) = delete;

    const std::vector<wxDialog*>& Dialogs() const { return m_dialogs; }

private:
    int Enter(wxDialog* dialog) override
    {
        // Entered once by the file chooser's own ShowModal and once more by
        // the dialog's it calls.
        m_dialogs.push_back(dialog);
        return wxID_NONE;
    }
    void Exit(wxDialog* dialog) override
    {
        auto it = std::find(m_dialogs.rbegin(), m_dialogs.rend(), dialog);
        if (it != m_dialogs.rend())
            m_dialogs.erase(std::next(it).base());
    }

    std::vector<wxDialog*> m_dialogs;
};

// From the program's start, before any dialog is shown.
CRunningModals g_running;

// The nested loops of windows' own that are no dialogs, innermost last.
std::vector<CNestedLoopOf*> g_loops;

// The nested loops running for window or a window it opened, latest first.
void CollectNestedLoops(wxWindow* window, std::vector<CNestedLoopOf*>& loops)
{
    for (auto it = g_loops.rbegin(); it != g_loops.rend(); ++it)
        if ((*it)->Window() == window || OwnedBy((*it)->Window(), window))
            loops.push_back(*it);
}

// The modal dialogs running over window, the latest shown first; one
// already ended counts until its loop has returned.
void CollectRunningModals(wxWindow* window, std::vector<wxDialog*>& modals)
{
    const std::vector<wxDialog*>& running = g_running.Dialogs();
    for (auto it = running.rbegin(); it != running.rend(); ++it)
        if (OwnedBy(*it, window) && std::find(modals.begin(), modals.end(), *it) == modals.end())
            modals.push_back(*it);
}

// Holds the destruction of a window back until the dialogs whose loops were
// running over it are gone, then destroys it from the event loop, after the
// code that showed the last of them has returned. Deletes itself.
class CDestroyAfterDialogs {
public:
    CDestroyAfterDialogs(wxWindow* window, const std::vector<wxDialog*>& dialogs,
                         const std::vector<CNestedLoopOf*>& loops)
        : m_window(window)
    {
        for (wxDialog* dialog : dialogs) {
            m_dialogs.push_back(dialog);
            dialog->Bind(wxEVT_DESTROY, &CDestroyAfterDialogs::OnDialogDestroyed, this);
        }
        for (CNestedLoopOf* loop : loops) {
            m_loops.push_back(loop);
            loop->m_whenGone = [this, loop, before = std::move(loop->m_whenGone)] {
                if (before)
                    before();
                OnLoopGone(loop);
            };
        }
    }
    CDestroyAfterDialogs(const CDestroyAfterDialogs&) = delete;
    CDestroyAfterDialogs& operator=(const CDestroyAfterDialogs&) = delete;

private:
    void OnDialogDestroyed(wxWindowDestroyEvent& event)
    {
        event.Skip();
        // Told from its destructor: the dialog is no longer of its own class.
        auto it = std::find_if(m_dialogs.begin(), m_dialogs.end(), [&event](wxWindow* dialog) {
            return static_cast<wxObject*>(dialog) == event.GetEventObject();
        });
        if (it == m_dialogs.end())
            return; // one of its children
        (*it)->Unbind(wxEVT_DESTROY, &CDestroyAfterDialogs::OnDialogDestroyed, this);
        m_dialogs.erase(it);
        DestroyWhenAllGone();
    }
    void OnLoopGone(CNestedLoopOf* loop)
    {
        m_loops.erase(std::remove(m_loops.begin(), m_loops.end(), loop), m_loops.end());
        DestroyWhenAllGone();
    }
    void DestroyWhenAllGone()
    {
        if (!m_dialogs.empty() || !m_loops.empty())
            return;
        // The dialog's destructor runs in the code that showed it: the window
        // goes once that code has returned to the loop.
        wxWeakRef<wxWindow> window = m_window;
        wxTheApp->CallAfter([window] {
            if (window && !window->IsBeingDeleted() && !wxTheApp->IsScheduledForDestruction(window.get()))
                DestroyAfterModalDialogs(window.get());
        });
        delete this;
    }

    wxWeakRef<wxWindow> m_window;
    std::vector<wxWindow*> m_dialogs;
    std::vector<CNestedLoopOf*> m_loops;
};

} // namespace

void DestroyAfterModalDialogs(wxWindow* window)
{
    std::vector<wxDialog*> modals;
    CollectRunningModals(window, modals);
    std::vector<CNestedLoopOf*> loops;
    CollectNestedLoops(window, loops);
    if (modals.empty() && loops.empty()) {
        window->Destroy();
        return;
    }
    window->Hide();
    new CDestroyAfterDialogs(window, modals, loops);
    // The latest first, as Esc would end them one by one.
    for (wxDialog* dialog : modals)
        if (dialog->IsModal())
            dialog->EndModal(wxID_CANCEL);
    for (CNestedLoopOf* loop : loops)
        loop->End();
}

CNestedLoopOf::CNestedLoopOf(wxWindow* window, std::function<void()> end)
    : m_window(window), m_end(std::move(end))
{
    g_loops.push_back(this);
}

CNestedLoopOf::~CNestedLoopOf()
{
    g_loops.erase(std::remove(g_loops.begin(), g_loops.end(), this), g_loops.end());
    if (m_whenGone)
        m_whenGone();
}

void CNestedLoopOf::End()
{
    if (!m_ended && m_end) {
        m_ended = true;
        m_end();
    }
}

bool StillWanted(const wxWindow* window)
{
    return window && window->IsShown() && !window->IsBeingDeleted()
        && !wxTheApp->IsScheduledForDestruction(const_cast<wxWindow*>(window));
}
