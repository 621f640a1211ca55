#pragma once
// The register model of a simulated drive: its stations with their holding
// registers, what each station answers to a request frame, the switches that
// make it fail, and the log of the frames it received. It knows nothing of how
// frames travel: CSimulatedDrive serves it on a pseudo-terminal and TCP,
// SimDriveBackend runs it in process behind the link on a stepped clock.
//
// What a station answers:
//   03 read holding registers, 06 write one register, 0x10 write registers;
//   station 0 is a broadcast: writes are applied on every station, nothing is
//   answered. Refusals are exception replies [station][function | 0x80][code]
//   [CRC] with the codes below; a frame with a wrong CRC, or for a station
//   that is not served, gets no answer at all.
//
// Every switch can be changed while the drive serves; register access and the
// frame log are thread-safe.

#include "tools/SimClock.h"
#include "tools/SimDriveMotion.h"

#include <array>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

// Exception codes a station answers with.
constexpr std::uint8_t kSimExceptionFunction = 0x51; // function not supported
constexpr std::uint8_t kSimExceptionAddress = 0x52; // register the drive lacks
constexpr std::uint8_t kSimExceptionCount = 0x53; // register count or byte count wrong
constexpr std::uint8_t kSimExceptionRange = 0x54; // value outside a kept range
// A write to a read-only register (13-00, 13-01, 13-02, the status block from
// 0x2520), or to a parameter while the password locks them.
constexpr std::uint8_t kSimExceptionWriteMode = 0x55;

// Pass as the station of a switch to mean every station.
constexpr int kSimAllStations = 0;

struct SimStationConfig {
    int station = 1; // 1 to 247
    std::uint32_t modelCode = 1202; // as the program derives it from 13-00 and the series code
    int version = 1100; // register 13-01 (software version x 1000)
};

// Character format of the line the drive sits on, used for pacing.
struct SimLineFormat {
    unsigned baud = 0; // 0: no pacing, bytes go out as fast as the transport takes them
    int dataBits = 8;
    char parity = 'N'; // 'N', 'E' or 'O'
    int stopBits = 1;
    // A request whose first byte comes before the line has been silent for
    // the interval after the drive's last reply is not answered, as a drive
    // that keeps the line's rule ignores it (paced lines only).
    bool ignoreEarly = false;
};

// Time of one character on the line (start, data, parity and stop bits);
// zero when the line is not paced.
std::chrono::nanoseconds SimCharTime(const SimLineFormat& line);
// The silence that ends a frame: 3.5 characters, 1.75 ms above 19200 baud;
// zero when the line is not paced.
std::chrono::nanoseconds SimSilentInterval(const SimLineFormat& line);

struct SimDriveConfig {
    std::vector<SimStationConfig> stations { SimStationConfig {} };
    // Folder of the program's data files (ending with '/' or not): every
    // station starts with the values of a new project of its model
    // (LoadNewProjectValues); empty: no data file is read.
    std::string dataDir;
    // A definition file whose values every station takes as they stand,
    // instead of a new project's.
    std::string definitionFile;
    // Refuse parameter writes outside the "MIN~MAX" ranges of the definition
    // file's remarks with kSimExceptionRange (off: every value is taken).
    bool keepRanges = false;
    // How the drive is served when it runs as CSimulatedDrive.
    bool servePty = true;
    int tcpPort = -1; // -1: no TCP; 0: any free port
    int udpPort = -1; // -1: no datagrams; 0: any free port
    std::string moduleIp = "127.0.0.1"; // the adapter's own address (TCP and unicast UDP)
    std::string discoveryAddress = "127.255.255.255"; // also listened on for search datagrams
    std::array<std::uint8_t, 6> mac { 0x00, 0x20, 0x4a, 0x00, 0x00, 0x01 };
    SimLineFormat line;
};

enum class SimTransport { Pty, Tcp, InProcess };

// One request frame as the drive received it.
struct SimFrame {
    std::chrono::steady_clock::time_point time; // when its first byte arrived
    SimTransport transport = SimTransport::Pty;
    std::vector<std::uint8_t> request;
    bool crcOk = false;
    std::vector<std::uint8_t> reply; // what was sent back, empty when nothing was
    // From the last byte of the drive's previous reply on the same line to the
    // first byte of this request, on a paced line that carried a reply before.
    std::optional<std::chrono::nanoseconds> sinceReply;
    // It came before the line's silent interval had passed.
    bool early = false;
};

// Length of the request frame that buf begins with, by its function: 0 while
// too few bytes tell, SIZE_MAX for a function whose length only line silence
// ends.
std::size_t SimRequestLength(const std::vector<std::uint8_t>& buf);
// True when the frame ends with its right CRC.
bool SimCrcOk(const std::vector<std::uint8_t>& frame);

// What the drive does about one request.
struct SimAnswer {
    std::vector<std::uint8_t> reply; // empty: nothing is sent
    int delayMs = 0; // extra lateness of the reply
};

