#include "session/NetModuleSettings.h"

#include "session/CommSettings.h"

#include <sstream>

namespace {

constexpr const char* kModuleSettingsFile = "tm4comfile.ini";
// A file this short holds no more than a port line and is ignored.
constexpr std::size_t kShortestUsefulFile = 4;
// More adapters than any network of drives has; a damaged count line reads no further.
constexpr long kMostSavedModules = 10000;

} // namespace

std::string CNetModuleSettings::Format(const std::string& port) const
{
    std::ostringstream out;
    out << port << '\n';
    if (port == kNetPortName)
        out << m_strSelectedMac << '\n';
    if (!m_Saved.empty()) {
        out << m_Saved.size() << '\n';
        for (const NetDeviceInfo& module : m_Saved)
            out << module.m_strMac << '\n' << (module.m_strName.empty() ? " " : module.m_strName) << '\n';
    }
    return out.str();
}

void CNetModuleSettings::Parse(const std::string& content)
{
    if (content.size() < kShortestUsefulFile)
        return;
    std::istringstream in(content);
    std::string line;
    ReadSettingsLine(in, line);
    if (line == kNetPortName) {
        ReadSettingsLine(in, line);
        m_strSelectedMac = line;
    }
    ReadSettingsLine(in, line);
    long count = std::strtol(line.c_str(), nullptr, 10);
    if (count < 0 || count > kMostSavedModules)
        count = 0;
    m_Saved.clear();
    for (long i = 0; i < count; ++i) {
        NetDeviceInfo saved;
        if (!ReadSettingsLine(in, saved.m_strMac))
            break;
        ReadSettingsLine(in, saved.m_strName);
        for (NetDeviceInfo& module : m_Discovered)
            if (module.m_strMac == saved.m_strMac) {
                module.m_strName = saved.m_strName;
                break;
            }
        m_Saved.push_back(saved);
    }
}

bool CNetModuleSettings::Load()
{
    std::string content;
    if (OpenSettingsFileForReading(kModuleSettingsFile, &content).empty())
        return false;
    Parse(content);
    return content.size() >= kShortestUsefulFile;
}

void CNetModuleSettings::MergeDiscovered()
{
    if (m_Saved.empty()) {
        m_Saved = m_Discovered;
        return;
    }
    for (const NetDeviceInfo& module : m_Discovered) {
        bool known = false;
        for (NetDeviceInfo& saved : m_Saved)
            if (saved.m_strMac == module.m_strMac) {
                saved.m_strName = module.m_strName;
                known = true;
                break;
            }
        if (!known)
            m_Saved.push_back(module);
    }
}

bool CNetModuleSettings::Save(const std::string& port)
{
    MergeDiscovered();
    return !WriteSettingsFile(kModuleSettingsFile, Format(port)).empty();
}

int CNetModuleSettings::FindDiscovered(const std::string& mac) const
{
    for (std::size_t i = 0; i < m_Discovered.size(); ++i)
        if (m_Discovered[i].m_strMac == mac)
            return static_cast<int>(i);
    return -1;
}

std::string CNetModuleSettings::ButtonText(const NetDeviceInfo& module)
{
    return module.m_strIp + "(" + module.m_strName + ")";
}
