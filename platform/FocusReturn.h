#pragma once
// Giving the keyboard back to the control that had it before a window or box
// opened over it. The toolkit hands a window's focus to its first control
// when it takes input again (a tab strip, a disabled main frame's nothing),
// so the control is given it by hand: but only one that can still take it.

class wxWindow;

// Gives control the focus when it can take it: shown on the screen and
// enabled, in a top-level window that takes input and is not being
// destroyed. False, and nothing done, otherwise.
bool ReturnFocusTo(wxWindow* control);
