// The sampling tick against the simulated drive: the frames it sends, the
// values it makes of the replies, and how it stops on link failures.

#include "tests/monitor/GraphTestSupport.h"

#include "monitor/GraphQuantities.h"

namespace {

std::vector<uint8_t> ReadFrame(uint8_t station, uint8_t count)
{
    std::vector<uint8_t> frame{station, 0x03, 0x25, 0x23, 0x00, count};
    uint16_t crc = CalcCrc16(frame.size(), frame.data());
    frame.push_back(static_cast<uint8_t>(crc & 0xFF));
    frame.push_back(static_cast<uint8_t>(crc >> 8));
    return frame;
}

// A link that reports a result the link's own four do not cover, a given
// number of times, then behaves as the link it is.
class OddResultLink : public CSerialComm {
public:
    ErrType CommandSend(uint8_t* tx, unsigned long txLen, uint8_t* rx, unsigned long rxLen) override
    {
        if (m_odd > 0) {
            --m_odd;
            return static_cast<ErrType>(4);
        }
        return CSerialComm::CommandSend(tx, txLen, rx, rxLen);
    }
    int m_odd = 0;
};

} // namespace

using GraphSamplingTest = GraphDriveTest;

TEST_F(GraphSamplingTest, ReadsElevenOrSixteenRegistersByModelCode)
{
    m_recorder.StartSampling();
    m_drive->ClearFrameLog();
    ASSERT_EQ(Tick(0x1100000), GraphTick::Sampled);
    ASSERT_EQ(Tick(0x1100001), GraphTick::Sampled);
    auto frames = m_drive->GetFrameLog();
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[0].request, ReadFrame(1, 11));
    EXPECT_EQ(frames[0].reply.size(), 27u);
    EXPECT_EQ(frames[1].request, ReadFrame(1, 16));
    EXPECT_EQ(frames[1].reply.size(), 37u);
    EXPECT_EQ(m_recorder.Samples().size(), 2u);
}

TEST_F(GraphSamplingTest, RepliesBecomeValuesTextsAndPlottedValues)
{
    m_drive->SetRegister(1, 0x2523, 5000);
    m_drive->SetRegister(1, 0x2526, 540);
    m_drive->SetRegister(1, 0x252A, 850);
    m_drive->SetRegister(1, 0x252D, 500);
    m_drive->SetRegister(1, 0x2531, 456); // Temperature, only in the 16-register block
    SetChannels("Set Frequency", "DC Voltage", "PID Feedback", "aci input");
    m_recorder.StartSampling();
    ASSERT_EQ(Tick(0x11004B2), GraphTick::Sampled);
    const GraphSample& sample = m_recorder.Samples().back();
    EXPECT_EQ(sample.valueTexts, (std::array<std::string, 4>{"50.00", "540", "850", "10.00"}));
    EXPECT_DOUBLE_EQ(m_recorder.m_Channels[0].currentValue, 50.0);
    EXPECT_DOUBLE_EQ(m_recorder.m_Channels[3].currentValue, 10.0);
    // Scale 0 to 1000: a plotted value is the engineering value itself.
    EXPECT_DOUBLE_EQ(sample.plotted[1], 540.0);
    EXPECT_EQ(sample.timeText, m_clock.LocalTime().Text());

    SetChannels("Pressure", "No Display", "Temperature", "Temperature");
    ASSERT_EQ(Tick(0x11004B2), GraphTick::Sampled);
    ASSERT_EQ(Tick(0x1100000), GraphTick::Sampled); // 11 registers: Temperature lies beyond
    const auto& samples = m_recorder.Samples();
    const GraphSample& extended = samples[samples.size() - 2];
    EXPECT_EQ(extended.valueTexts, (std::array<std::string, 4>{"", "0.0", "45.6", "45.6"}));
    EXPECT_DOUBLE_EQ(m_recorder.m_Channels[0].currentValue, 0.0);
    EXPECT_EQ(samples.back().valueTexts[2], "0.0");
    EXPECT_TRUE(m_recorder.IsChannelShown(0)); // an unknown name is drawn flat
    EXPECT_FALSE(m_recorder.IsChannelShown(1));
    EXPECT_EQ(m_recorder.m_Channels[1].recordedMin, 0.0);
}

