#include "monitor/LiveDriveInfo.h"

#include "document/D390DocData.h"
#include "session/DriveSession.h"

LiveDriveInfo LiveDriveInfoOf(CDriveSession& state, const CD390DocData* doc, int stationIndex)
{
    LiveDriveInfo info { kDefaultModelCode, 0.0f, false };
    if (doc) {
        info.modelCode = doc->m_nModelCode;
        info.version = doc->m_fDriveVersion;
        info.fromProject = true;
        return info;
    }
    const auto index = static_cast<std::size_t>(stationIndex < 0 ? 0 : stationIndex);
    if (index < state.m_StationModels.size() && index < state.m_StationVersions.size()) {
        info.modelCode = state.m_StationModels[index];
        info.version = static_cast<float>(state.m_StationVersions[index] * 0.001);
    }
    return info;
}
