#pragma once
// A simulated drive: one or more Modbus RTU stations served on a
// pseudo-terminal and, as a network adapter module, on TCP (RTU frames carried
// unchanged) with the adapter's UDP datagrams (link/NetAdapterProtocol.h).
// Tests use it in-process; tools/SimDriveMain.cpp wraps it as a program.
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

#include <array>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "tools/SimDriveMotion.h"

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
};

struct SimDriveConfig {
    std::vector<SimStationConfig> stations { SimStationConfig {} };
    // Folder of PARAM.DAT, PARAMS.DAT and PARAMSP.DAT (ending with '/' or not);
    // empty: no definition file is read.
    std::string dataDir;
    // A definition file that every station uses instead of the one of its model.
    std::string definitionFile;
    // Refuse parameter writes outside the "MIN~MAX" ranges of the definition
    // file's remarks with kSimExceptionRange (off: every value is taken).
    bool keepRanges = false;
    bool servePty = true;
    int tcpPort = -1; // -1: no TCP; 0: any free port
    int udpPort = -1; // -1: no datagrams; 0: any free port
    std::string moduleIp = "127.0.0.1"; // the adapter's own address (TCP and unicast UDP)
    std::string discoveryAddress = "127.255.255.255"; // also listened on for search datagrams
    std::array<std::uint8_t, 6> mac { 0x00, 0x20, 0x4a, 0x00, 0x00, 0x01 };
    SimLineFormat line;
};

enum class SimTransport { Pty, Tcp };

// One request frame as the drive received it.
struct SimFrame {
    std::chrono::steady_clock::time_point time; // when its first byte arrived
    SimTransport transport = SimTransport::Pty;
    std::vector<std::uint8_t> request;
    bool crcOk = false;
    std::vector<std::uint8_t> reply; // what was sent back, empty when nothing was
};

class CSimulatedDrive {
public:
    explicit CSimulatedDrive(SimDriveConfig config = {});
    ~CSimulatedDrive();
    CSimulatedDrive(const CSimulatedDrive&) = delete;
    CSimulatedDrive& operator=(const CSimulatedDrive&) = delete;

    // Opens the pseudo-terminal and sockets and starts serving. False with a
    // reason in *error when something could not be opened.
    bool Start(std::string* error = nullptr);
    void Stop();

    // The slave device of the pseudo-terminal ("/dev/pts/N").
    std::string GetPtyPath() const;
    int GetTcpPort() const;
    int GetUdpPort() const;
    std::string GetModuleIp() const;

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
    void SetLineFormat(const SimLineFormat& line);

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

    // Adapter datagrams: replies to search requests are cut to this length
    // (0: the full reply); the adapter can ignore searches or refuse new addresses.
    void SetSearchReplyLength(std::size_t length);
    void SetDiscoverySilent(bool silent);
    void SetRefuseAddressChange(bool refuse);
    std::array<std::uint8_t, 6> GetMac() const;

    // Frames received, oldest first; only the newest 100000 are kept.
    std::vector<SimFrame> GetFrameLog() const;
    // Frames from the one numbered first on (0 is the first frame since the
    // last ClearFrameLog), as far as they are still kept.
    std::vector<SimFrame> GetFramesFrom(std::size_t first) const;
    std::size_t GetFrameCount() const;
    void ClearFrameLog();
    // Waits until at least count frames were logged; false on time-out.
    bool WaitForFrameCount(std::size_t count, int timeoutMs) const;

    // Modbus CRC-16 of the bytes (initial 0xFFFF, reflected polynomial 0xA001).
    static std::uint16_t Crc16(const std::uint8_t* data, std::size_t length);

private:
    // Closes every descriptor the drive serves on (after Start failed or Stop).
    void CloseEndpoints();
    struct Station;
    struct Connection;

    Station* FindStation(int station);
    const Station* FindStation(int station) const;
    template <typename F> void ForEachStation(int station, F f);

    void Serve();
    void ReadConnection(Connection& connection);
    void ProcessBuffer(Connection& connection, bool silenceReached);
    void HandleFrame(Connection& connection, const std::vector<std::uint8_t>& frame, bool crcOk,
        std::chrono::steady_clock::time_point firstByte);
    std::vector<std::uint8_t> Answer(Station& station, const std::vector<std::uint8_t>& frame);
    std::uint8_t CheckWrite(const Station& station, std::uint16_t reg, std::uint16_t value) const;
    void ApplyWrite(Station& station, std::uint16_t reg, std::uint16_t value);
    void SendPaced(const Connection& connection, const std::vector<std::uint8_t>& bytes,
        std::chrono::steady_clock::time_point requestStart, std::size_t requestLength, int delayMs);
    bool WaitUntil(std::chrono::steady_clock::time_point deadline);
    void HandleDatagram(int fd);
    bool MoveAddress(const std::string& newIp);
    bool OpenModuleSockets(const std::string& ip, std::string* error);

    SimDriveConfig m_config;
    mutable std::mutex m_mutex;
    mutable std::condition_variable m_changed;
    std::vector<std::unique_ptr<Station>> m_stations;
    std::deque<SimFrame> m_log; // the newest kLogLimit frames
    std::size_t m_frameCount = 0; // frames received since the last ClearFrameLog
    bool m_silentAll = false;
    std::size_t m_searchReplyLength = 0;
    bool m_discoverySilent = false;
    bool m_refuseAddressChange = false;
    SimDrive::CSimDriveClock m_clock;

    bool m_running = false;
    bool m_stopping = false;
    std::thread m_thread;
    int m_wakeFd = -1;
    int m_ptyMaster = -1;
    int m_ptySlave = -1; // kept open so that the master never sees a hang-up between clients
    std::string m_ptyPath;
    int m_tcpListen = -1;
    int m_tcpPort = -1;
    int m_udpUnicast = -1;
    int m_udpBroadcast = -1;
    int m_udpPort = -1;
    std::string m_moduleIp;
    std::vector<std::unique_ptr<Connection>> m_connections;
};
