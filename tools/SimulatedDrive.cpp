#include "tools/SimulatedDrive.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "link/NetAdapterProtocol.h"
#include "tools/SimDriveRegisters.h"

using namespace SimDrive;
using Clock = std::chrono::steady_clock;

namespace {

// A request still incomplete after this much line silence is dropped (or, for
// a function the drive does not know, taken whole and refused). Generous: a
// master writes a request in one go, but a loaded machine may split it.
constexpr auto kFrameGap = std::chrono::milliseconds(100);
// How long a reply may wait for room in a full pseudo-terminal or socket.
constexpr int kWriteRoomTimeoutMs = 1000;

void CloseFd(int& fd)
{
    if (fd >= 0)
        ::close(fd);
    fd = -1;
}

bool ParseIp(const std::string& text, in_addr* addr)
{
    return ::inet_pton(AF_INET, text.c_str(), addr) == 1;
}

int OpenSocket(int type, const std::string& ip, int port, std::string* error)
{
    sockaddr_in addr {};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(static_cast<std::uint16_t>(port));
    if (!ParseIp(ip, &addr.sin_addr)) {
        *error = "not an IPv4 address: " + ip;
        return -1;
    }
    const int fd = ::socket(AF_INET, type | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        *error = std::string("socket: ") + std::strerror(errno);
        return -1;
    }
    const int one = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    if (::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0
        || (type == SOCK_STREAM && ::listen(fd, 8) != 0)) {
        *error = "cannot bind " + ip + ":" + std::to_string(port) + ": " + std::strerror(errno);
        ::close(fd);
        return -1;
    }
    return fd;
}

int BoundPort(int fd)
{
    sockaddr_in addr {};
    socklen_t length = sizeof addr;
    if (::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &length) != 0)
        return -1;
    return ntohs(addr.sin_port);
}

} // namespace

struct CSimulatedDrive::Connection {
    int fd = -1;
    SimTransport transport = SimTransport::Pty;
    std::vector<std::uint8_t> buf;
    Clock::time_point firstByte;
    Clock::time_point lastByte;
    // When the last reply on this line ended, for the silence before the next request.
    Clock::time_point lastReplyEnd;
    bool repliedBefore = false;
};

CSimulatedDrive::CSimulatedDrive(SimDriveConfig config, const SimClock* clock)
    : CSimDriveModel(config, clock)
    , m_config(std::move(config))
{
    m_moduleIp = m_config.moduleIp;
}

CSimulatedDrive::~CSimulatedDrive()
{
    Stop();
}

bool CSimulatedDrive::Start(std::string* error)
{
    std::string scratch;
    if (!error)
        error = &scratch;
    if (m_running)
        return true;
    m_stopping = false;
    m_wakeFd = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (m_wakeFd < 0) {
        *error = std::string("eventfd: ") + std::strerror(errno);
        return false;
    }
    auto fail = [&](const std::string& why) {
        *error = why;
        CloseEndpoints();
        return false;
    };
    if (m_config.servePty) {
        const int master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0) {
            if (master >= 0)
                ::close(master);
            return fail(std::string("pseudo-terminal: ") + std::strerror(errno));
        }
        char name[128] = {};
        if (::ptsname_r(master, name, sizeof name) != 0) {
            ::close(master);
            return fail(std::string("ptsname: ") + std::strerror(errno));
        }
        m_ptyPath = name;
        ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);
        auto connection = std::make_unique<Connection>();
        connection->fd = master;
        connection->transport = SimTransport::Pty;
        m_connections.push_back(std::move(connection));
        m_ptySlave = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (m_ptySlave < 0)
            return fail(std::string("open ") + name + ": " + std::strerror(errno));
        // A raw line until a client sets its own: no echo, no line editing.
        termios tio {};
        if (::tcgetattr(m_ptySlave, &tio) == 0) {
            ::cfmakeraw(&tio);
            ::tcsetattr(m_ptySlave, TCSANOW, &tio);
        }
    }
    if (m_config.tcpPort >= 0) {
        m_tcpListen = OpenSocket(SOCK_STREAM, m_moduleIp, m_config.tcpPort, error);
        if (m_tcpListen < 0)
            return fail(*error);
        m_tcpPort = BoundPort(m_tcpListen);
    }
    if (m_config.udpPort >= 0) {
        m_udpUnicast = OpenSocket(SOCK_DGRAM, m_moduleIp, m_config.udpPort, error);
        if (m_udpUnicast < 0)
            return fail(*error);
        m_udpPort = BoundPort(m_udpUnicast);
        if (!m_config.discoveryAddress.empty() && m_config.discoveryAddress != m_moduleIp) {
            m_udpBroadcast = OpenSocket(SOCK_DGRAM, m_config.discoveryAddress, m_udpPort, error);
            if (m_udpBroadcast < 0)
                return fail(*error);
        }
        const int one = 1;
        ::setsockopt(m_udpUnicast, SOL_SOCKET, SO_BROADCAST, &one, sizeof one);
    }
    m_running = true;
    m_thread = std::thread([this] { Serve(); });
    return true;
}

