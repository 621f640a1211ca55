#pragma once
// The page tables of groups 08 (protection), 09 (communication) and 10 (PID).

#include "editor/GroupTable.h"

#include <string>

const GroupTable& Group08Table();
const GroupTable& Group09Table();
const GroupTable& Group10Table();

// The explanation beside a protection digit list: item 0 or 5 (the two packed
// items of group 08), the digit's bit (4 is the leftmost of five) and the
// list's selection; empty for a digit without an explanation.
std::string GetProtectBitText(int item, int bit, int selection);

// Registers every table of these groups with the editor.
void RegisterGroups08To10Pages();
