#pragma once
// The rows of an extended list as a virtual list model: a text per cell and
// the display data of every cell (colours, bold, enabled, check box, progress,
// drop-down), shown through the data view's own renderers. Heading rows show
// red and bold; the changed column of a row whose changed test holds shows
// on green, selected or not.

#include <wx/dataview.h>

#include <functional>
#include <vector>

// How the cells of a column are shown and edited.
enum class XListColumnKind { Text, Check, Progress, Combo };

struct XListCellData {
    bool enabled = true; // only the row's first cell counts
    bool bold = false;
    wxColour text;       // invalid: the list's own colours
    wxColour background;
    wxString tooltip;
    int checkState = -1; // -1 no check box, 0 unchecked, 1 checked
    int percent = 0;     // progress, 0..100
    int defaultOption = 0;
};

class CXListModel : public wxDataViewVirtualListModel {
public:
    struct Row {
        std::vector<wxString> text;
        bool heading = false;
        std::vector<XListCellData> cells;
    };

    // Asked for every row drawn: non-zero when the row's changed column is to
    // be green, its text followed by a mark.
    std::function<int(int row)> m_isChangedByRow;
    int m_changedColumn = 3;
    bool IsChangedCell(int row, int column) const;
    // Told after the user toggled a check box or chose a drop-down option.
    std::function<void(int row, int column)> m_onCheckboxClicked;
    std::function<void(int row, int column)> m_onComboSelection;

    explicit CXListModel(unsigned columns);

    // Columns are set up before any row.
    void SetColumnKind(unsigned column, XListColumnKind kind);
    XListColumnKind GetColumnKind(unsigned column) const;
    void SetComboOptions(unsigned column, const wxArrayString& options) { m_options[column] = options; }
    const wxArrayString& GetComboOptions(unsigned column) const { return m_options[column]; }

    // Replaces every row at once.
    void SetRows(std::vector<Row> rows);
    // A row with text in column 0 before row (at the end when row is the row
    // count); -1 for a row outside 0..count.
    int InsertItem(int row, const wxString& text);
    void DeleteAllItems() { SetRows({}); }
    // False, changing nothing, for a row or column outside the list.
    bool SetItemText(int row, int column, const wxString& text);
    wxString GetItemText(int row, int column) const;
    int GetRowCount() const { return static_cast<int>(m_rows.size()); }
    bool IsHeadingRow(int row) const;
    void SetHeadingRow(int row, bool heading);

    // A cell's display data; null outside the list.
    XListCellData* GetCell(int row, int column);
    const XListCellData* GetCell(int row, int column) const;
    // Redraws a cell after its display data changed.
    void CellChanged(int row, int column);

    unsigned GetColumnCount() const override { return m_columns; }
    wxString GetColumnType(unsigned column) const override;
    void GetValueByRow(wxVariant& variant, unsigned row, unsigned column) const override;
    bool SetValueByRow(const wxVariant& variant, unsigned row, unsigned column) override;
    bool GetAttrByRow(unsigned row, unsigned column, wxDataViewItemAttr& attr) const override;
    bool IsEnabledByRow(unsigned row, unsigned column) const override;

private:
    void Pad(Row& row) const;

    unsigned m_columns;
    std::vector<XListColumnKind> m_kinds;
    std::vector<wxArrayString> m_options;
    std::vector<Row> m_rows;
};
