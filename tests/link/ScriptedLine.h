#pragma once
// A line whose peer answers every request with bytes the test chose, for
// replies no drive of ours would send (crafted, damaged, hostile). It stands
// below the link: the transaction core and the request layer above it are the
// program's own.

#include "link/LinkBackend.h"

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <deque>
#include <vector>

class ScriptedLine : public LinkBackend {
public:
    using Bytes = std::vector<uint8_t>;

    // The answer to the next request: its bytes, handed over in pieces of at
    // most chunk bytes (0: all at once).
    void Answer(Bytes reply, size_t chunk = 0) { m_script.push_back({std::move(reply), chunk}); }

    const std::vector<Bytes>& Requests() const { return m_requests; }

    void Discard() override { m_pending = {}; }

    int Send(const uint8_t* data, size_t size, int, size_t* written) override
    {
        m_requests.emplace_back(data, data + size);
        if (written)
            *written = size;
        m_pending = {};
        if (!m_script.empty()) {
            m_pending = std::move(m_script.front());
            m_script.pop_front();
        }
        return 0;
    }

    long Receive(uint8_t* data, size_t max, int timeoutMs) override
    {
        size_t left = m_pending.bytes.size() - m_pending.sent;
        if (left == 0) {
            m_now += std::chrono::milliseconds(timeoutMs);
            return 0;
        }
        size_t n = std::min(max, left);
        if (m_pending.chunk != 0)
            n = std::min(n, m_pending.chunk);
        std::memcpy(data, m_pending.bytes.data() + m_pending.sent, n);
        m_pending.sent += n;
        return static_cast<long>(n);
    }

    // Time moves only when the link waits, so that a guard or a silent
    // interval costs nothing.
    LinkClock::time_point Now() const override { return m_now; }
    void SleepUntil(LinkClock::time_point when) override { m_now = std::max(m_now, when); }

private:
    struct Reply {
        Bytes bytes;
        size_t chunk = 0;
        size_t sent = 0;
    };
    std::deque<Reply> m_script;
    Reply m_pending;
    std::vector<Bytes> m_requests;
    LinkClock::time_point m_now{};
};
