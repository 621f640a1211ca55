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

} // namespace

void SetAccessibleText(wxWindow* window, const wxString& name, const wxString& description)
{
    if (AtkObject* accessible = AccessibleOf(window)) {
        atk_object_set_name(accessible, name.utf8_str());
        atk_object_set_description(accessible, description.utf8_str());
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
