// The drive session's small synchronous queries: one holding register of one
// station each. They differ only in the register, in whether they pause first
// and in how a failure is reported, so one exchange serves them all.

#include "link/DriveQueries.h"

#include "document/ModelFamily.h"
#include "link/CommTexts.h"
#include "link/Crc16.h"
#include "link/ModbusRequest.h"
#include "platform/MessageBox.h"
#include "res/StringIds.h"

namespace {

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

// Reads the register; 1 and the value, or 0 after the query's report.
int ReadRegister(CSerialComm* comm, uint8_t station, const Query& query, int& value)
{
    uint16_t word = 0;
    const ModbusReply reply = CModbusRequest(comm, query.pause ? RequestPace::Interactive : RequestPace::Direct)
                                  .ReadHolding(station, query.reg, 1, &word);
    if (reply.Ok()) {
        value = word;
        return 1;
    }

    const bool linkFailed = !reply.Answered();
    switch (query.report) {
    case Report::PasswordError:
        AfxMessageBox(IDS_READ_PASSWORD_ERROR, MB_OK);
        break;
    case Report::CommError:
        AfxMessageBox(IDS_COMM_ERROR, MB_OK);
        break;
    case Report::LinkOrCommError:
        AfxMessageBox(linkFailed ? GetErrTypeTextId(reply.result) : IDS_COMM_ERROR, MB_OK);
        break;
    case Report::LinkOrRefusal:
        if (linkFailed)
            AfxMessageBox(GetErrTypeTextId(reply.result), MB_OK);
        else
            AfxMessageBox(GetCommExceptionText(reply.exception), MB_OK);
        break;
    case Report::CommErrorOnLink:
        if (linkFailed)
            AfxMessageBox(IDS_COMM_ERROR, MB_OK);
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
        return capacity + kModelFamilyS;
    if (series == kSeriesSP)
        return capacity + kModelFamilySP;
    return capacity;
}

float VersionFromRegister(int value)
{
    return static_cast<float>(value * 0.001);
}

namespace DriveQuery {

int ReadPasswordState(CSerialComm* comm, uint8_t station, bool& passwordActive)
{
    int value = 0;
    if (!ReadRegister(comm, station, kPassword, value))
        return 0;
    passwordActive = value == 2;
    return 1;
}

int IsDriveRunning(CSerialComm* comm, uint8_t station, bool& running)
{
    int value = 0;
    if (!ReadRegister(comm, station, kRunning, value))
        return 0;
    running = (value & 1) != 0;
    return 1;
}

int ReadParam0002(CSerialComm* comm, uint8_t station, int& value)
{
    return ReadInto(comm, station, kParam0002, value);
}

int ReadParam0003(CSerialComm* comm, uint8_t station, int& value)
{
    return ReadInto(comm, station, kParam0003, value);
}

int ReadParam0005(CSerialComm* comm, uint8_t station, int& value)
{
    return ReadInto(comm, station, kParam0005, value);
}

int ReadParam0006(CSerialComm* comm, uint8_t station, int& value)
{
    return ReadInto(comm, station, kParam0006, value);
}

int ReadParam0D01(CSerialComm* comm, uint8_t station, float& version)
{
    int value = 0;
    if (!ReadRegister(comm, station, kVersion, value))
        return 0;
    version = VersionFromRegister(value);
    return 1;
}

int ReadParam0201(CSerialComm* comm, uint8_t station, int& value)
{
    return ReadInto(comm, station, kParam0201, value);
}

int ReadParam0200(CSerialComm* comm, uint8_t station, int& value)
{
    return ReadInto(comm, station, kParam0200, value);
}

int ReadParam01(CSerialComm* comm, uint8_t station, int item, int& value)
{
    if (item < 4 || item > 9)
        return 0;
    Query query{static_cast<uint16_t>(kGroup01First + item - 4), Report::Silent, false};
    return ReadInto(comm, station, query, value);
}

int ReadCapacityCode(CSerialComm* comm, uint8_t station, int& capacity)
{
    return ReadInto(comm, station, kCapacity, capacity);
}

int ReadSeriesCode(CSerialComm* comm, uint8_t station, int& series)
{
    return ReadInto(comm, station, kSeries, series);
}

int ReadModelCode(CSerialComm* comm, uint8_t station, int& modelCode)
{
    int series = 0;
    int capacity = 0;
    if (!ReadSeriesCode(comm, station, series) || !ReadCapacityCode(comm, station, capacity))
        return 0;
    modelCode = ModelCodeFromSeries(series, capacity);
    return 1;
}

} // namespace DriveQuery
