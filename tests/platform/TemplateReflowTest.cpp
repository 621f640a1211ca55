// Reflowing a template layout around controls whose texts need more room.

#include "platform/TemplateReflow.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr int kPadding = 4;

ReflowItem Text(int x, int y, int w, int h, int needW = 0, int needH = 0)
{
    ReflowItem item;
    item.rect = {x, y, w, h};
    item.needWidth = needW;
    item.needHeight = needH;
    return item;
}

ReflowItem Group(int x, int y, int w, int h)
{
    ReflowItem item = Text(x, y, w, h);
    item.group = true;
    return item;
}

struct Case {
    const char* why;
    std::vector<ReflowItem> items;
    ReflowSize client;
    std::vector<ReflowRect> expected;
    ReflowSize expectedClient;
};

} // namespace

TEST(TemplateReflowTest, GrowsControlsAndMovesWhatIsInTheirWay)
{
    const std::vector<Case> cases = {
        {"everything fits: nothing changes",
         {Text(10, 10, 50, 20, 40, 20), Text(70, 10, 50, 20)},
         {200, 100},
         {{10, 10, 50, 20}, {70, 10, 50, 20}},
         {200, 100}},
        {"the free space before the next control absorbs the growth",
         {Text(10, 10, 40, 20, 55, 0), Text(70, 10, 50, 20)},
         {200, 100},
         {{10, 10, 55, 20}, {70, 10, 50, 20}},
         {200, 100}},
        {"beyond the free space the next control moves on, and the client keeps its right margin",
         {Text(10, 10, 40, 20, 80, 0), Text(60, 10, 100, 20)},
         {180, 100},
         {{10, 10, 80, 20}, {90, 10, 100, 20}},
         {210, 100}},
        {"a row below keeps what lies before the gap and moves what lies beyond it with the row above",
         {Text(10, 10, 40, 20, 80, 0), Text(60, 10, 100, 20), Text(30, 40, 20, 20), Text(60, 40, 100, 20)},
         {180, 100},
         {{10, 10, 80, 20}, {90, 10, 100, 20}, {30, 40, 20, 20}, {90, 40, 100, 20}},
         {210, 100}},
        {"a text that fits keeps its size: only the cut one grows, into its free space",
         {Text(10, 10, 40, 20, 30, 0), Text(60, 10, 40, 20, 45, 0), Text(110, 10, 40, 20, 40, 0)},
         {160, 40},
         {{10, 10, 40, 20}, {60, 10, 45, 20}, {110, 10, 40, 20}},
         {160, 40}},
        {"labels of one column grow together, and the fields beside them stay one column",
         {Text(10, 10, 40, 20, 44, 0), Text(52, 10, 60, 20), Text(10, 40, 40, 20, 70, 0), Text(52, 40, 60, 20),
          Text(10, 70, 40, 20, 30, 0), Text(52, 70, 60, 20)},
         {130, 100},
         {{10, 10, 70, 20}, {80, 10, 60, 20}, {10, 40, 70, 20}, {80, 40, 60, 20}, {10, 70, 70, 20},
          {80, 70, 60, 20}},
         {158, 100}},
        {"a key grid: the columns widen together, the key over two columns still spans them, the last row stays in the grid",
         {Text(2, 0, 38, 34, 42, 27), Text(40, 0, 38, 34, 42, 27), Text(78, 0, 38, 34, 42, 27),
          Text(2, 34, 76, 34, 42, 27), Text(78, 34, 38, 34, 38, 27)},
         {118, 136},
         {{2, 0, 42, 34}, {44, 0, 42, 34}, {86, 0, 42, 34}, {2, 34, 84, 34}, {86, 34, 42, 34}},
         {130, 136}},
        {"radio buttons side by side in a group box: each moves its right neighbours, the box and the box beside it",
         {Group(0, 0, 80, 30), Text(4, 10, 24, 15, 30, 0), Text(28, 10, 24, 15, 28, 0), Text(52, 10, 24, 15, 30, 0),
          Group(84, 0, 40, 30), Text(88, 10, 30, 15)},
         {130, 40},
         {{0, 0, 96, 30}, {4, 10, 30, 15}, {34, 10, 28, 15}, {62, 10, 30, 15}, {100, 0, 40, 30}, {104, 10, 30, 15}},
         {146, 40}},
        {"a control spanning several rows beyond the line takes the rows it reaches along",
         {Text(0, 0, 40, 10, 60, 0), Text(50, 0, 20, 40), Text(80, 30, 20, 10)},
         {110, 50},
         {{0, 0, 60, 10}, {60, 0, 20, 40}, {90, 30, 20, 10}},
         {120, 50}},
        {"buttons too low grow, the row below moves down whole and the client keeps its bottom margin",
         {Text(10, 10, 60, 30, 0, 34), Text(10, 40, 60, 20), Text(80, 40, 60, 20)},
         {150, 70},
         {{10, 10, 60, 34}, {10, 44, 60, 20}, {80, 44, 60, 20}},
         {150, 74}},
        {"the group box's padding is kept free inside it",
         {Group(0, 0, 60, 30), Text(4, 10, 40, 15, 54, 0)},
         {70, 40},
         {{0, 0, 62, 30}, {4, 10, 54, 15}},
         {72, 40}},
    };
    for (const Case& c : cases) {
        std::vector<ReflowItem> items = c.items;
        ReflowSize client = c.client;
        ReflowToFit(items, client, kPadding);
        ASSERT_EQ(items.size(), c.expected.size()) << c.why;
        for (std::size_t i = 0; i < items.size(); ++i) {
            const ReflowRect& r = items[i].rect;
            const ReflowRect& e = c.expected[i];
            EXPECT_EQ(r, e) << c.why << ": item " << i << " is " << r.x << "," << r.y << " " << r.width << "x"
                            << r.height << ", expected " << e.x << "," << e.y << " " << e.width << "x" << e.height;
        }
        EXPECT_EQ(client, c.expectedClient)
            << c.why << ": client " << client.width << "x" << client.height;
    }
}

