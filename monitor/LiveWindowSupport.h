#pragma once
// What every live window does alike: its station choice, the messages of a
// failed exchange, and the line that says the link is gone.

#include "monitor/LiveExchange.h"

#include <vector>

class wxChoice;
class wxStaticText;
class wxWindow;
class wxString;

// A station choice filled with the connected stations as "%d", index selected.
wxChoice* CreateStationChoice(wxWindow* parent, int id, const std::vector<int>& stations, int index);
// The station number of the choice's selection, 0 when there is none.
int SelectedStation(const wxChoice* choice, const std::vector<int>& stations);

// The line "It is not connect with inverter!", hidden until the link is gone.
wxStaticText* CreateLinkGoneLine(wxWindow* parent);

// Lays a live window out again after a line of it appeared or went: the
// window first grows to what its sizer now needs, so that no control is
// squeezed below its size to make room for the line.
void Refit(wxWindow* window);

// Sets a window's accessible name and description only when they differ
// from what it has: a screen reader says every change aloud.
void SetAccessibleTextIfChanged(wxWindow* window, const wxString& name, const wxString& description = wxString());

// Names a control by the label beside it ("Station Num:" names it "Station
// Num"), so that it is not taken for whatever text stands near it.
void NameByLabel(wxWindow* control, const wxString& label);

// The line that says the link failed and polling stopped (64050), with the
// failure's own text; hidden until a failure.
wxStaticText* CreateLinkFailedLine(wxWindow* parent);
// Shows it for messageId (61477 to 61479; 0 for a failure with no text), or
// hides it with messageId < 0. True when it needs laying out again.
bool ShowLinkFailed(wxStaticText* line, int messageId);

// Shows a reply's message (61477 to 61479) when it has one.
void ShowLiveMessage(const LiveReply& reply);
void ShowLiveMessage(unsigned messageId);
