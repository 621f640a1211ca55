#pragma once
// "Small Keyboard'": a modeless numeric keypad that types digits and the
// decimal point into the page edit last focused, for touch screens. A click
// on a key leaves the focus where it is, so the edit keeps its caret; from
// the keyboard the keys are reached with Tab and pressed with Space, and
// the window starts on its first key when the user comes to it: Esc closes
// it, a digit or the point typed presses its key. The keys never become the
// target: each tells a screen reader the field it types into.

#include <wx/dialog.h>

#include <functional>

class wxTextCtrl;

class CSmallKeyboardDlg : public wxDialog {
public:
    enum { IDD = 137, IDC_KEY_FIRST = 1046, IDC_KEY_LAST = 1056 };

    // onClose runs when the user closes the keyboard (close box, Esc), before
    // it goes: the owner clears its pointer.
    CSmallKeyboardDlg(wxWindow* parent, std::function<void()> onClose);

    // One key press (1046 to 1056).
    void OnKey(int id);

    // The target from now on; nullptr: keys do nothing.
    void SetTarget(wxTextCtrl* edit);

    wxTextCtrl* m_pEdit = nullptr; // the target; nullptr: keys do nothing
    long m_dwSel = 0;              // start in the low 16 bits, end in the high 16 bits

private:
    // The keys' description: the field they type into.
    void DescribeTarget();
    bool HasFocusInside() const;

    void OnActivate(wxActivateEvent& event);
    void OnClose(wxCloseEvent& event);
    void OnCharHook(wxKeyEvent& event);

    std::function<void()> m_onClose;
    wxTextCtrl* m_pDescribed = nullptr;
    bool m_bDescribed = false;
};
