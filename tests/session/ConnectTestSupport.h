#pragma once
// Fixtures of the connection tests: a drive session whose windows record what
// the main frame would show, and simulated drives on a pseudo-terminal or on
// loopback TCP as a network adapter.

#include "link/SerialComm.h"
#include "session/CommSettings.h"
#include "session/DriveSession.h"
#include "tests/common/MessageRecorder.h"
#include "tests/common/RecordingWindows.h"
#include "tests/common/TestPaths.h"
#include "tools/SimulatedDrive.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

using Bytes = std::vector<std::uint8_t>;

// The windows a test session records into, made before the session.
struct RecordedWindows {
    RecordingWindows m_recorded;
};

// The drive session as the application owns it, its windows recorded. It
// deletes the link object that connecting made, as the main frame does when
// it closes.
class TestSession : public RecordedWindows, public CDriveSession {
public:
    TestSession() : CDriveSession(m_recorded) {}
    ~TestSession()
    {
        delete m_pComm;
        m_pComm = nullptr;
    }
};

// Appends the Modbus CRC, low byte first.
inline Bytes WithCrc(Bytes frame)
{
    std::uint16_t crc = CSimulatedDrive::Crc16(frame.data(), frame.size());
    frame.push_back(static_cast<std::uint8_t>(crc & 0xFF));
    frame.push_back(static_cast<std::uint8_t>(crc >> 8));
    return frame;
}

// A read request of count registers from reg.
inline Bytes ReadRequest(int station, std::uint16_t reg, int count = 1)
{
    return WithCrc({static_cast<std::uint8_t>(station), 0x03, static_cast<std::uint8_t>(reg >> 8),
                    static_cast<std::uint8_t>(reg & 0xFF), 0x00, static_cast<std::uint8_t>(count)});
}

inline std::vector<Bytes> Requests(const CSimulatedDrive& drive)
{
    std::vector<Bytes> requests;
    for (const SimFrame& frame : drive.GetFrameLog())
        requests.push_back(frame.request);
    return requests;
}

inline SimDriveConfig DriveConfig(const std::vector<int>& stations, std::uint32_t modelCode, int version = 1100)
{
    SimDriveConfig config;
    config.stations.clear();
    for (int station : stations)
        config.stations.push_back({station, modelCode, version});
    config.dataDir = TestProgramFolder();
    return config;
}

inline std::unique_ptr<CSimulatedDrive> StartDrive(const SimDriveConfig& config)
{
    auto drive = std::make_unique<CSimulatedDrive>(config);
    std::string error;
    EXPECT_TRUE(drive->Start(&error)) << error;
    return drive;
}

// Settings files go to a folder of the test's own; the settings of one test
// never reach the next.
class SettingsFolder {
public:
    SettingsFolder()
    {
        ResetCommSettings();
        m_saved = g_strAppFolder;
        g_strAppFolder = MakeTempFolder();
        const char* config = std::getenv("XDG_CONFIG_HOME");
        m_hadConfig = config != nullptr;
        if (config)
            m_savedConfig = config;
        m_configHome = MakeTempFolder();
        setenv("XDG_CONFIG_HOME", m_configHome.c_str(), 1);
    }
    ~SettingsFolder()
    {
        std::filesystem::remove_all(g_strAppFolder);
        std::filesystem::remove_all(m_configHome);
        g_strAppFolder = m_saved;
        if (m_hadConfig)
            setenv("XDG_CONFIG_HOME", m_savedConfig.c_str(), 1);
        else
            unsetenv("XDG_CONFIG_HOME");
        ResetCommSettings();
    }
    // Where the settings are written.
    std::string Path(const std::string& name) const { return m_configHome + "d390/" + name; }

private:
    std::string m_saved;
    std::string m_configHome;
    std::string m_savedConfig;
    bool m_hadConfig = false;
};

// Adapter searches and the adapter's datagrams on loopback, at the drive's
// UDP port; restored afterwards.
class LoopbackAdapterSettings {
public:
    explicit LoopbackAdapterSettings(int udpPort) : m_saved(GetDefaultNetAdapterSettings())
    {
        NetAdapterSettings settings = m_saved;
        settings.localAddress = "127.0.0.1";
        settings.localPort = 0;
        settings.destAddress = "127.255.255.255";
        settings.destPort = static_cast<std::uint16_t>(udpPort);
        // The search ends this long after the last reply: generous, for a loaded machine.
        settings.quietMs = 2000;
        SetDefaultNetAdapterSettings(settings);
    }
    ~LoopbackAdapterSettings() { SetDefaultNetAdapterSettings(m_saved); }

private:
    NetAdapterSettings m_saved;
};
