// The printed report's pages and positions for the report's known cases: an
// A4 printable area of 2100 x 2970 tenths of a millimetre.

#include "view/PrintLayout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

namespace {

constexpr int kW = 2100;
constexpr int kH = 2970;

char Digit(int v) { return static_cast<char>('0' + v); }

std::string Code(int group, int item)
{
    std::string code;
    code += Digit(group / 10);
    code += Digit(group % 10);
    code += '-';
    code += Digit(item / 10);
    code += Digit(item % 10);
    return code;
}

// A table whose group g has definedPerGroup[g] parameters; record 1 of a
// group is a placeholder (not defined), so the printed rows skip it.
struct Table {
    std::vector<GroupRec> groups;
    uint32_t defined[15][100] = {};

    explicit Table(const std::vector<int>& definedPerGroup)
    {
        for (int g = 0; g < static_cast<int>(definedPerGroup.size()); ++g) {
            GroupRec group;
            group.m_strName = "Group " + std::to_string(g);
            int records = definedPerGroup[g] + (definedPerGroup[g] > 1 ? 1 : 0);
            for (int item = 0; item < records; ++item) {
                bool placeholder = item == 1;
                ParamRec param;
                param.m_strLabel = Code(g, item) + (placeholder ? "reserved" : "Parameter");
                param.m_strFactory = "F" + std::to_string(item);
                param.m_strValue = "V" + std::to_string(item);
                param.m_strRead = "READ";
                group.m_Params.push_back(param);
                defined[g][item] = placeholder ? 0 : 1;
            }
            groups.push_back(group);
        }
    }
};

const PrintTexts kTexts{"Parameter Setting List", "Test bench", "A. Tester", "Date:2026-03-07", "Time:09:05:03"};

std::vector<PrintItem> RowTexts(const std::vector<PrintItem>& items, PrintFont font = PrintFont::Row)
{
    std::vector<PrintItem> out;
    for (const PrintItem& item : items)
        if (item.m_kind == PrintItem::Text && item.m_font == font)
            out.push_back(item);
    return out;
}

const PrintItem* FindText(const std::vector<PrintItem>& items, const std::string& text)
{
    for (const PrintItem& item : items)
        if (item.m_kind == PrintItem::Text && item.m_strText == text)
            return &item;
    return nullptr;
}

} // namespace

TEST(PrintLayout, PageCountFollowsTheRowCount)
{
    // {rows, pages}: page 1 holds 30 rows, every later page 35.
    const std::pair<int, int> cases[] = {{0, 1}, {1, 1}, {29, 1}, {30, 1}, {31, 2}, {65, 2}, {66, 3}, {100, 3}, {101, 4}};
    for (auto [rows, pages] : cases)
        EXPECT_EQ(CPrintLayout::PageCountOf(rows), pages) << rows << " rows";
    EXPECT_EQ(CPrintLayout::FirstRowOf(1), 0);
    EXPECT_EQ(CPrintLayout::LastRowOf(1), 29);
    EXPECT_EQ(CPrintLayout::FirstRowOf(2), 30);
    EXPECT_EQ(CPrintLayout::LastRowOf(2), 64);
    EXPECT_EQ(CPrintLayout::FirstRowOf(3), 65);
    EXPECT_EQ(CPrintLayout::LastRowOf(3), 99);

    // Rows are counted from the table: heading plus defined parameters.
    Table table({3, 0, 2});
    CPrintLayout layout(table.groups, table.defined);
    EXPECT_EQ(layout.RowCount(), 3 + 3 + 0 + 2);
}

