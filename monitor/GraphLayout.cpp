#include "monitor/GraphLayout.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

// Far outside any plot, yet safe to turn into an int.
constexpr double kCoordinateLimit = 1e6;

int ToCoordinate(double value)
{
    if (!(value > -kCoordinateLimit))
        return static_cast<int>(-kCoordinateLimit);
    if (value > kCoordinateLimit)
        return static_cast<int>(kCoordinateLimit);
    return static_cast<int>(value); // truncates toward zero
}

long long Cross(const GraphPoint& a, const GraphPoint& b, int x, int y)
{
    return static_cast<long long>(b.x - a.x) * (y - a.y) - static_cast<long long>(b.y - a.y) * (x - a.x);
}

double SampleX(const GraphRect& plot, double t, double t0, int msPerDivision)
{
    return plot.left + (t - t0) / (msPerDivision * 4 * 0.001) * plot.Width();
}

} // namespace

GraphLayout ComputeGraphLayout(int width, int height, int valueWidth, int valueHeight, int degreeWidth,
                               int scaleMargin)
{
    GraphLayout layout;
    layout.panel = {3, 2, width - 4, height - 60};
    const GraphRect& panel = layout.panel;
    layout.plot = {panel.left + std::max(50, scaleMargin), panel.top + 5, panel.right - 20, panel.bottom - 25};
    layout.strip = {panel.left, panel.bottom + 5, panel.right, panel.bottom + 56};
    const GraphRect& strip = layout.strip;
    const GraphRect& plot = layout.plot;
    layout.plotClip = {plot.left + 2, plot.top + 2, plot.right - 2, plot.bottom - 2};

    int leftFrom = panel.right / 7 + valueWidth + 65;
    int leftTo = strip.right / 2 - degreeWidth - 10;
    int rightFrom = (2 * panel.right) / 3 + valueWidth + 50;
    int rightTo = strip.right - degreeWidth - 10;
    int m = (strip.Height() - valueHeight) / 2;
    int row1Top = strip.top + m - 15;
    int row1Bottom = row1Top + valueHeight + 4;
    int row2Top = strip.top + m + 11;
    int row2Bottom = row1Top + valueHeight + 31;
    layout.valueBoxes[0] = {leftFrom, row1Top, leftTo, row1Bottom};
    layout.valueBoxes[1] = {rightFrom, row1Top, rightTo, row1Bottom};
    layout.valueBoxes[2] = {leftFrom, row2Top, leftTo, row2Bottom};
    layout.valueBoxes[3] = {rightFrom, row2Top, rightTo, row2Bottom};
    for (int c = 0; c < kGraphChannels; ++c) {
        const GraphRect& box = layout.valueBoxes[c];
        // The left column's names may use the strip from its left edge, the
        // right column's the room after the left column's value box.
        int left = c % 2 == 0 ? strip.left + 10 : layout.valueBoxes[c - 1].right + 10;
        layout.legendBoxes[c] = {left, box.top, box.left - 10, box.bottom};
    }

    int my = plot.bottom + (panel.bottom - plot.bottom) / 2;
    layout.increaseArrow = {GraphPoint{plot.right + 18, my}, GraphPoint{plot.right + 12, my - 6},
                            GraphPoint{plot.right + 12, my + 6}};
    layout.decreaseArrow = {GraphPoint{plot.right + 3, my}, GraphPoint{plot.right + 9, my - 6},
                            GraphPoint{plot.right + 9, my + 6}};
    return layout;
}

bool TriangleContains(const GraphTriangle& t, int x, int y)
{
    long long a = Cross(t[0], t[1], x, y);
    long long b = Cross(t[1], t[2], x, y);
    long long c = Cross(t[2], t[0], x, y);
    bool negative = a < 0 || b < 0 || c < 0;
    bool positive = a > 0 || b > 0 || c > 0;
    return !(negative && positive);
}

int ArrowAt(const GraphLayout& layout, int x, int y)
{
    if (TriangleContains(layout.increaseArrow, x, y))
        return 0;
    if (TriangleContains(layout.decreaseArrow, x, y))
        return 1;
    return -1;
}

int NudgeCurveY(int y, const GraphRect& plot)
{
    if (y == plot.top)
        y = plot.top + 3;
    else if (y == plot.top + 1)
        y = plot.top + 2;
    else if (y == plot.top + 2)
        y = plot.top + 1;
    else if (y == plot.top - 1)
        y = plot.top + 3;
    if (y == plot.bottom)
        y = plot.bottom - 3;
    else if (y == plot.bottom - 1)
        y = plot.bottom - 2;
    else if (y == plot.bottom - 2)
        y = plot.bottom - 1;
    return y;
}

int CurveX(const GraphRect& plot, double t, double t0, int msPerDivision)
{
    return ToCoordinate(SampleX(plot, t, t0, msPerDivision));
}

int CurveY(const GraphRect& plot, double v)
{
    return NudgeCurveY(ToCoordinate(plot.bottom - v / (4 * kGraphUnitsPerDivision) * plot.Height()), plot);
}

GraphPoint CurvePoint(const GraphRect& plot, double t, double t0, int msPerDivision, double v)
{
    return {CurveX(plot, t, t0, msPerDivision), CurveY(plot, v)};
}

