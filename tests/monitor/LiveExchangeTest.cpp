// The live windows' exchanges against the simulated drive: frames byte for
// byte from its log, the windows' reading of every failure, and nothing sent
// once the link is gone.

#include "monitor/LiveExchange.h"

#include "link/Crc16.h"
#include "link/SerialComm.h"
#include "session/DriveSession.h"
#include "tests/common/RecordingWindows.h"
#include "tools/SimulatedDrive.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes WithCrc(Bytes frame)
{
    const std::uint16_t crc = CalcCrc16(frame.size(), frame.data());
    frame.push_back(static_cast<std::uint8_t>(crc & 0xFF));
    frame.push_back(static_cast<std::uint8_t>(crc >> 8));
    return frame;
}

class LiveExchangeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SimDriveConfig config;
        config.stations = { { 1, 0x11004B2, 1100 } };
        m_drive = std::make_unique<CSimulatedDrive>(config);
        std::string error;
        ASSERT_TRUE(m_drive->Start(&error)) << error;
        m_state.m_pComm = new CSerialComm();
        ASSERT_NE(m_state.m_pComm->InitComm(m_drive->GetPtyPath(), 9600, 8, 0, 1.0f), 0);
        m_state.m_bConnected = 1;
        m_state.m_Stations = { 1 };
    }
    void TearDown() override
    {
        CloseLink();
        m_drive->Stop();
    }
    void CloseLink()
    {
        if (m_state.m_pComm) {
            m_state.m_pComm->Close();
            delete m_state.m_pComm;
            m_state.m_pComm = nullptr;
        }
        m_state.m_bConnected = 0;
    }
    Bytes LastRequest() const
    {
        const auto log = m_drive->GetFrameLog();
        return log.empty() ? Bytes {} : log.back().request;
    }

    std::unique_ptr<CSimulatedDrive> m_drive;
    RecordingWindows m_windows;
    CDriveSession m_state{m_windows};
};

} // namespace

TEST_F(LiveExchangeTest, ReadsAndWritesOneStationFrameForFrame)
{
    CLiveExchange exchange(m_state);
    m_drive->SetRegister(1, 0x2520, 0x0005);
    std::uint16_t words[2] = { 0xAAAA, 0xAAAA };
    EXPECT_TRUE(exchange.Read(1, 0x2520, 2, words).Ok());
    EXPECT_EQ(LastRequest(), WithCrc({ 1, 0x03, 0x25, 0x20, 0x00, 0x02 }));
    EXPECT_EQ(words[0], 0x0005);

    EXPECT_TRUE(exchange.Write(1, 0x2502, 5000).Ok());
    EXPECT_EQ(LastRequest(), WithCrc({ 1, 0x06, 0x25, 0x02, 0x13, 0x88 }));
    EXPECT_EQ(m_drive->GetRegister(1, 0x2502), 5000);
}

TEST_F(LiveExchangeTest, FailuresMapToTheMessagesWithoutStationPrefix)
{
    CLiveExchange exchange(m_state);
    std::uint16_t word = 0x5555;
    const struct {
        const char* name;
        std::function<void(bool)> set;
        LiveFailure failure;
        unsigned message;
    } cases[] = {
        { "corrupt CRC", [&](bool on) { m_drive->SetCorruptCrc(1, on); }, LiveFailure::Link, 61477 },
        { "silent", [&](bool on) { m_drive->SetSilent(1, on); }, LiveFailure::Link, 61478 },
        { "another station answers", [&](bool on) { m_drive->SetAnswerAs(1, on ? 7 : 0); }, LiveFailure::Link, 61479 },
        { "refused", [&](bool on) { m_drive->ForceException(1, 0x2501, on ? 0x52 : 0); }, LiveFailure::WrongFunction,
            61479 },
    };
    for (const auto& c : cases) {
        c.set(true);
        const LiveReply read = exchange.Read(1, 0x2501, 1, &word);
        const LiveReply write = exchange.Write(1, 0x2501, 1);
        c.set(false);
        EXPECT_EQ(read.failure, c.failure) << c.name;
        EXPECT_EQ(read.messageId, c.message) << c.name;
        EXPECT_EQ(write.failure, c.failure) << c.name;
        EXPECT_EQ(write.messageId, c.message) << c.name;
    }
    EXPECT_EQ(word, 0x5555) << "a failed read leaves the words alone";
    EXPECT_TRUE(exchange.Read(1, 0x2501, 1, &word).Ok()) << "the link recovers";
}

TEST_F(LiveExchangeTest, SendsNothingOnceTheLinkIsGone)
{
    CLiveExchange exchange(m_state);
    ASSERT_TRUE(exchange.IsConnected());
    const std::size_t before = m_drive->GetFrameCount();
    std::uint16_t word = 0;

    m_state.m_bConnected = 0; // the watchdog dropped the last station
    EXPECT_FALSE(exchange.IsConnected());
    EXPECT_EQ(exchange.Read(1, 0x2501, 1, &word).failure, LiveFailure::NotConnected);
    EXPECT_EQ(exchange.Write(1, 0x2501, 1).messageId, 0u);

    CloseLink(); // and deleted the link
    m_state.m_bConnected = 1;
    EXPECT_EQ(exchange.Write(1, 0x2501, 1).failure, LiveFailure::NotConnected);
    EXPECT_EQ(m_drive->GetFrameCount(), before);
}
