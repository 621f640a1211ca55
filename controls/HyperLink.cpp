#include "controls/HyperLink.h"

#include "platform/MessageBox.h"

#include <wx/log.h>
#include <wx/utils.h>

namespace {

// Keeps what the desktop's launcher logs, so that a failure has a reason.
class LogCapture : public wxLog {
public:
    LogCapture() : m_previous(wxLog::SetActiveTarget(this)) {}
    ~LogCapture() override { wxLog::SetActiveTarget(m_previous); }
    wxString m_text;

protected:
    void DoLogTextAtLevel(wxLogLevel, const wxString& message) override
    {
        if (!m_text.empty())
            m_text += "\n";
        m_text += message;
    }

private:
    wxLog* m_previous;
};

bool LaunchWithDesktop(const wxString& url, wxString& reason)
{
    LogCapture capture;
    if (wxLaunchDefaultBrowser(url))
        return true;
    reason = capture.m_text.empty() ? wxString("The desktop has no program to open this address.") : capture.m_text;
    return false;
}

CHyperLink::Launcher& CurrentLauncher()
{
    static CHyperLink::Launcher launcher = LaunchWithDesktop;
    return launcher;
}

std::function<void()>& CurrentBell()
{
    static std::function<void()> bell = [] { wxBell(); };
    return bell;
}

} // namespace

CHyperLink::Launcher CHyperLink::SetLauncher(Launcher launcher)
{
    Launcher previous = CurrentLauncher();
    CurrentLauncher() = launcher ? std::move(launcher) : Launcher(LaunchWithDesktop);
    return previous;
}

std::function<void()> CHyperLink::SetBell(std::function<void()> bell)
{
    std::function<void()> previous = CurrentBell();
    CurrentBell() = bell ? std::move(bell) : std::function<void()>([] { wxBell(); });
    return previous;
}

CHyperLink::CHyperLink(wxWindow* parent, wxWindowID id, const wxString& label, const wxString& url)
    : wxGenericHyperlinkCtrl(parent, id, label, url, wxDefaultPosition, wxDefaultSize, wxHL_DEFAULT_STYLE)
{
    m_plainFont = GetFont();
    m_plainFont.SetUnderlined(false);
    SetColours(wxColour(0, 0, 238), wxColour(85, 26, 139), wxColour(221, 0, 0));
    ApplyFont();
    Bind(wxEVT_HYPERLINK, &CHyperLink::OnLink, this);
    Bind(wxEVT_ENTER_WINDOW, &CHyperLink::OnMotion, this);
    Bind(wxEVT_MOTION, &CHyperLink::OnMotion, this);
    m_hoverTimer.SetOwner(this);
    Bind(wxEVT_TIMER, &CHyperLink::OnHoverTimer, this);
}

void CHyperLink::SetColours(const wxColour& link, const wxColour& visited, const wxColour& hover)
{
    SetNormalColour(link);
    SetVisitedColour(visited);
    SetHoverColour(hover);
    Refresh();
}

void CHyperLink::SetUnderline(int mode)
{
    if (mode != kUnderlineHover && mode != kUnderlineNever && mode != kUnderlineAlways)
        return;
    m_nUnderline = mode;
    ApplyFont();
}

void CHyperLink::ApplyFont()
{
    bool underlined = m_nUnderline == kUnderlineAlways || (m_nUnderline == kUnderlineHover && m_bOverControl);
    wxFont font = m_plainFont;
    font.SetUnderlined(underlined);
    if (font != GetFont()) {
        SetFont(font);
        Refresh();
    }
}

wxColour CHyperLink::GetTextColour() const
{
    // The control paints its text in its foreground colour, which it keeps
    // at the hover, visited or link colour.
    return GetForegroundColour();
}

void CHyperLink::OnMotion(wxMouseEvent& event)
{
    event.Skip();
    if (m_bOverControl)
        return;
    m_bOverControl = true;
    ApplyFont();
    Refresh();
    // Leave events do not come for every way the pointer leaves; the timer
    // looks where it is.
    m_hoverTimer.Start(100);
}

void CHyperLink::OnHoverTimer(wxTimerEvent&)
{
    if (GetScreenRect().Contains(wxGetMousePosition()))
        return;
    m_hoverTimer.Stop();
    m_bOverControl = false;
    SetForegroundColour(m_bVisited ? GetVisitedColour() : GetNormalColour());
    ApplyFont();
    Refresh();
}

void CHyperLink::OnLink(wxHyperlinkEvent& event)
{
    // Handled here: the control's own default would open the address again.
    m_bOverControl = false;
    ApplyFont();
    wxString reason;
    if (GotoURL(event.GetURL(), reason)) {
        m_bVisited = true;
        SetVisited(true);
        Refresh();
        return;
    }
    // The control marks itself visited before it asks to open the address.
    SetVisited(m_bVisited);
    SetForegroundColour(m_bVisited ? GetVisitedColour() : GetNormalColour());
    Refresh();
    CurrentBell()();
    ReportError(reason);
}

bool CHyperLink::GotoURL(const wxString& url, wxString& reason)
{
    return CurrentLauncher()(url, reason);
}

void CHyperLink::ReportError(const wxString& reason)
{
    AfxMessageBox(("Unable to open hyperlink:\n\n" + reason).utf8_string(), MB_OK | MB_ICONWARNING);
}
