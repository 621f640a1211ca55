#pragma once
// The graph recorder that the control window's "Graph" button opens, created
// modeless with the control window as its parent. One function, so that the
// control window does not depend on how the recorder is built.

class CMainFrameState;
class wxWindow;

wxWindow* CreateGraphWindow(wxWindow* parent, CMainFrameState& state);
