#pragma once
// Modbus RTU checksum and the texts of link results and drive refusals.

#include <cstddef>
#include <cstdint>
#include <string>

// CRC-16 of Modbus RTU (reflected polynomial 0xA001, initial 0xFFFF). Length
// first, then the bytes; 0 bytes give 0xFFFF. Sent low byte first.
uint16_t CalcCrc16(size_t length, const uint8_t* data);

// Stores the CRC of frame[0, length) at frame[length] (low) and
// frame[length + 1] (high); returns length + 2.
size_t AppendCrc16(uint8_t* frame, size_t length);

// Text of a drive's refusal code (reply byte 2): 0x51..0x54 their own texts,
// any other "Writing Mode Error ".
std::string GetCommExceptionText(uint8_t code);

// Message box "Station Num <station>", a line break and the refusal text.
void ShowCommExceptionMsg(uint8_t code, int station);

// Text of a transaction result: empty for 0, "CRC parity error!" for 1,
// "TimeOut!" for 2, "Communication error!" for anything else.
std::string GetErrTypeText(int result);
// Its string id, 0 for result 0.
unsigned GetErrTypeTextId(int result);
