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
#include "tools/SimDriveMotion.h"
#include "tools/SimDriveRegisters.h"

using namespace SimDrive;
using Clock = std::chrono::steady_clock;

namespace {

constexpr std::size_t kLogLimit = 100000;
// A request still incomplete after this much line silence is dropped (or, for
// a function the drive does not know, taken whole and refused). Generous: a
// master writes a request in one go, but a loaded machine may split it.
constexpr auto kFrameGap = std::chrono::milliseconds(100);
// Modbus limits on one request.
constexpr int kMaxReadCount = 125;
constexpr int kMaxWriteCount = 123;
// How long a reply may wait for room in a full pseudo-terminal or socket.
constexpr int kWriteRoomTimeoutMs = 1000;

// Length of the request in buf by its function: 0 while too few bytes tell,
// SIZE_MAX for a function whose length only line silence ends.
std::size_t ExpectedLength(const std::vector<std::uint8_t>& buf)
{
    if (buf.size() < 2)
        return 0;
    switch (buf[1]) {
    case 0x03:
    case 0x06:
        return 8;
    case 0x10:
        return buf.size() < 7 ? 0 : 9 + static_cast<std::size_t>(buf[6]);
    default:
        return SIZE_MAX;
    }
}

std::uint16_t Word(const std::vector<std::uint8_t>& frame, std::size_t offset)
{
    return static_cast<std::uint16_t>(frame[offset] << 8 | frame[offset + 1]);
}

void PutWord(std::vector<std::uint8_t>& out, std::uint16_t value)
{
    out.push_back(static_cast<std::uint8_t>(value >> 8));
    out.push_back(static_cast<std::uint8_t>(value & 0xFF));
}

void AppendCrc(std::vector<std::uint8_t>& frame)
{
    const std::uint16_t crc = CSimulatedDrive::Crc16(frame.data(), frame.size());
    frame.push_back(static_cast<std::uint8_t>(crc & 0xFF));
    frame.push_back(static_cast<std::uint8_t>(crc >> 8));
}

bool CrcOk(const std::vector<std::uint8_t>& frame)
{
    if (frame.size() < 4)
        return false;
    const std::uint16_t crc = CSimulatedDrive::Crc16(frame.data(), frame.size() - 2);
    return frame[frame.size() - 2] == (crc & 0xFF) && frame[frame.size() - 1] == (crc >> 8);
}

// What the drive reports about itself: model number, version, latest fault,
// and the status block.
bool IsReadOnly(std::uint16_t reg)
{
    return reg == kRegCapacity || reg == kRegVersion || reg == kRegLatestFault
        || (reg >= kRegStatusWord && reg <= kRegMonitorLast);
}

bool IsParameter(std::uint16_t reg)
{
    return reg < ParamRegister(15, 0);
}

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

struct CSimulatedDrive::Station {
    SimStationConfig config;
    std::string definitionFile;
    std::map<std::uint16_t, std::uint16_t> regs;
    std::map<std::uint16_t, WordRange> ranges;
    std::map<std::uint16_t, std::uint8_t> forced;
    bool silent = false;
    bool corruptCrc = false;
    int delayMs = 0;
    int answerAs = 0;
    std::size_t replyLength = 0;
    // Password: 0 none, 1 a first value written and awaiting its repetition, 2 active.
    int passwordState = 0;
    std::uint16_t password = 0;
    CSimDriveMotion motion;
};

struct CSimulatedDrive::Connection {
    int fd = -1;
    SimTransport transport = SimTransport::Pty;
    std::vector<std::uint8_t> buf;
    Clock::time_point firstByte;
    Clock::time_point lastByte;
};

std::uint16_t CSimulatedDrive::Crc16(const std::uint8_t* data, std::size_t length)
{
    std::uint16_t crc = 0xFFFF;
    for (std::size_t i = 0; i < length; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1) ? static_cast<std::uint16_t>((crc >> 1) ^ 0xA001) : crc >> 1;
    }
    return crc;
}

