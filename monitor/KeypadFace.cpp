#include "monitor/KeypadFace.h"

CKeypadFace::CKeypadFace(wxWindow* parent, const wxSize& size)
    : wxWindow(parent, wxID_ANY, wxDefaultPosition, size, wxBORDER_NONE)
{
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    SetMinSize(size);
    SetCanFocus(false);
}
