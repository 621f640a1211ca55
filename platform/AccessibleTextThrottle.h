#pragma once
// The words a screen reader is told of an object whose values move on their
// own (a chart's read-outs, a recorded maximum, a live read-out): a reader
// says every change of a focused object aloud, and values that move ten
// times a second would drown everything else. What the user does is told at
// once; what moves by itself at most once a second, and then only the parts
// that changed since the reader was last told. The last words always land.

#include <wx/string.h>
#include <wx/timer.h>

#include <chrono>
#include <vector>

class wxWindow;

class CAccessibleTextThrottle : private wxTimer {
public:
    enum class Field { Name, Description };
    static constexpr std::chrono::milliseconds kQuietTime{1000};

    // The words go to window's accessible name or description; prefix comes
    // before the parts whenever there are any ("Cursor: ").
    CAccessibleTextThrottle(wxWindow* window, Field field, wxString prefix = wxString());
    ~CAccessibleTextThrottle() override;

    // The object's words now, in parts (one per curve, per read-out...).
    // byUser: the user's own act changed them, and they are told whole at once.
    void Update(const std::vector<wxString>& parts, bool byUser = false);
    // Tells the latest words whole, as when the object takes the focus.
    void TellWhole();

    // The latest words, whole, and what the reader was told last.
    wxString Whole() const { return Joined(m_latest); }
    const wxString& Told() const { return m_told; }

private:
    void Notify() override;
    void Tell(const std::vector<wxString>& parts);
    wxString Joined(const std::vector<wxString>& parts) const;

    wxWindow* m_window;
    Field m_field;
    wxString m_prefix;
    std::vector<wxString> m_latest;
    std::vector<wxString> m_toldParts; // the parts as of the last telling
    wxString m_told;
    std::chrono::steady_clock::time_point m_lastTold{};
    bool m_everTold = false;
};
