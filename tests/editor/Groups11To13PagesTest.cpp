// The pages of groups 11 (auxiliary), 12 (display) and 13 (maintenance) on
// the editor's engine: tabs per model family, row writes against the
// simulated drive (frames compared with its log), the packed display row,
// the coded lists of group 13 and the reset-code question of its transmit.

#include "tests/editor/EditorTestSupport.h"

#include "document/ModelTables.h"
#include "editor/EditorStrings.h"
#include "pages/groups08_14/Groups11To13Pages.h"
#include "platform/ResourceModule.h"

namespace {

constexpr int kBase = 0x1100000;
constexpr int kRangeA = 0x1100000 + 1202; // class 100
constexpr int kRangeA400 = 0x1100000 + 402;
constexpr int kBoundary = 0x1110000;
constexpr int kRangeB = 0x1110000 + 1202;

const std::vector<std::string> kStopped{"R 0D07 x1", "R 2520 x1"};

} // namespace

using Groups11To13Test = EditorTest;

TEST_F(Groups11To13Test, TabsCaptionsAndTheTabOfTheItem)
{
    struct Case {
        int code;
        int group;
        std::vector<std::string> captions; // the first after the group's name
        std::vector<std::string> classes;
        std::vector<std::pair<int, int>> tabOfPosition;
    } cases[] = {
        {kBase, 11, {"-> 11-00 - 11-09 ", "    11-10 - 11-11    "}, {"CGroup11Page1Dlg", "CGroup11Page2Dlg"},
         {{9, 0}, {10, 1}, {11, 1}}},
        {kRangeA, 11, {"-> 11-00 - 11-09 ", "    11-10 - 11-20    ", "        11-21        "},
         {"CGroup11Page1Dlg", "CGroup11Page2ExDlg", "CGroup11Page3Dlg"}, {{9, 0}, {12, 1}, {19, 1}, {20, 2}}},
        {kBoundary, 11, {"-> 11-00 - 11-09 ", "    11-10 - 11-20    ", "        11-21        "},
         {"CGroup11Page1Dlg", "CGroup11Page2ExDlg", "CGroup11Page3Dlg"}, {{20, 2}}},
        {kRangeB, 11, {"-> 11-00 - 11-09 ", "    11-10 - 11-20    ", "        11-21        "},
         {"CGroup11Page1Dlg", "CGroup11Page2ExDlg", "CGroup11Page3Dlg"}, {{10, 1}, {20, 2}}},
        {kBase, 12, {"-> 12-00 - 12-05 "}, {"CGroup12Page1Dlg"}, {{5, 0}}},
        {kRangeA, 12, {"-> 12-00 - 12-07 "}, {"CGroup12Page1ExDlg"}, {{7, 0}}},
        {kBoundary, 12, {"-> 12-00 - 12-07 "}, {"CGroup12Page1ExDlg"}, {{7, 0}}},
        {kRangeB, 12, {"-> 12-00 - 12-07 "}, {"CGroup12Page1ExDlg"}, {{0, 0}}},
        {kBase, 13, {"-> 13-00 - 13-08 "}, {"CGroup13Page1Dlg"}, {{8, 0}}},
        {kRangeB, 13, {"-> 13-00 - 13-08 "}, {"CGroup13Page1Dlg"}, {{8, 0}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.group) + " on " + std::to_string(c.code));
        MakeProject(c.code);
        CGroupEditor& editor = Open(c.group);
        std::vector<std::string> captions = c.captions;
        captions[0] = m_doc.m_Groups[static_cast<std::size_t>(c.group)].m_strName + captions[0];
        EXPECT_EQ(editor.m_Captions, captions);
        std::vector<std::string> classes;
        for (auto& page : editor.m_Pages)
            classes.push_back(page->Table().className);
        EXPECT_EQ(classes, c.classes);
        for (auto [position, tab] : c.tabOfPosition) {
            CGroupEditor& chosen = Open(c.group, position);
            EXPECT_EQ(chosen.m_nShownTab, tab) << position;
            const int row = Page(tab).m_nMarked;
            ASSERT_GE(row, 0) << position;
            EXPECT_EQ(Page(tab).FlagPosition(row, m_doc), position);
        }
    }
}

