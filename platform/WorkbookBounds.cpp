#include "platform/WorkbookBounds.h"

bool CWorkbookLoadBudget::AddSheet(CWorkbook& book, const std::string& name, std::string& error)
{
    if (book.m_Sheets.size() >= kReadMaxSheets) {
        error = "the workbook has more sheets than a parameter workbook holds";
        return false;
    }
    if (!Take(1, name.size(), error))
        return false;
    book.AddSheet(name);
    return true;
}

bool CWorkbookLoadBudget::Place(WorkbookSheet& sheet, int row, int column, std::string text, std::string& error)
{
    if (row < 1 || column < 1 || row > kReadMaxRows || column > kReadMaxColumns) {
        error = "sheet " + sheet.m_strName + " has a cell beyond row " + std::to_string(kReadMaxRows) + " or column "
                + std::to_string(kReadMaxColumns) + ", more than a parameter workbook holds";
        return false;
    }
    const std::size_t rows = sheet.m_Rows.size();
    const std::size_t r = static_cast<std::size_t>(row);
    const std::size_t c = static_cast<std::size_t>(column);
    std::size_t added = r > rows ? r - rows : 0;
    const std::size_t length = r <= rows ? sheet.m_Rows[r - 1].size() : 0;
    if (c > length)
        added += c - length;
    if (!Take(added, text.size(), error))
        return false;
    sheet.SetCell(row, column, std::move(text));
    return true;
}

bool CWorkbookLoadBudget::TakeShared(std::size_t count, std::size_t bytes, std::string& error)
{
    if (count > kReadMaxSharedStrings) {
        error = "the workbook has more shared texts than a parameter workbook holds";
        return false;
    }
    return Take(0, bytes, error);
}

bool CWorkbookLoadBudget::Take(std::size_t slots, std::size_t bytes, std::string& error)
{
    m_slots += slots;
    m_bytes += bytes;
    if (m_slots > kReadMaxSlots || m_bytes > kReadMaxTextBytes) {
        error = "the workbook holds more cells or text than a parameter workbook can";
        return false;
    }
    return true;
}
