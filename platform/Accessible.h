#pragma once
// Accessible name and description of a window, as screen readers and AT-SPI
// read them. wxWindow::SetName only names the window inside wx; a panel that
// draws what a user reads needs its words on its GTK accessible object.

#include <wx/string.h>

class wxWindow;

void SetAccessibleText(wxWindow* window, const wxString& name, const wxString& description = wxString());
wxString GetAccessibleName(wxWindow* window);
wxString GetAccessibleDescription(wxWindow* window);