// Every model of the program: the pages open on the shipped project, pass
// their range check, OK unedited marks nothing, and the rows of a page set
// are the group's defined parameters at their list positions.
TEST_F(Groups11To13Test, EveryModelOpensCleanAndCoversItsDefinedParameters)
{
    for (const ModelCodeEntry& model : ModelCodeTable()) {
        SCOPED_TRACE(model.name);
        MakeProject(static_cast<int>(model.code));
        for (int group : {11, 12, 13}) {
            SCOPED_TRACE(group);
            CGroupEditor& editor = Open(group);
            std::vector<std::pair<int, int>> rows; // item, position
            for (auto& page : editor.m_Pages) {
                EXPECT_TRUE(page->CheckRange(m_context));
                for (int r = 0; r < page->RowCount(); ++r)
                    rows.emplace_back(page->Row(r).item, page->FlagPosition(r, m_doc));
            }
            std::vector<std::pair<int, int>> defined;
            for (int item = 0; item < kItemCount; ++item)
                if (m_doc.m_Defined[group][item])
                    defined.emplace_back(item, m_doc.DefinedPosition(group, item));
            EXPECT_EQ(rows, defined);
            ASSERT_TRUE(editor.ApplyGroup());
            EXPECT_FALSE(AnyFlag(group));
        }
        EXPECT_TRUE(m_messages.Texts().empty()) << m_messages.Texts().front();
    }
}

TEST_F(Groups11To13Test, Group11RowWritesFollowEachPagesRunningRule)
{
    Connect(kRangeA);
    m_drive->SetRunning(kSimAllStations, true);
    Open(11);
    Text(0, 7) = "3.5";
    Text(0, 8) = "599.00";
    Text(1, 0) = "12.34";
    Page(2).m_rows[0].selection = 1;
    m_host.m_stations = {1, 1, 1, 1};
    EXPECT_FALSE(m_editor->OnParamButton(0, 7)); // 11-07 must stop
    EXPECT_TRUE(m_editor->OnParamButton(0, 8));  // 11-08 is written while running
    EXPECT_TRUE(m_editor->OnParamButton(1, 0));  // page 5789 never reads the running state
    EXPECT_TRUE(m_editor->OnParamButton(2, 0));  // 11-21, no range check either
    EXPECT_EQ(Shapes(), (std::vector<std::string>{"R 0D07 x1", "R 2520 x1", "R 0D07 x1", "R 2520 x1", "S 0B08",
                                                  "R 0D07 x1", "S 0B0A", "R 0D07 x1", "S 0B15"}));
    EXPECT_EQ(WriteFrames(), (std::vector<std::string>{SingleFrame(1, 0x0B08, 59900), SingleFrame(1, 0x0B0A, 1234),
                                                       SingleFrame(1, 0x0B15, 1)}));
    EXPECT_EQ(m_messages.Texts(), (std::vector<std::string>{Msg(IDS_DRIVE_RUNNING), Msg(IDS_WRITE_SUCCESSFUL),
                                                            Msg(IDS_WRITE_SUCCESSFUL), Msg(IDS_WRITE_SUCCESSFUL)}));
}

TEST_F(Groups11To13Test, BasePage276ReportsARefusedReplyAsACommunicationError)
{
    Connect(kBase);
    Open(11);
    Text(1, 0) = "12.34";
    m_host.m_stations = {2, 2};
    EXPECT_TRUE(m_editor->OnParamButton(1, 0));
    m_drive->ForceException(2, 0x0B0A, 0x54);
    m_messages.Clear();
    EXPECT_FALSE(m_editor->OnParamButton(1, 0));
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{"Station Num 2Communication error!"});
    EXPECT_EQ(WriteFrames(), std::vector<std::string>(2, SingleFrame(2, 0x0B0A, 1234)));
}