TEST_F(GraphSamplingTest, LinkFailuresStopSamplingWithTheirMessage)
{
    struct Case {
        const char* what;
        std::function<void(CSimulatedDrive&)> arrange;
        const char* message;
    };
    const Case cases[] = {
        {"refusal 0x83", [](CSimulatedDrive& d) { d.ForceException(1, 0x2523, 0x53); }, "Communication error!"},
        {"silence", [](CSimulatedDrive& d) { d.SetSilent(1, true); }, "TimeOut!"},
        {"bad CRC", [](CSimulatedDrive& d) { d.SetCorruptCrc(1, true); }, "CRC parity error!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        m_drive->ForceException(1, 0x2523, 0);
        m_drive->SetSilent(1, false);
        m_drive->SetCorruptCrc(1, false);
        m_recorder.StartSampling();
        ASSERT_EQ(Tick(0x1100000), GraphTick::Sampled);
        c.arrange(*m_drive);
        m_messages.Clear();
        EXPECT_EQ(Tick(0x1100000), GraphTick::Stopped);
        EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{c.message});
        EXPECT_FALSE(m_recorder.IsSampling());
        EXPECT_EQ(m_recorder.Samples().size(), 1u); // kept for export
        EXPECT_EQ(Tick(0x1100000), GraphTick::Idle);
    }
}

TEST_F(GraphSamplingTest, AnUnknownLinkResultCostsOneTick)
{
    auto odd = std::make_unique<OddResultLink>();
    ASSERT_NE(odd->InitComm(m_drive->GetPtyPath(), 19200, 8, 0, 1.0f), 0);
    odd->m_odd = 1;
    m_recorder.StartSampling();
    m_clock.Step(0.1);
    EXPECT_EQ(m_recorder.SampleTick(odd.get(), 0x1100000), GraphTick::Lost);
    m_clock.Step(0.1);
    EXPECT_EQ(m_recorder.SampleTick(odd.get(), 0x1100000), GraphTick::Sampled);
    EXPECT_TRUE(m_recorder.IsSampling());
    EXPECT_TRUE(m_messages.Texts().empty());
    odd->Close();
}

TEST_F(GraphSamplingTest, SuspendedTicksSendNothing)
{
    m_recorder.StartSampling();
    m_recorder.m_bSuspended = true;
    m_drive->ClearFrameLog();
    EXPECT_EQ(Tick(0x1100000), GraphTick::Suspended);
    EXPECT_EQ(m_drive->GetFrameCount(), 0u);
    m_recorder.m_bSuspended = false;
    EXPECT_EQ(Tick(0x1100000), GraphTick::Sampled);
}

TEST_F(GraphSamplingTest, ExtremesRestartAtStartAndWhenTheQuantityChanges)
{
    SetChannels("Set Frequency", "Output Frequency", "No display", "No display");
    m_recorder.StartSampling();
    for (uint16_t raw : {3000, 5025, 1000}) {
        m_drive->SetRegister(1, 0x2523, raw);
        ASSERT_EQ(Tick(0x1100000), GraphTick::Sampled);
    }
    EXPECT_DOUBLE_EQ(m_recorder.m_Channels[0].recordedMax, 50.25);
    EXPECT_DOUBLE_EQ(m_recorder.m_Channels[0].recordedMin, 10.0);

    m_recorder.StopSampling();
    m_recorder.StartSampling();
    m_drive->SetRegister(1, 0x2523, 2000);
    ASSERT_EQ(Tick(0x1100000), GraphTick::Sampled);
    EXPECT_DOUBLE_EQ(m_recorder.m_Channels[0].recordedMax, 20.0);
    EXPECT_DOUBLE_EQ(m_recorder.m_Channels[0].recordedMin, 20.0);

    m_drive->SetRegister(1, 0x2526, 311);
    m_recorder.SetChannel(0, "DC Voltage", "1000", "0");
    ASSERT_EQ(Tick(0x1100000), GraphTick::Sampled);
    EXPECT_DOUBLE_EQ(m_recorder.m_Channels[0].recordedMax, 311.0);
    EXPECT_DOUBLE_EQ(m_recorder.m_Channels[0].recordedMin, 311.0);
}
