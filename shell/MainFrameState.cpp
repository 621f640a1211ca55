#include "shell/MainFrameState.h"

#include "platform/ResourceModule.h"

namespace {

CMainFrameState* g_mainFrameState = nullptr;
thread_local CMainFrameState* t_threadFrameState = nullptr;

constexpr unsigned kPaneLabelIds[4] = {61451, 61452, 61453, 61454};
constexpr unsigned kNoDisplayId = 61491;

} // namespace

CMainFrameState::CMainFrameState() = default;

CMainFrameState::~CMainFrameState()
{
    if (g_mainFrameState == this)
        g_mainFrameState = nullptr;
    if (t_threadFrameState == this)
        t_threadFrameState = nullptr;
}

void CMainFrameState::SetStatusPaneText(int pane, const std::string& text)
{
    if (pane < 0 || pane >= kPaneCount)
        return;
    if (pane < kPaneLink)
        m_statusPaneText[pane] = LoadResString(kPaneLabelIds[pane]) + text;
    else
        m_statusPaneText[pane] = text;
}

const std::string& CMainFrameState::GetStatusPaneText(int pane) const
{
    static const std::string empty;
    if (pane < 0 || pane >= kPaneCount)
        return empty;
    return m_statusPaneText[pane];
}

void CMainFrameState::ResetGraphChannels()
{
    for (int channel = 0; channel < 4; ++channel) {
        m_nGraphSel[channel] = 0;
        m_strGraphMax[channel] = "10.00";
        m_strGraphMin[channel] = "0.00";
        m_strGraphSource[channel] = LoadResString(kNoDisplayId);
    }
    m_nGraphFlag = 0;
}

int CMainFrameState::PromptSaveProjectFile(std::string&)
{
    return 0;
}

int CMainFrameState::PromptOpenProjectFile(std::string&)
{
    return 0;
}

void CMainFrameState::InitProjectTree() {}

void CMainFrameState::StartLinkWatchdog() {}

void CMainFrameState::StopLinkWatchdog() {}

void CMainFrameState::StopBackgroundTransfers() {}

void CMainFrameState::AddToRecentFileList(const std::string&) {}

void CMainFrameState::SetProjectWindowTitle(const std::string&) {}

std::string CMainFrameState::GetProjectFileName() const
{
    std::size_t slash = m_strProjectPath.rfind('/');
    if (slash == std::string::npos)
        return {};
    return m_strProjectPath.substr(slash + 1);
}

CMainFrameState* GetMainFrameState()
{
    return t_threadFrameState ? t_threadFrameState : g_mainFrameState;
}

void SetThreadMainFrameState(CMainFrameState* state)
{
    t_threadFrameState = state;
}

void SetMainFrameState(CMainFrameState* state)
{
    g_mainFrameState = state;
}

CD390DocData* CMainFrameState::GetActiveDocument()
{
    return nullptr;
}
