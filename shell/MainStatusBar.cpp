#include "shell/MainStatusBar.h"

#include <gtk/gtk.h>

CMainStatusBar::CMainStatusBar(wxWindow* parent, wxWindowID id, long style, const wxString& name)
    : wxStatusBar(parent, id, style, name)
{
}

void CMainStatusBar::DoUpdateStatusText(int number)
{
    GtkWidget* top = m_widget ? gtk_widget_get_toplevel(m_widget) : nullptr;
    if (top && gtk_widget_is_toplevel(top) && gtk_widget_get_mapped(top))
        gtk_container_check_resize(GTK_CONTAINER(top));
    wxStatusBar::DoUpdateStatusText(number);
}
