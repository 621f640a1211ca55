#include "platform/Accessibility.h"

#include "platform/Accessible.h"

#include <wx/anybutton.h>
#include <wx/choice.h>
#include <wx/combobox.h>
#include <wx/dataview.h>
#include <wx/listbox.h>
#include <wx/spinctrl.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/toplevel.h>

#include <gtk/gtk.h>

namespace {

// The widgets a window is made of on GTK: the outer one and, where they
// differ, the one that takes the keyboard (a combo box's entry).
template <typename Apply>
void ForEachAccessible(wxWindow* window, Apply apply)
{
    if (!window)
        return;
    GtkWidget* outer = window->GetHandle();
    GtkWidget* inner = window->GetConnectWidget();
    for (GtkWidget* widget : {outer, inner != outer ? inner : nullptr})
        if (widget)
            if (AtkObject* accessible = gtk_widget_get_accessible(widget))
                apply(accessible);
}

// "&Port:" reads as "Port".
wxString LabelAsName(wxString label)
{
    label = wxStaticText::RemoveMnemonics(label).Trim(true).Trim(false);
    while (label.EndsWith(":") || label.EndsWith(wxString::FromUTF8("：")))
        label.RemoveLast();
    return label.Trim(true);
}

// Names this filter gave are marked, so that a later showing may rename by
// a changed label; a name the window gave itself is kept.
constexpr const char* kNamedByLabel = "d390-named-by-label";

bool HasOwnName(wxWindow* window)
{
    GtkWidget* widget = window->GetHandle();
    AtkObject* accessible = widget ? gtk_widget_get_accessible(widget) : nullptr;
    return accessible && accessible->name && !g_object_get_data(G_OBJECT(accessible), kNamedByLabel);
}

void NameByLabel(wxWindow* window, const wxString& name)
{
    SetAccessibleName(window, name);
    ForEachAccessible(window, [](AtkObject* accessible) {
        g_object_set_data(G_OBJECT(accessible), kNamedByLabel, GINT_TO_POINTER(1));
    });
}

bool IsNamedByLabel(wxWindow* window)
{
    return dynamic_cast<wxTextCtrl*>(window) || dynamic_cast<wxComboBox*>(window) ||
           dynamic_cast<wxChoice*>(window) || dynamic_cast<wxSpinCtrl*>(window) ||
           dynamic_cast<wxListBox*>(window) || dynamic_cast<wxDataViewCtrl*>(window);
}

void NameChildren(wxWindow* parent, wxString& pendingLabel)
{
    for (wxWindow* child : parent->GetChildren()) {
        if (child->IsTopLevel())
            continue;
        if (auto* label = dynamic_cast<wxStaticText*>(child)) {
            pendingLabel = LabelAsName(label->GetLabel());
            continue;
        }
        if (IsNamedByLabel(child)) {
            if (!pendingLabel.empty() && !HasOwnName(child))
                NameByLabel(child, pendingLabel);
            pendingLabel.clear();
        } else if (auto* button = dynamic_cast<wxAnyButton*>(child)) {
            // A picture button says what it does in its tool tip only.
            if (LabelAsName(button->GetLabel()).empty() && !button->GetToolTipText().empty() && !HasOwnName(button))
                NameByLabel(button, button->GetToolTipText());
        }
        NameChildren(child, pendingLabel);
    }
}

} // namespace

void SetAccessibleName(wxWindow* window, const wxString& name)
{
    const wxScopedCharBuffer text = name.utf8_str();
    ForEachAccessible(window, [&](AtkObject* accessible) { atk_object_set_name(accessible, text.data()); });
}

void SetAccessibleDescription(wxWindow* window, const wxString& description)
{
    const wxScopedCharBuffer text = description.utf8_str();
    ForEachAccessible(window, [&](AtkObject* accessible) { atk_object_set_description(accessible, text.data()); });
}

void NameControlsByLabels(wxWindow* top)
{
    if (!top)
        return;
    wxString pendingLabel;
    NameChildren(top, pendingLabel);
}

int CAccessibleNamesFilter::FilterEvent(wxEvent& event)
{
    if (event.GetEventType() == wxEVT_DESTROY) {
        // A notebook that goes takes its pages with it; a page that goes
        // leaves its notebook: either way the tabs are hidden first, or GTK
        // complains of a page that is not there while a reader listens.
        // A top-level window is no page, and its parent may be gone before
        // it (a message box whose owner was destroyed while it was up): only
        // a child's parent is asked.
        if (auto* window = dynamic_cast<wxWindow*>(event.GetEventObject())) {
            HideTabsWhilePageLeaves(window);
            if (!window->IsTopLevel())
                HideTabsWhilePageLeaves(window->GetParent());
        }
        return Event_Skip;
    }
    if (event.GetEventType() == wxEVT_SHOW) {
        auto* window = dynamic_cast<wxTopLevelWindow*>(event.GetEventObject());
        if (window && static_cast<wxShowEvent&>(event).IsShown())
            NameControlsByLabels(window);
    }
    return Event_Skip;
}
