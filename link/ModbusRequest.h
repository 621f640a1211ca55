#pragma once
// Every Modbus request of the program: read holding registers (03), write one
// register (06), write several (0x10) and the broadcast of a single write.
// Frames are built and replies checked here once; callers get the link's
// result code and, for a drive's refusal, its exception code.

#include <atomic>
#include <cstdint>
#include <span>

class CSerialComm;

// How a request waits before it goes: interactive requests (a click in a page
// or a live window) pause 10 ms first, as SendCommand does; transfers,
// queries and the watchdog go straight out.
enum class RequestPace { Direct, Interactive };

struct ModbusReply {
    // 0 success, 1 CRC error, 2 time-out, 3 any other failure: no link, a
    // reply from another station, a read reply whose byte count is not twice
    // the registers asked, a write echo naming another address or count; 4
    // given up by its caller before it was sent.
    int result = 3;
    // The function byte of the reply when result is 0. It differs from the
    // request's (asked) when the drive refused: exception holds the refusal
    // code (reply byte 2), whatever its value.
    uint8_t function = 0;
    uint8_t exception = 0;
    uint8_t asked = 0;
    // The link brought back a whole frame of the station asked, its CRC
    // right, whatever the frame says (result may still be 3 for its content).
    bool replied = false;

    // A complete, checked reply of the function asked.
    bool Ok() const { return result == 0 && function == asked; }
    // The drive answered (any well-formed reply, a refusal included).
    bool Answered() const { return result == 0; }
    bool Refused() const { return result == 0 && function != asked; }
    // Given up by its caller before it went out: nothing was sent.
    bool Abandoned() const { return result == 4; }
};

class CModbusRequest {
public:
    // abandoned, when given, lets the caller give up a request that still
    // waits for the line (a window that closes during the quiet after a
    // failure): it is then not sent and its reply says Abandoned(). The flag
    // must outlive the requests made through this object.
    explicit CModbusRequest(CSerialComm* link, RequestPace pace = RequestPace::Direct,
                            const std::atomic<bool>* abandoned = nullptr);

    // Function 03: count registers (1 to 125) from address into words. words
    // is untouched unless the reply is Ok().
    ModbusReply ReadHolding(uint8_t station, uint16_t address, uint16_t count, uint16_t* words);
    // Function 06.
    ModbusReply WriteOne(uint8_t station, uint16_t address, uint16_t value);
    // Function 0x10: words.size() registers (1 to 123) from address.
    ModbusReply WriteMany(uint8_t station, uint16_t address, std::span<const uint16_t> words);
    // Function 06 to station 0: no reply is awaited. true when the frame went
    // out (the drives then get their 100 ms).
    bool Broadcast(uint16_t address, uint16_t value);

private:
    ModbusReply Exchange(uint8_t* tx, unsigned txLen, uint8_t* rx, unsigned rxLen);

    CSerialComm* m_link;
    RequestPace m_pace;
    const std::atomic<bool>* m_abandoned;
};
