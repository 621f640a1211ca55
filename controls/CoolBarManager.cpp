#include "controls/CoolBarManager.h"

#include <gtk/gtk.h>

namespace {

// The floating frame's title: wx's mini frame draws it itself, in an event
// box around the frame's client area, and takes its presses to move the
// frame. A double press there is ours (the move it would start is not
// wanted); the pane docks once the press is over.
gboolean OnFloatingTitleEvent(GtkWidget*, GdkEvent* event, gpointer data)
{
    if (event->type != GDK_2BUTTON_PRESS || event->button.button != 1)
        return FALSE;
    auto* frame = static_cast<wxAuiFloatingFrame*>(data);
    const wxPoint point = frame->ScreenToClient(
        wxPoint(static_cast<int>(event->button.x_root), static_cast<int>(event->button.y_root)));
    if (point.y >= 0)
        return FALSE; // in the pane itself
    auto* manager = dynamic_cast<CCoolBarManager*>(frame->GetOwnerManager());
    if (!manager)
        return FALSE;
    wxAuiPaneInfoArray& panes = manager->GetAllPanes();
    for (std::size_t i = 0; i < panes.GetCount(); ++i) {
        const wxAuiPaneInfo& pane = panes.Item(i);
        if (pane.frame != frame)
            continue;
        // Docking destroys this frame: not inside its own event.
        const wxString name = pane.name;
        manager->CallAfter([manager, name] {
            wxAuiPaneInfo& found = manager->GetPane(name);
            if (found.IsOk() && found.IsFloating())
                manager->ToggleFloating(found);
        });
        return TRUE;
    }
    return FALSE;
}

} // namespace

wxBEGIN_EVENT_TABLE(CCoolBarManager, wxAuiManager)
    EVT_LEFT_DCLICK(CCoolBarManager::OnLeftDClick)
wxEND_EVENT_TABLE()

CCoolBarManager::CCoolBarManager(wxWindow* managedWindow) : wxAuiManager(managedWindow)
{
}

void CCoolBarManager::ToggleFloating(wxAuiPaneInfo& pane)
{
    if (!pane.IsOk() || !pane.IsFloatable() || !pane.IsDockable())
        return;
    if (pane.IsFloating()) {
        pane.Dock();
    } else {
        // Floats where it stands, as wide and high as it is.
        wxRect rect = pane.rect;
        if (pane.window)
            rect = wxRect(pane.window->GetScreenPosition(), pane.window->GetSize());
        pane.FloatingPosition(rect.GetPosition()).FloatingSize(rect.GetSize()).Float();
    }
    Update();
}

wxAuiFloatingFrame* CCoolBarManager::CreateFloatingFrame(wxWindow* parent, const wxAuiPaneInfo& pane)
{
    wxAuiFloatingFrame* frame = wxAuiManager::CreateFloatingFrame(parent, pane);
    GtkWidget* title = gtk_bin_get_child(GTK_BIN(frame->GetHandle()));
    if (title && GTK_IS_EVENT_BOX(title))
        g_signal_connect(title, "event", G_CALLBACK(OnFloatingTitleEvent), frame);
    return frame;
}

void CCoolBarManager::OnLeftDClick(wxMouseEvent& event)
{
    wxAuiDockUIPart* part = HitTest(event.GetX(), event.GetY());
    if (!part || part->type != wxAuiDockUIPart::typeCaption || !part->pane) {
        event.Skip();
        return;
    }
    // The press before the double click began a caption click (and took the
    // mouse): it ends here, before the parts it points to are rebuilt.
    if (m_frame->HasCapture())
        m_frame->ReleaseMouse();
    m_action = actionNone;
    m_actionPart = nullptr;
    m_actionWindow = nullptr;
    ToggleFloating(*part->pane);
}
