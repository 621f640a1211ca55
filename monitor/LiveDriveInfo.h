#pragma once
// The model code and drive version the live windows go by: the open
// project's when there is one, else what the connection read from the first
// connected station.

class CD390DocData;
class CDriveSession;

struct LiveDriveInfo {
    int modelCode = 0;
    float version = 0.0f;
};

// doc: the active project's document, null when no project window is open.
LiveDriveInfo LiveDriveInfoOf(CDriveSession& state, const CD390DocData* doc);
