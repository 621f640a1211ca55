#pragma once
// The page tables of groups 00 (basic functions), 01 (V/F curve) and 02
// (motor parameters), with the hooks of their drive rules.

#include "editor/GroupSpec.h"

const GroupSpec& Group00Spec();
const GroupSpec& Group01Spec();
const GroupSpec& Group02Spec();

// Registers the three tables with the editor.
void RegisterGroups00To02Pages();
