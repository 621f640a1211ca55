#include "monitor/SegmentDisplay.h"

#include <algorithm>

namespace {

constexpr int kSlotX[] = { 205, 170, 135, 100, 65 };
// By the number of digits to the point's right.
constexpr int kPointX[] = { 195, 160, 125, 90 };

} // namespace

SegmentLayout LayOutSegments(const std::string& text)
{
    SegmentLayout layout;
    std::size_t slot = 0;
    for (auto it = text.rbegin(); it != text.rend(); ++it) {
        const char c = *it;
        if (c == '.') {
            if (slot >= 1 && slot <= 4 && layout.pointX < 0) {
                layout.pointX = kPointX[slot - 1];
                layout.shown.push_back('.');
            }
            continue;
        }
        if (c < '0' || c > '9' || slot >= std::size(kSlotX))
            continue;
        const unsigned bitmap = c == '0' ? kBitmapDigitZero : 158 + static_cast<unsigned>(c - '1');
        layout.digits.push_back({ kSlotX[slot], bitmap, c });
        layout.shown.push_back(c);
        ++slot;
    }
    std::reverse(layout.shown.begin(), layout.shown.end());
    if (!layout.shown.empty() && layout.shown.front() == '.')
        layout.shown.erase(layout.shown.begin());
    return layout;
}
