#include "controls/XListCtrl.h"

#include <gtk/gtk.h>

#include <memory>

wxDEFINE_EVENT(WM_XLISTCTRL_COMBO_SELECTION, wxCommandEvent);
wxDEFINE_EVENT(WM_XLISTCTRL_CHECKBOX_CLICKED, wxCommandEvent);

namespace {

void OnNativePress(GtkGestureMultiPress* gesture, gint presses, gdouble x, gdouble y, gpointer list)
{
    const guint button = gtk_gesture_single_get_current_button(GTK_GESTURE_SINGLE(gesture));
    const wxPoint point(static_cast<int>(x), static_cast<int>(y));
    if (static_cast<CXListCtrl*>(list)->OnPress(static_cast<int>(button), presses, point))
        gtk_gesture_set_state(GTK_GESTURE(gesture), GTK_EVENT_SEQUENCE_CLAIMED);
}

wxAlignment AlignmentOf(int format)
{
    switch (format) {
    case LVCFMT_RIGHT:
        return wxALIGN_RIGHT;
    case LVCFMT_CENTER:
        return wxALIGN_CENTER_HORIZONTAL;
    default:
        return wxALIGN_LEFT;
    }
}

// A list fills the window it is born in (a project's window) until a layout
// says otherwise: GTK lays it out once at once, and at its small default
// size its scroll bars would not fit (a GTK critical).
wxSize BirthSize(wxWindow* parent)
{
    const wxSize room = parent ? parent->GetClientSize() : wxSize();
    return room.x >= 100 && room.y >= 100 ? room : wxDefaultSize;
}

} // namespace

CXListCtrl::CXListCtrl(wxWindow* parent, wxWindowID id, unsigned columns, CXListModel* model)
    : wxDataViewCtrl(parent, id, wxDefaultPosition, BirthSize(parent), wxDV_SINGLE | wxDV_HORIZ_RULES | wxDV_VERT_RULES)
{
    m_pModel = model ? model : new CXListModel(columns);
    AssociateModel(m_pModel);
    m_pModel->DecRef(); // the list holds it
    m_pModel->m_onCheckboxClicked = [this](int row, int column) {
        SendToParent(WM_XLISTCTRL_CHECKBOX_CLICKED, row, column);
    };
    m_pModel->m_onComboSelection = [this](int row, int column) {
        SendToParent(WM_XLISTCTRL_COMBO_SELECTION, row, column);
    };
    GetMainWindow()->Bind(wxEVT_MOTION, &CXListCtrl::OnMotion, this);
    GetMainWindow()->Bind(wxEVT_KEY_DOWN, &CXListCtrl::OnKeyDown, this);
    // The tree view's own press gesture takes presses before wx sees them;
    // this one sees them first, in the capture phase.
    GtkGesture* gesture = gtk_gesture_multi_press_new(GtkGetTreeView());
    gtk_gesture_single_set_button(GTK_GESTURE_SINGLE(gesture), 0);
    gtk_event_controller_set_propagation_phase(GTK_EVENT_CONTROLLER(gesture), GTK_PHASE_CAPTURE);
    g_signal_connect(gesture, "pressed", G_CALLBACK(OnNativePress), this);
    m_pPressGesture = gesture;
}

CXListCtrl::~CXListCtrl()
{
    g_object_unref(m_pPressGesture);
}

bool CXListCtrl::OnPress(int button, int presses, wxPoint point)
{
    if (button == 1 && presses == 1) {
        OnLeftDown(point);
        return false;
    }
    if (button == 3) {
        OnRightDown(point);
        return true; // the tree view's own handling would select the row
    }
    return false;
}

