#pragma once
// The drop-down list of a list cell: a transient popup holding a native list
// box. It tells its owner, by events sent (processed at once) to the owner
// window, what the user did:
//  - WM_XCOMBOLIST_VK_RETURN: Enter;
//  - WM_XCOMBOLIST_VK_ESCAPE: Escape, the third loss of focus, or a click
//    outside the popup (which closes it);
//  - WM_XCOMBOLIST_KEYDOWN: a key that moved the selection (Page Up, Page
//    Down, Home, End, Up, Down, or a letter that found an item);
//  - WM_XCOMBOLIST_LBUTTONUP: a left button release on the list.
// The owner reads the chosen text and destroys the popup.
// While it is shown, the item under the mouse becomes the selection (looked
// at every 80 ms), as a drop-down list follows the pointer.

#include <wx/popupwin.h>
#include <wx/timer.h>

class wxListBox;

wxDECLARE_EVENT(WM_XCOMBOLIST_VK_RETURN, wxCommandEvent);
wxDECLARE_EVENT(WM_XCOMBOLIST_VK_ESCAPE, wxCommandEvent);
wxDECLARE_EVENT(WM_XCOMBOLIST_KEYDOWN, wxCommandEvent);
wxDECLARE_EVENT(WM_XCOMBOLIST_LBUTTONUP, wxCommandEvent);

class CXComboList : public wxPopupTransientWindow {
public:
    explicit CXComboList(wxWindow* owner);

    wxListBox* GetListBox() const { return m_pListBox; }
    // Fills the list and selects text (exact match, else the first option).
    void SetOptions(const wxArrayString& options, const wxString& text);
    // Shows the popup under a cell (screen coordinates) as high as visible
    // rows; the list takes the focus.
    void ShowUnder(const wxRect& cellOnScreen, int visibleRows);

    // The selection a key gives from the current one; -1 for a key that
    // moves nothing. Letters find the next item beginning with them.
    int PositionForKey(int keyCode) const;
    int GetPageSize() const { return m_nPage; }

    // Closes it; it no longer follows the mouse.
    void Dismiss() override;

    // How often the item under the mouse is looked for, in milliseconds.
    static constexpr int kHoverIntervalMs = 80;
    bool IsTrackingHover() const { return m_hoverTimer.IsRunning(); }

private:
    void OnKeyDown(wxKeyEvent& event);
    void OnLeftUp(wxMouseEvent& event);
    void OnKillFocus(wxFocusEvent& event);
    void OnDismiss() override;
    void OnHoverTimer(wxTimerEvent& event);
    void SendToOwner(wxEventType type);

    wxWindow* m_pOwner;
    wxListBox* m_pListBox = nullptr;
    int m_nFocusLosses = 0;
    int m_nPage = 10;
    wxTimer m_hoverTimer;
};
