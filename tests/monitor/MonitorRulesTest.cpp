// What the live windows compute without a window: the knob, the segment
// display, the monitor quantities, the command words, the frequency entries
// the status lamps, and which drive the keypad takes itself to face.

#include "document/D390DocData.h"
#include "monitor/CommandWords.h"
#include "monitor/FrequencyText.h"
#include "monitor/KeypadKnob.h"
#include "monitor/LiveDriveInfo.h"
#include "monitor/MonitorQuantities.h"
#include "monitor/SegmentDisplay.h"
#include "monitor/StatusLamps.h"
#include "session/DriveSession.h"
#include "tests/common/RecordingWindows.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(KeypadKnob, EndStopsGiveTheLimitsAndPlacementStaysOnTheDial)
{
    // Released at the lower-left and lower-right end stops, limits 0.00 to 60.00.
    const auto lowest = DragKnob({ 200, 240 }, 0, 6000);
    ASSERT_TRUE(lowest && lowest->frequency);
    EXPECT_NEAR(*lowest->frequency, 0, 1e-6);
    const auto highest = DragKnob({ 270, 240 }, 0, 6000);
    ASSERT_TRUE(highest && highest->frequency);
    EXPECT_NEAR(*highest->frequency, 6000, 1e-6);
    // Straight up is the middle of the travel but names no frequency; straight down does nothing.
    const auto up = DragKnob({ 232, 150 }, 0, 6000);
    ASSERT_TRUE(up);
    EXPECT_FALSE(up->frequency);
    EXPECT_EQ(up->pointer[0], (KnobPoint { 232, 171 }));
    EXPECT_FALSE(DragKnob({ 232, 200 }, 0, 6000));
    EXPECT_FALSE(DragKnob({ 240, 266 }, 0, 6000)) << "more than 72 pixels below the centre";
    // Upper left and upper right meet at the middle.
    EXPECT_NEAR(*DragKnob({ 231, 100 }, 1000, 5000)->frequency, 3000, 20);
    EXPECT_NEAR(*DragKnob({ 233, 100 }, 1000, 5000)->frequency, 3000, 20);

    // The pointer's tip lies 22 pixels out towards the point.
    const auto right = DragKnob({ 300, 193 }, 0, 6000);
    EXPECT_EQ(right->pointer[0], (KnobPoint { 254, 193 }));

    // Equal limits: f = 0, no division by zero; a set frequency beyond the limits is clamped.
    EXPECT_EQ(KnobFraction(3000, 5000, 5000), 0.0);
    EXPECT_EQ(KnobFraction(9000, 0, 6000), 1.0);
    EXPECT_EQ(KnobFraction(3000, 0, 6000), 0.5);
    // A placed pointer names (about) the frequency it was placed from.
    for (double f : { 0.1, 0.3, 0.45, 0.7, 0.9 }) {
        const KnobPoint p = KnobPointForFraction(f);
        const auto drag = DragKnob(p, 0, 6000);
        ASSERT_TRUE(drag && drag->frequency) << f;
        EXPECT_NEAR(*drag->frequency, f * 6000, 6000 * 0.04) << f;
    }
}

TEST(SegmentDisplay, LaysOutFromTheRightAndDropsDigitsBeyondTheFifth)
{
    const SegmentLayout six = LayOutSegments("1234.56");
    EXPECT_EQ(six.shown, "234.56");
    ASSERT_EQ(six.digits.size(), 5u);
    EXPECT_EQ(six.digits[0], (SegmentDigit { 205, 163, '6' }));
    EXPECT_EQ(six.digits[4], (SegmentDigit { 65, 159, '2' }));
    EXPECT_EQ(six.pointX, 160) << "two digits to the point's right";

    const SegmentLayout zero = LayOutSegments("0.0");
    EXPECT_EQ(zero.digits[0].bitmap, kBitmapDigitZero);
    EXPECT_EQ(zero.pointX, 195);
    const SegmentLayout whole = LayOutSegments("311");
    EXPECT_EQ(whole.pointX, -1);
    EXPECT_EQ(whole.digits.size(), 3u);
}