void CXListCtrl::SetColumn(unsigned column, const wxString& title, int width, XListColumnKind kind,
                           const wxArrayString& options)
{
    m_pModel->SetColumnKind(column, kind);
    wxDataViewRenderer* renderer = nullptr;
    switch (kind) {
    case XListColumnKind::Check:
        renderer = new wxDataViewToggleRenderer("bool", wxDATAVIEW_CELL_ACTIVATABLE);
        break;
    case XListColumnKind::Progress:
        renderer = new wxDataViewProgressRenderer(wxEmptyString, "long");
        break;
    case XListColumnKind::Combo:
        m_pModel->SetComboOptions(column, options);
        renderer = new wxDataViewChoiceRenderer(options, wxDATAVIEW_CELL_EDITABLE);
        break;
    default: {
        // The model gives markup (heading rows keep their red when selected).
        auto* text = new wxDataViewTextRenderer("string", wxDATAVIEW_CELL_INERT);
        text->EnableMarkup(true);
        renderer = text;
        break;
    }
    }
    // Flags 0: neither resizable nor sortable.
    auto* added = new wxDataViewColumn(title, renderer, column, width, wxALIGN_LEFT, 0);
    AppendColumn(added);
    // GTK makes a column's header clickable, which sorts.
    added->SetSortable(false);
    if (column == 0)
        added->SetAlignment(AlignmentOf(m_nColumn0Alignment));
}

void CXListCtrl::Refresh(bool eraseBackground, const wxRect* rect)
{
    wxDataViewCtrl::Refresh(eraseBackground, rect);
    // The rows are drawn in the tree view's own window, which the toolkit's
    // refresh of the list leaves as it was drawn last.
    if (GtkWidget* rows = GtkGetTreeView())
        gtk_widget_queue_draw(rows);
}

wxDataViewItem CXListCtrl::ItemOfRow(int row) const
{
    if (row < 0 || row >= m_pModel->GetRowCount())
        return wxDataViewItem();
    return m_pModel->GetItem(static_cast<unsigned>(row));
}

int CXListCtrl::RowOfItem(const wxDataViewItem& item) const
{
    return item.IsOk() ? static_cast<int>(m_pModel->GetRow(item)) : -1;
}

void CXListCtrl::SelectItem(int row)
{
    wxDataViewItem item = ItemOfRow(row);
    if (!item.IsOk())
        return;
    UnselectAll();
    Select(item);
    SetCurrentItem(item);
}

int CXListCtrl::GetCurSel() const
{
    return GetSelectedItemsCount() > 0 ? RowOfItem(GetSelection()) : -1;
}

bool CXListCtrl::GetSubItemRect(int row, int column, wxRect& rect) const
{
    wxDataViewItem item = ItemOfRow(row);
    if (!item.IsOk() || column < 0 || column >= GetColumns())
        return false;
    rect = GetItemRect(item, GetColumn(static_cast<unsigned>(column)));
    return true;
}

void CXListCtrl::SetTextAlignment(int format)
{
    if (format != LVCFMT_LEFT && format != LVCFMT_RIGHT && format != LVCFMT_CENTER)
        return;
    m_nColumn0Alignment = format;
    if (GetColumnCount() > 0)
        GetColumn(0)->SetAlignment(AlignmentOf(format));
}

bool CXListCtrl::SetItemColors(int row, int column, const wxColour& text, const wxColour& background)
{
    XListCellData* cell = m_pModel->GetCell(row, column);
    if (!cell)
        return false;
    cell->text = text;
    cell->background = background;
    m_pModel->CellChanged(row, column);
    return true;
}

bool CXListCtrl::SetBold(int row, int column, bool bold)
{
    XListCellData* cell = m_pModel->GetCell(row, column);
    if (!cell)
        return false;
    cell->bold = bold;
    m_pModel->CellChanged(row, column);
    return true;
}

bool CXListCtrl::SetEnabled(int row, bool enabled)
{
    XListCellData* cell = m_pModel->GetCell(row, 0);
    if (!cell)
        return false;
    cell->enabled = enabled;
    for (int column = 0; column < GetColumns(); ++column)
        m_pModel->CellChanged(row, column);
    return true;
}

bool CXListCtrl::SetCheckbox(int row, int column, int checkState)
{
    XListCellData* cell = m_pModel->GetCell(row, column);
    if (!cell || m_pModel->GetColumnKind(static_cast<unsigned>(column)) != XListColumnKind::Check)
        return false;
    cell->checkState = checkState < 0 ? -1 : (checkState ? 1 : 0);
    m_pModel->CellChanged(row, column);
    return true;
}

