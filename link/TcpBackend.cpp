// The network adapter's RTU tunnel: the frames travel unchanged over one TCP
// connection.

#include "link/Deadline.h"
#include "link/FdBackend.h"

#include <fcntl.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

namespace {

class TcpBackend : public FdBackend {
public:
    explicit TcpBackend(int fd) : FdBackend(fd) {}

protected:
    long WriteSome(const uint8_t* data, size_t size) override
    {
        return static_cast<long>(::send(m_fd, data, size, MSG_NOSIGNAL));
    }
};

} // namespace

std::unique_ptr<LinkBackend> OpenTcpBackend(const sockaddr_in& address, int timeoutMs)
{
    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return nullptr;
    Deadline deadline(timeoutMs);
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        if (errno != EINPROGRESS) {
            ::close(fd);
            return nullptr;
        }
        for (;;) {
            pollfd p{fd, POLLOUT, 0};
            int ready = ::poll(&p, 1, deadline.RemainingMs());
            if (ready < 0 && errno == EINTR)
                continue;
            int error = 0;
            socklen_t length = sizeof error;
            if (ready <= 0 || ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) != 0 || error != 0) {
                ::close(fd);
                return nullptr;
            }
            break;
        }
    }
    // Requests are small and each waits for its reply.
    int one = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    ::setsockopt(fd, SOL_SOCKET, SO_KEEPALIVE, &one, sizeof one);
    return std::make_unique<TcpBackend>(fd);
}
