#pragma once
// What the main frame shows, as data: status pane widths, the project tree's
// entries and the commands that open a parameter group.

#include <array>
#include <vector>

// Pane widths for a client width: 3/14, 1/7, 2/7, 1/7 and 1/14 of it.
std::array<int, 5> StatusPaneWidths(int clientWidth);

// Tree item data: the "Parameter" node, and 2002 + 2 * group for a group.
inline constexpr int kTreeDataAllGroups = 2000;
inline constexpr int kTreeDataFirstGroup = 2002;

struct ProjectTreeEntry {
    int level;       // 0 root, 1 "Parameter", 2 a group
    unsigned textId; // string table id of the item's text
    int data;        // item data
};

// Root "Project", "Parameter", groups 00 to 13, and group 14 only for the
// extended models (code above 0x1100000).
std::vector<ProjectTreeEntry> ProjectTreeEntries(int modelCode);

// The group a tree item selects: -1 for all groups, 0..14 for one group,
// -2 for an item that selects nothing (the root, data 0).
int GroupOfTreeData(int data);

// Command ids of the group entries of the Parameter menu, group 0 to 14.
inline constexpr int kGroupCommands[15] = {32774, 32787, 32775, 32776, 32777, 32778, 32779, 32780,
                                           32781, 32782, 32783, 32784, 32785, 32786, 32806};
// The group of a command id, or -1.
int GroupOfCommand(int id);
// The extended models have group 14.
bool ModelHasGroup14(int modelCode);
