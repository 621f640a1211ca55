#pragma once
// The chart window of the graph recorder: paints the recorder through the
// renderer, follows the mouse for the cursor and the span arrows, and hands
// right clicks and keys to its owner.

#include "monitor/GraphCurves.h"

#include <wx/window.h>

#include <functional>

class CGraphCtrl : public wxWindow {
public:
    CGraphCtrl(wxWindow* parent, wxWindowID id, CGraphRecorder& recorder);

    CGraphRecorder& Recorder() { return m_recorder; }
    GraphViewState m_View;
    // The owner's popup menu and key handling.
    std::function<void(const wxPoint& screen)> m_onRightDown;
    std::function<void(wxKeyEvent&)> m_onKeyDown;

    // The arrows and the cursor, as the mouse reaches them (client coordinates).
    void MouseMovedTo(const wxPoint& point);
    void LeftClickAt(const wxPoint& point);
    // The mouse has left the chart: the cursor line and its read-outs go.
    void MouseLeft();

private:
    void OnPaint(wxPaintEvent& event);
    void OnMouseMove(wxMouseEvent& event);
    void OnMouseLeave(wxMouseEvent& event);
    void OnLeftDown(wxMouseEvent& event);
    void OnLeftUp(wxMouseEvent& event);
    void OnRightDown(wxMouseEvent& event);
    void OnKeyDown(wxKeyEvent& event);
    GraphLayout CurrentLayout();

    CGraphRecorder& m_recorder;
};
