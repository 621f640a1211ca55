#include "editor/SmallKeyboardDlg.h"

#include "platform/Accessibility.h"
#include "platform/Accessible.h"
#include "platform/DialogUnits.h"

#include <wx/button.h>
#include <wx/textctrl.h>

#include <gtk/gtk.h>

#include <cstring>

namespace {

struct Key {
    int id;
    const char* text;
    int x, y, width;
};

constexpr Key kKeys[] = {
    {1046, "7", 1, 0, 19},  {1047, "8", 20, 0, 19},  {1048, "9", 39, 0, 19},
    {1049, "4", 1, 16, 19}, {1050, "5", 20, 16, 19}, {1051, "6", 39, 16, 19},
    {1052, "1", 1, 32, 19}, {1053, "2", 20, 32, 19}, {1054, "3", 39, 32, 19},
    {1055, "0", 1, 48, 38}, {1056, ".", 39, 48, 19},
};

// The character of each key, 1046 first.
constexpr char kChars[] = "7894561230.";

} // namespace

CSmallKeyboardDlg::CSmallKeyboardDlg(wxWindow* parent, std::function<void()> onClose)
    : wxDialog(parent, IDD, "Small Keyboard'", wxDefaultPosition, wxDefaultSize, wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX),
      m_onClose(std::move(onClose))
{
    for (const Key& key : kKeys) {
        auto* button = new wxButton(this, key.id, key.text, DlgPoint(this, key.x, key.y), DlgSize(this, key.width, 16));
        // A click leaves the focus where it was, so that the page edit keeps
        // its caret; Tab still reaches the key.
        gtk_widget_set_focus_on_click(button->GetHandle(), FALSE);
        button->Bind(wxEVT_BUTTON, [this, id = key.id](wxCommandEvent&) { OnKey(id); });
    }
    SetClientSize(DlgSize(this, 59, 65));
    Bind(wxEVT_ACTIVATE, &CSmallKeyboardDlg::OnActivate, this);
    Bind(wxEVT_CLOSE_WINDOW, &CSmallKeyboardDlg::OnClose, this);
    Bind(wxEVT_CHAR_HOOK, &CSmallKeyboardDlg::OnCharHook, this);
}

void CSmallKeyboardDlg::OnActivate(wxActivateEvent& event)
{
    // The user came to the keyboard: its first key, unless one has the
    // focus already (the window itself is nothing a reader can name).
    if (event.GetActive() && !HasFocusInside())
        if (wxWindow* first = FindWindow(IDC_KEY_FIRST))
            first->SetFocus();
    event.Skip();
}

bool CSmallKeyboardDlg::HasFocusInside() const
{
    wxWindow* focus = FindFocus();
    return focus && focus != this && wxGetTopLevelParent(focus) == this;
}

void CSmallKeyboardDlg::SetTarget(wxTextCtrl* edit)
{
    m_pEdit = edit;
    DescribeTarget();
}

void CSmallKeyboardDlg::DescribeTarget()
{
    if (m_bDescribed && m_pDescribed == m_pEdit)
        return;
    m_bDescribed = true;
    m_pDescribed = m_pEdit;
    wxString field;
    if (m_pEdit) {
        field = GetAccessibleName(m_pEdit);
        if (field.empty())
            field = m_pEdit->GetName();
    }
    for (int id = IDC_KEY_FIRST; id <= IDC_KEY_LAST; ++id)
        if (wxWindow* key = FindWindow(id))
            SetAccessibleDescription(key, field);
    SetAccessibleDescription(this, field);
}

void CSmallKeyboardDlg::OnKey(int id)
{
    if (!m_pEdit || id < IDC_KEY_FIRST || id > IDC_KEY_LAST)
        return;
    wxString text = m_pEdit->GetValue();
    long start = 0;
    long end = 0;
    m_pEdit->GetSelection(&start, &end);
    if (end > start)
        text.erase(static_cast<size_t>(start), static_cast<size_t>(end - start));
    m_dwSel = start | (start << 16);
    text.insert(static_cast<size_t>(start), 1, kChars[id - IDC_KEY_FIRST]);
    m_pEdit->SetValue(text); // the page's filter runs and may put the old text back
    const bool kept = m_pEdit->GetValue() == text;
    // A key pressed from the keyboard keeps the focus for the next one.
    if (!HasFocusInside())
        m_pEdit->SetFocus();
    if (kept)
        m_dwSel += 1 | (1 << 16);
    const long caret = m_dwSel & 0xFFFF;
    m_pEdit->SetSelection(caret, (m_dwSel >> 16) & 0xFFFF);
    m_pEdit->ShowPosition(caret);
}

void CSmallKeyboardDlg::OnClose(wxCloseEvent&)
{
    if (m_onClose)
        m_onClose();
    Destroy();
}

void CSmallKeyboardDlg::OnCharHook(wxKeyEvent& event)
{
    const int key = event.GetKeyCode();
    if (key == WXK_ESCAPE) {
        Close();
        return;
    }
    // A digit or the point typed while the keyboard has the focus presses
    // its key.
    int typed = key;
    if (key >= WXK_NUMPAD0 && key <= WXK_NUMPAD9)
        typed = '0' + (key - WXK_NUMPAD0);
    else if (key == WXK_NUMPAD_DECIMAL)
        typed = '.';
    if (!event.HasAnyModifiers() && typed > 0 && typed < 128)
        if (const char* at = std::strchr(kChars, typed)) {
            OnKey(IDC_KEY_FIRST + static_cast<int>(at - kChars));
            return;
        }
    event.Skip();
}
