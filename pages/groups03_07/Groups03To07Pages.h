#pragma once
// The page tables of groups 03 to 07.

#include "editor/GroupTable.h"

const GroupTable& Group03Table();
const GroupTable& Group04Table();
const GroupTable& Group05Table();
const GroupTable& Group06Table();
const GroupTable& Group07Table();

// Registers every table of these groups with the editor.
void RegisterGroups03To07Pages();