TEST(MonitorQuantities, TableCountsAndTheVersionRuleOfTheExtendedEntries)
{
    EXPECT_EQ(MonitorQuantityCount(0x1100000), 9);
    EXPECT_EQ(MonitorBlockCount(0x1100000), 11);
    EXPECT_EQ(MonitorQuantityCount(0x1100001), 12);
    EXPECT_EQ(MonitorBlockCount(0x1100001), 16);

    std::uint16_t block[16] = {};
    block[0] = 5000; // set frequency
    block[2] = 2201; // output voltage
    block[3] = 311; // DC voltage
    block[0x252D - 0x2523] = 250; // ACI, 0.02 mA steps
    block[0x2531 - 0x2523] = 412; // temperature
    block[0x2532 - 0x2523] = 77; // percentage
    const struct {
        int index;
        int model;
        float version;
        bool readout;
        const char* text;
    } cases[] = {
        { 0, 1202, 1.0f, true, "50.00 Hz" },
        { 0, 1202, 1.0f, false, "50.00" },
        { 2, 1202, 1.0f, true, "220.1 V" },
        { 3, 1202, 1.0f, true, "311 V" },
        { 8, 1202, 1.0f, true, "5.00 mA" },
        { 10, 0x1100065, 1.10f, true, "41.2 Degree C" },
        { 11, 0x1100065, 1.10f, false, "77" },
        { 10, 0x1100065, 1.05f, true, "0.0 Degree C" },
        { 11, 0x1100065, 1.05f, false, "0" },
        { 10, 0x1110065, 1.05f, true, "41.2 Degree C" }, // the S-P family has no version rule
        { 10, 0x1100065, 1.06f, true, "41.2 Degree C" }, // exactly the threshold passes
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatMonitorQuantity(c.index, block, 16, c.model, c.version, c.readout), c.text) << c.index;
    EXPECT_EQ(FormatMonitorQuantity(10, block, 11, 1202, 1.0f, true), "0.0 Degree C") << "outside the block read";
}

TEST(CommandWords, EachButtonChangesOnlyItsBits)
{
    const std::uint16_t word = 0x0040;
    EXPECT_EQ(ApplyControlCommand(ControlCommand::Run, word), 0x0041);
    EXPECT_EQ(ApplyControlCommand(ControlCommand::Run, 0x0041), 0x0041) << "rewritten unchanged";
    EXPECT_EQ(ApplyControlCommand(ControlCommand::Stop, 0x0043), 0x0042);
    EXPECT_EQ(ApplyControlCommand(ControlCommand::Forward, 0x0043), 0x0041);
    EXPECT_EQ(ApplyControlCommand(ControlCommand::Reverse, word), 0x0042);
    EXPECT_EQ(ApplyControlCommand(ControlCommand::Abnormal, word), 0x0044);
    EXPECT_EQ(ApplyControlCommand(ControlCommand::FaultReset, word), 0x0048);

    EXPECT_EQ(KeypadRunWord(0x0002), std::optional<std::uint16_t>(0x0003));
    EXPECT_EQ(KeypadRunWord(0x0003), std::nullopt);
    EXPECT_EQ(KeypadStopWord(0x0003), std::optional<std::uint16_t>(0x0002));
    EXPECT_EQ(KeypadStopWord(0x0002), std::nullopt);

    EXPECT_EQ(JogWord(0x0000, kBitJogForward, true), 0x0010);
    EXPECT_EQ(JogWord(0x0011, kBitJogForward, false), 0x0001);
    EXPECT_EQ(JogWord(0x0000, kBitJogReverse, false), 0x0000) << "a stopped drive stays stopped";
}

