#include "controls/XListModel.h"

#include <wx/settings.h>

namespace {

const wxColour kChangedBackground(0x00, 0xF0, 0x00);
const wxColour kHeadingText(0xFF, 0x00, 0x00);
const char* const kChangedMark = " *";

wxString EscapeMarkup(const wxString& text)
{
    wxString escaped;
    escaped.reserve(text.size());
    for (wxUniChar ch : text) {
        if (ch == '&')
            escaped += "&amp;";
        else if (ch == '<')
            escaped += "&lt;";
        else if (ch == '>')
            escaped += "&gt;";
        else
            escaped += ch;
    }
    return escaped;
}

} // namespace

CXListModel::CXListModel(unsigned columns)
    : m_columns(columns), m_kinds(columns, XListColumnKind::Text), m_options(columns)
{
}

void CXListModel::SetColumnKind(unsigned column, XListColumnKind kind)
{
    if (column < m_columns)
        m_kinds[column] = kind;
}

XListColumnKind CXListModel::GetColumnKind(unsigned column) const
{
    return column < m_columns ? m_kinds[column] : XListColumnKind::Text;
}

void CXListModel::Pad(Row& row) const
{
    row.text.resize(m_columns);
    row.cells.resize(m_columns);
}

void CXListModel::SetRows(std::vector<Row> rows)
{
    for (Row& row : rows)
        Pad(row);
    m_rows = std::move(rows);
    Reset(static_cast<unsigned>(m_rows.size()));
}

int CXListModel::InsertItem(int row, const wxString& text)
{
    if (row < 0 || row > GetRowCount())
        return -1;
    Row added;
    Pad(added);
    if (m_columns > 0)
        added.text[0] = text;
    m_rows.insert(m_rows.begin() + row, std::move(added));
    RowInserted(static_cast<unsigned>(row));
    return row;
}

bool CXListModel::SetItemText(int row, int column, const wxString& text)
{
    if (row < 0 || row >= GetRowCount() || column < 0 || column >= static_cast<int>(m_columns))
        return false;
    m_rows[static_cast<std::size_t>(row)].text[static_cast<std::size_t>(column)] = text;
    // The whole row is reported: accessibility reads the row's texts anew
    // only then.
    RowChanged(static_cast<unsigned>(row));
    return true;
}

wxString CXListModel::GetItemText(int row, int column) const
{
    if (row < 0 || row >= GetRowCount() || column < 0 || column >= static_cast<int>(m_columns))
        return wxString();
    return m_rows[static_cast<std::size_t>(row)].text[static_cast<std::size_t>(column)];
}

bool CXListModel::IsHeadingRow(int row) const
{
    return row >= 0 && row < GetRowCount() && m_rows[static_cast<std::size_t>(row)].heading;
}

void CXListModel::SetHeadingRow(int row, bool heading)
{
    if (row < 0 || row >= GetRowCount())
        return;
    m_rows[static_cast<std::size_t>(row)].heading = heading;
    RowChanged(static_cast<unsigned>(row));
}

XListCellData* CXListModel::GetCell(int row, int column)
{
    if (row < 0 || row >= GetRowCount() || column < 0 || column >= static_cast<int>(m_columns))
        return nullptr;
    return &m_rows[static_cast<std::size_t>(row)].cells[static_cast<std::size_t>(column)];
}

const XListCellData* CXListModel::GetCell(int row, int column) const
{
    return const_cast<CXListModel*>(this)->GetCell(row, column);
}

void CXListModel::CellChanged(int row, int column)
{
    // A whole-row change notice: a value notice only repaints the cell on
    // GTK, and screen readers would go on reading the old text.
    if (GetCell(row, column))
        RowChanged(static_cast<unsigned>(row));
}

wxString CXListModel::GetColumnType(unsigned column) const
{
    switch (GetColumnKind(column)) {
    case XListColumnKind::Check:
        return "bool";
    case XListColumnKind::Progress:
        return "long";
    default:
        return "string";
    }
}

bool CXListModel::IsChangedCell(int row, int column) const
{
    return column == m_changedColumn && m_isChangedByRow && m_isChangedByRow(row);
}

