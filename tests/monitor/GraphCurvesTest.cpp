// The chart's curves: thinned to a few points per pixel column, they light
// exactly the pixels of a line through every sample, and they follow the
// store as samples arrive and go exactly as a fresh reading of it would.

#include "monitor/GraphCurves.h"

#include "tests/monitor/GraphCurveRaster.h"
#include "tests/monitor/GraphTestSupport.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>

namespace {

// The plot of a 600 x 400 chart.
const GraphRect kPlot{53, 7, 576, 315};
const GraphRect kClip{55, 9, 574, 313};

// Repeatable noise in [0, range).
int Noise(int i, int channel, int range)
{
    unsigned v = static_cast<unsigned>(i) * 2654435761u + static_cast<unsigned>(channel) * 40503u;
    v ^= v >> 13;
    return static_cast<int>((v * 2246822519u >> 8) % static_cast<unsigned>(range));
}

} // namespace

TEST(GraphCurvesTest, PolylineKeepsFirstLowestHighestAndLastOfEachColumnInTimeOrder)
{
    const GraphRect plot{0, 0, 100, 1000}; // one unit per pixel upwards
    std::deque<GraphSample> samples;
    // 4 s span over 100 pixels: 40 ms per pixel; five samples in column 0.
    for (double v : {500.0, 700.0, 100.0, 300.0, 400.0})
        samples.push_back(SampleAt(0.001 * samples.size(), v));
    samples.push_back(SampleAt(0.040, 600.0)); // column 1
    samples.push_back(SampleAt(0.080, 650.0)); // column 2
    std::vector<GraphPoint> points = CurvePolyline(plot, samples, 0, 1000);
    EXPECT_EQ(points, (std::vector<GraphPoint>{{0, 500}, {0, 300}, {0, 900}, {0, 600}, {1, 400}, {2, 350}}));
    // A level run is its two ends: two samples on one pixel still light it.
    std::deque<GraphSample> level{SampleAt(0, 500.0), SampleAt(0.001, 500.0)};
    EXPECT_EQ(CurvePolyline(plot, level, 0, 1000), (std::vector<GraphPoint>{{0, 500}, {0, 500}}));

    // An hour of samples at 100 ms costs no more points than the columns.
    std::deque<GraphSample> hour;
    for (int i = 0; i < 36000; ++i)
        hour.push_back(SampleAt(i * 0.1, (i * 37) % 1000));
    EXPECT_LE(CurvePolyline(plot, hour, 0, 900000).size(), 4u * 101);
    // A span shorter than the store: the samples beyond the right edge are
    // the first and the last of them.
    std::vector<GraphPoint> cut = CurvePolyline(plot, hour, 0, 1000);
    ASSERT_GE(cut.size(), 2u);
    EXPECT_GT(cut[cut.size() - 2].x, plot.right);
    EXPECT_GT(cut.back().x, plot.right);
    EXPECT_LE(cut.size(), 4u * 101 + 2);
}

