#include "shell/ChildFrame.h"

#include "platform/Accessibility.h"
#include "shell/MainFrame.h"
#include "shell/MainMenus.h"
#include "view/D390View.h"

#include <wx/menu.h>

CChildFrame::CChildFrame(wxDocument* document, wxView* view, wxMDIParentFrame* parent)
    // A caption and a sizing border, no system menu and no minimise or
    // maximise box: the frame is always maximised.
    // Born at the size of the main frame's client area, so that the list
    // inside is not first laid out in GTK's 20 x 20 default.
    : wxDocMDIChildFrame(document, view, parent, wxID_ANY, wxEmptyString, wxDefaultPosition,
                         parent && parent->GetClientWindow() ? parent->GetClientWindow()->GetClientSize()
                                                             : wxDefaultSize,
                         wxCAPTION | wxRESIZE_BORDER)
{
    SetMenuBar(CreateMainMenu(IDR_D390TYPE));
    Maximize();
    // The frame itself is no stop of the keyboard: its list takes the focus.
    SetCanFocus(false);
    Bind(wxEVT_SET_FOCUS, &CChildFrame::OnSetFocus, this);
}

void CChildFrame::OnSetFocus(wxFocusEvent& event)
{
    event.Skip();
    auto* view = dynamic_cast<CD390View*>(GetView());
    if (view && view->GetList() && view->GetList()->IsShown())
        view->GetList()->SetFocus();
}

CChildFrame::~CChildFrame()
{
    if (auto* main = dynamic_cast<CMainFrame*>(GetMDIParent()); main && !main->IsBeingDeleted())
        main->OnProjectWindowClosing(this);
}

void CChildFrame::SetTitle(const wxString& title)
{
    wxDocMDIChildFrame::SetTitle(title);
    // What a screen reader calls the project's window.
    SetAccessibleName(this, title);
    if (auto* main = dynamic_cast<CMainFrame*>(GetMDIParent()))
        main->ShowProjectInTitle(title);
}

void CChildFrame::OnInternalIdle()
{
    wxDocMDIChildFrame::OnInternalIdle();
    if (wxMenuBar* bar = GetMenuBar(); bar && bar->IsAttached() && IsShown())
        DoMenuUpdates();
}
