#pragma once
// The navigator tree's data model: the items of CCJTreeItems shown by a
// wxDataViewCtrl in tree form (GTK's own tree view, which accessibility tools
// read), with the per-item colour and font map as the items' attributes.

#include "controls/CJTreeItems.h"

#include <wx/dataview.h>

#include <map>

// One entry of the colour and font map.
struct TreeItemColorFont {
    wxColour colour; // invalid: the tree's own text colour
    bool bold = false;
    bool italic = false;
};

class CCJTreeModel : public wxDataViewModel {
public:
    using Item = CJTreeItem;

    static Item* ItemOf(const wxDataViewItem& item) { return static_cast<Item*>(item.GetID()); }
    static wxDataViewItem HandleOf(const Item* item) { return wxDataViewItem(const_cast<Item*>(item)); }

    CCJTreeItems& Items() { return m_items; }
    const CCJTreeItems& Items() const { return m_items; }

    Item* AppendItem(Item* parent, const std::string& text, long data);
    void DeleteAllItems();
    void SetItemText(Item* item, const std::string& text);

    void SetItemColorFont(const Item* item, const TreeItemColorFont& entry);
    void SetItemBold(Item* item, bool bold);

    unsigned GetColumnCount() const override { return 1; }
    wxString GetColumnType(unsigned) const override { return "string"; }
    void GetValue(wxVariant& variant, const wxDataViewItem& item, unsigned column) const override;
    bool SetValue(const wxVariant&, const wxDataViewItem&, unsigned) override { return false; }
    bool GetAttr(const wxDataViewItem& item, unsigned column, wxDataViewItemAttr& attr) const override;
    wxDataViewItem GetParent(const wxDataViewItem& item) const override;
    bool IsContainer(const wxDataViewItem& item) const override;
    unsigned GetChildren(const wxDataViewItem& item, wxDataViewItemArray& children) const override;

private:
    CCJTreeItems m_items;
    std::map<const Item*, TreeItemColorFont> m_colorFonts;
};
