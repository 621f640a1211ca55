#pragma once
// Opening and closing the link to the drives, without windows: the Connect
// dialog's Connect and Disconnect, and the connect-at-once job of the
// hand-over file. Everything reads and writes the main frame's state.
//
// The frame's three station lists (m_Stations, m_StationModels,
// m_StationVersions) always hold one entry per connected station each, in the
// same order; they are empty whenever the frame is not connected.

#include "link/SerialComm.h"
#include "session/CommSettings.h"

#include <string>
#include <vector>

class CMainFrameState;
class CNetModuleSettings;

// --- Station records ---------------------------------------------------------

struct StationRecord {
    int station = 0;
    int modelCode = 0;
    int version = 0; // register 13-01: thousandths
};

void ClearStationRecords(CMainFrameState& frame);
void AppendStationRecord(CMainFrameState& frame, const StationRecord& record);
void RemoveStationRecord(CMainFrameState& frame, std::size_t index);

// --- Probing one station -------------------------------------------------------

// Reads 13-00 and 13-01 of station in one request (through the pause of
// interactive requests) and derives the model code with the series. The
// transaction's result; 3 as well when the drive refused.
int ReadModelAndVersion(CMainFrameState& frame, int station, int series, StationRecord& record);

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

// Creates the link object when the frame has none.
CSerialComm* EnsureLinkObject(CMainFrameState& frame);

// Connect up to the point where the frame is connected: parses the stations,
// stores the settings of the request as the last link settings, opens the
// link, probes every station, checks the drives against the project's model
// and fills the station lists. Shows every failure itself and returns false;
// the frame is then not connected and its station lists are empty (the link
// object closed, or deleted when the port did not open or stations failed).
// On true the frame is connected (m_bConnected, m_bNetLink, the connected
// drive's model in m_nModelCode2 and m_strModelName2, pane 3).
bool ConnectStations(CMainFrameState& frame, const ConnectRequest& request);

// The rest of a successful connect: the watchdog starts, "Link successful!",
// both settings files are written, and the status bar shows the first
// station's version, the station text and "Online".
void FinishConnect(CMainFrameState& frame, const ConnectRequest& request, CNetModuleSettings& modules);

// Disconnect: waits for the background reader, closes and deletes the link
// object, the frame is not connected, its station lists are emptied, panes 1
// and 2 are cleared and pane 4 shows "Unlink".
void DisconnectLink(CMainFrameState& frame);

// The drive family check of Connect and Write: a project model above the S-P
// base needs series 0x111, one between the bases 0x110, one below the S base
// 0x100; a model exactly at a base accepts any series.
bool SeriesFitsProject(int projectModelCode, int series);

// --- Hand-over job "2" -------------------------------------------------------

// Model and version of the station at start-up: 00-02, the series, 13-00 and
// 13-01; the frame's project model (m_nModelCode, m_strModelName) becomes the
// drive's. False after a message.
bool ConnectAndDetectModel(CMainFrameState& frame, int station, StationRecord& record);

// The job up to the new project: stores the link settings, opens the link and
// reads the drive's model. On failure everything it changed in the frame is
// put back (station lists, model, frequency set) and the link is closed (or
// deleted when it did not open); false.
bool RunHandOverConnect(CMainFrameState& frame, const HandOverConnect& job);
// Once the new project is open: connected, the status bar filled.
void FinishHandOverConnect(CMainFrameState& frame, const HandOverConnect& job);
// When the new project could not be opened: as a failed job.
void RollBackHandOverConnect(CMainFrameState& frame);
