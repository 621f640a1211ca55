#include "shell/ChildFrame.h"

#include "shell/MainFrame.h"
#include "shell/MainMenus.h"

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
}

CChildFrame::~CChildFrame()
{
    if (auto* main = dynamic_cast<CMainFrame*>(GetMDIParent()); main && !main->IsBeingDeleted())
        main->ShowProjectInTitle(wxString());
}

void CChildFrame::SetTitle(const wxString& title)
{
    wxDocMDIChildFrame::SetTitle(title);
    if (auto* main = dynamic_cast<CMainFrame*>(GetMDIParent()))
        main->ShowProjectInTitle(title);
}

void CChildFrame::OnInternalIdle()
{
    wxDocMDIChildFrame::OnInternalIdle();
    if (wxMenuBar* bar = GetMenuBar(); bar && bar->IsAttached() && IsShown())
        DoMenuUpdates();
}
