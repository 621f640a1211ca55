#pragma once

#include "link/SerialComm.h"

#include <cstdint>
#include <functional>

// Our link with a hook before each transaction, so that a test can flip one
// of the drive's switches between two frames.
class HookedComm : public CSerialComm {
public:
    ErrType CommandSend(uint8_t* tx, unsigned long txLen, uint8_t* rx, unsigned long rxLen) override
    {
        ++m_count;
        if (m_before)
            m_before(m_count);
        if (m_beforeFrame && txLen >= 4)
            m_beforeFrame(tx[1], static_cast<uint16_t>(tx[2] << 8 | tx[3]));
        return CSerialComm::CommandSend(tx, txLen, rx, rxLen);
    }
    std::function<void(int)> m_before; // gets the 1-based number of the transaction
    // gets the function and the first register of the frame about to go
    std::function<void(uint8_t function, uint16_t reg)> m_beforeFrame;
    int m_count = 0;
};
