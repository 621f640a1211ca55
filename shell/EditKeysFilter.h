#pragma once
// The edit keys of every text field of the program: GTK's fields take the
// clipboard keys themselves (Ctrl+X/C/V, Shift+Delete, Ctrl+Insert,
// Shift+Insert) but keep no undo. Ctrl+Z and Alt+Backspace undo here, one
// step that a second undo takes back: the field returns to its text before
// the changes made since it took the focus (or since the last undo).

#include <wx/event.h>
#include <wx/string.h>
#include <wx/weakref.h>

class wxTextCtrl;

class CEditKeysFilter : public wxEventFilter {
public:
    int FilterEvent(wxEvent& event) override;

private:
    void Track(wxTextCtrl* field);
    void Undo();

    wxWeakRef<wxTextCtrl> m_pField;
    wxString m_strBefore;  // what an undo gives back
    wxString m_strCurrent; // the field's text as last seen
    bool m_bRunStarted = false;
    bool m_bUndoing = false;
};
