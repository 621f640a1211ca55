#pragma once
// The items of the navigator tree without any window: texts, item data, the
// bold state, and the walk that the tree's text search uses. The tree control
// shows them through its data model; tests walk them without a display.

#include <functional>
#include <memory>
#include <string>
#include <vector>

struct CJTreeItem {
    std::string text; // UTF-8
    long data = 0;
    bool bold = false;
    CJTreeItem* parent = nullptr;
    std::vector<std::unique_ptr<CJTreeItem>> children;

    bool HasChildren() const { return !children.empty(); }
};

class CCJTreeItems {
public:
    using Item = CJTreeItem;
    using FindFilter = std::function<bool(const Item*)>;

    // A new top-level item after the others.
    Item* AddRoot(const std::string& text, long data = 0);
    // A new last child of parent; a null parent adds a top-level item.
    Item* AppendItem(Item* parent, const std::string& text, long data = 0);
    void DeleteAllItems();

    const std::vector<std::unique_ptr<Item>>& Roots() const { return m_roots; }
    Item* GetRootItem() const { return m_roots.empty() ? nullptr : m_roots.front().get(); }
    std::size_t GetCount() const;

    Item* GetNextSibling(const Item* item) const;
    Item* GetPrevSibling(const Item* item) const;

    // Full tree order: the first child, else the next sibling, else the next
    // sibling of the nearest ancestor that has one; null after the last item.
    Item* GetNextItem(const Item* item) const;
    // The previous sibling's last descendant (the sibling itself when it has
    // no children), else the parent.
    Item* GetPrevItem(const Item* item) const;
    // The last descendant of item, or of the whole tree for a null item.
    Item* GetLastItem(const Item* item) const;

    // The first item at or after start (in the direction given) whose text
    // holds text and that isValid accepts; the walk wraps once at the end of
    // the tree and stops when it is back at start. Without a start item the
    // selected item is used, and without either the search begins at the
    // root (downward) or at the last item (upward). Null when nothing fits.
    Item* FindItem(const std::string& text, bool matchCase, bool downward, bool wholeWord, const Item* start,
                   const Item* selected, const FindFilter& isValid = {}) const;

    // True when text holds what, under the search's rules: every occurrence is
    // tried in turn, and with wholeWord one counts only when neither the
    // character before nor the one after it is a letter or '_'.
    static bool TextMatches(const std::string& text, const std::string& what, bool matchCase, bool wholeWord);

private:
    const std::vector<std::unique_ptr<Item>>& SiblingsOf(const Item* item) const;

    std::vector<std::unique_ptr<Item>> m_roots;
};
