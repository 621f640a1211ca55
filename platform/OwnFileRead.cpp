#include "platform/OwnFileRead.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct Descriptor {
    int fd;
    ~Descriptor()
    {
        if (fd >= 0)
            ::close(fd);
    }
};

} // namespace

OwnFileRead ReadOwnFile(const std::string& path, const OwnFileRules& rules, std::string& content,
                        std::string& reason)
{
    content.clear();
    reason.clear();
    // O_NONBLOCK: opening a FIFO for reading would otherwise wait for a writer.
    Descriptor file{::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY)};
    if (file.fd < 0) {
        int error = errno;
        if (error == ENOENT || error == ENOTDIR)
            return OwnFileRead::Missing;
        reason = error == ELOOP ? "it is a symbolic link" : std::strerror(error);
        return OwnFileRead::Refused;
    }
    struct stat st {};
    if (::fstat(file.fd, &st) != 0) {
        reason = std::strerror(errno);
        return OwnFileRead::Refused;
    }
    if (!S_ISREG(st.st_mode)) {
        reason = "it is not a regular file";
        return OwnFileRead::Refused;
    }
    if (st.st_uid != ::geteuid() && !(rules.rootMayOwn && st.st_uid == 0)) {
        reason = "it belongs to another user";
        return OwnFileRead::Refused;
    }
    if (static_cast<unsigned long long>(st.st_size) > rules.maxBytes) {
        reason = "it is larger than " + std::to_string(rules.maxBytes) + " bytes";
        return OwnFileRead::TooLarge;
    }
    // The size may change while it is read: never more than the bound.
    content.resize(rules.maxBytes + 1);
    std::size_t total = 0;
    while (total < content.size()) {
        ssize_t got = ::read(file.fd, content.data() + total, content.size() - total);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            reason = std::strerror(errno);
            content.clear();
            return OwnFileRead::Refused;
        }
        if (got == 0)
            break;
        total += static_cast<std::size_t>(got);
    }
    if (total > rules.maxBytes) {
        content.clear();
        reason = "it is larger than " + std::to_string(rules.maxBytes) + " bytes";
        return OwnFileRead::TooLarge;
    }
    content.resize(total);
    return OwnFileRead::Read;
}

void ReportIgnoredFile(const std::string& path, const std::string& reason)
{
    std::fprintf(stderr, "d390: %s ignored: %s\n", path.c_str(), reason.c_str());
}
