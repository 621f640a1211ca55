// The chart painted off-screen with an hour of samples: the curves the
// renderer keeps between paints, followed through new samples that push the
// oldest out, paint what a chart painted afresh paints, and every plot pixel
// is the colour of the topmost line through every sample there.

#include "monitor/GraphClock.h"
#include "monitor/GraphRenderer.h"
#include "tests/monitor/GraphCurveRaster.h"

#include <gtest/gtest.h>
#include <wx/bitmap.h>
#include <wx/dcmemory.h>
#include <wx/image.h>

#include <cmath>

namespace {

GraphSample Swinging(int i)
{
    GraphSample sample;
    sample.clock = 7.0 + i * 0.1;
    for (int c = 0; c < kGraphChannels; ++c)
        sample.plotted[c] = 500 + 450 * std::sin(i * 0.01 * (c + 1)) + (i * 7919 % (40 + 20 * c)) - 30;
    return sample;
}

wxImage Paint(const wxSize& size, CGraphRecorder& recorder, GraphViewState& view)
{
    wxBitmap bitmap(size.x, size.y, 24);
    {
        wxMemoryDC dc(bitmap);
        DrawGraphChart(dc, size, recorder, view);
    }
    return bitmap.ConvertToImage();
}

} // namespace

TEST(GraphChartPaintTest, CurvesKeptBetweenPaintsShowEveryPixelOfEverySample)
{
    const wxSize size(1280, 800);
    CSystemGraphClock clock;
    CGraphRecorder recorder(clock);
    for (int c = 0; c < kGraphChannels; ++c)
        recorder.SetChannel(c, "Set Frequency", "1000", "0");
    recorder.ApplyScaleRule();
    recorder.SetMsPerDivision(900000);
    int i = 0;
    for (; i <= 36000; ++i)
        recorder.AppendSamples(Swinging(i));

    GraphViewState followed; // the cursor stays off the plot: no read-outs
    Paint(size, recorder, followed);
    for (int k = 0; k < 25; ++k, ++i) {
        recorder.AppendSamples(Swinging(i));
        if (k % 4 != 0)
            Paint(size, recorder, followed);
    }
    ASSERT_EQ(recorder.DroppedSamples(), 25u);
    wxImage image = Paint(size, recorder, followed);
    GraphViewState afresh;
    wxImage fresh = Paint(size, recorder, afresh);
    ASSERT_TRUE(image.IsOk());
    const size_t bytes = static_cast<size_t>(size.x) * size.y * 3;
    EXPECT_TRUE(std::equal(image.GetData(), image.GetData() + bytes, fresh.GetData()));

    wxBitmap scratch(8, 8, 24);
    wxMemoryDC dc(scratch);
    GraphLayout layout = MeasureGraphLayout(dc, size, recorder);
    const GraphRect& clip = layout.plotClip;
    std::vector<std::vector<bool>> lit;
    for (int c = 0; c < kGraphChannels; ++c)
        lit.push_back(
            LitPixels(clip, ThroughEverySample(layout.plot, recorder.Samples(), c, recorder.GetMsPerDivision())));
    int wrong = 0, curvePixels = 0;
    for (int y = clip.top; y < clip.bottom; ++y) {
        for (int x = clip.left; x < clip.right; ++x) {
            size_t at = static_cast<size_t>(y - clip.top) * clip.Width() + static_cast<size_t>(x - clip.left);
            int top = -1;
            for (int c = 0; c < kGraphChannels; ++c)
                if (lit[c][at])
                    top = c;
            wxColour shown(image.GetRed(x, y), image.GetGreen(x, y), image.GetBlue(x, y));
            bool ok;
            if (top >= 0) {
                ok = shown == GraphCurveColour(top);
                ++curvePixels;
            } else {
                ok = true;
                for (int c = 0; c < kGraphChannels; ++c)
                    ok = ok && shown != GraphCurveColour(c);
            }
            if (!ok && ++wrong <= 5)
                ADD_FAILURE() << "pixel " << x << "," << y << " curve " << top;
        }
    }
    EXPECT_EQ(wrong, 0);
    EXPECT_GT(curvePixels, clip.Width() * 4);
}