// 11-14 follows the voltage class: its range text, OK's check and the row
// button's; the keystroke filter lets either class's values through.
TEST_F(Groups11To13Test, RegenerationLevelFollowsTheVoltageClass)
{
    struct Case {
        int code;
        const char* text;
        bool accepted;
        const char* rangeText;
    } cases[] = {
        {kRangeA400, "700.0", true, "600.0~800.0"},
        {kRangeA400, "350.0", false, "600.0~800.0"},
        {kRangeA, "400.0", true, "300.0~400.0"},
        {kRangeA, "750.0", false, "300.0~400.0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.text) + " " + c.rangeText);
        MakeProject(c.code);
        Open(11);
        EXPECT_EQ(Page(1).m_rows[3].rangeText, c.rangeText);
        EXPECT_EQ(Page(1).Filter(3, "", c.text), c.text);
        Text(1, 3) = c.text;
        EXPECT_EQ(m_editor->ApplyGroup(), c.accepted);
        EXPECT_EQ(m_messages.Texts().empty(), c.accepted);
        if (!c.accepted) {
            EXPECT_EQ(m_host.m_focus, std::make_pair(1, 3));
        }
        EXPECT_EQ(SetValue(11, 14) == c.text, c.accepted);
    }
    Connect(kRangeA400);
    Open(11);
    Text(1, 3) = "700";
    m_host.m_stations = {1};
    EXPECT_TRUE(m_editor->OnParamButton(1, 3));
    EXPECT_EQ(WriteFrames(), std::vector<std::string>{SingleFrame(1, 0x0B0E, 7000)});
}

TEST_F(Groups11To13Test, ExtendedGroup11MarksAndClearsTheFlagAtThePosition)
{
    Connect(kRangeA);
    Open(11);
    Page(1).m_rows[2].selection = 2; // 11-13, position 12
    Text(1, 9) = "777";              // 11-20, position 19
    Page(2).m_rows[0].selection = 1; // 11-21, position 20
    ASSERT_TRUE(m_editor->ApplyGroup());
    EXPECT_EQ(m_doc.m_Changed[11][12], 1u);
    EXPECT_EQ(m_doc.m_Changed[11][19], 1u);
    EXPECT_EQ(m_doc.m_Changed[11][20], 1u);
    EXPECT_EQ(m_doc.m_Changed[11][13], 0u);
    EXPECT_EQ(m_doc.m_Changed[11][21], 0u);
    EXPECT_EQ(SetValue(11, 13), "2");
    EXPECT_EQ(SetValue(11, 20), "777");

    Open(11);
    m_host.m_stations = {1, 1};
    EXPECT_TRUE(m_editor->OnParamButton(1, 2));
    EXPECT_TRUE(m_editor->OnParamButton(2, 0));
    EXPECT_EQ(m_doc.m_Changed[11][12], 0u);
    EXPECT_EQ(m_doc.m_Changed[11][20], 0u);
    EXPECT_EQ(m_doc.m_Changed[11][19], 1u);
    EXPECT_EQ(WriteFrames(), (std::vector<std::string>{SingleFrame(1, 0x0B0D, 2), SingleFrame(1, 0x0B15, 1)}));
}

TEST_F(Groups11To13Test, DisplayItemsArePackedInOctal)
{
    Connect(kRangeA);
    m_drive->SetRunning(kSimAllStations, true);
    SetValue(12, 0) = "12";
    Open(12);
    EXPECT_EQ(Page(0).m_rows[0].digits, (std::vector<int>{1, 2, 0, 0, 0}));
    Page(0).m_rows[0].digits = {0, 1, 2, 3, 4};
    Text(0, 3) = "1000";
    m_host.m_stations = {1, 1, 1};
    EXPECT_TRUE(m_editor->OnParamButton(0, 0));
    EXPECT_TRUE(m_editor->OnParamButton(0, 3)); // written although the drive runs
    Page(0).m_rows[0].digits = {7, 7, 7, 7, 7};
    EXPECT_TRUE(m_editor->OnParamButton(0, 0));
    EXPECT_EQ(Shapes(), (std::vector<std::string>{"R 0D07 x1", "R 2520 x1", "S 0C00", "R 0D07 x1", "R 2520 x1",
                                                  "S 0C03", "R 0D07 x1", "R 2520 x1", "S 0C00"}));
    EXPECT_EQ(WriteFrames(), (std::vector<std::string>{SingleFrame(1, 0x0C00, 668), SingleFrame(1, 0x0C03, 1000),
                                                       SingleFrame(1, 0x0C00, 32767)}));
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>(3, Msg(IDS_WRITE_SUCCESSFUL)));
    ASSERT_TRUE(m_editor->ApplyGroup());
    EXPECT_EQ(SetValue(12, 0), "77777");
    EXPECT_FALSE(AnyFlag(12));

    EXPECT_EQ(GetDisplayItemText(5), "PID feedback ");
    EXPECT_EQ(GetDisplayItemText(-1), "");
    EXPECT_EQ(GetDisplayItemText(8), "");
}

