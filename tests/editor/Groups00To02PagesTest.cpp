// The pages of groups 00, 01 and 02 against the simulated drive: their drive
// rules, version and model gates, limits by model, and OK and Transmit Group.

#include "tests/editor/EditorTestSupport.h"

#include "document/ModelFamily.h"
#include "document/ModelTables.h"
#include "editor/EditorStrings.h"
#include "editor/Groups00To02Pages.h"
#include "platform/ResourceModule.h"

namespace {

constexpr int kBase203 = 203;                // a plain model of class 100
constexpr int kBase403 = 403;                // a plain model of class 400
constexpr int kS203 = 0x1100000 + 203;       // the S family
constexpr int kS403 = 0x1100000 + 403;
constexpr int kSP403 = 0x1110000 + 403;      // the S-P family

std::string Written()
{
    return LoadResString(IDS_WRITE_SUCCESSFUL);
}

} // namespace

class Groups00To02Test : public EditorTest {
protected:
    // A new project and a new drive, closing the ones of an earlier case.
    void Connect(int modelCode, int version = 1130)
    {
        m_editor.reset();
        if (m_drive) {
            m_frame.m_pComm = nullptr;
            m_comm.Close();
            m_drive->Stop();
            m_drive.reset();
        }
        m_frame.m_nParam0002 = 0;
        EditorTest::Connect(modelCode, version);
    }
    std::vector<std::string> Shown() const { return m_messages.Texts(); }
    void Drive(uint16_t reg, uint16_t value) { ASSERT_TRUE(m_drive->SetRegister(1, reg, value)); }
};

// ---- group 00 ----

TEST_F(Groups00To02Test, Group00PartnerSourcesAreReadTwiceBeforeTheWrite)
{
    Connect(kBase203);
    Drive(0x0002, 0);
    Drive(0x0006, 2);
    Open(0);
    Selection(0, 4) = 3; // 00-05
    EXPECT_TRUE(Press(0, 4));
    EXPECT_EQ(Shapes(), (std::vector<std::string>{"R 0D07 x1", "R 2520 x1", "R 0002 x1", "R 0006 x1", "R 0006 x1",
                                                  "S 0005"}));
    EXPECT_EQ(m_drive->GetRegister(1, 0x0005), 3);

    // The drive's 00-06 equal to the new 00-05: nothing is written.
    m_drive->ClearFrameLog();
    Selection(0, 4) = 2;
    EXPECT_FALSE(Press(0, 4));
    EXPECT_EQ(Shown(), std::vector<std::string>{"The value of parameter 00-05 and 00-06 can't be the same!"});
    EXPECT_TRUE(WriteFrames().empty());

    // 00-06 against 00-05, and a partner that changes between the two reads:
    // the second comparison decides.
    m_drive->ClearFrameLog();
    Selection(0, 5) = 4; // 00-06
    m_comm.m_count = 0;
    m_comm.m_before = [this](int n) {
        if (n == 5) // the repeated read of 00-05
            m_drive->SetRegister(1, 0x0005, 4);
    };
    EXPECT_FALSE(Press(0, 5));
    m_comm.m_before = nullptr;
    EXPECT_EQ(Shown(), std::vector<std::string>{Msg(61532)});
    EXPECT_TRUE(WriteFrames().empty());
}

