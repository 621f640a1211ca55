#pragma once
// The keypad's "FREQ.SET" entry: commits its frequency on Enter, or when the
// focus moves to another control of the keypad (not to another window).

#include <wx/textctrl.h>

#include <functional>

class CFreqEdit : public wxTextCtrl {
public:
    // commit(byEnter) writes the entry; it is called with the sent and
    // suppress flags below at hand.
    CFreqEdit(wxWindow* parent, int id, std::function<void(bool byEnter)> commit);
    ~CFreqEdit() override;

    int m_bSent = 0; // the entry was written; the next poll places the knob from the drive
    int m_bSuppress = 0; // a message of Enter is up: the focus loss it causes commits nothing

private:
    void OnEnter(wxCommandEvent& event);
    void OnKillFocus(wxFocusEvent& event);
    // The focus has landed on a control of the keypad.
    void OnChildFocus(wxChildFocusEvent& event);
    void OnActivate(wxActivateEvent& event);

    // The focus left without saying where to (a click on another control):
    // where it lands decides.
    bool m_bLeaving = false;
    std::function<void(bool)> m_commit;
    wxWindow* m_pTop = nullptr; // the keypad, whose focus changes this entry follows
};