TEST(PrintLayout, FirstPageOfAnA4Sheet)
{
    Table table({40});
    CPrintLayout layout(table.groups, table.defined);
    ASSERT_EQ(layout.RowCount(), 41);
    auto items = layout.Page(1, kW, kH, kTexts);

    auto rows = RowTexts(items);
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(rows[0].m_strText, "[Group 0]");
    EXPECT_EQ(rows[0].m_x, 50);
    EXPECT_EQ(rows[0].m_y, -550);
    // Row 1: label, factory default and set value; the value read from a
    // drive is not printed.
    EXPECT_EQ(rows[1].m_strText, "00-00Parameter");
    EXPECT_EQ(rows[1].m_x, 100);
    EXPECT_EQ(rows[1].m_y, -623);
    EXPECT_EQ(rows[2].m_strText, "F0");
    EXPECT_EQ(rows[2].m_x, 1470);
    EXPECT_EQ(rows[3].m_strText, "V0");
    EXPECT_EQ(rows[3].m_x, 1805);
    EXPECT_EQ(FindText(items, "READ"), nullptr);
    EXPECT_EQ(FindText(items, "00-01reserved"), nullptr);
    // 30 rows, the last one at -2667.
    EXPECT_EQ(rows.back().m_y, -2667);
    EXPECT_EQ(rows.size(), 1u + 29u * 3u);

    // Title block.
    const PrintItem* title = FindText(items, kTexts.m_strTitle);
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->m_font, PrintFont::Title);
    EXPECT_TRUE(title->m_bCentered);
    EXPECT_EQ(title->m_x, 830);
    EXPECT_EQ(title->m_y, -120);
    const PrintItem* department = FindText(items, "Department:Test bench");
    ASSERT_NE(department, nullptr);
    EXPECT_EQ(department->m_x, 50);
    EXPECT_EQ(department->m_y, -280);
    const PrintItem* name = FindText(items, "Name:A. Tester");
    ASSERT_NE(name, nullptr);
    EXPECT_EQ(name->m_x, 1260);
    EXPECT_EQ(name->m_y, -280);

    // Rules: under the title, and the band's.
    std::vector<std::pair<int, int>> rules;
    for (const PrintItem& item : items)
        if (item.m_kind == PrintItem::Rule) {
            EXPECT_EQ(item.m_x, 0);
            EXPECT_EQ(item.m_x2, kW);
            EXPECT_EQ(item.m_y, item.m_y2);
            rules.emplace_back(item.m_y, 0);
        }
    ASSERT_EQ(rules.size(), 2u);
    EXPECT_EQ(rules[0].first, -200);
    EXPECT_EQ(rules[1].first, -473);

    // Band headings.
    const std::pair<const char*, int> band[] = {{"Parameter Name", 50}, {"Default", 1285}, {"Set Value", 1680}};
    for (auto [text, x] : band) {
        const PrintItem* heading = FindText(items, text);
        ASSERT_NE(heading, nullptr) << text;
        EXPECT_EQ(heading->m_font, PrintFont::Label);
        EXPECT_EQ(heading->m_x, x) << text;
        EXPECT_EQ(heading->m_y, 70 - 73 - 400) << text;
    }

    // Footer.
    const std::tuple<std::string, int, int> footer[] = {
        {kTexts.m_strDate, 50, -2770}, {kTexts.m_strTime, 50, -2830}, {"Page:", 1600, -2830}, {"1", 1750, -2830}};
    for (const auto& [text, x, y] : footer) {
        const PrintItem* item = FindText(items, text);
        ASSERT_NE(item, nullptr) << text;
        EXPECT_EQ(item->m_font, PrintFont::Label);
        EXPECT_EQ(item->m_x, x) << text;
        EXPECT_EQ(item->m_y, y) << text;
    }
}

TEST(PrintLayout, LaterPagesContinueWithoutTheTitleBlock)
{
    // Group 0 ends on row 29, the last row of page 1; group 1's heading is
    // row 30, the first of page 2; 100 rows fill page 3 to its last row.
    Table table({29, 69});
    CPrintLayout layout(table.groups, table.defined);
    ASSERT_EQ(layout.RowCount(), 100);
    ASSERT_EQ(layout.PageCount(), 3);

    auto page2 = layout.Page(2, kW, kH, kTexts);
    EXPECT_EQ(FindText(page2, kTexts.m_strTitle), nullptr);
    EXPECT_EQ(FindText(page2, "Department:Test bench"), nullptr);
    auto rows = RowTexts(page2);
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(rows.front().m_strText, "[Group 1]");
    EXPECT_EQ(rows.front().m_y, -300);
    EXPECT_EQ(rows.back().m_y, -2646);
    int bandRules = 0;
    for (const PrintItem& item : page2)
        if (item.m_kind == PrintItem::Rule) {
            EXPECT_EQ(item.m_y, -219);
            ++bandRules;
        }
    EXPECT_EQ(bandRules, 1);
    EXPECT_NE(FindText(page2, "2"), nullptr);

    auto page3 = RowTexts(layout.Page(3, kW, kH, kTexts));
    ASSERT_FALSE(page3.empty());
    EXPECT_EQ(page3.front().m_y, -300);
    EXPECT_EQ(page3.back().m_y, -2646);
    // Row 99 is group 1's 69th parameter, item 69 of the table.
    EXPECT_EQ(page3.back().m_strText, "V69");
}

TEST(PrintLayout, HeadingOnTheLastRowIsNotRepeated)
{
    // Group 0 fills rows 0 to 28; group 1's heading is row 29.
    Table table({28, 3});
    CPrintLayout layout(table.groups, table.defined);
    auto page1 = RowTexts(layout.Page(1, kW, kH, kTexts));
    EXPECT_EQ(page1.back().m_strText, "[Group 1]");
    EXPECT_EQ(page1.back().m_y, -2667);
    auto page2 = RowTexts(layout.Page(2, kW, kH, kTexts));
    ASSERT_FALSE(page2.empty());
    EXPECT_EQ(page2.front().m_strText, "01-00Parameter");
    EXPECT_EQ(page2.front().m_y, -300);
    EXPECT_EQ(std::count_if(page2.begin(), page2.end(), [](const PrintItem& i) { return i.m_strText[0] == '['; }), 0);
}

