#include "shell/MainStatusBar.h"

#include <wx/toplevel.h>

#include <gtk/gtk.h>

CMainStatusBar::CMainStatusBar(wxWindow* parent, wxWindowID id, long style, const wxString& name)
    : wxStatusBar(parent, id, style, name)
{
}

void CMainStatusBar::DoUpdateStatusText(int number)
{
    // Not while the frame is taken down: its windows are going, not laid out.
    wxWindow* frame = wxGetTopLevelParent(this);
    GtkWidget* top = m_widget ? gtk_widget_get_toplevel(m_widget) : nullptr;
    if (frame && !frame->IsBeingDeleted() && !IsBeingDeleted() && top && gtk_widget_is_toplevel(top) &&
        gtk_widget_get_mapped(top))
        gtk_container_check_resize(GTK_CONTAINER(top));
    wxStatusBar::DoUpdateStatusText(number);
}
