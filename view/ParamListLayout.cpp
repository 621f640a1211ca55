#include "view/ParamListLayout.h"

namespace {

bool HasGroup(const ParamTableRef& table, int group)
{
    return group >= 0 && group < kListGroups && group < static_cast<int>(table.groups.size());
}

} // namespace

std::vector<int> DefinedRecords(const ParamTableRef& table, int group)
{
    std::vector<int> records;
    if (!HasGroup(table, group))
        return records;
    int count = static_cast<int>(table.groups[static_cast<std::size_t>(group)].m_Params.size());
    for (int record = 0; record < count && record < kListItems; ++record) {
        if (table.defined[group][record])
            records.push_back(record);
    }
    return records;
}

int HeadingRow(const ParamTableRef& table, int group)
{
    int row = 0;
    for (int k = 0; k < group && HasGroup(table, k); ++k)
        row += 1 + static_cast<int>(DefinedRecords(table, k).size());
    return row;
}

std::vector<ListRow> BuildListRows(const ParamTableRef& table, int selGroup)
{
    std::vector<ListRow> rows;
    auto addGroup = [&](int group) {
        rows.push_back({group, -1, -1});
        int position = 0;
        for (int record : DefinedRecords(table, group))
            rows.push_back({group, record, position++});
    };
    if (selGroup == -1) {
        for (int group = 0; HasGroup(table, group); ++group)
            addGroup(group);
    } else if (HasGroup(table, selGroup)) {
        addGroup(selGroup);
    }
    return rows;
}

int IsParamChangedByRow(const ParamTableRef& table, int selGroup, int row)
{
    std::vector<ListRow> rows = BuildListRows(table, selGroup);
    if (row < 0 || row >= static_cast<int>(rows.size()))
        return 0;
    const ListRow& target = rows[static_cast<std::size_t>(row)];
    if (target.position < 0 || target.position >= kListItems)
        return 0;
    return table.changed[target.group][target.position] != 0;
}

bool RowToEditorTarget(const ParamTableRef& table, int selGroup, int row, int& group, int& position)
{
    if (row <= 0)
        return false;
    std::vector<ListRow> rows = BuildListRows(table, selGroup);
    if (row >= static_cast<int>(rows.size()))
        return false;
    const ListRow& target = rows[static_cast<std::size_t>(row)];
    if (target.position < 0)
        return false;
    group = target.group;
    position = target.position;
    return true;
}

std::vector<RowOfRecord> GroupRowsForUpdate(const ParamTableRef& table, int selGroup, int group)
{
    std::vector<RowOfRecord> result;
    if (!HasGroup(table, group))
        return result;
    int row;
    if (selGroup == -1)
        row = HeadingRow(table, group) + 1;
    else if (selGroup == group)
        row = 1;
    else
        return result;
    for (int record : DefinedRecords(table, group))
        result.push_back({row++, record});
    return result;
}
