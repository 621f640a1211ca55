#include "link/Crc16.h"

#include "platform/MessageBox.h"
#include "platform/ResourceModule.h"

#include <array>

namespace {

constexpr std::array<uint16_t, 256> MakeCrcTable()
{
    std::array<uint16_t, 256> table{};
    for (unsigned byte = 0; byte < 256; ++byte) {
        uint16_t crc = static_cast<uint16_t>(byte);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1) ? static_cast<uint16_t>((crc >> 1) ^ 0xA001) : static_cast<uint16_t>(crc >> 1);
        table[byte] = crc;
    }
    return table;
}

constexpr std::array<uint16_t, 256> kCrcTable = MakeCrcTable();

constexpr unsigned kStationNumId = 61480;
constexpr unsigned kWritingModeErrorId = 61613;

} // namespace

uint16_t CalcCrc16(size_t length, const uint8_t* data)
{
    uint16_t crc = 0xFFFF;
    for (size_t i = 0; i < length; ++i)
        crc = static_cast<uint16_t>((crc >> 8) ^ kCrcTable[(crc ^ data[i]) & 0xFF]);
    return crc;
}

size_t AppendCrc16(uint8_t* frame, size_t length)
{
    uint16_t crc = CalcCrc16(length, frame);
    frame[length] = static_cast<uint8_t>(crc & 0xFF);
    frame[length + 1] = static_cast<uint8_t>(crc >> 8);
    return length + 2;
}

std::string GetCommExceptionText(uint8_t code)
{
    // 0x51..0x54 have texts 61609..61612.
    if (code >= 0x51 && code <= 0x54)
        return LoadResString(61609 + (code - 0x51));
    return LoadResString(kWritingModeErrorId);
}

void ShowCommExceptionMsg(uint8_t code, int station)
{
    std::string text = FormatResString(kStationNumId, station);
    text += '\n';
    text += GetCommExceptionText(code);
    AfxMessageBox(text, MB_OK);
}

unsigned GetErrTypeTextId(int result)
{
    switch (result) {
    case 0: return 0;
    case 1: return 61477;
    case 2: return 61478;
    default: return 61479;
    }
}

std::string GetErrTypeText(int result)
{
    unsigned id = GetErrTypeTextId(result);
    return id == 0 ? std::string() : LoadResString(id);
}
