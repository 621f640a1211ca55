#include "platform/RegularFile.h"

#include "platform/ResourceModule.h"
#include "res/StringIds.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

std::string KindText(mode_t mode)
{
    if (S_ISDIR(mode))
        return "it is a folder, not a file";
    if (S_ISFIFO(mode))
        return "it is a FIFO, not a file";
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return "it is a device, not a file";
    if (S_ISSOCK(mode))
        return "it is a socket, not a file";
    if (S_ISLNK(mode))
        return "it is a symbolic link";
    return "it is not a regular file";
}

std::string TooLargeText(std::uint64_t maxBytes)
{
    return "it is larger than " + FileSizeText(maxBytes);
}

} // namespace

std::string FileSizeText(std::uint64_t bytes)
{
    if (bytes >= (1u << 20) && bytes % (1u << 20) == 0)
        return std::to_string(bytes >> 20) + " MB";
    if (bytes >= (1u << 10) && bytes % (1u << 10) == 0)
        return std::to_string(bytes >> 10) + " KB";
    return std::to_string(bytes) + " bytes";
}

CRegularFile::~CRegularFile()
{
    Close();
}

void CRegularFile::Close()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

int CRegularFile::Release()
{
    int fd = m_fd;
    m_fd = -1;
    return fd;
}

FileCheck CRegularFile::Open(const std::string& path, const FileRules& rules)
{
    Close();
    m_status = {};
    m_maxBytes = rules.maxBytes;
    m_reason.clear();
    m_osError = 0;
    auto failed = [this](int error) {
        m_osError = error;
        if (error == ENOENT || error == ENOTDIR) {
            m_reason = std::strerror(error);
            return FileCheck::Missing;
        }
        m_reason = error == ELOOP ? KindText(S_IFLNK) : std::strerror(error);
        return FileCheck::CannotOpen;
    };

    // Looked at before it is opened: opening a device or a FIFO can itself
    // wait or act.
    struct stat before {};
    if ((rules.followLinks ? ::stat(path.c_str(), &before) : ::lstat(path.c_str(), &before)) != 0)
        return failed(errno);
    if (!S_ISREG(before.st_mode)) {
        m_status = before;
        m_reason = KindText(before.st_mode);
        return FileCheck::NotRegular;
    }
    if (static_cast<std::uint64_t>(before.st_size) > rules.maxBytes) {
        m_status = before;
        m_reason = TooLargeText(rules.maxBytes);
        return FileCheck::TooLarge;
    }

    // O_NONBLOCK: should path have become a FIFO since, the open does not
    // wait for a writer; it changes nothing for a regular file.
    int flags = O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY | (rules.followLinks ? 0 : O_NOFOLLOW);
    int fd;
    do {
        fd = ::open(path.c_str(), flags);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return failed(errno);
    m_fd = fd;
    if (::fstat(m_fd, &m_status) != 0) {
        int error = errno;
        Close();
        return failed(error);
    }
    if (!S_ISREG(m_status.st_mode)) {
        Close();
        m_reason = KindText(m_status.st_mode);
        return FileCheck::NotRegular;
    }
    if (static_cast<std::uint64_t>(m_status.st_size) > rules.maxBytes) {
        Close();
        m_reason = TooLargeText(rules.maxBytes);
        return FileCheck::TooLarge;
    }
    return FileCheck::Ok;
}

long CRegularFile::Read(char* buffer, std::size_t count)
{
    for (;;) {
        ssize_t got = ::read(m_fd, buffer, count);
        if (got >= 0)
            return static_cast<long>(got);
        if (errno != EINTR) {
            m_osError = errno;
            return -1;
        }
    }
}

FileCheck CRegularFile::ReadAll(std::string& bytes)
{
    bytes.clear();
    if (::lseek(m_fd, 0, SEEK_SET) < 0) {
        m_osError = errno;
        m_reason = std::strerror(m_osError);
        return FileCheck::CannotOpen;
    }
    // The size may have changed since Open: never more than the bound, and
    // one byte more tells that it grew past it.
    const std::uint64_t want = std::min<std::uint64_t>(Size(), m_maxBytes) + 1;
    bytes.resize(static_cast<std::size_t>(want));
    std::size_t total = 0;
    for (;;) {
        if (total == bytes.size()) {
            if (total > m_maxBytes)
                break;
            bytes.resize(std::min<std::size_t>(bytes.size() * 2, static_cast<std::size_t>(m_maxBytes) + 1));
        }
        long got = Read(bytes.data() + total, bytes.size() - total);
        if (got < 0) {
            bytes.clear();
            m_reason = std::strerror(m_osError);
            return FileCheck::CannotOpen;
        }
        if (got == 0)
            break;
        total += static_cast<std::size_t>(got);
    }
    if (total > m_maxBytes) {
        bytes.clear();
        bytes.shrink_to_fit();
        m_reason = TooLargeText(m_maxBytes);
        return FileCheck::TooLarge;
    }
    bytes.resize(total);
    return FileCheck::Ok;
}

std::string CRegularFile::RefusalText(const std::string& path) const
{
    return FormatResString(IDS_FILE_NOT_READ, path.c_str(), m_reason.c_str());
}

FileCheck ReadRegularFile(const std::string& path, const FileRules& rules, std::string& bytes, std::string& reason)
{
    bytes.clear();
    CRegularFile file;
    FileCheck check = file.Open(path, rules);
    if (check == FileCheck::Ok)
        check = file.ReadAll(bytes);
    reason = check == FileCheck::Ok ? std::string() : file.Reason();
    return check;
}
