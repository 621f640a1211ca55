// The pages of groups 03, 04 and 07 against the simulated drive: their model
// and version rules, the packed contact row, the running exemptions, the
// frames of each row button and of Transmit Group, and OK's flags.

#include "tests/editor/EditorTestSupport.h"

#include "document/ModelTables.h"
#include "editor/EditorStrings.h"
#include "platform/ResourceModule.h"

namespace {

constexpr int kPlain = 0x1100000;
constexpr int kFirst = 0x1100001;
constexpr int kSecondBase = 0x1110000;
constexpr unsigned kRetained = 61580;
constexpr unsigned kVersionRange = 61622;

std::string VersionRange(const char* item, const char* range)
{
    return FormatResString(kVersionRange, item, range);
}

} // namespace

class Groups03To07Test : public EditorTest {
protected:
    std::vector<int>& Digits() { return Page(0).m_rows[8].digits; }
    std::string Range(int page, int row) { return Page(page).m_rows[static_cast<std::size_t>(row)].rangeText; }
    // One row button on station 1: the message it ended with, "" for none.
    std::string Press(int page, int row)
    {
        EditorTest::Press(page, row);
        return m_messages.Texts().empty() ? std::string() : m_messages.Texts().back();
    }
};

TEST_F(Groups03To07Test, ContactTypesArePackedFiveDigitsSentAsBits)
{
    Connect(kFirst);
    struct Case {
        std::vector<int> digits; // S5 .. S1
        const char* stored;
        uint16_t word;
    } cases[] = {
        {{1, 0, 1, 1, 0}, "10110", 22},
        {{0, 0, 0, 0, 1}, "00001", 1},
        {{1, 1, 1, 1, 1}, "11111", 31},
        {{0, 0, 0, 0, 0}, "00000", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        Open(3);
        Digits() = c.digits;
        m_drive->ClearFrameLog();
        EXPECT_EQ(Press(0, 8), Msg(IDS_WRITE_SUCCESSFUL));
        EXPECT_EQ(WriteFrames(), std::vector<std::string>{SingleFrame(1, 0x0309, c.word)});
        ASSERT_TRUE(m_editor->ApplyGroup());
        EXPECT_EQ(SetValue(3, 9), c.stored);
    }
    // A short stored text reads its missing digits as 0.
    SetValue(3, 9) = "1";
    Open(3);
    EXPECT_EQ(Digits(), (std::vector<int>{1, 0, 0, 0, 0}));
}

TEST_F(Groups03To07Test, IntegerLimitsFollowTheModelCode)
{
    // 03-08 (page 0 row 7) and 04-01/04-06 (page 0 rows 1 and 6): 1 to 400,
    // or 1 to 200 above 0x1100000; typing beyond reverts without a message.
    struct Case {
        int code;
        const char* range;
        const char* highest;
        const char* beyond;
    } cases[] = {{kPlain, "1~400", "400", "401"}, {kFirst, "1~200", "200", "201"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        MakeProject(c.code);
        Open(3);
        EXPECT_EQ(Range(0, 7), c.range);
        EXPECT_EQ(Page(0).Row(7).rangeTextId, 1101);
        EXPECT_EQ(Page(0).Filter(7, "1", c.highest), c.highest);
        EXPECT_EQ(Page(0).Filter(7, "1", c.beyond), "1");
        Open(4);
        EXPECT_EQ(Range(0, 1), c.range);
        EXPECT_EQ(Range(0, 6), c.range);
        EXPECT_EQ(Page(0).Row(1).rangeTextId, 1075);
        EXPECT_EQ(Page(0).Row(6).rangeTextId, 1078);
        EXPECT_EQ(Page(0).Filter(6, "1", c.highest), c.highest);
        EXPECT_EQ(Page(0).Filter(6, "1", c.beyond), "1");
        EXPECT_TRUE(m_messages.Texts().empty());
    }

    // Group 04 page 1 on 0x1100001: only a text that is no whole number prompts.
    MakeProject(kFirst);
    Open(4);
    const struct {
        const char* typed;
        const char* kept;
        bool prompt;
    } typed[] = {{"201", "7", false}, {"0", "7", false}, {"12a", "7", true}, {"-5", "7", false}, {"", "", false}};
    for (const auto& t : typed) {
        SCOPED_TRACE(t.typed);
        m_messages.Clear();
        EXPECT_EQ(Page(0).Filter(1, "7", t.typed), t.kept);
        EXPECT_EQ(m_messages.Texts(), t.prompt ? std::vector<std::string>{Msg(IDS_ENTER_INTEGER)}
                                               : std::vector<std::string>{});
    }
    // 04-02 takes 0; 04-12 reverts silently on page 2, prompts on its extended form.
    EXPECT_EQ(Page(0).Filter(2, "5", "0"), "0");
    m_messages.Clear();
    EXPECT_EQ(Page(1).Filter(2, "5", "1001"), "5");
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{"Please enter an integer between 0 and 1000."});
    m_messages.Clear();
    EXPECT_EQ(Page(1).Filter(7, "5", "101"), "5"); // 04-17
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{"Please enter an integer between 0 and 100."});
    MakeProject(kPlain);
    Open(4);
    EXPECT_EQ(Page(1).Filter(2, "5", "1001"), "5");
    EXPECT_TRUE(m_messages.Texts().empty());
}

