#include "platform/WxMessageBox.h"

#include "platform/FocusReturn.h"
#include "platform/MessageBox.h"

#include <gtk/gtk.h>
#include <wx/app.h>
#include <wx/msgdlg.h>
#include <wx/toplevel.h>
#include <wx/utils.h>
#include <wx/weakref.h>

#include <utility>

struct CMessageBoxOwner::Impl {
    wxWeakRef<wxWindow> window;
    Impl* previous = nullptr;
};

namespace {

// The innermost owner scope of the window thread.
CMessageBoxOwner::Impl* g_ownerScope = nullptr;

// What a box answers when it is not shown or ends with its owner: what Esc
// would have chosen.
int DismissedAnswer(unsigned type)
{
    switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL:
    case MB_YESNOCANCEL: return IDCANCEL;
    case MB_YESNO: return IDNO;
    default: return IDOK;
    }
}

// The owner a scope names, or null when its window has closed (gone, being
// destroyed or hidden): a box for it would outlive it.
wxWindow* ScopedOwner(const CMessageBoxOwner::Impl& scope)
{
    wxWindow* window = scope.window.get();
    if (!window || window->IsBeingDeleted())
        return nullptr;
    wxWindow* top = wxGetTopLevelParent(window);
    if (!top || !top->IsShown() || top->IsBeingDeleted() || (wxTheApp && wxTheApp->IsScheduledForDestruction(top)))
        return nullptr;
    return top;
}

// Ends a box as soon as its owner closes. While a box is up its nested loop
// runs the program on: a timer, a posted result, a reader pressing a button
// of another window may close or destroy the owner. The box then ends at
// once, and once the owner is destroyed the box no longer names it as its
// parent: the toolkit would ask the freed window for its handle as the box
// goes.
class CBoxOwnerWatch {
public:
    CBoxOwnerWatch(wxWindow* owner, wxMessageDialog& box)
        : m_owner(owner)
        , m_box(box)
    {
        if (m_owner) {
            m_owner->Bind(wxEVT_DESTROY, &CBoxOwnerWatch::OnDestroy, this);
            m_owner->Bind(wxEVT_SHOW, &CBoxOwnerWatch::OnShow, this);
        }
    }
    ~CBoxOwnerWatch() { Forget(); }
    CBoxOwnerWatch(const CBoxOwnerWatch&) = delete;
    CBoxOwnerWatch& operator=(const CBoxOwnerWatch&) = delete;

    bool OwnerClosed() const { return m_closed; }

private:
    void OnDestroy(wxWindowDestroyEvent& event)
    {
        event.Skip();
        if (event.GetEventObject() != m_owner)
            return; // one of its children
        Forget();
        m_box.SetParent(nullptr);
        if (GtkWidget* widget = m_box.GetHandle())
            gtk_window_set_transient_for(GTK_WINDOW(widget), nullptr);
        End();
    }
    void OnShow(wxShowEvent& event)
    {
        event.Skip();
        if (event.GetEventObject() == m_owner && !event.IsShown())
            End();
    }
    void End()
    {
        m_closed = true;
        if (GtkWidget* widget = m_box.GetHandle())
            gtk_dialog_response(GTK_DIALOG(widget), GTK_RESPONSE_DELETE_EVENT);
    }
    void Forget()
    {
        if (!m_owner)
            return;
        m_owner->Unbind(wxEVT_SHOW, &CBoxOwnerWatch::OnShow, this);
        m_owner->Unbind(wxEVT_DESTROY, &CBoxOwnerWatch::OnDestroy, this);
        m_owner = nullptr;
    }

    wxWindow* m_owner;
    wxMessageDialog& m_box;
    bool m_closed = false;
};

// The top-level window of window when it can own a box: shown, taking input.
wxWindow* UsableTopOf(wxWindow* window)
{
    wxWindow* top = window ? wxGetTopLevelParent(window) : nullptr;
    return top && top->IsShown() && top->IsEnabled() && !top->IsBeingDeleted() ? top : nullptr;
}

