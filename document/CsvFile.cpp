#include "document/CsvFile.h"

#include "platform/FileWrite.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

CCsvFile::CCsvFile() = default;

CCsvFile::~CCsvFile()
{
    Close();
}

bool CCsvFile::Open(const std::string& path, unsigned flags)
{
    Close();
    if (!(flags & (modeWrite | modeCreate))) {
        std::string refusal;
        return OpenToRead(path, refusal) == FileCheck::Ok;
    }
    int oflags = O_CLOEXEC;
    if (flags & modeWrite)
        oflags |= O_WRONLY;
    else
        oflags |= O_RDONLY;
    if (flags & modeCreate)
        oflags |= O_CREAT | O_TRUNC;
    int fd;
    do {
        fd = ::open(path.c_str(), oflags, 0666);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return false;
    m_fd = fd;
    m_strPath = path;
    return true;
}

FileCheck CCsvFile::OpenToRead(const std::string& path, std::string& refusal, std::uint64_t maxBytes)
{
    Close();
    refusal.clear();
    CRegularFile file;
    FileRules rules;
    rules.maxBytes = maxBytes;
    FileCheck check = file.Open(path, rules);
    if (check == FileCheck::NotRegular || check == FileCheck::TooLarge)
        refusal = file.RefusalText(path);
    else if (check != FileCheck::Ok)
        refusal = file.Reason();
    if (check != FileCheck::Ok) {
        errno = file.OsError();
        return check;
    }
    m_fd = file.Release();
    m_strPath = path;
    return FileCheck::Ok;
}

void CCsvFile::Close()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    m_strPath.clear();
    m_buffer.reset();
    m_pos = m_end = 0;
    m_atEnd = false;
    m_lineCount = m_textBytes = 0;
}

std::string CCsvFile::JoinLines(const std::vector<std::string>& lines)
{
    std::string out;
    for (size_t i = 0; i < lines.size(); ++i) {
        out += lines[i];
        if (i + 1 < lines.size())
            out += "\r\n";
    }
    return out;
}

bool CCsvFile::WriteLines(const std::vector<std::string>& lines)
{
    const std::string out = JoinLines(lines);
    return WriteAll(m_fd, out.data(), out.size());
}

std::string CCsvFile::JoinRow(std::vector<std::string> cells)
{
    std::string row;
    for (size_t i = 0; i < cells.size(); ++i) {
        row += cells[i];
        if (i + 1 < cells.size())
            row += ',';
    }
    return row;
}

bool CCsvFile::ReadLines(std::vector<std::string>& lines)
{
    std::string line;
    for (;;) {
        switch (ReadLine(line, LineBounds())) {
        case LineRead::Line:
            lines.push_back(std::move(line));
            continue;
        case LineRead::End:
            return true;
        default:
            return false;
        }
    }
}

bool CCsvFile::Fill()
{
    constexpr std::size_t kPiece = 64 * 1024;
    if (!m_buffer)
        m_buffer = std::make_unique<char[]>(kPiece);
    for (;;) {
        ssize_t got = ::read(m_fd, m_buffer.get(), kPiece);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return false;
        m_pos = 0;
        m_end = static_cast<std::size_t>(got);
        m_atEnd = got == 0;
        return true;
    }
}

CCsvFile::LineRead CCsvFile::ReadLine(std::string& line, const LineBounds& bounds)
{
    line.clear();
    std::size_t cell = 0;
    while (!m_atEnd) {
        if (m_pos == m_end) {
            if (!Fill())
                return LineRead::Failed;
            continue;
        }
        const char* piece = m_buffer.get();
        if (bounds.maxCellBytes == SIZE_MAX) {
            // No cells to count: whole runs up to the next CR or LF at once.
            const char* from = piece + m_pos;
            const char* end = piece + m_end;
            const char* cr = static_cast<const char*>(std::memchr(from, '\r', static_cast<std::size_t>(end - from)));
            const char* stop = cr ? cr : end;
            const char* lf = static_cast<const char*>(std::memchr(from, '\n', static_cast<std::size_t>(stop - from)));
            const char* run = lf ? lf : stop;
            const std::size_t length = static_cast<std::size_t>(run - from);
            const std::size_t room = bounds.maxBytes - line.size();
            if (length > room) {
                line.append(from, room);
                m_pos += room;
                return LineRead::LineTooLong;
            }
            if ((m_textBytes += length) > kReadMaxTextBytes)
                return LineRead::TooLarge;
            line.append(from, length);
            m_pos += length;
            if (run == stop && cr) {
                ++m_pos;
                if (++m_lineCount > static_cast<std::size_t>(kReadMaxRows))
                    return LineRead::TooLarge;
                return LineRead::Line;
            }
            if (lf)
                ++m_pos;
            continue;
        }
        while (m_pos < m_end) {
            const char c = piece[m_pos++];
            if (c == '\r') {
                if (++m_lineCount > static_cast<std::size_t>(kReadMaxRows))
                    return LineRead::TooLarge;
                return LineRead::Line;
            }
            if (c == '\n')
                continue;
            if (line.size() >= bounds.maxBytes)
                return LineRead::LineTooLong;
            if (++m_textBytes > kReadMaxTextBytes)
                return LineRead::TooLarge;
            line += c;
            if (c == ',')
                cell = 0;
            else if (c != '\0' && ++cell > bounds.maxCellBytes)
                return LineRead::LineTooLong;
        }
    }
    // A last line counts only when it holds text before its first NUL.
    if (line.empty() || line[0] == '\0') {
        line.clear();
        return LineRead::End;
    }
    if (++m_lineCount > static_cast<std::size_t>(kReadMaxRows))
        return LineRead::TooLarge;
    return LineRead::Line;
}

bool CCsvFile::SplitRow(std::string line, std::vector<std::string>& cells)
{
    std::string cell;
    for (char c : line) {
        if (c == ',') {
            cells.push_back(cell);
            cell.clear();
        } else if (c != '\0') {
            cell += c;
        }
    }
    if (!cell.empty())
        cells.push_back(cell);
    return true;
}
