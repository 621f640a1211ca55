#include "monitor/LiveExchange.h"

#include "link/ModbusRequest.h"
#include "res/StringIds.h"
#include "session/DriveSession.h"

namespace {

LiveReply FromModbus(const ModbusReply& reply)
{
    LiveReply out;
    if (reply.Abandoned())
        return out; // its window stopped it before it went out: nothing was sent
    if (reply.Ok()) {
        out.failure = LiveFailure::None;
    } else if (reply.Answered()) {
        out.failure = LiveFailure::WrongFunction;
        out.messageId = IDS_COMM_ERROR;
    } else {
        out.failure = LiveFailure::Link;
        switch (reply.result) {
        case 1: out.messageId = IDS_CRC_ERROR; break;
        case 2: out.messageId = IDS_TIMEOUT; break;
        case 3: out.messageId = IDS_COMM_ERROR; break;
        default: out.messageId = 0; break; // a failure the link does not name: shown nowhere
        }
    }
    return out;
}

} // namespace

CLiveExchange::CLiveExchange(CDriveSession& state)
    : m_state(state)
{
}

bool CLiveExchange::IsConnected() const
{
    return m_state.m_bConnected != 0 && m_state.m_pComm != nullptr;
}

CSerialComm* CLiveExchange::Link() const
{
    return IsConnected() ? m_state.m_pComm : nullptr;
}

LiveReply CLiveExchange::Read(int station, std::uint16_t address, std::uint16_t count, std::uint16_t* words)
{
    if (!IsConnected())
        return {};
    CModbusRequest request(m_state.m_pComm, RequestPace::Interactive);
    return FromModbus(request.ReadHolding(static_cast<std::uint8_t>(station), address, count, words));
}

LiveReply CLiveExchange::Write(int station, std::uint16_t address, std::uint16_t value)
{
    if (!IsConnected())
        return {};
    CModbusRequest request(m_state.m_pComm, RequestPace::Interactive);
    return FromModbus(request.WriteOne(static_cast<std::uint8_t>(station), address, value));
}

CLiveLink::CLiveLink(CSerialComm* link, std::shared_ptr<const std::atomic<bool>> stopped)
    : m_link(link)
    , m_stopped(std::move(stopped))
{
}

LiveReply CLiveLink::Read(int station, std::uint16_t address, std::uint16_t count, std::uint16_t* words)
{
    if (!m_link || IsStopped())
        return {};
    CModbusRequest request(m_link, RequestPace::Interactive, m_stopped.get());
    return FromModbus(request.ReadHolding(static_cast<std::uint8_t>(station), address, count, words));
}

LiveReply CLiveLink::Write(int station, std::uint16_t address, std::uint16_t value)
{
    if (!m_link || IsStopped())
        return {};
    CModbusRequest request(m_link, RequestPace::Interactive, m_stopped.get());
    return FromModbus(request.WriteOne(static_cast<std::uint8_t>(station), address, value));
}
