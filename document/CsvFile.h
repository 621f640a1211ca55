#pragma once
// Comma-separated text file: rows of cells written unchanged (no quoting, no
// escaping), lines ended by CR LF. Bytes are taken as they stand. Callers open
// and close the file themselves and decide what the lines mean.

#include <string>
#include <vector>

class CCsvFile {
public:
    // Open flags, as the callers combine them: modeCreate | modeWrite for
    // writing, modeRead for reading.
    enum OpenFlags : unsigned {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeCreate = 0x1000,
    };

    CCsvFile();
    virtual ~CCsvFile(); // closes the file if it is still open

    CCsvFile(const CCsvFile&) = delete;
    CCsvFile& operator=(const CCsvFile&) = delete;

    // Opens path; false when it cannot be opened.
    bool Open(const std::string& path, unsigned flags);
    void Close();
    bool IsOpen() const { return m_fd >= 0; }
    const std::string& GetFilePath() const { return m_strPath; }

    // Writes the lines at the current position, CR LF between two lines and
    // none after the last. False only when the system refuses the write.
    bool WriteLines(const std::vector<std::string>& lines);
    // The bytes WriteLines writes, for a writer that replaces a whole file.
    static std::string JoinLines(const std::vector<std::string>& lines);
    // The cells joined with "," between them.
    std::string JoinRow(std::vector<std::string> cells);
    // Reads to the end of the file and appends the lines to lines. A CR ends a
    // line, an LF is ignored; a last line without CR counts unless it holds
    // nothing but NUL bytes. False only when the system refuses the read.
    virtual bool ReadLines(std::vector<std::string>& lines);
    // Appends the cells of line to cells: "," ends a cell, NUL bytes are
    // skipped, a trailing empty cell is not produced.
    bool SplitRow(std::string line, std::vector<std::string>& cells);

private:
    int m_fd = -1;
    std::string m_strPath;
};
