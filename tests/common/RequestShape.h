#pragma once
// The shape of a request frame, for comparing request sequences: "R 0200 x4"
// for a read, "W 0E00 x10" for a block write, "S 0A03" for a single write.

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

inline std::string RequestShape(const std::vector<uint8_t>& request)
{
    char text[32] = "?";
    if (request.size() >= 6) {
        const unsigned reg = request[2] << 8 | request[3];
        if (request[1] == 0x03)
            std::snprintf(text, sizeof text, "R %04X x%d", reg, request[5]);
        else if (request[1] == 0x10)
            std::snprintf(text, sizeof text, "W %04X x%d", reg, request[5]);
        else if (request[1] == 0x06)
            std::snprintf(text, sizeof text, "S %04X", reg);
    }
    return text;
}
