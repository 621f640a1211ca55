#include "editor/GroupSpec.h"

#include "document/ModelFamily.h"

#include <array>

namespace {

std::array<const GroupSpec*, 15>& Registry()
{
    static std::array<const GroupSpec*, 15> specs{};
    return specs;
}

} // namespace

int GroupSpec::LayoutOf(int modelCode) const
{
    int layout = layoutOf ? layoutOf(modelCode) : (IsNewModel(modelCode) ? 1 : 0);
    if (layout < 0 || layout >= static_cast<int>(layouts.size()))
        layout = 0;
    return layout;
}

const GroupSpec* FindGroupSpec(int group)
{
    if (group < 0 || group >= static_cast<int>(Registry().size()))
        return nullptr;
    return Registry()[static_cast<std::size_t>(group)];
}

void RegisterGroupSpec(const GroupSpec& table)
{
    if (table.group >= 0 && table.group < static_cast<int>(Registry().size()))
        Registry()[static_cast<std::size_t>(table.group)] = &table;
}
