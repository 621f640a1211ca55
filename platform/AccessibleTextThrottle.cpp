#include "platform/AccessibleTextThrottle.h"

#include "platform/Accessibility.h"

#include <wx/window.h>

CAccessibleTextThrottle::CAccessibleTextThrottle(wxWindow* window, Field field, wxString prefix)
    : m_window(window), m_field(field), m_prefix(std::move(prefix))
{
}

CAccessibleTextThrottle::~CAccessibleTextThrottle()
{
    Stop();
}

wxString CAccessibleTextThrottle::Joined(const std::vector<wxString>& parts) const
{
    wxString text;
    for (const wxString& part : parts) {
        if (part.empty())
            continue;
        text += (text.empty() ? m_prefix : wxString("; ")) + part;
    }
    return text;
}

void CAccessibleTextThrottle::Update(const std::vector<wxString>& parts, bool byUser)
{
    if (parts == m_latest && m_everTold)
        return;
    m_latest = parts;
    if (byUser || !m_everTold) {
        TellWhole();
        return;
    }
    const auto now = std::chrono::steady_clock::now();
    const auto since = std::chrono::duration_cast<std::chrono::milliseconds>(now - m_lastTold);
    if (since >= kQuietTime) {
        Notify();
        return;
    }
    if (!IsRunning())
        StartOnce(static_cast<int>((kQuietTime - since).count()) + 1);
}

void CAccessibleTextThrottle::TellWhole()
{
    Stop();
    Tell(m_latest);
}

void CAccessibleTextThrottle::Notify()
{
    // Only the parts that moved since the last telling; where the parts
    // themselves came or went, the whole.
    if (m_latest.size() != m_toldParts.size()) {
        TellWhole();
        return;
    }
    std::vector<wxString> changed;
    for (std::size_t k = 0; k < m_latest.size(); ++k)
        if (m_latest[k] != m_toldParts[k])
            changed.push_back(m_latest[k]);
    if (changed.empty())
        return;
    Tell(changed);
}

void CAccessibleTextThrottle::Tell(const std::vector<wxString>& parts)
{
    m_toldParts = m_latest;
    m_lastTold = std::chrono::steady_clock::now();
    m_everTold = true;
    const wxString text = Joined(parts);
    if (text == m_told || !m_window || m_window->IsBeingDeleted())
        return;
    m_told = text;
    if (m_field == Field::Name)
        SetAccessibleName(m_window, text);
    else
        SetAccessibleDescription(m_window, text);
}