void CSimulatedDrive::Stop()
{
    if (!m_running)
        return;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stopping = true;
    }
    m_changed.notify_all();
    const std::uint64_t one = 1;
    [[maybe_unused]] ssize_t ignored = ::write(m_wakeFd, &one, sizeof one);
    m_thread.join();
    m_running = false;
    CloseEndpoints();
}

void CSimulatedDrive::CloseEndpoints()
{
    for (auto& connection : m_connections)
        CloseFd(connection->fd);
    m_connections.clear();
    CloseFd(m_ptySlave);
    CloseFd(m_tcpListen);
    CloseFd(m_udpUnicast);
    CloseFd(m_udpBroadcast);
    CloseFd(m_wakeFd);
}

std::string CSimulatedDrive::GetPtyPath() const
{
    return m_ptyPath;
}
int CSimulatedDrive::GetTcpPort() const
{
    return m_tcpPort;
}
int CSimulatedDrive::GetUdpPort() const
{
    return m_udpPort;
}

std::string CSimulatedDrive::GetModuleIp() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_moduleIp;
}

std::array<std::uint8_t, 6> CSimulatedDrive::GetMac() const
{
    return m_config.mac;
}

void CSimulatedDrive::SetLineFormat(const SimLineFormat& line)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_config.line = line;
}

void CSimulatedDrive::SetSearchReplyLength(std::size_t length)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_searchReplyLength = length;
}

void CSimulatedDrive::SetDiscoverySilent(bool silent)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_discoverySilent = silent;
}

void CSimulatedDrive::SetRefuseAddressChange(bool refuse)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_refuseAddressChange = refuse;
}

// ---- serving ----

