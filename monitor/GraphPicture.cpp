#include "monitor/GraphPicture.h"

#include <cstdint>

namespace {

void Put16(std::string& out, uint16_t value)
{
    out.push_back(static_cast<char>(value & 0xFF));
    out.push_back(static_cast<char>(value >> 8));
}

void Put32(std::string& out, uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<char>((value >> shift) & 0xFF));
}

} // namespace

std::string EncodeBmp24(int width, int height, const unsigned char* rgbTopDown)
{
    const uint32_t rowSize = ((24u * width + 31) / 32) * 4;
    const uint32_t imageSize = rowSize * height;
    std::string out;
    out.reserve(54 + imageSize);
    out += "BM";
    Put32(out, 54 + imageSize);
    Put16(out, 0);
    Put16(out, 0);
    Put32(out, 54);
    Put32(out, 40);
    Put32(out, static_cast<uint32_t>(width));
    Put32(out, static_cast<uint32_t>(height));
    Put16(out, 1);
    Put16(out, 24);
    Put32(out, 0); // no compression
    Put32(out, imageSize);
    Put32(out, 0);
    Put32(out, 0);
    Put32(out, 0);
    Put32(out, 0);
    for (int row = height - 1; row >= 0; --row) {
        const unsigned char* pixel = rgbTopDown + static_cast<size_t>(row) * width * 3;
        std::string line(rowSize, '\0');
        for (int x = 0; x < width; ++x) {
            line[3 * x] = static_cast<char>(pixel[3 * x + 2]); // blue, green, red
            line[3 * x + 1] = static_cast<char>(pixel[3 * x + 1]);
            line[3 * x + 2] = static_cast<char>(pixel[3 * x]);
        }
        out += line;
    }
    return out;
}
