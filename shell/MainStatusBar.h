#pragma once
// The main frame's status bar. A new pane text is painted at once (a text
// shown before a long exchange must be seen before it), and that paint
// covers the frame: the layout GTK still owes the frame (a project window
// just added, its tab not yet placed) is done first, as the display's own
// paint cycle would do it, so that nothing is drawn at a size never given.

#include <wx/statusbr.h>

class CMainStatusBar : public wxStatusBar {
public:
    CMainStatusBar(wxWindow* parent, wxWindowID id, long style, const wxString& name);

protected:
    void DoUpdateStatusText(int number) override;
};
