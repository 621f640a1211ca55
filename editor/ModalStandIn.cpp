#include "editor/ModalStandIn.h"

#include <wx/app.h>
#include <wx/dialog.h>
#include <wx/evtloop.h>
#include <wx/modalhook.h>

int RunEditorModalToMainFrame(wxDialog* dialog)
{
    const int hooked = wxModalDialogHook::CallEnter(dialog);
    if (hooked != wxID_NONE) {
        wxModalDialogHook::CallExit(dialog);
        dialog->Destroy();
        return hooked;
    }
    wxWindow* main = wxTheApp ? wxTheApp->GetTopWindow() : nullptr;
    const bool disable = main && main != dialog && main->IsEnabled();
    if (disable)
        main->Disable();
    wxGUIEventLoop loop;
    dialog->Bind(wxEVT_SHOW, [&loop](wxShowEvent& event) {
        event.Skip();
        if (!event.IsShown() && loop.IsRunning())
            loop.Exit();
    });
    dialog->Show();
    if (dialog->IsShown())
        loop.Run();
    if (disable)
        main->Enable();
    const int code = dialog->GetReturnCode();
    dialog->Destroy();
    return code;
}
