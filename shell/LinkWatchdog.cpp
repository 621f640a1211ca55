#include "shell/LinkWatchdog.h"

#include "link/Crc16.h"
#include "link/SerialComm.h"
#include "platform/MessageBox.h"
#include "platform/ResourceModule.h"
#include "shell/LinkSetup.h"
#include "shell/MainFrameState.h"

namespace {

constexpr unsigned IDS_UNLINK = 61455;
constexpr unsigned IDS_STATION_COMM_ERROR = 61572;

constexpr uint16_t kCommandWord = 0x2501;

// Answered: the reply itself is not examined.
bool ProbeStation(CSerialComm* comm, int station)
{
    if (!comm)
        return false;
    uint8_t request[8] = {static_cast<uint8_t>(station), 0x03, kCommandWord >> 8, kCommandWord & 0xFF, 0x00, 0x01};
    AppendCrc16(request, 6);
    uint8_t reply[7] = {};
    return comm->CommandSend(request, sizeof request, reply, sizeof reply) == kErrNone;
}

} // namespace

void CLinkWatchdog::Tick(CMainFrameState& frame)
{
    if (!frame.m_bConnected || m_busy)
        return;
    m_busy = true;

    for (std::size_t index = 0; index < frame.m_Stations.size();) {
        int station = frame.m_Stations[index];
        if (ProbeStation(frame.m_pComm, station)) {
            ++index;
            continue;
        }
        RemoveStationRecord(frame, index);
        if (station == frame.m_nAutoRefreshStation)
            frame.m_bAutoRefresh = 0;
        AfxMessageBox(FormatResString(IDS_STATION_COMM_ERROR, station), MB_OK);
    }

    if (!frame.m_Stations.empty()) {
        std::string stations;
        for (int station : frame.m_Stations)
            stations += (stations.empty() ? "" : ",") + std::to_string(station);
        frame.SetStatusPaneText(kPaneStation, stations);
    } else {
        if (frame.m_pComm)
            frame.m_pComm->Close();
        frame.m_bConnected = 0;
        frame.StopLinkWatchdog();
        frame.SetStatusPaneText(kPaneVersion, "");
        frame.SetStatusPaneText(kPaneStation, "");
        frame.SetStatusPaneText(kPaneLink, LoadResString(IDS_UNLINK));
    }
    m_busy = false;
}
