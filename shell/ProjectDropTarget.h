#pragma once
// Project files dropped on the main window open as the project, as a recent
// entry does (the save question of a modified project comes first).

#include <wx/dnd.h>

class CD390App;

class CProjectDropTarget : public wxFileDropTarget {
public:
    explicit CProjectDropTarget(CD390App* app) : m_pApp(app) {}

    // Opens the first file dropped; true when it opened.
    bool OnDropFiles(wxCoord x, wxCoord y, const wxArrayString& files) override;

private:
    CD390App* m_pApp;
};
