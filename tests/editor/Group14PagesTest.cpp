// Group 14's pages against the simulated drive: tabs, every row button with
// the drive stopped and running, the version gates of the group and of its
// late rows, the pressure/percent mode rows, flag positions and the group's
// transmit; and the tables over every shipped model.

#include "tests/editor/EditorTestSupport.h"

#include "editor/EditorStrings.h"
#include "pages/groups08_14/Group14Pages.h"
#include "platform/ResourceModule.h"

#include <set>

namespace {

constexpr int kBase = 0x1100000;
constexpr int kRangeA = 0x1100000 + 1202;
constexpr int kBoundary = 0x1110000;
constexpr int kRangeB = 0x1110000 + 1202;
constexpr unsigned kRetained = 61580;

// The function-06 frame of register 0x0E00 + item.
std::string WriteFrame(int station, int item, uint16_t word)
{
    return SingleFrame(station, 0x0E00 + item, word);
}

std::string WriteShape(int item)
{
    char text[16];
    std::snprintf(text, sizeof text, "S 0E%02X", item);
    return text;
}

} // namespace

class Group14Test : public EditorTest {
protected:
    // One row button on station 1: true when written.
    bool Press(int page, int row)
    {
        m_drive->ClearFrameLog();
        return EditorTest::Press(page, row);
    }
    void Choose(int page, int row, int selection) { Page(page).m_rows[static_cast<std::size_t>(row)].selection = selection; }
};

TEST_F(Group14Test, FivePagesForEveryModelAndTheTabOfTheListPosition)
{
    for (int code : {kBase, kRangeA, kBoundary, kRangeB}) {
        SCOPED_TRACE(code);
        MakeProject(code);
        const std::string name = m_doc.m_Groups[14].m_strName;
        CGroupEditor& editor = Open(14);
        EXPECT_EQ(editor.m_Captions, (std::vector<std::string>{name + "-> 14-00 - 14-09 ", "    14-10 - 14-19    ",
                                                                "    14-20 - 14-30    ", "    14-31 - 14-74    ",
                                                                "    14-75 - 14-77    "}));
        std::vector<std::string> classes;
        for (auto& page : editor.m_Pages)
            classes.push_back(page->Table().className);
        EXPECT_EQ(classes, (std::vector<std::string>{"CGroup14Page1Dlg", "CGroup14Page2Dlg", "CGroup14Page3Dlg",
                                                     "CGroup14Page4Dlg", "CGroup14Page5Dlg"}));
    }
    // position: tab, row marked
    const int cases[][3] = {{9, 0, 9}, {10, 1, 0}, {20, 2, 0}, {21, 2, 1}, {29, 2, 9},
                            {30, 3, 0}, {39, 3, 9}, {40, 4, 0}, {42, 4, 2}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c[0]);
        CGroupEditor& editor = Open(14, c[0]);
        EXPECT_EQ(editor.m_nShownTab, c[1]);
        EXPECT_EQ(Page(c[1]).m_nMarked, c[2]);
    }
}

