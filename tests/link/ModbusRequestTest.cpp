// The request layer: every frame it builds, byte for byte as the simulated
// drive receives it, and every reply check, on the drive's own answers and on
// crafted replies no drive of ours sends.

#include "link/ModbusRequest.h"
#include "tests/link/ScriptedLine.h"
#include "tests/link/SimLink.h"

#include <array>

namespace {

using ModbusRequestTest = SimLinkTest;

TEST_F(ModbusRequestTest, FramesAndRepliesByteForByte)
{
    m_drive->AddRegister(1, 0x0105, 0x1234);
    m_drive->AddRegister(1, 0x0106, 0xBEEF);
    m_drive->AddRegister(1, 0x0107, 0x0000);
    CModbusRequest request(m_comm.get());

    size_t before = m_drive->GetFrameCount();
    uint16_t words[2] = {};
    ModbusReply reply = request.ReadHolding(1, 0x0105, 2, words);
    EXPECT_TRUE(reply.Ok());
    EXPECT_EQ(reply.function, 0x03);
    EXPECT_EQ(words[0], 0x1234);
    EXPECT_EQ(words[1], 0xBEEF);

    reply = request.WriteOne(1, 0x0107, 0x00A5);
    EXPECT_TRUE(reply.Ok());
    EXPECT_EQ(m_drive->GetRegister(1, 0x0107), 0x00A5);

    const uint16_t block[] = {0x0102, 0xFFFE, 0x0003};
    reply = request.WriteMany(1, 0x0105, block);
    EXPECT_TRUE(reply.Ok());
    EXPECT_EQ(m_drive->GetRegister(1, 0x0105), 0x0102);
    EXPECT_EQ(m_drive->GetRegister(1, 0x0106), 0xFFFE);
    EXPECT_EQ(m_drive->GetRegister(1, 0x0107), 0x0003);

    auto frames = m_drive->GetFramesFrom(before);
    ASSERT_EQ(frames.size(), 3u);
    EXPECT_EQ(frames[0].request, WithCrc({0x01, 0x03, 0x01, 0x05, 0x00, 0x02}));
    EXPECT_EQ(frames[0].reply, WithCrc({0x01, 0x03, 0x04, 0x12, 0x34, 0xBE, 0xEF}));
    EXPECT_EQ(frames[1].request, WithCrc({0x01, 0x06, 0x01, 0x07, 0x00, 0xA5}));
    EXPECT_EQ(frames[2].request,
              WithCrc({0x01, 0x10, 0x01, 0x05, 0x00, 0x03, 0x06, 0x01, 0x02, 0xFF, 0xFE, 0x00, 0x03}));
    EXPECT_EQ(frames[2].reply, WithCrc({0x01, 0x10, 0x01, 0x05, 0x00, 0x03}));
}

TEST_F(ModbusRequestTest, BroadcastGoesToStationZeroUnanswered)
{
    m_drive->AddRegister(1, 0x0A03, 0);
    m_drive->AddRegister(2, 0x0A03, 0);
    CModbusRequest request(m_comm.get());
    size_t before = m_drive->GetFrameCount();
    EXPECT_TRUE(request.Broadcast(0x0A03, 0x0102));
    ASSERT_TRUE(m_drive->WaitForFrameCount(before + 1, 10000));
    auto frames = m_drive->GetFramesFrom(before);
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].request, WithCrc({0x00, 0x06, 0x0A, 0x03, 0x01, 0x02}));
    EXPECT_TRUE(frames[0].reply.empty());
    EXPECT_EQ(m_drive->GetRegister(1, 0x0A03), 0x0102);
    EXPECT_EQ(m_drive->GetRegister(2, 0x0A03), 0x0102);
}

TEST_F(ModbusRequestTest, DriveFailuresAsTheCallersSeeThem)
{
    m_drive->AddRegister(1, 0x0105, 0x1234);
    CModbusRequest request(m_comm.get(), RequestPace::Interactive);
    uint16_t word = 0x5555;

    m_drive->ForceException(1, 0x0105, 0x52);
    ModbusReply reply = request.ReadHolding(1, 0x0105, 1, &word);
    EXPECT_TRUE(reply.Refused());
    EXPECT_TRUE(reply.Answered());
    EXPECT_FALSE(reply.Ok());
    EXPECT_EQ(reply.function, 0x83);
    EXPECT_EQ(reply.exception, 0x52);
    reply = request.WriteOne(1, 0x0105, 1);
    EXPECT_TRUE(reply.Refused());
    EXPECT_EQ(reply.exception, 0x52);
    m_drive->ForceException(1, 0x0105, 0);

    m_drive->SetAnswerAs(1, 2);
    reply = request.ReadHolding(1, 0x0105, 1, &word);
    EXPECT_EQ(reply.result, kErrComm) << "another station's reply";
    EXPECT_FALSE(reply.Answered());
    m_drive->SetAnswerAs(1, 0);

    m_drive->SetCorruptCrc(1, true);
    reply = request.WriteOne(1, 0x0105, 2);
    EXPECT_EQ(reply.result, kErrCrc);
    m_drive->SetCorruptCrc(1, false);
    EXPECT_EQ(word, 0x5555) << "no failed read touches the words";

    EXPECT_TRUE(request.ReadHolding(1, 0x0105, 1, &word).Ok()) << "the link works on";
    EXPECT_EQ(word, 0x0002) << "the write with a bad reply CRC had reached the drive";
}