TEST_F(Groups03To07Test, ProjectValuesOutsideTheTypingRangeAreStoredButNeverSent)
{
    Connect(kFirst);
    SetValue(3, 8) = "0";
    Open(3);
    EXPECT_EQ(Press(0, 7), Msg(IDS_BEYOND_RANGE));
    EXPECT_EQ(m_host.m_focus, std::make_pair(0, 7));
    EXPECT_TRUE(WriteFrames().empty());
    ASSERT_TRUE(m_editor->ApplyGroup());
    EXPECT_EQ(SetValue(3, 8), "0");

    // 03-06: 5.00 is sent as 500; 5.01 from the project blocks OK and every row.
    Text(0, 5) = "5.00";
    EXPECT_EQ(Press(0, 5), Msg(IDS_WRITE_SUCCESSFUL));
    EXPECT_EQ(WriteFrames(), std::vector<std::string>{SingleFrame(1, 0x0306, 500)});
    SetValue(3, 6) = "5.01";
    SetValue(3, 8) = "10";
    Open(3);
    m_drive->ClearFrameLog();
    EXPECT_EQ(Press(0, 0), Msg(IDS_BEYOND_RANGE));
    m_messages.Clear();
    EXPECT_FALSE(m_editor->ApplyGroup());
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{Msg(IDS_BEYOND_RANGE)});
    EXPECT_TRUE(WriteFrames().empty());

    // Group 04: OK stores 04-01 = 0; Transmit Group refuses it.
    SetValue(4, 1) = "0";
    Open(4);
    m_messages.Clear();
    ASSERT_TRUE(m_editor->ApplyGroup());
    EXPECT_EQ(SetValue(4, 1), "0");
    m_host.m_stations = {1};
    m_editor->OnTransmitGroup();
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{Msg(IDS_BEYOND_RANGE)});
    EXPECT_EQ(m_editor->m_nShownTab, 0);
    EXPECT_TRUE(WriteFrames().empty());
}

TEST_F(Groups03To07Test, SupplyLevelsOf03_20And03_21FollowTheVoltageClass)
{
    struct Case {
        int code;
        const char* range;
        const char* lowest;
        const char* below;
    } cases[] = {
        {0x1100191, "500.0~800.0", "500.0", "499.9"}, {0x110019F, "500.0~800.0", "800.0", "499.9"},
        {0x1110193, "500.0~800.0", "500.0", "499.9"}, {0x1100190, "240.0~400.0", "240.0", "239.9"},
        {0x11001A0, "240.0~400.0", "400.0", "400.1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        MakeProject(c.code);
        Open(3);
        EXPECT_EQ(Page(1).Table().className, std::string("CGroup03Page2ExDlg"));
        for (int row : {7, 8}) {
            EXPECT_EQ(Range(1, row), c.range);
            EXPECT_EQ(Page(1).Row(row).rangeTextId, 1068 + row);
            Text(1, row) = c.lowest;
            m_messages.Clear();
            EXPECT_TRUE(Page(1).CheckRange(m_context));
            Text(1, row) = c.below;
            EXPECT_FALSE(Page(1).CheckRange(m_context));
            EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{Msg(IDS_BEYOND_RANGE)});
            Text(1, row) = c.lowest;
        }
    }
}

