#include "platform/WxMessageBox.h"

#include "platform/MessageBox.h"

#include <wx/app.h>
#include <wx/msgdlg.h>
#include <wx/toplevel.h>
#include <wx/utils.h>
#include <wx/weakref.h>

namespace {

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
    wxWindow* owner = BoxOwner();
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
        switch (dialog.ShowModal()) {
        case wxID_YES: answer = IDYES; break;
        case wxID_NO: answer = IDNO; break;
        case wxID_CANCEL: answer = IDCANCEL; break;
        default: answer = IDOK; break;
        }
    }
    g_boxReturnFocus = outerFocus;
    if (ownerRef && UsableTopOf(ownerRef) == ownerRef) {
        if (focus && focus->IsShownOnScreen() && focus->IsEnabled())
            focus->SetFocus();
        else if (!outerFocus)
            ownerRef->SetFocus();
    }
    return answer;
}

} // namespace

void InstallWxMessageHandler()
{
    SetMessageHandler(ShowWxMessage);
    SetBellHandler([] { wxBell(); });
}
