#include "link/SerialComm.h"

#include "link/Crc16.h"
#include "link/Deadline.h"
#include "link/MacText.h"
#include "link/NetAdapterProtocol.h"
#include "link/UdpSocket.h"

#include <arpa/inet.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <thread>

namespace {

// Pause before an interactive request: a drive needs a moment between the
// frames of a burst of clicks.
constexpr auto kSendPause = std::chrono::milliseconds(10);
// Broadcast: time allowed for the write, then time the drives need.
constexpr unsigned long kBroadcastWriteMs = 800;
constexpr auto kBroadcastPause = std::chrono::milliseconds(100);
constexpr unsigned kBroadcastLength = 8;
// The largest read the link library ever asks of the port.
constexpr unsigned kMaxRead = 160;
// Room for one datagram of the search.
constexpr size_t kDatagramRoom = 1024;

} // namespace

CSerialComm::CSerialComm() = default;

CSerialComm::~CSerialComm()
{
    Close();
}

ErrType CSerialComm::SendCommand(uint8_t* tx, unsigned long txLen, uint8_t* rx, unsigned long rxLen)
{
    std::this_thread::sleep_for(kSendPause);
    return CommandSend(tx, txLen, rx, rxLen);
}

ErrType CSerialComm::SendCommandUnlessAbandoned(const std::atomic<bool>& abandoned, uint8_t* tx,
                                                unsigned long txLen, uint8_t* rx, unsigned long rxLen)
{
    std::this_thread::sleep_for(kSendPause);
    return CommandSendUnlessAbandoned(abandoned, tx, txLen, rx, rxLen);
}

int CSerialComm::SendBroadcast(const uint8_t* frame)
{
    unsigned long written = 0;
    long error = Write(frame, kBroadcastLength, &written, kBroadcastWriteMs);
    if (error != 0 || written != kBroadcastLength)
        return 0;
    std::this_thread::sleep_for(kBroadcastPause);
    return 1;
}

long CSerialComm::Read(void* data, unsigned size, unsigned long* read, unsigned long timeoutMs)
{
    if (size > kMaxRead) {
        DiscardInput();
        if (read)
            *read = 0;
        return 0;
    }
    return CSerial::Read(data, size, read, timeoutMs);
}

int CSerialComm::CheckCrc(const uint8_t* data, unsigned long length)
{
    return CSerial::CheckCrc(data, length);
}

int CSerialComm::DiscoverModules(std::vector<NetDeviceInfo>* modules)
{
    if (!modules)
        return 0;
    modules->clear();

    const NetAdapterSettings& settings = m_netSettings;
    sockaddr_in local{};
    sockaddr_in dest{};
    if (!MakeSocketAddress(settings.localAddress, settings.localPort, local) ||
        !MakeSocketAddress(settings.destAddress, settings.destPort, dest))
        return 0;
    // The search ends at the latest this long after it began, however many
    // datagrams keep arriving.
    Deadline searchEnd(settings.searchLimitMs);
    UdpSocket socket;
    // No address reuse: a port already held by another program ends the
    // search at once.
    if (!socket.IsValid() || !socket.EnableBroadcast() || !socket.Bind(local))
        return 0;
    uint8_t request[NetAdapter::kSearchRequestLength] = {};
    request[NetAdapter::kKindOffset] = NetAdapter::kSearchRequest;
    if (!socket.SendTo(request, sizeof request, dest))
        return 0;

    for (;;) {
        int wait = std::min(settings.quietMs, searchEnd.RemainingMs());
        if (wait <= 0)
            break;
        uint8_t datagram[kDatagramRoom] = {};
        sockaddr_in from{};
        long n = socket.ReceiveFrom(datagram, sizeof datagram, from, wait);
        if (n < 0)
            break; // quiet for long enough, or the socket failed
        // A reply carries the MAC in bytes 24..29; a shorter datagram (or our
        // own request coming back) names no module.
        if (static_cast<size_t>(n) < NetAdapter::kSearchReplyLength ||
            datagram[NetAdapter::kKindOffset] != NetAdapter::kSearchReply)
            continue;
        NetDeviceInfo info;
        info.m_strMac = FormatMacText(datagram + NetAdapter::kSearchReplyMacOffset);
        char ip[INET_ADDRSTRLEN] = {};
        ::inet_ntop(AF_INET, &from.sin_addr, ip, sizeof ip);
        info.m_strIp = ip;
        info.m_addr = from;
        modules->push_back(std::move(info));
    }
    return static_cast<int>(modules->size());
}
