#pragma once
// What the editor's window-free engine is handed: the drive connection, the
// project, the model code fixed at opening and the window side (EditorHost).

#include "editor/EditorHost.h"

// The connection state object. It is being turned into the drive session
// (session/DriveSession.h, CDriveSession) with the same member names; until
// that lands, this one include reaches the shell's state, and the switch is
// this alias.
#include "shell/MainFrameState.h"
using DriveConnection = CMainFrameState;

class CD390DocData;

struct EditorContext {
    DriveConnection& drive;
    CD390DocData& doc;
    IEditorHost& host;
    int modelCode; // fixed when the editor opens
};
