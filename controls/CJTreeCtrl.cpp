#include "controls/CJTreeCtrl.h"

#include <wx/toplevel.h>

#include <gtk/gtk.h>

wxDEFINE_EVENT(WM_TREE_SELECT, wxCommandEvent);
wxDEFINE_EVENT(WM_TREE_ITEM_HIT, wxCommandEvent);
wxDEFINE_EVENT(WM_TREE_CLICK_DONE, wxCommandEvent);
wxDEFINE_EVENT(WM_TREE_DBLCLK, wxCommandEvent);
wxDEFINE_EVENT(WM_TREE_RCLICK, wxCommandEvent);

namespace {

// The tree view's own press gesture takes single presses before wx sees
// them; this one sees them first, in the capture phase.
void OnNativePress(GtkGestureMultiPress* gesture, gint presses, gdouble x, gdouble y, gpointer tree)
{
    guint button = gtk_gesture_single_get_current_button(GTK_GESTURE_SINGLE(gesture));
    wxPoint point(static_cast<int>(x), static_cast<int>(y));
    if (static_cast<CCJTreeCtrl*>(tree)->OnPress(static_cast<int>(button), presses, point))
        gtk_gesture_set_state(GTK_GESTURE(gesture), GTK_EVENT_SEQUENCE_CLAIMED);
}

} // namespace

CCJTreeCtrl::CCJTreeCtrl(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size)
    : wxDataViewCtrl(parent, id, pos, size, wxDV_SINGLE | wxDV_NO_HEADER | wxBORDER_SUNKEN)
{
    m_pModel = new CCJTreeModel;
    AssociateModel(m_pModel);
    m_pModel->DecRef(); // the control holds it
    AppendTextColumn(wxString(), 0, wxDATAVIEW_CELL_INERT, -1, wxALIGN_LEFT, 0);
    Bind(wxEVT_LEFT_DCLICK, &CCJTreeCtrl::OnLeftDClick, this);
    GtkGesture* gesture = gtk_gesture_multi_press_new(GtkGetTreeView());
    gtk_gesture_single_set_button(GTK_GESTURE_SINGLE(gesture), 0);
    gtk_event_controller_set_propagation_phase(GTK_EVENT_CONTROLLER(gesture), GTK_PHASE_CAPTURE);
    g_signal_connect(gesture, "pressed", G_CALLBACK(OnNativePress), this);
    m_pPressGesture = gesture;
}

CCJTreeCtrl::~CCJTreeCtrl()
{
    g_object_unref(m_pPressGesture);
}

bool CCJTreeCtrl::OnPress(int button, int presses, wxPoint point)
{
    if (button == 1 && presses == 1) {
        // The tree view selects first; the events follow once it is done.
        CallAfter(&CCJTreeCtrl::AfterLeftDown, point);
        return false;
    }
    if (button == 3) {
        OnRightDown(point);
        return true; // the tree view's own right-press handling never runs
    }
    return false;
}

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

CCJTreeCtrl::Item* CCJTreeCtrl::HitTestItem(const wxPoint& point) const
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

void CCJTreeCtrl::AfterLeftDown(wxPoint point)
{
    SendUp(WM_TREE_SELECT, 0);
    if (Item* item = HitTestItem(point)) {
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
    Item* item = HitTestItem(point);
    SendUp(WM_TREE_DBLCLK, item ? static_cast<int>(item->data) : -1);
}

void CCJTreeCtrl::OnRightDown(wxPoint point)
{
    Item* item = HitTestItem(point);
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