// Every row of every page with a value at or near its edge, in percent mode
// (the shipped 14-20): the password and version reads, then the write frame; the same with
// the drive running, since group 14 never asks.
TEST_F(Group14Test, EveryRowButtonWritesItsRegisterRunningOrNot)
{
    Connect(kRangeB);
    struct Case {
        int page, row;
        const char* text; // an edit's text, or nullptr for a list
        int selection;
        int item;
        uint16_t word;
    } cases[] = {
        {0, 0, nullptr, 1, 0, 1},      {0, 1, nullptr, 4, 1, 4},     {0, 2, "0.29", 0, 2, 29},
        {0, 3, "650.00", 0, 3, 65000}, {0, 4, nullptr, 1, 4, 1},     {0, 5, nullptr, 2, 5, 2},
        {0, 6, "10.00", 0, 6, 1000},   {0, 7, "2.3", 0, 7, 23},      {0, 8, "0.01", 0, 8, 1},
        {0, 9, "75", 0, 9, 75},        {1, 0, "599.00", 0, 10, 59900}, {1, 1, "255.5", 0, 11, 2555},
        {1, 2, "100", 0, 12, 100},     {1, 3, "600.0", 0, 13, 6000}, {1, 4, "0.1", 0, 14, 1},
        {1, 5, "0", 0, 15, 0},         {1, 6, "12.3", 0, 16, 123},   {1, 7, "1.1", 0, 17, 11},
        {1, 8, "0.7", 0, 18, 7},       {1, 9, "100", 0, 19, 100},    {2, 0, nullptr, 1, 20, 1},
        {2, 1, "1.15", 0, 22, 115},    {2, 2, nullptr, 1, 23, 1},    {2, 3, "10", 0, 24, 10},
        {2, 4, "200.0", 0, 25, 2000},  {2, 5, "0.1", 0, 26, 1},      {2, 6, "3600.0", 0, 27, 36000},
        {2, 7, "0.29", 0, 28, 29},     {2, 8, "240", 0, 29, 240},    {2, 9, "30.0", 0, 30, 300},
        {3, 0, nullptr, 3, 31, 3},     {3, 1, "1", 0, 34, 1},        {3, 2, nullptr, 4, 35, 4},
        {3, 3, "100.0", 0, 37, 1000},  {3, 4, "10", 0, 38, 10},      {3, 5, "55", 0, 39, 55},
        {3, 6, "0.10", 0, 71, 10},     {3, 7, nullptr, 1, 72, 1},    {3, 8, nullptr, 1, 73, 1},
        {3, 9, "9.99", 0, 74, 999},    {4, 0, "99.9", 0, 75, 999},   {4, 1, "0.01", 0, 76, 1},
        {4, 2, "100", 0, 77, 100},
    };
    // Without a link only the link's message, before any chooser.
    Open(14);
    m_frame.m_bConnected = 0;
    EXPECT_FALSE(Press(0, 9));
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{Msg(IDS_NOT_CONNECTED)});
    EXPECT_EQ(m_host.m_chooserShown, 0);
    m_frame.m_bConnected = 1;

    for (bool running : {false, true}) {
        m_drive->SetRunning(1, running);
        Open(14);
        for (const Case& c : cases) {
            SCOPED_TRACE(std::to_string(running) + " 14-" + std::to_string(c.item));
            if (c.text)
                Text(c.page, c.row) = c.text;
            else
                Choose(c.page, c.row, c.selection);
            EXPECT_TRUE(Press(c.page, c.row));
            EXPECT_EQ(Shapes(), (std::vector<std::string>{"R 0D07 x1", "R 0D01 x1", WriteShape(c.item)}));
            EXPECT_EQ(WriteFrames(), std::vector<std::string>{WriteFrame(1, c.item, c.word)});
            EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{Msg(IDS_WRITE_SUCCESSFUL)});
        }
    }
}

// The group's gate (first family below 1.093) on every row, and the stricter
// one of 14-74 and page 5 (1.1 in the first family, 1.13 in the second,
// never elsewhere), on both sides of each threshold.
TEST_F(Group14Test, VersionGatesOnBothSidesOfEachThreshold)
{
    struct Case {
        int code, version, page, row;
        bool writes;
    } cases[] = {
        {kRangeA, 1092, 0, 0, false}, {kRangeA, 1093, 0, 0, true},  {kRangeA, 1093, 3, 9, false},
        {kRangeA, 1099, 4, 0, false}, {kRangeA, 1100, 3, 9, true},  {kRangeA, 1100, 4, 2, true},
        {kRangeB, 1000, 0, 0, true},  {kRangeB, 1129, 3, 9, false}, {kRangeB, 1129, 4, 1, false},
        {kRangeB, 1130, 4, 1, true},  {kRangeB, 1130, 3, 9, true},  {kBoundary, 1200, 4, 0, false},
        {kBoundary, 1200, 3, 8, true}, {kBase, 1200, 3, 9, false},  {kBase, 1000, 0, 1, true},
    };
    Connect(kRangeA);
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.code) + " " + std::to_string(c.version) + " row " + std::to_string(c.page) +
                     "/" + std::to_string(c.row));
        MakeProject(c.code);
        m_drive->SetRegister(1, 0x0D01, static_cast<uint16_t>(c.version));
        Open(14);
        const int item = Page(c.page).Row(c.row).item;
        EXPECT_EQ(Press(c.page, c.row), c.writes);
        std::vector<std::string> shapes{"R 0D07 x1", "R 0D01 x1"};
        if (c.writes)
            shapes.push_back(WriteShape(item));
        EXPECT_EQ(Shapes(), shapes);
        EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{Msg(c.writes ? IDS_WRITE_SUCCESSFUL : kRetained)});
        EXPECT_FLOAT_EQ(m_doc.m_fDriveVersion, static_cast<float>(c.version * 0.001));
    }
}

