#pragma once
// A most-recently-used list of project paths, kept in the profile as one value
// per entry ("MyFile1", "MyFile2", ... in the section "My Recent File List").

#include <functional>
#include <string>
#include <vector>

class CRecentFileList {
public:
    // Profile access: read a value (empty when absent), write a value (an
    // empty value removes the key).
    using Reader = std::function<std::string(const std::string& section, const std::string& key)>;
    using Writer = std::function<void(const std::string& section, const std::string& key, const std::string& value)>;

    CRecentFileList(int start, std::string section, std::string entryFormat, int size, int displayLength);

    // Puts path first; an equal entry further down moves up, the last entry
    // drops out when the list is full. An empty path is ignored.
    void Add(const std::string& path);
    void Remove(int index);

    int GetSize() const { return m_nSize; }
    int GetCount() const { return static_cast<int>(m_entries.size()); }
    // Entry index, or the empty text beyond the entries.
    std::string GetEntry(int index) const;
    // The entry as a menu shows it: at most the display length, the file name
    // kept whole where it fits, the front of the folder replaced by "...".
    std::string GetDisplayName(int index) const;

    void ReadList(const Reader& read);
    void WriteList(const Writer& write) const;

    const std::string& GetSection() const { return m_strSection; }
    std::string KeyOf(int index) const;

private:
    int m_nStart;
    std::string m_strSection;
    std::string m_strEntryFormat;
    int m_nSize;
    int m_nDisplayLength;
    std::vector<std::string> m_entries;
};
