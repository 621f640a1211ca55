#include "shell/EditKeysFilter.h"

#include <wx/textctrl.h>

int CEditKeysFilter::FilterEvent(wxEvent& event)
{
    const wxEventType type = event.GetEventType();
    if (type == wxEVT_SET_FOCUS) {
        if (auto* field = dynamic_cast<wxTextCtrl*>(event.GetEventObject()))
            Track(field);
        return Event_Skip;
    }
    if (type == wxEVT_TEXT) {
        if (m_pField && event.GetEventObject() == m_pField.get() && !m_bUndoing) {
            // The first change of a run keeps the text it started from.
            if (!m_bRunStarted) {
                m_strBefore = m_strCurrent;
                m_bRunStarted = true;
            }
            m_strCurrent = m_pField->GetValue();
        }
        return Event_Skip;
    }
    if (type != wxEVT_KEY_DOWN)
        return Event_Skip;
    auto& key = static_cast<wxKeyEvent&>(event);
    auto* field = dynamic_cast<wxTextCtrl*>(key.GetEventObject());
    if (!field || !field->IsEditable())
        return Event_Skip;
    const int modifiers = key.GetModifiers();
    const bool undo = (modifiers == wxMOD_CONTROL && (key.GetKeyCode() == 'Z'))
                      || (modifiers == wxMOD_ALT && key.GetKeyCode() == WXK_BACK);
    if (!undo)
        return Event_Skip;
    if (m_pField.get() != field)
        Track(field);
    Undo();
    return Event_Processed;
}

void CEditKeysFilter::Track(wxTextCtrl* field)
{
    if (m_pField.get() == field)
        return;
    m_pField = field;
    m_strBefore = m_strCurrent = field->GetValue();
    m_bRunStarted = false;
}

void CEditKeysFilter::Undo()
{
    wxTextCtrl* field = m_pField.get();
    if (!field)
        return;
    const wxString undone = field->GetValue();
    // A change the field's owner hears of, as typing is.
    m_bUndoing = true;
    field->SetValue(m_strBefore);
    m_bUndoing = false;
    // A second undo gives the text back; typing starts a new run.
    m_strBefore = undone;
    m_strCurrent = field->GetValue();
    m_bRunStarted = false;
    field->SetInsertionPointEnd();
}
