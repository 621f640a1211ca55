#include "platform/DialogTextFit.h"

#include "platform/TemplateReflow.h"

#include <wx/anybutton.h>
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/combobox.h>
#include <wx/dataview.h>
#include <wx/radiobut.h>
#include <wx/sizer.h>
#include <wx/statbox.h>
#include <wx/stattext.h>

#include <gtk/gtk.h>

#include <algorithm>
#include <vector>

namespace {

// Room kept inside a group box's right and bottom edges, in dialog units.
constexpr int kGroupPaddingDlu = 2;

bool ShowsChoices(const wxWindow* control)
{
    return dynamic_cast<const wxChoice*>(control) || dynamic_cast<const wxComboBox*>(control);
}

// Padding and border of a widget's own box, both sides added.
wxSize FrameOf(GtkWidget* widget)
{
    GtkStyleContext* style = gtk_widget_get_style_context(widget);
    const GtkStateFlags state = gtk_style_context_get_state(style);
    GtkBorder padding{};
    GtkBorder border{};
    gtk_style_context_get_padding(style, state, &padding);
    gtk_style_context_get_border(style, state, &border);
    return wxSize(padding.left + padding.right + border.left + border.right,
                  padding.top + padding.bottom + border.top + border.bottom);
}

// What a button needs for what it shows: its content and its frame around
// it. The theme's minimum button size is left out (a key of one digit is
// narrower than a dialog's OK): it is no part of the text.
wxSize ButtonNeed(GtkWidget* button)
{
    GtkRequisition natural{};
    gtk_widget_get_preferred_size(button, nullptr, &natural);
    GtkWidget* child = gtk_bin_get_child(GTK_BIN(button));
    if (!child || !gtk_widget_get_visible(child))
        return wxSize(natural.width, natural.height);
    GtkRequisition content{};
    gtk_widget_get_preferred_size(child, nullptr, &content);
    const wxSize frame = FrameOf(button);
    const int width = content.width + gtk_widget_get_margin_start(child) + gtk_widget_get_margin_end(child) + frame.x;
    const int height = content.height + gtk_widget_get_margin_top(child) + gtk_widget_get_margin_bottom(child) + frame.y;
    return wxSize(std::min(natural.width, width), std::min(natural.height, height));
}

bool IsCut(const wxWindow* control)
{
    const wxSize need = CDialogTextFit::TextNeed(control);
    const wxSize size = control->GetSize();
    return need.x > size.x || need.y > size.y;
}

bool IsPlacedChild(const wxWindow* child)
{
    return !child->IsTopLevel();
}

// The text controls of a window laid out by sizers, through every level of
// nested windows.
void CollectSized(wxWindow* window, std::vector<wxWindow*>& controls)
{
    for (wxWindow* child : window->GetChildren()) {
        if (!IsPlacedChild(child))
            continue;
        if ((CDialogTextFit::ShowsText(child) || ShowsChoices(child)) && child->GetContainingSizer())
            controls.push_back(child);
        CollectSized(child, controls);
    }
}

bool FitSized(wxWindow* window)
{
    std::vector<wxWindow*> controls;
    CollectSized(window, controls);
    bool grew = false;
    for (wxWindow* control : controls) {
        if (!IsCut(control))
            continue;
        wxSize min = control->GetMinSize();
        min.IncTo(CDialogTextFit::TextNeed(control));
        if (min == control->GetMinSize())
            continue;
        control->SetMinSize(min);
        for (wxWindow* up = control->GetParent(); up && up != window; up = up->GetParent())
            up->InvalidateBestSize();
        grew = true;
    }
    wxSize need = window->GetSizer()->GetMinSize();
    wxSize client = window->GetClientSize();
    if (need.x > client.x || need.y > client.y) {
        client.IncTo(need);
        window->SetClientSize(client);
        grew = true;
    }
    if (grew)
        window->Layout();
    return grew;
}

bool FitPlaced(wxWindow* window)
{
    std::vector<wxWindow*> children;
    std::vector<ReflowItem> items;
    for (wxWindow* child : window->GetChildren()) {
        if (!IsPlacedChild(child))
            continue;
        const wxRect rect = child->GetRect();
        ReflowItem item;
        item.rect = {rect.x, rect.y, rect.width, rect.height};
        if (CDialogTextFit::ShowsText(child) || ShowsChoices(child)) {
            const wxSize need = CDialogTextFit::TextNeed(child);
            item.needWidth = need.x;
            item.needHeight = need.y;
        }
        item.group = dynamic_cast<wxStaticBox*>(child) != nullptr;
        children.push_back(child);
        items.push_back(item);
    }
    const wxSize clientSize = window->GetClientSize();
    ReflowSize client{clientSize.x, clientSize.y};
    const ReflowSize before = client;
    std::vector<ReflowItem> placed = items;
    ReflowToFit(placed, client, window->ConvertDialogToPixels(wxSize(kGroupPaddingDlu, 0)).x);
    bool grew = false;
    for (std::size_t i = 0; i < children.size(); ++i) {
        if (placed[i].rect == items[i].rect)
            continue;
        const ReflowRect& r = placed[i].rect;
        children[i]->SetSize(r.x, r.y, r.width, r.height);
        grew = true;
    }
    if (!(client == before)) {
        window->SetClientSize(client.width, client.height);
        grew = true;
    }
    return grew;
}

// The width a column's heading needs: its header button's natural width (the
// theme may draw headings in another weight than the rows).
int HeadingNeed(wxDataViewColumn* column)
{
    GtkWidget* button = gtk_tree_view_column_get_button(GTK_TREE_VIEW_COLUMN(column->GetGtkHandle()));
    if (!button)
        return 0;
    int minimum = 0;
    int natural = 0;
    gtk_widget_get_preferred_width(button, &minimum, &natural);
    return natural;
}

void CollectLists(wxWindow* window, std::vector<wxDataViewCtrl*>& lists)
{
    for (wxWindow* child : window->GetChildren()) {
        if (!IsPlacedChild(child))
            continue;
        if (auto* list = dynamic_cast<wxDataViewCtrl*>(child))
            lists.push_back(list);
        CollectLists(child, lists);
    }
}

bool FitAllHeadings(wxWindow* window)
{
    std::vector<wxDataViewCtrl*> lists;
    CollectLists(window, lists);
    bool grew = false;
    for (wxDataViewCtrl* list : lists)
        grew = CDialogTextFit::FitHeadings(list) || grew;
    return grew;
}

bool HasCutHeadings(wxWindow* window)
{
    std::vector<wxDataViewCtrl*> lists;
    CollectLists(window, lists);
    for (wxDataViewCtrl* list : lists)
        if (!CDialogTextFit::CutHeadings(list).empty())
            return true;
    return false;
}

bool HasCutSized(wxWindow* window)
{
    std::vector<wxWindow*> controls;
    CollectSized(window, controls);
    for (wxWindow* control : controls)
        if (IsCut(control))
            return true;
    return false;
}

} // namespace

