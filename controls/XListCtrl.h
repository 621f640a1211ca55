#pragma once
// The extended list: a report list on the native wxDataViewCtrl (GTK's own
// tree view, so every cell is readable by accessibility tools) with the
// calls the program's lists use: rows by index, texts by row and column,
// heading rows, the changed column, and check-box, progress and drop-down
// columns on the data view's own renderers. The header is the native one
// (see CXHeaderCtrl): columns are neither sortable nor resizable.
// Keys and presses the list leaves to its parent: a key down of a letter,
// Enter, Space, Delete, Insert, Shift or Ctrl while neither Ctrl nor Alt is
// held, and every right press, reach the parent's handler as they came (the
// event object is the list) and are not handled by the list; a right press
// selects no row. A left press on no row selects the row clicked last.

#include "controls/XListModel.h"

#include <wx/dataview.h>

// Sent to the list's parent with the row as int and the column as extra long.
wxDECLARE_EVENT(WM_XLISTCTRL_COMBO_SELECTION, wxCommandEvent);
wxDECLARE_EVENT(WM_XLISTCTRL_CHECKBOX_CLICKED, wxCommandEvent);

// Column-0 alignments of SetTextAlignment.
enum : int { LVCFMT_LEFT = 0, LVCFMT_RIGHT = 1, LVCFMT_CENTER = 2 };

class CXListCtrl : public wxDataViewCtrl {
public:
    // A list of columns columns, with model as its rows (a CXListModel of
    // that many columns is made when model is null).
    CXListCtrl(wxWindow* parent, wxWindowID id, unsigned columns, CXListModel* model = nullptr);
    ~CXListCtrl() override;

    // Column setup, before any row: title, width in pixels, how its cells show.
    void SetColumn(unsigned column, const wxString& title, int width,
                   XListColumnKind kind = XListColumnKind::Text, const wxArrayString& options = {});
    int GetColumns() const { return static_cast<int>(GetColumnCount()); }

    int InsertItem(int row, const wxString& text) { return m_pModel->InsertItem(row, text); }
    bool SetItemText(int row, int column, const wxString& text) { return m_pModel->SetItemText(row, column, text); }
    wxString GetItemText(int row, int column) const { return m_pModel->GetItemText(row, column); }
    void DeleteAllItems() { m_pModel->DeleteAllItems(); }
    int GetItemCount() const { return m_pModel->GetRowCount(); }

    // Selects and focuses row (the only selected row).
    void SelectItem(int row);
    // The selected row, or -1.
    int GetCurSel() const;
    // The cell's rectangle in the list's client coordinates; false, rect
    // untouched, for a row or column outside the list.
    bool GetSubItemRect(int row, int column, wxRect& rect) const;
    // LVCFMT_LEFT, LVCFMT_RIGHT or LVCFMT_CENTER for column 0; any other
    // value changes nothing.
    void SetTextAlignment(int format);
    int GetTextAlignment() const { return m_nColumn0Alignment; }

    // Cell display data.
    bool SetItemColors(int row, int column, const wxColour& text, const wxColour& background);
    bool SetBold(int row, int column, bool bold);
    bool SetEnabled(int row, bool enabled);
    bool SetCheckbox(int row, int column, int checkState);
    int GetCheckbox(int row, int column) const;
    bool SetProgress(int row, int column, int percent);
    bool SetComboBox(int row, int column, int defaultOption);
    bool SetItemToolTipText(int row, int column, const wxString& text);
    wxString GetItemToolTipText(int row, int column) const;

    // Draws every row again, with the display data the model gives now (the
    // changed marks above all).
    void Refresh(bool eraseBackground = true, const wxRect* rect = nullptr) override;

    CXListModel* GetListModel() const { return m_pModel; }
    wxDataViewItem ItemOfRow(int row) const;
    int RowOfItem(const wxDataViewItem& item) const;

    // The row a left press hit last (0 before any).
    int GetLastClickedRow() const { return m_nLastClickedRow; }
    // A press of the toolkit's, in the list's coordinates, before the list
    // handles it; true: the list does not handle it.
    bool OnPress(int button, int presses, wxPoint point);

private:
    void SendToParent(wxEventType type, int row, int column);
    void OnMotion(wxMouseEvent& event);
    void OnKeyDown(wxKeyEvent& event);
    void OnLeftDown(wxPoint point);
    void OnRightDown(wxPoint point);
    // Hands an input event to the parent's handler; true when there was one.
    bool PassToParent(wxEvent& event);

    CXListModel* m_pModel = nullptr;
    int m_nColumn0Alignment = LVCFMT_LEFT;
    wxString m_strShownTip;
    int m_nLastClickedRow = 0;
    void* m_pPressGesture = nullptr; // GtkGesture
};