TEST_F(Groups00To02Test, Group00DirectionFollowsTheRunCommandSource)
{
    Connect(kBase203);
    Drive(0x0002, 1);
    m_frame.m_nParam0002 = 1;
    Open(0);
    EXPECT_FALSE(Page(0).m_rows[0].enabled);
    EXPECT_FALSE(Press(0, 0));
    EXPECT_EQ(Shown(), std::vector<std::string>{Msg(IDS_READ_ONLY)});
    EXPECT_TRUE(WriteFrames().empty());

    // 00-02 = 0 written from the page frees the direction at once.
    Selection(0, 1) = 0;
    EXPECT_TRUE(Press(0, 1));
    EXPECT_EQ(Shapes().back(), "S 0002");
    EXPECT_TRUE(Page(0).m_rows[0].enabled);
    EXPECT_EQ(m_frame.m_nParam0002, 0);
    Selection(0, 0) = 1;
    EXPECT_TRUE(Press(0, 0));
    EXPECT_EQ(m_drive->GetRegister(1, 0x0001), 1);

    // The extended page answers with its own message, before the value.
    Connect(kS203);
    Drive(0x0002, 1);
    Open(0);
    EXPECT_TRUE(Page(0).m_rows[1].enabled);
    EXPECT_FALSE(Press(0, 1));
    EXPECT_EQ(Shown(), std::vector<std::string>{Msg(61623)});
    EXPECT_EQ(m_frame.m_nParam0002, 1);
}

TEST_F(Groups00To02Test, Group00RowsWrittenWhileTheDriveRuns)
{
    struct Case {
        int code;
        int page;
        std::vector<int> writtenRows; // the others are refused
        bool readsRunning;
    } cases[] = {
        {kBase203, 0, {0}, true},
        {kBase203, 1, {3, 4, 5, 6, 7, 8, 9}, true},
        {kS203, 0, {0}, true},
        {kS203, 1, {3, 4, 5, 6, 7, 8, 9}, true},
        {kS203, 2, {0, 1}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.code) + " page " + std::to_string(c.page));
        Connect(c.code);
        m_drive->SetRunning(kSimAllStations, true);
        Drive(0x0002, 0);
        Open(0);
        for (int r = 0; r < Page(c.page).RowCount(); ++r) {
            SCOPED_TRACE(r);
            m_drive->ClearFrameLog();
            const bool expected =
                std::find(c.writtenRows.begin(), c.writtenRows.end(), r) != c.writtenRows.end();
            EXPECT_EQ(Press(c.page, r), expected);
            const bool readOnly = Page(c.page).Row(r).readOnly;
            EXPECT_EQ(Shown(), std::vector<std::string>{expected   ? Written()
                                                        : readOnly ? Msg(IDS_READ_ONLY)
                                                                   : Msg(IDS_DRIVE_RUNNING)});
            const std::vector<std::string> shapes = Shapes();
            if (!readOnly) {
                EXPECT_EQ(std::count(shapes.begin(), shapes.end(), "R 2520 x1"), c.readsRunning ? 1 : 0);
            }
        }
    }
}

TEST_F(Groups00To02Test, Group00VersionGatesOfTheExtendedPages)
{
    struct Case {
        int code, version, page, row, selection;
        std::string refusal; // empty: written
    } cases[] = {
        // 00-04 offers three run modes: a fourth index is no entry of the
        // list, at any version and in either family.
        {0x1100001, 1092, 0, 4, 3, Msg(IDS_BEYOND_RANGE)},
        {0x1100001, 1093, 0, 4, 3, Msg(IDS_BEYOND_RANGE)},
        {0x1100001, 1092, 0, 4, 2, ""},
        {0x1110001, 1092, 0, 4, 3, Msg(IDS_BEYOND_RANGE)},
        {0x1100001, 1092, 2, 1, 3, Msg(61580)},
        {0x1100001, 1093, 2, 1, 3, ""},
        {0x1110001, 1120, 2, 1, 3, Msg(61580)},
        {0x1110001, 1130, 2, 1, 3, ""},
        {0x1110000, 1300, 2, 1, 3, Msg(61580)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.code) + " v" + std::to_string(c.version) + " row " + std::to_string(c.row));
        Connect(c.code, c.version);
        Drive(0x0002, 0);
        Open(0);
        Selection(c.page, c.row) = c.selection;
        EXPECT_EQ(Press(c.page, c.row), c.refusal.empty());
        EXPECT_EQ(Shown(), std::vector<std::string>{c.refusal.empty() ? Written() : c.refusal});
        EXPECT_EQ(WriteFrames().size(), c.refusal.empty() ? 1u : 0u);
        if (c.refusal != Msg(IDS_BEYOND_RANGE)) { // refused before the drive is asked
            EXPECT_FLOAT_EQ(m_doc.m_fDriveVersion, VersionFromRegister(c.version));
        }
    }
}