GraphReadOut ReadOutAt(const GraphRect& plot, const std::deque<GraphSample>& samples, int channel,
                       int msPerDivision, int cursorX, double scaleFactor, double minimum)
{
    GraphReadOut result;
    const size_t n = samples.size();
    if (n < 2)
        return result;
    double t0 = samples.front().clock;
    auto xOf = [&](size_t i) { return ToCoordinate(SampleX(plot, samples[i].clock, t0, msPerDivision)); };
    // The first sample at or right of the cursor (x never decreases).
    size_t low = 0, high = n;
    while (low < high) {
        size_t mid = low + (high - low) / 2;
        if (xOf(mid) < cursorX)
            low = mid + 1;
        else
            high = mid;
    }
    size_t k = low;
    size_t at = n;
    if (k < n && xOf(k) == cursorX) {
        if (k + 1 < n) // the newest sample itself is never read out
            at = k;
    } else if (k > 0 && k < n) {
        int before = xOf(k - 1);
        int after = xOf(k);
        at = cursorX - before >= after - cursorX ? k : k - 1;
    }
    if (at == n)
        return result;
    double plotted = samples[at].plotted[channel];
    double value = scaleFactor != 0 ? plotted / scaleFactor + minimum : minimum;
    char text[64];
    std::snprintf(text, sizeof text, "%.2f", value);
    result.found = true;
    result.text = text;
    result.anchor = CurvePoint(plot, samples[at].clock, t0, msPerDivision, plotted);
    return result;
}

GraphRect ReadOutBox(const GraphPoint& anchor, int cx, int cy, const GraphRect& plot,
                     const std::vector<GraphRect>& earlier)
{
    GraphRect box;
    if (anchor.y + 14 >= plot.bottom) {
        box.top = anchor.y - cy;
        box.bottom = anchor.y;
    } else {
        box.top = anchor.y;
        box.bottom = anchor.y + cy;
    }
    if (anchor.x + cx > plot.right) {
        box.left = anchor.x - cx;
        box.right = anchor.x;
    } else {
        box.left = anchor.x + 1;
        box.right = anchor.x + 1 + cx;
    }
    // Two figures side by side read as one ("20.0020.00"): a little room
    // between them.
    constexpr int kClear = 3;
    auto meets = [&](const GraphRect& at) {
        for (const GraphRect& other : earlier) {
            if (at.left < other.right + kClear && other.left < at.right + kClear && at.top < other.bottom &&
                other.top < at.bottom)
                return true;
        }
        return false;
    };
    if (!meets(box))
        return box;
    // A line further down or up, nearest first, inside the plot.
    for (int step = 1; step <= static_cast<int>(earlier.size()); ++step) {
        for (int sign : {1, -1}) {
            GraphRect moved = box;
            moved.top += sign * step * cy;
            moved.bottom += sign * step * cy;
            if (moved.top >= plot.top && moved.bottom <= plot.bottom && !meets(moved))
                return moved;
        }
    }
    // A plot too low for a column of figures: beside the others.
    int right = box.right;
    for (const GraphRect& other : earlier)
        right = std::max(right, other.right);
    box.left = right + kClear + 1;
    box.right = box.left + cx;
    return box;
}

int ScaleLabelMargin(int innerWidth, int outerWidth)
{
    // 2 pixels from the plot, the gap between the columns, 3 from the panel's edge.
    return innerWidth + kScaleLabelGap + outerWidth + 5;
}

GraphRect ScaleLabelRect(const GraphRect& plot, int channel, int k, int textWidth, int textHeight, int innerWidth)
{
    int q = plot.Height() / 4;
    int blockTop = 0;
    if (k <= 0)
        blockTop = plot.bottom - 2 * textHeight;
    else if (k >= 4)
        blockTop = plot.top;
    else
        blockTop = plot.bottom - k * q - textHeight;
    int top = blockTop + (channel >= 2 ? textHeight : 0);
    int right = plot.left - 2;
    if (channel % 2 == 0)
        right -= innerWidth + kScaleLabelGap;
    return {right - textWidth, top, right, top + textHeight};
}

int ScaleLabelsMinPlotHeight(int textHeight)
{
    // A quarter holds the half block of a middle line and the whole block
    // of an end line.
    return 4 * 3 * textHeight + 4;
}

GraphLabelAnchor TimeLabelAnchor(const GraphRect& plot, int j, bool scrolling)
{
    int w = plot.Width();
    if (j == 0)
        return {plot.left, GraphAlign::Left};
    if (j == 4)
        return {plot.right, GraphAlign::Right};
    if (scrolling)
        return {plot.right - (w * (4 - j)) / 4, GraphAlign::Centre};
    return {plot.left + (w * j) / 4, GraphAlign::Centre};
}

bool ClipSegment(const GraphRect& rect, GraphPoint& a, GraphPoint& b)
{
    // Liang-Barsky on the pixel centres of the rectangle.
    double x0 = a.x, y0 = a.y, x1 = b.x, y1 = b.y;
    double dx = x1 - x0, dy = y1 - y0;
    double from = 0, to = 1;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {x0 - rect.left, (rect.right - 1) - x0, y0 - rect.top, (rect.bottom - 1) - y0};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0)
                return false;
            continue;
        }
        double r = q[i] / p[i];
        if (p[i] < 0)
            from = std::max(from, r);
        else
            to = std::min(to, r);
        if (from > to)
            return false;
    }
    GraphPoint start{static_cast<int>(std::lround(x0 + from * dx)), static_cast<int>(std::lround(y0 + from * dy))};
    GraphPoint end{static_cast<int>(std::lround(x0 + to * dx)), static_cast<int>(std::lround(y0 + to * dy))};
    a = start;
    b = end;
    return true;
}
