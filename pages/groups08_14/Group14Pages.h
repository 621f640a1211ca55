#pragma once
// The page tables of group 14, pump and constant pressure: five pages for
// every model, seven of whose rows show a pressure or a percentage as the
// drive's 14-20 says (the connection's m_nPressureMode).

#include "editor/GroupTable.h"

const GroupTable& Group14Table();

// Registers group 14's table with the editor.
void RegisterGroup14Pages();
