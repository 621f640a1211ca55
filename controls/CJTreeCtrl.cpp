#include "controls/CJTreeCtrl.h"

#include <wx/toplevel.h>

wxDEFINE_EVENT(WM_TREE_SELECT, wxCommandEvent);
wxDEFINE_EVENT(WM_TREE_ITEM_HIT, wxCommandEvent);
wxDEFINE_EVENT(WM_TREE_CLICK_DONE, wxCommandEvent);
wxDEFINE_EVENT(WM_TREE_DBLCLK, wxCommandEvent);
wxDEFINE_EVENT(WM_TREE_RCLICK, wxCommandEvent);

CCJTreeCtrl::CCJTreeCtrl(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size)
    : wxDataViewCtrl(parent, id, pos, size, wxDV_SINGLE | wxDV_NO_HEADER | wxBORDER_SUNKEN)
{
    m_pModel = new CCJTreeModel;
    AssociateModel(m_pModel);
    m_pModel->DecRef(); // the control holds it
    AppendTextColumn(wxString(), 0, wxDATAVIEW_CELL_INERT, -1, wxALIGN_LEFT, 0);
    // GTK delivers the tree view's mouse input to the control itself.
    Bind(wxEVT_LEFT_DOWN, &CCJTreeCtrl::OnLeftDown, this);
    Bind(wxEVT_LEFT_DCLICK, &CCJTreeCtrl::OnLeftDClick, this);
    Bind(wxEVT_RIGHT_DOWN, &CCJTreeCtrl::OnRightDown, this);
}

CCJTreeCtrl::~CCJTreeCtrl() = default;

CCJTreeCtrl::Item* CCJTreeCtrl::AddRoot(const wxString& text, long data)
{
    return AppendItem(nullptr, text, data);
}

CCJTreeCtrl::Item* CCJTreeCtrl::AppendItem(Item* parent, const wxString& text, long data)
{
    return m_pModel->AppendItem(parent, text.utf8_string(), data);
}

void CCJTreeCtrl::DeleteAllItems()
{
    m_pModel->DeleteAllItems();
}

void CCJTreeCtrl::Expand(Item* item)
{
    if (item)
        wxDataViewCtrl::Expand(CCJTreeModel::HandleOf(item));
}

bool CCJTreeCtrl::IsExpanded(Item* item) const
{
    return item && wxDataViewCtrl::IsExpanded(CCJTreeModel::HandleOf(item));
}

wxString CCJTreeCtrl::GetItemText(const Item* item) const
{
    return item ? wxString::FromUTF8(item->text) : wxString();
}

CCJTreeCtrl::Item* CCJTreeCtrl::GetSelectedItem() const
{
    return CCJTreeModel::ItemOf(GetSelection());
}

void CCJTreeCtrl::SelectItem(Item* item)
{
    if (!item) {
        UnselectAll();
        return;
    }
    wxDataViewItem handle = CCJTreeModel::HandleOf(item);
    EnsureVisible(handle);
    Select(handle);
    SetCurrentItem(handle);
}

CCJTreeCtrl::Item* CCJTreeCtrl::HitTest(const wxPoint& point) const
{
    wxDataViewItem item;
    wxDataViewColumn* column = nullptr;
    wxDataViewCtrl::HitTest(point, item, column);
    return CCJTreeModel::ItemOf(item);
}

wxRect CCJTreeCtrl::GetItemRect(const Item* item) const
{
    return item ? wxDataViewCtrl::GetItemRect(CCJTreeModel::HandleOf(item), GetColumn(0)) : wxRect();
}

void CCJTreeCtrl::SetItemColorFont(const Item* item, const TreeItemColorFont& entry)
{
    m_pModel->SetItemColorFont(item, entry);
}

void CCJTreeCtrl::SetItemBold(Item* item, bool bold)
{
    m_pModel->SetItemBold(item, bold);
}

CCJTreeCtrl::Item* CCJTreeCtrl::FindItem(const wxString& text, bool matchCase, bool downward, bool wholeWord,
                                         Item* start)
{
    return m_pModel->Items().FindItem(text.utf8_string(), matchCase, downward, wholeWord, start, GetSelectedItem(),
                                      [this](const Item* item) { return IsFindValid(item); });
}

void CCJTreeCtrl::OnLeftDown(wxMouseEvent& event)
{
    // The tree view selects first; the events follow once it is done.
    event.Skip();
    CallAfter(&CCJTreeCtrl::AfterLeftDown, event.GetPosition());
}

void CCJTreeCtrl::AfterLeftDown(wxPoint point)
{
    SendUp(WM_TREE_SELECT, 0);
    if (Item* item = HitTest(point)) {
        SendToOwner(WM_TREE_ITEM_HIT, item);
        SendToOwner(WM_TREE_CLICK_DONE, nullptr);
    }
}

void CCJTreeCtrl::OnLeftDClick(wxMouseEvent& event)
{
    event.Skip();
    CallAfter(&CCJTreeCtrl::AfterDoubleClick, event.GetPosition());
}

void CCJTreeCtrl::AfterDoubleClick(wxPoint point)
{
    Item* item = HitTest(point);
    SendUp(WM_TREE_DBLCLK, item ? static_cast<int>(item->data) : -1);
}

void CCJTreeCtrl::OnRightDown(wxMouseEvent& event)
{
    // Not skipped: the tree view's own right-press handling (its context
    // menu event) never runs.
    Item* item = HitTest(event.GetPosition());
    if (item)
        SelectItem(item);
    SendUp(WM_TREE_RCLICK, 0);
    if (item)
        SendToOwner(WM_TREE_RCLICK, item);
}

void CCJTreeCtrl::SendUp(wxEventType type, int value)
{
    wxWindow* top = wxGetTopLevelParent(this);
    if (!top)
        return;
    wxCommandEvent event(type, GetId());
    event.SetEventObject(this);
    event.SetInt(value);
    event.StopPropagation();
    top->GetEventHandler()->ProcessEvent(event);
}

void CCJTreeCtrl::SendToOwner(wxEventType type, Item* item)
{
    wxWindow* owner = GetParent();
    if (!owner)
        return;
    wxCommandEvent event(type, GetId());
    event.SetEventObject(this);
    event.SetClientData(item);
    event.SetInt(item ? static_cast<int>(item->data) : 0);
    // Meant for the owner alone.
    event.StopPropagation();
    owner->GetEventHandler()->ProcessEvent(event);
}
