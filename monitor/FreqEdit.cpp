#include "monitor/FreqEdit.h"

#include <wx/toplevel.h>

CFreqEdit::CFreqEdit(wxWindow* parent, int id, std::function<void(bool)> commit)
    : wxTextCtrl(parent, id, "0.00", wxDefaultPosition, wxDefaultSize, wxTE_PROCESS_ENTER)
    , m_commit(std::move(commit))
{
    Bind(wxEVT_TEXT_ENTER, &CFreqEdit::OnEnter, this);
    Bind(wxEVT_KILL_FOCUS, &CFreqEdit::OnKillFocus, this);
}

void CFreqEdit::OnEnter(wxCommandEvent&)
{
    m_commit(true);
}

void CFreqEdit::OnKillFocus(wxFocusEvent& event)
{
    event.Skip();
    if (m_bSuppress) {
        m_bSuppress = 0;
        return;
    }
    wxWindow* next = event.GetWindow();
    if (next && next != this && wxGetTopLevelParent(next) == wxGetTopLevelParent(this))
        m_commit(false);
}
