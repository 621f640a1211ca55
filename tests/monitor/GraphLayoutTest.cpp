// The chart's geometry: layout of a client, curve points and their edge
// nudges, read-outs and label positions.

#include "monitor/GraphLayout.h"

#include "tests/monitor/GraphTestSupport.h"

TEST(GraphLayoutTest, LayoutOfA600By400Client)
{
    // "Value" 30 x 15 and "Degree" 40 wide in the layout font.
    GraphLayout layout = ComputeGraphLayout(600, 400, 30, 15, 40);
    EXPECT_EQ(layout.panel, (GraphRect{3, 2, 596, 340}));
    EXPECT_EQ(layout.plot, (GraphRect{53, 7, 576, 315}));
    EXPECT_EQ(layout.plotClip, (GraphRect{55, 9, 574, 313}));
    EXPECT_EQ(layout.strip, (GraphRect{3, 345, 596, 396}));
    EXPECT_EQ(layout.valueBoxes[0], (GraphRect{180, 348, 248, 367}));
    EXPECT_EQ(layout.valueBoxes[1], (GraphRect{477, 348, 546, 367}));
    EXPECT_EQ(layout.valueBoxes[2], (GraphRect{180, 374, 248, 394}));
    EXPECT_EQ(layout.valueBoxes[3], (GraphRect{477, 374, 546, 394}));
    for (int c = 0; c < kGraphChannels; ++c) {
        EXPECT_EQ(layout.legendBoxes[c].right, layout.valueBoxes[c].left - 10);
        EXPECT_EQ(layout.legendBoxes[c].top, layout.valueBoxes[c].top);
        EXPECT_EQ(layout.legendBoxes[c].bottom, layout.valueBoxes[c].bottom);
    }
    EXPECT_EQ(layout.increaseArrow, (GraphTriangle{GraphPoint{594, 327}, {588, 321}, {588, 333}}));
    EXPECT_EQ(layout.decreaseArrow, (GraphTriangle{GraphPoint{579, 327}, {585, 321}, {585, 333}}));
    EXPECT_EQ(ArrowAt(layout, 590, 327), 0);
    EXPECT_EQ(ArrowAt(layout, 582, 327), 1);
    EXPECT_EQ(ArrowAt(layout, 587, 327), -1);
    EXPECT_EQ(ArrowAt(layout, 590, 321), -1);
}

TEST(GraphLayoutTest, CurvePointsAndEdgeNudges)
{
    const GraphRect plot{53, 7, 576, 315}; // 523 x 308
    struct Case {
        int y;
        int nudged;
    } cases[] = {{7, 10}, {8, 9}, {9, 8}, {6, 10}, {10, 10}, {315, 312}, {314, 313}, {313, 314}, {316, 316}, {100, 100}};
    for (const Case& c : cases)
        EXPECT_EQ(NudgeCurveY(c.y, plot), c.nudged) << c.y;
    // 15 s per division: one minute spans the plot's width.
    EXPECT_EQ(CurvePoint(plot, 10.0, 10.0, 15000, 0.0), (GraphPoint{53, 312}));    // minimum: 3 above the bottom
    EXPECT_EQ(CurvePoint(plot, 40.0, 10.0, 15000, 1000.0), (GraphPoint{314, 10})); // maximum: 3 below the top
    EXPECT_EQ(CurvePoint(plot, 70.0, 10.0, 15000, 500.0), (GraphPoint{576, 161}));
    EXPECT_EQ(CurvePoint(plot, 10.0, 10.0, 15000, 1e300).y, -1000000); // far out, no overflow
}

TEST(GraphLayoutTest, ReadOutsAtBetweenAndOutsideSamples)
{
    const GraphRect plot{0, 0, 400, 1000};
    std::deque<GraphSample> samples;
    // Samples every second, 4 s on 400 pixels: x = 0, 100, 200.
    for (double v : {100.0, 200.0, 300.0})
        samples.push_back(SampleAt(samples.size() * 1.0, v));
    const double factor = 100.0; // plotted = (value - 5) x 100
    struct Case {
        int x;
        bool found;
        const char* text;
        int anchorX;
    } cases[] = {
        {0, true, "6.00", 0},    {100, true, "7.00", 100}, {49, true, "6.00", 0}, {50, true, "7.00", 100},
        {51, true, "7.00", 100}, {200, false, "", 0},       {-1, false, "", 0},   {250, false, "", 0},
    };
    for (const Case& c : cases) {
        GraphReadOut r = ReadOutAt(plot, samples, 0, 1000, c.x, factor, 5.0);
        EXPECT_EQ(r.found, c.found) << c.x;
        EXPECT_EQ(r.text, c.text) << c.x;
        if (c.found) {
            EXPECT_EQ(r.anchor.x, c.anchorX) << c.x;
        }
    }
    samples.pop_back();
    samples.pop_back();
    EXPECT_FALSE(ReadOutAt(plot, samples, 0, 1000, 0, factor, 5.0).found); // one sample
}

