#include "session/PasswordCommands.h"

#include "link/CommTexts.h"
#include "link/ModbusRequest.h"
#include "link/SerialComm.h"
#include "platform/MessageBox.h"
#include "res/StringIds.h"
#include "session/DriveSession.h"
#include "session/DriveWork.h"

#include <algorithm>
#include <cctype>
#include <optional>

namespace {

constexpr uint16_t kPasswordRegister = 0x0D07;
constexpr long kHighestPassword = 65535;

// One write of the value; true when the drive echoed function 06. A link
// failure shows the link's text, a refusal refusalText.
bool SendPasswordOnce(CDriveSession& session, int station, uint16_t value, unsigned refusalText)
{
    // A command the user gave: the interactive pause before it goes.
    CModbusRequest request(session.m_pComm, RequestPace::Interactive);
    const ModbusReply reply = request.WriteOne(static_cast<uint8_t>(station), kPasswordRegister, value);
    if (!reply.Answered()) {
        AfxMessageBox(GetErrTypeTextId(reply.result), MB_OK);
        return false;
    }
    if (reply.Refused()) {
        AfxMessageBox(refusalText, MB_OK);
        return false;
    }
    return true;
}

// A drive takes a password written twice in a row.
bool SetPassword(CDriveSession& session, int station, uint16_t value)
{
    return SendPasswordOnce(session, station, value, IDS_SET_PASSWORD_FAILURE) &&
           SendPasswordOnce(session, station, value, IDS_SET_PASSWORD_FAILURE);
}

// The station chooser, then the chosen drive's password state; false when
// either was cancelled or failed (the query has said why). From the choice
// on the command is a drive transfer, as Read and Write are: a watchdog pass
// under way ends first, its window thread handling events meanwhile, and
// none begins until the command has ended.
bool ChooseStation(CDriveSession& session, const PasswordDialogs& dialogs, int& station, bool& active,
                   std::optional<CDriveTransferScope>& transfer)
{
    if (!dialogs.selectStation(station))
        return false;
    transfer.emplace();
    return session.ReadPasswordState(static_cast<uint8_t>(station), active);
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

void RunPasswordSet(CDriveSession& session, const PasswordDialogs& dialogs)
{
    int station = 0;
    bool active = false;
    std::optional<CDriveTransferScope> transfer;
    if (!ChooseStation(session, dialogs, station, active, transfer))
        return;

    if (!active) {
        std::string password;
        if (dialogs.askNewPassword(password))
            SetPassword(session, station, PasswordValue(password));
        return;
    }

    std::string oldText;
    std::string newText;
    if (!dialogs.askChangePassword(oldText, newText))
        return;
    if (!SendPasswordOnce(session, station, PasswordValue(oldText), IDS_DISABLE_PASSWORD_ERROR))
        return;
    if (!session.ReadPasswordState(static_cast<uint8_t>(station), active))
        return;
    if (active) {
        // The old password was wrong: the drive keeps its own.
        AfxMessageBox(IDS_DISABLE_PASSWORD_ERROR, MB_OK);
        return;
    }
    SetPassword(session, station, PasswordValue(newText));
}

void RunPasswordRelease(CDriveSession& session, const PasswordDialogs& dialogs)
{
    int station = 0;
    bool active = false;
    std::optional<CDriveTransferScope> transfer;
    if (!ChooseStation(session, dialogs, station, active, transfer))
        return;
    if (!active) {
        AfxMessageBox(IDS_NO_PASSWORD, MB_OK);
        return;
    }
    std::string password;
    if (!dialogs.askPassword(password))
        return;
    if (!SendPasswordOnce(session, station, PasswordValue(password), IDS_SET_PASSWORD_FAILURE))
        return;
    if (!session.ReadPasswordState(static_cast<uint8_t>(station), active))
        return;
    if (active)
        AfxMessageBox(IDS_DISABLE_PASSWORD_ERROR, MB_OK);
}