TEST_F(Groups03To07Test, DelayOf03_15FollowsTheDriveSoftware)
{
    Connect(kFirst, 1050);
    Open(3);
    Text(1, 2) = "15.0";
    EXPECT_EQ(Press(1, 2), Msg(IDS_WRITE_SUCCESSFUL));
    Text(1, 2) = "15.1";
    EXPECT_EQ(Press(1, 2), VersionRange("03-15", "0.1~15.0"));
    EXPECT_EQ(m_host.m_focus, std::make_pair(1, 2));
    EXPECT_EQ(Page(1).Filter(2, "99.9", "999.9"), "999.9"); // typing takes 999.9 whatever the software
    EXPECT_EQ(WriteFrames(), std::vector<std::string>{SingleFrame(1, 0x030F, 150)});

    // The whole group is refused the same way, nothing sent, flags kept.
    m_doc.m_Changed[3][12] = 1;
    m_messages.Clear();
    m_host.m_stations = {1};
    m_editor->OnTransmitGroup();
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{VersionRange("03-15", "0.1~15.0")});
    EXPECT_EQ(WriteFrames().size(), 1u);
    EXPECT_EQ(m_doc.m_Changed[3][12], 1u);

    m_drive->SetRegister(1, 0x0D01, 1060);
    Text(1, 2) = "999.9";
    m_drive->ClearFrameLog();
    EXPECT_EQ(Press(1, 2), Msg(IDS_WRITE_SUCCESSFUL));
    EXPECT_EQ(WriteFrames(), std::vector<std::string>{SingleFrame(1, 0x030F, 9999)});
}