void CSimulatedDrive::Serve()
{
    for (;;) {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            if (m_stopping)
                return;
        }
        std::vector<pollfd> fds;
        fds.push_back({ m_wakeFd, POLLIN, 0 });
        for (auto& connection : m_connections)
            fds.push_back({ connection->fd, POLLIN, 0 });
        const std::size_t listenIndex = fds.size();
        if (m_tcpListen >= 0)
            fds.push_back({ m_tcpListen, POLLIN, 0 });
        const std::size_t udpIndex = fds.size();
        if (m_udpUnicast >= 0)
            fds.push_back({ m_udpUnicast, POLLIN, 0 });
        if (m_udpBroadcast >= 0)
            fds.push_back({ m_udpBroadcast, POLLIN, 0 });

        // Wake up when the oldest incomplete request has waited out the gap.
        int timeoutMs = -1;
        const auto now = Clock::now();
        for (auto& connection : m_connections) {
            if (connection->buf.empty())
                continue;
            const auto left
                = std::chrono::duration_cast<std::chrono::milliseconds>(connection->lastByte + kFrameGap - now);
            const int ms = static_cast<int>(std::max<long long>(0, left.count()) + 1);
            timeoutMs = timeoutMs < 0 ? ms : std::min(timeoutMs, ms);
        }
        const int ready = ::poll(fds.data(), fds.size(), timeoutMs);
        if (ready < 0 && errno != EINTR)
            return;
        if (fds[0].revents & POLLIN) {
            std::uint64_t value = 0;
            [[maybe_unused]] ssize_t ignored = ::read(m_wakeFd, &value, sizeof value);
            continue;
        }
        // Connections first (indices 1..n match m_connections as built above).
        const std::size_t connectionCount = listenIndex - 1;
        std::vector<Connection*> closed;
        for (std::size_t i = 0; i < connectionCount; ++i) {
            Connection& connection = *m_connections[i];
            if (fds[i + 1].revents & (POLLIN | POLLHUP | POLLERR)) {
                ReadConnection(connection);
                if (connection.fd < 0) {
                    closed.push_back(&connection);
                    continue;
                }
            }
            const bool silence = !connection.buf.empty() && Clock::now() - connection.lastByte >= kFrameGap;
            ProcessBuffer(connection, silence);
        }
        if (!closed.empty()) {
            std::erase_if(m_connections, [&](const std::unique_ptr<Connection>& c) {
                return std::find(closed.begin(), closed.end(), c.get()) != closed.end();
            });
        }
        if (m_tcpListen >= 0 && listenIndex < fds.size() && fds[listenIndex].fd == m_tcpListen
            && (fds[listenIndex].revents & POLLIN)) {
            const int client = ::accept4(m_tcpListen, nullptr, nullptr, SOCK_CLOEXEC);
            if (client >= 0) {
                const int one = 1;
                ::setsockopt(client, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
                auto connection = std::make_unique<Connection>();
                connection->fd = client;
                connection->transport = SimTransport::Tcp;
                m_connections.push_back(std::move(connection));
            }
        }
        for (std::size_t i = udpIndex; i < fds.size(); ++i) {
            if (!(fds[i].revents & POLLIN))
                continue;
            // An address change replaces the sockets: the rest of this round's list is stale.
            if (fds[i].fd != m_udpUnicast && fds[i].fd != m_udpBroadcast)
                break;
            HandleDatagram(fds[i].fd);
        }
    }
}

void CSimulatedDrive::ReadConnection(Connection& connection)
{
    std::uint8_t chunk[512];
    for (;;) {
        const ssize_t n = connection.transport == SimTransport::Pty
            ? ::read(connection.fd, chunk, sizeof chunk)
            : ::recv(connection.fd, chunk, sizeof chunk, MSG_DONTWAIT);
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR))
            return;
        if (n <= 0) {
            // A pseudo-terminal reports EIO only when no side holds the slave; ours
            // is always held, so this is a closed TCP client.
            if (connection.transport == SimTransport::Tcp)
                CloseFd(connection.fd);
            return;
        }
        const auto now = Clock::now();
        if (connection.buf.empty())
            connection.firstByte = now;
        connection.lastByte = now;
        connection.buf.insert(connection.buf.end(), chunk, chunk + n);
    }
}

void CSimulatedDrive::ProcessBuffer(Connection& connection, bool silenceReached)
{
    while (!connection.buf.empty() && connection.fd >= 0) {
        const std::size_t need = SimRequestLength(connection.buf);
        const auto firstByte = connection.firstByte;
        if (need == 0 || need == SIZE_MAX || connection.buf.size() < need) {
            if (!silenceReached)
                return;
            // The line went quiet: what is there is all the request there will be.
            std::vector<std::uint8_t> frame;
            frame.swap(connection.buf);
            HandleFrame(connection, frame, need == SIZE_MAX && SimCrcOk(frame), firstByte);
            return;
        }
        std::vector<std::uint8_t> frame(connection.buf.begin(), connection.buf.begin() + static_cast<long>(need));
        const bool crcOk = SimCrcOk(frame);
        if (crcOk) {
            connection.buf.erase(connection.buf.begin(), connection.buf.begin() + static_cast<long>(need));
            connection.firstByte = Clock::now();
        } else {
            // Out of step with the line: drop everything up to the next silence.
            connection.buf.clear();
        }
        HandleFrame(connection, frame, crcOk, firstByte);
    }
}

