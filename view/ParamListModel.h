#pragma once
// The rows of the parameter list as a virtual list model: texts supplied by the
// view, colours from the list's rules (heading rows red, the set value of a
// changed parameter on green).

#include <wx/dataview.h>

#include <array>
#include <functional>
#include <vector>

class CParamListModel : public wxDataViewVirtualListModel {
public:
    enum Column { kColumnNone = 0, kColumnName = 1, kColumnDefault = 2, kColumnValue = 3, kColumnCount = 4 };

    struct Row {
        std::array<wxString, kColumnCount> text;
        bool heading = false;
    };

    // Asked for every row drawn: non-zero when its set value has changed.
    std::function<int(int row)> m_isChangedByRow;

    void SetRows(std::vector<Row> rows);
    void DeleteAllItems() { SetRows({}); }
    // False, changing nothing, for a row or column outside the list.
    bool SetItemText(int row, int column, const wxString& text);
    wxString GetItemText(int row, int column) const;
    int GetRowCount() const { return static_cast<int>(m_rows.size()); }
    bool IsHeadingRow(int row) const;

    unsigned GetColumnCount() const override { return kColumnCount; }
    wxString GetColumnType(unsigned) const override { return "string"; }
    void GetValueByRow(wxVariant& variant, unsigned row, unsigned column) const override;
    bool SetValueByRow(const wxVariant&, unsigned, unsigned) override { return false; }
    bool GetAttrByRow(unsigned row, unsigned column, wxDataViewItemAttr& attr) const override;

private:
    std::vector<Row> m_rows;
};