void CXListModel::GetValueByRow(wxVariant& variant, unsigned row, unsigned column) const
{
    const XListCellData* cell = GetCell(static_cast<int>(row), static_cast<int>(column));
    switch (GetColumnKind(column)) {
    case XListColumnKind::Check:
        variant = cell && cell->checkState == 1;
        break;
    case XListColumnKind::Progress:
        variant = static_cast<long>(cell ? cell->percent : 0);
        break;
    case XListColumnKind::Combo: {
        wxString text = GetItemText(static_cast<int>(row), static_cast<int>(column));
        const wxArrayString& options = m_options[column];
        // An empty drop-down cell shows its default option.
        if (text.empty() && cell && cell->defaultOption >= 0 &&
            cell->defaultOption < static_cast<int>(options.size()))
            text = options[static_cast<std::size_t>(cell->defaultOption)];
        variant = text;
        break;
    }
    default: {
        // Text cells are markup: a colour of the markup holds in a selected
        // row too, where GTK's selection colours win over the attributes.
        wxString text = EscapeMarkup(GetItemText(static_cast<int>(row), static_cast<int>(column)));
        // A changed value is marked in more than its colour: a reader, and
        // an eye that does not tell green, read the mark.
        if (IsChangedCell(static_cast<int>(row), static_cast<int>(column)) && !text.empty())
            text += kChangedMark;
        if (IsHeadingRow(static_cast<int>(row)) && !text.empty())
            variant = "<span foreground=\"" + kHeadingText.GetAsString(wxC2S_HTML_SYNTAX) + "\" weight=\"bold\">" + text
                      + "</span>";
        else
            variant = text;
        break;
    }
    }
}

bool CXListModel::SetValueByRow(const wxVariant& variant, unsigned row, unsigned column)
{
    XListCellData* cell = GetCell(static_cast<int>(row), static_cast<int>(column));
    if (!cell)
        return false;
    switch (GetColumnKind(column)) {
    case XListColumnKind::Check:
        if (cell->checkState < 0)
            return false;
        cell->checkState = variant.GetBool() ? 1 : 0;
        if (m_onCheckboxClicked)
            m_onCheckboxClicked(static_cast<int>(row), static_cast<int>(column));
        return true;
    case XListColumnKind::Combo:
        m_rows[row].text[column] = variant.GetString();
        if (m_onComboSelection)
            m_onComboSelection(static_cast<int>(row), static_cast<int>(column));
        return true;
    default:
        return false;
    }
}

bool CXListModel::IsEnabledByRow(unsigned row, unsigned column) const
{
    const XListCellData* first = GetCell(static_cast<int>(row), 0);
    if (first && !first->enabled)
        return false;
    const XListCellData* cell = GetCell(static_cast<int>(row), static_cast<int>(column));
    if (GetColumnKind(column) == XListColumnKind::Check)
        return cell && cell->checkState >= 0;
    return true;
}

bool CXListModel::GetAttrByRow(unsigned row, unsigned column, wxDataViewItemAttr& attr) const
{
    const int r = static_cast<int>(row);
    if (IsHeadingRow(r)) {
        attr.SetColour(kHeadingText);
        attr.SetBold(true);
        return true;
    }
    bool set = false;
    const XListCellData* cell = GetCell(r, static_cast<int>(column));
    const XListCellData* first = GetCell(r, 0);
    if (cell) {
        if (first && !first->enabled) {
            attr.SetColour(wxSystemSettings::GetColour(wxSYS_COLOUR_GRAYTEXT));
            set = true;
        } else if (cell->text.IsOk()) {
            attr.SetColour(cell->text);
            set = true;
        }
        if (cell->background.IsOk()) {
            attr.SetBackgroundColour(cell->background);
            set = true;
        }
        if (cell->bold) {
            attr.SetBold(true);
            set = true;
        }
    }
    if (IsChangedCell(r, static_cast<int>(column))) {
        attr.SetBackgroundColour(kChangedBackground);
        set = true;
    }
    return set;
}
