#include "link/FdBackend.h"

#include "link/Deadline.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>

FdBackend::FdBackend(int fd) : m_fd(fd) {}

FdBackend::~FdBackend()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

void FdBackend::Discard()
{
    DrainReadable();
}

void FdBackend::DrainReadable()
{
    uint8_t scrap[256];
    for (;;) {
        ssize_t n = ::read(m_fd, scrap, sizeof scrap);
        if (n > 0)
            continue;
        if (n < 0 && errno == EINTR)
            continue;
        return; // nothing more now (EAGAIN), end of input or an error
    }
}

int FdBackend::Send(const uint8_t* data, size_t size, int timeoutMs, size_t* written)
{
    Deadline deadline(timeoutMs);
    size_t done = 0;
    int error = 0;
    while (done < size) {
        long n = WriteSome(data + done, size - done);
        if (n > 0) {
            done += static_cast<size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno != EAGAIN) {
            error = errno;
            break;
        }
        pollfd p{m_fd, POLLOUT, 0};
        int ready = ::poll(&p, 1, deadline.RemainingMs());
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0) {
            error = ready == 0 ? ETIMEDOUT : errno;
            break;
        }
        if (p.revents & (POLLERR | POLLNVAL)) {
            error = EIO;
            break;
        }
    }
    if (written)
        *written = done;
    return error;
}

long FdBackend::Receive(uint8_t* data, size_t max, int timeoutMs)
{
    if (max == 0)
        return 0;
    Deadline deadline(timeoutMs);
    // Waiting first: a reply is rarely there already when it is asked for, so
    // a read up front would mostly fail.
    for (;;) {
        pollfd p{m_fd, POLLIN, 0};
        int ready = ::poll(&p, 1, deadline.RemainingMs());
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready < 0)
            return -1;
        if (ready == 0)
            return 0;
        if ((p.revents & POLLIN) == 0 && (p.revents & (POLLERR | POLLHUP | POLLNVAL)))
            return -1;
        ssize_t n = ::read(m_fd, data, max);
        if (n > 0)
            return static_cast<long>(n);
        if (n == 0)
            return -1; // the peer has gone
        if (errno != EINTR && errno != EAGAIN)
            return -1;
    }
}

long FdBackend::WriteSome(const uint8_t* data, size_t size)
{
    return static_cast<long>(::write(m_fd, data, size));
}
