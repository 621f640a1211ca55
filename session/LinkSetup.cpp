#include "session/LinkSetup.h"

#include "document/ModelTables.h"
#include "link/DriveQueries.h"
#include "link/ModbusRequest.h"
#include "link/Serial.h"
#include "platform/BackgroundJob.h"
#include "platform/MessageBox.h"
#include "platform/ResourceModule.h"
#include "res/StringIds.h"
#include "session/DriveSession.h"
#include "session/NetModuleSettings.h"
#include "session/StationList.h"

#include <cstdio>

namespace {

constexpr const char* kNoModuleText = "no qw47!";

constexpr int kSeriesPlain = 0x100;
constexpr int kSeriesS = 0x110;
constexpr int kSeriesSP = 0x111;

std::string VersionText(int thousandths)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", thousandths * 0.001);
    return text;
}

void DeleteLinkObject(CDriveSession& session)
{
    // A live window closed in the middle of an exchange left its worker on
    // this object (the watchdog only closes the link, so the object may
    // outlive a connection and go at a later connect that fails).
    CBackgroundJob::JoinReleasedJobs();
    delete session.m_pComm;
    session.m_pComm = nullptr;
}

void CloseLink(CDriveSession& session)
{
    if (session.m_pComm)
        session.m_pComm->Close();
}

// Opens the link object on the port; "Can't Open the Port!" and no object on failure.
bool OpenLink(CDriveSession& session, const std::string& port, unsigned long baud, int dataBits, int parity,
              int stopBits)
{
    CSerialComm* comm = EnsureLinkObject(session);
    if (comm->InitComm(port, baud, static_cast<uint8_t>(dataBits), static_cast<uint8_t>(parity),
                       static_cast<float>(stopBits))) {
        // A real port that ignores a setting talks to the drives in another
        // format than the user chose: say so. A pseudo-terminal (the simulated
        // drive) has no line format at all.
        const std::string refused = comm->GetSettingsReport();
        if (!refused.empty() && !IsPseudoTerminalPath(port))
            AfxMessageBox(FormatResString(IDS_PORT_SETTINGS_REFUSED, refused.c_str()), MB_OK | MB_ICONWARNING);
        return true;
    }
    // The link says why ("Permission denied", "baud rate 300 not supported"):
    // without it the user cannot tell a busy port from a missing one.
    std::string text = LoadResString(IDS_CANT_OPEN_PORT);
    const std::string reason = comm->GetSettingsReport();
    if (!reason.empty())
        text += "\n" + reason;
    AfxMessageBox(text, MB_OK);
    DeleteLinkObject(session);
    return false;
}

std::string FailedStationsText(const std::vector<int>& failed)
{
    std::string text = LoadResString(IDS_STATION_CONNECT_FAILURE);
    for (std::size_t i = 0; i < failed.size(); ++i)
        text += std::to_string(failed[i]) + (i + 1 < failed.size() ? "," : "!");
    return text;
}

} // namespace

void ClearStationRecords(CDriveSession& session)
{
    session.m_Stations.clear();
    session.m_StationModels.clear();
    session.m_StationVersions.clear();
}

void AppendStationRecord(CDriveSession& session, const StationRecord& record)
{
    session.m_Stations.push_back(record.station);
    session.m_StationModels.push_back(record.modelCode);
    session.m_StationVersions.push_back(record.version);
}

void RemoveStationRecord(CDriveSession& session, std::size_t index)
{
    auto erase = [index](std::vector<int>& list) {
        if (index < list.size())
            list.erase(list.begin() + static_cast<std::ptrdiff_t>(index));
    };
    erase(session.m_Stations);
    erase(session.m_StationModels);
    erase(session.m_StationVersions);
}

namespace {

constexpr uint16_t kModelAndVersionRegister = 0x0D00;

} // namespace

