#pragma once
// A datagram socket for the adapter exchanges, closed when it goes out of scope.

#include <netinet/in.h>

#include <cstddef>
#include <cstdint>
#include <string>

class UdpSocket {
public:
    UdpSocket();
    ~UdpSocket();

    UdpSocket(const UdpSocket&) = delete;
    UdpSocket& operator=(const UdpSocket&) = delete;

    bool IsValid() const { return m_fd >= 0; }
    // Allows sending to a broadcast address.
    bool EnableBroadcast();
    bool Bind(const sockaddr_in& local);
    bool SendTo(const uint8_t* data, size_t size, const sockaddr_in& to);
    static constexpr long kTimedOut = -1;
    static constexpr long kFailed = -2;
    // Waits at most timeoutMs for one datagram: its size (cut to max; 0 is a
    // datagram too), kTimedOut or kFailed.
    long ReceiveFrom(uint8_t* data, size_t max, sockaddr_in& from, int timeoutMs);

private:
    int m_fd;
};

// "address:port" or "address" (port keeps its value); false on bad text.
bool ParseSocketAddress(const std::string& text, std::string& address, uint16_t& port);
// A dotted IPv4 address and a port; false when the address is not one.
bool MakeSocketAddress(const std::string& address, uint16_t port, sockaddr_in& out);
