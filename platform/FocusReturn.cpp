#include "platform/FocusReturn.h"

#include <wx/toplevel.h>
#include <wx/window.h>

bool ReturnFocusTo(wxWindow* control)
{
    if (!control || !control->IsShownOnScreen() || !control->IsEnabled() || control->IsBeingDeleted())
        return false;
    wxWindow* top = wxGetTopLevelParent(control);
    if (!top || !top->IsEnabled() || top->IsBeingDeleted())
        return false;
    control->SetFocus();
    return true;
}
