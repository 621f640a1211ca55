#pragma once
// What the pages of groups 03 to 07 share: the messages of their version
// rules, with the refusal that focuses the row first.

#include "document/D390DocData.h"
#include "editor/EditorContext.h"
#include "editor/EditorStrings.h"
#include "editor/GroupPageModel.h"

#include <string>

// Focuses the row and shows message 61622 with the item and the range it
// accepts on this drive software. Always false, for the row gate to return.
bool RefuseForVersion(CGroupPageModel& page, int row, const char* item, const char* range, EditorContext& context);
