#pragma once
// What assistive tools (screen readers, test tools over AT-SPI) read of our
// windows where the toolkit cannot tell by itself: the name of a text field
// written in a label beside it, the texts of a self-drawn status bar.

#include <wx/eventfilter.h>
#include <wx/string.h>

class wxWindow;

void SetAccessibleName(wxWindow* window, const wxString& name);
void SetAccessibleDescription(wxWindow* window, const wxString& description);

// Names every text field, choice and list of a window after the label written
// before it, and every button without a caption after its tool tip.
void NameControlsByLabels(wxWindow* top);

// Gives every window, as it is shown, NameControlsByLabels: dialogs of ours
// and those of the toolkit (print preview) alike; and hides a notebook's tabs
// while a page leaves it (HideTabsWhilePageLeaves). The application installs
// one.
class CAccessibleNamesFilter : public wxEventFilter {
public:
    int FilterEvent(wxEvent& event) override;
};