void CSimulatedDrive::HandleFrame(
    Connection& connection, const std::vector<std::uint8_t>& frame, bool crcOk, Clock::time_point firstByte)
{
    SimLineFormat line;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        line = m_config.line;
    }
    SimFrame received;
    received.time = firstByte;
    received.transport = connection.transport;
    received.request = frame;
    received.crcOk = crcOk;
    if (line.baud != 0 && connection.repliedBefore) {
        received.sinceReply = std::chrono::duration_cast<std::chrono::nanoseconds>(firstByte - connection.lastReplyEnd);
        received.early = *received.sinceReply < SimSilentInterval(line);
    }
    const SimAnswer answer = CSimDriveModel::HandleFrame(received, !(received.early && line.ignoreEarly));
    if (!answer.reply.empty() && SendPaced(connection, answer.reply, firstByte, frame.size(), answer.delayMs)) {
        connection.lastReplyEnd = Clock::now();
        connection.repliedBefore = true;
    }
}

bool CSimulatedDrive::WaitUntil(Clock::time_point deadline)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    return !m_changed.wait_until(lock, deadline, [&] { return m_stopping; });
}

bool CSimulatedDrive::SendPaced(const Connection& connection, const std::vector<std::uint8_t>& bytes,
    Clock::time_point requestStart, std::size_t requestLength, int delayMs)
{
    const int fd = connection.fd;
    SimLineFormat line;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        line = m_config.line;
    }
    auto writeAll = [&](const std::uint8_t* data, std::size_t length) {
        std::size_t done = 0;
        while (done < length) {
            const ssize_t m = connection.transport == SimTransport::Pty
                ? ::write(fd, data + done, length - done)
                : ::send(fd, data + done, length - done, MSG_NOSIGNAL | MSG_DONTWAIT);
            if (m > 0) {
                done += static_cast<std::size_t>(m);
                continue;
            }
            if (m < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) {
                pollfd p { fd, POLLOUT, 0 };
                if (::poll(&p, 1, kWriteRoomTimeoutMs) <= 0)
                    return false; // nobody reads: drop the reply
                continue;
            }
            return false;
        }
        return true;
    };
    if (line.baud == 0) {
        if (delayMs > 0 && !WaitUntil(Clock::now() + std::chrono::milliseconds(delayMs)))
            return false;
        return writeAll(bytes.data(), bytes.size());
    }
    const auto charTime = std::chrono::duration_cast<Clock::duration>(SimCharTime(line));
    // The request took its own time on the line, then the drive keeps the
    // silence that ends a frame before it answers.
    Clock::time_point start = requestStart + charTime * static_cast<long>(requestLength)
        + std::chrono::duration_cast<Clock::duration>(SimSilentInterval(line));
    start = std::max(start, Clock::now()) + std::chrono::milliseconds(delayMs);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (!WaitUntil(start + charTime * static_cast<long>(i + 1)) || !writeAll(&bytes[i], 1))
            return false;
    }
    return true;
}

// ---- adapter datagrams ----

bool CSimulatedDrive::OpenModuleSockets(const std::string& ip, std::string* error)
{
    int udp = -1;
    int tcp = -1;
    if (m_udpPort >= 0) {
        udp = OpenSocket(SOCK_DGRAM, ip, m_udpPort, error);
        if (udp < 0)
            return false;
        const int one = 1;
        ::setsockopt(udp, SOL_SOCKET, SO_BROADCAST, &one, sizeof one);
    }
    if (m_tcpListen >= 0) {
        tcp = OpenSocket(SOCK_STREAM, ip, m_tcpPort, error);
        if (tcp < 0) {
            CloseFd(udp);
            return false;
        }
    }
    if (udp >= 0) {
        CloseFd(m_udpUnicast);
        m_udpUnicast = udp;
    }
    if (tcp >= 0) {
        CloseFd(m_tcpListen);
        m_tcpListen = tcp;
    }
    return true;
}

