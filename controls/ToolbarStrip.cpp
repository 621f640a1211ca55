#include "controls/ToolbarStrip.h"

#include <cstddef>

namespace {

std::size_t Offset(int width, int x, int y)
{
    return (static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)) * 4;
}

} // namespace

uint32_t RgbaImage::RgbAt(int x, int y) const
{
    std::size_t at = Offset(width, x, y);
    return static_cast<uint32_t>(pixels[at]) << 16 | static_cast<uint32_t>(pixels[at + 1]) << 8 | pixels[at + 2];
}

uint8_t RgbaImage::AlphaAt(int x, int y) const
{
    return pixels[Offset(width, x, y) + 3];
}

std::vector<RgbaImage> SliceToolbarStrip(const RgbaImage& strip, int imageWidth)
{
    std::vector<RgbaImage> images;
    if (imageWidth < 1 || strip.width < 0 || strip.height < 0 ||
        strip.pixels.size() != Offset(strip.width, 0, strip.height))
        return images;
    const int count = strip.width / imageWidth;
    for (int index = 0; index < count; ++index) {
        RgbaImage image;
        image.width = imageWidth;
        image.height = strip.height;
        image.pixels.resize(Offset(imageWidth, 0, strip.height));
        for (int y = 0; y < strip.height; ++y) {
            for (int x = 0; x < imageWidth; ++x) {
                std::size_t from = Offset(strip.width, index * imageWidth + x, y);
                std::size_t to = Offset(imageWidth, x, y);
                for (int byte = 0; byte < 4; ++byte)
                    image.pixels[to + byte] = strip.pixels[from + byte];
                if (strip.RgbAt(index * imageWidth + x, y) == kToolbarMaskColour)
                    image.pixels[to + 3] = 0;
            }
        }
        images.push_back(std::move(image));
    }
    return images;
}