TEST_F(Groups03To07Test, FramesOfEachPageBeforeItsWrite)
{
    // Page 1 and the extended page 2 read the software version, page 2 does not.
    struct Case {
        int code, page, row;
        std::vector<std::string> shapes;
    } cases[] = {
        {kFirst, 0, 0, {"R 0D07 x1", "R 2520 x1", "R 0D01 x1", "S 0300"}},
        {kPlain, 1, 0, {"R 0D07 x1", "R 2520 x1", "S 030D"}},
        {kFirst, 1, 0, {"R 0D07 x1", "R 2520 x1", "R 0D01 x1", "S 030D"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        TearDown();
        Connect(c.code);
        Open(3);
        EXPECT_EQ(Press(c.page, c.row), Msg(IDS_WRITE_SUCCESSFUL));
        EXPECT_EQ(Shapes(), c.shapes);
    }
}

TEST_F(Groups03To07Test, RunningDriveRefusesAllButTheExemptRows)
{
    struct Case {
        int code, group;
        std::vector<std::pair<int, int>> written; // page, row written while running
    } cases[] = {
        {kFirst, 3, {{1, 0}, {1, 1}}},
        {kPlain, 3, {{1, 0}, {1, 1}}},
        {kFirst, 4, {{0, 2}, {0, 3}, {0, 4}, {0, 5}, {0, 7}, {0, 8}, {0, 9}, {1, 0}, {1, 1}, {1, 2}, {1, 3}, {1, 4},
                     {1, 5}, {1, 6}, {1, 7}, {1, 8}, {1, 9}}},
        {kFirst, 7, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.group * 100 + c.code % 16);
        TearDown();
        Connect(c.code);
        m_drive->SetRunning(kSimAllStations, true);
        Open(c.group);
        for (int p = 0; p < static_cast<int>(m_editor->m_Pages.size()); ++p)
            for (int r = 0; r < Page(p).RowCount(); ++r) {
                SCOPED_TRACE(p * 10 + r);
                const bool exempt = std::find(c.written.begin(), c.written.end(), std::make_pair(p, r)) != c.written.end();
                EXPECT_EQ(Press(p, r), Msg(exempt ? IDS_WRITE_SUCCESSFUL : IDS_DRIVE_RUNNING));
            }
    }
    // The second pages of group 04 write without reading the running state.
    m_drive->ClearFrameLog();
    TearDown();
    Connect(kFirst);
    m_drive->SetRunning(kSimAllStations, true);
    Open(4);
    EXPECT_EQ(Press(1, 2), Msg(IDS_WRITE_SUCCESSFUL));
    EXPECT_EQ(Shapes(), (std::vector<std::string>{"R 0D07 x1", "R 0D01 x1", "S 040C"}));
}

TEST_F(Groups03To07Test, RefusedRepliesOfPageOneNameTheStationWithoutABreak)
{
    Connect(kFirst);
    Open(3);
    m_drive->ForceException(3, 0x0300, 0x54);
    m_drive->ForceException(3, 0x030D, 0x54);
    m_host.m_stations = {3, 3};
    EXPECT_FALSE(m_editor->OnParamButton(0, 0));
    EXPECT_FALSE(m_editor->OnParamButton(1, 0));
    EXPECT_EQ(m_messages.Texts(),
              (std::vector<std::string>{"Station Num 3Communication error!", "Station Num 3\nDATA Over Range"}));
}

TEST_F(Groups03To07Test, OutputPageVersionGateOfGroup04)
{
    struct Case {
        int code, version;
        bool lastFourWritten;
    } cases[] = {{0x1100065, 1059, false}, {0x1100065, 1060, true}, {0x1110065, 1059, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code + c.version);
        TearDown();
        Connect(c.code, c.version);
        Open(4);
        for (int r = 0; r < 10; ++r) {
            SCOPED_TRACE(r);
            EXPECT_EQ(Press(1, r), Msg(r < 6 || c.lastFourWritten ? IDS_WRITE_SUCCESSFUL : kRetained));
        }
    }
    // Words as sent: 04-07 = 1000 in bytes 4 and 5, 04-00 option 3.
    m_drive->ClearFrameLog();
    Text(0, 7) = "1000";
    Selection(0, 0) = 3;
    EXPECT_EQ(Press(0, 7), Msg(IDS_WRITE_SUCCESSFUL));
    EXPECT_EQ(Press(0, 0), Msg(IDS_WRITE_SUCCESSFUL));
    EXPECT_EQ(WriteFrames(), (std::vector<std::string>{SingleFrame(1, 0x0407, 0x03E8), SingleFrame(1, 0x0400, 3)}));
}

TEST_F(Groups03To07Test, FilterTimeOf07_01FollowsFamilyAndSoftware)
{
    MakeProject(kPlain);
    Open(7);
    EXPECT_EQ(Range(0, 1), "0.0~800.0");
    EXPECT_EQ(Page(0).Filter(1, "500.0", "5000"), "500.0");
    EXPECT_EQ(Page(0).Filter(1, "80", "800"), "800");

    struct Case {
        int code, version;
        bool written;
    } cases[] = {{0x1100065, 1092, false}, {0x1100065, 1093, true}, {kSecondBase, 1200, false},
                 {0x1110065, 1119, false}, {0x1110065, 1120, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code + c.version);
        TearDown();
        Connect(c.code, c.version);
        Open(7);
        EXPECT_EQ(Range(0, 1), "0.0~6000.0");
        Text(0, 1) = "5000.0";
        EXPECT_TRUE(Page(0).CheckRange(m_context));
        EXPECT_EQ(Press(0, 1), c.written ? Msg(IDS_WRITE_SUCCESSFUL) : VersionRange("07-01", "0.0~800.0"));
        EXPECT_EQ(WriteFrames(), c.written ? std::vector<std::string>{SingleFrame(1, 0x0701, 50000)}
                                           : std::vector<std::string>{});
        if (!c.written) {
            EXPECT_EQ(m_host.m_focus, std::make_pair(0, 1));
        }
    }
}

TEST_F(Groups03To07Test, RetriesOf07_07AndRestartsOf07_02)
{
    struct Case {
        int code;
        const char* range;
    } cases[] = {{0x1100065, "0~20"}, {0x11104B7, "0~20"}, {kPlain, "0~20"}, {0x4B2, "0~20"}, {0x11000CD, "0~100"},
                 {kSecondBase + 205, "0~100"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        MakeProject(c.code);
        Open(7);
        EXPECT_EQ(Range(0, 7), c.range);
        EXPECT_EQ(Page(0).Row(7).rangeTextId, 1099);
        EXPECT_EQ(Page(0).Filter(7, "3", "21"), std::string(c.range) == "0~20" ? "3" : "21");
        EXPECT_TRUE(m_messages.Texts().empty());
    }
    EXPECT_EQ(Page(0).Filter(2, "3", "11"), "3");
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{"Please enter an integer between 0 and 10."});
}

TEST_F(Groups03To07Test, VersionGatesOfGroup07)
{
    struct Case {
        int code, version, page, row;
        bool written;
    } cases[] = {
        {kFirst, 399, 0, 9, false},           {kFirst, 400, 0, 9, true},
        {kFirst, 399, 0, 3, true},            {0x1100065, 1049, 1, 0, false},
        {0x1100065, 1049, 1, 1, false},       {0x1100065, 1050, 1, 0, true},
        {0x1100065, 1050, 1, 1, true},        {0x1110065, 1000, 1, 1, true},
        {0x1100065, 1092, 1, 2, false},       {0x1100065, 1093, 1, 2, true},
        {0x1110065, 1119, 1, 2, false},       {0x1110065, 1120, 1, 2, true},
        {kSecondBase, 1200, 1, 2, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.code) + " " + std::to_string(c.version) + " row " + std::to_string(c.row));
        TearDown();
        Connect(c.code, c.version);
        Open(7);
        EXPECT_EQ(Press(c.page, c.row), Msg(c.written ? IDS_WRITE_SUCCESSFUL : kRetained));
        EXPECT_EQ(WriteFrames().size(), c.written ? 1u : 0u);
    }
    // Page 2 tests 07-11 on its own button only: a bad 07-11 blocks no other
    // row of its page, while a bad row of page 1 blocks every row there.
    Text(1, 1) = "30.0";
    EXPECT_EQ(Press(1, 0), Msg(IDS_WRITE_SUCCESSFUL));
    EXPECT_EQ(Press(1, 1), Msg(IDS_BEYOND_RANGE));
    EXPECT_EQ(m_host.m_focus, std::make_pair(1, 1));
    Text(1, 1) = "25.5";
    Text(0, 8) = "30.0";
    EXPECT_EQ(Press(0, 0), Msg(IDS_BEYOND_RANGE));
    EXPECT_EQ(m_host.m_focus, std::make_pair(0, 8));
    Text(0, 8) = "0.0";

    // 07-06: 0.10 is sent as 10; 0.09 is out of range.
    Text(0, 6) = "0.10";
    m_drive->ClearFrameLog();
    EXPECT_EQ(Press(0, 6), Msg(IDS_WRITE_SUCCESSFUL));
    EXPECT_EQ(WriteFrames(), std::vector<std::string>{SingleFrame(1, 0x0706, 10)});
    Text(0, 6) = "0.09";
    EXPECT_EQ(Press(0, 6), Msg(IDS_BEYOND_RANGE));
}

namespace {

// A value on every row of a group, and the words the block writer must send
// for them, written out from the tables of the group's registers.
struct GroupCase {
    int group, code;
    std::vector<std::vector<const char*>> texts; // per page, per row; option rows: the index
    std::vector<std::pair<int, std::vector<uint16_t>>> blocks;
};

const GroupCase kGroupCases[] = {
    {3, kFirst,
     {{"1", "2", "3", "4", "17", "4.50", "2", "150", "10110", "13"},
      {"50.00", "2.50", "999.9", "1.5", "3.25", "4.75", "1", "300.0", "399.9"}},
     {{0x0300, {1, 2, 3, 4, 17}},
      {0x0306, {450, 2, 150, 22}},
      {0x030B, {13}},
      {0x030D, {5000, 250, 9999, 15, 325, 475, 1, 3000, 3999}}},
    },
    {3, kPlain,
     {{"0", "1", "2", "3", "5", "0.01", "1", "400", "00001", "0"},
      {"599.00", "30.00", "15.0", "10.0", "20.00", "0.00", "0"}},
     {{0x0300, {0, 1, 2, 3, 5}}, {0x0306, {1, 1, 400, 1}}, {0x030B, {0}}, {0x030D, {59900, 3000, 150, 100, 2000, 0, 0}}}},
    {4, kFirst,
     {{"3", "200", "1000", "100", "1", "0", "1", "999", "0", "1"},
      {"1", "4", "1000", "100", "0", "1", "1000", "100", "1", "0"}},
     {{0x0400, {3, 200, 1000, 100, 1, 0, 1, 999, 0, 1, 1, 4, 1000, 100, 0, 1}}, {0x0410, {1000, 100, 1, 0}}}},
    {4, kPlain,
     {{"2", "400", "0", "0", "0", "1", "400", "0", "0", "0"}, {"0", "2", "0", "0", "1", "1"}},
     {{0x0400, {2, 400, 0, 0, 0, 1, 400, 0, 0, 0, 0, 2, 0, 0, 1, 1}}}},
    {7, kFirst,
     {{"1", "6000.0", "10", "1", "1", "300.0", "10.00", "20", "25.5", "1"}, {"100", "25.5", "1"}},
     {{0x0700, {1, 60000, 10, 1, 1, 3000, 1000, 20, 255}}, {0x0709, {1}}, {0x070A, {100, 255}}, {0x070C, {1}}}},
    {7, kPlain,
     {{"1", "800.0", "0", "0", "1", "1.0", "0.10", "0", "0.0", "1"}},
     {{0x0700, {1, 8000, 0, 0, 1, 10, 10, 0, 0}}, {0x0709, {1}}}},
};

} // namespace

TEST_F(Groups03To07Test, OkAndTransmitOfEveryLayout)
{
    for (const GroupCase& c : kGroupCases) {
        SCOPED_TRACE(c.group * 10000000 + c.code % 16);
        TearDown();
        Connect(c.code, 1130);
        CGroupEditor& editor = Open(c.group);
        ASSERT_EQ(editor.m_Pages.size(), c.texts.size());
        for (std::size_t p = 0; p < c.texts.size(); ++p) {
            CGroupPageModel& page = Page(static_cast<int>(p));
            ASSERT_EQ(page.RowCount(), static_cast<int>(c.texts[p].size()));
            for (int r = 0; r < page.RowCount(); ++r) {
                const std::string text = c.texts[p][static_cast<std::size_t>(r)];
                RowState& state = page.m_rows[static_cast<std::size_t>(r)];
                if (page.Row(r).kind == RowKind::Option)
                    state.selection = std::stoi(text);
                else if (page.Row(r).kind == RowKind::Packed)
                    for (std::size_t d = 0; d < text.size(); ++d)
                        state.digits[d] = text[d] - '0';
                else
                    state.text = text;
            }
        }
        m_host.m_stations = {2};
        editor.OnTransmitGroup();
        EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{Msg(IDS_WRITE_SUCCESSFUL)});
        std::vector<std::string> expected;
        for (const auto& [reg, words] : c.blocks)
            expected.push_back(BlockFrame(2, reg, words));
        EXPECT_EQ(WriteFrames(), expected);

        // OK after the transmit compares with what the drive took: no flags.
        ASSERT_TRUE(editor.ApplyGroup());
        EXPECT_FALSE(AnyFlag(c.group));

    }
}

