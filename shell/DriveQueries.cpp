// The main frame's small synchronous queries: one holding register of one
// station each. They differ only in the register, in whether they pause first
// and in how a failure is reported, so one exchange serves them all.

#include "shell/DriveQueries.h"

#include "link/CommTexts.h"
#include "link/Crc16.h"
#include "link/SerialComm.h"
#include "platform/MessageBox.h"
#include "shell/MainFrameState.h"

namespace {

constexpr unsigned kCommErrorId = 61479;
constexpr unsigned kPasswordErrorId = 61520;

enum class Report {
    PasswordError,  // every failure: "Read parameter password error!"
    CommError,      // every failure: "Communication error!"
    LinkOrCommError, // the link's own text; a refusal reads "Communication error!"
    LinkOrRefusal,  // the link's own text; a refusal its exception text
    CommErrorOnLink, // "Communication error!" for a link failure, a refusal silent
    Silent,
};

struct Query {
    uint16_t reg;
    Report report;
    bool pause; // interactive: through SendCommand
};

constexpr Query kPassword{0x0D07, Report::PasswordError, true};
constexpr Query kRunning{0x2520, Report::LinkOrCommError, false};
constexpr Query kParam0002{0x0002, Report::CommError, false};
constexpr Query kParam0003{0x0003, Report::CommError, false};
constexpr Query kParam0005{0x0005, Report::CommError, false};
constexpr Query kParam0006{0x0006, Report::CommError, false};
constexpr Query kVersion{0x0D01, Report::LinkOrRefusal, false};
constexpr Query kParam0201{0x0201, Report::Silent, false};
constexpr Query kParam0200{0x0200, Report::CommErrorOnLink, false};
constexpr Query kCapacity{0x0D00, Report::LinkOrRefusal, false};
constexpr Query kSeries{0x252F, Report::LinkOrRefusal, false};

constexpr uint16_t kGroup01First = 0x0104;

constexpr int kSeriesS = 0x110;
constexpr int kSeriesSP = 0x111;
constexpr int kBaseS = 0x1100000;
constexpr int kBaseSP = 0x1110000;

// Reads the register; 1 and the value, or 0 after the query's report.
int ReadRegister(CSerialComm* comm, uint8_t station, const Query& query, int& value)
{
    uint8_t request[8] = {station, 0x03, static_cast<uint8_t>(query.reg >> 8), static_cast<uint8_t>(query.reg & 0xFF),
                          0x00, 0x01};
    AppendCrc16(request, 6);
    uint8_t reply[7] = {};
    int result = kErrComm; // no link object
    if (comm)
        result = query.pause ? comm->SendCommand(request, sizeof request, reply, sizeof reply)
                             : comm->CommandSend(request, sizeof request, reply, sizeof reply);
    if (result == kErrNone && reply[1] == 0x03) {
        value = reply[3] << 8 | reply[4];
        return 1;
    }

    bool linkFailed = result != kErrNone;
    switch (query.report) {
    case Report::PasswordError:
        AfxMessageBox(kPasswordErrorId, MB_OK);
        break;
    case Report::CommError:
        AfxMessageBox(kCommErrorId, MB_OK);
        break;
    case Report::LinkOrCommError:
        AfxMessageBox(linkFailed ? GetErrTypeTextId(result) : kCommErrorId, MB_OK);
        break;
    case Report::LinkOrRefusal:
        if (linkFailed)
            AfxMessageBox(GetErrTypeTextId(result), MB_OK);
        else
            AfxMessageBox(GetCommExceptionText(reply[2]), MB_OK);
        break;
    case Report::CommErrorOnLink:
        if (linkFailed)
            AfxMessageBox(kCommErrorId, MB_OK);
        break;
    case Report::Silent:
        break;
    }
    return 0;
}

int ReadInto(CSerialComm* comm, uint8_t station, const Query& query, int& out)
{
    int value = 0;
    if (!ReadRegister(comm, station, query, value))
        return 0;
    out = value;
    return 1;
}

} // namespace

