#include "platform/WindowPlacement.h"

#include <algorithm>

PlaceRect FitRectInside(const PlaceRect& window, const PlaceRect& area, int minWidth, int minHeight)
{
    const int width = std::max(std::min(window.Width(), area.Width()), minWidth);
    const int height = std::max(std::min(window.Height(), area.Height()), minHeight);
    const int left = std::max(std::min(window.left, area.right - width), area.left);
    const int top = std::max(std::min(window.top, area.bottom - height), area.top);
    return {left, top, left + width, top + height};
}
