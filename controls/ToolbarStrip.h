#pragma once
// Cutting a toolbar's picture strip into its button images, without a window:
// as many images as whole columns of the image width fit, and every pixel of
// the mask colour 0xFEFEFE made transparent.

#include <cstdint>
#include <vector>

inline constexpr uint32_t kToolbarMaskColour = 0xFEFEFE; // 0xRRGGBB

// Pixels row by row, four bytes each: red, green, blue, alpha.
struct RgbaImage {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels;

    uint32_t RgbAt(int x, int y) const;
    uint8_t AlphaAt(int x, int y) const;
};

// The strip's images from the left; an image width below 1, or a strip whose
// pixel buffer does not match its size, gives none.
std::vector<RgbaImage> SliceToolbarStrip(const RgbaImage& strip, int imageWidth);
