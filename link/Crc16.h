#pragma once
// Modbus RTU checksum.

#include <cstddef>
#include <cstdint>

// CRC-16 of Modbus RTU (reflected polynomial 0xA001, initial 0xFFFF). Length
// first, then the bytes; 0 bytes give 0xFFFF. Sent low byte first.
uint16_t CalcCrc16(size_t length, const uint8_t* data);

// Stores the CRC of frame[0, length) at frame[length] (low) and
// frame[length + 1] (high); returns length + 2.
size_t AppendCrc16(uint8_t* frame, size_t length);