TEST_F(Groups00To02Test, Group00NumbersGoToTheDriveScaled)
{
    Connect(kBase203);
    Open(0);
    Text(1, 3) = "3600.0"; // 00-14
    Text(1, 7) = "25.00";  // 00-18
    Text(1, 0) = "0.29";   // 00-11
    EXPECT_TRUE(Press(1, 3));
    EXPECT_TRUE(Press(1, 7));
    EXPECT_TRUE(Press(1, 0));
    EXPECT_EQ(m_drive->GetRegister(1, 0x000E), 0x8CA0);
    EXPECT_EQ(m_drive->GetRegister(1, 0x0012), 2500);
    EXPECT_EQ(m_drive->GetRegister(1, 0x000B), 29);

    // One bad row of a second page blocks every button of it.
    Text(1, 9) = "25.6";
    EXPECT_FALSE(Press(1, 3));
    EXPECT_EQ(Shown(), std::vector<std::string>{Msg(IDS_BEYOND_RANGE)});
    EXPECT_EQ(m_host.m_focus, std::make_pair(1, 9));
}

TEST_F(Groups00To02Test, Group00KeystrokeFilters)
{
    MakeProject(kS203);
    Open(0);
    struct Case {
        int page, row;
        const char* typed;
        bool kept;
    } cases[] = {
        {1, 1, "600", false}, {1, 1, "599", true},     // 00-11
        {1, 3, "598.99", true}, {1, 3, "599", false},  // 00-13
        {2, 0, "25.5", true}, {2, 0, "25.6", false},   // 00-20
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        EXPECT_EQ(Page(c.page).Filter(c.row, "1", c.typed), c.kept ? c.typed : "1");
    }
    MakeProject(kBase203);
    Open(0);
    EXPECT_EQ(Page(1).Filter(2, "1", "598.99"), "598.99"); // base 00-13
    EXPECT_EQ(Page(1).Filter(2, "1", "599"), "1");
    EXPECT_TRUE(Shown().empty());
}

TEST_F(Groups00To02Test, Group00OkRaisesFlagsWhereTheListShowsTheItem)
{
    for (int code : {kBase203, kS203}) {
        SCOPED_TRACE(code);
        MakeProject(code);
        CGroupEditor& editor = Open(0);
        const bool base = code == kBase203;
        const int page1Row = base ? 4 : 5; // 00-05
        Selection(0, page1Row) = 4;
        Text(1, base ? 3 : 4) = "12.5"; // 00-14
        ASSERT_TRUE(editor.ApplyGroup());
        EXPECT_EQ(SetValue(0, 5), "4");
        EXPECT_EQ(SetValue(0, 14), "12.5");
        for (int position = 0; position < 30; ++position) {
            const bool raised = position == (base ? 4 : 5) || position == (base ? 13 : 14);
            EXPECT_EQ(m_doc.m_Changed[0][position], raised ? 1u : 0u) << position;
        }
    }
}

TEST_F(Groups00To02Test, Group00TransmitSendsTheBlocksOfBothLayouts)
{
    // Base: 00-01 to 00-07, then 00-09 to 00-20, as the new project holds them.
    Connect(kBase203);
    Drive(0x0002, 0);
    Open(0);
    m_doc.m_Changed[0][3] = 1;
    m_host.m_stations = {1};
    m_editor->OnTransmitGroup();
    EXPECT_EQ(Shown(), std::vector<std::string>{Written()});
    EXPECT_EQ(WriteFrames(),
              (std::vector<std::string>{BlockFrame(1, 0x0001, {0, 0, 1, 0, 0, 2, 0}),
                                        BlockFrame(1, 0x0009, {0, 0, 5000, 5000, 0, 100, 100, 100, 100, 200, 5, 5})}));
    EXPECT_FALSE(AnyFlag(0));

    // Extended: 00-00 first, then the same blocks; 00-21 equal to the drive's
    // stays unsent.
    Connect(kS203, 1093);
    Drive(0x0002, 0);
    Drive(0x0015, 0);
    Open(0);
    m_host.m_stations = {1};
    m_messages.Clear();
    m_editor->OnTransmitGroup();
    EXPECT_EQ(Shown(), std::vector<std::string>{Written()});
    EXPECT_EQ(WriteFrames(),
              (std::vector<std::string>{BlockFrame(1, 0x0000, {0}), BlockFrame(1, 0x0001, {0, 0, 1, 0, 0, 2, 0}),
                                        BlockFrame(1, 0x0009, {0, 0, 5000, 5000, 0, 100, 100, 100, 100, 200, 5, 5})}));
}

