#include "session/AutoRefresh.h"

#include "document/D390DocData.h"
#include "link/GroupTransferContext.h"
#include "platform/MessageBox.h"
#include "session/DriveSession.h"
#include "session/ReadEvent.h"
#include "session/ReadWriteAll.h"

#include <algorithm>

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

// Below normal: the window thread goes first.
constexpr int kReaderNice = 5;

// What no reader ever stores: marks a buffer record the cycle did not read.
const std::string kUnread("\x01unread", 7);
// Stands for the set value in the buffer: a record whose read value the
// cycle takes from its set value (a block the drive does not have) gets the
// project's set value of the moment it is taken in, not of when the cycle
// began, so an edit made meanwhile is not undone.
const std::string kSetValue("\x01set", 4);

} // namespace

// One cycle: what the worker reads through and into, and what it found.
struct CAutoRefresh::Cycle {
    // What the readers work with on the worker: the link, a buffer of its
    // own, and texts and modes of its own.
    CSerialComm* comm = nullptr;
    int station = 1;
    int param0002 = 0;
    int readMode = 0;       // the mode as group 14 reads it
    std::string lastError;
    CD390DocData buffer;
    int pressureMode = 0;   // the session's when the cycle began
    bool finished = false;  // written by the worker, under mutex
    bool waited = false;    // the event was taken: the cycle read
    bool ok = false;
    std::mutex mutex;
};

CAutoRefresh::CAutoRefresh(CAutoRefreshHost& host, CDriveSession& session) : m_host(host), m_session(session) {}

CAutoRefresh::~CAutoRefresh()
{
    // The project may already be gone: a last cycle is only waited for.
    m_pDoc = nullptr;
    const bool running = m_pEvent != nullptr;
    if (m_pEvent)
        m_pEvent->Cancel();
    TakeCycle(false);
    JoinReader();
    if (running)
        m_session.m_bAutoRefresh = 0;
}

bool CAutoRefresh::IsCycleActive() const
{
    return m_pCycle != nullptr;
}

bool CAutoRefresh::IsCycleRunning() const
{
    if (!m_pCycle)
        return false;
    std::lock_guard lock(m_pCycle->mutex);
    return !m_pCycle->finished;
}

void CAutoRefresh::CancelPendingCycle()
{
    if (m_pEvent)
        m_pEvent->Cancel();
}

void CAutoRefresh::OnStartReadThread(CD390DocData& doc)
{
    // A run that ended by failure, or by the watchdog, may have left its last
    // cycle; it belongs to that run.
    TakeCycle(false);
    JoinReader();
    m_pDoc = &doc;
    m_host.SetReadTimer();
    m_pEvent = std::make_unique<CReadEvent>(true);
    BeginCycle();
}

bool CAutoRefresh::OnTimer()
{
    if (!m_session.m_bAutoRefresh) {
        m_host.KillReadTimer();
        return false;
    }
    if (m_pCycle || !m_pDoc || !m_pEvent)
        return false;
    BeginCycle();
    return true;
}

void CAutoRefresh::BeginCycle()
{
    JoinReader();
    CDriveSession& session = m_session;
    auto cycle = std::make_unique<Cycle>();
    cycle->station = session.m_nAutoRefreshStation;
    cycle->comm = session.m_pComm;
    cycle->param0002 = session.m_nParam0002;
    cycle->readMode = session.m_nPressureMode;
    cycle->pressureMode = session.m_nPressureMode;
    cycle->buffer.m_nModelCode = m_pDoc->m_nModelCode;
    cycle->buffer.m_fDriveVersion = m_pDoc->m_fDriveVersion;
    cycle->buffer.m_Groups = m_pDoc->m_Groups;
    for (GroupRec& group : cycle->buffer.m_Groups)
        for (ParamRec& param : group.m_Params) {
            param.m_strRead = kUnread;
            param.m_strValue = kSetValue;
        }

    m_pCycle = std::move(cycle);
    m_session.NoteAutoRefreshCycleBegun();
    Cycle* begun = m_pCycle.get();
    CReadEvent* event = m_pEvent.get();
    CAutoRefreshHost* host = &m_host;
    m_reader.Start([begun, event, host] { ReadThreadProc(begun, event, host); });
}

