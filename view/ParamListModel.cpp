#include "view/ParamListModel.h"

namespace {

const wxColour kChangedBackground(0x00, 0xF0, 0x00);
const wxColour kHeadingText(0xFF, 0x00, 0x00);

} // namespace

void CParamListModel::SetRows(std::vector<Row> rows)
{
    m_rows = std::move(rows);
    Reset(static_cast<unsigned>(m_rows.size()));
}

bool CParamListModel::SetItemText(int row, int column, const wxString& text)
{
    if (row < 0 || row >= GetRowCount() || column < 0 || column >= kColumnCount)
        return false;
    m_rows[static_cast<std::size_t>(row)].text[static_cast<std::size_t>(column)] = text;
    // A whole-row change notice: a value notice only repaints the cell on
    // GTK, and screen readers would go on reading the old text.
    RowChanged(static_cast<unsigned>(row));
    return true;
}

wxString CParamListModel::GetItemText(int row, int column) const
{
    if (row < 0 || row >= GetRowCount() || column < 0 || column >= kColumnCount)
        return wxString();
    return m_rows[static_cast<std::size_t>(row)].text[static_cast<std::size_t>(column)];
}

bool CParamListModel::IsHeadingRow(int row) const
{
    return row >= 0 && row < GetRowCount() && m_rows[static_cast<std::size_t>(row)].heading;
}

void CParamListModel::GetValueByRow(wxVariant& variant, unsigned row, unsigned column) const
{
    variant = GetItemText(static_cast<int>(row), static_cast<int>(column));
}

bool CParamListModel::GetAttrByRow(unsigned row, unsigned column, wxDataViewItemAttr& attr) const
{
    if (IsHeadingRow(static_cast<int>(row))) {
        attr.SetColour(kHeadingText);
        attr.SetBold(true);
        return true;
    }
    if (column == kColumnValue && m_isChangedByRow && m_isChangedByRow(static_cast<int>(row))) {
        attr.SetBackgroundColour(kChangedBackground);
        return true;
    }
    return false;
}