TEST(PrintLayout, GroupWithoutDefinedParametersPrintsItsHeading)
{
    Table table({1, 0, 1});
    CPrintLayout layout(table.groups, table.defined);
    auto rows = RowTexts(layout.Page(1, kW, kH, kTexts));
    std::vector<std::string> labels;
    for (const PrintItem& item : rows)
        if (item.m_x <= 100)
            labels.push_back(item.m_strText);
    EXPECT_EQ(labels, (std::vector<std::string>{"[Group 0]", "00-00Parameter", "[Group 1]", "[Group 2]", "02-00Parameter"}));
}

TEST(PrintLayout, EmptyTableAndEmptyTitle)
{
    // No groups: one page with the footer alone.
    Table empty({});
    CPrintLayout layout(empty.groups, empty.defined);
    EXPECT_EQ(layout.PageCount(), 1);
    auto items = layout.Page(1, kW, kH, kTexts);
    ASSERT_EQ(items.size(), 4u);
    EXPECT_EQ(items[0].m_strText, kTexts.m_strDate);
    EXPECT_EQ(items[3].m_strText, "1");

    // An empty title draws nothing at its place; the rule and the lines
    // under it stay.
    Table table({2});
    CPrintLayout withRows(table.groups, table.defined);
    PrintTexts untitled = kTexts;
    untitled.m_strTitle.clear();
    auto page = withRows.Page(1, kW, kH, untitled);
    for (const PrintItem& item : page)
        EXPECT_NE(item.m_font, PrintFont::Title);
    EXPECT_NE(FindText(page, "Department:Test bench"), nullptr);
    EXPECT_EQ(std::count_if(page.begin(), page.end(), [](const PrintItem& i) { return i.m_kind == PrintItem::Rule && i.m_y == -200; }), 1);
}

TEST(PrintLayout, LongLabelOfParameter1015)
{
    auto label = [](std::size_t length) {
        std::string text = "10-15";
        while (text.size() < length)
            text += static_cast<char>('a' + text.size() % 26);
        return text;
    };
    // {length, printed length}
    const std::pair<std::size_t, std::size_t> cases[] = {{60, 60}, {73, 73}, {74, 73}, {80, 73}, {81, 74}, {100, 93}};
    for (auto [length, printed] : cases) {
        std::string text = label(length);
        std::string out = CPrintLayout::PrintedLabel(10, text);
        EXPECT_EQ(out.size(), printed) << length;
        EXPECT_EQ(out.substr(0, std::min<std::size_t>(73, length)), text.substr(0, std::min<std::size_t>(73, length)));
        if (length > 80) {
            EXPECT_EQ(out.substr(73), text.substr(80));
        }
    }
    // Other parameters and other groups keep their labels.
    EXPECT_EQ(CPrintLayout::PrintedLabel(10, "10-16" + label(90)), "10-16" + label(90));
    EXPECT_EQ(CPrintLayout::PrintedLabel(11, label(90)), label(90));
    // Characters, not bytes: a multi-byte character is never cut in half.
    std::string wide = "10-15";
    for (int i = 0; i < 80; ++i)
        wide += "\xE5\x8F\x82"; // one three-byte character
    std::string cut = CPrintLayout::PrintedLabel(10, wide);
    EXPECT_EQ(cut.size(), wide.size() - 7 * 3);
}

TEST(PrintLayout, FooterDateAndTimeTexts)
{
    std::tm when{};
    when.tm_year = 2026 - 1900;
    when.tm_mon = 2;
    when.tm_mday = 7;
    when.tm_hour = 9;
    when.tm_min = 5;
    when.tm_sec = 3;
    EXPECT_EQ(CPrintLayout::DateText(when), "Date:2026-03-07");
    EXPECT_EQ(CPrintLayout::TimeText(when), "Time:09:05:03");

    // Labels as a translation may write them. The year goes where "%d"
    // stands; any other conversion, "%s" above all, stays plain text and
    // reads nothing that was never passed.
    const std::pair<const char*, const char*> dates[] = {
        {"Datum %d-", "Datum 2026-03-07"},
        {"%s:", "%s:2026-03-07"},
        {"%d %s %d:", "2026 %s %d:03-07"},
        {"100%% ", "100% 2026-03-07"},
        {"", "2026-03-07"},
        {"trailing %", "trailing %2026-03-07"},
    };
    for (auto [label, text] : dates)
        EXPECT_EQ(CPrintLayout::DateText(when, label), text) << label;
    EXPECT_EQ(CPrintLayout::TimeText(when, "%s %d %%:"), "%s  %:09:05:03");
}
