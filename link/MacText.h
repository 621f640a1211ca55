#pragma once
// MAC addresses as the adapter lists show them: "0a-1b-2c-3d-4e-5f".

#include <cstdint>
#include <string>

std::string FormatMacText(const uint8_t mac[6]);
// Six two-digit hexadecimal numbers joined by '-' (or ':'), either case;
// false on anything else.
bool ParseMacText(const std::string& text, uint8_t mac[6]);
