#pragma once
// Opening and closing the link to the drives, without windows: the Connect
// dialog's Connect and Disconnect, and the connect-at-once job of the
// hand-over file. Everything reads and writes the session's state.
//
// The session's three station lists (m_Stations, m_StationModels,
// m_StationVersions) always hold one entry per connected station each, in the
// same order; they are empty whenever the session is not connected.

#include "link/SerialComm.h"
#include "session/CommSettings.h"

#include <string>
#include <vector>

class CDriveSession;
class CNetModuleSettings;

// --- Station records ---------------------------------------------------------

struct StationRecord {
    int station = 0;
    int modelCode = 0;
    int version = 0; // register 13-01: thousandths
};

void ClearStationRecords(CDriveSession& session);
void AppendStationRecord(CDriveSession& session, const StationRecord& record);
void RemoveStationRecord(CDriveSession& session, std::size_t index);

// --- Probing one station -------------------------------------------------------

// Reads 13-00 and 13-01 of station in one request (through the pause of
// interactive requests) and derives the model code with the series. The
// transaction's result; 3 as well when the drive refused.
int ReadModelAndVersion(CDriveSession& session, int station, int series, StationRecord& record);

// --- Connect -----------------------------------------------------------------

struct ConnectRequest {
    std::string stationText;
    std::string port; // a device path, or kNetPortName
    int baudIndex = 2;
    int dataBitsIndex = 1;
    int parityIndex = 2;
    int stopBitsIndex = 1;
    // In network mode (port kNetPortName): the adapter chosen in the list, or
    // nullptr when the search found none.
    const NetDeviceInfo* module = nullptr;
};

// Creates the link object when the session has none.
CSerialComm* EnsureLinkObject(CDriveSession& session);

// Connect up to the point where the session is connected: parses the stations,
// stores the settings of the request as the last link settings, opens the
// link, probes every station, checks the drives against the project's model
// (projectModelCode: the open project's, 1205 without one) and fills the station lists. Shows every failure itself and returns false;
// the session is then not connected and its station lists are empty (the link
// object closed, or deleted when the port did not open or stations failed).
// On true the session is connected (m_bConnected, m_bNetLink, the connected
// drive's model in m_nModelCode2 and m_strModelName2, pane 3).
bool ConnectStations(CDriveSession& session, const ConnectRequest& request, int projectModelCode);

// The rest of a successful connect: the watchdog starts, "Link successful!",
// both settings files are written, and the status bar shows the first
// station's version, the station text and "Online".
void FinishConnect(CDriveSession& session, const ConnectRequest& request, CNetModuleSettings& modules);

// Disconnect: waits for the background reader, closes and deletes the link
// object, the session is not connected, its station lists are emptied, panes 1
// and 2 are cleared and pane 4 shows "Unlink".
void DisconnectLink(CDriveSession& session);

// The drive family check of Connect and Write: a project model above the S-P
// base needs series 0x111, one between the bases 0x110, one below the S base
// 0x100; a model exactly at a base accepts any series.
bool SeriesFitsProject(int projectModelCode, int series);

// --- Hand-over job "2" -------------------------------------------------------

// Model and version of the station at start-up: 00-02, the series, 13-00 and
// 13-01, into record. False after a message.
bool ConnectAndDetectModel(CDriveSession& session, int station, StationRecord& record);

// The job up to the new project: stores the link settings, opens the link and
// reads the drive's model into the station lists (the new project takes that
// model and the job's base frequency). On failure the station lists are
// emptied and the link is closed (or deleted when it did not open); false.
bool RunHandOverConnect(CDriveSession& session, const HandOverConnect& job);
// Once the new project is open: connected, the status bar filled.
void FinishHandOverConnect(CDriveSession& session, const HandOverConnect& job);
// When the new project could not be opened: as a failed job.
void RollBackHandOverConnect(CDriveSession& session);
