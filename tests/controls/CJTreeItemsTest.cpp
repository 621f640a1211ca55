// The navigator tree's walk and text search, without a window.

#include "controls/CJTreeItems.h"

#include <gtest/gtest.h>

namespace {

// Project
//   Parameter
//     Speed
//     speed limit
//     Marks word_ _word word
//   Monitor
//     Status
// Help
class TreeWalk : public ::testing::Test {
protected:
    void SetUp() override
    {
        project = items.AddRoot("Project", 0);
        parameter = items.AppendItem(project, "Parameter", 2000);
        speed = items.AppendItem(parameter, "Speed", 2002);
        speedLimit = items.AppendItem(parameter, "speed limit", 2004);
        marks = items.AppendItem(parameter, "Marks word_ _word word", 2006);
        monitor = items.AppendItem(project, "Monitor", 3000);
        status = items.AppendItem(monitor, "Status", 3002);
        help = items.AddRoot("Help", 4000);
    }

    CCJTreeItems items;
    CJTreeItem *project, *parameter, *speed, *speedLimit, *marks, *monitor, *status, *help;
};

TEST_F(TreeWalk, NextPrevAndLastFollowFullTreeOrder)
{
    const std::vector<CJTreeItem*> order{project, parameter, speed, speedLimit, marks, monitor, status, help};
    for (std::size_t i = 0; i + 1 < order.size(); ++i) {
        EXPECT_EQ(items.GetNextItem(order[i]), order[i + 1]) << order[i]->text;
        EXPECT_EQ(items.GetPrevItem(order[i + 1]), order[i]) << order[i + 1]->text;
    }
    EXPECT_EQ(items.GetNextItem(help), nullptr);
    EXPECT_EQ(items.GetPrevItem(project), nullptr);
    EXPECT_EQ(items.GetLastItem(nullptr), help);
    EXPECT_EQ(items.GetLastItem(project), status);
    EXPECT_EQ(items.GetLastItem(speed), speed);
    EXPECT_EQ(items.GetCount(), 8u);
}

TEST_F(TreeWalk, FindItemCases)
{
    struct Case {
        const char* text;
        bool matchCase;
        bool downward;
        bool wholeWord;
        CJTreeItem* start;
        CJTreeItem* selected;
        CJTreeItem* expected;
        const char* why;
    };
    const Case cases[] = {
        {"", false, true, false, nullptr, nullptr, nullptr, "an empty text finds nothing"},
        {"", false, true, false, speed, speed, nullptr, "not even at a start item"},
        {"speed", false, true, false, nullptr, nullptr, speed, "without case: the first from the root"},
        {"speed", true, true, false, nullptr, nullptr, speedLimit, "with case: 'Speed' does not count"},
        {"SPEED", true, true, false, nullptr, nullptr, nullptr, "with case: nothing is upper case"},
        {"speed", false, false, false, nullptr, nullptr, speedLimit,
         "upward from no selection: from the last item back"},
        {"s", false, false, false, nullptr, nullptr, status, "upward: the last item is tried first after Help"},
        {"speed", false, true, false, nullptr, speedLimit, speedLimit, "no start: the selected item is the start"},
        {"speed", false, true, false, marks, nullptr, speed, "downward past the end wraps to the root"},
        {"Help", false, false, false, project, nullptr, help,
         "upward past the root wraps to the last item"},
        {"nowhere", false, true, false, marks, nullptr, nullptr, "one wrap, back at the start: nothing"},
        {"word", false, true, true, nullptr, nullptr, marks, "whole word: the third occurrence counts"},
        {"wor", false, true, true, nullptr, nullptr, nullptr, "whole word: a part of a word never counts"},
        {"limit", false, true, true, nullptr, nullptr, speedLimit, "whole word at the end of the text"},
        {"Para", false, true, true, nullptr, nullptr, nullptr, "whole word: followed by a letter"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(items.FindItem(c.text, c.matchCase, c.downward, c.wholeWord, c.start, c.selected), c.expected)
            << c.why;
    }
}

TEST_F(TreeWalk, FindSkipsItemsTheFilterRefuses)
{
    auto notSpeed = [this](const CJTreeItem* item) { return item != speed; };
    EXPECT_EQ(items.FindItem("speed", false, true, false, nullptr, nullptr, notSpeed), speedLimit);
    auto none = [](const CJTreeItem*) { return false; };
    EXPECT_EQ(items.FindItem("speed", false, true, false, nullptr, nullptr, none), nullptr);
}

TEST(TreeWalkEmpty, AnEmptyTreeFindsNothing)
{
    CCJTreeItems items;
    EXPECT_EQ(items.FindItem("x", false, true, false, nullptr, nullptr), nullptr);
    EXPECT_EQ(items.FindItem("x", false, false, false, nullptr, nullptr), nullptr);
    EXPECT_EQ(items.GetLastItem(nullptr), nullptr);
}

TEST(TreeText, WholeWordTriesEveryOccurrence)
{
    struct Case {
        const char* text;
        const char* what;
        bool expected;
        const char* why;
    };
    const Case cases[] = {
        {"word_ _word word", "word", true, "glued to '_' twice, then free"},
        {"word_ _word", "word", false, "only glued occurrences"},
        {"aword", "word", false, "a letter before"},
        {"word1", "word", true, "a digit is a boundary"},
        {"(word)", "word", true, "punctuation is a boundary"},
        {"word", "word", true, "the text edges are boundaries"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CCJTreeItems::TextMatches(c.text, c.what, true, true), c.expected) << c.why;
}

} // namespace
