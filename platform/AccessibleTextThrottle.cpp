#include "platform/AccessibleTextThrottle.h"

#include "platform/Accessibility.h"

#include <wx/window.h>

#include <algorithm>

CAccessibleTextBeat::~CAccessibleTextBeat()
{
    Stop();
}

void CAccessibleTextBeat::Ask(CAccessibleTextThrottle* throttle)
{
    if (std::find(m_waiting.begin(), m_waiting.end(), throttle) != m_waiting.end())
        return;
    const auto since = std::chrono::steady_clock::now() - m_lastTold;
    if (m_waiting.empty() && since >= kQuietTime) {
        throttle->TellChanges();
        return;
    }
    m_waiting.push_back(throttle);
    Schedule();
}

void CAccessibleTextBeat::Told()
{
    m_lastTold = std::chrono::steady_clock::now();
}

void CAccessibleTextBeat::Forget(CAccessibleTextThrottle* throttle)
{
    m_waiting.erase(std::remove(m_waiting.begin(), m_waiting.end(), throttle), m_waiting.end());
    if (m_waiting.empty())
        Stop();
}

void CAccessibleTextBeat::Schedule()
{
    if (IsRunning() || m_waiting.empty())
        return;
    const auto since = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                              m_lastTold);
    StartOnce(static_cast<int>(std::max<long long>(1, (kQuietTime - since).count() + 1)));
}

void CAccessibleTextBeat::Notify()
{
    // One object a beat, each in its turn; one with nothing new left to
    // tell gives its turn to the next.
    while (!m_waiting.empty()) {
        CAccessibleTextThrottle* next = m_waiting.front();
        m_waiting.pop_front();
        const wxString before = next->Told();
        next->TellChanges();
        if (next->Told() != before)
            break;
    }
    Schedule();
}

CAccessibleTextThrottle::CAccessibleTextThrottle(wxWindow* window, Field field, wxString prefix,
                                                 std::shared_ptr<CAccessibleTextBeat> beat)
    : m_window(window), m_field(field), m_prefix(std::move(prefix)),
      m_beat(beat ? std::move(beat) : std::make_shared<CAccessibleTextBeat>())
{
}

CAccessibleTextThrottle::~CAccessibleTextThrottle()
{
    m_beat->Forget(this);
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
    if (byUser || !m_everTold)
        TellWhole();
    else
        m_beat->Ask(this);
}

void CAccessibleTextThrottle::TellWhole()
{
    m_beat->Forget(this);
    Tell(m_latest);
}

void CAccessibleTextThrottle::TellChanges()
{
    // Where the parts themselves came or went, the whole.
    if (m_latest.size() != m_toldParts.size()) {
        Tell(m_latest);
        return;
    }
    std::vector<wxString> changed;
    for (std::size_t k = 0; k < m_latest.size(); ++k)
        if (m_latest[k] != m_toldParts[k])
            changed.push_back(m_latest[k]);
    if (!changed.empty())
        Tell(changed);
}

void CAccessibleTextThrottle::Tell(const std::vector<wxString>& parts)
{
    m_toldParts = m_latest;
    m_everTold = true;
    const wxString text = Joined(parts);
    if (text == m_told || !m_window || m_window->IsBeingDeleted())
        return;
    m_told = text;
    m_beat->Told();
    if (m_field == Field::Name)
        SetAccessibleName(m_window, text);
    else
        SetAccessibleDescription(m_window, text);
}
