#pragma once
// Where the chart draws what: pure functions of the client size, the
// measured texts and the recorder's store, shared by the screen and the saved
// picture. Rectangles have exclusive right and bottom edges.

#include "monitor/GraphClock.h"
#include "monitor/GraphRecorder.h"

#include <array>
#include <deque>
#include <string>
#include <vector>

struct GraphPoint {
    int x = 0;
    int y = 0;
    bool operator==(const GraphPoint&) const = default;
};

struct GraphRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    // Left and top inclusive, right and bottom exclusive.
    bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    bool ContainsInclusive(int x, int y) const { return x >= left && x <= right && y >= top && y <= bottom; }
    bool operator==(const GraphRect&) const = default;
};

using GraphTriangle = std::array<GraphPoint, 3>;

struct GraphLayout {
    GraphRect panel;    // the raised panel around plot and labels
    GraphRect plot;     // grid and curves
    GraphRect plotClip; // the plot less 2 pixels on every side
    GraphRect strip;    // legend and value boxes below the panel
    std::array<GraphRect, kGraphChannels> valueBoxes;
    std::array<GraphRect, kGraphChannels> legendBoxes;
    GraphTriangle increaseArrow;
    GraphTriangle decreaseArrow;
};

// valueWidth, valueHeight: the extent of "Value"; degreeWidth: the width of
// "Degree", both in the layout font. scaleMargin: what the scale labels need
// left of the plot (ScaleLabelMargin); the plot keeps at least 50 pixels.
GraphLayout ComputeGraphLayout(int width, int height, int valueWidth, int valueHeight, int degreeWidth,
                               int scaleMargin = 0);

bool TriangleContains(const GraphTriangle& triangle, int x, int y);
// 0 over the increase arrow, 1 over the decrease arrow, -1 elsewhere.
int ArrowAt(const GraphLayout& layout, int x, int y);

// A curve value on the plot's top or bottom edge moves inside the clip region.
int NudgeCurveY(int y, const GraphRect& plot);
// The column of a sample of clock t (t0 the oldest retained) and the row of
// a plotted value v, nudged off the plot's edges; a curve point is both.
int CurveX(const GraphRect& plot, double t, double t0, int msPerDivision);
int CurveY(const GraphRect& plot, double v);
GraphPoint CurvePoint(const GraphRect& plot, double t, double t0, int msPerDivision, double v);

// The read-out of one curve at a cursor x: the sample at x, or of two samples
// around x the nearer (the later one halfway). Found only with two samples or
// more and x from the oldest sample up to, not including, the newest.
struct GraphReadOut {
    bool found = false;
    GraphPoint anchor;
    std::string text; // "%.2f" of the engineering value
};
GraphReadOut ReadOutAt(const GraphRect& plot, const std::deque<GraphSample>& samples, int channel,
                       int msPerDivision, int cursorX, double scaleFactor, double minimum);
// The box of a read-out text of extent (cx, cy) at anchor: beside the anchor,
// inside the plot where it fits, and clear of the boxes of the curves drawn
// before it in the same pass (moved a line down or up, else aside), so that
// curves at one value read as separate figures.
GraphRect ReadOutBox(const GraphPoint& anchor, int cx, int cy, const GraphRect& plot,
                     const std::vector<GraphRect>& earlier);

// The scale labels: at each grid line k (0 the plot's bottom, the minimum, to
// 4 its top, the maximum) a block of two rows, yellow and green above, red
// and blue below; green and blue in the column next to the plot (right-aligned
// at plot left - 2), yellow and red in the one left of it. A block sits on
// its line, above the bottom one and below the top one, so no two labels
// meet while a quarter of the plot is three text lines high.
constexpr int kScaleLabelGap = 6;
// The room left of the plot for columns this wide.
int ScaleLabelMargin(int innerWidth, int outerWidth);
// The box of one label, textWidth x textHeight; innerWidth is the width of
// the column next to the plot.
GraphRect ScaleLabelRect(const GraphRect& plot, int channel, int k, int textWidth, int textHeight, int innerWidth);
// The plot height at which the labels of textHeight stop meeting.
int ScaleLabelsMinPlotHeight(int textHeight);

enum class GraphAlign { Left, Centre, Right };
struct GraphLabelAnchor {
    int x;
    GraphAlign align;
};
// Where the time label at position j (0 left to 4 right) sits.
GraphLabelAnchor TimeLabelAnchor(const GraphRect& plot, int j, bool scrolling);

// Clips the segment a-b to rect (right and bottom exclusive); false when
// nothing of it lies inside. Coordinates far outside stay exact.
bool ClipSegment(const GraphRect& rect, GraphPoint& a, GraphPoint& b);

// Calls put(x, y) for every pixel of the segment a-b inside rect, both ends
// included: the curves are rasterized here rather than stroked, so that a
// curve of thousands of short segments costs what its pixels cost.
template <typename Put>
void ForEachSegmentPixel(const GraphRect& rect, GraphPoint a, GraphPoint b, Put put)
{
    if (!ClipSegment(rect, a, b))
        return;
    int dx = b.x > a.x ? b.x - a.x : a.x - b.x;
    int dy = b.y > a.y ? a.y - b.y : b.y - a.y; // negative
    int sx = a.x < b.x ? 1 : -1;
    int sy = a.y < b.y ? 1 : -1;
    int error = dx + dy;
    for (;;) {
        if (rect.Contains(a.x, a.y))
            put(a.x, a.y);
        if (a.x == b.x && a.y == b.y)
            break;
        int twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            a.x += sx;
        }
        if (twice <= dx) {
            error += dx;
            a.y += sy;
        }
    }
}
