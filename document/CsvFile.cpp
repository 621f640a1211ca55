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

void CCsvFile::Close()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    m_strPath.clear();
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
    char buffer[4096];
    bool ok = true;
    for (;;) {
        ssize_t got = ::read(m_fd, buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            ok = false;
            break;
        }
        if (got == 0)
            break;
        for (ssize_t i = 0; i < got; ++i) {
            char c = buffer[i];
            if (c == '\r') {
                lines.push_back(line);
                line.clear();
            } else if (c != '\n') {
                line += c;
            }
        }
    }
    // A last line counts only when it holds text before its first NUL.
    if (!line.empty() && line[0] != '\0')
        lines.push_back(line);
    return ok;
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
