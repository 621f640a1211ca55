#pragma once
// The link to the drives: a serial port (real or pseudo-terminal) opened with
// POSIX termios, or the network adapter ("TCPIP") that carries the same Modbus
// RTU frames unchanged over TCP. One transaction core frames every reply by
// length and keeps the line's timing; a back end moves the bytes (a termios
// port, a TCP connection, or one the caller attaches, such as a simulated
// drive run in process).
//
// Every transaction, write and read holds the link's lock, so the window
// thread and the background reader never interleave bytes on the wire, and
// all of them share one account of the line's silences.

#include "link/LinkBackend.h"

#include <netinet/in.h>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

// Result of one transaction. Values other than these four may reach callers
// (they read as kErrComm wherever a text is shown).
enum ErrType : int {
    kErrNone = 0,    // a complete reply with a good CRC is in rx
    kErrCrc = 1,     // the reply failed its CRC
    kErrTimeout = 2, // no complete reply in time
    kErrComm = 3,    // any other failure: link not open, write failed, another station answered
    kErrAbandoned = 4, // its caller gave the request up before it went out: nothing was sent
};

// Where the adapter search and the adapter's own datagrams go. The defaults are
// those of a real network; tests point them at loopback.
struct NetAdapterSettings {
    std::string localAddress = "0.0.0.0"; // the search binds here
    uint16_t localPort = 30718;           // 0: any free port
    std::string destAddress = "255.255.255.255";
    uint16_t destPort = 30718;
    uint16_t tcpPort = 10001;  // the adapter's RTU tunnel, unless it names another
    int quietMs = 2000;        // the search ends this long after the last datagram
    int searchLimitMs = 5000;  // and at the latest this long after it began
    int replyMs = 2000;        // wait for the adapter's answer to a new address
    int identifyMs = 500;      // and to the question for its tunnel port
};

// Process-wide defaults, copied into every link object at construction. They
// start from the values above, overridden by D390_ADAPTER_LOCAL,
// D390_ADAPTER_DEST ("address:port") and D390_ADAPTER_TCP_PORT when set.
NetAdapterSettings GetDefaultNetAdapterSettings();
void SetDefaultNetAdapterSettings(const NetAdapterSettings& settings);

// Time allowed by a transaction.
struct LinkTimeouts {
    // From the end of the request to the first byte of the reply: a drive
    // answers within a few milliseconds, an adapter on a busy network later.
    int firstByteMs = 1000;
    // Between two bytes of one reply. USB serial adapters hand bytes over in
    // bursts (a latency timer of 16 ms is common, some use more), and a network
    // adapter may split a frame over several segments, so this is generous:
    // framing goes by length, never by line silence.
    int interByteMs = 250;
    // From the first byte to the last: 256 bytes take 590 ms at 4800 baud.
    int frameMs = 1500;
    // Writing a request; a port that does not drain in this time has failed.
    int writeMs = 1000;
    // After a failed transaction nothing is sent until the line has been quiet
    // for firstByteMs (a reply that begins that late is still discarded, never
    // taken for the answer to the next request), and the waiting ends at the
    // latest after this long: then the request fails as a time-out.
    int guardLimitMs = 3500;
};

class CSerial {
public:
    CSerial();
    virtual ~CSerial();

    CSerial(const CSerial&) = delete;
    CSerial& operator=(const CSerial&) = delete;

    // Opens the link: a device path, or "TCPIP" for the adapter at m_netAddr.
    // baud 4800..115200, dataBits 7 or 8, parity 0 none, 1 odd, 2 even,
    // stopBits 1 or 2. Non-zero on success. A setting the device does not take
    // (a pseudo-terminal ignores baud and parity) does not fail the open: see
    // GetSettingsReport. The line's character format sets the silence kept
    // between a reply and the next request.
    virtual int InitComm(const std::string& port, unsigned long baud, uint8_t dataBits, uint8_t parity,
                         float stopBits);

    // Opens the link on a back end the caller made (a simulated line); line
    // is the character format it carries. Non-zero on success.
    int AttachBackend(std::unique_ptr<LinkBackend> backend, const SerialSettings& line);

    // Closes the link; 0. Safe when nothing is open.
    virtual long Close();

    // Writes size bytes without waiting for a reply (broadcast), keeping the
    // line's silences as a transaction does. 0 on success, an errno value
    // otherwise (ETIMEDOUT when the line did not fall quiet after a failed
    // transaction). written, when given, receives the bytes written.
    virtual long Write(const void* data, unsigned size, unsigned long* written, unsigned long timeoutMs);

    // Reads what arrives, up to size bytes, waiting at most timeoutMs for the
    // first byte. 0 on success (read holds the count, 0 on time-out).
    virtual long Read(void* data, unsigned size, unsigned long* read, unsigned long timeoutMs);