// ---- group 01 ----

TEST_F(Groups00To02Test, Group01VoltageClassLimits)
{
    struct Case {
        int code;
        const char* text;
        const char* lowest;
        const char* below;
        const char* highest;
        const char* above;
    } cases[] = {
        {kBase203, "198.0~256.0", "198.0", "197.9", "256.0", "256.1"},
        {kS203, "170.0~264.0", "170.0", "169.9", "264.0", "264.1"},
        {kBase403, "323.0~528.0", "323.0", "322.9", "528.0", "528.1"},
        {kS403, "323.0~528.0", "323.0", "322.9", "528.0", "528.1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        MakeProject(c.code);
        Open(1);
        EXPECT_EQ(Page(0).m_rows[1].rangeText, c.text);
        for (const char* text : {c.lowest, c.highest, c.below, c.above}) {
            Text(0, 1) = text;
            m_messages.Clear();
            const bool inside = text == c.lowest || text == c.highest;
            EXPECT_EQ(Page(0).CheckRange(m_context), inside) << text;
        }
    }
    MakeProject(kBase403);
    Open(1);
    EXPECT_EQ(Page(0).Filter(1, "52", "529"), "52");
    EXPECT_EQ(Page(0).Filter(1, "52", "528"), "528");
}

TEST_F(Groups00To02Test, Group01CurvePointsNeedTheCurveModeFirst)
{
    Connect(kS203, 1039);
    Drive(0x0100, 6);
    Open(1);
    Text(0, 0) = "7";
    Text(0, 1) = "220.0";
    Text(0, 2) = "0.50"; // below what a drive before 1.04 takes
    EXPECT_TRUE(Press(0, 0));
    EXPECT_TRUE(Press(0, 1));
    Drive(0x0100, 6);
    for (int r = 2; r < 10; ++r) {
        SCOPED_TRACE(r);
        m_drive->ClearFrameLog();
        EXPECT_FALSE(Press(0, r));
        EXPECT_EQ(Shown(), std::vector<std::string>{Msg(61586)});
        EXPECT_EQ(Shapes().back(), "R 0100 x1");
    }
}

TEST_F(Groups00To02Test, Group01OlderDrivesKeepTheFrequencyPointsHigher)
{
    struct Case {
        int version, row;
        const char* text;
        std::string refusal;
    } cases[] = {
        {1039, 2, "1.39", FormatResString(61622, "01-02", "1.40~599.00")},
        {1039, 2, "1.40", ""},
        {1039, 4, "1.29", FormatResString(61622, "01-04", "1.30~599.00")},
        {1039, 6, "0.50", FormatResString(61622, "01-06", "1.30~599.00")},
        {1039, 8, "1.29", FormatResString(61622, "01-08", "1.30~599.00")},
        {1040, 2, "0.20", ""},
        {1040, 4, "0.10", ""},
        {1040, 6, "0.10", ""}, // single precision for 01-06 too
        {1040, 8, "0.10", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.version) + " " + c.text);
        Connect(kS203, c.version);
        Drive(0x0100, 7);
        Drive(0x0104, 5000);
        Drive(0x0106, 10);
        Drive(0x0108, 0);
        Open(1);
        Text(0, c.row) = c.text;
        EXPECT_EQ(Press(0, c.row), c.refusal.empty());
        EXPECT_EQ(Shown(), std::vector<std::string>{c.refusal.empty() ? Written() : c.refusal});
        if (!c.refusal.empty()) {
            EXPECT_EQ(m_host.m_focus, std::make_pair(0, c.row));
        }
    }
}

