#pragma once
// The chart window of the graph recorder: paints the recorder through the
// renderer, follows the mouse for the cursor and the span arrows, and hands
// right clicks and keys to its owner.

#include "monitor/GraphCurves.h"
#include "platform/AccessibleTextThrottle.h"

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
    // The mouse has left the chart: the cursor line it drew and its
    // read-outs go (a cursor the keys put stays).
    void MouseLeft();
    // The keyboard's cursor: Left and Right move it a pixel column (ten with
    // Ctrl), Home and End to the plot's ends; it starts mid-plot. Escape
    // takes it away. False for any other key.
    bool MoveCursorByKey(int keyCode, bool ctrl);
    // What assistive tools read of the chart: the read-outs at the cursor,
    // "Cursor: name value; ...", empty without a cursor.
    std::string ReadOutText() const;

private:
    void OnPaint(wxPaintEvent& event);
    void OnMouseMove(wxMouseEvent& event);
    void OnMouseLeave(wxMouseEvent& event);
    void OnLeftDown(wxMouseEvent& event);
    void OnLeftUp(wxMouseEvent& event);
    void OnRightDown(wxMouseEvent& event);
    void OnKeyDown(wxKeyEvent& event);
    GraphLayout CurrentLayout();

    void UpdateDescription();
    void RemoveCursor();

    CGraphRecorder& m_recorder;
    CAccessibleTextThrottle m_readOutWords;
    bool m_bCursorMovedByUser = false; // the next paint's read-outs follow the user's move
    bool m_bMouseCursor = false; // the cursor follows the mouse, not the keys
};