int ReadModelAndVersion(CDriveSession& session, int station, int series, StationRecord& record)
{
    // 13-00 (capacity) and 13-01 (version), asked as the Connect dialog's
    // click: with the interactive pause.
    uint16_t words[2] = {};
    const ModbusReply reply = CModbusRequest(session.m_pComm, RequestPace::Interactive)
                                  .ReadHolding(static_cast<uint8_t>(station), kModelAndVersionRegister, 2, words);
    if (!reply.Ok())
        return reply.result == kErrNone ? kErrComm : reply.result;
    record.station = station;
    record.modelCode = ModelCodeFromSeries(series, words[0]);
    record.version = words[1];
    return kErrNone;
}

CSerialComm* EnsureLinkObject(CDriveSession& session)
{
    if (!session.m_pComm)
        session.m_pComm = new CSerialComm;
    return session.m_pComm;
}

bool SeriesFitsProject(int projectModelCode, int series)
{
    if (projectModelCode > kModelFamilySP)
        return series == kSeriesSP;
    if (projectModelCode > kModelFamilyS && projectModelCode < kModelFamilySP)
        return series == kSeriesS;
    if (projectModelCode < kModelFamilyS)
        return series == kSeriesPlain;
    return true;
}

bool ConnectStations(CDriveSession& session, const ConnectRequest& request, int projectModelCode)
{
    EnsureLinkObject(session);
    ClearStationRecords(session);

    if (request.stationText.empty()) {
        AfxMessageBox(IDS_STATION_EMPTY, MB_OK);
        return false;
    }
    std::vector<int> stations;
    if (!ParseStationList(stations, request.stationText))
        return false;

    g_nBaudIndex = request.baudIndex;
    g_nDataBitsIndex = request.dataBitsIndex;
    g_nParityIndex = request.parityIndex;
    g_nStopBitsIndex = request.stopBitsIndex;
    g_strStationText = request.stationText;

    bool netMode = request.port == kNetPortName;
    if (netMode) {
        if (request.module) {
            session.m_pComm->m_netAddr = request.module->m_addr;
            session.m_pComm->GetStrMac(request.module->m_strMac);
        } else {
            AfxMessageBox(kNoModuleText, MB_OK);
        }
    }
    g_strCommPort = request.port;

    if (!OpenLink(session, request.port, BaudOfIndex(request.baudIndex), DataBitsOfIndex(request.dataBitsIndex),
                  ParityCodeOfIndex(request.parityIndex), StopBitsOfIndex(request.stopBitsIndex)))
        return false;

    std::vector<StationRecord> answered;
    std::vector<int> failed;
    for (int station : stations) {
        int series = 0;
        if (!session.ReadParam0002(static_cast<uint8_t>(station)) ||
            !session.ReadSeriesCode(static_cast<uint8_t>(station), series)) {
            CloseLink(session);
            return false;
        }
        StationRecord record;
        if (ReadModelAndVersion(session, station, series, record) == kErrNone)
            answered.push_back(record);
        else
            failed.push_back(station);
    }

    int series = 0;
    if (!session.ReadSeriesCode(static_cast<uint8_t>(stations.front()), series)) {
        CloseLink(session);
        return false;
    }

    if (!answered.empty()) {
        int driveModel = answered.front().modelCode;
        if (driveModel != projectModelCode) {
            if (!SeriesFitsProject(projectModelCode, series)) {
                AfxMessageBox(IDS_SERIES_MISMATCH, MB_OK | MB_ICONINFORMATION);
                CloseLink(session);
                return false;
            }
            if (AfxMessageBox(IDS_MODEL_MAY_NOT_MATCH, MB_YESNO | MB_ICONINFORMATION) != IDYES) {
                CloseLink(session);
                return false;
            }
        }
    }

    if (!failed.empty()) {
        AfxMessageBox(FailedStationsText(failed), MB_OK);
        CloseLink(session);
        DeleteLinkObject(session);
        return false;
    }

    // Every station answered.
    for (const StationRecord& record : answered)
        AppendStationRecord(session, record);
    std::string capacity;
    session.m_nModelCode2 = answered.front().modelCode;
    session.m_strModelName2 = LookupModelByCode(static_cast<uint32_t>(session.m_nModelCode2), capacity);
    session.Windows().SetStatusPaneText(kPaneModel, session.m_strModelName2);
    session.m_bConnected = 1;
    // Set either way: a network link the watchdog closed leaves the flag behind.
    session.m_bNetLink = netMode ? 1 : 0;
    return true;
}