int ModelCodeFromSeries(int series, int capacity)
{
    if (series == kSeriesS)
        return capacity + kBaseS;
    if (series == kSeriesSP)
        return capacity + kBaseSP;
    return capacity;
}

float VersionFromRegister(int value)
{
    return static_cast<float>(value * 0.001);
}

int CMainFrameState::ReadPasswordState(uint8_t station, bool& passwordActive)
{
    int value = 0;
    if (!ReadRegister(m_pComm, station, kPassword, value))
        return 0;
    passwordActive = value == 2;
    return 1;
}

int CMainFrameState::IsDriveRunning(uint8_t station, bool& running)
{
    CMainFrameState* frame = GetMainFrameState();
    int value = 0;
    if (!ReadRegister(frame ? frame->m_pComm : nullptr, station, kRunning, value))
        return 0;
    running = (value & 1) != 0;
    return 1;
}

int CMainFrameState::ReadParam0002(uint8_t station)
{
    return ReadInto(m_pComm, station, kParam0002, m_nParam0002);
}

int CMainFrameState::ReadParam0002To(uint8_t station, int& value)
{
    return ReadInto(m_pComm, station, kParam0002, value);
}

int CMainFrameState::ReadParam0003(uint8_t station, int& value)
{
    return ReadInto(m_pComm, station, kParam0003, value);
}

int CMainFrameState::ReadParam0005(uint8_t station, int& value)
{
    return ReadInto(m_pComm, station, kParam0005, value);
}

int CMainFrameState::ReadParam0006(uint8_t station, int& value)
{
    return ReadInto(m_pComm, station, kParam0006, value);
}

int CMainFrameState::ReadParam0D01(uint8_t station, float& version)
{
    int value = 0;
    if (!ReadRegister(m_pComm, station, kVersion, value))
        return 0;
    version = VersionFromRegister(value);
    return 1;
}

int CMainFrameState::ReadParam0201(uint8_t station, int& value)
{
    return ReadInto(m_pComm, station, kParam0201, value);
}

int CMainFrameState::ReadParam0200(uint8_t station, int& value)
{
    return ReadInto(m_pComm, station, kParam0200, value);
}

namespace {

int ReadGroup01(CSerialComm* comm, uint8_t station, int item, int& value)
{
    Query query{static_cast<uint16_t>(kGroup01First + item - 4), Report::Silent, false};
    return ReadInto(comm, station, query, value);
}

} // namespace

int CMainFrameState::ReadParam0104(uint8_t station, int& value) { return ReadGroup01(m_pComm, station, 4, value); }
int CMainFrameState::ReadParam0105(uint8_t station, int& value) { return ReadGroup01(m_pComm, station, 5, value); }
int CMainFrameState::ReadParam0106(uint8_t station, int& value) { return ReadGroup01(m_pComm, station, 6, value); }
int CMainFrameState::ReadParam0107(uint8_t station, int& value) { return ReadGroup01(m_pComm, station, 7, value); }
int CMainFrameState::ReadParam0108(uint8_t station, int& value) { return ReadGroup01(m_pComm, station, 8, value); }
int CMainFrameState::ReadParam0109(uint8_t station, int& value) { return ReadGroup01(m_pComm, station, 9, value); }

int CMainFrameState::ReadCapacityCode(uint8_t station, int& capacity)
{
    return ReadInto(m_pComm, station, kCapacity, capacity);
}

int CMainFrameState::ReadSeriesCode(uint8_t station, int& series)
{
    return ReadInto(m_pComm, station, kSeries, series);
}

int CMainFrameState::ReadModelCode(uint8_t station, int& modelCode)
{
    int series = 0;
    int capacity = 0;
    if (!ReadSeriesCode(station, series) || !ReadCapacityCode(station, capacity))
        return 0;
    modelCode = ModelCodeFromSeries(series, capacity);
    return 1;
}