TEST_F(Groups03To07Test, OkRaisesTheFlagsAtTheRowPositions)
{
    struct Change {
        int page, row;
        const char* text; // option rows: the index
        int position;
    };
    struct Case {
        int group;
        std::vector<Change> changes;
    } cases[] = {
        {3, {{0, 9, "13", 9}, {0, 8, "10110", 8}, {1, 8, "300.5", 18}}},
        {4, {{0, 7, "999", 7}, {1, 9, "1", 19}}},
        {7, {{0, 8, "25.5", 8}, {1, 2, "0", 12}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.group);
        MakeProject(kFirst);
        Open(c.group);
        std::vector<int> expected;
        for (const Change& change : c.changes) {
            RowState& state = Page(change.page).m_rows[static_cast<std::size_t>(change.row)];
            const RowKind kind = Page(change.page).Row(change.row).kind;
            if (kind == RowKind::Option)
                state.selection = std::stoi(change.text);
            else if (kind == RowKind::Packed)
                for (std::size_t d = 0; d < state.digits.size(); ++d)
                    state.digits[d] = change.text[d] - '0';
            else
                state.text = change.text;
            expected.push_back(change.position);
        }
        ASSERT_TRUE(m_editor->ApplyGroup());
        std::vector<int> raised;
        for (int position = 0; position < kItemCount; ++position)
            if (m_doc.m_Changed[c.group][position])
                raised.push_back(position);
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(raised, expected);
    }
}

TEST_F(Groups03To07Test, Group04OkFailsOnlyOnTheDataExchangeAndTabsFollowTheItem)
{
    MakeProject(kFirst);
    SetValue(4, 12) = "5000";
    CGroupEditor& editor = Open(4, 12);
    EXPECT_EQ(editor.m_nShownTab, 1);
    EXPECT_EQ(Page(1).m_nMarked, 2);
    // No range test of the page refuses it: the data exchange does, as in
    // the window, and nothing is stored.
    EXPECT_FALSE(editor.ApplyGroup());
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{FormatResString(IDS_ENTER_INTEGER_BETWEEN, 0, 1000)});
    EXPECT_EQ(m_host.m_focus, std::make_pair(1, 2));
    EXPECT_EQ(SetValue(4, 12), "5000");
    EXPECT_FALSE(AnyFlag(4));
    m_messages.Clear();

    MakeProject(kPlain);
    CGroupEditor& seven = Open(7, 10);
    EXPECT_EQ(seven.m_Pages.size(), 1u);
    EXPECT_EQ(seven.m_nShownTab, 0);
    EXPECT_EQ(Page(0).m_nMarked, -1);
    const std::string name = m_doc.m_Groups[3].m_strName;
    CGroupEditor& three = Open(3);
    EXPECT_EQ(three.m_Captions, (std::vector<std::string>{name + "-> 03-00 - 03-11 ", "    03-13 - 03-19    "}));
}

