#pragma once
// Row layout of the project's parameter list, shared by the view that fills
// it, the list's colours and the main frame's IsParamChangedByRow.
//
// All groups shown (selected group -1): per group one heading row, then one
// row per parameter whose defined flag is set, in record order. One group
// shown: its heading is row 0, its defined parameters follow from row 1.

#include "document/GroupRec.h"

#include <cstdint>
#include <vector>

inline constexpr int kListGroups = 15;
inline constexpr int kListItems = 100;

// What the layout needs of the document: its groups and two of its flag
// arrays (defined by group and item; changed by group and position among the
// group's defined parameters).
struct ParamTableRef {
    const std::vector<GroupRec>& groups;
    const uint32_t (&defined)[kListGroups][kListItems];
    const uint32_t (&changed)[kListGroups][kListItems];
};

struct ListRow {
    int group = 0;
    int record = -1;   // index into the group's records; -1 for the heading row
    int position = -1; // position among the group's defined parameters; -1 for the heading
};

// Records of group that have a row, in order.
std::vector<int> DefinedRecords(const ParamTableRef& table, int group);
// Row index of group's heading with all groups shown.
int HeadingRow(const ParamTableRef& table, int group);

// The rows for the selected group (-1 all); any other negative selection, or
// a group the document lacks, gives no rows.
std::vector<ListRow> BuildListRows(const ParamTableRef& table, int selGroup);

// The changed flag of a parameter row; 0 for heading rows and rows beyond the list.
int IsParamChangedByRow(const ParamTableRef& table, int selGroup, int row);

// The group and the position among its defined parameters that a double
// click on row opens in the editor; false for row 0, heading rows and rows
// beyond the list.
bool RowToEditorTarget(const ParamTableRef& table, int selGroup, int row, int& group, int& position);

// Rows of group's parameters for patching value columns: each entry is a row
// and the record it shows. Empty when group is not shown or not in the table.
struct RowOfRecord {
    int row;
    int record;
};
std::vector<RowOfRecord> GroupRowsForUpdate(const ParamTableRef& table, int selGroup, int group);
