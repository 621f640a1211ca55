#pragma once
// The graph recorder that the control window's "Graph" button opens, created
// modeless with the control window as its parent. One function, so that the
// control window does not depend on how the recorder is built.

class CD390DocData;
class CDriveSession;
class wxWindow;

// project: the open project (its graph channels), or null.
wxWindow* CreateGraphWindow(wxWindow* parent, CDriveSession& state, CD390DocData* project);
