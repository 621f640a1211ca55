#pragma once
// The window of a project: the MDI child holding the project's one view. It
// always fills the main frame (wxGTK shows MDI children as maximised tabs).

#include <wx/docmdi.h>

class CChildFrame : public wxDocMDIChildFrame {
public:
    CChildFrame(wxDocument* document, wxView* view, wxMDIParentFrame* parent);
    ~CChildFrame() override;

    // The tab's title; the main window names the project after it.
    void SetTitle(const wxString& title) override;

    // GTK has a menu's items updated only when the menu opens; a screen
    // reader reads the menu bar before that, and running an item by its
    // accessible action does not open the menu. The shown menu bar's items
    // follow the project at idle time as well (Group 14 on a base model).
    void OnInternalIdle() override;

private:
    void OnSetFocus(wxFocusEvent& event);
};
