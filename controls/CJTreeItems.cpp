#include "controls/CJTreeItems.h"

#include <algorithm>
#include <cctype>

namespace {

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

bool IsWordChar(char c)
{
    return std::isalpha(static_cast<unsigned char>(c)) || c == '_';
}

std::size_t CountItems(const std::vector<std::unique_ptr<CJTreeItem>>& items)
{
    std::size_t count = items.size();
    for (const auto& item : items)
        count += CountItems(item->children);
    return count;
}

} // namespace

CCJTreeItems::Item* CCJTreeItems::AddRoot(const std::string& text, long data)
{
    return AppendItem(nullptr, text, data);
}

CCJTreeItems::Item* CCJTreeItems::AppendItem(Item* parent, const std::string& text, long data)
{
    auto item = std::make_unique<Item>();
    item->text = text;
    item->data = data;
    item->parent = parent;
    auto& list = parent ? parent->children : m_roots;
    list.push_back(std::move(item));
    return list.back().get();
}

void CCJTreeItems::DeleteAllItems()
{
    m_roots.clear();
}

std::size_t CCJTreeItems::GetCount() const
{
    return CountItems(m_roots);
}

const std::vector<std::unique_ptr<CJTreeItem>>& CCJTreeItems::SiblingsOf(const Item* item) const
{
    return item->parent ? item->parent->children : m_roots;
}

CCJTreeItems::Item* CCJTreeItems::GetNextSibling(const Item* item) const
{
    if (!item)
        return nullptr;
    const auto& siblings = SiblingsOf(item);
    for (std::size_t i = 0; i + 1 < siblings.size(); ++i)
        if (siblings[i].get() == item)
            return siblings[i + 1].get();
    return nullptr;
}

CCJTreeItems::Item* CCJTreeItems::GetPrevSibling(const Item* item) const
{
    if (!item)
        return nullptr;
    const auto& siblings = SiblingsOf(item);
    for (std::size_t i = 1; i < siblings.size(); ++i)
        if (siblings[i].get() == item)
            return siblings[i - 1].get();
    return nullptr;
}

CCJTreeItems::Item* CCJTreeItems::GetNextItem(const Item* item) const
{
    if (!item)
        return nullptr;
    if (item->HasChildren())
        return item->children.front().get();
    for (const Item* up = item; up; up = up->parent)
        if (Item* next = GetNextSibling(up))
            return next;
    return nullptr;
}

CCJTreeItems::Item* CCJTreeItems::GetPrevItem(const Item* item) const
{
    if (!item)
        return nullptr;
    if (Item* previous = GetPrevSibling(item))
        return GetLastItem(previous);
    return item->parent;
}

CCJTreeItems::Item* CCJTreeItems::GetLastItem(const Item* item) const
{
    const Item* last = item;
    if (!last) {
        if (m_roots.empty())
            return nullptr;
        last = m_roots.back().get();
    }
    while (last->HasChildren())
        last = last->children.back().get();
    return const_cast<Item*>(last);
}

bool CCJTreeItems::TextMatches(const std::string& text, const std::string& what, bool matchCase, bool wholeWord)
{
    if (what.empty())
        return false;
    const std::string haystack = matchCase ? text : Lower(text);
    const std::string needle = matchCase ? what : Lower(what);
    for (std::size_t at = haystack.find(needle); at != std::string::npos;
         at = haystack.find(needle, at + needle.size())) {
        if (!wholeWord)
            return true;
        std::size_t end = at + needle.size();
        bool boundaryBefore = at == 0 || !IsWordChar(haystack[at - 1]);
        bool boundaryAfter = end >= haystack.size() || !IsWordChar(haystack[end]);
        if (boundaryBefore && boundaryAfter)
            return true;
    }
    return false;
}

CCJTreeItems::Item* CCJTreeItems::FindItem(const std::string& text, bool matchCase, bool downward, bool wholeWord,
                                           const Item* start, const Item* selected, const FindFilter& isValid) const
{
    if (text.empty())
        return nullptr;
    if (!start)
        start = selected;
    if (!start)
        start = downward ? GetRootItem() : GetLastItem(nullptr);
    if (!start)
        return nullptr;
    const Item* item = start;
    bool wrapped = false;
    do {
        if (TextMatches(item->text, text, matchCase, wholeWord) && (!isValid || isValid(item)))
            return const_cast<Item*>(item);
        item = downward ? GetNextItem(item) : GetPrevItem(item);
        if (!item && !wrapped) {
            wrapped = true;
            item = downward ? GetRootItem() : GetLastItem(nullptr);
        }
    } while (item && item != start);
    return nullptr;
}
