#include "session/MainFrameState.h"

#include "link/DriveQueries.h"
#include "platform/ResourceModule.h"
#include "res/StringIds.h"

namespace {

CMainFrameState* g_mainFrameState = nullptr;

constexpr unsigned kPaneLabelIds[4] = {IDS_FILE_NAME_LABEL, IDS_VERSION_LABEL, IDS_STATION_NUM_LABEL, IDS_MODEL_LABEL};

} // namespace

CMainFrameState::CMainFrameState() = default;

CMainFrameState::~CMainFrameState()
{
    if (g_mainFrameState == this)
        g_mainFrameState = nullptr;
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
        m_strGraphSource[channel] = LoadResString(IDS_NO_DISPLAY);
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
    return g_mainFrameState;
}

void SetMainFrameState(CMainFrameState* state)
{
    g_mainFrameState = state;
}

GroupTransferContext CMainFrameState::TransferContext(CD390DocData& doc)
{
    return GroupTransferContext{m_pComm, doc, m_nModelCode, m_nParam0002, m_nPressureMode, m_strLastError};
}

int CMainFrameState::ReadPasswordState(uint8_t station, bool& passwordActive)
{
    return DriveQuery::ReadPasswordState(m_pComm, station, passwordActive);
}

int CMainFrameState::IsDriveRunning(uint8_t station, bool& running)
{
    return DriveQuery::IsDriveRunning(m_pComm, station, running);
}

int CMainFrameState::ReadParam0002(uint8_t station)
{
    return DriveQuery::ReadParam0002(m_pComm, station, m_nParam0002);
}

int CMainFrameState::ReadParam0002To(uint8_t station, int& value)
{
    return DriveQuery::ReadParam0002(m_pComm, station, value);
}

int CMainFrameState::ReadParam0003(uint8_t station, int& value)
{
    return DriveQuery::ReadParam0003(m_pComm, station, value);
}

int CMainFrameState::ReadParam0005(uint8_t station, int& value)
{
    return DriveQuery::ReadParam0005(m_pComm, station, value);
}

int CMainFrameState::ReadParam0006(uint8_t station, int& value)
{
    return DriveQuery::ReadParam0006(m_pComm, station, value);
}

int CMainFrameState::ReadParam0D01(uint8_t station, float& version)
{
    return DriveQuery::ReadParam0D01(m_pComm, station, version);
}

int CMainFrameState::ReadParam0201(uint8_t station, int& value)
{
    return DriveQuery::ReadParam0201(m_pComm, station, value);
}

int CMainFrameState::ReadParam0200(uint8_t station, int& value)
{
    return DriveQuery::ReadParam0200(m_pComm, station, value);
}

int CMainFrameState::ReadParam0104(uint8_t station, int& value) { return DriveQuery::ReadParam01(m_pComm, station, 4, value); }
int CMainFrameState::ReadParam0105(uint8_t station, int& value) { return DriveQuery::ReadParam01(m_pComm, station, 5, value); }
int CMainFrameState::ReadParam0106(uint8_t station, int& value) { return DriveQuery::ReadParam01(m_pComm, station, 6, value); }
int CMainFrameState::ReadParam0107(uint8_t station, int& value) { return DriveQuery::ReadParam01(m_pComm, station, 7, value); }
int CMainFrameState::ReadParam0108(uint8_t station, int& value) { return DriveQuery::ReadParam01(m_pComm, station, 8, value); }
int CMainFrameState::ReadParam0109(uint8_t station, int& value) { return DriveQuery::ReadParam01(m_pComm, station, 9, value); }

int CMainFrameState::ReadCapacityCode(uint8_t station, int& capacity)
{
    return DriveQuery::ReadCapacityCode(m_pComm, station, capacity);
}

int CMainFrameState::ReadSeriesCode(uint8_t station, int& series)
{
    return DriveQuery::ReadSeriesCode(m_pComm, station, series);
}

int CMainFrameState::ReadModelCode(uint8_t station, int& modelCode)
{
    return DriveQuery::ReadModelCode(m_pComm, station, modelCode);
}
