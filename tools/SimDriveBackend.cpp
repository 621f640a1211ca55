#include "tools/SimDriveBackend.h"

#include <algorithm>
#include <cerrno>
#include <climits>

namespace {

constexpr uint8_t kNoiseByte = 0xFF;

} // namespace

SimDriveBackend::SimDriveBackend(CSimDriveModel& drive, SimSteppedClock& clock, SimLineFormat line)
    : m_drive(drive)
    , m_clock(clock)
    , m_line(line)
{
}

LinkClock::time_point SimDriveBackend::Now() const
{
    return m_clock.Now();
}

void SimDriveBackend::SleepUntil(LinkClock::time_point when)
{
    m_clock.AdvanceTo(when);
}

void SimDriveBackend::SetDropped(bool dropped)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_dropped = dropped;
    m_framesBeforeDrop = SIZE_MAX;
}

void SimDriveBackend::DropAfter(std::size_t frames)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_framesBeforeDrop = frames;
}

void SimDriveBackend::SetNoise(SimClock::duration spacing, SimClock::time_point until)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_noiseSpacing = spacing;
    m_nextNoise = m_clock.Now() + spacing;
    m_noiseUntil = until;
}

bool SimDriveBackend::NextArrival(SimClock::time_point* at) const
{
    bool any = false;
    if (!m_incoming.empty()) {
        *at = m_incoming.front().at;
        any = true;
    }
    if (m_noiseSpacing > SimClock::duration::zero() && m_nextNoise <= m_noiseUntil && (!any || m_nextNoise < *at)) {
        *at = m_nextNoise;
        any = true;
    }
    return any;
}

size_t SimDriveBackend::Deliver(uint8_t* data, size_t max)
{
    const SimClock::time_point now = m_clock.Now();
    size_t count = 0;
    while (count < max) {
        SimClock::time_point at;
        if (!NextArrival(&at) || at > now)
            break;
        if (!m_incoming.empty() && m_incoming.front().at == at) {
            data[count++] = m_incoming.front().value;
            m_incoming.pop_front();
        } else {
            data[count++] = kNoiseByte;
            m_nextNoise += m_noiseSpacing;
        }
    }
    return count;
}

void SimDriveBackend::Discard()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    uint8_t scrap[64];
    while (Deliver(scrap, sizeof scrap) == sizeof scrap) {
    }
}

int SimDriveBackend::Send(const uint8_t* data, size_t size, int /*timeoutMs*/, size_t* written)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (written)
        *written = 0;
    if (m_dropped)
        return EIO;
    if (m_framesBeforeDrop == 0) {
        m_dropped = true;
        return EIO;
    }
    m_request.insert(m_request.end(), data, data + size);
    if (written)
        *written = size;
    HandleRequests(m_clock.Now());
    return 0;
}

void SimDriveBackend::HandleRequests(SimClock::time_point sent)
{
    const auto charTime = std::chrono::duration_cast<SimClock::duration>(SimCharTime(m_line));
    const auto interval = std::chrono::duration_cast<SimClock::duration>(SimSilentInterval(m_line));
    while (!m_request.empty()) {
        std::size_t need = SimRequestLength(m_request);
        if (need == SIZE_MAX)
            need = m_request.size(); // a function of unknown length: the write is the frame
        if (need == 0 || m_request.size() < need)
            return;
        SimFrame frame;
        frame.time = sent;
        frame.transport = SimTransport::InProcess;
        frame.request.assign(m_request.begin(), m_request.begin() + static_cast<long>(need));
        frame.crcOk = SimCrcOk(frame.request);
        if (frame.crcOk)
            m_request.erase(m_request.begin(), m_request.begin() + static_cast<long>(need));
        else
            m_request.clear(); // out of step: drop everything up to the next silence
        if (m_line.baud != 0 && m_repliedBefore) {
            frame.sinceReply = std::chrono::duration_cast<std::chrono::nanoseconds>(sent - m_lastReplyEnd);
            frame.early = *frame.sinceReply < SimSilentInterval(m_line);
        }
        const bool mayAnswer = !(frame.early && m_line.ignoreEarly);
        const std::size_t requestLength = frame.request.size();
        if (m_framesBeforeDrop != SIZE_MAX)
            --m_framesBeforeDrop;
        const SimAnswer answer = m_drive.HandleFrame(std::move(frame), mayAnswer);
        if (answer.reply.empty())
            continue;
        // The request's own wire time, the silence that ends it, the drive's
        // lateness; never before the drive has finished its previous reply.
        SimClock::time_point start = sent + charTime * static_cast<long>(requestLength) + interval
            + std::chrono::milliseconds(answer.delayMs);
        if (m_busyUntil > SimClock::time_point{})
            start = std::max(start, m_busyUntil + interval);
        for (std::size_t i = 0; i < answer.reply.size(); ++i)
            m_incoming.push_back(Arrival { start + charTime * static_cast<long>(i + 1), answer.reply[i] });
        m_busyUntil = m_incoming.back().at;
        m_lastReplyEnd = m_busyUntil;
        m_repliedBefore = true;
    }
}

long SimDriveBackend::Receive(uint8_t* data, size_t max, int timeoutMs)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_dropped)
        return -1;
    if (max == 0)
        return 0;
    const SimClock::time_point deadline = m_clock.Now() + std::chrono::milliseconds(std::max(timeoutMs, 0));
    SimClock::time_point at;
    if (!NextArrival(&at) || at > deadline) {
        m_clock.AdvanceTo(deadline);
        return 0;
    }
    m_clock.AdvanceTo(at);
    return static_cast<long>(Deliver(data, max));
}