CSimulatedDrive::CSimulatedDrive(SimDriveConfig config)
    : m_config(std::move(config))
{
    m_moduleIp = m_config.moduleIp;
    for (const SimStationConfig& stationConfig : m_config.stations) {
        auto station = std::make_unique<Station>();
        station->config = stationConfig;
        station->regs = BuiltInRegisters(stationConfig.modelCode, stationConfig.version);
        std::string file = m_config.definitionFile;
        if (file.empty() && !m_config.dataDir.empty()) {
            file = m_config.dataDir;
            if (file.back() != '/')
                file += '/';
            file += DefinitionFileName(stationConfig.modelCode);
        }
        if (!file.empty() && LoadDefinitionFile(file, &station->regs, m_config.keepRanges ? &station->ranges : nullptr))
            station->definitionFile = file;
        // The drive's identity wins over whatever the definition file shows for it.
        const auto identity = BuiltInRegisters(stationConfig.modelCode, stationConfig.version);
        for (std::uint16_t reg : { kRegCapacity, kRegVersion, kRegPassword, kRegSeriesCode, kRegStatusWord }) {
            station->regs[reg] = identity.at(reg);
        }
        m_stations.push_back(std::move(station));
    }
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

CSimulatedDrive::Station* CSimulatedDrive::FindStation(int station)
{
    for (auto& candidate : m_stations) {
        if (candidate->config.station == station)
            return candidate.get();
    }
    return nullptr;
}

const CSimulatedDrive::Station* CSimulatedDrive::FindStation(int station) const
{
    for (const auto& candidate : m_stations) {
        if (candidate->config.station == station)
            return candidate.get();
    }
    return nullptr;
}

template <typename F> void CSimulatedDrive::ForEachStation(int station, F f)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    for (auto& candidate : m_stations) {
        if (station == kSimAllStations || candidate->config.station == station)
            f(*candidate);
    }
}

std::string CSimulatedDrive::GetDefinitionFile(int station) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    const Station* found = FindStation(station);
    return found ? found->definitionFile : std::string();
}

bool CSimulatedDrive::GetRegister(int station, std::uint16_t reg, std::uint16_t* value) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    const Station* found = FindStation(station);
    if (!found)
        return false;
    const auto it = found->regs.find(reg);
    if (it == found->regs.end())
        return false;
    *value = it->second;
    return true;
}

std::uint16_t CSimulatedDrive::GetRegister(int station, std::uint16_t reg) const
{
    std::uint16_t value = 0;
    return GetRegister(station, reg, &value) ? value : 0;
}

bool CSimulatedDrive::SetRegister(int station, std::uint16_t reg, std::uint16_t value)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    Station* found = FindStation(station);
    if (!found)
        return false;
    const auto it = found->regs.find(reg);
    if (it == found->regs.end())
        return false;
    it->second = value;
    return true;
}

void CSimulatedDrive::AddRegister(int station, std::uint16_t reg, std::uint16_t value)
{
    ForEachStation(station, [&](Station& s) { s.regs[reg] = value; });
}

void CSimulatedDrive::RemoveRegister(int station, std::uint16_t reg)
{
    ForEachStation(station, [&](Station& s) { s.regs.erase(reg); });
}

void CSimulatedDrive::SetRegisterRange(int station, std::uint16_t reg, int min, int max)
{
    ForEachStation(station, [&](Station& s) { s.ranges[reg] = WordRange { min, max }; });
}

void CSimulatedDrive::ForceException(int station, std::uint16_t reg, std::uint8_t code)
{
    ForEachStation(station, [&](Station& s) {
        if (code == 0) {
            s.forced.erase(reg);
        } else {
            s.forced[reg] = code;
        }
    });
}

