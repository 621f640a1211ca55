#include "link/Serial.h"

#include "link/Crc16.h"
#include "link/Deadline.h"
#include "link/LinkBackend.h"
#include "link/MacText.h"
#include "link/NetAdapterProtocol.h"
#include "link/UdpSocket.h"

#include <arpa/inet.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace {

// Modbus RTU frames never exceed 256 bytes.
constexpr size_t kMaxFrame = 256;
// A drive's refusal: station, function, code, CRC.
constexpr size_t kExceptionReplyLength = 5;
// Connecting to the adapter's tunnel.
constexpr int kTcpConnectMs = 3000;
// How often a request that may be given up looks at its flag while the line
// is kept quiet after a failure.
constexpr int kAbandonLookMs = 20;

std::mutex g_defaultsLock;
bool g_defaultsReady = false;
NetAdapterSettings g_defaults;

void ApplyEnvironment(NetAdapterSettings& settings)
{
    if (const char* local = std::getenv("D390_ADAPTER_LOCAL")) {
        std::string address = settings.localAddress;
        uint16_t port = settings.localPort;
        if (ParseSocketAddress(local, address, port)) {
            settings.localAddress = address;
            settings.localPort = port;
        }
    }
    if (const char* dest = std::getenv("D390_ADAPTER_DEST")) {
        std::string address = settings.destAddress;
        uint16_t port = settings.destPort;
        if (ParseSocketAddress(dest, address, port)) {
            settings.destAddress = address;
            settings.destPort = port;
        }
    }
    if (const char* tcp = std::getenv("D390_ADAPTER_TCP_PORT")) {
        long port = std::strtol(tcp, nullptr, 10);
        if (port > 0 && port < 65536)
            settings.tcpPort = static_cast<uint16_t>(port);
    }
}

} // namespace

std::chrono::nanoseconds LineSilentInterval(const SerialSettings& settings)
{
    if (settings.baud == 0)
        return std::chrono::nanoseconds::zero();
    if (settings.baud > 19200)
        return std::chrono::microseconds(1750);
    const long long bits = 1 + settings.dataBits + (settings.parity != 0 ? 1 : 0) + settings.stopBits;
    // 3.5 characters, rounded up.
    return std::chrono::nanoseconds((bits * 7 * 1'000'000'000LL + 2LL * settings.baud - 1) / (2LL * settings.baud));
}

void SleepPreciselyUntil(LinkClock::time_point when)
{
    // Long enough to cover a late wake-up on a loaded machine; the spin costs
    // at most this much processor time a request.
    constexpr auto kAwake = std::chrono::microseconds(400);
    if (when - LinkClock::now() > kAwake)
        std::this_thread::sleep_until(when - kAwake);
    while (LinkClock::now() < when) {
    }
}

NetAdapterSettings GetDefaultNetAdapterSettings()
{
    std::lock_guard<std::mutex> guard(g_defaultsLock);
    if (!g_defaultsReady) {
        ApplyEnvironment(g_defaults);
        g_defaultsReady = true;
    }
    return g_defaults;
}

void SetDefaultNetAdapterSettings(const NetAdapterSettings& settings)
{
    std::lock_guard<std::mutex> guard(g_defaultsLock);
    g_defaults = settings;
    g_defaultsReady = true;
}

CSerial::CSerial() : m_netSettings(GetDefaultNetAdapterSettings())
{
    m_netAddr.sin_family = AF_INET;
}

CSerial::~CSerial() = default;

int CSerial::InitComm(const std::string& port, unsigned long baud, uint8_t dataBits, uint8_t parity,
                      float stopBits)
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_backend.reset();
    m_settingsReport.clear();
    m_netLink = port == "TCPIP";
    SerialSettings settings;
    settings.baud = baud;
    settings.dataBits = dataBits;
    settings.parity = parity;
    settings.stopBits = stopBits >= 1.5f ? 2 : 1;
    if (m_netLink) {
        sockaddr_in address = m_netAddr;
        address.sin_family = AF_INET;
        address.sin_port = htons(m_tcpPort != 0 ? m_tcpPort : m_netSettings.tcpPort);
        if (address.sin_addr.s_addr == htonl(INADDR_ANY)) {
            m_settingsReport = "no network adapter chosen";
            return 0;
        }
        m_backend = OpenTcpBackend(address, kTcpConnectMs);
        if (!m_backend)
            m_settingsReport = "network adapter not reachable";
    } else {
        m_backend = OpenSerialBackend(port, settings, m_settingsReport);
    }
    // The adapter passes the frames on to a line of the same format, whose
    // silences the adapter may not keep for us.
    if (m_backend)
        SetLine(settings);
    return m_backend ? 1 : 0;
}

int CSerial::AttachBackend(std::unique_ptr<LinkBackend> backend, const SerialSettings& line)
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_backend = std::move(backend);
    m_settingsReport.clear();
    m_netLink = false;
    if (m_backend)
        SetLine(line);
    return m_backend ? 1 : 0;
}

