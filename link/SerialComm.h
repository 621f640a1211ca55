#pragma once
// The program's link object: CSerial plus the pause of interactive requests,
// the read guard and the network adapter search.

#include "link/Serial.h"

#include <netinet/in.h>

#include <string>
#include <vector>

// One network adapter found by the search.
struct NetDeviceInfo {
    std::string m_strMac;  // "0a-1b-2c-3d-4e-5f"
    std::string m_strIp;   // the sender's address, dotted
    std::string m_strName; // a user's label; the search leaves it empty
    sockaddr_in m_addr{};  // the sender's address exactly as received
};

class CSerialComm : public CSerial {
public:
    CSerialComm();
    ~CSerialComm() override;

    // Interactive requests: a 10 ms pause, then CommandSend.
    ErrType SendCommand(uint8_t* tx, unsigned long txLen, uint8_t* rx, unsigned long rxLen);
    // The same for a request its caller may give up (CommandSendUnlessAbandoned).
    ErrType SendCommandUnlessAbandoned(const std::atomic<bool>& abandoned, uint8_t* tx, unsigned long txLen,
                                       uint8_t* rx, unsigned long rxLen);

    // Broadcast: a function-06 frame of 8 bytes to station 0, written within
    // 800 ms; no reply is awaited. After a 100 ms pause the drives have taken
    // it: 1. 0 when the frame could not be written at all.
    int SendBroadcast(const uint8_t* frame);

    // A read of more than 160 bytes is no read: pending input is discarded
    // and 0 returned.
    long Read(void* data, unsigned size, unsigned long* read, unsigned long timeoutMs) override;

    int CheckCrc(const uint8_t* data, unsigned long length) override;

    // Searches the network for adapters (the settings say where) and replaces
    // the list with those that answered, in arrival order. Returns how many.
    virtual int DiscoverModules(std::vector<NetDeviceInfo>* modules);
};
