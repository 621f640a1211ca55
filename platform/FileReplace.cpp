#include "platform/FileReplace.h"

#include "platform/FileWrite.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

bool ReplaceFileWith(const std::string& path, const std::function<bool(const std::string&, std::string&)>& write,
                     std::string& error)
{
    std::string temporary = path + ".XXXXXX";
    int fd = ::mkstemp(temporary.data());
    if (fd < 0) {
        error = std::strerror(errno);
        return false;
    }
    // mkstemp makes the file private; the result is an ordinary user file.
    ::fchmod(fd, 0644);
    ::close(fd);
    bool ok = write(temporary, error);
    if (ok && std::rename(temporary.c_str(), path.c_str()) != 0) {
        error = std::strerror(errno);
        ok = false;
    }
    if (!ok)
        ::unlink(temporary.c_str());
    return ok;
}

bool ReplaceFileBytes(const std::string& path, const std::string& bytes, std::string& error)
{
    return ReplaceFileWith(
        path,
        [&](const std::string& temporary, std::string& reason) {
            FILE* file = std::fopen(temporary.c_str(), "wb");
            if (!file) {
                reason = std::strerror(errno);
                return false;
            }
            bool written = WriteAll(fileno(file), bytes.data(), bytes.size());
            if (!written)
                reason = std::strerror(errno);
            if (std::fclose(file) != 0 && written) {
                reason = std::strerror(errno);
                written = false;
            }
            return written;
        },
        error);
}