void CSerial::SetLine(const SerialSettings& line)
{
    m_silentInterval = std::chrono::duration_cast<LinkClock::duration>(LineSilentInterval(line));
    m_lastReceived = m_backend->Now() - m_silentInterval;
    m_guardArmed = false;
}

long CSerial::Close()
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_backend.reset();
    return 0;
}

bool CSerial::IsOpen() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_backend != nullptr;
}

std::string CSerial::GetSettingsReport() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_settingsReport;
}

void CSerial::SetTimeouts(const LinkTimeouts& timeouts)
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_timeouts = timeouts;
}

LinkTimeouts CSerial::GetTimeouts() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_timeouts;
}

void CSerial::SetNetAdapterSettings(const NetAdapterSettings& settings)
{
    m_netSettings = settings;
}

const NetAdapterSettings& CSerial::GetNetAdapterSettings() const
{
    return m_netSettings;
}

long CSerial::Write(const void* data, unsigned size, unsigned long* written, unsigned long timeoutMs)
{
    std::lock_guard<std::mutex> guard(m_lock);
    if (written)
        *written = 0;
    if (!m_backend)
        return ENOTCONN;
    if (size == 0)
        return 0;
    if (!data)
        return EINVAL;
    switch (AwaitLine()) {
    case kErrNone: break;
    case kErrTimeout: return ETIMEDOUT;
    default: return EIO;
    }
    size_t done = 0;
    int error = m_backend->Send(static_cast<const uint8_t*>(data), size, static_cast<int>(timeoutMs), &done);
    if (written)
        *written = done;
    return error;
}

long CSerial::Read(void* data, unsigned size, unsigned long* read, unsigned long timeoutMs)
{
    std::lock_guard<std::mutex> guard(m_lock);
    if (read)
        *read = 0;
    if (!m_backend)
        return ENOTCONN;
    if (size == 0)
        return 0;
    if (!data)
        return EINVAL;
    long n = m_backend->Receive(static_cast<uint8_t*>(data), size, static_cast<int>(timeoutMs));
    if (n < 0)
        return EIO;
    if (n > 0)
        NoteReceived();
    if (read)
        *read = static_cast<unsigned long>(n);
    return 0;
}

void CSerial::DiscardInput()
{
    std::lock_guard<std::mutex> guard(m_lock);
    if (m_backend)
        m_backend->Discard();
}

ErrType CSerial::CommandSend(uint8_t* tx, unsigned long txLen, uint8_t* rx, unsigned long rxLen)
{
    std::lock_guard<std::mutex> guard(m_lock);
    return Transact(tx, txLen, rx, rxLen);
}

ErrType CSerial::CommandSendUnlessAbandoned(const std::atomic<bool>& abandoned, uint8_t* tx, unsigned long txLen,
                                            uint8_t* rx, unsigned long rxLen)
{
    std::lock_guard<std::mutex> guard(m_lock);
    return Transact(tx, txLen, rx, rxLen, &abandoned);
}

