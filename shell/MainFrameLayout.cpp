#include "shell/MainFrameLayout.h"

#include "document/ModelFamily.h"
#include "res/StringIds.h"

std::array<int, 5> StatusPaneWidths(int clientWidth)
{
    int w = clientWidth < 0 ? 0 : clientWidth;
    return {w * 3 / 14, w / 7, 2 * w / 7, w / 7, w / 14};
}

bool ModelHasGroup14(int modelCode)
{
    return IsNewModel(modelCode);
}

std::vector<ProjectTreeEntry> ProjectTreeEntries(int modelCode)
{
    std::vector<ProjectTreeEntry> entries;
    entries.push_back({0, IDS_PROJECT, 0});
    entries.push_back({1, IDS_PARAMETER, kTreeDataAllGroups});
    for (int group = 0; group <= 13; ++group)
        entries.push_back({2, IDS_FIRST_GROUP_TITLE + static_cast<unsigned>(group), kTreeDataFirstGroup + 2 * group});
    if (ModelHasGroup14(modelCode))
        entries.push_back({2, IDS_GROUP14_TITLE, kTreeDataFirstGroup + 2 * 14});
    return entries;
}

int GroupOfTreeData(int data)
{
    if (data == kTreeDataAllGroups)
        return -1;
    int offset = data - kTreeDataFirstGroup;
    if (offset >= 0 && offset % 2 == 0 && offset / 2 <= 14)
        return offset / 2;
    return -2;
}

int GroupOfCommand(int id)
{
    for (int group = 0; group < 15; ++group) {
        if (kGroupCommands[group] == id)
            return group;
    }
    return -1;
}
