#include "controls/CoolBar.h"

wxAuiPaneInfo CCoolBar::PaneInfo(const wxString& name, const wxString& title)
{
    return wxAuiPaneInfo()
        .Name(name)
        .Caption(title)
        .Left()
        .BestSize(kDockedWidth, kDockedHeight)
        .MinSize(kMinWidth, kMinHeight)
        .FloatingSize(kDockedWidth, kDockedHeight)
        .Dockable(true)
        .Floatable(true)
        .CloseButton(false);
}
