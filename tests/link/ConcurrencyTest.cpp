// Two threads sharing the link, as the window thread and the background reader
// do: their frames never mix on the wire and each gets its own reply.

#include "tests/link/SimLink.h"

#include <atomic>
#include <thread>

namespace {

using ConcurrencyTest = SimLinkTest;

TEST_F(ConcurrencyTest, TransactionsNeverInterleave)
{
    m_drive->AddRegister(1, 0x0105, 0x1111);
    m_drive->AddRegister(2, 0x0A03, 0x2222);
    m_drive->ClearFrameLog();
    constexpr int kRounds = 150;

    struct Worker {
        Bytes request;
        Bytes reply;
        bool pause;
        std::atomic<int> good{0};
    };
    Worker workers[2] = {
        {ReadRequest(1, 0x0105), WithCrc({0x01, 0x03, 0x02, 0x11, 0x11}), false},
        {ReadRequest(2, 0x0A03), WithCrc({0x02, 0x03, 0x02, 0x22, 0x22}), true},
    };
    auto run = [&](Worker& worker) {
        for (int i = 0; i < kRounds; ++i) {
            Bytes tx = worker.request;
            uint8_t rx[7] = {};
            // One through the pause of interactive requests, one straight.
            ErrType result = worker.pause ? m_comm->SendCommand(tx.data(), tx.size(), rx, sizeof rx)
                                          : m_comm->CommandSend(tx.data(), tx.size(), rx, sizeof rx);
            if (result == kErrNone && Bytes(rx, rx + 7) == worker.reply)
                ++worker.good;
        }
    };
    std::thread first(run, std::ref(workers[0]));
    std::thread second(run, std::ref(workers[1]));
    first.join();
    second.join();

    EXPECT_EQ(workers[0].good, kRounds);
    EXPECT_EQ(workers[1].good, kRounds);
    auto frames = m_drive->GetFrameLog();
    ASSERT_EQ(frames.size(), size_t(2 * kRounds)) << "every request arrived as one frame";
    for (const SimFrame& frame : frames) {
        EXPECT_TRUE(frame.crcOk);
        EXPECT_TRUE(frame.request == workers[0].request || frame.request == workers[1].request);
    }
}

} // namespace