void CDialogTextFit::Install()
{
    if (!dynamic_cast<CDialogTextFit*>(wxDialog::GetLayoutAdapter()))
        delete wxDialog::SetLayoutAdapter(new CDialogTextFit);
    wxDialog::EnableLayoutAdaptation(true);
}

bool CDialogTextFit::ShowsText(const wxWindow* control)
{
    // wxAnyButton has no class information of its own: wxDynamicCast would
    // take every control for one.
    return dynamic_cast<const wxStaticText*>(control) || dynamic_cast<const wxRadioButton*>(control) ||
           dynamic_cast<const wxCheckBox*>(control) || dynamic_cast<const wxAnyButton*>(control);
}

wxSize CDialogTextFit::TextNeed(const wxWindow* control)
{
    // Static texts, check boxes and radio buttons (their mark beside the
    // text; GTK complains when they get less) and drop-down lists (as wide
    // as the longest entry, as tall as an entry in its frame): the toolkit's
    // own size, which has no theme minimum in it.
    if (!dynamic_cast<const wxAnyButton*>(control))
        return control->GetBestSize();
    GtkWidget* widget = control->GetHandle();
    if (!widget || !GTK_IS_BUTTON(widget))
        return control->GetBestSize();
    return ButtonNeed(widget);
}

bool CDialogTextFit::FitHeadings(wxDataViewCtrl* list)
{
    bool grew = false;
    for (unsigned i = 0; i < list->GetColumnCount(); ++i) {
        wxDataViewColumn* column = list->GetColumn(i);
        const int need = HeadingNeed(column);
        if (column->GetWidth() < need) {
            column->SetWidth(need);
            grew = true;
        }
    }
    return grew;
}

std::vector<std::string> CDialogTextFit::CutHeadings(wxDataViewCtrl* list)
{
    std::vector<std::string> cut;
    for (unsigned i = 0; i < list->GetColumnCount(); ++i) {
        wxDataViewColumn* column = list->GetColumn(i);
        const int need = HeadingNeed(column);
        if (column->GetWidth() < need)
            cut.push_back(column->GetTitle().utf8_string() + ": " + std::to_string(column->GetWidth()) + " < " +
                          std::to_string(need));
    }
    return cut;
}

bool CDialogTextFit::HasCutTexts(wxWindow* window)
{
    if (HasCutHeadings(window))
        return true;
    if (window->GetSizer())
        return HasCutSized(window);
    for (wxWindow* child : window->GetChildren())
        if (IsPlacedChild(child) && (ShowsText(child) || ShowsChoices(child)) && IsCut(child))
            return true;
    return false;
}

bool CDialogTextFit::Fit(wxWindow* window)
{
    const bool widened = FitAllHeadings(window);
    return (window->GetSizer() ? FitSized(window) : FitPlaced(window)) || widened;
}

bool CDialogTextFit::CanDoLayoutAdaptation(wxDialog* dialog)
{
    return HasCutTexts(dialog);
}

bool CDialogTextFit::DoLayoutAdaptation(wxDialog* dialog)
{
    // Not marked as done: a text changed before the dialog is shown again is
    // fitted then.
    Fit(dialog);
    return true;
}
