#include "platform/FileWrite.h"

#include <cerrno>
#include <unistd.h>

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
