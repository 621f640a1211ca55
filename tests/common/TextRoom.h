#pragma once
// Whether the toolkit draws a control's text whole: each label inside the
// control (a button's, a check box's, a static text itself) and a drop-down
// list's shown entry must have been given at least their natural size and
// lie inside the control. Measured on what GTK allocated, so a theme's
// minimum button size plays no part: only the text against its room.

#include <wx/window.h>

#include <gtk/gtk.h>

#include <string>
#include <vector>

namespace textroom {

inline void CollectTexts(GtkWidget* widget, std::vector<GtkWidget*>& texts)
{
    if (GTK_IS_LABEL(widget) || GTK_IS_CELL_VIEW(widget)) {
        texts.push_back(widget);
        return;
    }
    if (GTK_IS_CONTAINER(widget))
        gtk_container_forall(
            GTK_CONTAINER(widget),
            [](GtkWidget* child, gpointer data) { CollectTexts(child, *static_cast<std::vector<GtkWidget*>*>(data)); },
            &texts);
}

inline std::string Rect(const GtkAllocation& a)
{
    return std::to_string(a.x) + "," + std::to_string(a.y) + " " + std::to_string(a.width) + "x" +
           std::to_string(a.height);
}

} // namespace textroom

// Empty when the control's texts are drawn whole; else what is cut.
inline std::string CutText(wxWindow* control)
{
    GtkWidget* widget = control->GetHandle();
    if (!widget || !gtk_widget_get_mapped(widget))
        return {};
    GtkAllocation outer{};
    gtk_widget_get_allocation(widget, &outer);
    std::string cut;
    if (GTK_IS_COMBO_BOX(widget) || GTK_IS_CHECK_BUTTON(widget)) {
        // A list narrower than its longest entry (the toolkit's natural
        // width) or lower than its frame and text cuts them; a check box or
        // radio button needs its mark beside its text.
        GtkRequisition minimum{};
        GtkRequisition natural{};
        gtk_widget_get_preferred_size(widget, &minimum, &natural);
        const int width = GTK_IS_COMBO_BOX(widget) ? natural.width : minimum.width;
        if (outer.width < width || outer.height < minimum.height)
            cut += "control " + textroom::Rect(outer) + " needs " + std::to_string(width) + "x" +
                   std::to_string(minimum.height) + "; ";
    }
    std::vector<GtkWidget*> texts;
    textroom::CollectTexts(widget, texts);
    for (GtkWidget* text : texts) {
        if (!gtk_widget_get_mapped(text))
            continue;
        GtkAllocation inner{};
        gtk_widget_get_allocation(text, &inner);
        GtkRequisition natural{};
        gtk_widget_get_preferred_size(text, nullptr, &natural);
        // A list's entry may be narrower than the longest one; its height
        // counts.
        const bool entry = GTK_IS_CELL_VIEW(text);
        if ((!entry && inner.width < natural.width) || inner.height < natural.height)
            cut += "text " + textroom::Rect(inner) + " needs " + std::to_string(natural.width) + "x" +
                   std::to_string(natural.height) + "; ";
        if (text != widget && (inner.x < outer.x || inner.y < outer.y || inner.x + inner.width > outer.x + outer.width ||
                               inner.y + inner.height > outer.y + outer.height))
            cut += "text " + textroom::Rect(inner) + " leaves its control " + textroom::Rect(outer) + "; ";
    }
    return cut;
}
