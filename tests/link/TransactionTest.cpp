// Every road of one Modbus RTU transaction, byte for byte, against the
// simulated drive on a real pseudo-terminal.

#include "link/CommTexts.h"
#include "tests/link/SimLink.h"

#include <chrono>

namespace {

using TransactionTest = SimLinkTest;

TEST_F(TransactionTest, RepliesArriveByteForByte)
{
    m_drive->AddRegister(1, 0x0105, 0x1234);
    m_drive->AddRegister(1, 0x0106, 0xBEEF);
    m_drive->AddRegister(2, 0x0105, 0x0042);

    struct Case {
        Bytes request;
        Bytes reply;
        const char* why;
    };
    const Case cases[] = {
        {ReadRequest(1, 0x0105), WithCrc({0x01, 0x03, 0x02, 0x12, 0x34}), "one register"},
        {ReadRequest(1, 0x0105, 2), WithCrc({0x01, 0x03, 0x04, 0x12, 0x34, 0xBE, 0xEF}), "two registers"},
        {ReadRequest(2, 0x0105), WithCrc({0x02, 0x03, 0x02, 0x00, 0x42}), "the other station"},
        {WriteRequest(1, 0x0105, 0x0007), WriteRequest(1, 0x0105, 0x0007), "a write is echoed"},
        {WithCrc({0x01, 0x10, 0x01, 0x05, 0x00, 0x02, 0x04, 0x00, 0x08, 0x00, 0x09}),
         WithCrc({0x01, 0x10, 0x01, 0x05, 0x00, 0x02}), "a block write"},
    };
    for (const Case& c : cases) {
        size_t before = m_drive->GetFrameCount();
        Bytes reply;
        EXPECT_EQ(Transact(c.request, c.reply.size(), reply), kErrNone) << c.why;
        EXPECT_EQ(reply, c.reply) << c.why;
        auto frames = m_drive->GetFramesFrom(before);
        ASSERT_EQ(frames.size(), 1u) << c.why;
        EXPECT_EQ(frames[0].request, c.request) << c.why << ": the wire carries the request unchanged";
    }
    EXPECT_EQ(m_drive->GetRegister(1, 0x0105), 8);
    EXPECT_EQ(m_drive->GetRegister(1, 0x0106), 9);
}

TEST_F(TransactionTest, SlowLineRepliesAreFramedByLength)
{
    // At 4800 baud with even parity a reply of 23 registers takes more than
    // 100 ms, its bytes arriving one by one: a link that framed by silence or
    // took the first read for the whole reply would cut it short.
    Bytes expected = {0x01, 0x03, 46};
    for (uint16_t i = 0; i < 23; ++i) {
        m_drive->AddRegister(1, static_cast<uint16_t>(0x0300 + i), static_cast<uint16_t>(0x0101 * i));
        expected.push_back(static_cast<uint8_t>(i));
        expected.push_back(static_cast<uint8_t>(i));
    }
    expected = WithCrc(expected);
    m_drive->SetLineFormat(SimLineFormat{4800, 8, 'E', 1});
    Bytes reply;
    EXPECT_EQ(Transact(ReadRequest(1, 0x0300, 23), expected.size(), reply), kErrNone);
    EXPECT_EQ(reply, expected);
}

TEST_F(TransactionTest, RefusalsAreRepliesOfFiveBytes)
{
    m_drive->AddRegister(1, 0x0105, 1);
    // The drive's own codes, and codes it does not use; the link passes every
    // one on as a reply, for the caller to turn into text.
    for (uint8_t code : {0x51, 0x52, 0x53, 0x54, 0x55, 0x02}) {
        m_drive->ForceException(1, 0x0105, code);
        Bytes reply;
        EXPECT_EQ(Transact(ReadRequest(1, 0x0105), 7, reply), kErrNone) << int(code);
        Bytes expected = WithCrc({0x01, 0x83, code});
        expected.resize(7, kFill); // the last two bytes of rx are not touched
        EXPECT_EQ(reply, expected) << int(code);
        EXPECT_EQ(GetCommExceptionText(reply[2]), GetCommExceptionText(code));
    }
}

TEST_F(TransactionTest, FailureRoads)
{
    m_drive->AddRegister(1, 0x0105, 1);
    LinkTimeouts timeouts = m_comm->GetTimeouts();

    struct Case {
        std::function<void(CSimulatedDrive&)> fault;
        ErrType result;
        const char* why;
    };
    const Case cases[] = {
        {[](CSimulatedDrive& d) { d.SetCorruptCrc(1, true); }, kErrCrc, "a reply with a wrong CRC"},
        {[](CSimulatedDrive& d) { d.SetSilent(1, true); }, kErrTimeout, "no reply"},
        {[](CSimulatedDrive& d) { d.SetAnswerAs(1, 2); }, kErrComm, "a reply from another station"},
        {[&](CSimulatedDrive& d) { d.SetReplyDelay(1, timeouts.firstByteMs + 500); }, kErrTimeout,
         "a reply after the time-out"},
    };
    for (const Case& c : cases) {
        c.fault(*m_drive);
        Bytes reply;
        EXPECT_EQ(Transact(ReadRequest(1, 0x0105), 7, reply), c.result) << c.why;
        EXPECT_EQ(reply, Bytes(7, kFill)) << c.why << ": rx untouched on failure";

        m_drive->SetCorruptCrc(1, false);
        m_drive->SetSilent(1, false);
        m_drive->SetAnswerAs(1, 0);
        m_drive->SetReplyDelay(1, 0);
        // A frame for a station nobody serves: the drive reads it only after it
        // has sent whatever it still had for us, so the late reply is waiting
        // in our input when the next transaction starts.
        size_t before = m_drive->GetFrameCount();
        Bytes probe = ReadRequest(9, 0);
        ASSERT_EQ(m_comm->Write(probe.data(), probe.size(), nullptr, 800), 0);
        ASSERT_TRUE(m_drive->WaitForFrameCount(before + 1, 10000));
    }
}

TEST_F(TransactionTest, StaleInputIsNeverTakenForTheReply)
{
    m_drive->AddRegister(1, 0x0D07, 0x0002);
    m_drive->AddRegister(1, 0x0105, 0x0777);
    m_drive->SetReplyDelay(1, m_comm->GetTimeouts().firstByteMs + 500);
    Bytes reply;
    ASSERT_EQ(Transact(ReadRequest(1, 0x0D07), 7, reply), kErrTimeout);
    m_drive->SetReplyDelay(1, 0);
    size_t before = m_drive->GetFrameCount();
    Bytes probe = ReadRequest(9, 0);
    ASSERT_EQ(m_comm->Write(probe.data(), probe.size(), nullptr, 800), 0);
    ASSERT_TRUE(m_drive->WaitForFrameCount(before + 1, 10000));

    // The reply to 13-07 (value 2) now waits in the input; it has the same
    // station and length as the reply to 01-05.
    ASSERT_EQ(Transact(ReadRequest(1, 0x0105), 7, reply), kErrNone);
    EXPECT_EQ(reply, WithCrc({0x01, 0x03, 0x02, 0x07, 0x77}));
}

TEST_F(TransactionTest, ReplyNeverOverrunsTheBuffer)
{
    m_drive->AddRegister(1, 0x0105, 0x1234);
    m_drive->AddRegister(1, 0x0106, 0x5678);
    Bytes reply;
    // The caller expects one register, the drive sends two: only rxLen bytes
    // are read, and they do not form a frame.
    EXPECT_EQ(Transact(ReadRequest(1, 0x0105, 2), 7, reply), kErrCrc);
    EXPECT_EQ(reply, Bytes(7, kFill));
    // Too small to hold even a refusal: refused before anything is sent.
    size_t before = m_drive->GetFrameCount();
    EXPECT_EQ(Transact(ReadRequest(1, 0x0105), 4, reply), kErrComm);
    EXPECT_EQ(m_drive->GetFrameCount(), before);
    // Then the link works on.
    EXPECT_EQ(Transact(ReadRequest(1, 0x0105), 7, reply), kErrNone);
    EXPECT_EQ(reply, WithCrc({0x01, 0x03, 0x02, 0x12, 0x34}));
}

TEST_F(TransactionTest, BroadcastIsWrittenAndNotAnswered)
{
    m_drive->AddRegister(1, 0x0105, 1);
    m_drive->AddRegister(2, 0x0105, 1);
    Bytes frame = WriteRequest(0, 0x0105, 0x0033);
    size_t before = m_drive->GetFrameCount();
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(m_comm->SendBroadcast(frame.data()), 1);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(100));
    ASSERT_TRUE(m_drive->WaitForFrameCount(before + 1, 10000));
    auto frames = m_drive->GetFramesFrom(before);
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].request, frame) << "8 bytes, unchanged";
    EXPECT_TRUE(frames[0].reply.empty());
    EXPECT_EQ(m_drive->GetRegister(1, 0x0105), 0x33);
    EXPECT_EQ(m_drive->GetRegister(2, 0x0105), 0x33);

    // A frame that never left is no success.
    m_comm->Close();
    EXPECT_EQ(m_comm->SendBroadcast(frame.data()), 0);
}

