#include "link/MacText.h"

#include <cstdio>

std::string FormatMacText(const uint8_t mac[6])
{
    char text[18];
    std::snprintf(text, sizeof text, "%.2x-%.2x-%.2x-%.2x-%.2x-%.2x", mac[0], mac[1], mac[2], mac[3], mac[4],
                  mac[5]);
    return text;
}

namespace {

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

bool ParseMacText(const std::string& text, uint8_t mac[6])
{
    if (text.size() != 17)
        return false;
    uint8_t parsed[6];
    for (int i = 0; i < 6; ++i) {
        int high = HexDigit(text[i * 3]);
        int low = HexDigit(text[i * 3 + 1]);
        if (high < 0 || low < 0)
            return false;
        if (i < 5 && text[i * 3 + 2] != '-' && text[i * 3 + 2] != ':')
            return false;
        parsed[i] = static_cast<uint8_t>(high * 16 + low);
    }
    for (int i = 0; i < 6; ++i)
        mac[i] = parsed[i];
    return true;
}
