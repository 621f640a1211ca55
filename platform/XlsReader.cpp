#include "platform/XlsReader.h"

#include "platform/FileWrite.h"
#include "platform/WorkbookBounds.h"

#include <freexl.h>

#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <fcntl.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// The parse of a parameter workbook takes a fraction of a second; a child
// that is still busy after this is stuck on a damaged file.
constexpr int kParseTimeLimitMs = 20000;
constexpr rlim_t kParseCpuSeconds = 20;

// Records on the pipe: a tag byte, then 32-bit little-endian numbers and
// counted texts.
enum Tag : char { kSheet = 'S', kCell = 'C', kRefused = 'X', kEnd = 'E' };

void PutU32(std::string& out, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

void PutText(std::string& out, const std::string& text)
{
    PutU32(out, static_cast<std::uint32_t>(text.size()));
    out += text;
}

std::string XlsCellText(const FreeXL_CellValue& cell)
{
    char buffer[64];
    switch (cell.type) {
    case FREEXL_CELL_INT:
        std::snprintf(buffer, sizeof buffer, "%d", cell.value.int_value);
        return buffer;
    case FREEXL_CELL_DOUBLE:
        std::snprintf(buffer, sizeof buffer, "%.15g", cell.value.double_value);
        return buffer;
    case FREEXL_CELL_TEXT:
    case FREEXL_CELL_SST_TEXT:
    case FREEXL_CELL_DATE:
    case FREEXL_CELL_DATETIME:
    case FREEXL_CELL_TIME:
        return cell.value.text_value ? cell.value.text_value : "";
    default:
        return {};
    }
}

// The child's whole work: parse, stream the cells, end with kEnd or kRefused.
// The bounds are applied here too, so that a huge sheet is not even sent.
void ParseInChild(const std::string& path, int fd)
{
    std::string out;
    auto flush = [&out, fd] {
        bool ok = WriteAll(fd, out.data(), out.size());
        out.clear();
        return ok;
    };
    auto refuse = [&](const std::string& why) {
        out += kRefused;
        PutText(out, why);
        flush();
    };
    const void* handle = nullptr;
    if (freexl_open(path.c_str(), &handle) != FREEXL_OK) {
        if (handle)
            freexl_close(handle);
        return refuse("cannot read the workbook");
    }
    unsigned int count = 0;
    if (freexl_get_info(handle, FREEXL_BIFF_SHEET_COUNT, &count) != FREEXL_OK)
        return refuse("the workbook is damaged");
    if (count > kReadMaxSheets)
        return refuse("the workbook has more sheets than a parameter workbook holds");
    for (unsigned int index = 0; index < count; ++index) {
        const char* name = nullptr;
        unsigned int rows = 0;
        unsigned short columns = 0;
        if (freexl_get_worksheet_name(handle, static_cast<unsigned short>(index), &name) != FREEXL_OK
            || freexl_select_active_worksheet(handle, static_cast<unsigned short>(index)) != FREEXL_OK
            || freexl_worksheet_dimensions(handle, &rows, &columns) != FREEXL_OK)
            return refuse("the workbook is damaged");
        out += kSheet;
        PutText(out, name ? name : "");
        for (unsigned int r = 0; r < rows; ++r) {
            for (unsigned short c = 0; c < columns; ++c) {
                FreeXL_CellValue cell;
                if (freexl_get_cell_value(handle, r, c, &cell) != FREEXL_OK)
                    return refuse("the workbook is damaged");
                std::string text = XlsCellText(cell);
                if (text.empty())
                    continue;
                if (r >= static_cast<unsigned>(kReadMaxRows) || c >= kReadMaxColumns)
                    return refuse("a sheet has a cell beyond row " + std::to_string(kReadMaxRows) + " or column "
                                  + std::to_string(kReadMaxColumns) + ", more than a parameter workbook holds");
                out += kCell;
                PutU32(out, r + 1);
                PutU32(out, c + 1u);
                PutText(out, text);
                if (out.size() > 64 * 1024 && !flush())
                    return;
            }
        }
    }
    freexl_close(handle);
    out += kEnd;
    flush();
}

// Reads what the child sends, until it closes the pipe or the time is up.
// False when the time ran out or the stream grew past what the bounds allow.
bool ReadFromChild(int fd, std::string& stream)
{
    // Texts and the records around them: a little more than the text bound.
    const std::size_t limit = kReadMaxTextBytes + 16 * kReadMaxSlots;
    int waited = 0;
    char buffer[65536];
    while (true) {
        pollfd wait{fd, POLLIN, 0};
        int ready = ::poll(&wait, 1, 200);
        if (ready < 0 && errno != EINTR)
            return false;
        if (ready <= 0) {
            waited += 200;
            if (waited >= kParseTimeLimitMs)
                return false;
            continue;
        }
        ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (got == 0)
            return true;
        stream.append(buffer, static_cast<std::size_t>(got));
        if (stream.size() > limit)
            return false;
    }
}

class StreamReader {
public:
    explicit StreamReader(const std::string& bytes) : m_bytes(bytes) {}
    bool Tag(char& tag)
    {
        if (m_pos >= m_bytes.size())
            return false;
        tag = m_bytes[m_pos++];
        return true;
    }
    bool U32(std::uint32_t& value)
    {
        if (m_bytes.size() - m_pos < 4)
            return false;
        value = 0;
        for (int i = 3; i >= 0; --i)
            value = (value << 8) | static_cast<unsigned char>(m_bytes[m_pos + i]);
        m_pos += 4;
        return true;
    }
    bool Text(std::string& text)
    {
        std::uint32_t length;
        if (!U32(length) || m_bytes.size() - m_pos < length)
            return false;
        text.assign(m_bytes, m_pos, length);
        m_pos += length;
        return true;
    }

private:
    const std::string& m_bytes;
    std::size_t m_pos = 0;
};

// The cells of the stream into book, under the bounds; the child is not
// trusted further than the file it read.
bool TakeStream(const std::string& stream, CWorkbook& book, std::string& error)
{
    CWorkbookLoadBudget budget;
    StreamReader in(stream);
    char tag;
    while (in.Tag(tag)) {
        switch (tag) {
        case kSheet: {
            std::string name;
            if (!in.Text(name))
                break;
            if (!budget.AddSheet(book, name, error))
                return false;
            continue;
        }
        case kCell: {
            std::uint32_t row, column;
            std::string text;
            if (book.m_Sheets.empty() || !in.U32(row) || !in.U32(column) || !in.Text(text)
                || row > static_cast<std::uint32_t>(kReadMaxRows) || column > static_cast<std::uint32_t>(kReadMaxColumns))
                break;
            if (!budget.Place(book.m_Sheets.back(), static_cast<int>(row), static_cast<int>(column), std::move(text),
                              error))
                return false;
            continue;
        }
        case kRefused:
            if (!in.Text(error))
                error = "the workbook is damaged";
            return false;
        case kEnd:
            return true;
        default:
            break;
        }
        break;
    }
    error = "the workbook is damaged";
    return false;
}

} // namespace

