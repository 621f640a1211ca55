#include "platform/ProgramFolder.h"

#include <climits>
#include <unistd.h>

std::string ExecutableFolder()
{
    char buffer[PATH_MAX];
    ssize_t length = readlink("/proc/self/exe", buffer, sizeof(buffer) - 1);
    if (length <= 0)
        return "./";
    std::string path(buffer, static_cast<size_t>(length));
    auto slash = path.rfind('/');
    return slash == std::string::npos ? std::string("./") : path.substr(0, slash + 1);
}
