#include "monitor/FreqEdit.h"

#include <wx/toplevel.h>

CFreqEdit::CFreqEdit(wxWindow* parent, int id, std::function<void(bool)> commit)
    : wxTextCtrl(parent, id, "0.00", wxDefaultPosition, wxDefaultSize, wxTE_PROCESS_ENTER)
    , m_commit(std::move(commit))
{
    Bind(wxEVT_TEXT_ENTER, &CFreqEdit::OnEnter, this);
    Bind(wxEVT_KILL_FOCUS, &CFreqEdit::OnKillFocus, this);
    Bind(wxEVT_SET_FOCUS, [this](wxFocusEvent& event) {
        event.Skip();
        m_bLeaving = false;
    });
    m_pTop = wxGetTopLevelParent(parent);
    if (m_pTop) {
        m_pTop->Bind(wxEVT_CHILD_FOCUS, &CFreqEdit::OnChildFocus, this);
        m_pTop->Bind(wxEVT_ACTIVATE, &CFreqEdit::OnActivate, this);
    }
}

CFreqEdit::~CFreqEdit()
{
    if (m_pTop) {
        m_pTop->Unbind(wxEVT_CHILD_FOCUS, &CFreqEdit::OnChildFocus, this);
        m_pTop->Unbind(wxEVT_ACTIVATE, &CFreqEdit::OnActivate, this);
    }
}

void CFreqEdit::OnActivate(wxActivateEvent& event)
{
    event.Skip();
    // The focus went to another window: that commits nothing.
    if (!event.GetActive())
        m_bLeaving = false;
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
    if (!next) {
        m_bLeaving = true;
        return;
    }
    if (next != this && wxGetTopLevelParent(next) == wxGetTopLevelParent(this))
        m_commit(false);
}

void CFreqEdit::OnChildFocus(wxChildFocusEvent& event)
{
    event.Skip();
    if (!m_bLeaving || event.GetWindow() == this)
        return;
    m_bLeaving = false;
    m_commit(false);
}
