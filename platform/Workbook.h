#pragma once
// Spreadsheet workbooks as plain tables of texts, read and written directly as
// files: no spreadsheet application or database driver is needed. It lives
// with the other platform stand-ins because both the parameter exchange of
// the project view and the graph recorder's data export read and write
// workbooks through it.
//
// Writing always gives the .xlsx form. Reading takes .xlsx (a zip of XML
// parts) and the older binary .xls form; which one a file is comes from its
// first bytes, not from its name.

#include <string>
#include <vector>

// One worksheet: its name and its cells as texts. Rows and columns count from
// 1 as a spreadsheet shows them.
struct WorkbookSheet {
    std::string m_strName;
    // m_Rows[r - 1][c - 1] is the cell of row r, column c; rows may differ in
    // length, and a missing cell reads as empty.
    std::vector<std::vector<std::string>> m_Rows;

    const std::string& Cell(int row, int column) const;
    void SetCell(int row, int column, std::string text);
    // Number of the last row that has a cell (0 for an empty sheet).
    int RowCount() const { return static_cast<int>(m_Rows.size()); }
};

class CWorkbook {
public:
    std::vector<WorkbookSheet> m_Sheets;

    // The sheet of that exact name, or null.
    WorkbookSheet* FindSheet(const std::string& name);
    const WorkbookSheet* FindSheet(const std::string& name) const;
    // Appends an empty sheet.
    WorkbookSheet& AddSheet(const std::string& name);

    // Replaces the sheets with the file's. On failure the workbook is left
    // empty and error says why (in English, for the message after the
    // caller's own text). Only a regular file of at most kReadMaxFileBytes is
    // read, and that is checked before it is: for any other file error is
    // the whole message, naming the file, and refusedFile (when given) is set.
    bool Load(const std::string& path, std::string& error, bool* refusedFile = nullptr);
    // Writes all sheets as an .xlsx file; every cell is a text cell. An
    // existing file is replaced only when the whole workbook was written.
    bool Save(const std::string& path, std::string& error) const;

private:
    bool LoadXlsx(int fd, std::string& error);
    bool LoadXls(const std::string& path, std::string& error);
};