TEST_F(ModbusRequestTest, RequestsOutsideTheLimitsAreNotSent)
{
    CModbusRequest request(m_comm.get());
    std::array<uint16_t, 130> words{};
    size_t before = m_drive->GetFrameCount();
    EXPECT_EQ(request.ReadHolding(1, 0, 0, words.data()).result, kErrComm);
    EXPECT_EQ(request.ReadHolding(1, 0, 126, words.data()).result, kErrComm);
    EXPECT_EQ(request.ReadHolding(1, 0, 1, nullptr).result, kErrComm);
    EXPECT_EQ(request.WriteMany(1, 0, std::span<const uint16_t>()).result, kErrComm);
    EXPECT_EQ(request.WriteMany(1, 0, std::span<const uint16_t>(words.data(), 124)).result, kErrComm);
    EXPECT_EQ(CModbusRequest(nullptr).WriteOne(1, 0, 0).result, kErrComm);
    EXPECT_FALSE(CModbusRequest(nullptr).Broadcast(0, 0));
    EXPECT_EQ(m_drive->GetFrameCount(), before);
}

// Replies the simulated drive never sends, each to the request of the case.
TEST(ModbusRequestChecks, CraftedReplies)
{
    enum Op { Read2, WriteOne105, WriteMany105x2 };
    struct Case {
        Op op;
        Bytes reply;
        int result;
        bool ok;
        uint8_t exception;
        const char* why;
    };
    const Case cases[] = {
        {Read2, WithCrc({0x01, 0x03, 0x04, 0x00, 0x01, 0x00, 0x02}), kErrNone, true, 0, "a good read"},
        {Read2, WithCrc({0x01, 0x03, 0x02, 0x00, 0x01, 0x00, 0x02}), kErrComm, false, 0,
         "byte count not twice the registers asked"},
        {Read2, WithCrc({0x01, 0x03, 0x06, 0x00, 0x01, 0x00, 0x02}), kErrComm, false, 0, "byte count too large"},
        {Read2, WithCrc({0x01, 0x83, 0x00}), kErrNone, false, 0, "a refusal whose code is 0 is still a refusal"},
        {Read2, WithCrc({0x01, 0x04, 0x02}), kErrNone, false, 0x02, "another function is a refusal"},
        {WriteOne105, WithCrc({0x01, 0x06, 0x01, 0x05, 0x00, 0x07}), kErrNone, true, 0, "the echo"},
        {WriteOne105, WithCrc({0x01, 0x06, 0x01, 0x05, 0x00, 0x08}), kErrNone, true, 0,
         "an adjusted value is echoed: not compared"},
        {WriteOne105, WithCrc({0x01, 0x06, 0x01, 0x06, 0x00, 0x07}), kErrComm, false, 0, "echo of another address"},
        {WriteMany105x2, WithCrc({0x01, 0x10, 0x01, 0x05, 0x00, 0x02}), kErrNone, true, 0, "the echo"},
        {WriteMany105x2, WithCrc({0x01, 0x10, 0x01, 0x04, 0x00, 0x02}), kErrComm, false, 0,
         "echo of another start"},
        {WriteMany105x2, WithCrc({0x01, 0x10, 0x01, 0x05, 0x00, 0x03}), kErrComm, false, 0,
         "echo of another count"},
        {WriteMany105x2, WithCrc({0x02, 0x10, 0x01, 0x05, 0x00, 0x02}), kErrComm, false, 0, "another station"},
    };
    for (const Case& c : cases) {
        auto line = std::make_unique<ScriptedLine>();
        ScriptedLine* script = line.get();
        script->Answer(c.reply);
        CSerialComm comm;
        ASSERT_NE(comm.AttachBackend(std::move(line), SerialSettings{19200, 8, 0, 1}), 0);
        CModbusRequest request(&comm);
        uint16_t words[2] = {0xAAAA, 0xAAAA};
        const uint16_t block[2] = {7, 8};
        ModbusReply reply;
        switch (c.op) {
        case Read2: reply = request.ReadHolding(1, 0x0105, 2, words); break;
        case WriteOne105: reply = request.WriteOne(1, 0x0105, 7); break;
        case WriteMany105x2: reply = request.WriteMany(1, 0x0105, block); break;
        }
        EXPECT_EQ(reply.result, c.result) << c.why;
        EXPECT_EQ(reply.Ok(), c.ok) << c.why;
        EXPECT_EQ(reply.Refused(), c.result == kErrNone && !c.ok) << c.why;
        if (reply.Refused()) {
            EXPECT_EQ(reply.exception, c.exception) << c.why;
        }
        if (c.op == Read2 && c.ok) {
            EXPECT_EQ(words[0], 1) << c.why;
            EXPECT_EQ(words[1], 2) << c.why;
        } else {
            EXPECT_EQ(words[0], 0xAAAA) << c.why << ": words untouched";
        }
    }
}

} // namespace
