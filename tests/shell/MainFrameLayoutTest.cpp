#include "shell/MainFrameLayout.h"

#include <gtest/gtest.h>

TEST(StatusPanes, WidthsFollowTheClientWidth)
{
    EXPECT_EQ(StatusPaneWidths(700), (std::array<int, 5>{150, 100, 200, 100, 50}));
    EXPECT_EQ(StatusPaneWidths(100), (std::array<int, 5>{21, 14, 28, 14, 7}));
    EXPECT_EQ(StatusPaneWidths(0), (std::array<int, 5>{0, 0, 0, 0, 0}));
}

TEST(ProjectTree, GroupFourteenOnlyForExtendedModels)
{
    std::vector<ProjectTreeEntry> plain = ProjectTreeEntries(0x1100000);
    ASSERT_EQ(plain.size(), 16u);
    EXPECT_EQ(plain[0].textId, 61450u);
    EXPECT_EQ(plain[1].data, kTreeDataAllGroups);
    EXPECT_EQ(plain.back().textId, 61637u);
    EXPECT_EQ(plain.back().data, 2002 + 2 * 13);

    std::vector<ProjectTreeEntry> extended = ProjectTreeEntries(0x1100001);
    ASSERT_EQ(extended.size(), 17u);
    EXPECT_EQ(extended.back().textId, 61641u);
    EXPECT_EQ(extended.back().data, 2030);

    EXPECT_EQ(GroupOfTreeData(0), -2);
    EXPECT_EQ(GroupOfTreeData(2000), -1);
    EXPECT_EQ(GroupOfTreeData(2002), 0);
    EXPECT_EQ(GroupOfTreeData(2030), 14);
    EXPECT_EQ(GroupOfTreeData(2003), -2);
    EXPECT_EQ(GroupOfCommand(32787), 1);
    EXPECT_EQ(GroupOfCommand(32775), 2);
    EXPECT_EQ(GroupOfCommand(32806), 14);
    EXPECT_EQ(GroupOfCommand(32788), -1);
}