void CSimulatedDrive::SetSilent(int station, bool silent)
{
    if (station == kSimAllStations) {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_silentAll = silent;
        if (!silent) {
            for (auto& s : m_stations)
                s->silent = false;
        }
        return;
    }
    ForEachStation(station, [&](Station& s) { s.silent = silent; });
}

void CSimulatedDrive::SetCorruptCrc(int station, bool corrupt)
{
    ForEachStation(station, [&](Station& s) { s.corruptCrc = corrupt; });
}

void CSimulatedDrive::SetReplyDelay(int station, int milliseconds)
{
    ForEachStation(station, [&](Station& s) { s.delayMs = std::max(0, milliseconds); });
}

void CSimulatedDrive::SetAnswerAs(int station, int answerAs)
{
    ForEachStation(station, [&](Station& s) { s.answerAs = answerAs; });
}

void CSimulatedDrive::SetReplyLength(int station, std::size_t length)
{
    ForEachStation(station, [&](Station& s) { s.replyLength = length; });
}

void CSimulatedDrive::SetLineFormat(const SimLineFormat& line)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_config.line = line;
}

void CSimulatedDrive::SetPassword(int station, std::uint16_t password)
{
    ForEachStation(station, [&](Station& s) {
        s.password = password;
        s.passwordState = 2;
        s.regs[kRegPassword] = 2;
    });
}

void CSimulatedDrive::ClearPassword(int station)
{
    ForEachStation(station, [&](Station& s) {
        s.passwordState = 0;
        s.regs[kRegPassword] = 0;
    });
}

bool CSimulatedDrive::IsPasswordActive(int station) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    const Station* found = FindStation(station);
    return found && found->passwordState == 2;
}

void CSimulatedDrive::SetRunning(int station, bool running)
{
    ForEachStation(station, [&](Station& s) { s.motion.SetRunCommand(s.regs, running, m_clock.NowMs()); });
}

void CSimulatedDrive::SetFault(int station, std::uint16_t code)
{
    ForEachStation(station, [&](Station& s) { s.motion.SetFault(s.regs, code, m_clock.NowMs()); });
}

void CSimulatedDrive::SetTerminals(int station, std::uint16_t bits)
{
    ForEachStation(station, [&](Station& s) { s.motion.SetTerminals(s.regs, bits, m_clock.NowMs()); });
}

void CSimulatedDrive::UseSteppedClock()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_clock.UseStepped();
}

void CSimulatedDrive::AdvanceClock(std::chrono::milliseconds step)
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_clock.Advance(step);
    }
    ForEachStation(kSimAllStations, [&](Station& s) { s.motion.Advance(s.regs, m_clock.NowMs()); });
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

std::vector<SimFrame> CSimulatedDrive::GetFrameLog() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return std::vector<SimFrame>(m_log.begin(), m_log.end());
}

std::vector<SimFrame> CSimulatedDrive::GetFramesFrom(std::size_t first) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    const std::size_t oldestKept = m_frameCount - m_log.size();
    const std::size_t skip = first > oldestKept ? std::min(first - oldestKept, m_log.size()) : 0;
    return std::vector<SimFrame>(m_log.begin() + static_cast<long>(skip), m_log.end());
}

std::size_t CSimulatedDrive::GetFrameCount() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_frameCount;
}

void CSimulatedDrive::ClearFrameLog()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_log.clear();
    m_frameCount = 0;
}

