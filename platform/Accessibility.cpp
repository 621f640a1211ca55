#include "platform/Accessibility.h"

#include "platform/Accessible.h"

#include <wx/anybutton.h>
#include <wx/choice.h>
#include <wx/combobox.h>
#include <wx/dataview.h>
#include <wx/dialog.h>
#include <wx/listbox.h>
#include <wx/radiobut.h>
#include <wx/spinctrl.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/toplevel.h>

#include <gtk/gtk.h>

#include <vector>

namespace {

// The first toggle button among widget's own children and theirs, the
// toolkit's internal ones included.
GtkWidget* FirstToggleButtonIn(GtkWidget* widget)
{
    if (!GTK_IS_CONTAINER(widget))
        return nullptr;
    struct Search {
        GtkWidget* found = nullptr;
    } search;
    gtk_container_forall(
        GTK_CONTAINER(widget),
        [](GtkWidget* child, gpointer data) {
            auto* state = static_cast<Search*>(data);
            if (state->found)
                return;
            state->found = GTK_IS_TOGGLE_BUTTON(child) ? child : FirstToggleButtonIn(child);
        },
        &search);
    return search.found;
}

// The button inside a drop list without an entry: it is what takes the
// keyboard, and GTK tells readers of the focus on it alone, as an object no
// walk from the list reaches.
GtkWidget* DropListButton(GtkWidget* widget)
{
    if (!widget || !GTK_IS_COMBO_BOX(widget) || gtk_combo_box_get_has_entry(GTK_COMBO_BOX(widget)))
        return nullptr;
    return FirstToggleButtonIn(widget);
}

// What a scrolled window holds: a data view's table, which takes the keyboard
// though the window's own widget is the scrolled window around it.
GtkWidget* ScrolledContent(GtkWidget* widget)
{
    return widget && GTK_IS_SCROLLED_WINDOW(widget) ? gtk_bin_get_child(GTK_BIN(widget)) : nullptr;
}

// The widgets a window is made of on GTK: the outer one and, where they
// differ, the one that takes the keyboard (a combo box's entry, a drop
// list's button, a scrolled table), so that a reader says the same of
// whichever has the focus.
template <typename Apply>
void ForEachAccessible(wxWindow* window, Apply apply)
{
    if (!window)
        return;
    GtkWidget* outer = window->GetHandle();
    GtkWidget* inner = window->GetConnectWidget();
    GtkWidget* button = DropListButton(outer);
    GtkWidget* content = ScrolledContent(outer);
    for (GtkWidget* widget : {outer, inner != outer ? inner : nullptr, button != inner ? button : nullptr,
                              content != inner ? content : nullptr})
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

// Where a window lies within its top-level window, shown or not.
wxRect RectInTop(wxWindow* window)
{
    wxRect rect = window->GetRect();
    for (wxWindow* parent = window->GetParent(); parent && !parent->IsTopLevel(); parent = parent->GetParent())
        rect.Offset(parent->GetPosition() + parent->GetClientAreaOrigin());
    return rect;
}

// The labels met since the last control, in the order they were made.
struct PendingLabels {
    std::vector<wxStaticText*> labels;

    // The label of control: the one written on its row when several wait (a
    // dialog may make its labels before its controls), else the last one.
    wxStaticText* TakeFor(wxWindow* control)
    {
        if (labels.empty())
            return nullptr;
        auto chosen = labels.end() - 1;
        if (labels.size() > 1) {
            const wxRect place = RectInTop(control);
            for (auto label = labels.begin(); label != labels.end(); ++label) {
                const wxRect text = RectInTop(*label);
                if (text.GetBottom() >= place.GetTop() && text.GetTop() <= place.GetBottom() &&
                    text.GetRight() <= place.GetLeft()) {
                    chosen = label;
                    break;
                }
            }
        }
        wxStaticText* label = *chosen;
        // The others wait for the controls of their rows; a label taken as
        // the last one ends the wait.
        if (chosen == labels.end() - 1)
            labels.clear();
        else
            labels.erase(chosen);
        return label;
    }
};

// The static box a radio button stands in, among its siblings.
wxStaticBox* BoxAround(wxWindow* button)
{
    const wxRect place = button->GetRect();
    for (wxWindow* sibling : button->GetParent()->GetChildren())
        if (auto* box = dynamic_cast<wxStaticBox*>(sibling); box && box->GetRect().Contains(place))
            return box;
    return nullptr;
}

// The buttons of the radio group that button belongs to.
std::vector<wxWindow*> RadioGroupOf(wxRadioButton* button)
{
    std::vector<wxWindow*> members;
    const wxWindowList& siblings = button->GetParent()->GetChildren();
    bool inGroup = false;
    for (wxWindow* sibling : siblings) {
        auto* radio = dynamic_cast<wxRadioButton*>(sibling);
        if (!radio) {
            if (inGroup)
                break;
            continue;
        }
        if (radio->HasFlag(wxRB_GROUP) || radio->HasFlag(wxRB_SINGLE)) {
            if (inGroup)
                break;
            members.clear();
        }
        members.push_back(radio);
        inGroup = inGroup || radio == button;
    }
    return members;
}

// A radio button is read with its group's name, whichever of the group has
// the focus: the box's label as its description. Its relations are asked for
// here, before any reader: GTK ties a button to its group on that first
// asking, and asked first over the bus, once its label is tied too, it
// complains of a group relation that is not there to replace.
void DescribeRadioButton(wxRadioButton* button)
{
    const std::vector<wxWindow*> group = RadioGroupOf(button);
    GtkWidget* widget = button->GetHandle();
    AtkObject* accessible = widget ? gtk_widget_get_accessible(widget) : nullptr;
    if (!accessible)
        return;
    AtkRelationSet* set = atk_object_ref_relation_set(accessible);
    const bool told = atk_relation_set_contains(set, ATK_RELATION_MEMBER_OF);
    g_object_unref(set);
    if (!told)
        SetAccessibleRelation(button, AccessibleRelation::MemberOf, group);
    wxStaticBox* box = BoxAround(button);
    const wxString groupName = box ? LabelAsName(box->GetLabel()) : wxString();
    if (!groupName.empty() && (!accessible->description || g_object_get_data(G_OBJECT(accessible), kNamedByLabel))) {
        SetAccessibleDescription(button, groupName);
        g_object_set_data(G_OBJECT(accessible), kNamedByLabel, GINT_TO_POINTER(1));
    }
}

void NameChildren(wxWindow* parent, PendingLabels& pending)
{
    for (wxWindow* child : parent->GetChildren()) {
        if (child->IsTopLevel())
            continue;
        if (auto* label = dynamic_cast<wxStaticText*>(child)) {
            pending.labels.push_back(label);
            continue;
        }
        if (IsNamedByLabel(child)) {
            wxStaticText* label = pending.TakeFor(child);
            if (label && !LabelAsName(label->GetLabel()).empty() && !HasOwnName(child)) {
                NameByLabel(child, LabelAsName(label->GetLabel()));
                // GTK's own guess of the label goes with it.
                SetAccessibleRelation(child, AccessibleRelation::LabelledBy, {label});
            }
        } else if (auto* radio = dynamic_cast<wxRadioButton*>(child)) {
            DescribeRadioButton(radio);
        } else if (auto* button = dynamic_cast<wxAnyButton*>(child)) {
            // A picture button says what it does in its tool tip only.
            if (LabelAsName(button->GetLabel()).empty() && !button->GetToolTipText().empty() && !HasOwnName(button))
                NameByLabel(button, button->GetToolTipText());
        }
        NameChildren(child, pending);
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
    PendingLabels pending;
    NameChildren(top, pending);
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
        if (window && static_cast<wxShowEvent&>(event).IsShown()) {
            NameControlsByLabels(window);
            // GTK takes a window for a dialog only by a hint given before
            // its accessible object is made; ours are made first. A message
            // box keeps its own role (an alert).
            GtkWidget* widget = window->GetHandle();
            AtkObject* accessible = widget ? gtk_widget_get_accessible(widget) : nullptr;
            if (dynamic_cast<wxDialog*>(window) && accessible && atk_object_get_role(accessible) == ATK_ROLE_FRAME)
                SetAccessibleRole(window, AccessibleRole::Dialog);
        }
    }
    return Event_Skip;
}
