#pragma once
// Accessible name and description of a window, as screen readers and AT-SPI
// read them. wxWindow::SetName only names the window inside wx; a panel that
// draws what a user reads needs its words on its GTK accessible object.

#include <wx/string.h>

#include <vector>

class wxWindow;

void SetAccessibleText(wxWindow* window, const wxString& name, const wxString& description = wxString());
wxString GetAccessibleName(wxWindow* window);
wxString GetAccessibleDescription(wxWindow* window);

// What a window is to a reader where GTK cannot tell: a dialog; a line that
// tells of a change of state (readers say it as it is shown, wherever the
// focus is); the bar of status texts.
enum class AccessibleRole {
    Dialog,
    Notification,
    StatusBar,
};
void SetAccessibleRole(wxWindow* window, AccessibleRole role);

// Relations between a control and the texts around it. GTK guesses them: wx
// ties each static text to the next control that takes the focus as its
// label, even where the text belongs to the row above. A window that knows
// better sets them itself; each call replaces the window's relations of that
// kind.
enum class AccessibleRelation {
    LabelledBy,
    LabelFor,
    DescribedBy,
    DescriptionFor,
    MemberOf,
};
void SetAccessibleRelation(wxWindow* window, AccessibleRelation relation, const std::vector<wxWindow*>& targets);
// The accessible names of the relation's targets, as a reader reports them.
std::vector<wxString> GetAccessibleRelation(wxWindow* window, AccessibleRelation relation);

// GTK's accessible object of a notebook page, told that its page has left the
// notebook, asks the notebook for the page's tab while an assistive tool
// listens, and GTK complains that the page is not there ("gtk_notebook_get_
// tab_label: assertion 'list != NULL' failed"). With the tabs hidden it does
// not ask. Call just before a page leaves a notebook that stays; the tabs
// come back once the events of the removal have been handled.
void HideTabsWhilePageLeaves(wxWindow* notebook);
