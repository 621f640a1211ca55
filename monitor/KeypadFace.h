#pragma once
// The keypad's pictured panel face. A click on the picture takes no focus
// (so it commits no FREQ.SET entry), while the keys and the knob laid over it
// are real controls that Tab reaches.

#include <wx/window.h>

class CKeypadFace : public wxWindow {
public:
    CKeypadFace(wxWindow* parent, const wxSize& size);

    bool AcceptsFocus() const override { return false; }
    // In the keyboard's focus chain for the controls on it, not for itself.
    bool AcceptsFocusFromKeyboard() const override { return true; }
};
