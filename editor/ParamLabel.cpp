#include "editor/ParamLabel.h"

CParamLabel::CParamLabel(wxWindow* parent, int id, const wxString& text, const wxPoint& pos, const wxSize& size)
    : wxStaticText(parent, id, text, pos, size, wxST_NO_AUTORESIZE | wxST_ELLIPSIZE_END)
{
}

void CParamLabel::PaintMarked(int bMarked)
{
    m_bMarked = bMarked == 1;
    SetForegroundColour(m_bMarked ? *wxRED : *wxBLACK);
    Refresh();
}