TEST_F(Group14Test, TheRowButtonOf1402And1403WantsATenthWhereOkTakesAHundredth)
{
    Connect(kRangeB);
    Open(14);
    Text(0, 2) = "0.05";
    EXPECT_FALSE(Press(0, 2));
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{Msg(IDS_BEYOND_RANGE)});
    EXPECT_EQ(m_host.m_focus, std::make_pair(0, 2));
    EXPECT_TRUE(WriteFrames().empty());
    Text(0, 3) = "0.09";
    EXPECT_FALSE(Press(0, 3));
    EXPECT_TRUE(WriteFrames().empty());
    Text(0, 3) = "0.10";
    EXPECT_TRUE(Press(0, 3));
    EXPECT_EQ(WriteFrames(), std::vector<std::string>{WriteFrame(1, 3, 10)});

    Text(0, 2) = "0.05";
    ASSERT_TRUE(m_editor->ApplyGroup());
    EXPECT_EQ(SetValue(14, 2), "0.05");
}

// OK and a row write use the row's place in the group's list: 14-22 is 21,
// 14-75 is 40.
TEST_F(Group14Test, FlagsSitAtTheListPositionNotTheItem)
{
    Connect(kRangeB);
    Open(14);
    Text(2, 1) = "12.50";  // 14-22
    Text(4, 0) = "33.3";   // 14-75
    ASSERT_TRUE(m_editor->ApplyGroup());
    EXPECT_EQ(m_doc.m_Changed[14][21], 1u);
    EXPECT_EQ(m_doc.m_Changed[14][40], 1u);
    EXPECT_EQ(m_doc.m_Changed[14][22], 0u);
    EXPECT_EQ(m_doc.m_Changed[14][75], 0u);
    int set = 0;
    for (uint32_t flag : m_doc.m_Changed[14])
        set += flag ? 1 : 0;
    EXPECT_EQ(set, 2);

    Open(14);
    m_doc.m_Changed[14][22] = 1;
    EXPECT_TRUE(Press(2, 1));
    EXPECT_EQ(m_doc.m_Changed[14][21], 0u);
    EXPECT_EQ(m_doc.m_Changed[14][22], 1u);
    EXPECT_TRUE(Press(4, 0));
    EXPECT_EQ(m_doc.m_Changed[14][40], 0u);
}

// A project whose 14-20 says pressure opens in pressure mode: its two-decimal
// values stay as they are, and OK changes nothing.
TEST_F(Group14Test, APressureProjectOpensInPressureModeAndOkKeepsItsValues)
{
    Connect(kRangeB);
    SetValue(14, 20) = "0";
    const std::pair<int, const char*> pressures[] = {{9, "6.50"},  {12, "10.00"}, {15, "20.00"}, {24, "0.50"},
                                                     {34, "10.00"}, {38, "5.00"},  {39, "10.00"}};
    for (auto [item, text] : pressures)
        SetValue(14, item) = text;
    ASSERT_EQ(m_frame.m_nPressureMode, 1);
    Open(14);
    EXPECT_EQ(m_frame.m_nPressureMode, 0);
    EXPECT_EQ(Text(0, 9), "6.50");
    EXPECT_EQ(Page(0).m_rows[9].rangeText, "0.01~650.00");
    EXPECT_EQ(Page(2).m_rows[3].rangeText, "0.00~65.00");
    ASSERT_TRUE(m_editor->ApplyGroup());
    EXPECT_EQ(SetValue(14, 9), "6.50");
    EXPECT_EQ(SetValue(14, 24), "0.50");
    EXPECT_FALSE(AnyFlag(14));

    // In pressure mode the mode rows go out in hundredths.
    Open(14);
    EXPECT_TRUE(Press(0, 9));
    Text(3, 4) = "0.01"; // 14-38
    EXPECT_TRUE(Press(3, 4));
    EXPECT_EQ(WriteFrames(), std::vector<std::string>{WriteFrame(1, 38, 1)});
    Text(3, 4) = "65.01";
    EXPECT_FALSE(Press(3, 4));
    EXPECT_EQ(m_messages.Texts().back(), Msg(IDS_BEYOND_RANGE));
    EXPECT_EQ(m_drive->GetRegister(1, 0x0E09), 650);
}