// The window the user works in, which raised the box: the one with the
// keyboard focus; without a focus (no window manager gave one), the newest
// shown window that takes input, as a window run modal disables those
// below it; else the application's top window. A box owned by the main
// frame while an editor is up can open behind the editor.
wxWindow* BoxOwner()
{
    if (wxWindow* top = UsableTopOf(wxWindow::FindFocus()))
        return top;
    for (wxWindowList::compatibility_iterator node = wxTopLevelWindows.GetLast(); node; node = node->GetPrevious())
        if (wxWindow* top = UsableTopOf(node->GetData()))
            return top;
    return wxTheApp ? wxTheApp->GetTopWindow() : nullptr;
}

// The control the box on screen gives the focus back to.
wxWeakRef<wxWindow> g_boxReturnFocus;

int ShowWxMessage(const std::string& text, unsigned type)
{
    long style = 0;
    switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL: style = wxOK | wxCANCEL; break;
    case MB_YESNO: style = wxYES_NO; break;
    case MB_YESNOCANCEL: style = wxYES_NO | wxCANCEL; break;
    default: style = wxOK; break;
    }
    switch (type & MB_ICONMASK) {
    case MB_ICONERROR: style |= wxICON_ERROR; break;
    case MB_ICONQUESTION: style |= wxICON_QUESTION; break;
    case MB_ICONWARNING: style |= wxICON_WARNING; break;
    case MB_ICONINFORMATION: style |= wxICON_INFORMATION; break;
    default: break;
    }
    wxWindow* owner = nullptr;
    if (g_ownerScope) {
        owner = ScopedOwner(*g_ownerScope);
        if (!owner)
            return DismissedAnswer(type); // its window closed: the message went with it
    } else {
        owner = BoxOwner();
    }
    // The control that had the focus in the owner gets it back: the toolkit
    // would hand it to the owner's owner, maybe a disabled main frame. A box
    // raised while another is up finds no focus of ours: it gives back the
    // control the first box will.
    wxWeakRef<wxWindow> focus = wxWindow::FindFocus();
    if (!focus)
        focus = g_boxReturnFocus;
    if (focus && UsableTopOf(focus) != owner)
        focus = nullptr;
    const wxWeakRef<wxWindow> outerFocus = g_boxReturnFocus;
    g_boxReturnFocus = focus;
    wxWeakRef<wxWindow> ownerRef = owner;
    int answer = IDOK;
    {
        wxMessageDialog dialog(owner, wxString::FromUTF8(text),
                               wxTheApp ? wxTheApp->GetAppDisplayName() : wxString("d390"), style);
        CBoxOwnerWatch watch(dialog.GetParent(), dialog);
        // What runs in the box's nested loop is not the scope's: a box
        // another window raises there is that window's.
        CMessageBoxOwner::Impl* scope = std::exchange(g_ownerScope, nullptr);
        const int shown = dialog.ShowModal();
        g_ownerScope = scope;
        if (watch.OwnerClosed())
            return DismissedAnswer(type);
        switch (shown) {
        case wxID_YES: answer = IDYES; break;
        case wxID_NO: answer = IDNO; break;
        case wxID_CANCEL: answer = IDCANCEL; break;
        default: answer = IDOK; break;
        }
    }
    g_boxReturnFocus = outerFocus;
    if (ownerRef && UsableTopOf(ownerRef) == ownerRef) {
        if (!ReturnFocusTo(focus) && !outerFocus)
            ownerRef->SetFocus();
    }
    return answer;
}

} // namespace

CMessageBoxOwner::CMessageBoxOwner(wxWindow* window)
    : m_impl(new Impl{ window, g_ownerScope })
{
    g_ownerScope = m_impl;
}

CMessageBoxOwner::~CMessageBoxOwner()
{
    g_ownerScope = m_impl->previous;
    delete m_impl;
}

void InstallWxMessageHandler()
{
    SetMessageHandler(ShowWxMessage);
    SetBellHandler([] { wxBell(); });
}
