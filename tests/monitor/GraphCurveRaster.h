#pragma once
// The pixels a curve lights, drawn as the renderer draws it: the reference
// that the thinned curves are held to.

#include "monitor/GraphLayout.h"

#include <deque>
#include <vector>

// The pixels of clip (row by row) that a polyline lights.
inline std::vector<bool> LitPixels(const GraphRect& clip, const std::vector<GraphPoint>& points)
{
    std::vector<bool> lit(static_cast<size_t>(clip.Width()) * clip.Height());
    for (size_t i = 1; i < points.size(); ++i)
        ForEachSegmentPixel(clip, points[i - 1], points[i], [&](int x, int y) {
            lit[static_cast<size_t>(y - clip.top) * clip.Width() + static_cast<size_t>(x - clip.left)] = true;
        });
    return lit;
}

// The curve of a channel through every sample, nothing left out.
inline std::vector<GraphPoint> ThroughEverySample(const GraphRect& plot, const std::deque<GraphSample>& samples,
                                                  int channel, int msPerDivision)
{
    std::vector<GraphPoint> points;
    for (const GraphSample& sample : samples)
        points.push_back(
            CurvePoint(plot, sample.clock, samples.front().clock, msPerDivision, sample.plotted[channel]));
    return points;
}
