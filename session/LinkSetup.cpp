#include "session/LinkSetup.h"

#include "document/ModelTables.h"
#include "link/Crc16.h"
#include "link/DriveQueries.h"
#include "link/Serial.h"
#include "platform/MessageBox.h"
#include "platform/ResourceModule.h"
#include "res/StringIds.h"
#include "session/MainFrameState.h"
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

void DeleteLinkObject(CMainFrameState& frame)
{
    delete frame.m_pComm;
    frame.m_pComm = nullptr;
}

void CloseLink(CMainFrameState& frame)
{
    if (frame.m_pComm)
        frame.m_pComm->Close();
}

// Opens the link object on the port; "Can't Open the Port!" and no object on failure.
bool OpenLink(CMainFrameState& frame, const std::string& port, unsigned long baud, int dataBits, int parity,
              int stopBits)
{
    CSerialComm* comm = EnsureLinkObject(frame);
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
    DeleteLinkObject(frame);
    return false;
}

std::string FailedStationsText(const std::vector<int>& failed)
{
    std::string text = LoadResString(IDS_STATION_CONNECT_FAILURE);
    for (std::size_t i = 0; i < failed.size(); ++i)
        text += std::to_string(failed[i]) + (i + 1 < failed.size() ? "," : "!");
    return text;
}

// What the hand-over job changed in the frame, to be put back when it fails.
struct HandOverBackup {
    bool saved = false;
    int modelCode = 0;
    std::string modelName;
    int freqIndex = 0;
};
HandOverBackup g_handOverBackup;

} // namespace

void ClearStationRecords(CMainFrameState& frame)
{
    frame.m_Stations.clear();
    frame.m_StationModels.clear();
    frame.m_StationVersions.clear();
}

void AppendStationRecord(CMainFrameState& frame, const StationRecord& record)
{
    frame.m_Stations.push_back(record.station);
    frame.m_StationModels.push_back(record.modelCode);
    frame.m_StationVersions.push_back(record.version);
}

void RemoveStationRecord(CMainFrameState& frame, std::size_t index)
{
    auto erase = [index](std::vector<int>& list) {
        if (index < list.size())
            list.erase(list.begin() + static_cast<std::ptrdiff_t>(index));
    };
    erase(frame.m_Stations);
    erase(frame.m_StationModels);
    erase(frame.m_StationVersions);
}

int ReadModelAndVersion(CMainFrameState& frame, int station, int series, StationRecord& record)
{
    if (!frame.m_pComm)
        return kErrComm;
    uint8_t request[8] = {static_cast<uint8_t>(station), 0x03, 0x0D, 0x00, 0x00, 0x02};
    AppendCrc16(request, 6);
    uint8_t reply[9] = {};
    int result = frame.m_pComm->SendCommand(request, sizeof request, reply, sizeof reply);
    if (result != kErrNone)
        return result;
    if (reply[1] != 0x03)
        return kErrComm;
    record.station = station;
    record.modelCode = ModelCodeFromSeries(series, reply[3] << 8 | reply[4]);
    record.version = reply[5] << 8 | reply[6];
    return kErrNone;
}

CSerialComm* EnsureLinkObject(CMainFrameState& frame)
{
    if (!frame.m_pComm)
        frame.m_pComm = new CSerialComm;
    return frame.m_pComm;
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

bool ConnectStations(CMainFrameState& frame, const ConnectRequest& request)
{
    EnsureLinkObject(frame);
    ClearStationRecords(frame);

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
            frame.m_pComm->m_netAddr = request.module->m_addr;
            frame.m_pComm->GetStrMac(request.module->m_strMac);
        } else {
            AfxMessageBox(kNoModuleText, MB_OK);
        }
    }
    g_strCommPort = request.port;

    if (!OpenLink(frame, request.port, BaudOfIndex(request.baudIndex), DataBitsOfIndex(request.dataBitsIndex),
                  ParityCodeOfIndex(request.parityIndex), StopBitsOfIndex(request.stopBitsIndex)))
        return false;

    std::vector<StationRecord> answered;
    std::vector<int> failed;
    for (int station : stations) {
        int series = 0;
        if (!frame.ReadParam0002(static_cast<uint8_t>(station)) ||
            !frame.ReadSeriesCode(static_cast<uint8_t>(station), series)) {
            CloseLink(frame);
            return false;
        }
        StationRecord record;
        if (ReadModelAndVersion(frame, station, series, record) == kErrNone)
            answered.push_back(record);
        else
            failed.push_back(station);
    }

    int series = 0;
    if (!frame.ReadSeriesCode(static_cast<uint8_t>(stations.front()), series)) {
        CloseLink(frame);
        return false;
    }

    if (!answered.empty()) {
        int driveModel = answered.front().modelCode;
        if (driveModel != frame.m_nModelCode) {
            if (!SeriesFitsProject(frame.m_nModelCode, series)) {
                AfxMessageBox(IDS_SERIES_MISMATCH, MB_OK | MB_ICONINFORMATION);
                CloseLink(frame);
                return false;
            }
            if (AfxMessageBox(IDS_MODEL_MAY_NOT_MATCH, MB_YESNO | MB_ICONINFORMATION) != IDYES) {
                CloseLink(frame);
                return false;
            }
        }
    }

    if (!failed.empty()) {
        AfxMessageBox(FailedStationsText(failed), MB_OK);
        CloseLink(frame);
        DeleteLinkObject(frame);
        return false;
    }

    // Every station answered.
    for (const StationRecord& record : answered)
        AppendStationRecord(frame, record);
    std::string capacity;
    frame.m_nModelCode2 = answered.front().modelCode;
    frame.m_strModelName2 = LookupModelByCode(static_cast<uint32_t>(frame.m_nModelCode2), capacity);
    frame.SetStatusPaneText(kPaneModel, frame.m_strModelName2);
    frame.m_bConnected = 1;
    // Set either way: a network link the watchdog closed leaves the flag behind.
    frame.m_bNetLink = netMode ? 1 : 0;
    return true;
}

