#pragma once
// A simulated drive (station 1, comm-controlled, limits 0.00 to 60.00, a
// stepped clock) with our link open on it, the session that hands both to the
// live windows, and the open project they are given.

#include "document/D390DocData.h"
#include "link/Crc16.h"
#include "link/SerialComm.h"
#include "platform/BackgroundJob.h"
#include "platform/ResourceModule.h"
#include "session/DriveSession.h"
#include "tests/common/MessageRecorder.h"
#include "tests/common/RecordingWindows.h"
#include "tools/SimulatedDrive.h"

#include <gtest/gtest.h>
#include <wx/app.h>

#include <memory>
#include <string>
#include <vector>

using Bytes = std::vector<std::uint8_t>;

inline Bytes WithCrc(Bytes frame)
{
    const std::uint16_t crc = CalcCrc16(frame.size(), frame.data());
    frame.push_back(static_cast<std::uint8_t>(crc & 0xFF));
    frame.push_back(static_cast<std::uint8_t>(crc >> 8));
    return frame;
}

inline Bytes Read(std::uint8_t station, std::uint16_t reg, std::uint8_t count)
{
    return WithCrc({ station, 0x03, std::uint8_t(reg >> 8), std::uint8_t(reg & 0xFF), 0, count });
}

inline Bytes Write(std::uint8_t station, std::uint16_t reg, std::uint16_t value)
{
    return WithCrc({ station, 0x06, std::uint8_t(reg >> 8), std::uint8_t(reg & 0xFF), std::uint8_t(value >> 8),
        std::uint8_t(value & 0xFF) });
}

class LiveWindowFixture : public ::testing::Test {
protected:
    void StartDrive(std::uint32_t model = 0x11004B2)
    {
        SimDriveConfig config;
        config.stations = { { 1, model, 1100 } };
        m_drive = std::make_unique<CSimulatedDrive>(config);
        m_drive->UseSteppedClock();
        std::string error;
        ASSERT_TRUE(m_drive->Start(&error)) << error;
        m_drive->SetRegister(1, 0x0002, 2);
        m_drive->SetRegister(1, 0x0005, 5);
        m_drive->SetRegister(1, 0x000C, 6000);
        m_drive->SetRegister(1, 0x000D, 0);
        m_state.m_pComm = new CSerialComm();
        ASSERT_NE(m_state.m_pComm->InitComm(m_drive->GetPtyPath(), 9600, 8, 0, 1.0f), 0);
        m_state.m_bConnected = 1;
        m_state.m_Stations = { 1 };
        m_project.m_nModelCode = static_cast<int>(model);
    }
    // Several stations, each with its model and version, connected as the
    // Connect dialog leaves them.
    void StartDrives(const std::vector<SimStationConfig>& stations)
    {
        CloseLink();
        if (m_drive)
            m_drive->Stop();
        SimDriveConfig config;
        config.stations = stations;
        m_drive = std::make_unique<CSimulatedDrive>(config);
        m_drive->UseSteppedClock();
        std::string error;
        ASSERT_TRUE(m_drive->Start(&error)) << error;
        m_state.m_pComm = new CSerialComm();
        ASSERT_NE(m_state.m_pComm->InitComm(m_drive->GetPtyPath(), 9600, 8, 0, 1.0f), 0);
        m_state.m_bConnected = 1;
        m_state.m_Stations.clear();
        m_state.m_StationModels.clear();
        m_state.m_StationVersions.clear();
        for (const SimStationConfig& station : stations) {
            m_drive->SetRegister(station.station, 0x0002, 2);
            m_drive->SetRegister(station.station, 0x0005, 5);
            m_drive->SetRegister(station.station, 0x000C, 6000);
            m_state.m_Stations.push_back(station.station);
            m_state.m_StationModels.push_back(static_cast<int>(station.modelCode));
            m_state.m_StationVersions.push_back(station.version);
        }
    }
    void SetUp() override { StartDrive(); }
    void TearDown() override
    {
        CloseLink();
        if (m_drive)
            m_drive->Stop();
    }
    // As the watchdog does when the last station stops answering.
    void CloseLink()
    {
        // As the main frame does before the link object goes: exchanges of
        // windows closed in the middle of one end first.
        CBackgroundJob::JoinReleasedJobs();
        if (m_state.m_pComm) {
            m_state.m_pComm->Close();
            delete m_state.m_pComm;
            m_state.m_pComm = nullptr;
        }
        m_state.m_bConnected = 0;
    }
    // Requests since the mark.
    std::vector<Bytes> Requests()
    {
        std::vector<Bytes> out;
        for (const SimFrame& frame : m_drive->GetFramesFrom(m_mark))
            out.push_back(frame.request);
        return out;
    }
    void Mark() { m_mark = m_drive->GetFrameCount(); }
    static std::string Res(unsigned id) { return LoadResString(id); }

    std::unique_ptr<CSimulatedDrive> m_drive;
    RecordingWindows m_windows;
    CDriveSession m_state{m_windows};
    // The open project the windows are handed (its model and graph channels).
    CD390DocData m_project{m_windows};
    MessageRecorder m_messages;
    std::size_t m_mark = 0;
};
