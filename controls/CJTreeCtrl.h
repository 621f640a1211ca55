#pragma once
// The navigator tree: a wxDataViewCtrl in tree form over CCJTreeModel. It
// reports clicks upward as events of its own, each sent (processed at once):
//  - WM_TREE_SELECT to the top-level window after every left press, once the
//    tree's own handling is done;
//  - WM_TREE_ITEM_HIT, then WM_TREE_CLICK_DONE, to the owner (the parent
//    window) after a left press on an item; the item is the event's client data;
//  - WM_TREE_DBLCLK to the top-level window after a double click, its int the
//    item data of the item under the point, or -1;
//  - WM_TREE_RCLICK after a right press, which first selects the item under
//    it: to the top-level window, and on an item also to the owner with the
//    item as client data. The tree's own right-press handling does not run.
// The owner's events do not travel further up.

#include "controls/CJTreeModel.h"

#include <wx/dataview.h>

wxDECLARE_EVENT(WM_TREE_SELECT, wxCommandEvent);
wxDECLARE_EVENT(WM_TREE_ITEM_HIT, wxCommandEvent);
wxDECLARE_EVENT(WM_TREE_CLICK_DONE, wxCommandEvent);
wxDECLARE_EVENT(WM_TREE_DBLCLK, wxCommandEvent);
wxDECLARE_EVENT(WM_TREE_RCLICK, wxCommandEvent);

class CCJTreeCtrl : public wxDataViewCtrl {
public:
    using Item = CJTreeItem;

    CCJTreeCtrl(wxWindow* parent, wxWindowID id, const wxPoint& pos = wxDefaultPosition,
                const wxSize& size = wxDefaultSize);
    ~CCJTreeCtrl() override;

    // Filling, as the main frame does it.
    Item* AddRoot(const wxString& text, long data = 0);
    Item* AppendItem(Item* parent, const wxString& text, long data = 0);
    void DeleteAllItems();
    void Expand(Item* item);
    bool IsExpanded(Item* item) const;

    Item* GetRootItem() const { return m_pModel->Items().GetRootItem(); }
    std::size_t GetCount() const { return m_pModel->Items().GetCount(); }
    wxString GetItemText(const Item* item) const;
    long GetItemData(const Item* item) const { return item ? item->data : 0; }
    Item* GetSelectedItem() const;
    // Selects item without telling anyone, as a program's selection does.
    void SelectItem(Item* item);
    // The item under a point in the tree's coordinates, or null.
    Item* HitTestItem(const wxPoint& point) const;
    wxRect GetItemRect(const Item* item) const;

    // The colour and font map, and the item's bold state.
    void SetItemColorFont(const Item* item, const TreeItemColorFont& entry);
    void SetItemBold(Item* item, bool bold);
    bool GetItemBold(const Item* item) const { return item && item->bold; }

    // Text search, walk order and the search's item filter.
    Item* FindItem(const wxString& text, bool matchCase, bool downward, bool wholeWord, Item* start = nullptr);
    Item* GetNextItem(const Item* item) const { return m_pModel->Items().GetNextItem(item); }
    Item* GetPrevItem(const Item* item) const { return m_pModel->Items().GetPrevItem(item); }
    Item* GetLastItem(const Item* item = nullptr) const { return m_pModel->Items().GetLastItem(item); }
    virtual bool IsFindValid(const Item*) const { return true; }

    CCJTreeModel* GetTreeModel() const { return m_pModel; }

    // A button press on the native tree view (button 1 left, 3 right);
    // true when the tree view's own handling must not run.
    bool OnPress(int button, int presses, wxPoint point);

private:
    void OnLeftDClick(wxMouseEvent& event);
    void OnRightDown(wxPoint point);
    void AfterLeftDown(wxPoint point);
    void AfterDoubleClick(wxPoint point);
    void SendUp(wxEventType type, int value);
    void SendToOwner(wxEventType type, Item* item);

    CCJTreeModel* m_pModel = nullptr;
    void* m_pPressGesture = nullptr; // GtkGesture
};
