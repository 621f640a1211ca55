#pragma once
// The label of a page row (the parameter number and name): red for the row
// the user came from in the project list, black otherwise.

#include <wx/stattext.h>

class CParamLabel : public wxStaticText {
public:
    CParamLabel(wxWindow* parent, int id, const wxString& text, const wxPoint& pos, const wxSize& size);

    // Only 1 paints red, as the pages have always passed it.
    void PaintMarked(int bMarked);
    bool IsMarked() const { return m_bMarked; }

private:
    bool m_bMarked = false;
};
