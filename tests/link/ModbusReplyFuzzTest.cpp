// A brief, repeatable run of the Modbus reply fuzzer: good replies of every
// request kind, damaged at random (bytes changed, cut, lengthened, a CRC made
// right again over the damage), through the request layer and the
// transaction core. tools/fuzz holds the same input under libFuzzer;
// D390_FUZZ_RUNS lengthens the run as it does every reader's.

#include "tests/common/Mutator.h"
#include "tests/link/ModbusReplyFuzz.h"

#include <gtest/gtest.h>

#include <random>

namespace {

std::vector<uint8_t> GoodReply(std::mt19937& random, uint8_t operation, uint8_t countByte)
{
    std::vector<uint8_t> reply{7};
    switch (operation) {
    case 0:
    case 3: {
        const int count = operation == 0 ? 1 + countByte % 125 : std::max(0, (countByte - 5) / 2);
        reply.push_back(0x03);
        reply.push_back(static_cast<uint8_t>(2 * count));
        for (int k = 0; k < 2 * count; ++k)
            reply.push_back(static_cast<uint8_t>(random()));
        break;
    }
    case 1: reply.insert(reply.end(), {0x06, 0x0A, 0x05, 0x12, 0x34}); break;
    default: reply.insert(reply.end(), {0x10, 0x0A, 0x05, 0x00, static_cast<uint8_t>(1 + countByte % 123)}); break;
    }
    if (random() % 4 == 0)
        reply = {7, static_cast<uint8_t>(reply[1] | 0x80), static_cast<uint8_t>(random())};
    reply.resize(reply.size() + 2);
    AppendCrc16(reply.data(), reply.size() - 2);
    return reply;
}

void Damage(std::mt19937& random, std::vector<uint8_t>& reply)
{
    const int harms = static_cast<int>(random() % 4);
    for (int i = 0; i < harms; ++i) {
        switch (random() % 5) {
        case 0:
            if (!reply.empty())
                reply[random() % reply.size()] = static_cast<uint8_t>(random());
            break;
        case 1: reply.resize(random() % (reply.size() + 1)); break;
        case 2:
            for (unsigned n = random() % 8; n > 0; --n)
                reply.push_back(static_cast<uint8_t>(random()));
            break;
        case 3:
            // The damage under a right CRC, as a hostile peer would send it.
            if (reply.size() >= 4) {
                const size_t end = 2 + random() % (reply.size() - 1);
                AppendCrc16(reply.data(), end - 2);
            }
            break;
        default:
            if (reply.size() > 2)
                reply[random() % 3] ^= static_cast<uint8_t>(1u << (random() % 8));
            break;
        }
    }
}

TEST(ModbusReplyFuzz, DamagedRepliesBreakNoRule)
{
    std::mt19937 random(20261210);
    const int runs = FuzzRuns(20000);
    for (int i = 0; i < runs; ++i) {
        const auto operation = static_cast<uint8_t>(random() % 4);
        const auto countByte = static_cast<uint8_t>(random());
        std::vector<uint8_t> input{operation, countByte, static_cast<uint8_t>(random())};
        std::vector<uint8_t> reply = GoodReply(random, operation, countByte);
        if (i % 8 != 0)
            Damage(random, reply);
        input.insert(input.end(), reply.begin(), reply.end());
        const char* broken = RunModbusReplyInput(input.data(), input.size());
        ASSERT_EQ(broken, nullptr) << broken << " (input " << i << ")";
    }
}

TEST(ModbusReplyFuzz, RandomBytesBreakNoRule)
{
    std::mt19937 random(7);
    const int runs = FuzzRuns(5000);
    for (int i = 0; i < runs; ++i) {
        std::vector<uint8_t> input(3 + random() % 300);
        for (uint8_t& byte : input)
            byte = static_cast<uint8_t>(random());
        const char* broken = RunModbusReplyInput(input.data(), input.size());
        ASSERT_EQ(broken, nullptr) << broken << " (input " << i << ")";
    }
}

} // namespace
