#include "monitor/GraphCtrl.h"

#include "monitor/GraphRenderer.h"

#include <wx/dcbuffer.h>
#include <wx/dcclient.h>

CGraphCtrl::CGraphCtrl(wxWindow* parent, wxWindowID id, CGraphRecorder& recorder)
    : wxWindow(parent, id, wxDefaultPosition, wxDefaultSize, wxBORDER_SUNKEN | wxWANTS_CHARS),
      m_recorder(recorder)
{
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    Bind(wxEVT_PAINT, &CGraphCtrl::OnPaint, this);
    Bind(wxEVT_MOTION, &CGraphCtrl::OnMouseMove, this);
    Bind(wxEVT_LEFT_DOWN, &CGraphCtrl::OnLeftDown, this);
    Bind(wxEVT_LEFT_UP, &CGraphCtrl::OnLeftUp, this);
    Bind(wxEVT_LEAVE_WINDOW, &CGraphCtrl::OnMouseLeave, this);
    Bind(wxEVT_RIGHT_DOWN, &CGraphCtrl::OnRightDown, this);
    Bind(wxEVT_KEY_DOWN, &CGraphCtrl::OnKeyDown, this);
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
}

void CGraphCtrl::MouseMovedTo(const wxPoint& point)
{
    GraphLayout layout = CurrentLayout();
    int arrow = ArrowAt(layout, point.x, point.y);
    bool repaint = arrow != m_View.highlightedArrow;
    m_View.highlightedArrow = arrow;
    if (layout.plot.Contains(point.x, point.y)) {
        m_View.cursor = {point.x, point.y};
        repaint = true;
    }
    if (repaint)
        Refresh(false);
}

void CGraphCtrl::MouseLeft()
{
    bool repaint = m_View.highlightedArrow >= 0 || m_View.cursor.x >= 0;
    m_View.highlightedArrow = -1;
    m_View.cursor = {-1, -1};
    for (GraphReadOut& readOut : m_View.readOuts)
        readOut.text.clear();
    if (repaint)
        Refresh(false);
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
    if (m_onKeyDown)
        m_onKeyDown(event);
    event.Skip();
}
