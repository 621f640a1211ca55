#pragma once
// One input of the Modbus reply fuzzer: a request through the request layer or
// the bare transaction core, answered by whatever bytes the input holds,
// handed over in pieces of a chosen size. What must hold for every input:
// a result from 0 to 3; a reply taken as good is exactly a good frame of the
// request asked (station, function, byte count or echo, CRC) and the words
// are its words; a refusal carries the reply's code; nothing is written to
// the caller's buffers beyond what it gave or on failure.
//
// Input: [operation][count][chunk][reply bytes...]

#include "link/Crc16.h"
#include "link/ModbusRequest.h"
#include "link/SerialComm.h"
#include "tests/link/ScriptedLine.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

// Null when every rule held, else the rule broken.
inline const char* RunModbusReplyInput(const uint8_t* data, size_t size)
{
    if (size < 3)
        return nullptr;
    const uint8_t operation = data[0] % 4;
    const uint8_t countByte = data[1];
    const size_t chunk = data[2] % 8;
    std::vector<uint8_t> reply(data + 3, data + size);

    auto line = std::make_unique<ScriptedLine>();
    line->Answer(reply, chunk);
    CSerialComm comm;
    if (!comm.AttachBackend(std::move(line), SerialSettings{19200, 8, 2, 1}))
        return "the scripted line did not open";

    constexpr uint8_t kStation = 7;
    constexpr uint16_t kAddress = 0x0A05;
    constexpr uint16_t kFill = 0xA5A5;
    auto crcOk = [&](size_t length) {
        if (reply.size() < length || length < 2)
            return false;
        uint16_t crc = CalcCrc16(length - 2, reply.data());
        return reply[length - 2] == (crc & 0xFF) && reply[length - 1] == (crc >> 8);
    };
    auto word = [&](size_t at) { return static_cast<uint16_t>(reply[at] << 8 | reply[at + 1]); };

    if (operation == 3) {
        // The bare core: rxLen from the input, a fenced buffer.
        const size_t rxLen = countByte;
        std::array<uint8_t, 8> tx{kStation, 0x03, 0x0A, 0x05, 0x00, 0x01};
        AppendCrc16(tx.data(), 6);
        std::vector<uint8_t> rx(rxLen + 32, 0xEE);
        ErrType result = comm.CommandSend(tx.data(), tx.size(), rx.data(), rxLen);
        if (result < kErrNone || result > kErrComm)
            return "a result outside 0 to 3";
        for (size_t i = rxLen; i < rx.size(); ++i)
            if (rx[i] != 0xEE)
                return "bytes written beyond rxLen";
        if (result != kErrNone) {
            for (size_t i = 0; i < rxLen; ++i)
                if (rx[i] != 0xEE)
                    return "rx touched on failure";
            return nullptr;
        }
        const size_t length = rx[1] != 0x03 ? 5 : rxLen;
        if (length > rxLen || !crcOk(length) || !std::equal(rx.begin(), rx.begin() + length, reply.begin()))
            return "a success that is not the reply's first frame";
        if (rx[0] != kStation)
            return "another station's reply taken";
        return nullptr;
    }

    CModbusRequest request(&comm);
    ModbusReply result;
    std::array<uint16_t, 125> words;
    words.fill(kFill);
    const uint16_t count = static_cast<uint16_t>(1 + countByte % 125);
    std::array<uint16_t, 123> block;
    for (size_t k = 0; k < block.size(); ++k)
        block[k] = static_cast<uint16_t>(k * 3);
    const uint16_t blockCount = static_cast<uint16_t>(1 + countByte % 123);
    uint8_t function = 0;
    switch (operation) {
    case 0:
        function = 0x03;
        result = request.ReadHolding(kStation, kAddress, count, words.data());
        break;
    case 1:
        function = 0x06;
        result = request.WriteOne(kStation, kAddress, 0x1234);
        break;
    default:
        function = 0x10;
        result = request.WriteMany(kStation, kAddress, std::span<const uint16_t>(block.data(), blockCount));
        break;
    }

    if (result.result < kErrNone || result.result > kErrComm)
        return "a result outside 0 to 3";
    if (result.Ok() && result.Refused())
        return "good and refused at once";
    if (!result.Ok() && std::any_of(words.begin(), words.end(), [](uint16_t w) { return w != kFill; }))
        return "words written without a good reply";
    if (result.Refused()) {
        if (!crcOk(5) || reply[0] != kStation || reply[1] == function || result.exception != reply[2])
            return "a refusal that is not the reply's";
        return nullptr;
    }
    if (!result.Ok())
        return nullptr;
    if (reply[0] != kStation || reply[1] != function)
        return "a good reply from another station or of another function";
    if (operation == 0) {
        const size_t length = 5 + 2u * count;
        if (!crcOk(length) || reply[2] != 2 * count)
            return "a good read whose frame is not whole";
        for (uint16_t k = 0; k < count; ++k)
            if (words[k] != word(3 + 2u * k))
                return "words that are not the reply's";
        if (std::any_of(words.begin() + count, words.end(), [](uint16_t w) { return w != kFill; }))
            return "words written beyond the count";
        return nullptr;
    }
    if (!crcOk(8) || word(2) != kAddress)
        return "a good write whose echo is not whole or names another address";
    if (operation == 2 && word(4) != blockCount)
        return "a good block write whose echo names another count";
    return nullptr;
}
