#include "shell/OwnTexts.h"

#include "platform/ResourceModule.h"

#include <cstdarg>
#include <cstdio>
#include <vector>

std::string FormatOwnText(unsigned id, const char* fallback, ...)
{
    std::string format = HasResString(id) ? LoadResString(id) : std::string(fallback);
    va_list args;
    va_start(args, fallback);
    va_list copy;
    va_copy(copy, args);
    int length = std::vsnprintf(nullptr, 0, format.c_str(), copy);
    va_end(copy);
    std::string text;
    if (length > 0) {
        std::vector<char> buffer(static_cast<std::size_t>(length) + 1);
        std::vsnprintf(buffer.data(), buffer.size(), format.c_str(), args);
        text.assign(buffer.data(), static_cast<std::size_t>(length));
    }
    va_end(args);
    return text;
}
