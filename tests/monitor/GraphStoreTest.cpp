// The sample store, the span arrows and the time axis, with a stepped clock.

#include "tests/monitor/GraphTestSupport.h"

#include <functional>

namespace {

std::vector<std::string> Texts(const std::array<GraphTimeOfDay, 5>& labels)
{
    std::vector<std::string> texts;
    for (const auto& label : labels)
        texts.push_back(label.Text());
    return texts;
}

} // namespace

TEST(GraphStoreTest, KeepsTheSpanShownAndPrunesAfterItShrinks)
{
    SteppedClock clock;
    CGraphRecorder recorder(clock);
    ASSERT_EQ(recorder.GetMsPerDivision(), 15000);
    recorder.AppendSamples(SampleAt(0.0));
    recorder.AppendSamples(SampleAt(57.5));
    recorder.AppendSamples(SampleAt(60.0)); // exactly 60 s after the first: kept
    EXPECT_EQ(recorder.Samples().size(), 3u);
    recorder.AppendSamples(SampleAt(60.001));
    EXPECT_EQ(recorder.Samples().size(), 3u);
    EXPECT_DOUBLE_EQ(recorder.Samples().front().clock, 57.5);

    recorder.ResetSamples();
    for (double t : {0.0, 3.0, 10.0, 59.0})
        recorder.AppendSamples(SampleAt(t));
    recorder.DecreaseSpan();
    EXPECT_EQ(recorder.GetMsPerDivision(), 14000);
    EXPECT_EQ(recorder.Samples().size(), 4u); // nothing dropped before the next sample
    recorder.AppendSamples(SampleAt(60.0));
    ASSERT_EQ(recorder.Samples().size(), 3u); // older than 56 s dropped
    EXPECT_DOUBLE_EQ(recorder.Samples().front().clock, 10.0);
}

TEST(GraphStoreTest, ArrowsChangeTheSpanByOneSecondPerDivision)
{
    SteppedClock clock;
    CGraphRecorder recorder(clock);
    struct Case {
        int from;
        bool increase;
        int to;
    } cases[] = {{1500, false, 1000}, {2000, false, 1000}, {1000, false, 1000}, {250, false, 1000},
                 {250, true, 1250},   {15000, true, 16000}};
    for (const Case& c : cases) {
        recorder.SetMsPerDivision(c.from);
        c.increase ? recorder.IncreaseSpan() : recorder.DecreaseSpan();
        EXPECT_EQ(recorder.GetMsPerDivision(), c.to) << c.from << (c.increase ? " up" : " down");
    }
    recorder.SetMsPerDivision(0);
    EXPECT_EQ(recorder.GetMsPerDivision(), 1);
}

TEST(GraphStoreTest, TimeLabelsCrossMidnightBothWays)
{
    SteppedClock clock;
    clock.m_seconds = 0;
    clock.m_start = {23, 59, 58, 0};
    CGraphRecorder recorder(clock);
    recorder.SetMsPerDivision(1000);
    recorder.StartSampling();
    EXPECT_EQ(Texts(recorder.TimeAxisLabels()), (std::vector<std::string>{"23:59:58.000", "23:59:59.000",
                                                                        "00:00:00.000", "00:00:01.000",
                                                                        "00:00:02.000"}));
    // Scrolling once the run is longer than the span: the newest sample at the
    // right edge, the labels counting back over midnight.
    for (int i = 0; i < 45; ++i) {
        clock.Step(0.1);
        recorder.m_bRunHasSamples = true;
        recorder.m_dRunLastClock = recorder.m_dNewestClock = clock.m_seconds;
    }
    ASSERT_TRUE(recorder.IsAxisScrolling());
    EXPECT_EQ(Texts(recorder.TimeAxisLabels()), (std::vector<std::string>{"23:59:58.500", "23:59:59.500",
                                                                        "00:00:00.500", "00:00:01.500",
                                                                        "00:00:02.500"}));
    EXPECT_EQ(recorder.m_TimeAxisBase.Text(), "23:59:58.500");
    // After a stop the axis stays where it was last drawn.
    recorder.StopSampling();
    EXPECT_EQ(recorder.TimeAxisLabels()[0].Text(), "23:59:58.500");
    for (long long ms : {59999LL, 3599999LL, -1LL, 86400000LL + 61000}) {
        GraphTimeOfDay t = GraphTimeOfDay::FromMilliseconds(ms);
        EXPECT_LT(t.second, 60);
        EXPECT_LT(t.minute, 60);
        EXPECT_LT(t.hour, 24);
    }
    EXPECT_EQ(GraphTimeOfDay::FromMilliseconds(-1).Text(), "23:59:59.999");
}

TEST(GraphStoreTest, AScaleWithoutHeightDrawsOnTheBottomEdgeInsteadOfDividingByZero)
{
    SteppedClock clock;
    CGraphRecorder recorder(clock);
    recorder.SetChannel(0, "DC Voltage", "5", "5.00"); // only a hand-edited project holds one
    recorder.ApplyScaleRule();
    EXPECT_EQ(recorder.m_Channels[0].scaleFactor, 0.0);
    EXPECT_EQ(recorder.m_Channels[0].scaleLabels[2], "5.00");
}
