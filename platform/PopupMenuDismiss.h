#pragma once
// Ends a popup menu from outside it, for a window that closes under it.

class wxMenu;

// Takes a popup menu down as Esc would; its PopupMenu call then returns.
void DismissPopupMenu(wxMenu& menu);