// A stored digit no list can show stays as it is: OK keeps it, and the row
// button and the transmit refuse the text that is no octal number.
TEST_F(Groups11To13Test, ADigitAboveSevenIsKeptAndNeverSent)
{
    Connect(kRangeA);
    SetValue(12, 0) = "01892";
    Open(12);
    EXPECT_EQ(Page(0).m_rows[0].digits, (std::vector<int>{0, 1, -1, -1, 2}));
    ASSERT_TRUE(m_editor->ApplyGroup());
    EXPECT_EQ(SetValue(12, 0), "01892");
    EXPECT_FALSE(AnyFlag(12));

    const std::string refusal = WriteCheckText(IDS_WRITE_VALUE_NOT_NUMBER, "12-00", "01892");
    m_host.m_stations = {1, 1};
    EXPECT_FALSE(m_editor->OnParamButton(0, 0));
    m_editor->OnTransmitGroup();
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>(2, refusal));
    EXPECT_TRUE(WriteFrames().empty());
}

TEST_F(Groups11To13Test, ReadOnlyDisplayRowsAreRefusedFirstAndNeverStored)
{
    MakeProject(kRangeA);
    SetValue(12, 5) = "1.32";
    SetValue(12, 6) = "abc";
    SetValue(12, 7) = "";
    Open(12);
    EXPECT_EQ(Text(0, 5), "----");
    EXPECT_EQ(Text(0, 6), "abc");
    for (int row : {5, 6, 7})
        EXPECT_FALSE(m_editor->OnParamButton(0, row)); // no link: read-only comes first
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>(3, Msg(IDS_READ_ONLY)));
    ASSERT_TRUE(m_editor->ApplyGroup());
    EXPECT_EQ(SetValue(12, 5), "1.32");
    EXPECT_EQ(SetValue(12, 6), "abc");
    EXPECT_EQ(SetValue(12, 7), "");
    EXPECT_FALSE(AnyFlag(12));
}

TEST_F(Groups11To13Test, Group12ReportsARefusedReplyAsACommunicationError)
{
    Connect(kBase);
    Open(12);
    m_drive->ForceException(3, 0x0C03, 0x52);
    m_host.m_stations = {3};
    EXPECT_FALSE(m_editor->OnParamButton(0, 3));
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{"Station Num 3Communication error!"});
}

TEST_F(Groups11To13Test, FaultRecordAndResetCodeEntries)
{
    struct Case {
        const char* fault;
        int faultEntry;
        const char* reset;
        int resetEntry;
    } cases[] = {
        {"6", 5, "1150", 1},
        {"8", 6, "1360", 6}, // the entry that names 8
        {"41", -1, "01150", 0},
        {"5", -1, "1151", 0},
        {"34", 26, "", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.fault) + "/" + c.reset);
        MakeProject(kRangeA);
        SetValue(13, 0) = "0x1202";
        SetValue(13, 2) = c.fault;
        SetValue(13, 7) = "00000";
        SetValue(13, 8) = c.reset;
        Open(13);
        EXPECT_EQ(Page(0).m_rows[2].selection, c.faultEntry);
        EXPECT_EQ(Page(0).m_rows[8].selection, c.resetEntry);
        EXPECT_EQ(Text(0, 7), "00000");
        ASSERT_TRUE(m_editor->ApplyGroup());
        EXPECT_EQ(SetValue(13, 0), "0x1202");
        EXPECT_EQ(SetValue(13, 2), c.fault);
        EXPECT_EQ(SetValue(13, 7), "00000");
        const bool kept = c.resetEntry != 0 || std::string(c.reset) == "0000";
        EXPECT_EQ(SetValue(13, 8), kept ? std::string(c.reset) : std::string("0000"));
        EXPECT_EQ(m_doc.m_Changed[13][8], kept ? 0u : 1u);
        EXPECT_EQ(m_doc.m_Changed[13][2], 0u);
    }
}

