#pragma once
// Comma-separated text file: rows of cells written unchanged (no quoting, no
// escaping), lines ended by CR LF. Bytes are taken as they stand. Callers open
// and close the file themselves and decide what the lines mean.

#include "platform/RegularFile.h"
#include "platform/WorkbookBounds.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// The largest comma-separated file that is read at all: the text bound of the
// readers and a CR LF for each of their lines. Checked before the first byte
// is read.
inline constexpr std::uint64_t kCsvMaxFileBytes = 17u << 20;
static_assert(kReadMaxTextBytes + 2u * kReadMaxRows <= kCsvMaxFileBytes);

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

    // Opens path; false when it cannot be opened. Reading takes only a
    // regular file of at most kCsvMaxFileBytes (see OpenToRead).
    bool Open(const std::string& path, unsigned flags);
    // Opens path for reading, without blocking, when it is a regular file of
    // at most maxBytes. For a refusal (NotRegular, TooLarge) refusal holds the
    // message that names the file; for the others the system's reason.
    FileCheck OpenToRead(const std::string& path, std::string& refusal, std::uint64_t maxBytes = kCsvMaxFileBytes);
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
    // nothing but NUL bytes. False when the system refuses the read or the
    // file passes the reading bounds (the lines before stay in lines).
    virtual bool ReadLines(std::vector<std::string>& lines);

    // Reading a line at a time, as ReadLines reads them, within bounds: the
    // whole reading at most kReadMaxRows lines and kReadMaxTextBytes of text
    // (the bytes kept in the lines), one line at most maxBytes and each of its
    // cells (as SplitRow gives them, NUL bytes not counted) at most
    // maxCellBytes. A bound is refused as soon as it is passed, before the
    // rest is read: so the file's size never decides the memory taken.
    struct LineBounds {
        std::size_t maxBytes = SIZE_MAX;
        std::size_t maxCellBytes = SIZE_MAX;
    };
    enum class LineRead {
        Line,        // line holds the next line
        End,         // no more lines
        Failed,      // the system refused the read
        LineTooLong, // line holds the start of the line, up to the bound
        TooLarge,    // the reading passed its bounds
    };
    LineRead ReadLine(std::string& line, const LineBounds& bounds);
    // Appends the cells of line to cells: "," ends a cell, NUL bytes are
    // skipped, a trailing empty cell is not produced.
    bool SplitRow(std::string line, std::vector<std::string>& cells);

private:
    bool Fill();

    int m_fd = -1;
    std::string m_strPath;
    // What has been read of the file and not yet taken into a line.
    std::unique_ptr<char[]> m_buffer;
    std::size_t m_pos = 0;
    std::size_t m_end = 0;
    bool m_atEnd = false;
    std::size_t m_lineCount = 0;
    std::size_t m_textBytes = 0;
};
