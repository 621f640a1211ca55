#pragma once
// The drive exchanges of the live windows (keypad, control window, status
// monitor): single reads and writes through the request layer, with the
// windows' own reading of a failure. The link is taken afresh from the
// connection state on every exchange: the watchdog may have closed it while a
// window was open, and then nothing is sent.

#include <atomic>
#include <cstdint>
#include <memory>

class CDriveSession;
class CSerialComm;

enum class LiveFailure {
    None,
    NotConnected, // no link (closed, or never opened): nothing was sent
    Link, // link result 1, 2 or 3 (the message says which), or another non-zero result (no message)
    WrongFunction, // the drive answered with another function byte (a refusal): 61479
};

struct LiveReply {
    LiveFailure failure = LiveFailure::NotConnected;
    // The string to show: 61477 CRC, 61478 time-out, 61479 other failure or
    // wrong function byte; 0 when nothing is to be shown.
    unsigned messageId = 0;
    bool Ok() const { return failure == LiveFailure::None; }
};

class CLiveExchange {
public:
    // state is the connection state of the program (link, connected flag);
    // it must outlive this object.
    explicit CLiveExchange(CDriveSession& state);

    // False while no link is open: the windows then neither poll nor send.
    bool IsConnected() const;
    // The link object for a worker's exchanges, null while not connected.
    CSerialComm* Link() const;

    // Function 03 with the interactive pause; words is untouched unless Ok().
    LiveReply Read(int station, std::uint16_t address, std::uint16_t count, std::uint16_t* words);
    // Function 06 with the interactive pause.
    LiveReply Write(int station, std::uint16_t address, std::uint16_t value);

private:
    CDriveSession& m_state;
};

// The exchanges of a live window as a worker makes them: on the link object
// taken on the window thread as the step began, until its window stops them.
// Once stopped (or without a link) nothing is sent and every exchange fails
// as NotConnected; a request still waiting for the line when its window stops
// it (the quiet after a failure, another caller holding the link) is given up
// unsent. The link object may be closed meanwhile (the watchdog);
// it is not deleted before the worker has ended (CBackgroundJob).
class CLiveLink {
public:
    CLiveLink(CSerialComm* link, std::shared_ptr<const std::atomic<bool>> stopped);

    LiveReply Read(int station, std::uint16_t address, std::uint16_t count, std::uint16_t* words);
    LiveReply Write(int station, std::uint16_t address, std::uint16_t value);
    bool IsStopped() const { return m_stopped && m_stopped->load(); }

private:
    CSerialComm* m_link;
    std::shared_ptr<const std::atomic<bool>> m_stopped;
};