ErrType CSerial::Transact(const uint8_t* tx, size_t txLen, uint8_t* rx, size_t rxLen,
                          const std::atomic<bool>* abandoned)
{
    if (!m_backend || !tx || !rx || txLen < 2 || txLen > kMaxFrame || rxLen < kExceptionReplyLength ||
        rxLen > kMaxFrame)
        return kErrComm;
    // Given up while it waited for the link's lock.
    if (abandoned && abandoned->load())
        return kErrAbandoned;

    ErrType ready = AwaitLine(abandoned);
    if (ready != kErrNone)
        return ready;
    if (abandoned && abandoned->load())
        return kErrAbandoned;
    // Whatever is waiting now belongs to no request of ours (line noise, the
    // end of a reply too long for its request).
    m_backend->Discard();
    if (m_backend->Send(tx, txLen, m_timeouts.writeMs, nullptr) != 0) {
        ArmGuard();
        return kErrComm;
    }
    ErrType result = ReceiveReply(tx, rx, rxLen);
    if (result != kErrNone)
        ArmGuard();
    return result;
}

ErrType CSerial::ReceiveReply(const uint8_t* tx, uint8_t* rx, size_t rxLen)
{
    std::array<uint8_t, kMaxFrame> frame;
    size_t expected = rxLen;
    long n = m_backend->Receive(frame.data(), expected, m_timeouts.firstByteMs);
    if (n < 0)
        return kErrComm;
    if (n == 0)
        return kErrTimeout;
    NoteReceived();
    size_t got = static_cast<size_t>(n);
    const LinkClock::time_point frameEnd = m_backend->Now() + std::chrono::milliseconds(m_timeouts.frameMs);
    for (;;) {
        if (got >= 2 && frame[1] != tx[1])
            expected = kExceptionReplyLength;
        if (got >= expected)
            break;
        int wait = std::min(m_timeouts.interByteMs, MillisecondsUntil(frameEnd));
        n = m_backend->Receive(frame.data() + got, expected - got, wait);
        if (n < 0)
            return kErrComm;
        if (n == 0)
            return kErrTimeout;
        NoteReceived();
        got += static_cast<size_t>(n);
    }

    if (!CheckCrc(frame.data(), expected))
        return kErrCrc;
    if (frame[0] != tx[0])
        return kErrComm;
    std::memcpy(rx, frame.data(), std::min(expected, rxLen));
    return kErrNone;
}

int CSerial::MillisecondsUntil(LinkClock::time_point when) const
{
    auto left = when - m_backend->Now();
    if (left <= LinkClock::duration::zero())
        return 0;
    return static_cast<int>(std::chrono::ceil<std::chrono::milliseconds>(left).count());
}

void CSerial::NoteReceived()
{
    m_lastReceived = m_backend->Now();
}

void CSerial::ArmGuard()
{
    m_guardArmed = true;
    m_quietSince = m_backend->Now();
}

ErrType CSerial::AwaitLine(const std::atomic<bool>* abandoned)
{
    if (m_guardArmed) {
        const auto quiet = std::chrono::milliseconds(m_timeouts.firstByteMs);
        const LinkClock::time_point limit = m_backend->Now() + std::chrono::milliseconds(m_timeouts.guardLimitMs);
        std::array<uint8_t, kMaxFrame> scrap;
        // Bytes already waiting came at some time since the failure: the
        // quiet starts after them.
        while (m_backend->Now() < limit && m_backend->Receive(scrap.data(), scrap.size(), 0) > 0)
            m_quietSince = m_backend->Now();
        for (;;) {
            const LinkClock::time_point now = m_backend->Now();
            if (now - m_quietSince >= quiet)
                break;
            if (now >= limit)
                return kErrTimeout;
            // A request that may be given up looks at its flag between short
            // waits. The guard stays armed: the quiet counted so far is the
            // next request's.
            if (abandoned && abandoned->load())
                return kErrAbandoned;
            int wait = MillisecondsUntil(std::min(m_quietSince + quiet, limit));
            if (abandoned)
                wait = std::min(wait, kAbandonLookMs);
            long n = m_backend->Receive(scrap.data(), scrap.size(), wait);
            if (n < 0)
                return kErrComm;
            if (n > 0) {
                m_quietSince = m_backend->Now();
                m_lastReceived = m_quietSince;
            }
        }
        m_guardArmed = false;
    }
    const LinkClock::time_point mayStart = m_lastReceived + m_silentInterval;
    if (m_backend->Now() < mayStart)
        m_backend->SleepUntil(mayStart);
    return kErrNone;
}

int CSerial::CheckCrc(const uint8_t* data, unsigned long length)
{
    if (!data || length < 2)
        return 0;
    uint16_t crc = CalcCrc16(length - 2, data);
    return data[length - 2] == (crc & 0xFF) && data[length - 1] == (crc >> 8) ? 1 : 0;
}