TEST_F(Groups11To13Test, Group13RowWrites)
{
    Connect(kRangeA);
    Open(13);
    for (int row : {0, 1, 2, 7}) {
        m_frame.m_bConnected = row % 2; // refused before the link is looked at
        EXPECT_FALSE(m_editor->OnParamButton(0, row));
    }
    m_frame.m_bConnected = 1;
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>(4, Msg(IDS_READ_ONLY)));
    EXPECT_EQ(m_host.m_chooserShown, 0);

    m_messages.Clear();
    Page(0).m_rows[8].selection = 2;
    Text(0, 3) = "23";
    m_host.m_stations = {1, 1, 1};
    EXPECT_TRUE(m_editor->OnParamButton(0, 8));
    EXPECT_TRUE(m_editor->OnParamButton(0, 3));
    m_drive->SetRunning(1, true);
    EXPECT_FALSE(m_editor->OnParamButton(0, 4));
    EXPECT_EQ(Shapes(), (std::vector<std::string>{"R 0D07 x1", "R 2520 x1", "S 0D08", "R 0D07 x1", "R 2520 x1",
                                                  "S 0D03", "R 0D07 x1", "R 2520 x1"}));
    EXPECT_EQ(WriteFrames(), (std::vector<std::string>{SingleFrame(1, 0x0D08, 1160), SingleFrame(1, 0x0D03, 23)}));
    EXPECT_EQ(m_messages.Texts(), (std::vector<std::string>{Msg(IDS_WRITE_SUCCESSFUL), Msg(IDS_WRITE_SUCCESSFUL),
                                                            Msg(IDS_DRIVE_RUNNING)}));
    EXPECT_EQ(Page(0).m_strLast[8], "1160");
}

TEST_F(Groups11To13Test, TransmitOfGroup13AsksBeforeItSendsAResetCode)
{
    Connect(kRangeA);
    SetValue(13, 3) = "5";
    SetValue(13, 4) = "100";
    SetValue(13, 5) = "1";
    SetValue(13, 6) = "0";
    SetValue(13, 8) = "1150";
    Open(13);
    const std::string question = FormatResString(IDS_RESET_CODE_CONFIRM, "1150");

    m_messages.Answer(IDNO);
    m_host.m_stations = {1};
    m_editor->OnTransmitGroup();
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{question});
    EXPECT_TRUE(WriteFrames().empty());

    m_messages.Clear();
    m_messages.Answer(IDYES);
    m_host.m_stations = {1};
    m_editor->OnTransmitGroup();
    EXPECT_EQ(m_messages.Texts(), (std::vector<std::string>{question, Msg(IDS_WRITE_SUCCESSFUL)}));
    EXPECT_EQ(WriteFrames(), (std::vector<std::string>{BlockFrame(1, 0x0D03, {5, 100, 1, 0}), BlockFrame(1, 0x0D08, {1150})}));

    // "0000" goes out without a question.
    m_messages.Clear();
    m_drive->ClearFrameLog();
    Page(0).m_rows[8].selection = 0;
    m_host.m_stations = {1};
    m_editor->OnTransmitGroup();
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{Msg(IDS_WRITE_SUCCESSFUL)});
    EXPECT_EQ(WriteFrames().back(), BlockFrame(1, 0x0D08, {0}));
}

TEST_F(Groups11To13Test, Group12TransmitSendsTheOctalBlock)
{
    Connect(kRangeA);
    m_drive->SetRunning(kSimAllStations, false);
    SetValue(12, 0) = "01234";
    SetValue(12, 1) = "1";
    SetValue(12, 2) = "2";
    SetValue(12, 3) = "65535";
    SetValue(12, 4) = "4";
    Open(12);
    m_host.m_stations = {2};
    m_editor->OnTransmitGroup();
    EXPECT_EQ(WriteFrames(), std::vector<std::string>{BlockFrame(2, 0x0C00, {668, 1, 2, 65535, 4})});
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{Msg(IDS_WRITE_SUCCESSFUL)});
}

