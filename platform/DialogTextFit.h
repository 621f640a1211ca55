#pragma once
// Gives every control that shows a text (static texts, radio buttons, check
// boxes, buttons, drop-down lists) at least the size its text needs in the
// font and theme the toolkit draws it with; a control whose text fits keeps
// the template's size, whatever minimum size the theme gives buttons. The dialogs are placed in dialog units as their
// templates give them, and dialog units follow the font's letters but not
// the toolkit's padding: a GTK radio button's indicator and a button's frame
// need more than the template's room. Installed once, it runs on every
// dialog as it is shown, through wx's dialog layout adaptation:
//  - controls placed by position: the template layout is reflowed
//    (TemplateReflow.h): a control grows with its template column, what lies
//    beyond it moves on, and the dialog grows; a drop-down list grows as wide
//    as its longest entry and as tall as its text and frame;
//  - controls in sizers: their minimum size grows to what their texts need
//    and the dialog grows to the sizer's minimum;
//  - list headings (a wxDataViewCtrl's columns) widen to what their labels
//    need.
// Notebook pages placed by position keep their own layout.

#include <wx/dialog.h>

#include <string>
#include <vector>

class wxDataViewCtrl;

class CDialogTextFit : public wxDialogLayoutAdapter {
public:
    // Makes this the adapter of every dialog shown from now on.
    static void Install();

    bool CanDoLayoutAdaptation(wxDialog* dialog) override;
    bool DoLayoutAdaptation(wxDialog* dialog) override;

    // Fits the controls of a window now: true when something grew.
    static bool Fit(wxWindow* window);
    // The controls of a window whose texts do not fit, with the window's
    // notebooks' pages left out, as Fit sees them.
    static bool HasCutTexts(wxWindow* window);
    // A control that shows a text of its own.
    static bool ShowsText(const wxWindow* control);
    // The size a control needs to show its text whole: its text and the
    // frame the theme draws around it (a button's padding, a check box's
    // mark), but not the theme's minimum size of a button.
    static wxSize TextNeed(const wxWindow* control);

    // Widens the list's columns whose headings need more than their width:
    // true when one widened.
    static bool FitHeadings(wxDataViewCtrl* list);
    // The headings of the list that need more than their columns' width,
    // as "heading: width < needed".
    static std::vector<std::string> CutHeadings(wxDataViewCtrl* list);
};