void FinishConnect(CDriveSession& session, const ConnectRequest& request, CNetModuleSettings& modules)
{
    session.Windows().StartLinkWatchdog();
    AfxMessageBox(IDS_LINK_SUCCESSFUL, MB_OK);
    modules.Save(request.port);
    SaveCommSettings();
    session.Windows().SetStatusPaneText(kPaneVersion, session.m_StationVersions.empty() ? "" : VersionText(session.m_StationVersions.front()));
    session.m_strStations = request.stationText;
    session.Windows().SetStatusPaneText(kPaneStation, session.m_strStations);
    session.Windows().SetStatusPaneText(kPaneLink, LoadResString(IDS_ONLINE));
}

void DisconnectLink(CDriveSession& session)
{
    // The background reader uses the same link object: it must be finished
    // before the object goes.
    session.Windows().StopBackgroundTransfers();
    if (session.m_pComm) {
        session.m_pComm->Close();
        DeleteLinkObject(session);
        session.m_bConnected = 0;
        session.m_bNetLink = 0;
    }
    ClearStationRecords(session);
    session.Windows().SetStatusPaneText(kPaneVersion, "");
    session.Windows().SetStatusPaneText(kPaneStation, "");
    session.Windows().SetStatusPaneText(kPaneLink, LoadResString(IDS_UNLINK));
}

bool ConnectAndDetectModel(CDriveSession& session, int station, StationRecord& record)
{
    int series = 0;
    if (!session.ReadParam0002(static_cast<uint8_t>(station)) || !session.ReadSeriesCode(static_cast<uint8_t>(station), series))
        return false;
    if (ReadModelAndVersion(session, station, series, record) != kErrNone) {
        AfxMessageBox(IDS_COMM_ERROR, MB_OK);
        return false;
    }
    return true;
}

bool RunHandOverConnect(CDriveSession& session, const HandOverConnect& job)
{
    ClearStationRecords(session);
    SaveCommSettings();

    // The station as the Connect dialog would take it: a number taken from its
    // leading digits would address station 1 for "257" and the broadcast
    // address for "x".
    std::vector<int> stations;
    if (job.stationText.empty())
        AfxMessageBox(IDS_STATION_EMPTY, MB_OK);
    if (job.stationText.empty() || !ParseStationList(stations, job.stationText)) {
        RollBackHandOverConnect(session);
        return false;
    }
    const int station = stations.front();

    if (!OpenLink(session, job.port, job.baud, job.dataBits, job.parity, job.stopBits)) {
        RollBackHandOverConnect(session);
        return false;
    }
    StationRecord record;
    if (!ConnectAndDetectModel(session, station, record)) {
        RollBackHandOverConnect(session);
        return false;
    }
    AppendStationRecord(session, record);
    return true;
}

void FinishHandOverConnect(CDriveSession& session, const HandOverConnect& job)
{
    session.m_bConnected = 1;
    std::string capacity;
    session.m_nModelCode2 = session.m_StationModels.empty() ? session.m_nModelCode2 : session.m_StationModels.front();
    session.m_strModelName2 = LookupModelByCode(static_cast<uint32_t>(session.m_nModelCode2), capacity);
    session.Windows().SetStatusPaneText(kPaneVersion, session.m_StationVersions.empty() ? "" : VersionText(session.m_StationVersions.front()));
    session.m_strStations = session.m_Stations.empty() ? job.stationText : std::to_string(session.m_Stations.front());
    session.Windows().SetStatusPaneText(kPaneStation, session.m_strStations);
    session.Windows().SetStatusPaneText(kPaneModel, session.m_strModelName2);
    session.Windows().SetStatusPaneText(kPaneLink, LoadResString(IDS_ONLINE));
}

void RollBackHandOverConnect(CDriveSession& session)
{
    CloseLink(session);
    ClearStationRecords(session);
    session.m_bConnected = 0;
}
