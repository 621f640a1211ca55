#include "view/ParamListLayout.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

// Three groups: group 0 defines records 0 and 2 (1 is a placeholder), group 1
// defines nothing, group 2 defines records 1, 2 and 3.
struct Fixture {
    std::vector<GroupRec> groups;
    uint32_t defined[kListGroups][kListItems];
    uint32_t changed[kListGroups][kListItems];

    Fixture()
    {
        std::memset(defined, 0, sizeof defined);
        std::memset(changed, 0, sizeof changed);
        groups.resize(3);
        groups[0].m_Params.resize(3);
        groups[1].m_Params.resize(2);
        groups[2].m_Params.resize(4);
        defined[0][0] = defined[0][2] = 1;
        defined[2][1] = defined[2][2] = defined[2][3] = 1;
        // Changed marks are kept by position among the defined parameters.
        changed[0][1] = 1; // record 2 of group 0
        changed[2][0] = 1; // record 1 of group 2
    }
    ParamTableRef Table() const { return {groups, defined, changed}; }
};

} // namespace

TEST(ParamListLayout, RowsOfBothLayouts)
{
    Fixture f;
    std::vector<ListRow> all = BuildListRows(f.Table(), -1);
    // 0:h0 1:r0 2:r2 3:h1 4:h2 5:r1 6:r2 7:r3 -- an empty group shows its heading alone.
    ASSERT_EQ(all.size(), 8u);
    EXPECT_EQ(all[3].group, 1);
    EXPECT_EQ(all[3].record, -1);
    EXPECT_EQ(all[4].group, 2);
    EXPECT_EQ(all[4].record, -1);
    EXPECT_EQ(all[7].record, 3);
    EXPECT_EQ(all[7].position, 2);
    EXPECT_EQ(HeadingRow(f.Table(), 2), 4);

    std::vector<ListRow> one = BuildListRows(f.Table(), 2);
    ASSERT_EQ(one.size(), 4u);
    EXPECT_EQ(one[0].record, -1);
    EXPECT_EQ(one[1].record, 1);

    EXPECT_TRUE(BuildListRows(f.Table(), 3).empty()) << "a group the document lacks";
    EXPECT_TRUE(BuildListRows(f.Table(), -2).empty()) << "another negative selection";
}

TEST(ParamListLayout, IsParamChangedByRowInBothLayouts)
{
    Fixture f;
    const struct {
        int selGroup;
        int row;
        int changed;
    } cases[] = {
        {-1, 0, 0}, // heading
        {-1, 1, 0}, {-1, 2, 1}, {-1, 3, 0}, {-1, 4, 0}, {-1, 5, 1}, {-1, 6, 0}, {-1, 7, 0},
        {-1, 8, 0}, // beyond the last group
        {-1, -1, 0},
        {0, 0, 0}, {0, 1, 0}, {0, 2, 1}, {0, 3, 0},
        {2, 0, 0}, {2, 1, 1}, {2, 2, 0},
        {1, 1, 0}, // group 1 has no parameter rows
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsParamChangedByRow(f.Table(), c.selGroup, c.row), c.changed)
            << "group " << c.selGroup << " row " << c.row;
}

TEST(ParamListLayout, DoubleClickTargets)
{
    Fixture f;
    const struct {
        int selGroup;
        int row;
        bool opens;
        int group;
        int position;
    } cases[] = {
        {-1, 0, false, 0, 0},  // first heading
        {-1, 2, true, 0, 1},
        {-1, 3, false, 0, 0},  // heading of the empty group
        {-1, 5, true, 2, 0},   // first parameter under the third heading: position 0 whatever its number
        {-1, 7, true, 2, 2},
        {-1, 8, false, 0, 0},  // below the last row
        {2, 0, false, 0, 0},
        {2, 3, true, 2, 2},    // one group shown: row R is position R - 1
        {2, 4, false, 0, 0},
    };
    for (const auto& c : cases) {
        int group = -5;
        int position = -5;
        ASSERT_EQ(RowToEditorTarget(f.Table(), c.selGroup, c.row, group, position), c.opens)
            << "group " << c.selGroup << " row " << c.row;
        if (c.opens) {
            EXPECT_EQ(group, c.group);
            EXPECT_EQ(position, c.position);
        }
    }
}

TEST(ParamListLayout, UpdateRowsFollowTheShownLayout)
{
    Fixture f;
    std::vector<RowOfRecord> rows = GroupRowsForUpdate(f.Table(), -1, 2);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].row, 5);
    EXPECT_EQ(rows[0].record, 1);
    EXPECT_EQ(rows[2].row, 7);

    rows = GroupRowsForUpdate(f.Table(), 0, 0);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[1].row, 2);
    EXPECT_EQ(rows[1].record, 2);

    EXPECT_TRUE(GroupRowsForUpdate(f.Table(), 0, 2).empty()) << "group not shown";
    EXPECT_TRUE(GroupRowsForUpdate(f.Table(), -1, 9).empty()) << "group not in the table";
}
