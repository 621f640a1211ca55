#pragma once
// What a workbook that this program reads can hold. A parameter workbook has
// one sheet per group with a hundred rows of three texts; graph data a few
// columns of samples. Cells are kept row by row with the gaps before them, so
// the bounds count the gaps too: a file past them is refused before it can
// take the memory of the program (and the open project with it).

#include "platform/Workbook.h"

#include <cstddef>
#include <string>

inline constexpr int kReadMaxRows = 65536;
inline constexpr int kReadMaxColumns = 256;
inline constexpr std::size_t kReadMaxSheets = 256;
inline constexpr std::size_t kReadMaxSlots = 1000000; // cells held, gaps included
inline constexpr std::size_t kReadMaxTextBytes = 16 * 1024 * 1024;
inline constexpr std::size_t kReadMaxSharedStrings = 200000;
inline constexpr std::size_t kReadMaxPartBytes = 16 * 1024 * 1024; // one XML part, inflated
// The file itself, checked before anything is read: a workbook within the
// bounds above (a million cells, 16 MB of text) fits in far less, in either
// form; a larger file is not one of them.
inline constexpr std::size_t kReadMaxFileBytes = 64 * 1024 * 1024;

// Counts what a load has taken so far against the bounds above.
class CWorkbookLoadBudget {
public:
    // A new sheet; false with error set past the number of sheets.
    bool AddSheet(CWorkbook& book, const std::string& name, std::string& error);
    // Places text at row, column of sheet; false with error set when that
    // would take the workbook past a bound.
    bool Place(WorkbookSheet& sheet, int row, int column, std::string text, std::string& error);
    // A shared text kept before the sheets are read.
    bool TakeShared(std::size_t count, std::size_t bytes, std::string& error);

private:
    bool Take(std::size_t slots, std::size_t bytes, std::string& error);

    std::size_t m_slots = 0;
    std::size_t m_bytes = 0;
};