TEST(GraphLayoutTest, ReadOutBoxesLabelsAndTimeLabelPlaces)
{
    const GraphRect plot{53, 7, 576, 315};
    EXPECT_EQ(ReadOutBox({100, 100}, 40, 16, plot, {}), (GraphRect{101, 100, 141, 116}));
    EXPECT_EQ(ReadOutBox({560, 305}, 40, 16, plot, {}), (GraphRect{520, 289, 560, 305}));
    EXPECT_EQ(ReadOutBox({100, 112}, 40, 16, plot, {{101, 95, 141, 111}}), (GraphRect{101, 112, 141, 128}));

    // Four curves at one value, in the middle, at the bottom edge and at the
    // right edge, and in a plot only two lines high: four separate figures,
    // a little room between neighbours, inside the plot where it has room.
    const GraphRect low{53, 7, 576, 40};
    const struct {
        GraphRect plot;
        GraphPoint anchor;
    } crowds[] = {{plot, {100, 100}}, {plot, {300, 314}}, {plot, {570, 150}}, {plot, {53, 7}}, {low, {200, 20}}};
    for (const auto& crowd : crowds) {
        std::vector<GraphRect> boxes;
        for (int curve = 0; curve < kGraphChannels; ++curve)
            boxes.push_back(ReadOutBox(crowd.anchor, 40, 16, crowd.plot, boxes));
        for (size_t a = 0; a < boxes.size(); ++a) {
            if (crowd.plot.Height() > 4 * 16) {
                EXPECT_GE(boxes[a].top, crowd.plot.top);
                EXPECT_LE(boxes[a].bottom, crowd.plot.bottom);
            }
            for (size_t b = 0; b < a; ++b) {
                bool apart = boxes[a].left >= boxes[b].right + 3 || boxes[b].left >= boxes[a].right + 3 ||
                             boxes[a].top >= boxes[b].bottom || boxes[b].top >= boxes[a].bottom;
                EXPECT_TRUE(apart) << "curves " << b << " and " << a << " at " << crowd.anchor.x << ","
                                   << crowd.anchor.y;
            }
        }
    }

    // The scale labels of all four channels at all five lines, 16 pixels
    // high, at the lowest plot that takes them: no two meet, all left of the plot.
    for (int height : {ScaleLabelsMinPlotHeight(16), 308}) {
        const GraphRect scalePlot{150, 7, 576, 7 + height};
        std::vector<GraphRect> labels;
        for (int c = 0; c < kGraphChannels; ++c)
            for (int k = 0; k < 5; ++k)
                labels.push_back(ScaleLabelRect(scalePlot, c, k, c % 2 ? 30 : 44, 16, 36));
        for (size_t a = 0; a < labels.size(); ++a) {
            EXPECT_LE(labels[a].right, scalePlot.left - 2);
            EXPECT_GE(labels[a].left, scalePlot.left - ScaleLabelMargin(36, 44) + 3);
            EXPECT_GE(labels[a].top, scalePlot.top);
            EXPECT_LE(labels[a].bottom, scalePlot.bottom);
            for (size_t b = 0; b < a; ++b) {
                bool apart = labels[a].left >= labels[b].right || labels[b].left >= labels[a].right ||
                             labels[a].top >= labels[b].bottom || labels[b].top >= labels[a].bottom;
                EXPECT_TRUE(apart) << "labels " << b << " and " << a << " at height " << height;
            }
        }
    }
    // Each label sits at its own grid line: the minimum on the bottom edge,
    // the maximum on the top edge, the others across their line.
    EXPECT_EQ(ScaleLabelRect(plot, 2, 0, 30, 16, 36).bottom, plot.bottom);
    EXPECT_EQ(ScaleLabelRect(plot, 0, 4, 30, 16, 36).top, plot.top);
    EXPECT_EQ(ScaleLabelRect(plot, 1, 2, 30, 16, 36).bottom, plot.bottom - 2 * 77);
    EXPECT_EQ(ScaleLabelRect(plot, 3, 2, 30, 16, 36).top, plot.bottom - 2 * 77);

    EXPECT_EQ(TimeLabelAnchor(plot, 0, false).x, 53);
    EXPECT_EQ(TimeLabelAnchor(plot, 1, false).x, 53 + 130);
    EXPECT_EQ(TimeLabelAnchor(plot, 1, true).x, 576 - 392);
    EXPECT_EQ(TimeLabelAnchor(plot, 4, true).align, GraphAlign::Right);
}

TEST(GraphLayoutTest, SegmentsAreRasterizedInsideTheClipOnly)
{
    const GraphRect clip{10, 10, 20, 20};
    std::vector<GraphPoint> pixels;
    auto collect = [&](int x, int y) { pixels.push_back({x, y}); };
    ForEachSegmentPixel(clip, {12, 15}, {15, 15}, collect);
    EXPECT_EQ(pixels, (std::vector<GraphPoint>{{12, 15}, {13, 15}, {14, 15}, {15, 15}}));
    pixels.clear();
    ForEachSegmentPixel(clip, {15, -1000000}, {15, 1000000}, collect); // far out, no long walk
    EXPECT_EQ(pixels.size(), 10u);
    EXPECT_EQ(pixels.front(), (GraphPoint{15, 10}));
    EXPECT_EQ(pixels.back(), (GraphPoint{15, 19}));
    pixels.clear();
    ForEachSegmentPixel(clip, {0, 0}, {5, 30}, collect);
    EXPECT_TRUE(pixels.empty());
    ForEachSegmentPixel(clip, {0, 0}, {30, 30}, collect);
    EXPECT_EQ(pixels.size(), 10u);
    for (const GraphPoint& p : pixels)
        EXPECT_EQ(p.x, p.y);
}
