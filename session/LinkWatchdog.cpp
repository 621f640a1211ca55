#include "session/LinkWatchdog.h"

#include "link/ModbusRequest.h"
#include "link/SerialComm.h"
#include "platform/MessageBox.h"
#include "platform/ResourceModule.h"
#include "res/StringIds.h"
#include "session/DriveWork.h"
#include "session/LinkSetup.h"
#include "session/DriveSession.h"

#include <algorithm>

namespace {

constexpr uint16_t kCommandWord = 0x2501;

// Answered: any reply of the station counts; what it says is not examined.
bool ProbeStation(CSerialComm* comm, int station)
{
    uint16_t word = 0;
    return CModbusRequest(comm).ReadHolding(static_cast<uint8_t>(station), kCommandWord, 1, &word).replied;
}

} // namespace

CLinkWatchdog::~CLinkWatchdog()
{
    StopPass();
}

bool CLinkWatchdog::CanTick(const CDriveSession& session) const
{
    return session.m_bConnected && !m_busy && !m_pPass && !IsDriveTransferActive();
}

std::unique_ptr<CLinkWatchdog::Pass> CLinkWatchdog::NewPass(const CDriveSession& session)
{
    auto pass = std::make_unique<Pass>();
    pass->comm = session.m_pComm;
    pass->stations = session.m_Stations;
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

void CLinkWatchdog::Tick(CDriveSession& session)
{
    if (!CanTick(session))
        return;
    std::unique_ptr<Pass> pass = NewPass(session);
    Probe(*pass);
    TakeVerdict(session, *pass);
}

void CLinkWatchdog::BeginPass(CDriveSession& session, std::function<void()> postDone)
{
    if (!CanTick(session))
        return;
    m_pPass = NewPass(session);
    Pass* pass = m_pPass.get();
    m_job.Start([pass] { Probe(*pass); }, std::move(postDone));
}

bool CLinkWatchdog::IsPassRunning() const
{
    return m_pPass && m_job.IsRunning();
}

void CLinkWatchdog::OnPassDone(CDriveSession& session)
{
    if (!m_pPass || m_job.IsRunning())
        return;
    m_job.Join();
    std::unique_ptr<Pass> pass = std::move(m_pPass);
    // A link closed or replaced meanwhile has its own state.
    if (pass->stop.load() || !session.m_bConnected || session.m_pComm != pass->comm)
        return;
    TakeVerdict(session, *pass);
}

void CLinkWatchdog::StopPass()
{
    if (m_pPass)
        m_pPass->stop = true;
    m_job.Join();
    m_pPass.reset();
}

void CLinkWatchdog::TakeVerdict(CDriveSession& session, const Pass& pass)
{
    m_busy = true;
    for (int station : pass.silent) {
        const auto found = std::find(session.m_Stations.begin(), session.m_Stations.end(), station);
        if (found == session.m_Stations.end())
            continue;
        RemoveStationRecord(session, static_cast<std::size_t>(found - session.m_Stations.begin()));
        if (station == session.m_nAutoRefreshStation)
            session.m_bAutoRefresh = 0;
        AfxMessageBox(FormatResString(IDS_STATION_COMM_ERROR, station), MB_OK);
    }

    if (!session.m_Stations.empty()) {
        std::string stations;
        for (int station : session.m_Stations)
            stations += (stations.empty() ? "" : ",") + std::to_string(station);
        session.Windows().SetStatusPaneText(kPaneStation, stations);
    } else if (session.m_bConnected) {
        if (session.m_pComm)
            session.m_pComm->Close();
        session.m_bConnected = 0;
        session.Windows().StopLinkWatchdog();
        session.Windows().SetStatusPaneText(kPaneVersion, "");
        session.Windows().SetStatusPaneText(kPaneStation, "");
        session.Windows().SetStatusPaneText(kPaneLink, LoadResString(IDS_UNLINK));
    }
    m_busy = false;
}
