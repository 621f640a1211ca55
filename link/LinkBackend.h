#pragma once
// How the transaction core moves bytes: one back end per kind of link (a
// termios serial port, a TCP connection to a network adapter). The core owns
// framing, checks and locking; a back end only sends, waits and discards.

#include <netinet/in.h>

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <thread>

using LinkClock = std::chrono::steady_clock;

// Waits until when on the steady clock, ending within microseconds of it. A
// plain sleep ends late by the timer slack and by the time the scheduler takes
// to run the thread again, a few hundred microseconds on a busy machine; every
// request waits out a silent interval of about 2 ms first, so that lateness
// would add a sixth or more to each. The last stretch is waited awake.
void SleepPreciselyUntil(LinkClock::time_point when);

class LinkBackend {
public:
    virtual ~LinkBackend() = default;

    // Throws away every byte that has arrived and not been read.
    virtual void Discard() = 0;
    // Writes all size bytes within timeoutMs. 0, or an errno value; written
    // receives the count that went out.
    virtual int Send(const uint8_t* data, size_t size, int timeoutMs, size_t* written) = 0;
    // Waits at most timeoutMs for input and reads what is there, up to max
    // bytes: the count, 0 on time-out, -1 when the link has failed.
    virtual long Receive(uint8_t* data, size_t max, int timeoutMs) = 0;

    // The time the link's waits are measured by. A real line lives in real
    // time; a simulated one brings its own clock, which its waits move on.
    virtual LinkClock::time_point Now() const { return LinkClock::now(); }
    // Waits, without reading, until the given time and not much longer
    // (SleepPreciselyUntil).
    virtual void SleepUntil(LinkClock::time_point when) { SleepPreciselyUntil(when); }
};

struct SerialSettings {
    unsigned long baud = 9600;
    int dataBits = 8;
    int parity = 0; // 0 none, 1 odd, 2 even
    int stopBits = 1;
};

// The silence that ends a frame on the line: 3.5 characters at the line's
// speed and format, 1.75 ms above 19200 baud.
std::chrono::nanoseconds LineSilentInterval(const SerialSettings& settings);

// Opens a serial device. Settings the device does not take are listed, one
// line each, in report; only a device that cannot be opened or is no terminal
// fails (null, with the reason in report).
std::unique_ptr<LinkBackend> OpenSerialBackend(const std::string& path, const SerialSettings& settings,
                                               std::string& report);

// Connects to address within timeoutMs; null on failure.
std::unique_ptr<LinkBackend> OpenTcpBackend(const sockaddr_in& address, int timeoutMs);
