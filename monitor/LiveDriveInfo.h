#pragma once
// The model code and drive version the live windows go by: the open
// project's when there is one, else what the connection read from the first
// connected station.

class CMainFrameState;

struct LiveDriveInfo {
    int modelCode = 0;
    float version = 0.0f;
};

LiveDriveInfo LiveDriveInfoOf(CMainFrameState& state);
