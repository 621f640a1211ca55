#include "link/ModbusRequest.h"

#include "link/Crc16.h"
#include "link/SerialComm.h"

#include <array>

namespace {

constexpr uint8_t kRead = 0x03;
constexpr uint8_t kWriteOne = 0x06;
constexpr uint8_t kWriteMany = 0x10;
constexpr uint16_t kMaxReadCount = 125;
constexpr uint16_t kMaxWriteCount = 123;
constexpr unsigned kFrameRoom = 256;

void PutWord(uint8_t* at, uint16_t value)
{
    at[0] = static_cast<uint8_t>(value >> 8);
    at[1] = static_cast<uint8_t>(value & 0xFF);
}

uint16_t GetWord(const uint8_t* at)
{
    return static_cast<uint16_t>(at[0] << 8 | at[1]);
}

} // namespace

CModbusRequest::CModbusRequest(CSerialComm* link, RequestPace pace, const std::atomic<bool>* abandoned)
    : m_link(link), m_pace(pace), m_abandoned(abandoned)
{
}

ModbusReply CModbusRequest::Exchange(uint8_t* tx, unsigned txLen, uint8_t* rx, unsigned rxLen)
{
    ModbusReply reply;
    reply.asked = tx[1];
    if (!m_link)
        return reply;
    ErrType result;
    if (m_abandoned)
        result = m_pace == RequestPace::Interactive
                     ? m_link->SendCommandUnlessAbandoned(*m_abandoned, tx, txLen, rx, rxLen)
                     : m_link->CommandSendUnlessAbandoned(*m_abandoned, tx, txLen, rx, rxLen);
    else
        result = m_pace == RequestPace::Interactive ? m_link->SendCommand(tx, txLen, rx, rxLen)
                                                    : m_link->CommandSend(tx, txLen, rx, rxLen);
    reply.result = result;
    if (result != kErrNone)
        return reply;
    reply.replied = true;
    reply.function = rx[1];
    if (rx[1] != tx[1]) {
        reply.exception = rx[2];
        // A refusal without a code is no refusal: an answer of another function.
        if (reply.exception == 0)
            reply.result = kErrComm;
    }
    return reply;
}

ModbusReply CModbusRequest::ReadHolding(uint8_t station, uint16_t address, uint16_t count, uint16_t* words)
{
    if (count < 1 || count > kMaxReadCount || !words)
        return {};
    std::array<uint8_t, 8> tx{station, kRead};
    PutWord(&tx[2], address);
    PutWord(&tx[4], count);
    AppendCrc16(tx.data(), 6);
    std::array<uint8_t, kFrameRoom> rx{};
    unsigned rxLen = 5 + 2u * count;
    ModbusReply reply = Exchange(tx.data(), tx.size(), rx.data(), rxLen);
    if (!reply.Ok())
        return reply;
    if (rx[2] != 2 * count) {
        reply.result = kErrComm;
        return reply;
    }
    for (uint16_t k = 0; k < count; ++k)
        words[k] = GetWord(&rx[3 + 2 * k]);
    return reply;
}

ModbusReply CModbusRequest::WriteOne(uint8_t station, uint16_t address, uint16_t value)
{
    std::array<uint8_t, 8> tx{station, kWriteOne};
    PutWord(&tx[2], address);
    PutWord(&tx[4], value);
    AppendCrc16(tx.data(), 6);
    std::array<uint8_t, 8> rx{};
    ModbusReply reply = Exchange(tx.data(), tx.size(), rx.data(), rx.size());
    // The echoed value is not compared: a drive may echo a value it adjusted.
    if (reply.Ok() && GetWord(&rx[2]) != address)
        reply.result = kErrComm;
    return reply;
}

ModbusReply CModbusRequest::WriteMany(uint8_t station, uint16_t address, std::span<const uint16_t> words)
{
    if (words.empty() || words.size() > kMaxWriteCount)
        return {};
    std::array<uint8_t, kFrameRoom> tx{station, kWriteMany};
    auto count = static_cast<uint16_t>(words.size());
    PutWord(&tx[2], address);
    PutWord(&tx[4], count);
    tx[6] = static_cast<uint8_t>(2 * count);
    for (size_t k = 0; k < words.size(); ++k)
        PutWord(&tx[7 + 2 * k], words[k]);
    unsigned length = static_cast<unsigned>(AppendCrc16(tx.data(), 7 + 2u * count));
    std::array<uint8_t, 8> rx{};
    ModbusReply reply = Exchange(tx.data(), length, rx.data(), rx.size());
    if (reply.Ok() && (GetWord(&rx[2]) != address || GetWord(&rx[4]) != count))
        reply.result = kErrComm;
    return reply;
}

bool CModbusRequest::Broadcast(uint16_t address, uint16_t value)
{
    if (!m_link)
        return false;
    std::array<uint8_t, 8> tx{0, kWriteOne};
    PutWord(&tx[2], address);
    PutWord(&tx[4], value);
    AppendCrc16(tx.data(), 6);
    return m_link->SendBroadcast(tx.data()) != 0;
}
