#include "controls/CJTreeModel.h"

CCJTreeModel::Item* CCJTreeModel::AppendItem(Item* parent, const std::string& text, long data)
{
    Item* item = m_items.AppendItem(parent, text, data);
    ItemAdded(HandleOf(parent), HandleOf(item));
    return item;
}

void CCJTreeModel::DeleteAllItems()
{
    m_colorFonts.clear();
    m_items.DeleteAllItems();
    Cleared();
}

void CCJTreeModel::SetItemText(Item* item, const std::string& text)
{
    if (!item)
        return;
    item->text = text;
    ItemChanged(HandleOf(item));
}

void CCJTreeModel::SetItemColorFont(const Item* item, const TreeItemColorFont& entry)
{
    if (!item)
        return;
    m_colorFonts[item] = entry;
    ItemChanged(HandleOf(item));
}

void CCJTreeModel::SetItemBold(Item* item, bool bold)
{
    if (!item)
        return;
    item->bold = bold;
    ItemChanged(HandleOf(item));
}

void CCJTreeModel::GetValue(wxVariant& variant, const wxDataViewItem& item, unsigned) const
{
    const Item* node = ItemOf(item);
    variant = node ? wxString::FromUTF8(node->text) : wxString();
}

bool CCJTreeModel::GetAttr(const wxDataViewItem& item, unsigned, wxDataViewItemAttr& attr) const
{
    const Item* node = ItemOf(item);
    if (!node)
        return false;
    bool set = false;
    auto entry = m_colorFonts.find(node);
    if (entry != m_colorFonts.end()) {
        if (entry->second.colour.IsOk())
            attr.SetColour(entry->second.colour);
        attr.SetBold(entry->second.bold);
        attr.SetItalic(entry->second.italic);
        set = true;
    }
    if (node->bold) {
        attr.SetBold(true);
        set = true;
    }
    return set;
}

wxDataViewItem CCJTreeModel::GetParent(const wxDataViewItem& item) const
{
    const Item* node = ItemOf(item);
    return node ? HandleOf(node->parent) : wxDataViewItem();
}

bool CCJTreeModel::IsContainer(const wxDataViewItem&) const
{
    // Every item may get children after it is shown: the native tree keeps
    // an item it was told is no container as a leaf for good. An item
    // without children shows no expander all the same.
    return true;
}

unsigned CCJTreeModel::GetChildren(const wxDataViewItem& item, wxDataViewItemArray& children) const
{
    const Item* node = ItemOf(item);
    const auto& list = node ? node->children : m_items.Roots();
    for (const auto& child : list)
        children.Add(HandleOf(child.get()));
    return static_cast<unsigned>(list.size());
}
