#pragma once
// The model code and drive version the live windows go by: the open
// project's when there is one, else what the connection read from the
// station chosen in the window.

class CD390DocData;
class CDriveSession;

struct LiveDriveInfo {
    int modelCode = 0;
    float version = 0.0f;
    // Taken from the open project: a change of station changes nothing.
    bool fromProject = false;
};

// doc: the active project's document, null when no project window is open;
// stationIndex: the station's place in the connected stations.
LiveDriveInfo LiveDriveInfoOf(CDriveSession& state, const CD390DocData* doc, int stationIndex = 0);
