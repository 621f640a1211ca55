#include "link/CommTexts.h"

#include "platform/MessageBox.h"
#include "platform/ResourceModule.h"
#include "res/StringIds.h"

std::string GetCommExceptionText(uint8_t code)
{
    // 0x51..0x54 have texts 61609..61612.
    if (code >= 0x51 && code <= 0x54)
        return LoadResString(IDS_FUNCTION_CODE_ERROR + (code - 0x51));
    return LoadResString(IDS_WRITING_MODE_ERROR);
}

void ShowCommExceptionMsg(uint8_t code, int station)
{
    std::string text = FormatResString(IDS_STATION_NUM, station);
    text += '\n';
    text += GetCommExceptionText(code);
    AfxMessageBox(text, MB_OK);
}

unsigned GetErrTypeTextId(int result)
{
    switch (result) {
    case 0: return 0;
    case 1: return IDS_CRC_ERROR;
    case 2: return IDS_TIMEOUT;
    default: return IDS_COMM_ERROR;
    }
}

std::string GetErrTypeText(int result)
{
    unsigned id = GetErrTypeTextId(result);
    return id == 0 ? std::string() : LoadResString(id);
}
