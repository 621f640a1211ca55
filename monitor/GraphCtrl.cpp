#include "monitor/GraphCtrl.h"

#include "monitor/GraphRenderer.h"
#include "platform/Accessibility.h"
#include "platform/ResourceModule.h"
#include "res/StringIds.h"

#include <wx/dcbuffer.h>
#include <wx/dcclient.h>

#include <algorithm>

CGraphCtrl::CGraphCtrl(wxWindow* parent, wxWindowID id, CGraphRecorder& recorder)
    : wxWindow(parent, id, wxDefaultPosition, wxDefaultSize, wxBORDER_SUNKEN | wxWANTS_CHARS),
      m_recorder(recorder),
      m_readOutWords(this, CAccessibleTextThrottle::Field::Description,
                     wxString::FromUTF8(LoadResString(IDS_GRAPH_CURSOR_NAME) + ": "))
{
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    Bind(wxEVT_PAINT, &CGraphCtrl::OnPaint, this);
    Bind(wxEVT_MOTION, &CGraphCtrl::OnMouseMove, this);
    Bind(wxEVT_LEFT_DOWN, &CGraphCtrl::OnLeftDown, this);
    Bind(wxEVT_LEFT_UP, &CGraphCtrl::OnLeftUp, this);
    Bind(wxEVT_LEAVE_WINDOW, &CGraphCtrl::OnMouseLeave, this);
    Bind(wxEVT_RIGHT_DOWN, &CGraphCtrl::OnRightDown, this);
    Bind(wxEVT_KEY_DOWN, &CGraphCtrl::OnKeyDown, this);
    // A reader coming to the chart hears every read-out, not the last change.
    Bind(wxEVT_SET_FOCUS, [this](wxFocusEvent& event) {
        m_readOutWords.TellWhole();
        event.Skip();
    });
}

GraphLayout CGraphCtrl::CurrentLayout()
{
    wxClientDC dc(this);
    return MeasureGraphLayout(dc, GetClientSize(), m_recorder);
}

void CGraphCtrl::OnPaint(wxPaintEvent&)
{
    wxAutoBufferedPaintDC dc(this);
    DrawGraphChart(dc, GetClientSize(), m_recorder, m_View);
    UpdateDescription();
}

std::string CGraphCtrl::ReadOutText() const
{
    std::string text;
    for (int c = 0; c < kGraphChannels; ++c) {
        const GraphReadOut& readOut = m_View.readOuts[c];
        if (readOut.text.empty() || !m_recorder.IsChannelShown(c))
            continue;
        text += (text.empty() ? LoadResString(IDS_GRAPH_CURSOR_NAME) + ": " : std::string("; ")) +
                m_recorder.m_Channels[c].name + " " + readOut.text;
    }
    return text;
}

void CGraphCtrl::UpdateDescription()
{
    // The read-outs move as the data scrolls under the cursor: a reader is
    // told what the user's cursor moves at once, the scrolling calmly.
    std::vector<wxString> parts;
    for (int c = 0; c < kGraphChannels; ++c) {
        const GraphReadOut& readOut = m_View.readOuts[c];
        if (!readOut.text.empty() && m_recorder.IsChannelShown(c))
            parts.push_back(wxString::FromUTF8(m_recorder.m_Channels[c].name + " " + readOut.text));
    }
    m_readOutWords.Update(parts, m_bCursorMovedByUser);
    m_bCursorMovedByUser = false;
}

bool CGraphCtrl::MoveCursorByKey(int keyCode, bool ctrl)
{
    GraphRect plot = CurrentLayout().plot;
    int x = m_View.cursor.x;
    bool inside = plot.Contains(m_View.cursor.x, m_View.cursor.y);
    int step = ctrl ? 10 : 1;
    switch (keyCode) {
    case WXK_LEFT:
    case WXK_NUMPAD_LEFT: x = inside ? x - step : (plot.left + plot.right) / 2; break;
    case WXK_RIGHT:
    case WXK_NUMPAD_RIGHT: x = inside ? x + step : (plot.left + plot.right) / 2; break;
    case WXK_HOME:
    case WXK_NUMPAD_HOME: x = plot.left; break;
    case WXK_END:
    case WXK_NUMPAD_END: x = plot.right - 1; break;
    case WXK_ESCAPE:
        if (!inside)
            return false;
        RemoveCursor();
        m_bCursorMovedByUser = true;
        Refresh(false);
        return true;
    default: return false;
    }
    x = std::max(plot.left, std::min(x, plot.right - 1));
    m_bMouseCursor = false;
    m_bCursorMovedByUser = true;
    m_View.cursor = {x, inside ? m_View.cursor.y : (plot.top + plot.bottom) / 2};
    Refresh(false);
    return true;
}

void CGraphCtrl::MouseMovedTo(const wxPoint& point)
{
    GraphLayout layout = CurrentLayout();
    int arrow = ArrowAt(layout, point.x, point.y);
    bool repaint = arrow != m_View.highlightedArrow;
    m_View.highlightedArrow = arrow;
    if (layout.plot.Contains(point.x, point.y)) {
        m_View.cursor = {point.x, point.y};
        m_bMouseCursor = true;
        m_bCursorMovedByUser = true;
        repaint = true;
    }
    if (repaint)
        Refresh(false);
}

void CGraphCtrl::MouseLeft()
{
    bool repaint = m_View.highlightedArrow >= 0;
    m_View.highlightedArrow = -1;
    // The keyboard's cursor stays where the keys put it.
    if (!m_bMouseCursor) {
        if (repaint)
            Refresh(false);
        return;
    }
    RemoveCursor();
    Refresh(false);
}

void CGraphCtrl::RemoveCursor()
{
    m_bMouseCursor = false;
    m_View.cursor = {-1, -1};
    for (GraphReadOut& readOut : m_View.readOuts)
        readOut.text.clear();
}

void CGraphCtrl::LeftClickAt(const wxPoint& point)
{
    int arrow = ArrowAt(CurrentLayout(), point.x, point.y);
    if (arrow == 0)
        m_recorder.IncreaseSpan();
    else if (arrow == 1)
        m_recorder.DecreaseSpan();
    if (arrow >= 0)
        Refresh(false);
}

void CGraphCtrl::OnMouseMove(wxMouseEvent& event)
{
    MouseMovedTo(event.GetPosition());
    event.Skip();
}

void CGraphCtrl::OnMouseLeave(wxMouseEvent& event)
{
    MouseLeft();
    event.Skip();
}

void CGraphCtrl::OnLeftDown(wxMouseEvent& event)
{
    SetFocus();
    LeftClickAt(event.GetPosition());
    event.Skip();
}

void CGraphCtrl::OnLeftUp(wxMouseEvent& event)
{
    if (HasCapture())
        ReleaseMouse();
    event.Skip();
}

void CGraphCtrl::OnRightDown(wxMouseEvent& event)
{
    if (m_onRightDown)
        m_onRightDown(ClientToScreen(event.GetPosition()));
}

void CGraphCtrl::OnKeyDown(wxKeyEvent& event)
{
    if (MoveCursorByKey(event.GetKeyCode(), event.ControlDown()))
        return;
    if (m_onKeyDown)
        m_onKeyDown(event);
    event.Skip();
}