void FinishConnect(CMainFrameState& frame, const ConnectRequest& request, CNetModuleSettings& modules)
{
    frame.StartLinkWatchdog();
    AfxMessageBox(IDS_LINK_SUCCESSFUL, MB_OK);
    modules.Save(request.port);
    SaveCommSettings();
    frame.SetStatusPaneText(kPaneVersion, frame.m_StationVersions.empty() ? "" : VersionText(frame.m_StationVersions.front()));
    frame.m_strStations = request.stationText;
    frame.SetStatusPaneText(kPaneStation, frame.m_strStations);
    frame.SetStatusPaneText(kPaneLink, LoadResString(IDS_ONLINE));
}

void DisconnectLink(CMainFrameState& frame)
{
    // The background reader uses the same link object: it must be finished
    // before the object goes.
    frame.StopBackgroundTransfers();
    if (frame.m_pComm) {
        frame.m_pComm->Close();
        DeleteLinkObject(frame);
        frame.m_bConnected = 0;
        frame.m_bNetLink = 0;
    }
    ClearStationRecords(frame);
    frame.SetStatusPaneText(kPaneVersion, "");
    frame.SetStatusPaneText(kPaneStation, "");
    frame.SetStatusPaneText(kPaneLink, LoadResString(IDS_UNLINK));
}

bool ConnectAndDetectModel(CMainFrameState& frame, int station, StationRecord& record)
{
    int series = 0;
    if (!frame.ReadParam0002(static_cast<uint8_t>(station)) || !frame.ReadSeriesCode(static_cast<uint8_t>(station), series))
        return false;
    if (ReadModelAndVersion(frame, station, series, record) != kErrNone) {
        AfxMessageBox(IDS_COMM_ERROR, MB_OK);
        return false;
    }
    std::string capacity;
    frame.m_nModelCode = record.modelCode;
    frame.m_strModelName = LookupModelByCode(static_cast<uint32_t>(record.modelCode), capacity);
    return true;
}

bool RunHandOverConnect(CMainFrameState& frame, const HandOverConnect& job)
{
    g_handOverBackup = {true, frame.m_nModelCode, frame.m_strModelName, frame.m_nFreqIndex};
    frame.m_nFreqIndex = job.freqIndex;
    ClearStationRecords(frame);
    SaveCommSettings();

    // The station as the Connect dialog would take it: a number taken from its
    // leading digits would address station 1 for "257" and the broadcast
    // address for "x".
    std::vector<int> stations;
    if (job.stationText.empty())
        AfxMessageBox(IDS_STATION_EMPTY, MB_OK);
    if (job.stationText.empty() || !ParseStationList(stations, job.stationText)) {
        RollBackHandOverConnect(frame);
        return false;
    }
    const int station = stations.front();

    if (!OpenLink(frame, job.port, job.baud, job.dataBits, job.parity, job.stopBits)) {
        RollBackHandOverConnect(frame);
        return false;
    }
    StationRecord record;
    if (!ConnectAndDetectModel(frame, station, record)) {
        RollBackHandOverConnect(frame);
        return false;
    }
    AppendStationRecord(frame, record);
    return true;
}

void FinishHandOverConnect(CMainFrameState& frame, const HandOverConnect& job)
{
    g_handOverBackup.saved = false;
    frame.m_bConnected = 1;
    frame.m_nModelCode2 = frame.m_nModelCode;
    frame.m_strModelName2 = frame.m_strModelName;
    frame.SetStatusPaneText(kPaneVersion, frame.m_StationVersions.empty() ? "" : VersionText(frame.m_StationVersions.front()));
    frame.m_strStations = frame.m_Stations.empty() ? job.stationText : std::to_string(frame.m_Stations.front());
    frame.SetStatusPaneText(kPaneStation, frame.m_strStations);
    frame.SetStatusPaneText(kPaneModel, frame.m_strModelName);
    frame.SetStatusPaneText(kPaneLink, LoadResString(IDS_ONLINE));
}

void RollBackHandOverConnect(CMainFrameState& frame)
{
    CloseLink(frame);
    ClearStationRecords(frame);
    frame.m_bConnected = 0;
    if (g_handOverBackup.saved) {
        frame.m_nModelCode = g_handOverBackup.modelCode;
        frame.m_strModelName = g_handOverBackup.modelName;
        frame.m_nFreqIndex = g_handOverBackup.freqIndex;
        g_handOverBackup.saved = false;
    }
}