TEST(GraphCurvesTest, ThinnedCurvesLightTheSamePixelsAsALineThroughEverySample)
{
    struct Case {
        const char* name;
        int count;
        int msPerDivision;
        std::function<double(int)> clock;
        std::function<double(int, int)> value; // of sample i, channel c
        bool ordered;
    };
    auto sweep = [](int i, int c) { return -100.0 + Noise(i, c, 1200); }; // beyond the scale both ways
    auto swings = [](int i, int c) { return 500 + 450 * std::sin(i * 0.01 * (c + 1)) + Noise(i, c, 97); };
    auto every100ms = [](int i) { return i * 0.1; };
    const Case cases[] = {
        {"a minute, values across and beyond the scale", 600, 15000, every100ms, sweep, true},
        {"an hour of swings and jitter", 36000, 900000, every100ms, swings, true},
        {"steps onto the edges, several samples a column", 300, 60000, every100ms,
         [](int i, int c) { return ((i / (3 + c)) % 2) ? 1000.0 : 0.0; }, true},
        {"steps, one sample a column or fewer", 300, 7500, every100ms,
         [](int i, int c) { return ((i / (2 + c)) % 3) * 400.0 + 1.0; }, true},
        {"an imported file longer than the span", 2000, 1000, every100ms, swings, true},
        {"samples of one instant", 1000, 15000, [](int i) { return (i / 5) * 0.1; }, sweep, true},
        {"an import across midnight", 900, 15000,
         [](int i) { return i < 300 ? 86370 + i * 0.1 : (i - 300) * 0.1; }, sweep, false},
        {"an import running back into the plot", 600, 10000,
         [](int i) { return i < 200 ? i * 0.1 : 5.0 + (i % 200) * 0.1; }, swings, false},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        std::deque<GraphSample> samples;
        for (int i = 0; i < test.count; ++i) {
            GraphSample sample;
            sample.clock = test.clock(i);
            for (int c = 0; c < kGraphChannels; ++c)
                sample.plotted[c] = test.value(i, c);
            samples.push_back(sample);
        }
        GraphPolylines thinned = CurvePolylines(kPlot, samples, test.msPerDivision);
        for (int c = 0; c < kGraphChannels; ++c) {
            std::vector<bool> expected = LitPixels(kClip, ThroughEverySample(kPlot, samples, c, test.msPerDivision));
            ASSERT_NE(std::count(expected.begin(), expected.end(), true), 0) << c;
            EXPECT_TRUE(LitPixels(kClip, thinned[c]) == expected) << "channel " << c;
            // As the renderer marks them, a column's run as one span.
            std::vector<unsigned char> cells(expected.size());
            MarkCurveCells(kClip, thinned[c], 1, cells.data());
            EXPECT_TRUE(std::equal(expected.begin(), expected.end(), cells.begin(),
                                   [](bool lit, unsigned char cell) { return lit == (cell != 0); }))
                << "channel " << c;
            if (!test.ordered)
                continue;
            std::map<int, int> perColumn;
            for (const GraphPoint& p : thinned[c])
                if (p.x >= kPlot.left && p.x <= kPlot.right)
                    ++perColumn[p.x];
            for (const auto& [x, n] : perColumn)
                EXPECT_LE(n, 4) << "column " << x;
        }
    }
}

TEST(GraphCurvesTest, CurvesFollowTheStoreAsSamplesArriveAndGo)
{
    SteppedClock clock;
    CGraphRecorder recorder(clock);
    recorder.SetMsPerDivision(2000); // 8 s: the store prunes from the 81st sample on
    CGraphCurves curves;
    GraphRect plot = kPlot;
    double t = 100;
    auto check = [&](int step) {
        const GraphPolylines& followed = curves.Update(plot, recorder);
        ASSERT_TRUE(followed == CurvePolylines(plot, recorder.Samples(), recorder.GetMsPerDivision()))
            << "step " << step;
    };
    const double steps[] = {0.1, 0.1, 0.05, 0.3, 0.0, 0.1, 0.1};
    for (int i = 0; i < 700; ++i) {
        if (i == 250)
            recorder.DecreaseSpan(); // the next sample drops four seconds at once
        if (i == 350)
            plot = {53, 7, 400, 200}; // the window shrinks
        if (i == 450) {
            recorder.ResetSamples(); // a new run over the same clocks
            t = 100;
        }
        t += steps[i % 7];
        GraphSample sample = SampleAt(t);
        for (int c = 0; c < kGraphChannels; ++c)
            sample.plotted[c] = Noise(i, c, i < 450 ? 1000 : 300);
        recorder.AppendSamples(sample);
        if (i % 5 != 3) // some paints see several samples come and go
            check(i);
    }

    // An import across midnight, read in as it grows; then another file of
    // the same times, seen only when complete: nothing but the reset tells
    // the two apart.
    for (int file = 0; file < 2; ++file) {
        recorder.ResetSamples();
        for (int i = 0; i < 400; ++i) {
            recorder.KeepSample(SampleAt(i < 200 ? 86380 + i * 0.1 : (i - 200) * 0.1, Noise(i, file, 1000)));
            if (file == 0 ? i % 50 == 49 : i == 399)
                check(1000 * (file + 1) + i);
        }
    }
    // A start: the chart paints the empty store first, then the samples come
    // with clocks that count from the machine's boot.
    for (double from : {0.0, 734512.3}) {
        recorder.ResetSamples();
        check(2999);
        for (int i = 0; i < 100; ++i) {
            recorder.AppendSamples(SampleAt(from + i * 0.1, Noise(i, 1, 1000)));
            check(3000 + i);
        }
    }
}
