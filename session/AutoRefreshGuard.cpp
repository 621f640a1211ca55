#include "session/AutoRefreshGuard.h"

#include "platform/MessageBox.h"
#include "res/StringIds.h"
#include "session/MainFrameState.h"

#include <atomic>

namespace {

std::atomic<int> g_pendingCycles{0};

} // namespace

bool IsAutoRefreshBusy()
{
    const CMainFrameState* frame = GetMainFrameState();
    return (frame && frame->m_bAutoRefresh) || g_pendingCycles.load() > 0;
}

bool RefusedWhileAutoRefresh()
{
    if (!IsAutoRefreshBusy())
        return false;
    AfxMessageBox(IDS_AUTO_REFRESH_RUNS, MB_OK);
    return true;
}

void NoteAutoRefreshCycleBegun()
{
    ++g_pendingCycles;
}

void NoteAutoRefreshCycleTaken()
{
    --g_pendingCycles;
}
