#pragma once
// A simulated drive on a pseudo-terminal and our link opened on it.

#include "link/Crc16.h"
#include "link/SerialComm.h"
#include "tools/SimulatedDrive.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

using Bytes = std::vector<uint8_t>;

// A request of n - 2 bytes with its CRC appended.
inline Bytes WithCrc(Bytes frame)
{
    uint16_t crc = CalcCrc16(frame.size(), frame.data());
    frame.push_back(static_cast<uint8_t>(crc & 0xFF));
    frame.push_back(static_cast<uint8_t>(crc >> 8));
    return frame;
}

inline Bytes ReadRequest(uint8_t station, uint16_t reg, uint8_t count = 1)
{
    return WithCrc({station, 0x03, static_cast<uint8_t>(reg >> 8), static_cast<uint8_t>(reg & 0xFF), 0x00, count});
}

inline Bytes WriteRequest(uint8_t station, uint16_t reg, uint16_t value)
{
    return WithCrc({station, 0x06, static_cast<uint8_t>(reg >> 8), static_cast<uint8_t>(reg & 0xFF),
                    static_cast<uint8_t>(value >> 8), static_cast<uint8_t>(value & 0xFF)});
}

class SimLinkTest : public ::testing::Test {
protected:
    // Stations 1 and 2; SetUp opens the link on the drive's pseudo-terminal.
    virtual SimDriveConfig Config()
    {
        SimDriveConfig config;
        SimStationConfig second;
        second.station = 2;
        config.stations.push_back(second);
        return config;
    }

    void SetUp() override
    {
        m_drive = std::make_unique<CSimulatedDrive>(Config());
        std::string error;
        ASSERT_TRUE(m_drive->Start(&error)) << error;
        m_comm = std::make_unique<CSerialComm>();
        ASSERT_NE(m_comm->InitComm(m_drive->GetPtyPath(), 9600, 8, 0, 1.0f), 0)
            << m_comm->GetSettingsReport();
    }

    void TearDown() override
    {
        if (m_comm)
            m_comm->Close();
        m_comm.reset();
        if (m_drive)
            m_drive->Stop();
    }

    // One transaction; the reply buffer is rxLen bytes followed by guard
    // bytes that must stay as they were.
    ErrType Transact(const Bytes& request, size_t rxLen, Bytes& reply)
    {
        Bytes tx = request;
        Bytes rx(rxLen + kGuard, kFill);
        ErrType result = m_comm->CommandSend(tx.data(), tx.size(), rx.data(), rxLen);
        for (size_t i = rxLen; i < rx.size(); ++i)
            EXPECT_EQ(rx[i], kFill) << "reply overran its buffer at byte " << i;
        rx.resize(rxLen);
        reply = rx;
        return result;
    }

    static constexpr uint8_t kFill = 0xEE;
    static constexpr size_t kGuard = 16;

    std::unique_ptr<CSimulatedDrive> m_drive;
    std::unique_ptr<CSerialComm> m_comm;
};
