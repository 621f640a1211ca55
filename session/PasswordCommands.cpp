#include "session/PasswordCommands.h"

#include "link/CommTexts.h"
#include "link/Crc16.h"
#include "link/SerialComm.h"
#include "platform/MessageBox.h"
#include "res/StringIds.h"
#include "session/MainFrameState.h"

#include <algorithm>
#include <cctype>

namespace {

constexpr uint16_t kPasswordRegister = 0x0D07;
constexpr long kHighestPassword = 65535;

// One write of the value; true when the drive echoed function 06. A link
// failure shows the link's text, a refusal refusalText.
bool SendPasswordOnce(CMainFrameState& frame, int station, uint16_t value, unsigned refusalText)
{
    uint8_t request[8];
    BuildPasswordWriteFrame(static_cast<uint8_t>(station), value, request);
    uint8_t reply[8] = {};
    int result = frame.m_pComm ? frame.m_pComm->SendCommand(request, sizeof request, reply, sizeof reply) : kErrComm;
    if (result != kErrNone) {
        AfxMessageBox(GetErrTypeTextId(result), MB_OK);
        return false;
    }
    if (reply[1] != 0x06) {
        AfxMessageBox(refusalText, MB_OK);
        return false;
    }
    return true;
}

// A drive takes a password written twice in a row.
bool SetPassword(CMainFrameState& frame, int station, uint16_t value)
{
    return SendPasswordOnce(frame, station, value, IDS_SET_PASSWORD_FAILURE) &&
           SendPasswordOnce(frame, station, value, IDS_SET_PASSWORD_FAILURE);
}

// The station chooser, then the chosen drive's password state; false when
// either was cancelled or failed (the query has said why).
bool ChooseStation(CMainFrameState& frame, const PasswordDialogs& dialogs, int& station, bool& active)
{
    return dialogs.selectStation(station) && frame.ReadPasswordState(static_cast<uint8_t>(station), active);
}

} // namespace

unsigned CheckPasswordText(const std::string& text)
{
    bool digits = std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isdigit(c); });
    // The value counts first, as long as the leading digits make a number.
    std::size_t leading = std::find_if(text.begin(), text.end(), [](unsigned char c) { return !std::isdigit(c); }) -
                          text.begin();
    std::string number = text.substr(0, leading);
    number.erase(0, std::min(number.find_first_not_of('0'), number.size()));
    if (number.size() > 5 || (!number.empty() && std::stol(number) > kHighestPassword))
        return IDS_BEYOND_RANGE;
    if (!digits)
        return IDS_PASSWORD_NOT_DECIMAL;
    return 0;
}

unsigned CheckPasswordSetInput(const std::string& password, const std::string& repeat)
{
    if (password != repeat)
        return IDS_REPEAT_NOT_SAME;
    return CheckPasswordText(password);
}

unsigned CheckChangePasswordInput(const std::string& oldText, const std::string& newText, const std::string& repeat)
{
    if (unsigned id = CheckPasswordText(oldText))
        return id;
    if (newText != repeat)
        return IDS_REPEAT_NOT_SAME;
    return CheckPasswordText(newText);
}

uint16_t PasswordValue(const std::string& text)
{
    long value = 0;
    for (char c : text) {
        if (!std::isdigit(static_cast<unsigned char>(c)))
            break;
        value = std::min(value * 10 + (c - '0'), kHighestPassword);
    }
    return static_cast<uint16_t>(value);
}

uint8_t* BuildPasswordWriteFrame(uint8_t station, uint16_t value, uint8_t* buffer)
{
    buffer[0] = station;
    buffer[1] = 0x06;
    buffer[2] = kPasswordRegister >> 8;
    buffer[3] = kPasswordRegister & 0xFF;
    buffer[4] = static_cast<uint8_t>(value >> 8);
    buffer[5] = static_cast<uint8_t>(value & 0xFF);
    AppendCrc16(buffer, 6);
    return buffer;
}

void RunPasswordSet(CMainFrameState& frame, const PasswordDialogs& dialogs)
{
    int station = 0;
    bool active = false;
    if (!ChooseStation(frame, dialogs, station, active))
        return;

    if (!active) {
        std::string password;
        if (dialogs.askNewPassword(password))
            SetPassword(frame, station, PasswordValue(password));
        return;
    }

    std::string oldText;
    std::string newText;
    if (!dialogs.askChangePassword(oldText, newText))
        return;
    if (!SendPasswordOnce(frame, station, PasswordValue(oldText), IDS_DISABLE_PASSWORD_ERROR))
        return;
    if (!frame.ReadPasswordState(static_cast<uint8_t>(station), active))
        return;
    if (active) {
        // The old password was wrong: the drive keeps its own.
        AfxMessageBox(IDS_DISABLE_PASSWORD_ERROR, MB_OK);
        return;
    }
    SetPassword(frame, station, PasswordValue(newText));
}

void RunPasswordRelease(CMainFrameState& frame, const PasswordDialogs& dialogs)
{
    int station = 0;
    bool active = false;
    if (!ChooseStation(frame, dialogs, station, active))
        return;
    if (!active) {
        AfxMessageBox(IDS_NO_PASSWORD, MB_OK);
        return;
    }
    std::string password;
    if (!dialogs.askPassword(password))
        return;
    if (!SendPasswordOnce(frame, station, PasswordValue(password), IDS_SET_PASSWORD_FAILURE))
        return;
    if (!frame.ReadPasswordState(static_cast<uint8_t>(station), active))
        return;
    if (active)
        AfxMessageBox(IDS_DISABLE_PASSWORD_ERROR, MB_OK);
}