TEST_F(Groups00To02Test, Group01CurveOrderAgainstTheDrive)
{
    Connect(kS203);
    Drive(0x0100, 7);
    Drive(0x0106, 5000);
    Open(1);
    Text(0, 4) = "50.00";
    EXPECT_TRUE(Press(0, 4)); // equal is allowed
    Text(0, 4) = "49.99";
    EXPECT_FALSE(Press(0, 4));
    EXPECT_EQ(Shown(), std::vector<std::string>{Msg(61587)});

    // 01-06 = 1.15 is judged as the 115 it is sent as.
    Drive(0x0104, 200);
    Drive(0x0108, 115);
    m_drive->ClearFrameLog();
    Text(0, 6) = "1.15";
    EXPECT_TRUE(Press(0, 6));
    EXPECT_EQ(Shapes(), (std::vector<std::string>{"R 0D07 x1", "R 2520 x1", "R 0D01 x1", "R 0100 x1", "R 0104 x1",
                                                  "R 0108 x1", "S 0106"}));
    EXPECT_EQ(m_drive->GetRegister(1, 0x0106), 115);

    struct Case {
        int row;
        const char* text;
        unsigned refusal;
    } cases[] = {
        {5, "9.9", 61588},  // 01-05 below the drive's 01-07 (10.0)
        {6, "2.01", 61589}, // 01-06 above the drive's 01-04 (2.00)
        {7, "5.9", 61590},  // 01-07 below the drive's 01-09 (6.0)
        {8, "1.16", 61591}, // 01-08 above the drive's 01-06 (1.15)
        {9, "10.1", 61592}, // 01-09 above the drive's 01-07
    };
    Drive(0x0107, 100);
    Drive(0x0109, 60);
    Drive(0x0105, 500);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        Text(0, c.row) = c.text;
        EXPECT_FALSE(Press(0, c.row));
        EXPECT_EQ(Shown(), std::vector<std::string>{Msg(c.refusal)});
    }
}

TEST_F(Groups00To02Test, Group01SecondPages)
{
    Connect(kBase203);
    m_drive->SetRunning(kSimAllStations, true);
    Open(1);
    EXPECT_EQ(Page(1).RowCount(), 2);
    EXPECT_TRUE(Press(1, 0));
    EXPECT_FALSE(Press(1, 1));
    EXPECT_EQ(Shown(), std::vector<std::string>{Msg(IDS_DRIVE_RUNNING)});

    // Whole-number rows without a range prompt nothing while typed.
    MakeProject(kS203);
    Open(1);
    EXPECT_EQ(Page(1).RowCount(), 9);
    EXPECT_EQ(Page(1).Filter(3, "5", "0"), "5");
    EXPECT_EQ(Page(1).Filter(3, "5", "8192"), "8192");
    EXPECT_EQ(Page(1).Filter(3, "5", "8193"), "5");
    EXPECT_EQ(Page(1).Filter(3, "5", ""), "");
    EXPECT_EQ(Page(1).Filter(4, "5", "101"), "5");
    EXPECT_TRUE(Shown().empty());
}

// ---- group 02 ----

