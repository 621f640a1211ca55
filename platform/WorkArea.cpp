#include "platform/WorkArea.h"

#include "platform/WindowPlacement.h"

#include <wx/display.h>
#include <wx/utils.h>
#include <wx/window.h>

wxRect WorkAreaOf(const wxWindow* window)
{
    int display = window ? wxDisplay::GetFromWindow(window) : wxNOT_FOUND;
    if (display == wxNOT_FOUND)
        display = wxDisplay::GetFromPoint(wxGetMousePosition());
    return wxDisplay(display == wxNOT_FOUND ? 0u : static_cast<unsigned>(display)).GetClientArea();
}

void MoveInsideWorkArea(wxWindow* window, const wxPoint& position, int decorations)
{
    const wxRect area = WorkAreaOf(window->GetParent() ? window->GetParent() : window);
    const wxSize size = window->GetSize();
    const PlaceRect fitted = FitRectInside(
        {position.x, position.y, position.x + size.x, position.y + size.y + decorations},
        {area.GetLeft(), area.GetTop(), area.GetLeft() + area.GetWidth(), area.GetTop() + area.GetHeight()},
        size.x, size.y + decorations);
    window->Move(fitted.left, fitted.top);
}
