#include "controls/CoolTabCtrl.h"

#include <gtk/gtk.h>

namespace {

// The widget's own minimum, without the size request wx gives it.
wxSize NativeMinimum(GtkWidget* widget)
{
    GtkWidgetClass* type = GTK_WIDGET_GET_CLASS(widget);
    int width = 0;
    int height = 0;
    int natural = 0;
    type->get_preferred_width(widget, &width, &natural);
    type->get_preferred_height(widget, &height, &natural);
    return {width, height};
}

} // namespace

CCoolTabCtrl::CCoolTabCtrl(wxWindow* parent, wxWindowID id, const wxSize& size, long style)
    : wxNotebook(parent, id, wxDefaultPosition, size, style)
{
}

bool CCoolTabCtrl::IsTabStripShown() const
{
    return gtk_notebook_get_show_tabs(GTK_NOTEBOOK(m_widget));
}

void CCoolTabCtrl::DoSetSize(int x, int y, int width, int height, int sizeFlags)
{
    wxNotebook::DoSetSize(x, y, width, height, sizeFlags);
    FitToSize(GetSize());
}

void CCoolTabCtrl::FitToSize(const wxSize& size)
{
    GtkNotebook* notebook = GTK_NOTEBOOK(m_widget);
    if (gtk_notebook_get_show_tabs(notebook))
        m_minWithStrip = NativeMinimum(m_widget);
    const bool fits = size.x >= m_minWithStrip.x && size.y >= m_minWithStrip.y;
    if (fits != static_cast<bool>(gtk_notebook_get_show_tabs(notebook)))
        gtk_notebook_set_show_tabs(notebook, fits);
}