// 14-20 chosen on page 3 is the mode at once; Cancel puts back the mode of
// the project, which itself is unchanged.
TEST_F(Group14Test, Choosing1420SwitchesTheModeAndCancelRestoresIt)
{
    MakeProject(kRangeB);
    SetValue(14, 12) = "50";
    Open(14);
    ASSERT_EQ(m_frame.m_nPressureMode, 1);
    EXPECT_EQ(Page(2).m_rows[3].rangeText, "0~10");
    Page(2).Select(0, 0, m_context);
    EXPECT_EQ(m_frame.m_nPressureMode, 0);
    EXPECT_EQ(Page(2).m_rows[3].rangeText, "0.00~65.00");
    // Page 2 follows at its tick; a percent value typed before stays.
    EXPECT_EQ(Page(1).m_rows[2].rangeText, "0~100");
    Page(1).Table().onTimer(Page(1), m_context);
    EXPECT_EQ(Page(1).m_rows[2].rangeText, "0.00~650.00");
    EXPECT_EQ(Text(1, 2), "50");
    m_editor->OnCancel();
    EXPECT_EQ(m_frame.m_nPressureMode, 1);
    EXPECT_EQ(SetValue(14, 20), "1");
    EXPECT_EQ(SetValue(14, 12), "50");
    EXPECT_FALSE(AnyFlag(14));

    // Switched and confirmed: the project takes both, 50 as 50.00.
    Open(14);
    Page(2).Select(0, 0, m_context);
    ASSERT_TRUE(m_editor->ApplyGroup());
    EXPECT_EQ(SetValue(14, 20), "0");
    EXPECT_EQ(SetValue(14, 12), "50.00");
    EXPECT_EQ(m_doc.m_Changed[14][12], 1u);
    EXPECT_EQ(m_doc.m_Changed[14][20], 1u);
}

// The tick in percent mode: whole numbers inside each row's bounds (pages 1
// and 4 from 1, pages 2 and 3 from 0).
TEST_F(Group14Test, ThePercentTickClampsTheModeRows)
{
    MakeProject(kRangeB);
    SetValue(14, 9) = "0.50";
    SetValue(14, 34) = "150";
    Open(14);
    EXPECT_EQ(Text(0, 9), "0");
    struct Case {
        int page, row;
        const char* before;
        const char* after;
    } cases[] = {
        {0, 9, "0", "1"},    {0, 9, "", "1"},     {0, 9, "150", "100"}, {1, 2, "", "0"},   {1, 5, "101", "100"},
        {2, 3, "", "0"},     {2, 3, "11", "10"},  {3, 1, "150", "100"}, {3, 4, "0", "1"},  {3, 4, "12", "10"},
        {3, 5, "7.9", "7"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.page) + "/" + std::to_string(c.row) + " " + c.before);
        Text(c.page, c.row) = c.before;
        Page(c.page).Table().onTimer(Page(c.page), m_context);
        EXPECT_EQ(Text(c.page, c.row), c.after);
    }
    // An emptied 14-19 or 14-29 gets its last number back, in either mode.
    for (int mode : {1, 0}) {
        m_frame.m_nPressureMode = mode;
        for (auto [page, row] : {std::pair{1, 9}, std::pair{2, 8}}) {
            Text(page, row) = "42";
            Page(page).Table().onTimer(Page(page), m_context);
            Text(page, row) = "";
            Page(page).Table().onTimer(Page(page), m_context);
            EXPECT_EQ(Text(page, row), "42");
        }
    }
    EXPECT_FALSE(Page(4).Table().onTimer); // page 5 has no tick
    EXPECT_EQ(Page(4).Table().timerMs, 0);
    EXPECT_EQ(Page(0).Table().timerMs, 100);
}

// The mode rows' keystrokes: digits only up to the row's maximum in percent
// mode, a pressure with two decimals in pressure mode; neither prompts.
TEST_F(Group14Test, ModeRowsFilterByTheMode)
{
    MakeProject(kRangeB);
    Open(14);
    struct Case {
        int page, row;
        const char* before;
        const char* typed;
        const char* kept;
    } percent[] = {
        {0, 9, "5", "5.", "5"}, {0, 9, "5", "+5", "5"}, {0, 9, "15", "150", "15"}, {0, 9, "10", "100", "100"},
        {0, 9, "5", "", ""},    {0, 9, "5", ".", "5"},  {2, 3, "1", "11", "1"},     {3, 4, "1", "10", "10"},
    };
    for (const Case& c : percent)
        EXPECT_EQ(Page(c.page).Filter(c.row, c.before, c.typed), c.kept) << c.typed;
    m_frame.m_nPressureMode = 0;
    for (int p = 0; p < 4; ++p)
        Page(p).SyncForm(m_context);
    const Case pressure[] = {
        {0, 9, "6.5", "6.50", "6.50"}, {0, 9, "6.50", "6.505", "6.50"}, {0, 9, "650", "650.01", "650"},
        {0, 9, "6", "6a", "6"},        {2, 3, "65", "65.1", "65"},      {3, 4, "6.5", "6.55", "6.55"},
    };
    for (const Case& c : pressure)
        EXPECT_EQ(Page(c.page).Filter(c.row, c.before, c.typed), c.kept) << c.typed;
    EXPECT_TRUE(m_messages.Texts().empty());
}