// Every row button of every page, drive stopped and running: the reads the
// page makes, then its write or its refusal.
TEST_F(Groups11To13Test, EveryRowButtonStoppedAndRunning)
{
    enum Rule { ReadOnly, MustStop, WhileRunning, NoRunningRead };
    auto ruleOf = [](int group, int item) {
        switch (group) {
        case 11:
            return item <= 7 ? MustStop : item <= 9 ? WhileRunning : NoRunningRead;
        case 12:
            return item <= 4 ? WhileRunning : ReadOnly;
        default:
            return item <= 2 || item == 7 ? ReadOnly : MustStop;
        }
    };
    for (int code : {kBase, kRangeA}) {
        Connect(code);
        for (bool running : {false, true}) {
            m_drive->SetRunning(kSimAllStations, running);
            for (int group : {11, 12, 13}) {
                CGroupEditor& editor = Open(group);
                for (std::size_t p = 0; p < editor.m_Pages.size(); ++p) {
                    for (int r = 0; r < Page(static_cast<int>(p)).RowCount(); ++r) {
                        const int item = Page(static_cast<int>(p)).Row(r).item;
                        SCOPED_TRACE(std::to_string(code) + (running ? " running " : " stopped ") +
                                     std::to_string(group) + "-" + std::to_string(item));
                        m_drive->ClearFrameLog();
                        m_messages.Clear();
                        m_host.m_stations = {1};
                        const Rule rule = ruleOf(group, item);
                        const bool written = rule != ReadOnly && !(running && rule == MustStop);
                        EXPECT_EQ(editor.OnParamButton(static_cast<int>(p), r), written);
                        std::vector<std::string> shapes;
                        if (rule != ReadOnly)
                            shapes.push_back("R 0D07 x1");
                        if (rule == MustStop || rule == WhileRunning)
                            shapes.push_back("R 2520 x1");
                        char write[16];
                        std::snprintf(write, sizeof write, "S %02X%02X", group, item);
                        if (written)
                            shapes.push_back(write);
                        EXPECT_EQ(Shapes(), shapes);
                        const unsigned message = rule == ReadOnly ? IDS_READ_ONLY
                                                 : written        ? IDS_WRITE_SUCCESSFUL
                                                                  : IDS_DRIVE_RUNNING;
                        EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{Msg(message)});
                    }
                }
            }
        }
        TearDown();
    }
}

TEST_F(Groups11To13Test, TypedTextFilters)
{
    MakeProject(kRangeA);
    struct Case {
        int group, page, row;
        const char* typed;
        const char* kept;
        bool prompted;
    } cases[] = {
        {11, 0, 1, "17", "5", true},        // 11-01 outside 1~16
        {11, 0, 1, "0", "5", true},
        {11, 0, 1, "", "", false},
        {11, 0, 4, "4.1", "5", false},      // 11-04 above 4.0
        {11, 0, 4, "3.55", "3.5", false},   // one decimal kept
        {11, 0, 8, "599.01", "5", false},   // 11-08 shows 0.00~650.00, takes 599.00
        {11, 0, 8, "599.00", "599.00", false},
        {11, 1, 0, "599.01", "5", false},   // 11-10 on page 5789
        {11, 1, 3, "750.0", "750.0", false}, // 11-14: the check decides, not the filter
        {11, 1, 3, "800.1", "5", false},
        {12, 0, 3, "70000", "5", true},     // 12-03 outside 0~65535
        {13, 0, 3, "24", "5", true},        // 13-03 outside 0~23
        {13, 0, 4, "65536", "5", true},
        {13, 0, 4, "-1", "5", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.group) + " row " + std::to_string(c.row) + " " + c.typed);
        Open(c.group);
        m_messages.Clear();
        EXPECT_EQ(Page(c.page).Filter(c.row, "5", c.typed), c.kept);
        EXPECT_EQ(m_messages.Texts().size(), c.prompted ? 1u : 0u);
    }
}

// The extended group 11 goes out in its three blocks; 11-21 only to a drive
// of 1.06 or later, which is the writer's gate, not the page's.
TEST_F(Groups11To13Test, ExtendedGroup11TransmitsItsBlocks)
{
    for (int version : {1060, 1059}) {
        SCOPED_TRACE(version);
        Connect(kRangeA, version);
        Open(11);
        Text(0, 4) = "2.5";      // 11-04
        Text(1, 3) = "380.0";    // 11-14
        Text(1, 9) = "65535";    // 11-20
        Page(2).m_rows[0].selection = 1; // 11-21
        m_host.m_stations = {1};
        m_editor->OnTransmitGroup();
        std::vector<std::string> shapes{"R 0D07 x1", "R 2520 x1", "R 0D01 x1", "W 0B00 x12", "W 0B0D x8"};
        if (version >= 1060)
            shapes.push_back("W 0B15 x1");
        EXPECT_EQ(Shapes(), shapes);
        EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{Msg(IDS_WRITE_SUCCESSFUL)});
        EXPECT_EQ(m_drive->GetRegister(1, 0x0B04), 25);
        EXPECT_EQ(m_drive->GetRegister(1, 0x0B0E), 3800);
        EXPECT_EQ(m_drive->GetRegister(1, 0x0B14), 65535);
        EXPECT_EQ(m_drive->GetRegister(1, 0x0B15), version >= 1060 ? 1 : 0);
        TearDown();
    }
}
