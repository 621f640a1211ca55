#pragma once
// A back end over one file descriptor: both kinds of link wait with poll and
// move bytes with read and write; they differ in how they open and discard.

#include "link/LinkBackend.h"

class FdBackend : public LinkBackend {
public:
    explicit FdBackend(int fd);
    ~FdBackend() override;

    FdBackend(const FdBackend&) = delete;
    FdBackend& operator=(const FdBackend&) = delete;

    void Discard() override;
    int Send(const uint8_t* data, size_t size, int timeoutMs, size_t* written) override;
    long Receive(uint8_t* data, size_t max, int timeoutMs) override;

protected:
    // Reads and drops whatever is readable now, without waiting.
    void DrainReadable();
    // One write call; a socket overrides it so that a closed peer is an error,
    // not a signal.
    virtual long WriteSome(const uint8_t* data, size_t size);

    int m_fd;
};
