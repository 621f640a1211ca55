#include "platform/Accessible.h"

#include <gtk/gtk.h>
#include <wx/window.h>

namespace {

AtkObject* AccessibleOf(wxWindow* window)
{
    if (!window)
        return nullptr;
    GtkWidget* widget = window->GetHandle();
    return widget ? gtk_widget_get_accessible(widget) : nullptr;
}

AtkRelationType AtkTypeOf(AccessibleRelation relation)
{
    switch (relation) {
    case AccessibleRelation::LabelledBy:
        return ATK_RELATION_LABELLED_BY;
    case AccessibleRelation::LabelFor:
        return ATK_RELATION_LABEL_FOR;
    case AccessibleRelation::DescribedBy:
        return ATK_RELATION_DESCRIBED_BY;
    case AccessibleRelation::MemberOf:
        return ATK_RELATION_MEMBER_OF;
    case AccessibleRelation::DescriptionFor:
        break;
    }
    return ATK_RELATION_DESCRIPTION_FOR;
}

} // namespace

void SetAccessibleText(wxWindow* window, const wxString& name, const wxString& description)
{
    if (AtkObject* accessible = AccessibleOf(window)) {
        atk_object_set_name(accessible, name.utf8_str());
        atk_object_set_description(accessible, description.utf8_str());
    }
}

void SetAccessibleRole(wxWindow* window, AccessibleRole role)
{
    AtkObject* accessible = AccessibleOf(window);
    if (!accessible)
        return;
    switch (role) {
    case AccessibleRole::Dialog:
        atk_object_set_role(accessible, ATK_ROLE_DIALOG);
        break;
    case AccessibleRole::Notification:
        atk_object_set_role(accessible, ATK_ROLE_NOTIFICATION);
        break;
    case AccessibleRole::StatusBar:
        atk_object_set_role(accessible, ATK_ROLE_STATUSBAR);
        break;
    }
}

wxString GetAccessibleName(wxWindow* window)
{
    AtkObject* accessible = AccessibleOf(window);
    const char* name = accessible ? atk_object_get_name(accessible) : nullptr;
    return name ? wxString::FromUTF8(name) : wxString();
}

wxString GetAccessibleDescription(wxWindow* window)
{
    AtkObject* accessible = AccessibleOf(window);
    const char* text = accessible ? atk_object_get_description(accessible) : nullptr;
    return text ? wxString::FromUTF8(text) : wxString();
}

void SetAccessibleRelation(wxWindow* window, AccessibleRelation relation, const std::vector<wxWindow*>& targets)
{
    AtkObject* accessible = AccessibleOf(window);
    if (!accessible)
        return;
    const AtkRelationType type = AtkTypeOf(relation);
    // The set GTK hands out is the object's own: what is removed and added
    // here is what readers see. Asking for it also adds GTK's guess, which
    // goes with the rest.
    AtkRelationSet* set = atk_object_ref_relation_set(accessible);
    while (AtkRelation* old = atk_relation_set_get_relation_by_type(set, type))
        atk_relation_set_remove(set, old);
    std::vector<AtkObject*> objects;
    for (wxWindow* target : targets)
        if (AtkObject* object = AccessibleOf(target))
            objects.push_back(object);
    if (!objects.empty()) {
        AtkRelation* added = atk_relation_new(objects.data(), static_cast<gint>(objects.size()), type);
        atk_relation_set_add(set, added);
        g_object_unref(added);
    }
    g_object_unref(set);
}

std::vector<wxString> GetAccessibleRelation(wxWindow* window, AccessibleRelation relation)
{
    std::vector<wxString> names;
    AtkObject* accessible = AccessibleOf(window);
    if (!accessible)
        return names;
    AtkRelationSet* set = atk_object_ref_relation_set(accessible);
    if (AtkRelation* found = atk_relation_set_get_relation_by_type(set, AtkTypeOf(relation))) {
        GPtrArray* targets = atk_relation_get_target(found);
        for (guint k = 0; targets && k < targets->len; ++k) {
            const char* name = atk_object_get_name(ATK_OBJECT(g_ptr_array_index(targets, k)));
            names.push_back(name ? wxString::FromUTF8(name) : wxString());
        }
    }
    g_object_unref(set);
    return names;
}

void HideTabsWhilePageLeaves(wxWindow* notebook)
{
    GtkWidget* widget = notebook ? notebook->GetHandle() : nullptr;
    if (!widget || !GTK_IS_NOTEBOOK(widget) || !gtk_notebook_get_show_tabs(GTK_NOTEBOOK(widget)))
        return;
    gtk_notebook_set_show_tabs(GTK_NOTEBOOK(widget), FALSE);
    notebook->CallAfter([notebook] {
        if (GtkWidget* shown = notebook->GetHandle())
            gtk_notebook_set_show_tabs(GTK_NOTEBOOK(shown), TRUE);
    });
}
