#pragma once
// The two menu bars: 128 while no project is open, 129 with a project window.

class wxMenuBar;
class wxMenu;
class CRecentFileList;

enum { IDR_MAINFRAME = 128, IDR_D390TYPE = 129 };

wxMenuBar* CreateMainMenu(int resourceId);

// Puts the recent projects into the File menu of bar, before Exit: one item
// per entry (numbered, names shortened), or a disabled "Recent File" when the
// list is empty.
void UpdateRecentFileMenu(wxMenuBar* bar, const CRecentFileList& list);
