// Cutting the toolbar strips into button images.

#include "controls/ToolbarStrip.h"

#include <gtest/gtest.h>

namespace {

RgbaImage Strip(int width, int height, uint32_t rgb, uint8_t alpha = 255)
{
    RgbaImage strip;
    strip.width = width;
    strip.height = height;
    for (int i = 0; i < width * height; ++i) {
        strip.pixels.push_back(static_cast<uint8_t>(rgb >> 16));
        strip.pixels.push_back(static_cast<uint8_t>(rgb >> 8));
        strip.pixels.push_back(static_cast<uint8_t>(rgb));
        strip.pixels.push_back(alpha);
    }
    return strip;
}

void SetPixel(RgbaImage& image, int x, int y, uint32_t rgb, uint8_t alpha = 255)
{
    std::size_t at = (static_cast<std::size_t>(y) * image.width + x) * 4;
    image.pixels[at] = static_cast<uint8_t>(rgb >> 16);
    image.pixels[at + 1] = static_cast<uint8_t>(rgb >> 8);
    image.pixels[at + 2] = static_cast<uint8_t>(rgb);
    image.pixels[at + 3] = alpha;
}

TEST(ToolbarStrip, WholeColumnsOnly)
{
    struct Case {
        int width;
        std::size_t images;
        const char* why;
    };
    const Case cases[] = {
        {200, 6u, "200 / 33: six whole images, the rest dropped"},
        {198, 6u, "exactly six"},
        {32, 0u, "narrower than one image"},
        {0, 0u, "an empty strip"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SliceToolbarStrip(Strip(c.width, 30, 0x102030), 33).size(), c.images) << c.why;
    EXPECT_TRUE(SliceToolbarStrip(Strip(66, 30, 0x102030), 0).empty()) << "no image width";
}

TEST(ToolbarStrip, MaskColourBecomesTransparentAndWhiteStays)
{
    RgbaImage strip = Strip(200, 30, 0x336699);
    SetPixel(strip, 33 + 4, 5, 0xFEFEFE);  // image 1
    SetPixel(strip, 33 + 5, 5, 0xFFFFFF);  // image 1
    SetPixel(strip, 66 + 1, 2, 0x123456, 0); // image 2: transparent already
    std::vector<RgbaImage> images = SliceToolbarStrip(strip, 33);
    ASSERT_EQ(images.size(), 6u);
    EXPECT_EQ(images[1].width, 33);
    EXPECT_EQ(images[1].height, 30);
    EXPECT_EQ(images[1].AlphaAt(4, 5), 0) << "0xFEFEFE shows the background";
    EXPECT_EQ(images[1].RgbAt(5, 5), 0xFFFFFFu);
    EXPECT_EQ(images[1].AlphaAt(5, 5), 255) << "white is drawn white";
    EXPECT_EQ(images[1].RgbAt(0, 0), 0x336699u);
    EXPECT_EQ(images[1].AlphaAt(0, 0), 255);
    EXPECT_EQ(images[2].AlphaAt(1, 2), 0) << "the strip's own transparency is kept";
    EXPECT_EQ(images[0].AlphaAt(4, 5), 255) << "the neighbour image is untouched";
}

TEST(ToolbarStrip, ABufferThatDoesNotMatchItsSizeGivesNothing)
{
    RgbaImage strip = Strip(66, 30, 0x000000);
    strip.pixels.pop_back();
    EXPECT_TRUE(SliceToolbarStrip(strip, 33).empty());
}

} // namespace