TEST(TemplateReflowTest, NoTwoControlsThatWereApartOverlapAfterwardsAndTheGridStays)
{
    // A dense template: a grid of texts that all need half as much again.
    std::vector<ReflowItem> items;
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < 5; ++column)
            items.push_back(Text(4 + 30 * column, 4 + 16 * row, 28, 14, 42 + row, 18));
    const std::vector<ReflowItem> before = items;
    ReflowSize client{158, 70};
    ReflowToFit(items, client, kPadding);
    // The grid stays a grid: edges level before are level after.
    for (std::size_t a = 0; a < items.size(); ++a)
        for (std::size_t b = 0; b < items.size(); ++b) {
            const ReflowRect& ta = before[a].rect;
            const ReflowRect& tb = before[b].rect;
            const ReflowRect& ra = items[a].rect;
            const ReflowRect& rb = items[b].rect;
            EXPECT_TRUE(ta.x != tb.x || ra.x == rb.x) << "left edges of " << a << " and " << b;
            EXPECT_TRUE(ta.Right() != tb.Right() || ra.Right() == rb.Right()) << "right edges of " << a << " and " << b;
            EXPECT_TRUE(ta.y != tb.y || ra.y == rb.y) << "top edges of " << a << " and " << b;
            EXPECT_TRUE(ta.Bottom() != tb.Bottom() || ra.Bottom() == rb.Bottom()) << "bottoms of " << a << " and " << b;
        }
    for (std::size_t a = 0; a < items.size(); ++a) {
        const ReflowRect& r = items[a].rect;
        EXPECT_GE(r.width, items[a].needWidth);
        EXPECT_GE(r.height, items[a].needHeight);
        EXPECT_LE(r.Right(), client.width);
        EXPECT_LE(r.Bottom(), client.height);
        for (std::size_t b = a + 1; b < items.size(); ++b) {
            const ReflowRect& s = items[b].rect;
            bool overlap = r.x < s.Right() && s.x < r.Right() && r.y < s.Bottom() && s.y < r.Bottom();
            EXPECT_FALSE(overlap) << "items " << a << " and " << b;
        }
    }
}
