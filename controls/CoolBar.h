#pragma once
// The main frame's docking bar as a wxAuiManager pane: docked on the left at
// 120 x 260 pixels, no narrower than 33 x 32 (37 x 32 floating), dockable on
// every side and floating, and without a close button: only the frame's View
// command hides it.

#include <wx/aui/framemanager.h>

class CCoolBar {
public:
    static constexpr int kDockedWidth = 120;
    static constexpr int kDockedHeight = 260;
    static constexpr int kMinWidth = 33;
    static constexpr int kMinHeight = 32;
    static constexpr int kFloatingMinWidth = 37;

    static wxAuiPaneInfo PaneInfo(const wxString& name, const wxString& title);
};
