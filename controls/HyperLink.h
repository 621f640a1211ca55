#pragma once
// A link: text in the link colour, the hover colour while the mouse is over
// it and the visited colour once opened; underlined always, never, or only
// while the mouse is over it. A click opens the address with the desktop's
// browser; when that fails the bell sounds and a message gives the reason.

#include <wx/hyperlink.h>
#include <wx/timer.h>

#include <functional>

class CHyperLink : public wxGenericHyperlinkCtrl {
public:
    enum UnderlineMode : int { kUnderlineHover = -1, kUnderlineNever = 0, kUnderlineAlways = 1 };

    // Opens an address; false with the reason when it cannot.
    using Launcher = std::function<bool(const wxString& url, wxString& reason)>;
    // Replaces the desktop's launcher and the bell (tests); returns the
    // previous launcher. An empty launcher restores the desktop's.
    static Launcher SetLauncher(Launcher launcher);
    static std::function<void()> SetBell(std::function<void()> bell);

    CHyperLink(wxWindow* parent, wxWindowID id, const wxString& label, const wxString& url);

    void SetColours(const wxColour& link, const wxColour& visited, const wxColour& hover);
    void SetUnderline(int mode);
    int GetUnderline() const { return m_nUnderline; }
    bool IsOver() const { return m_bOverControl; }
    // The colour the text is drawn in now.
    wxColour GetTextColour() const;

    // Opens url; false, with the reason, when the launcher could not.
    static bool GotoURL(const wxString& url, wxString& reason);
    // "Unable to open hyperlink:" and the reason, in a message box.
    static void ReportError(const wxString& reason);

private:
    void OnLink(wxHyperlinkEvent& event);
    void OnMotion(wxMouseEvent& event);
    void OnHoverTimer(wxTimerEvent& event);
    void ApplyFont();

    bool m_bOverControl = false;
    bool m_bVisited = false;
    wxTimer m_hoverTimer;
    int m_nUnderline = kUnderlineHover;
    wxFont m_plainFont;
};