void CAutoRefresh::ReadThreadProc(Cycle* cycle, CReadEvent* event, CAutoRefreshHost* host)
{
    // Linux takes a nice value per thread.
    setpriority(PRIO_PROCESS, static_cast<id_t>(syscall(SYS_gettid)), kReaderNice);
    const bool ok = ReadAllGroups(*cycle, *event);
    {
        std::lock_guard lock(cycle->mutex);
        cycle->ok = ok;
        cycle->finished = true;
    }
    host->PostReadDone();
}

bool CAutoRefresh::ReadAllGroups(Cycle& cycle, CReadEvent& event)
{
    if (!event.Wait())
        return false;
    cycle.waited = true;
    // Read-all's groups and group-14 rule, into the buffer.
    NoTransferProgress progress;
    const GroupTransferContext context{cycle.comm,           cycle.buffer,    cycle.buffer.m_nModelCode,
                                       cycle.param0002,      cycle.readMode,  cycle.lastError};
    if (!::ReadAllGroups(context, cycle.station, progress))
        return false;
    event.Set();
    return true;
}

CAutoRefresh::Outcome CAutoRefresh::OnReadDone()
{
    if (!m_pCycle)
        return Outcome::None;
    {
        std::lock_guard lock(m_pCycle->mutex);
        if (!m_pCycle->finished)
            return Outcome::None;
    }
    return TakeCycle(true);
}

CAutoRefresh::Outcome CAutoRefresh::Stop()
{
    CDriveSession& session = m_session;
    // A cycle that has not yet taken the event never will; one that has runs
    // to its end.
    if (m_pEvent)
        m_pEvent->Cancel();
    Outcome outcome = TakeCycle(true);
    JoinReader();
    m_pEvent.reset();
    m_host.KillReadTimer();
    session.m_bAutoRefresh = 0;
    return outcome;
}

void CAutoRefresh::JoinReader()
{
    m_reader.Join();
    m_pDoneCycle.reset();
}

CAutoRefresh::Outcome CAutoRefresh::TakeCycle(bool showFailure)
{
    if (!m_pCycle)
        return Outcome::None;
    bool finished = false;
    {
        std::lock_guard lock(m_pCycle->mutex);
        finished = m_pCycle->finished;
    }
    if (!finished)
        JoinReader();
    m_pDoneCycle = std::move(m_pCycle);
    const Cycle* cycle = m_pDoneCycle.get();
    m_session.NoteAutoRefreshCycleTaken();
    if (!cycle->waited || !m_pDoc)
        return Outcome::None;

    // What was read goes into the read values, even from a failed cycle; a
    // record the cycle did not read keeps both its values.
    const bool ok = cycle->ok;
    std::vector<int> changedGroups;
    for (std::size_t g = 0; g < cycle->buffer.m_Groups.size(); ++g) {
        const std::vector<ParamRec>& params = cycle->buffer.m_Groups[g].m_Params;
        bool changed = false;
        for (std::size_t i = 0; i < params.size(); ++i) {
            if (params[i].m_strRead == kUnread)
                continue;
            ParamRec* param = m_pDoc->FindParam(static_cast<int>(g), static_cast<int>(i));
            if (!param)
                continue;
            if (params[i].m_strRead == kSetValue) {
                param->m_strRead = param->m_strValue;
                continue;
            }
            param->m_strRead = params[i].m_strRead;
            if (ok && param->m_strValue != params[i].m_strRead) {
                param->m_strValue = params[i].m_strRead;
                changed = true;
            }
        }
        if (changed)
            changedGroups.push_back(static_cast<int>(g));
    }

    CDriveSession& session = m_session;
    if (!ok) {
        session.m_strLastError = cycle->lastError;
        session.m_bAutoRefresh = 0;
        m_host.KillReadTimer();
        if (showFailure)
            AfxMessageBox(session.m_strLastError, MB_OK);
        return Outcome::Failed;
    }

    // Group 14 of a drive that has it sets the pressure or percent form.
    if (cycle->readMode != cycle->pressureMode)
        session.m_nPressureMode = cycle->readMode;
    // Groups whose changed marks go are redrawn too.
    for (int g = 0; g < kGroupCount && g < static_cast<int>(m_pDoc->m_Groups.size()); ++g) {
        bool marked = false;
        for (uint32_t flag : m_pDoc->m_Changed[g])
            marked = marked || flag != 0;
        if (marked && std::find(changedGroups.begin(), changedGroups.end(), g) == changedGroups.end())
            changedGroups.insert(std::upper_bound(changedGroups.begin(), changedGroups.end(), g), g);
    }
    m_pDoc->ClearChanged();
    m_host.RefreshValues(changedGroups);
    return Outcome::Applied;
}