// Every model of the model table opens these groups with values that pass
// their own checks and convert to a word.
TEST_F(Groups03To07Test, EveryModelOpensTheseGroups)
{
    for (const ModelCodeEntry& model : ModelCodeTable()) {
        const int code = static_cast<int>(model.code);
        SCOPED_TRACE(model.name);
        MakeProject(code);
        for (int group : {3, 4, 7}) {
            SCOPED_TRACE(group);
            CGroupEditor& editor = Open(group);
            EXPECT_EQ(editor.m_Pages.size(), group == 7 && code <= kPlain ? 1u : 2u);
            for (auto& page : editor.m_Pages) {
                EXPECT_TRUE(page->CheckRange(m_context)) << page->Table().className;
                for (int r = 0; r < page->RowCount(); ++r) {
                    EXPECT_TRUE(m_doc.m_Defined[group][page->Row(r).item]) << page->Row(r).item;
                    std::string text;
                    ASSERT_TRUE(page->RowText(r, text)) << page->Row(r).item;
                    uint16_t word = 0;
                    EXPECT_TRUE(page->ValueForDrive(r, text, word, m_context)) << page->Row(r).item << " " << text;
                }
            }
            EXPECT_TRUE(m_messages.Texts().empty());
            m_messages.Clear();
        }
    }
}