bool CSimulatedDrive::WaitForFrameCount(std::size_t count, int timeoutMs) const
{
    std::unique_lock<std::mutex> lock(m_mutex);
    return m_changed.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return m_frameCount >= count; });
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
        const std::size_t need = ExpectedLength(connection.buf);
        const auto firstByte = connection.firstByte;
        if (need == 0 || need == SIZE_MAX || connection.buf.size() < need) {
            if (!silenceReached)
                return;
            // The line went quiet: what is there is all the request there will be.
            std::vector<std::uint8_t> frame;
            frame.swap(connection.buf);
            HandleFrame(connection, frame, need == SIZE_MAX && CrcOk(frame), firstByte);
            return;
        }
        std::vector<std::uint8_t> frame(connection.buf.begin(), connection.buf.begin() + static_cast<long>(need));
        const bool crcOk = CrcOk(frame);
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
    std::vector<std::uint8_t> reply;
    int delayMs = 0;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (crcOk && frame.size() >= 4) {
            const int address = frame[0];
            const std::uint8_t function = frame[1];
            if (address == 0) {
                if (function == 0x06 || function == 0x10) {
                    for (auto& station : m_stations)
                        Answer(*station, frame);
                }
            } else if (Station* station = FindStation(address); station && !m_silentAll && !station->silent) {
                reply = Answer(*station, frame);
                if (station->answerAs != 0 || station->corruptCrc) {
                    if (station->answerAs != 0)
                        reply[0] = static_cast<std::uint8_t>(station->answerAs);
                    reply.resize(reply.size() - 2);
                    AppendCrc(reply);
                    if (station->corruptCrc)
                        reply.back() ^= 0x5A;
                }
                if (station->replyLength != 0 && station->replyLength < reply.size())
                    reply.resize(station->replyLength);
                delayMs = station->delayMs;
            }
        }
        m_log.push_back(SimFrame { firstByte, connection.transport, frame, crcOk, reply });
        if (m_log.size() > kLogLimit)
            m_log.pop_front();
        ++m_frameCount;
    }
    m_changed.notify_all();
    if (!reply.empty())
        SendPaced(connection, reply, firstByte, frame.size(), delayMs);
}

std::vector<std::uint8_t> CSimulatedDrive::Answer(Station& station, const std::vector<std::uint8_t>& frame)
{
    station.motion.Advance(station.regs, m_clock.NowMs());
    const std::uint8_t address = frame[0];
    const std::uint8_t function = frame[1];
    auto refuse = [&](std::uint8_t code) {
        std::vector<std::uint8_t> reply { address, static_cast<std::uint8_t>(function | 0x80), code };
        AppendCrc(reply);
        return reply;
    };
    auto forcedIn = [&](std::uint16_t first, int count) -> std::uint8_t {
        for (int i = 0; i < count; ++i) {
            const auto it = station.forced.find(static_cast<std::uint16_t>(first + i));
            if (it != station.forced.end())
                return it->second;
        }
        return 0;
    };

    if (function == 0x03) {
        const std::uint16_t start = Word(frame, 2);
        const int count = Word(frame, 4);
        if (count < 1 || count > kMaxReadCount)
            return refuse(kSimExceptionCount);
        if (const std::uint8_t code = forcedIn(start, count))
            return refuse(code);
        std::vector<std::uint8_t> reply { address, function, static_cast<std::uint8_t>(2 * count) };
        for (int i = 0; i < count; ++i) {
            const auto it = station.regs.find(static_cast<std::uint16_t>(start + i));
            if (it == station.regs.end() || start + i > 0xFFFF)
                return refuse(kSimExceptionAddress);
            PutWord(reply, it->second);
        }
        AppendCrc(reply);
        return reply;
    }
    if (function == 0x06) {
        const std::uint16_t reg = Word(frame, 2);
        const std::uint16_t value = Word(frame, 4);
        if (const std::uint8_t code = forcedIn(reg, 1))
            return refuse(code);
        if (const std::uint8_t code = CheckWrite(station, reg, value))
            return refuse(code);
        ApplyWrite(station, reg, value);
        std::vector<std::uint8_t> reply(frame.begin(), frame.begin() + 6);
        AppendCrc(reply);
        return reply;
    }
    if (function == 0x10) {
        const std::uint16_t start = Word(frame, 2);
        const int count = Word(frame, 4);
        const std::size_t byteCount = frame[6];
        if (count < 1 || count > kMaxWriteCount || byteCount != 2u * count || frame.size() != 9 + byteCount) {
            return refuse(kSimExceptionCount);
        }
        if (const std::uint8_t code = forcedIn(start, count))
            return refuse(code);
        // All or nothing: check every register before changing any.
        for (int i = 0; i < count; ++i) {
            if (start + i > 0xFFFF)
                return refuse(kSimExceptionAddress);
            const std::uint8_t code = CheckWrite(
                station, static_cast<std::uint16_t>(start + i), Word(frame, 7 + 2 * static_cast<std::size_t>(i)));
            if (code)
                return refuse(code);
        }
        for (int i = 0; i < count; ++i) {
            ApplyWrite(
                station, static_cast<std::uint16_t>(start + i), Word(frame, 7 + 2 * static_cast<std::size_t>(i)));
        }
        std::vector<std::uint8_t> reply(frame.begin(), frame.begin() + 6);
        AppendCrc(reply);
        return reply;
    }
    return refuse(kSimExceptionFunction);
}

