#pragma once
// A simulated drive's register model behind the link, in process: the link's
// back end hands each request to the model and delivers the reply bytes at the
// times a line of the given format would, on a stepped clock that moves only
// when the link waits. A sequence of hundreds of frames, time-outs and late
// replies included, runs in milliseconds, and the model's frame log holds the
// times of the line (SimFrame::sinceReply, SimFrame::early).
//
//   SimSteppedClock clock;
//   CSimDriveModel drive(config, &clock);
//   CSerialComm link;
//   link.AttachBackend(std::make_unique<SimDriveBackend>(drive, clock, line), settings);
//
// The model's own switches make it silent, late or wrong; the line's here
// drop it or fill it with noise.

#include "link/LinkBackend.h"
#include "tools/SimDriveModel.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <vector>

class SimDriveBackend : public LinkBackend {
public:
    // The model and the clock outlive the back end. The model should live by
    // the same clock.
    SimDriveBackend(CSimDriveModel& drive, SimSteppedClock& clock, SimLineFormat line = {});

    void Discard() override;
    int Send(const uint8_t* data, size_t size, int timeoutMs, size_t* written) override;
    long Receive(uint8_t* data, size_t max, int timeoutMs) override;
    LinkClock::time_point Now() const override;
    void SleepUntil(LinkClock::time_point when) override;

    // A dropped line fails every send and receive (EIO, -1) until it is back.
    void SetDropped(bool dropped);
    // The line drops after this many more request frames have gone out.
    void DropAfter(std::size_t frames);
    // A byte of noise every spacing, from now until the given time (a zero
    // spacing ends the noise).
    void SetNoise(SimClock::duration spacing, SimClock::time_point until);

private:
    // A byte on its way to the link, and when it arrives.
    struct Arrival {
        SimClock::time_point at;
        uint8_t value;
    };

    // Takes the complete frames of m_request to the drive.
    void HandleRequests(SimClock::time_point sent);
    // The earliest byte not yet delivered, noise included; false when none.
    bool NextArrival(SimClock::time_point* at) const;
    // Moves the bytes due by now into data.
    size_t Deliver(uint8_t* data, size_t max);

    CSimDriveModel& m_drive;
    SimSteppedClock& m_clock;
    const SimLineFormat m_line;

    mutable std::mutex m_mutex;
    std::vector<uint8_t> m_request; // bytes of a request not yet complete
    std::deque<Arrival> m_incoming; // in order of arrival
    SimClock::time_point m_lastReplyEnd{};
    bool m_repliedBefore = false;
    SimClock::time_point m_busyUntil{}; // the drive's last scheduled byte
    bool m_dropped = false;
    std::size_t m_framesBeforeDrop = SIZE_MAX;
    SimClock::duration m_noiseSpacing{};
    SimClock::time_point m_nextNoise{};
    SimClock::time_point m_noiseUntil{};
};