class CSimDriveModel {
public:
    // clock: the time the drive lives by (real time when null); the caller
    // keeps it alive.
    explicit CSimDriveModel(SimDriveConfig config = {}, const SimClock* clock = nullptr);
    virtual ~CSimDriveModel();
    CSimDriveModel(const CSimDriveModel&) = delete;
    CSimDriveModel& operator=(const CSimDriveModel&) = delete;

    // The drive's own time.
    SimClock::time_point Now() const;

    // Definition file each station's registers were loaded from ("" when none).
    std::string GetDefinitionFile(int station) const;

    // Registers. False when the station or the register does not exist.
    bool GetRegister(int station, std::uint16_t reg, std::uint16_t* value) const;
    std::uint16_t GetRegister(int station, std::uint16_t reg) const; // 0 when missing
    bool SetRegister(int station, std::uint16_t reg, std::uint16_t value);
    void AddRegister(int station, std::uint16_t reg, std::uint16_t value);
    void RemoveRegister(int station, std::uint16_t reg);
    // Writes outside [min, max] are refused with kSimExceptionRange; with a
    // negative min the word is compared as a signed number.
    void SetRegisterRange(int station, std::uint16_t reg, int min, int max);
    // Every request that touches the register is answered with the code (0 clears).
    void ForceException(int station, std::uint16_t reg, std::uint8_t code);

    // Failure roads.
    void SetSilent(int station, bool silent);
    void SetCorruptCrc(int station, bool corrupt);
    void SetReplyDelay(int station, int milliseconds);
    // Replies carry this station number instead of the station's own (0 clears).
    void SetAnswerAs(int station, int answerAs);
    // Replies are cut to this many bytes, as when a line drops out (0: whole).
    void SetReplyLength(int station, std::size_t length);

    // Parameter password: 13-07 reads 2 while one is active and parameter
    // writes are refused with kSimExceptionWriteMode. Over the wire a value
    // written twice to 13-07 becomes the password (13-07 reads 1 after the
    // first write); writing the password releases it (13-07 reads 0); a wrong
    // value is echoed and changes nothing.
    void SetPassword(int station, std::uint16_t password);
    void ClearPassword(int station);
    bool IsPasswordActive(int station) const;

    // The run bit of the command word: status bit 0 follows at once, the
    // output frequency ramps (tools/SimDriveMotion.h says how the drive moves).
    void SetRunning(int station, bool running);
    // A fault: its code in 0x2521 and 13-02 and bit 3 of the status word (0 clears);
    // the fault-reset bit of the command word clears it too.
    void SetFault(int station, std::uint16_t code);
    // Terminal word bits shown besides S1/S2 (forward/reverse run) and the fault relay.
    void SetTerminals(int station, std::uint16_t bits);

    // The drive's motion runs on the steady clock until this is called; from
    // then on it moves only by AdvanceClock, so tests see the same drive
    // every run.
    void UseSteppedClock();
    void AdvanceClock(std::chrono::milliseconds step);

    // Frames received, oldest first; only the newest 100000 are kept.
    std::vector<SimFrame> GetFrameLog() const;
    // Frames from the one numbered first on (0 is the first frame since the
    // last ClearFrameLog), as far as they are still kept.
    std::vector<SimFrame> GetFramesFrom(std::size_t first) const;
    std::size_t GetFrameCount() const;
    void ClearFrameLog();
    // Waits until at least count frames were logged; false on time-out (real time).
    bool WaitForFrameCount(std::size_t count, int timeoutMs) const;

    // Takes one received frame (request, crcOk, time, transport and line
    // timing filled in), logs it with the reply, and says what to send back.
    // With mayAnswer false the frame is logged and nothing is answered or
    // applied.
    SimAnswer HandleFrame(SimFrame frame, bool mayAnswer = true);

    // Modbus CRC-16 of the bytes (initial 0xFFFF, reflected polynomial 0xA001).
    static std::uint16_t Crc16(const std::uint8_t* data, std::size_t length);

protected:
    const SimDriveConfig& Config() const { return m_config; }

private:
    struct Station;

    Station* FindStation(int station);
    const Station* FindStation(int station) const;
    template <typename F> void ForEachStation(int station, F f);

    std::vector<std::uint8_t> Answer(Station& station, const std::vector<std::uint8_t>& frame);
    std::uint8_t CheckWrite(const Station& station, std::uint16_t reg, std::uint16_t value) const;
    void ApplyWrite(Station& station, std::uint16_t reg, std::uint16_t value);

    const SimDriveConfig m_config;
    SimSystemClock m_systemClock;
    const SimClock* m_clock;
    mutable std::mutex m_mutex;
    mutable std::condition_variable m_logged;
    std::vector<std::unique_ptr<Station>> m_stations;
    std::deque<SimFrame> m_log; // the newest kLogLimit frames
    std::size_t m_frameCount = 0; // frames received since the last ClearFrameLog
    bool m_silentAll = false;
    SimDrive::CSimDriveClock m_motionClock;
};
