#include "session/RecentFileList.h"

#include <algorithm>
#include <cstdio>

CRecentFileList::CRecentFileList(int start, std::string section, std::string entryFormat, int size, int displayLength)
    : m_nStart(start), m_strSection(std::move(section)), m_strEntryFormat(std::move(entryFormat)),
      m_nSize(std::max(1, size)), m_nDisplayLength(displayLength)
{
}

void CRecentFileList::Add(const std::string& path)
{
    if (path.empty())
        return;
    auto found = std::find(m_entries.begin(), m_entries.end(), path);
    if (found != m_entries.end())
        m_entries.erase(found);
    m_entries.insert(m_entries.begin(), path);
    if (static_cast<int>(m_entries.size()) > m_nSize)
        m_entries.resize(static_cast<std::size_t>(m_nSize));
}

void CRecentFileList::Remove(int index)
{
    if (index >= 0 && index < GetCount())
        m_entries.erase(m_entries.begin() + index);
}

std::string CRecentFileList::GetEntry(int index) const
{
    if (index < 0 || index >= GetCount())
        return {};
    return m_entries[static_cast<std::size_t>(index)];
}

std::string CRecentFileList::GetDisplayName(int index) const
{
    std::string path = GetEntry(index);
    std::size_t limit = static_cast<std::size_t>(std::max(4, m_nDisplayLength));
    if (path.size() <= limit)
        return path;
    std::size_t slash = path.rfind('/');
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    if (name.size() + 4 > limit)
        return name.size() <= limit ? name : name.substr(0, limit - 3) + "...";
    // "..." followed by as much of the path's end as fits, starting at a '/'.
    std::string tail = path.substr(path.size() - (limit - 3));
    std::size_t cut = tail.find('/');
    return "..." + tail.substr(cut == std::string::npos ? 0 : cut);
}

std::string CRecentFileList::KeyOf(int index) const
{
    char key[64];
    std::snprintf(key, sizeof key, m_strEntryFormat.c_str(), index + 1 + m_nStart);
    return key;
}

void CRecentFileList::ReadList(const Reader& read)
{
    m_entries.clear();
    for (int index = 0; index < m_nSize; ++index) {
        std::string path = read(m_strSection, KeyOf(index));
        if (!path.empty() && std::find(m_entries.begin(), m_entries.end(), path) == m_entries.end())
            m_entries.push_back(path);
    }
}

void CRecentFileList::WriteList(const Writer& write) const
{
    for (int index = 0; index < m_nSize; ++index)
        write(m_strSection, KeyOf(index), GetEntry(index));
}