TEST_F(Groups00To02Test, Group02LimitsFollowTheModel)
{
    struct Case {
        int code;
        int row;
        const char* text;
        const char* lowest;
        const char* highest;
        const char* below; // nullptr: no tenth below the lowest to try
        const char* above;
    } cases[] = {
        {kBase203, 0, "0.8~17.3", "0.8", "17.3", "0.7", "17.4"},
        {kBase203, 1, "0.9~17.4", "0.9", "17.4", "0.8", "17.5"},
        {kBase203, 4, "170.0~264.0", "170.0", "264.0", "169.9", "264.1"},
        {kBase403, 4, "323.0~528.0", "323.0", "528.0", "322.9", "528.1"},
        {kS403, 0, "0.0~8.5", "0.0", "8.5", nullptr, "8.6"},
        {kS403, 1, "0.4~8.6", "0.4", "8.6", "0.3", "8.7"},
        {kS403, 4, "323.0~528.0", "323.0", "528.0", "322.9", "528.1"},
        {kS403, 5, "0.2~4.4", "0.2", "4.4", "0.1", "4.5"},
        {kSP403, 0, "0.0~8.5", "0.0", "8.5", nullptr, "8.6"},
        {kSP403, 5, "0.2~4.4", "0.2", "4.4", "0.1", "4.5"},
        {0x1100000 + 210, 5, "0.8~15.0", "0.8", "15.6", "0.7", "15.7"},
        {0x1100000 + 410, 5, "0.8~15.0", "0.8", "15.6", "0.7", "15.7"},
        {0x1100000 + 205, 0, "1.0~26.9", "1.0", "26.9", "0.9", "27.0"},
        // No row of the tables: the template's texts and their limits.
        {0x1110000, 0, "0.0~6553.5", "0.0", "6553.5", nullptr, "6553.6"},
        {0x1110000, 4, "170.0~264.0", "170.0", "264.0", "169.9", "264.1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.code) + " row " + std::to_string(c.row));
        MakeProject(c.code);
        Open(2);
        EXPECT_EQ(Page(0).m_rows[static_cast<std::size_t>(c.row)].rangeText, c.text);
        for (const char* text : {c.lowest, c.highest, c.below, c.above}) {
            if (!text)
                continue;
            CGroupEditor& editor = Open(2);
            Text(0, c.row) = text;
            m_messages.Clear();
            const bool inside = text == c.lowest || text == c.highest;
            EXPECT_EQ(editor.m_Pages[0]->CheckRange(m_context), inside) << text;
            EXPECT_EQ(Page(0).Filter(c.row, "0", text), inside || text == c.below ? text : "0") << text;
        }
    }
}

TEST_F(Groups00To02Test, Group02CurrentsAgainstTheDrivesPair)
{
    Connect(kBase203);
    Drive(0x0201, 50);
    Drive(0x0200, 20);
    Open(2);
    struct Case {
        int row;
        const char* text;
        int sent; // -1: refused
    } cases[] = {
        {0, "4.9", 49}, {0, "5.0", -1}, {1, "2.1", 21}, {1, "2.0", -1}, {1, "1.9", -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        Drive(0x0201, 50);
        Drive(0x0200, 20);
        m_drive->ClearFrameLog();
        Text(0, c.row) = c.text;
        EXPECT_EQ(Press(0, c.row), c.sent >= 0);
        EXPECT_EQ(Shown(), std::vector<std::string>{c.sent >= 0 ? Written() : Msg(61581)});
        EXPECT_EQ(WriteFrames().size(), c.sent >= 0 ? 1u : 0u);
        if (c.sent >= 0) {
            EXPECT_EQ(m_drive->GetRegister(1, static_cast<uint16_t>(0x0200 + c.row)), c.sent);
        }
    }

    // A refused read of the partner: the page says so.
    m_drive->ForceException(1, 0x0201, 0x02);
    Text(0, 0) = "1.0";
    EXPECT_FALSE(Press(0, 0));
    EXPECT_EQ(Shown(), std::vector<std::string>{Msg(IDS_COMM_ERROR)});

    // A drive that stops answering at the read of 02-00: one box, the read's
    // own, and the page adds none.
    m_comm.m_count = 0;
    m_comm.m_before = [this](int n) {
        if (n == 4) // password, running, version, then 02-00
            m_drive->SetSilent(1, true);
    };
    m_drive->ClearFrameLog();
    Text(0, 1) = "2.5";
    EXPECT_FALSE(Press(0, 1));
    m_comm.m_before = nullptr;
    m_drive->SetSilent(1, false);
    EXPECT_EQ(Shown(), std::vector<std::string>{Msg(IDS_COMM_ERROR)});
    EXPECT_TRUE(WriteFrames().empty());
}

TEST_F(Groups00To02Test, Group02VersionGates)
{
    struct Case {
        int code, version, page, row;
        const char* text;
        std::string refusal;
    } cases[] = {
        {kBase203, 1099, 0, 4, "220.0", Msg(61580)},
        {kBase203, 1100, 0, 4, "220.0", ""},
        {kS203, 1029, 0, 4, "220.0", ""}, // the extended page 1 has no gate
        {kS203, 1029, 1, 0, "150", ""},
        {kS203, 1029, 1, 0, "151", FormatResString(61622, "02-13", "0~150")},
        {kS203, 1029, 1, 1, "101", FormatResString(61622, "02-14", "0~100")},
        {kS203, 1029, 1, 1, "100", ""},
        {kS203, 1029, 1, 5, "0", Msg(61580)},
        {kS203, 1029, 1, 6, "", Msg(61580)},
        {kS203, 1030, 1, 0, "200", ""},
        {kS203, 1030, 1, 1, "200", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.version) + " row " + std::to_string(c.row) + " " + c.text);
        Connect(c.code, c.version);
        Open(2);
        if (Page(c.page).Row(c.row).kind == RowKind::Option)
            Selection(c.page, c.row) = 1;
        else
            Text(c.page, c.row) = c.text;
        EXPECT_EQ(Press(c.page, c.row), c.refusal.empty());
        EXPECT_EQ(Shown(), std::vector<std::string>{c.refusal.empty() ? Written() : c.refusal});
        EXPECT_EQ(WriteFrames().size(), c.refusal.empty() ? 1u : 0u);
    }

    // Page 2 asks whether the drive runs and writes anyway.
    Connect(kS203);
    m_drive->SetRunning(kSimAllStations, true);
    Open(2);
    EXPECT_TRUE(Press(1, 2));
    EXPECT_EQ(Shapes()[1], "R 2520 x1");
}

TEST_F(Groups00To02Test, Group02WholeNumbersOutsideTheirRowNeverReachTheDrive)
{
    for (auto [item, value] : {std::pair{3, "70000"}, std::pair{8, "700"}}) {
        SCOPED_TRACE(value);
        Connect(kS203);
        SetValue(2, item) = value;
        Open(2);
        const int row = Page(0).RowOfItem(item);
        EXPECT_FALSE(Press(0, row));
        EXPECT_EQ(Shown(), std::vector<std::string>{Msg(IDS_BEYOND_RANGE)});
        m_messages.Clear();
        m_host.m_stations = {1};
        m_editor->OnTransmitGroup();
        EXPECT_EQ(Shown(), std::vector<std::string>{Msg(IDS_BEYOND_RANGE)});
        EXPECT_TRUE(WriteFrames().empty());
    }

    // 02-03 typed past its range: the base page prompts, the extended does not.
    MakeProject(kBase203);
    Open(2);
    EXPECT_EQ(Page(0).Filter(3, "1750", "39001"), "1750");
    EXPECT_EQ(Shown(), std::vector<std::string>{"Please enter an integer between 0 and 39000."});
    MakeProject(kS203);
    Open(2);
    EXPECT_EQ(Page(0).Filter(3, "1750", "39001"), "1750");
    EXPECT_TRUE(Shown().empty());
}

// ---- every model ----

TEST_F(Groups00To02Test, EveryModelOpensAndClosesGroups00To02)
{
    for (const ModelCodeEntry& model : ModelCodeTable()) {
        const int code = static_cast<int>(model.code);
        SCOPED_TRACE(model.name);
        MakeProject(code);
        for (int group = 0; group <= 2; ++group) {
            SCOPED_TRACE(group);
            CGroupEditor& editor = Open(group);
            EXPECT_TRUE(editor.ApplyGroup());
            EXPECT_TRUE(Shown().empty()) << (Shown().empty() ? "" : Shown().front());
        }
    }
}

// The data exchange of whole-number rows, which OK and every row button run
// first: an emptied edit, or a number outside the exchange's bounds, is
// prompted for and focused.
TEST_F(Groups00To02Test, WholeNumberRowsMustHoldWholeNumbersWhenTaken)
{
    MakeProject(kBase203);
    Open(2);
    struct Case {
        const char* text;
        std::string prompt; // empty: taken
    } cases[] = {
        {"1750", ""},
        {"", Msg(IDS_ENTER_INTEGER)},
        {"17x", Msg(IDS_ENTER_INTEGER)},
        {"39001", "Please enter an integer between 0 and 39000."},
        {"39000", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        Text(0, 3) = c.text; // 02-03
        m_messages.Clear();
        m_host.m_focus = {-1, -1};
        EXPECT_EQ(Page(0).ExchangeWholeNumbers(m_context), c.prompt.empty());
        EXPECT_EQ(Shown(), c.prompt.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.prompt});
        EXPECT_EQ(m_host.m_focus, c.prompt.empty() ? std::make_pair(-1, -1) : std::make_pair(0, 3));
    }
}

// The version gates of the tables: the code range is exclusive at both ends,
// the version compared in single precision, and a limited gate refuses only
// what lies outside its range.
TEST_F(Groups00To02Test, VersionGatesOfTheTables)
{
    MakeProject(kS203);
    PageTable table;
    table.group = 9;
    table.rows.push_back(DecimalRow(3, 1034, 1, 500.0, 0.0, 500.0, "0.0~500.0"));
    table.rows[0].versionGates = {VersionGate{1.093f, 0x1100000, 0x1110000, true, 0.0, 150.0, "0~150"},
                                 VersionGate{1.03f}};
    CGroupPageModel page(table, 0);
    struct Case {
        int code;
        float version;
        const char* text;
        std::string refusal;
    } cases[] = {
        {0x1100001, 1.092f, "150.0", ""},
        {0x1100001, 1.092f, "150.1", FormatResString(61622, "09-03", "0~150")},
        {0x1100001, VersionFromRegister(1093), "400.0", ""},
        {0x1100000, 1.092f, "400.0", ""}, // the ends of the range are outside it
        {0x1110000, 1.092f, "400.0", ""},
        {0x1110001, VersionFromRegister(1029), "1.0", Msg(61580)},
        {0x1110001, VersionFromRegister(1030), "1.0", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.code) + " " + c.text);
        m_context.modelCode = c.code;
        m_doc.m_fDriveVersion = c.version;
        m_messages.Clear();
        EXPECT_EQ(page.PassesVersionGates(0, c.text, m_context), c.refusal.empty());
        EXPECT_EQ(Shown(), c.refusal.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.refusal});
    }
}