bool CSimulatedDrive::MoveAddress(const std::string& newIp)
{
    std::string error;
    if (!OpenModuleSockets(newIp, &error))
        return false;
    std::lock_guard<std::mutex> lock(m_mutex);
    m_moduleIp = newIp;
    return true;
}

void CSimulatedDrive::HandleDatagram(int fd)
{
    std::uint8_t in[1024];
    sockaddr_in from {};
    socklen_t fromLength = sizeof from;
    const ssize_t n = ::recvfrom(fd, in, sizeof in, MSG_DONTWAIT, reinterpret_cast<sockaddr*>(&from), &fromLength);
    if (n < 4 || in[0] != 0 || in[1] != 0 || in[2] != 0)
        return;
    const auto& mac = m_config.mac;
    auto putAddress = [&](std::vector<std::uint8_t>& out, std::size_t offset) {
        in_addr addr {};
        ParseIp(GetModuleIp(), &addr);
        std::memcpy(&out[offset], &addr.s_addr, 4);
    };
    auto putPort = [&](std::vector<std::uint8_t>& out, std::size_t offset) {
        const int port = std::max(0, m_tcpPort);
        out[offset] = static_cast<std::uint8_t>(port >> 8);
        out[offset + 1] = static_cast<std::uint8_t>(port & 0xFF);
    };
    std::vector<std::uint8_t> out;
    switch (in[NetAdapter::kKindOffset]) {
    case NetAdapter::kSearchRequest: {
        std::size_t length = NetAdapter::kSearchReplyLength;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            if (m_discoverySilent)
                return;
            if (m_searchReplyLength != 0)
                length = std::min(length, m_searchReplyLength);
        }
        out.assign(NetAdapter::kSearchReplyLength, 0);
        out[NetAdapter::kKindOffset] = NetAdapter::kSearchReply;
        putAddress(out, NetAdapter::kSearchReplyIpOffset);
        putPort(out, NetAdapter::kSearchReplyPortOffset);
        std::copy(mac.begin(), mac.end(), out.begin() + NetAdapter::kSearchReplyMacOffset);
        out.resize(length);
        break;
    }
    case NetAdapter::kSetAddressRequest: {
        if (n < static_cast<ssize_t>(NetAdapter::kSetAddressRequestLength)
            || !std::equal(mac.begin(), mac.end(), in + NetAdapter::kSetAddressMacOffset)) {
            return;
        }
        char text[INET_ADDRSTRLEN] = {};
        in_addr wanted {};
        std::memcpy(&wanted.s_addr, in + NetAdapter::kSetAddressIpOffset, 4);
        ::inet_ntop(AF_INET, &wanted, text, sizeof text);
        bool refuse = false;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            refuse = m_refuseAddressChange;
        }
        const bool accepted = !refuse && (text == GetModuleIp() || MoveAddress(text));
        out.assign(NetAdapter::kSetAddressReplyLength, 0);
        out[NetAdapter::kKindOffset] = NetAdapter::kSetAddressReply;
        std::copy(mac.begin(), mac.end(), out.begin() + NetAdapter::kSetAddressMacOffset);
        putAddress(out, NetAdapter::kSetAddressIpOffset);
        out[NetAdapter::kSetAddressStatusOffset]
            = accepted ? NetAdapter::kSetAddressAccepted : NetAdapter::kSetAddressRefused;
        break;
    }
    case NetAdapter::kIdentifyRequest:
        out.assign(NetAdapter::kIdentifyReplyLength, 0);
        out[NetAdapter::kKindOffset] = NetAdapter::kIdentifyReply;
        std::copy(mac.begin(), mac.end(), out.begin() + NetAdapter::kIdentifyMacOffset);
        putAddress(out, NetAdapter::kIdentifyIpOffset);
        putPort(out, NetAdapter::kIdentifyPortOffset);
        break;
    default:
        return;
    }
    // Replies leave from the module's own address, as a module on the network would answer.
    ::sendto(m_udpUnicast, out.data(), out.size(), 0, reinterpret_cast<sockaddr*>(&from), fromLength);
}
