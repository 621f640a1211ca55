#pragma once
// A stepped clock, a recorder wired to a simulated drive, and a recording
// with a folder of its own for the files it exports and imports.

#include "link/Crc16.h"
#include "link/SerialComm.h"
#include "monitor/GraphRecorder.h"
#include "platform/ResourceModule.h"
#include "tests/common/FileBytes.h"
#include "tests/common/MessageRecorder.h"
#include "tests/common/TestPaths.h"
#include "tools/SimulatedDrive.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

// Time moves only when a test says so.
class SteppedClock : public IGraphClock {
public:
    double MonotonicSeconds() override { return m_seconds; }
    GraphTimeOfDay LocalTime() override { return m_start.Plus(static_cast<long long>(m_seconds * 1000 + 0.5)); }
    void Step(double seconds) { m_seconds += seconds; }

    double m_seconds = 100.0;
    GraphTimeOfDay m_start{10, 20, 30, 0}; // the local time at m_seconds == 0
};

inline GraphSample SampleAt(double clock, double plotted = 0)
{
    GraphSample sample;
    sample.clock = clock;
    sample.plotted.fill(plotted);
    return sample;
}

// A recording of Set Frequency and DC Voltage (a test adds what else it
// needs, then applies the scale rule) and a new folder for its files.
class GraphFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_folder = MakeTempFolder();
        m_recorder.SetChannel(0, "Set Frequency", "60.00", "0.00");
        m_recorder.SetChannel(1, "DC Voltage", "800.00", "200.00");
    }

    std::string Path(const std::string& name) const { return m_folder + name; }

    SteppedClock m_clock;
    CGraphRecorder m_recorder{m_clock};
    MessageRecorder m_messages;
    std::string m_folder;
};

class GraphDriveTest : public ::testing::Test {
protected:
    virtual uint32_t ModelCode() { return 0x11004B2; }

    void SetUp() override
    {
        SimDriveConfig config;
        config.stations[0].modelCode = ModelCode();
        m_drive = std::make_unique<CSimulatedDrive>(config);
        std::string error;
        ASSERT_TRUE(m_drive->Start(&error)) << error;
        m_comm = std::make_unique<CSerialComm>();
        ASSERT_NE(m_comm->InitComm(m_drive->GetPtyPath(), 19200, 8, 0, 1.0f), 0);
        LinkTimeouts timeouts;
        timeouts.firstByteMs = 150;
        m_comm->SetTimeouts(timeouts);
        m_recorder.m_nStation = 1;
    }

    void TearDown() override
    {
        if (m_comm)
            m_comm->Close();
        if (m_drive)
            m_drive->Stop();
    }

    void SetChannels(const std::string& a, const std::string& b, const std::string& c, const std::string& d)
    {
        const std::string names[] = {a, b, c, d};
        for (int k = 0; k < kGraphChannels; ++k)
            m_recorder.SetChannel(k, names[k], "1000", "0");
        m_recorder.ApplyScaleRule();
    }

    GraphTick Tick(int modelCode)
    {
        m_clock.Step(0.1);
        return m_recorder.SampleTick(m_comm.get(), modelCode);
    }

    std::unique_ptr<CSimulatedDrive> m_drive;
    std::unique_ptr<CSerialComm> m_comm;
    SteppedClock m_clock;
    CGraphRecorder m_recorder{m_clock};
    MessageRecorder m_messages;
};
