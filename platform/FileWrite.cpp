#include "platform/FileWrite.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

void SetReason(std::string* reason, int error)
{
    if (reason)
        *reason = std::strerror(error);
}

// mkstemp's file beside path, with the target's permission bits; -1 on failure.
int CreateBeside(const std::string& path, std::string& temporary, std::string* reason)
{
    temporary = path + ".XXXXXX";
    int fd = ::mkstemp(temporary.data());
    if (fd < 0) {
        SetReason(reason, errno);
        temporary.clear();
        return -1;
    }
    if (::fchmod(fd, ModeForTarget(path)) != 0) {
        SetReason(reason, errno);
        ::close(fd);
        ::unlink(temporary.c_str());
        temporary.clear();
        return -1;
    }
    return fd;
}

} // namespace

bool WriteAll(int fd, const char* data, std::size_t size)
{
    while (size > 0) {
        ssize_t written = ::write(fd, data, size);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

mode_t ModeForTarget(const std::string& path)
{
    struct stat st;
    if (::stat(path.c_str(), &st) == 0)
        return st.st_mode & 07777;
    mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

bool WriteFileReplacing(const std::string& path, const std::string& bytes, std::string* reason)
{
    std::string temporary;
    int fd = CreateBeside(path, temporary, reason);
    if (fd < 0)
        return false;
    bool ok = WriteAll(fd, bytes.data(), bytes.size()) && ::fsync(fd) == 0;
    int error = errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        error = errno;
    }
    if (ok && ::rename(temporary.c_str(), path.c_str()) != 0) {
        ok = false;
        error = errno;
    }
    if (!ok) {
        SetReason(reason, error);
        ::unlink(temporary.c_str());
    }
    return ok;
}

std::string MakeReplacementFile(const std::string& path, std::string* reason)
{
    std::string temporary;
    int fd = CreateBeside(path, temporary, reason);
    if (fd >= 0)
        ::close(fd);
    return temporary;
}

bool CommitReplacement(const std::string& temporary, const std::string& path, std::string* reason)
{
    int fd = ::open(temporary.c_str(), O_RDONLY | O_CLOEXEC);
    bool ok = fd >= 0 && ::fsync(fd) == 0;
    int error = errno;
    if (fd >= 0)
        ::close(fd);
    if (ok && ::rename(temporary.c_str(), path.c_str()) != 0) {
        ok = false;
        error = errno;
    }
    if (!ok) {
        SetReason(reason, error);
        ::unlink(temporary.c_str());
    }
    return ok;
}