TEST(FrequencyText, FiltersAndConvertsAsBothWindowsDo)
{
    const struct {
        const char* previous;
        const char* typed;
        double max;
        const char* kept;
    } cases[] = {
        { "12", "12.3", 1200.0, "12.3" },
        { "", ".5", 1200.0, "" },
        { "1.2", "1.2.", 1200.0, "1.2" },
        { "12", "12a", 1200.0, "12" },
        { "1200", "1200.1", 1200.0, "1200" },
        { "12.34", "12.345", 1200.0, "12.34" },
        { "60", "60.01", 60.001, "60" },
        { "", "", 60.001, "" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(FilterFrequencyText(c.previous, c.typed, c.max), c.kept) << c.typed;

    EXPECT_EQ(FrequencyHundredths(0.29), 29);
    EXPECT_EQ(FrequencyHundredths(50.01), 5001);
    EXPECT_EQ(FrequencyHundredths(50.0), 5000);
    EXPECT_TRUE(KeypadFrequencyInRange(60.0, 0, 6000));
    EXPECT_FALSE(KeypadFrequencyInRange(60.01, 0, 6000));
    EXPECT_TRUE(ControlFrequencyInRange(60.0, 0, 6000));
    EXPECT_FALSE(ControlFrequencyInRange(60.01, 0, 6000));
    EXPECT_FALSE(ControlFrequencyInRange(700.0, 0, 6000)) << "700.00 must not pass as 4464 after the cut";
}

TEST(StatusLamps, LampsAndValuesAtThePagesPositions)
{
    const auto lamps = StatusPageLamps(0x0009);
    const std::vector<StatusLamp> expected {
        { 143, 189, kBitmapLampRed, "" },
        { 143, 213, kBitmapLampGreen, "" },
        { 143, 141, kBitmapLampRed, "" },
        { 497, 117, kBitmapLampRed, "" },
    };
    EXPECT_EQ(lamps, expected);
    EXPECT_EQ(DescribeLamps(lamps), "Running, Forward, Fault, Current fault");
    EXPECT_EQ(StatusPageLamps(0x0006),
        (std::vector<StatusLamp> { { 143, 117, kBitmapLampGreen, "" }, { 143, 165, kBitmapLampOrange, "" },
            { 143, 237, kBitmapLampGreen, "" } }));

    EXPECT_EQ(TerminalPageLamps(0x0060), (std::vector<StatusLamp> { { 251, 320, kBitmapLampGreen, "" } }))
        << "bit 5 is not shown";
    EXPECT_EQ(TerminalPageLamps(0x001F).size(), 5u);
    EXPECT_EQ(DescribeLamps(TerminalPageLamps(0)), "No lamp lit");

    const int values[5] = { 5000, 2999, 2200, 311, 53 };
    const auto texts = StatusPageValues(values);
    ASSERT_EQ(texts.size(), 5u);
    const char* shown[] = { "50.00", "29.99", "5.3", "220.0", "311" };
    const int ys[] = { 119, 142, 167, 191, 215 };
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(texts[i].text, shown[i]);
        EXPECT_EQ(texts[i].y, ys[i]);
        EXPECT_EQ(texts[i].x, 372);
    }
}

// The project's model and drive version while one is open, else the first
// connected station's, else the default model.
TEST(LiveDriveInfo, ProjectFirstThenTheFirstStationThenTheDefaultModel)
{
    RecordingWindows windows;
    CD390DocData project(windows);
    project.m_nModelCode = 0x1100000 + 1202;
    project.m_fDriveVersion = 1.13f;
    const struct {
        bool withProject;
        std::vector<int> models;
        std::vector<int> versions;
        int model;
        float version;
    } cases[] = {
        { true, { 0x11004B2 }, { 1100 }, 0x1100000 + 1202, 1.13f },
        { true, {}, {}, 0x1100000 + 1202, 1.13f },
        { false, { 0x11004B2, 0x1100000 + 1202 }, { 1093, 1130 }, 0x11004B2, 1.093f },
        { false, { 0x11004B2 }, {}, kDefaultModelCode, 0.0f },
        { false, {}, {}, kDefaultModelCode, 0.0f },
    };
    for (const auto& c : cases) {
        CDriveSession session(windows);
        session.m_StationModels = c.models;
        session.m_StationVersions = c.versions;
        const LiveDriveInfo info = LiveDriveInfoOf(session, c.withProject ? &project : nullptr);
        EXPECT_EQ(info.modelCode, c.model) << c.withProject << " " << c.models.size();
        EXPECT_NEAR(info.version, c.version, 1e-6) << c.withProject << " " << c.models.size();
    }
}