TEST_F(TransactionTest, LargeReadsDiscardPendingInput)
{
    m_drive->AddRegister(1, 0x0105, 0x1234);
    Bytes expected = WithCrc({0x01, 0x03, 0x02, 0x12, 0x34});
    auto provoke = [&] {
        size_t before = m_drive->GetFrameCount();
        Bytes request = ReadRequest(1, 0x0105);
        ASSERT_EQ(m_comm->Write(request.data(), request.size(), nullptr, 800), 0);
        Bytes probe = ReadRequest(9, 0);
        ASSERT_EQ(m_comm->Write(probe.data(), probe.size(), nullptr, 800), 0);
        ASSERT_TRUE(m_drive->WaitForFrameCount(before + 2, 10000));
    };

    provoke();
    uint8_t buffer[200];
    unsigned long got = 99;
    EXPECT_EQ(m_comm->Read(buffer, 161, &got, 1000), 0);
    EXPECT_EQ(got, 0u) << "161 bytes: nothing read, input discarded";
    EXPECT_EQ(m_comm->Read(buffer, 160, &got, 200), 0);
    EXPECT_EQ(got, 0u) << "the reply was discarded";

    provoke();
    Bytes received;
    while (received.size() < expected.size()) {
        ASSERT_EQ(m_comm->Read(buffer, 160, &got, 5000), 0);
        ASSERT_GT(got, 0u);
        received.insert(received.end(), buffer, buffer + got);
    }
    EXPECT_EQ(received, expected) << "160 bytes is a normal read";
}

} // namespace
