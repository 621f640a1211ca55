#pragma once
// The words a screen reader is told of objects whose values move on their
// own (a chart's read-outs, a recorded maximum, a live read-out): a reader
// says every change of a focused object aloud, and values that move ten
// times a second would drown everything else. What the user does is told at
// once; what moves by itself at most once a second, and then only the parts
// that changed since the reader was last told. The last words always land.
// Objects of one window may share a beat: then the window as a whole tells
// of one moving object a second, each in its turn.

#include <wx/string.h>
#include <wx/timer.h>

#include <chrono>
#include <deque>
#include <memory>
#include <vector>

class wxWindow;
class CAccessibleTextThrottle;

class CAccessibleTextBeat : private wxTimer {
public:
    static constexpr std::chrono::milliseconds kQuietTime{1000};
    ~CAccessibleTextBeat() override;

private:
    friend class CAccessibleTextThrottle;
    // Tells throttle's words now when the beat allows, else in its turn.
    void Ask(CAccessibleTextThrottle* throttle);
    void Told();
    void Forget(CAccessibleTextThrottle* throttle);
    void Notify() override;
    void Schedule();

    std::deque<CAccessibleTextThrottle*> m_waiting;
    std::chrono::steady_clock::time_point m_lastTold{};
};

class CAccessibleTextThrottle {
public:
    enum class Field { Name, Description };

    // The words go to window's accessible name or description; prefix comes
    // before the parts whenever there are any ("Cursor: "). Without a beat
    // the object has one of its own.
    CAccessibleTextThrottle(wxWindow* window, Field field, wxString prefix = wxString(),
                            std::shared_ptr<CAccessibleTextBeat> beat = nullptr);
    ~CAccessibleTextThrottle();
    CAccessibleTextThrottle(const CAccessibleTextThrottle&) = delete;
    CAccessibleTextThrottle& operator=(const CAccessibleTextThrottle&) = delete;

    // The object's words now, in parts (one per curve, per read-out...).
    // byUser: the user's own act changed them, and they are told whole at once.
    void Update(const std::vector<wxString>& parts, bool byUser = false);
    // Tells the latest words whole, as when the object takes the focus.
    void TellWhole();

    // The latest words, whole, and what the reader was told last.
    wxString Whole() const { return Joined(m_latest); }
    const wxString& Told() const { return m_told; }

private:
    friend class CAccessibleTextBeat;
    // Tells the parts that moved since the last telling.
    void TellChanges();
    void Tell(const std::vector<wxString>& parts);
    wxString Joined(const std::vector<wxString>& parts) const;

    wxWindow* m_window;
    Field m_field;
    wxString m_prefix;
    std::shared_ptr<CAccessibleTextBeat> m_beat;
    std::vector<wxString> m_latest;
    std::vector<wxString> m_toldParts; // the parts as of the last telling
    wxString m_told;
    bool m_everTold = false;
};