std::uint8_t CSimulatedDrive::CheckWrite(const Station& station, std::uint16_t reg, std::uint16_t value) const
{
    if (station.regs.find(reg) == station.regs.end())
        return kSimExceptionAddress;
    if (IsReadOnly(reg))
        return kSimExceptionWriteMode;
    if (reg == kRegPassword)
        return 0;
    if (station.passwordState == 2 && IsParameter(reg))
        return kSimExceptionWriteMode;
    const auto range = station.ranges.find(reg);
    const int number
        = range != station.ranges.end() && range->second.min < 0 ? static_cast<std::int16_t>(value) : value;
    if (range != station.ranges.end() && (number < range->second.min || number > range->second.max)) {
        return kSimExceptionRange;
    }
    return 0;
}

void CSimulatedDrive::ApplyWrite(Station& station, std::uint16_t reg, std::uint16_t value)
{
    auto& regs = station.regs;
    if (reg == kRegPassword) {
        if (station.passwordState == 2) {
            if (value == station.password)
                station.passwordState = 0;
        } else if (station.passwordState == 1 && value == station.password) {
            station.passwordState = 2;
        } else {
            station.password = value;
            station.passwordState = 1;
        }
        regs[kRegPassword] = static_cast<std::uint16_t>(station.passwordState);
        return;
    }
    if (reg == kRegCommandWord)
        station.motion.OnCommandWord(regs, value, m_clock.NowMs());
    else if (reg == kRegFrequencyCommand)
        station.motion.OnFrequencyCommand(regs, value, m_clock.NowMs());
    else
        regs[reg] = value;
}

bool CSimulatedDrive::WaitUntil(Clock::time_point deadline)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    return !m_changed.wait_until(lock, deadline, [&] { return m_stopping; });
}

void CSimulatedDrive::SendPaced(const Connection& connection, const std::vector<std::uint8_t>& bytes,
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
                    return; // nobody reads: drop the reply
                continue;
            }
            return;
        }
    };
    if (line.baud == 0) {
        if (delayMs > 0 && !WaitUntil(Clock::now() + std::chrono::milliseconds(delayMs)))
            return;
        writeAll(bytes.data(), bytes.size());
        return;
    }
    // One character: start bit, data bits, parity bit, stop bits.
    const int bits = 1 + line.dataBits + (line.parity == 'N' || line.parity == 'n' ? 0 : 1) + line.stopBits;
    const auto charTime
        = std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(double(bits) / line.baud));
    // The request took its own time on the line, then the drive keeps the
    // 3.5-character gap that ends a frame before it answers.
    Clock::time_point start = requestStart + charTime * static_cast<long>(requestLength) + charTime * 7 / 2;
    start = std::max(start, Clock::now()) + std::chrono::milliseconds(delayMs);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (!WaitUntil(start + charTime * static_cast<long>(i + 1)))
            return;
        writeAll(&bytes[i], 1);
    }
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
