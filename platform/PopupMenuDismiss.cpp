#include "platform/PopupMenuDismiss.h"

#include <wx/menu.h>

#include <gtk/gtk.h>

void DismissPopupMenu(wxMenu& menu)
{
    if (menu.m_menu)
        gtk_menu_shell_deactivate(GTK_MENU_SHELL(menu.m_menu));
}
