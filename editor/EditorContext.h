#pragma once
// What the editor's window-free engine is handed: the drive connection, the
// project, the model code fixed at opening and the window side (EditorHost).

#include "editor/EditorHost.h"

// The connection state object of the drive session, under the name the
// editor uses for it.
#include "session/MainFrameState.h"
using DriveConnection = CMainFrameState;

class CD390DocData;

struct EditorContext {
    DriveConnection& drive;
    CD390DocData& doc;
    IEditorHost& host;
    int modelCode; // fixed when the editor opens
};
