#include "monitor/LiveDriveInfo.h"

#include "document/D390DocData.h"
#include "session/DriveSession.h"

LiveDriveInfo LiveDriveInfoOf(CDriveSession& state, const CD390DocData* doc)
{
    LiveDriveInfo info { kDefaultModelCode, 0.0f };
    if (doc) {
        info.modelCode = doc->m_nModelCode;
        info.version = doc->m_fDriveVersion;
    } else if (!state.m_StationModels.empty() && !state.m_StationVersions.empty()) {
        info.modelCode = state.m_StationModels.front();
        info.version = static_cast<float>(state.m_StationVersions.front() * 0.001);
    }
    return info;
}
