#include "tools/InProcessDrive.h"

#include "link/Serial.h"

#include <memory>

CInProcessDrive::CInProcessDrive(SimDriveConfig config)
    : m_format(config.line)
    , m_model(std::move(config), &m_clock)
{
}

bool CInProcessDrive::Connect(CSerial& link)
{
    SerialSettings settings;
    settings.baud = m_format.baud;
    settings.dataBits = m_format.dataBits;
    settings.parity = m_format.parity == 'O' || m_format.parity == 'o' ? 1
        : m_format.parity == 'E' || m_format.parity == 'e'            ? 2
                                                                       : 0;
    settings.stopBits = m_format.stopBits;
    auto line = std::make_unique<SimDriveBackend>(m_model, m_clock, m_format);
    m_line = line.get();
    return link.AttachBackend(std::move(line), settings) != 0;
}