bool ReadXlsWorkbook(const std::string& path, CWorkbook& book, std::string& error)
{
    book.m_Sheets.clear();
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) {
        error = "cannot read the workbook";
        return false;
    }
    std::fflush(nullptr); // nothing buffered is written twice
    pid_t child = ::fork();
    if (child < 0) {
        ::close(fds[0]);
        ::close(fds[1]);
        error = "cannot read the workbook";
        return false;
    }
    if (child == 0) {
        ::close(fds[0]);
        std::signal(SIGPIPE, SIG_DFL);
        rlimit cpu{kParseCpuSeconds, kParseCpuSeconds};
        ::setrlimit(RLIMIT_CPU, &cpu);
        try {
            ParseInChild(path, fds[1]);
        } catch (...) {
            ::_exit(2);
        }
        ::_exit(0);
    }
    ::close(fds[1]);
    std::string stream;
    bool complete = ReadFromChild(fds[0], stream);
    ::close(fds[0]);
    if (!complete)
        ::kill(child, SIGKILL);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    bool ok = complete && WIFEXITED(status) && WEXITSTATUS(status) == 0 && TakeStream(stream, book, error);
    if (!ok) {
        // A child that died or hung read a damaged file.
        if (error.empty())
            error = "the workbook is damaged";
        book.m_Sheets.clear();
    }
    return ok;
}
