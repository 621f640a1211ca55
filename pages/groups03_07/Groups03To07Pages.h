#pragma once
// The page tables of groups 03 to 07.

#include "editor/GroupSpec.h"

const GroupSpec& Group03Spec();
const GroupSpec& Group04Spec();
const GroupSpec& Group05Spec();
const GroupSpec& Group06Spec();
const GroupSpec& Group07Spec();

// Registers every table of these groups with the editor.
void RegisterGroups03To07Pages();
