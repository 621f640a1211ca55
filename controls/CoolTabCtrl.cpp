#include "controls/CoolTabCtrl.h"

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

bool Holds(const wxSize& size, const wxSize& minimum)
{
    return size.x >= minimum.x && size.y >= minimum.y;
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

bool CCoolTabCtrl::PagesKeepScrollBars() const
{
    return !m_squeezed;
}

void CCoolTabCtrl::DoSetSize(int x, int y, int width, int height, int sizeFlags)
{
    wxNotebook::DoSetSize(x, y, width, height, sizeFlags);
    FitToSize(GetSize());
}

void CCoolTabCtrl::FitToSize(const wxSize& size)
{
    GtkNotebook* notebook = GTK_NOTEBOOK(m_widget);
    if (gtk_notebook_get_show_tabs(notebook) && PagesKeepScrollBars())
        m_minWithStrip = NativeMinimum(m_widget);
    if (Holds(size, m_minWithStrip)) {
        KeepPageScrollBars(true);
        gtk_notebook_set_show_tabs(notebook, TRUE);
        return;
    }
    gtk_notebook_set_show_tabs(notebook, FALSE);
    KeepPageScrollBars(true);
    if (!Holds(size, NativeMinimum(m_widget)))
        KeepPageScrollBars(false);
}

void CCoolTabCtrl::KeepPageScrollBars(bool keep)
{
    if (keep == PagesKeepScrollBars())
        return;
    // Only the pages the control holds now: one removed meanwhile is no
    // longer its to change.
    for (std::size_t i = 0; i < GetPageCount(); ++i) {
        wxWindow* window = GetPage(i);
        GtkWidget* widget = window->m_widget;
        if (!GTK_IS_SCROLLED_WINDOW(widget))
            continue;
        GtkScrolledWindow* page = GTK_SCROLLED_WINDOW(widget);
        if (keep) {
            auto kept = m_squeezedPages.find(window);
            if (kept == m_squeezedPages.end())
                continue;
            gtk_scrolled_window_set_policy(page, kept->second.horizontal, kept->second.vertical);
            gtk_widget_set_size_request(widget, kept->second.request.x, kept->second.request.y);
            continue;
        }
        Kept kept;
        gtk_scrolled_window_get_policy(page, &kept.horizontal, &kept.vertical);
        gtk_widget_get_size_request(widget, &kept.request.x, &kept.request.y);
        m_squeezedPages.emplace(window, kept);
        gtk_scrolled_window_set_policy(page, GTK_POLICY_EXTERNAL, GTK_POLICY_EXTERNAL);
        gtk_widget_set_size_request(widget, -1, -1);
    }
    if (keep)
        m_squeezedPages.clear();
    m_squeezed = !keep;
}
