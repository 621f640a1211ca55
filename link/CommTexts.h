#pragma once
// The texts of link results and drive refusals, as callers show them.

#include <cstdint>
#include <string>

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
