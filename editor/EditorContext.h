#pragma once
// What the editor's window-free engine is handed: the drive session, the
// project, the model code fixed at opening and the window side (EditorHost).

#include "editor/EditorHost.h"
#include "session/DriveSession.h"

class CD390DocData;

struct EditorContext {
    CDriveSession& drive;
    CD390DocData& doc;
    IEditorHost& host;
    int modelCode; // fixed when the editor opens
};
