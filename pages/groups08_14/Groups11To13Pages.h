#pragma once
// The page tables of groups 11 (auxiliary), 12 (display) and 13
// (maintenance).

#include "editor/GroupTable.h"

#include <string>

const GroupTable& Group11Table();
const GroupTable& Group12Table();
const GroupTable& Group13Table();

// The name of a display item for a digit of 12-00 (0 to 7); empty for any
// other value, such as a list without a selection.
std::string GetDisplayItemText(int digit);

// Registers the tables of groups 11 to 13 with the editor.
void RegisterGroups11To13Pages();