// Transmit Group of groups 01 and 02 sends what the pages show, and OK then
// compares with what was sent.
TEST_F(Groups00To02Test, Groups01And02TransmitWhatThePagesShow)
{
    Connect(kS203);
    Drive(0x0100, 7);
    Drive(0x0201, 174); // the drive's 02-01 above the page's 02-00
    Open(2);
    Text(0, 2) = "12.5";       // 02-02
    Selection(1, 6) = 1;       // 02-19
    m_host.m_stations = {1};
    m_editor->OnTransmitGroup();
    EXPECT_EQ(Shown(), std::vector<std::string>{Written()});
    EXPECT_EQ(m_drive->GetRegister(1, 0x0202), 125);
    EXPECT_EQ(m_drive->GetRegister(1, 0x0213), 1);
    EXPECT_EQ(Page(1).m_strLast[6], "1");
    ASSERT_TRUE(m_editor->ApplyGroup());
    EXPECT_FALSE(AnyFlag(2));

    Open(1);
    Text(1, 0) = "2.5"; // 01-10
    m_messages.Clear();
    m_host.m_stations = {1};
    m_editor->OnTransmitGroup();
    EXPECT_EQ(Shown(), std::vector<std::string>{Written()});
    EXPECT_EQ(m_drive->GetRegister(1, 0x010A), 25);
}