int CSerial::setIPAddress(const std::string& ip, const std::string& mac)
{
    uint8_t macBytes[NetAdapter::kMacLength];
    in_addr newAddress{};
    if (!ParseMacText(mac, macBytes) || ::inet_pton(AF_INET, ip.c_str(), &newAddress) != 1)
        return 0;
    sockaddr_in local{};
    sockaddr_in dest{};
    if (!MakeSocketAddress(m_netSettings.localAddress, 0, local) ||
        !MakeSocketAddress(m_netSettings.destAddress, m_netSettings.destPort, dest))
        return 0;
    UdpSocket socket;
    if (!socket.IsValid() || !socket.EnableBroadcast() || !socket.Bind(local))
        return 0;

    uint8_t request[NetAdapter::kSetAddressRequestLength] = {};
    request[NetAdapter::kKindOffset] = NetAdapter::kSetAddressRequest;
    std::memcpy(request + NetAdapter::kSetAddressMacOffset, macBytes, sizeof macBytes);
    std::memcpy(request + NetAdapter::kSetAddressIpOffset, &newAddress, 4);
    if (!socket.SendTo(request, sizeof request, dest))
        return 0;

    Deadline deadline(m_netSettings.replyMs);
    uint8_t reply[1024];
    for (;;) {
        sockaddr_in from{};
        long n = socket.ReceiveFrom(reply, sizeof reply, from, deadline.RemainingMs());
        if (n < 0)
            return 0;
        if (static_cast<size_t>(n) < NetAdapter::kSetAddressReplyLength ||
            reply[NetAdapter::kKindOffset] != NetAdapter::kSetAddressReply ||
            std::memcmp(reply + NetAdapter::kSetAddressMacOffset, macBytes, sizeof macBytes) != 0)
            continue; // our own request echoed, another module, noise
        return reply[NetAdapter::kSetAddressStatusOffset] == NetAdapter::kSetAddressAccepted ? 1 : 0;
    }
}

void CSerial::GetStrMac(const std::string& mac)
{
    m_strMac = mac;
    m_tcpPort = 0;
    uint8_t macBytes[NetAdapter::kMacLength];
    if (!ParseMacText(mac, macBytes) || m_netAddr.sin_addr.s_addr == htonl(INADDR_ANY))
        return;
    sockaddr_in local{};
    if (!MakeSocketAddress(m_netSettings.localAddress, 0, local))
        return;
    UdpSocket socket;
    if (!socket.IsValid() || !socket.Bind(local))
        return;
    sockaddr_in to = m_netAddr;
    to.sin_family = AF_INET;
    if (to.sin_port == 0)
        to.sin_port = htons(m_netSettings.destPort);
    uint8_t request[NetAdapter::kIdentifyRequestLength] = {};
    request[NetAdapter::kKindOffset] = NetAdapter::kIdentifyRequest;
    if (!socket.SendTo(request, sizeof request, to))
        return;

    Deadline deadline(m_netSettings.identifyMs);
    uint8_t reply[1024];
    for (;;) {
        sockaddr_in from{};
        long n = socket.ReceiveFrom(reply, sizeof reply, from, deadline.RemainingMs());
        if (n < 0)
            return; // an adapter that does not say keeps the configured port
        if (static_cast<size_t>(n) < NetAdapter::kIdentifyReplyLength ||
            reply[NetAdapter::kKindOffset] != NetAdapter::kIdentifyReply ||
            std::memcmp(reply + NetAdapter::kIdentifyMacOffset, macBytes, sizeof macBytes) != 0)
            continue;
        m_tcpPort = static_cast<uint16_t>(reply[NetAdapter::kIdentifyPortOffset] << 8 |
                                          reply[NetAdapter::kIdentifyPortOffset + 1]);
        return;
    }
}

bool CSerial::IsNetLink() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_backend && m_netLink;
}

bool IsPseudoTerminalPath(const std::string& path)
{
    char resolved[PATH_MAX];
    if (!::realpath(path.c_str(), resolved))
        return false;
    return std::string(resolved).rfind("/dev/pts/", 0) == 0;
}
