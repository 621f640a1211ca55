#include "controls/XComboList.h"

#include <wx/listbox.h>
#include <wx/sizer.h>

wxDEFINE_EVENT(WM_XCOMBOLIST_VK_RETURN, wxCommandEvent);
wxDEFINE_EVENT(WM_XCOMBOLIST_VK_ESCAPE, wxCommandEvent);
wxDEFINE_EVENT(WM_XCOMBOLIST_KEYDOWN, wxCommandEvent);
wxDEFINE_EVENT(WM_XCOMBOLIST_LBUTTONUP, wxCommandEvent);

namespace {

// Focus losses a popup takes while it opens; the one after them closes it.
constexpr int kFocusLossesToClose = 3;

} // namespace

CXComboList::CXComboList(wxWindow* owner) : wxPopupTransientWindow(owner, wxBORDER_SIMPLE), m_pOwner(owner)
{
    m_pListBox = new wxListBox(this, wxID_ANY, wxDefaultPosition, wxDefaultSize, 0, nullptr, wxLB_SINGLE);
    if (owner)
        m_pListBox->SetFont(owner->GetFont());
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(m_pListBox, 1, wxEXPAND);
    SetSizer(sizer);
    m_pListBox->Bind(wxEVT_KEY_DOWN, &CXComboList::OnKeyDown, this);
    m_pListBox->Bind(wxEVT_LEFT_UP, &CXComboList::OnLeftUp, this);
    m_pListBox->Bind(wxEVT_KILL_FOCUS, &CXComboList::OnKillFocus, this);
    m_hoverTimer.SetOwner(this);
    Bind(wxEVT_TIMER, &CXComboList::OnHoverTimer, this);
}

void CXComboList::SetOptions(const wxArrayString& options, const wxString& text)
{
    m_pListBox->Clear();
    for (const wxString& option : options)
        if (!option.empty())
            m_pListBox->Append(option);
    int selection = text.empty() ? wxNOT_FOUND : m_pListBox->FindString(text, true);
    if (selection == wxNOT_FOUND && m_pListBox->GetCount() > 0)
        selection = 0;
    if (selection != wxNOT_FOUND)
        m_pListBox->SetSelection(selection);
}

void CXComboList::ShowUnder(const wxRect& cellOnScreen, int visibleRows)
{
    m_nPage = visibleRows > 0 ? visibleRows : 1;
    const int rowHeight = cellOnScreen.height > 2 ? cellOnScreen.height - 2 : 1;
    SetPosition(wxPoint(cellOnScreen.x, cellOnScreen.GetBottom()));
    SetSize(cellOnScreen.width - 1, rowHeight * m_nPage + 4);
    Layout();
    Popup(m_pListBox);
    m_pListBox->SetFocus();
    int selection = m_pListBox->GetSelection();
    if (selection != wxNOT_FOUND)
        m_pListBox->EnsureVisible(selection);
    m_hoverTimer.Start(kHoverIntervalMs);
}

void CXComboList::OnHoverTimer(wxTimerEvent&)
{
    const wxPoint point = m_pListBox->ScreenToClient(wxGetMousePosition());
    if (!wxRect(m_pListBox->GetClientSize()).Contains(point))
        return;
    const int item = m_pListBox->HitTest(point);
    if (item != wxNOT_FOUND && item != m_pListBox->GetSelection())
        m_pListBox->SetSelection(item);
}

int CXComboList::PositionForKey(int keyCode) const
{
    const int count = static_cast<int>(m_pListBox->GetCount());
    if (count == 0)
        return -1;
    const int current = m_pListBox->GetSelection() == wxNOT_FOUND ? 0 : m_pListBox->GetSelection();
    const int last = count - 1;
    int position;
    switch (keyCode) {
    case WXK_PAGEUP:
        position = current - m_nPage + 1;
        break;
    case WXK_PAGEDOWN:
        position = current + m_nPage - 1;
        break;
    case WXK_HOME:
        position = 0;
        break;
    case WXK_END:
        position = last;
        break;
    case WXK_UP:
        position = current - 1;
        break;
    case WXK_DOWN:
        position = current + 1;
        break;
    default:
        if (keyCode >= 'A' && keyCode <= 'Z') {
            // The next item after the selection that begins with the
            // letter, from the top again after the last.
            for (int step = 1; step <= count; ++step) {
                int index = (current + step) % count;
                wxString text = m_pListBox->GetString(static_cast<unsigned>(index));
                if (!text.empty() && wxToupper(text[0]) == static_cast<wxUniChar>(keyCode))
                    return index;
            }
        }
        return -1;
    }
    return position < 0 ? 0 : (position > last ? last : position);
}

void CXComboList::OnKeyDown(wxKeyEvent& event)
{
    const int key = event.GetKeyCode();
    if (key == WXK_RETURN || key == WXK_NUMPAD_ENTER) {
        SendToOwner(WM_XCOMBOLIST_VK_RETURN);
        return;
    }
    if (key == WXK_ESCAPE) {
        SendToOwner(WM_XCOMBOLIST_VK_ESCAPE);
        return;
    }
    int position = PositionForKey(key);
    if (position < 0) {
        event.Skip();
        return;
    }
    m_pListBox->SetSelection(position);
    m_pListBox->EnsureVisible(position);
    SendToOwner(WM_XCOMBOLIST_KEYDOWN);
}

void CXComboList::OnLeftUp(wxMouseEvent& event)
{
    event.Skip();
    // After the list box has taken the click's selection.
    CallAfter([this] { SendToOwner(WM_XCOMBOLIST_LBUTTONUP); });
}

void CXComboList::OnKillFocus(wxFocusEvent& event)
{
    event.Skip();
    if (++m_nFocusLosses == kFocusLossesToClose)
        SendToOwner(WM_XCOMBOLIST_VK_ESCAPE);
}

void CXComboList::Dismiss()
{
    m_hoverTimer.Stop();
    wxPopupTransientWindow::Dismiss();
}

void CXComboList::OnDismiss()
{
    m_hoverTimer.Stop();
    // A click outside closed the popup: the owner restores the cell.
    SendToOwner(WM_XCOMBOLIST_VK_ESCAPE);
}

void CXComboList::SendToOwner(wxEventType type)
{
    if (!m_pOwner)
        return;
    wxCommandEvent event(type, GetId());
    event.SetEventObject(this);
    event.StopPropagation();
    m_pOwner->GetEventHandler()->ProcessEvent(event);
}