int CXListCtrl::GetCheckbox(int row, int column) const
{
    const XListCellData* cell = m_pModel->GetCell(row, column);
    return cell ? cell->checkState : -1;
}

bool CXListCtrl::SetProgress(int row, int column, int percent)
{
    XListCellData* cell = m_pModel->GetCell(row, column);
    if (!cell || m_pModel->GetColumnKind(static_cast<unsigned>(column)) != XListColumnKind::Progress)
        return false;
    cell->percent = percent < 0 ? 0 : (percent > 100 ? 100 : percent);
    m_pModel->CellChanged(row, column);
    return true;
}

bool CXListCtrl::SetComboBox(int row, int column, int defaultOption)
{
    XListCellData* cell = m_pModel->GetCell(row, column);
    if (!cell || m_pModel->GetColumnKind(static_cast<unsigned>(column)) != XListColumnKind::Combo)
        return false;
    cell->defaultOption = defaultOption;
    m_pModel->CellChanged(row, column);
    return true;
}

bool CXListCtrl::SetItemToolTipText(int row, int column, const wxString& text)
{
    XListCellData* cell = m_pModel->GetCell(row, column);
    if (!cell)
        return false;
    cell->tooltip = text;
    return true;
}

wxString CXListCtrl::GetItemToolTipText(int row, int column) const
{
    const XListCellData* cell = m_pModel->GetCell(row, column);
    return cell ? cell->tooltip : wxString();
}

void CXListCtrl::OnMotion(wxMouseEvent& event)
{
    event.Skip();
    wxDataViewItem item;
    wxDataViewColumn* column = nullptr;
    HitTest(event.GetPosition(), item, column);
    wxString tip;
    if (item.IsOk() && column)
        tip = GetItemToolTipText(RowOfItem(item), static_cast<int>(column->GetModelColumn()));
    // An empty text shows nothing.
    if (tip != m_strShownTip) {
        m_strShownTip = tip;
        if (tip.empty())
            UnsetToolTip();
        else
            SetToolTip(tip);
    }
}

bool CXListCtrl::PassToParent(wxEvent& event)
{
    wxWindow* target = GetParent();
    if (!target)
        return false;
    std::unique_ptr<wxEvent> copy(event.Clone());
    copy->SetEventObject(this);
    copy->SetId(GetId());
    target->GetEventHandler()->ProcessEvent(*copy);
    return true;
}

void CXListCtrl::OnKeyDown(wxKeyEvent& event)
{
    const int code = event.GetKeyCode();
    const bool passed = (code >= 'A' && code <= 'Z') || code == WXK_RETURN || code == WXK_NUMPAD_ENTER
                        || code == WXK_SPACE || code == WXK_DELETE || code == WXK_INSERT || code == WXK_SHIFT
                        || code == WXK_CONTROL;
    // With Ctrl held the list handles them (and Alt's keys are the menus').
    if (!passed || event.ControlDown() || event.AltDown() || !PassToParent(event))
        event.Skip();
}

void CXListCtrl::OnLeftDown(wxPoint point)
{
    wxDataViewItem item;
    wxDataViewColumn* column = nullptr;
    HitTest(point, item, column);
    if (item.IsOk()) {
        m_nLastClickedRow = RowOfItem(item);
        return;
    }
    // Empty space: the row clicked last is selected again once the list's
    // own handling is done.
    CallAfter([this] {
        if (m_nLastClickedRow < GetItemCount())
            SelectItem(m_nLastClickedRow);
    });
}

void CXListCtrl::OnRightDown(wxPoint point)
{
    wxMouseEvent press(wxEVT_RIGHT_DOWN);
    press.SetPosition(point);
    press.m_rightDown = true;
    PassToParent(press);
}

void CXListCtrl::SendToParent(wxEventType type, int row, int column)
{
    wxWindow* target = GetParent();
    if (!target)
        return;
    wxCommandEvent event(type, GetId());
    event.SetEventObject(this);
    event.SetInt(row);
    event.SetExtraLong(column);
    target->GetEventHandler()->ProcessEvent(event);
}
