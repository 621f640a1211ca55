#pragma once
// Places controls the way the program's dialog templates give them: positions
// and sizes in dialog units, converted with the dialog's font.

#include <wx/window.h>

inline wxPoint DlgPoint(wxWindow* dialog, int x, int y)
{
    return dialog->ConvertDialogToPixels(wxPoint(x, y));
}

inline wxSize DlgSize(wxWindow* dialog, int width, int height)
{
    return dialog->ConvertDialogToPixels(wxSize(width, height));
}