// The engine: an integer row whose typing keeps it inside its bounds without
// data-exchange bounds still never sends a value outside them.
TEST_F(EditorTest, IntegerRowsSendOnlyValuesInsideTheirTypingBounds)
{
    MakeProject(kFirst);
    PageTable table;
    table.group = 4;
    PageRow row = IntegerRow(1, 1034, INT_MIN, INT_MAX, "1~200");
    row.filterMax = 200;
    row.filterTestsMin = true;
    row.filterMin = 1;
    table.rows.push_back(row);
    table.rows.push_back(IntegerRow(2, 1035, 0, 1000, "0~1000"));
    CGroupPageModel page(table, 0);
    const struct {
        int row;
        const char* text;
        bool sent;
    } cases[] = {{0, "1", true}, {0, "200", true}, {0, "0", false}, {0, "201", false}, {0, "-5", false},
                 {1, "0", true}, {1, "1000", true}, {1, "1001", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        m_messages.Clear();
        uint16_t word = 0;
        EXPECT_EQ(page.ValueForDrive(c.row, c.text, word, m_context), c.sent);
        EXPECT_EQ(m_messages.Texts(), c.sent ? std::vector<std::string>{} : std::vector<std::string>{Msg(IDS_BEYOND_RANGE)});
    }
}
