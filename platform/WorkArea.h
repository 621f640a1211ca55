#pragma once
// The display's work area (the screen less the desktop's panels) and the
// placing of top-level windows inside it.

#include <wx/gdicmn.h>

class wxWindow;

// The work area of the display that holds the window (or, for a window not
// yet on a display, the display under the mouse; else the first one).
wxRect WorkAreaOf(const wxWindow* window);

// Moves a top-level window with its top-left corner to position, or as near
// it as keeps the whole window inside the work area of its display; its
// size stays. decorations: room kept below for a frame the window manager
// has not drawn yet.
void MoveInsideWorkArea(wxWindow* window, const wxPoint& position, int decorations = 0);
