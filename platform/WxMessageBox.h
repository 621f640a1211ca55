#pragma once
// Installs the window form of the program's message box and bell. A box is
// owned by the window the user works in (the one with the keyboard focus),
// and the focus goes back to where it was when the box closes. A box never
// outlives its owner: it ends, answered as by Esc, as soon as its owner is
// hidden or destroyed, and it no longer refers to the owner afterwards.

class wxWindow;

void InstallWxMessageHandler();

// While one lives, the boxes shown on this thread are owned by window (its
// top-level window): the window whose pending result raised them, not
// whichever has the focus. A box for a window that has closed (hidden, being
// destroyed or gone) is not shown at all. Window thread only; they nest.
class CMessageBoxOwner {
public:
    explicit CMessageBoxOwner(wxWindow* window);
    ~CMessageBoxOwner();
    CMessageBoxOwner(const CMessageBoxOwner&) = delete;
    CMessageBoxOwner& operator=(const CMessageBoxOwner&) = delete;

    struct Impl;

private:
    Impl* m_impl;
};