// OK tests what the fields hold in the current mode: an empty whole-number
// field (the percent form of 14-09, 14-77, 14-12) is no whole number to the
// data exchange, which prompts for one (61775) as the window does.
TEST_F(Group14Test, OkRefusesEmptyFields)
{
    MakeProject(kRangeB);
    for (auto [page, row] : {std::pair{0, 9}, std::pair{4, 2}, std::pair{1, 2}}) {
        Open(14);
        const std::string before = SetValue(14, Page(page).Row(row).item);
        Text(page, row) = "";
        m_messages.Clear();
        EXPECT_FALSE(m_editor->ApplyGroup());
        EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{Msg(IDS_ENTER_INTEGER)});
        EXPECT_EQ(m_host.m_focus, std::make_pair(page, row));
        EXPECT_EQ(SetValue(14, Page(page).Row(row).item), before);
        EXPECT_FALSE(AnyFlag(14));
    }
}

// Transmit Group sends the mode rows as the mode says.
TEST_F(Group14Test, TransmitGroupSendsTheModeRowsByTheMode)
{
    Connect(kRangeB);
    Open(14);
    Text(0, 9) = "75";
    m_doc.m_Changed[14][9] = 1;
    m_host.m_stations = {1};
    m_editor->OnTransmitGroup();
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{Msg(IDS_WRITE_SUCCESSFUL)});
    EXPECT_EQ(m_drive->GetRegister(1, 0x0E09), 75);
    EXPECT_FALSE(AnyFlag(14));

    SetValue(14, 20) = "0";
    SetValue(14, 9) = "6.50";
    Open(14);
    m_messages.Clear();
    m_host.m_stations = {1};
    m_editor->OnTransmitGroup();
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{Msg(IDS_WRITE_SUCCESSFUL)});
    EXPECT_EQ(m_drive->GetRegister(1, 0x0E09), 650);
    EXPECT_EQ(m_drive->GetRegister(1, 0x0E14), 0);
}

// Over every model of the shipped files: the pages open, pass CheckRange,
// OK marks nothing, and their rows are exactly group 14's defined
// parameters at their list positions.
TEST_F(Group14Test, TheTablesFitEveryShippedModel)
{
    std::vector<int> codes{0x44E, 0x451, 0x65, 0x4B2, 0x4B5, 0xC9, 0xCA, 0xCB, 0x191, 0x192, 0x193, kBase, kBoundary};
    for (int number : {0x44E, 0x451, 0x65, 0x4B2, 0x4B5, 0x4B7, 0xC9, 0xCA, 0xCB, 0xCD, 0xD0, 0xD2, 0x191, 0x192,
                       0x193, 0x195, 0x198, 0x19A, 0x19F}) {
        codes.push_back(kBase + number);
        codes.push_back(kBoundary + number);
    }
    for (int code : codes) {
        SCOPED_TRACE(code);
        MakeProject(code);
        CGroupEditor& editor = Open(14);
        std::set<int> shown;
        for (auto& page : editor.m_Pages) {
            EXPECT_TRUE(page->CheckRange(m_context)) << page->Table().className;
            for (int r = 0; r < page->RowCount(); ++r) {
                const int item = page->Row(r).item;
                shown.insert(item);
                EXPECT_EQ(page->FlagPosition(r, m_doc), m_doc.DefinedPosition(14, item)) << item;
            }
        }
        std::set<int> defined;
        for (int item = 0; item < kItemCount; ++item)
            if (m_doc.m_Defined[14][item])
                defined.insert(item);
        EXPECT_EQ(shown, defined);
        ASSERT_TRUE(editor.ApplyGroup());
        EXPECT_FALSE(AnyFlag(14));
        EXPECT_TRUE(m_messages.Texts().empty());
    }
}
