#pragma once
// The frame's docking manager for its cool bars: wxAuiManager with the
// double click that switches a bar between docked and floating. wxAUI has no
// handler of its own for a double click on a pane's caption: docked, the
// caption is drawn by the manager on the frame; floating, it is the title of
// the floating frame, drawn there by wx's mini frame.

#include <wx/aui/framemanager.h>
// after the manager, which it needs declared
#include <wx/aui/floatpane.h>

class CCoolBarManager : public wxAuiManager {
public:
    explicit CCoolBarManager(wxWindow* managedWindow = nullptr);

    // Docked: floats the pane where it stands; floating: docks it again where
    // it was docked last.
    void ToggleFloating(wxAuiPaneInfo& pane);

    wxAuiFloatingFrame* CreateFloatingFrame(wxWindow* parent, const wxAuiPaneInfo& pane) override;

private:
    void OnLeftDClick(wxMouseEvent& event);

    wxDECLARE_EVENT_TABLE();
};
