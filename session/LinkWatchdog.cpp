#include "session/LinkWatchdog.h"

#include "link/Crc16.h"
#include "link/SerialComm.h"
#include "platform/MessageBox.h"
#include "platform/ResourceModule.h"
#include "res/StringIds.h"
#include "session/DriveWork.h"
#include "session/LinkSetup.h"
#include "session/MainFrameState.h"

#include <algorithm>

namespace {

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

CLinkWatchdog::~CLinkWatchdog()
{
    StopPass();
}

bool CLinkWatchdog::CanTick(const CMainFrameState& frame) const
{
    return frame.m_bConnected && !m_busy && !m_pPass && !IsDriveTransferActive();
}

std::unique_ptr<CLinkWatchdog::Pass> CLinkWatchdog::NewPass(const CMainFrameState& frame)
{
    auto pass = std::make_unique<Pass>();
    pass->comm = frame.m_pComm;
    pass->stations = frame.m_Stations;
    return pass;
}

void CLinkWatchdog::Probe(Pass& pass)
{
    for (int station : pass.stations) {
        if (pass.stop.load())
            return;
        if (!ProbeStation(pass.comm, station))
            pass.silent.push_back(station);
    }
}

void CLinkWatchdog::Tick(CMainFrameState& frame)
{
    if (!CanTick(frame))
        return;
    std::unique_ptr<Pass> pass = NewPass(frame);
    Probe(*pass);
    TakeVerdict(frame, *pass);
}

void CLinkWatchdog::BeginPass(CMainFrameState& frame, std::function<void()> postDone)
{
    if (!CanTick(frame))
        return;
    m_pPass = NewPass(frame);
    Pass* pass = m_pPass.get();
    m_job.Start([pass] { Probe(*pass); }, std::move(postDone));
}

bool CLinkWatchdog::IsPassRunning() const
{
    return m_pPass && m_job.IsRunning();
}

void CLinkWatchdog::OnPassDone(CMainFrameState& frame)
{
    if (!m_pPass || m_job.IsRunning())
        return;
    m_job.Join();
    std::unique_ptr<Pass> pass = std::move(m_pPass);
    // A link closed or replaced meanwhile has its own state.
    if (pass->stop.load() || !frame.m_bConnected || frame.m_pComm != pass->comm)
        return;
    TakeVerdict(frame, *pass);
}

void CLinkWatchdog::StopPass()
{
    if (m_pPass)
        m_pPass->stop = true;
    m_job.Join();
    m_pPass.reset();
}

void CLinkWatchdog::TakeVerdict(CMainFrameState& frame, const Pass& pass)
{
    m_busy = true;
    for (int station : pass.silent) {
        const auto found = std::find(frame.m_Stations.begin(), frame.m_Stations.end(), station);
        if (found == frame.m_Stations.end())
            continue;
        RemoveStationRecord(frame, static_cast<std::size_t>(found - frame.m_Stations.begin()));
        if (station == frame.m_nAutoRefreshStation)
            frame.m_bAutoRefresh = 0;
        AfxMessageBox(FormatResString(IDS_STATION_COMM_ERROR, station), MB_OK);
    }

    if (!frame.m_Stations.empty()) {
        std::string stations;
        for (int station : frame.m_Stations)
            stations += (stations.empty() ? "" : ",") + std::to_string(station);
        frame.SetStatusPaneText(kPaneStation, stations);
    } else if (frame.m_bConnected) {
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
