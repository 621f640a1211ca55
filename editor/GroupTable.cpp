#include "editor/GroupTable.h"

#include "document/ModelFamily.h"

#include <array>

namespace {

std::array<const GroupTable*, 15>& Registry()
{
    static std::array<const GroupTable*, 15> tables{};
    return tables;
}

} // namespace

int GroupTable::LayoutOf(int modelCode) const
{
    int layout = layoutOf ? layoutOf(modelCode) : (IsNewModel(modelCode) ? 1 : 0);
    if (layout < 0 || layout >= static_cast<int>(layouts.size()))
        layout = 0;
    return layout;
}

const GroupTable* FindGroupTable(int group)
{
    if (group < 0 || group >= static_cast<int>(Registry().size()))
        return nullptr;
    return Registry()[static_cast<std::size_t>(group)];
}

void RegisterGroupTable(const GroupTable& table)
{
    if (table.group >= 0 && table.group < static_cast<int>(Registry().size()))
        Registry()[static_cast<std::size_t>(table.group)] = &table;
}