    // One transaction: waits for the line (below), discards stale input,
    // sends txLen bytes of tx and collects the reply into rx by length: rxLen
    // bytes, or 5 when the reply's function byte differs from the request's (a
    // drive's refusal, result 0). Never writes more than rxLen bytes to rx; rx
    // is untouched unless the result is 0.
    //
    // The line: a request goes out no sooner than the silent interval after
    // the last byte received (3.5 characters, 1.75 ms above 19200 baud), for a
    // drive that keeps the rule ignores a request that comes sooner. After a
    // transaction that failed once its request was out, the next waits until
    // the line has been quiet for the first-byte time-out, discarding what
    // arrives: a late reply is never taken for the answer to a later request.
    // That wait ends after guardLimitMs with a time-out, so a line that never
    // falls quiet cannot hold the program. A line that answers pays nothing.
    virtual ErrType CommandSend(uint8_t* tx, unsigned long txLen, uint8_t* rx, unsigned long rxLen);

    // CommandSend for a request whose caller may give it up while it waits
    // (a live window that closes): once abandoned is set, the request is not
    // sent and the result is kErrAbandoned. The flag is looked at when the
    // link has been taken, all through the quiet wait after a failure (which
    // then ends at once and stays owed by the next request) and once more
    // just before the request is written. A request on the wire is carried to
    // its end. While the flag stays clear, the line sees what CommandSend
    // would send, byte for byte and with the same silences.
    ErrType CommandSendUnlessAbandoned(const std::atomic<bool>& abandoned, uint8_t* tx, unsigned long txLen,
                                       uint8_t* rx, unsigned long rxLen);

    // True when the CRC at the end of data (low byte first) is right.
    virtual int CheckCrc(const uint8_t* data, unsigned long length);

    // Gives the adapter at m_netAddr, known by its MAC text, a new IP address.
    // Non-zero when the adapter confirmed it.
    virtual int setIPAddress(const std::string& ip, const std::string& mac);

    // Tells the link which adapter m_netAddr is (its MAC text). The adapter is
    // asked for its RTU tunnel port; one that does not answer keeps the
    // configured port.
    virtual void GetStrMac(const std::string& mac);

    bool IsOpen() const;
    bool IsNetLink() const;

    // What the last InitComm asked for and the device did not take, one line
    // each ("parity even not set"), empty when everything was taken.
    std::string GetSettingsReport() const;

    void SetTimeouts(const LinkTimeouts& timeouts);
    LinkTimeouts GetTimeouts() const;

    void SetNetAdapterSettings(const NetAdapterSettings& settings);
    const NetAdapterSettings& GetNetAdapterSettings() const;

    // The adapter's address, as discovery received it: the Connect dialog
    // stores the chosen module here before GetStrMac and InitComm("TCPIP").
    sockaddr_in m_netAddr{};

protected:
    // Throws away pending input (under the lock).
    void DiscardInput();

    NetAdapterSettings m_netSettings;
    std::string m_strMac;
    uint16_t m_tcpPort = 0; // 0: m_netSettings.tcpPort

private:
    // abandoned, when given, is the caller's flag (CommandSendUnlessAbandoned).
    ErrType Transact(const uint8_t* tx, size_t txLen, uint8_t* rx, size_t rxLen,
                     const std::atomic<bool>* abandoned = nullptr);
    // Collects the reply to tx by length (CommandSend).
    ErrType ReceiveReply(const uint8_t* tx, uint8_t* rx, size_t rxLen);
    // Whole milliseconds from now on the back end's clock, rounded up; 0 when past.
    int MillisecondsUntil(LinkClock::time_point when) const;
    // Waits until a request may go out (the two rules of CommandSend).
    ErrType AwaitLine(const std::atomic<bool>* abandoned = nullptr);
    // A transaction failed after its request went out.
    void ArmGuard();
    // Bytes arrived from the line just now.
    void NoteReceived();
    void SetLine(const SerialSettings& line);

    mutable std::mutex m_lock;
    std::unique_ptr<LinkBackend> m_backend;
    std::string m_settingsReport;
    LinkTimeouts m_timeouts;
    bool m_netLink = false;

    // The line's timing, on the back end's clock.
    LinkClock::duration m_silentInterval{};
    LinkClock::time_point m_lastReceived{}; // last byte in, for the silent interval
    bool m_guardArmed = false;
    LinkClock::time_point m_quietSince{}; // while armed: the line quiet from here on
};

// True for the device path of a pseudo-terminal, also through a symbolic
// link. It has no line: the settings it refuses mean nothing there.
bool IsPseudoTerminalPath(const std::string& path);
