#pragma once
// The page tables of groups 00 (basic functions), 01 (V/F curve) and 02
// (motor parameters), with the hooks of their drive rules.

#include "editor/GroupTable.h"

const GroupTable& Group00Table();
const GroupTable& Group01Table();
const GroupTable& Group02Table();

// Registers the three tables with the editor.
void RegisterGroups00To02Pages();
