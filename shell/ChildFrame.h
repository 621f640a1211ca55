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

private:
    void OnSetFocus(wxFocusEvent& event);
};
