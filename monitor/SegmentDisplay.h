#pragma once
// The keypad's five-digit segment display: which digit picture stands in which
// slot for a value text, and where its point goes. Text is laid out from its
// end, the first slot rightmost; a point takes no slot.

#include <string>
#include <vector>

struct SegmentDigit {
    int x = 0; // left edge, at y kSegmentDigitY
    unsigned bitmap = 0; // picture of the digit
    char digit = '0';
    bool operator==(const SegmentDigit&) const = default;
};

struct SegmentLayout {
    std::vector<SegmentDigit> digits; // rightmost first
    int pointX = -1; // left edge of the point picture at y kSegmentPointY, -1 without one
    // What the display shows, as a reader would say it ("234.56").
    std::string shown;
};

constexpr int kSegmentDigitY = 59;
constexpr int kSegmentPointY = 85;
constexpr unsigned kBitmapDigitZero = 156; // "1" to "9" are 158 to 166
constexpr unsigned kBitmapPoint = 168;

SegmentLayout LayOutSegments(const std::string& text);
