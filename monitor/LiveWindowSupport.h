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

// Shows a reply's message (61477 to 61479) when it has one.
void ShowLiveMessage(const LiveReply& reply);
void ShowLiveMessage(unsigned messageId);
