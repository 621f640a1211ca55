#include "link/UdpSocket.h"

#include <arpa/inet.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>

UdpSocket::UdpSocket() : m_fd(::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0)) {}

UdpSocket::~UdpSocket()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

bool UdpSocket::EnableBroadcast()
{
    int one = 1;
    return ::setsockopt(m_fd, SOL_SOCKET, SO_BROADCAST, &one, sizeof one) == 0;
}

bool UdpSocket::Bind(const sockaddr_in& local)
{
    return ::bind(m_fd, reinterpret_cast<const sockaddr*>(&local), sizeof local) == 0;
}

bool UdpSocket::SendTo(const uint8_t* data, size_t size, const sockaddr_in& to)
{
    ssize_t n;
    do {
        n = ::sendto(m_fd, data, size, 0, reinterpret_cast<const sockaddr*>(&to), sizeof to);
    } while (n < 0 && errno == EINTR);
    return n == static_cast<ssize_t>(size);
}

long UdpSocket::ReceiveFrom(uint8_t* data, size_t max, sockaddr_in& from, int timeoutMs)
{
    for (;;) {
        pollfd p{m_fd, POLLIN, 0};
        int ready = ::poll(&p, 1, timeoutMs);
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            return ready == 0 ? kTimedOut : kFailed;
        socklen_t length = sizeof from;
        ssize_t n = ::recvfrom(m_fd, data, max, MSG_DONTWAIT, reinterpret_cast<sockaddr*>(&from), &length);
        if (n < 0 && (errno == EINTR || errno == EAGAIN))
            continue;
        return n < 0 ? kFailed : static_cast<long>(n);
    }
}

bool ParseSocketAddress(const std::string& text, std::string& address, uint16_t& port)
{
    auto colon = text.rfind(':');
    if (colon == std::string::npos) {
        address = text;
        return !text.empty();
    }
    unsigned value = 0;
    const char* first = text.data() + colon + 1;
    const char* last = text.data() + text.size();
    auto [end, error] = std::from_chars(first, last, value);
    if (error != std::errc() || end != last || first == last || value > 65535)
        return false;
    address = text.substr(0, colon);
    port = static_cast<uint16_t>(value);
    return !address.empty();
}

bool MakeSocketAddress(const std::string& address, uint16_t port, sockaddr_in& out)
{
    out = sockaddr_in{};
    out.sin_family = AF_INET;
    out.sin_port = htons(port);
    return ::inet_pton(AF_INET, address.c_str(), &out.sin_addr) == 1;
}
