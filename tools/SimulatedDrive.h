#pragma once
// A simulated drive served as a real peer: its register model's stations on a
// pseudo-terminal and, as a network adapter module, on TCP (RTU frames carried
// unchanged) with the adapter's UDP datagrams (link/NetAdapterProtocol.h).
// Tests use it in-process for end-to-end runs; tools/SimDriveMain.cpp wraps it
// as a program. What the stations answer is CSimDriveModel's.
//
// On a paced line (SimLineFormat::baud) replies go out byte by byte at the
// line's speed, after the request's own wire time and the silent interval.

#include "tools/SimDriveModel.h"

#include <array>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class CSimulatedDrive : public CSimDriveModel {
public:
    // clock: the register model's time (real time when null); pacing and
    // time-outs of the line are always real.
    explicit CSimulatedDrive(SimDriveConfig config = {}, const SimClock* clock = nullptr);
    ~CSimulatedDrive() override;
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

    void SetLineFormat(const SimLineFormat& line);

    // Adapter datagrams: replies to search requests are cut to this length
    // (0: the full reply); the adapter can ignore searches or refuse new addresses.
    void SetSearchReplyLength(std::size_t length);
    void SetDiscoverySilent(bool silent);
    void SetRefuseAddressChange(bool refuse);
    std::array<std::uint8_t, 6> GetMac() const;

private:
    // Closes every descriptor the drive serves on (after Start failed or Stop).
    void CloseEndpoints();
    struct Connection;

    void Serve();
    void ReadConnection(Connection& connection);
    void ProcessBuffer(Connection& connection, bool silenceReached);
    void HandleFrame(Connection& connection, const std::vector<std::uint8_t>& frame, bool crcOk,
        std::chrono::steady_clock::time_point firstByte);
    // False when the reply did not go out whole.
    bool SendPaced(const Connection& connection, const std::vector<std::uint8_t>& bytes,
        std::chrono::steady_clock::time_point requestStart, std::size_t requestLength, int delayMs);
    bool WaitUntil(std::chrono::steady_clock::time_point deadline);
    void HandleDatagram(int fd);
    bool MoveAddress(const std::string& newIp);
    bool OpenModuleSockets(const std::string& ip, std::string* error);

    SimDriveConfig m_config;
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    std::size_t m_searchReplyLength = 0;
    bool m_discoverySilent = false;
    bool m_refuseAddressChange = false;

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
