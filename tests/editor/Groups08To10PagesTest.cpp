// The pages of groups 08 (protection), 09 (communication) and 10 (PID) on the
// editor's engine: tabs per page set, packed digit rows, ranges that follow
// the model, version gates, partner reads and 10-05's resolution, against the
// simulated drive with its frame log.

#include "tests/editor/EditorTestSupport.h"

#include "document/ModelTables.h"
#include "editor/EditorStrings.h"
#include "pages/groups08_14/Groups08To10Pages.h"
#include "platform/ResourceModule.h"

#include <set>

namespace {

constexpr int kBase = 0x1100000;
constexpr int kRangeA = 0x1100000 + 1202;  // class 100
constexpr int kBoundary = 0x1110000;
constexpr int kRangeB = 0x1110000 + 1202;  // class 100
constexpr int kRangeB400 = 0x1110000 + 4015; // class 400

constexpr unsigned kRetained = 61580;
constexpr unsigned kSmallModels = 61584;
constexpr unsigned kSourcesSame = 61533;

std::vector<std::string> Classes(const CGroupEditor& editor)
{
    std::vector<std::string> names;
    for (const auto& page : editor.m_Pages)
        names.push_back(page->Table().className);
    return names;
}

} // namespace

TEST_F(EditorTest, Groups08To10TabsCaptionsAndTheTabOfAnItem)
{
    using V = std::vector<std::string>;
    struct Case {
        int group, code;
        V classes, captions;
    } cases[] = {
        {8, kBase, {"CGroup08Page1Dlg", "CGroup08Page2Dlg"}, {"-> 08-00 - 08-09 ", "   08-10 - 08-11   "}},
        {8, kRangeA, {"CGroup08Page1ExDlg", "CGroup08Page2ExDlg"}, {"-> 08-00 - 08-09 ", "    08-10 - 08-19    "}},
        {8, kBoundary, {"CGroup08Page1ExDlg", "CGroup08Page2ExDlg"}, {"-> 08-00 - 08-09 ", "    08-10 - 08-19    "}},
        {8, kRangeB, {"CGroup08Page1ExDlg", "CGroup08Page2ExDlg"}, {"-> 08-00 - 08-09 ", "    08-10 - 08-19    "}},
        {9, kBase, {"CGroup09Page1Dlg"}, {"-> 09-00 - 09-09 "}},
        {9, kRangeA, {"CGroup09Page1Dlg", "CGroup09Page2Dlg"}, {"-> 09-00 - 09-09 ", "    09-10    "}},
        {9, kBoundary, {"CGroup09Page1Dlg"}, {"-> 09-00 - 09-09 "}},
        {9, kRangeB, {"CGroup09Page1Dlg"}, {"-> 09-00 - 09-09 "}},
        {10, kBase, {"CGroup10Page1Dlg", "CGroup10Page2Dlg", "CGroup10Page3Dlg"},
         {"-> 10-00 - 10-09 ", "    10-10 - 10-19    ", "    10-20 - 10-22    "}},
        {10, kRangeA, {"CGroup10Page1ExDlg", "CGroup10Page2Dlg", "CGroup10Page3Dlg"},
         {"-> 10-00 - 10-09 ", "    10-10 - 10-19    ", "    10-20 - 10-22    "}},
        {10, kBoundary, {"CGroup10Page1ExDlg", "CGroup10Page2Dlg", "CGroup10Page3Dlg"},
         {"-> 10-00 - 10-09 ", "    10-10 - 10-19    ", "    10-20 - 10-22    "}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.group) + " / " + std::to_string(c.code));
        MakeProject(c.code);
        CGroupEditor& editor = Open(c.group);
        EXPECT_EQ(Classes(editor), c.classes);
        V captions = c.captions;
        captions[0] = m_doc.m_Groups[static_cast<std::size_t>(c.group)].m_strName + captions[0];
        EXPECT_EQ(editor.m_Captions, captions);
        // Every position of the group opens the tab of its page, its row marked.
        struct Place {
            int tab, row, position;
        };
        std::vector<Place> places;
        for (std::size_t tab = 0; tab < editor.m_Pages.size(); ++tab) {
            const CGroupPageModel& page = *editor.m_Pages[tab];
            for (int r = 0; r < page.RowCount(); ++r)
                places.push_back({static_cast<int>(tab), r, m_doc.DefinedPosition(c.group, page.Row(r).item)});
        }
        for (const Place& place : places) {
            CGroupEditor& again = Open(c.group, place.position);
            EXPECT_EQ(again.m_nShownTab, place.tab) << place.position;
            EXPECT_EQ(Page(place.tab).m_nMarked, place.row);
        }
    }
}

// Every model of the table: the pages show exactly the group's defined
// parameters at their list positions, every value passes CheckRange, and OK
// without an edit stores every text unchanged and marks nothing.
TEST_F(EditorTest, Groups08To10FitEveryShippedModel)
{
    for (const ModelCodeEntry& model : ModelCodeTable()) {
        SCOPED_TRACE(model.name);
        MakeProject(static_cast<int>(model.code));
        for (int group : {8, 9, 10}) {
            SCOPED_TRACE(group);
            const std::vector<ParamRec> before = m_doc.m_Groups[static_cast<std::size_t>(group)].m_Params;
            CGroupEditor& editor = Open(group);
            std::set<int> shown;
            for (std::size_t p = 0; p < editor.m_Pages.size(); ++p) {
                CGroupPageModel& page = *editor.m_Pages[p];
                EXPECT_TRUE(page.CheckRange(m_context)) << page.Table().className;
                for (int r = 0; r < page.RowCount(); ++r) {
                    const int item = page.Row(r).item;
                    shown.insert(item);
                    EXPECT_EQ(page.FlagPosition(r, m_doc), m_doc.DefinedPosition(group, item));
                }
            }
            std::set<int> defined;
            for (int item = 0; item < kItemCount; ++item)
                if (m_doc.m_Defined[group][item])
                    defined.insert(item);
            EXPECT_EQ(shown, defined);
            ASSERT_TRUE(editor.ApplyGroup());
            EXPECT_FALSE(AnyFlag(group));
            const auto& after = m_doc.m_Groups[static_cast<std::size_t>(group)].m_Params;
            for (std::size_t k = 0; k < before.size(); ++k)
                EXPECT_EQ(after[k].m_strValue, before[k].m_strValue) << k;
            EXPECT_TRUE(m_messages.Texts().empty());
        }
    }
}

TEST_F(EditorTest, ProtectionDigitsKeepWhatNoListShowsAndSendBaseTwo)
{
    Connect(1205);
    SetValue(8, 0) = "10110"; // the leading digit has no choice on the page
    Open(8);
    EXPECT_EQ(Page(0).m_rows[0].digits, (std::vector<int>{-1, 0, 1, 1, 0}));
    ASSERT_TRUE(m_editor->ApplyGroup());
    EXPECT_EQ(SetValue(8, 0), "10110");
    EXPECT_FALSE(AnyFlag(8));

    m_host.m_stations = {1};
    ASSERT_TRUE(m_editor->OnParamButton(0, 0));
    EXPECT_EQ(Shapes(), (std::vector<std::string>{"R 0D07 x1", "R 2520 x1", "R 0D01 x1", "S 0800"}));
    EXPECT_EQ(m_drive->GetRegister(1, 0x0800), 22);

    // The lists 1031, 1032, 1033, 1077 at 1, 0, 1, 1 below a cleared first digit.
    SetValue(8, 0) = "00000";
    Open(8);
    const int choices[] = {1, 0, 1, 1};
    for (int d = 0; d < 4; ++d)
        Page(0).SelectDigit(0, d + 1, choices[d]);
    EXPECT_EQ(Page(0).m_rows[0].explanation, "Disable Trip Prevention During Acceleration ");
    Page(0).SelectDigit(0, 3, 1);
    EXPECT_EQ(Page(0).m_rows[0].explanation, "Disable Trip Prevention During Deceleration");
    m_drive->ClearFrameLog();
    m_host.m_stations = {1};
    ASSERT_TRUE(m_editor->OnParamButton(0, 0));
    EXPECT_EQ(WriteFrames().back().substr(0, 17), "01 06 08 00 00 0B");
    EXPECT_EQ(Page(0).m_strLast[0], "01011");
}

TEST_F(EditorTest, ExtendedOverloadDigitsAreTheLastThreeOfFive)
{
    Connect(kRangeA);
    SetValue(8, 5) = "01001";
    Open(8);
    const RowState& row = Page(0).m_rows[5];
    EXPECT_EQ(row.digits, (std::vector<int>{-1, -1, 0, 0, 1}));
    ASSERT_TRUE(m_editor->ApplyGroup());
    EXPECT_EQ(SetValue(8, 5), "01001");
    EXPECT_FALSE(AnyFlag(8));
    m_host.m_stations = {1};
    ASSERT_TRUE(m_editor->OnParamButton(0, 5));
    EXPECT_EQ(m_drive->GetRegister(1, 0x0805), 9);

    SetValue(8, 5) = "00110";
    Open(8);
    EXPECT_EQ(Page(0).m_rows[5].digits, (std::vector<int>{-1, -1, 1, 1, 0}));
    Page(0).SelectDigit(5, 4, 0);
    EXPECT_EQ(Page(0).m_rows[5].explanation, "Disable Electronic Motor Overload Protection");
    Page(0).SelectDigit(5, 2, 0);
    EXPECT_EQ(Page(0).m_rows[5].explanation, "Standard Motor");
    Page(0).SelectDigit(5, 2, 1);
    m_host.m_stations = {1};
    ASSERT_TRUE(m_editor->OnParamButton(0, 5));
    EXPECT_EQ(m_drive->GetRegister(1, 0x0805), 6);
    ASSERT_TRUE(m_editor->ApplyGroup());
    EXPECT_EQ(SetValue(8, 5), "00110");
    EXPECT_EQ(m_doc.m_Changed[8][5], 0u);
}

TEST_F(EditorTest, ProtectBitTexts)
{
    struct Case {
        int item, bit, selection;
        unsigned text; // 0: none
    } cases[] = {
        {0, 3, 0, 61599}, {0, 3, 1, 61600}, {0, 2, 1, 61598}, {0, 1, 0, 61595}, {0, 0, 7, 61594},
        {0, 4, 1, 0},     {5, 2, 1, 61619}, {5, 1, 0, 61616}, {5, 0, 0, 61614}, {5, 3, 0, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(GetProtectBitText(c.item, c.bit, c.selection), c.text ? Msg(c.text) : std::string())
            << c.item << "/" << c.bit;
}

TEST_F(EditorTest, VoltageLevelFollowsTheVoltageClass)
{
    struct Case {
        int code;
        const char* text;
        bool passes;
        const char* range;
    } cases[] = {
        {kRangeA, "380.0", true, "350.0~390.0"},   {kRangeA, "720.0", false, "350.0~390.0"},
        {kRangeB400, "380.0", false, "700.0~780.0"}, {kRangeB400, "720.0", true, "700.0~780.0"},
        {1202, "390.0", true, "350.0~390.0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.code) + " " + c.text);
        MakeProject(c.code);
        Open(8);
        EXPECT_EQ(Page(0).m_rows[4].rangeText, c.range);
        Text(0, 4) = c.text;
        EXPECT_EQ(Page(0).CheckRange(m_context), c.passes);
        const bool low = std::string(c.range)[0] == '3';
        EXPECT_EQ(Page(0).Filter(4, "38", low ? "391" : "781"), "38");
        EXPECT_EQ(Page(0).Filter(4, "38", low ? "390" : "780"), low ? "390" : "780");
    }
    Connect(kRangeA);
    Open(8);
    Text(0, 4) = "380";
    m_host.m_stations = {1};
    ASSERT_TRUE(m_editor->OnParamButton(0, 4));
    EXPECT_EQ(Text(0, 4), "380.0");
    EXPECT_EQ(m_drive->GetRegister(1, 0x0804), 3800);
}

// The version read before each row write, on both sides of every threshold.
TEST_F(EditorTest, ProtectionVersionGates)
{
    struct Case {
        int code, page, row;
        const char* text; // the row's text, nullptr to keep the project's
        int version;
        unsigned refusal; // 0: written
    } cases[] = {
        {1105, 0, 4, "380.0", 1310, kSmallModels}, {1105, 0, 4, "380.0", 1320, 0},
        {1202, 0, 4, "380.0", 1310, kSmallModels}, {1205, 0, 4, "380.0", 1310, 0},
        {1205, 1, 0, "5.0", 1399, kRetained},      {1205, 1, 1, "5.0", 1400, 0},
        {kRangeA, 1, 7, "5.0", 1039, kRetained},   {kRangeA, 1, 8, "5.0", 1040, 0},
        {kRangeA, 1, 9, nullptr, 1059, kRetained}, {kRangeA, 1, 9, nullptr, 1060, 0},
        {kRangeA, 0, 4, "380.0", 1000, 0}, // no version gate on the extended page
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.code) + " row " + std::to_string(c.row) + " v" + std::to_string(c.version));
        Connect(c.code, c.version);
        Open(8);
        if (c.text)
            Text(c.page, c.row) = c.text;
        m_host.m_stations = {1};
        const int item = Page(c.page).Row(c.row).item;
        EXPECT_EQ(m_editor->OnParamButton(c.page, c.row), c.refusal == 0);
        std::vector<std::string> shapes = {"R 0D07 x1", "R 2520 x1", "R 0D01 x1"};
        char write[8];
        std::snprintf(write, sizeof write, "S 08%02X", item);
        if (c.refusal == 0)
            shapes.push_back(write);
        EXPECT_EQ(Shapes(), shapes);
        EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{Msg(c.refusal ? c.refusal : IDS_WRITE_SUCCESSFUL)});
        EXPECT_FLOAT_EQ(m_doc.m_fDriveVersion, static_cast<float>(c.version * 0.001));
        TearDown();
    }
}

TEST_F(EditorTest, RowsAllowedWhileTheDriveRuns)
{
    struct Case {
        int code, group, page, row;
        bool allowed;
    } cases[] = {
        {1205, 8, 0, 4, true},     {1205, 8, 0, 1, false},   {1205, 8, 1, 0, false},
        {kRangeA, 8, 0, 4, true},  {kRangeA, 8, 1, 4, true}, {kRangeA, 8, 1, 3, false},
        {kRangeA, 9, 0, 6, false}, {kRangeA, 9, 0, 9, false},
        {kRangeA, 10, 0, 0, true}, {kRangeA, 10, 0, 1, true}, {kRangeA, 10, 0, 2, true}, {kRangeA, 10, 0, 3, false},
        {1205, 10, 0, 2, true},    {1205, 10, 0, 9, false},
        {kRangeA, 10, 1, 0, true}, {kRangeA, 10, 1, 4, true}, {kRangeA, 10, 1, 1, false},
        {kRangeA, 10, 2, 1, true}, {kRangeA, 10, 2, 2, true}, {kRangeA, 10, 2, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.group) + "/" + std::to_string(c.page) + "/" + std::to_string(c.row) + " " +
                     std::to_string(c.code));
        Connect(c.code, 1300);
        m_drive->SetRunning(kSimAllStations, true);
        // 10-00 and 10-01 must differ from the drive's partner.
        m_drive->SetRegister(1, 0x0A00, 3);
        m_drive->SetRegister(1, 0x0A01, 3);
        Open(c.group);
        m_host.m_stations = {1};
        EXPECT_EQ(m_editor->OnParamButton(c.page, c.row), c.allowed);
        EXPECT_EQ(m_messages.Texts().back(), Msg(c.allowed ? IDS_WRITE_SUCCESSFUL : IDS_DRIVE_RUNNING));
        TearDown();
    }
}

TEST_F(EditorTest, CommunicationPageKeepsTheLinkSettings)
{
    MakeProject(kRangeA);
    SetValue(9, 10) = "0";  // outside 1 to 254, but nobody can edit it
    SetValue(9, 0) = "07";  // kept exactly as stored
    Open(9);
    EXPECT_FALSE(Page(0).m_rows[0].enabled);
    EXPECT_FALSE(Page(1).m_rows[0].enabled);
    ASSERT_TRUE(m_editor->ApplyGroup());
    EXPECT_EQ(SetValue(9, 10), "0");
    EXPECT_EQ(SetValue(9, 0), "07");
    EXPECT_FALSE(AnyFlag(9));
    EXPECT_TRUE(m_messages.Texts().empty());

    // Read-only rows refuse before the link is even looked at.
    for (auto [page, row] : {std::pair{0, 0}, {0, 3}, {0, 5}, {1, 0}}) {
        m_messages.Clear();
        EXPECT_FALSE(m_editor->OnParamButton(page, row));
        EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{Msg(IDS_READ_ONLY)});
    }
    m_messages.Clear();
    EXPECT_FALSE(m_editor->OnParamButton(0, 6));
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{Msg(IDS_NOT_CONNECTED)});
}

TEST_F(EditorTest, CommunicationRangesFollowTheModel)
{
    struct Case {
        int code, row;
        const char* text;
        bool passes;
    } cases[] = {
        {kRangeA, 8, "0", true}, {kRangeB, 8, "0", true}, {kBase, 8, "0", false}, {1205, 8, "1", true},
        {kRangeA, 8, "20", true}, {kRangeA, 9, "4", false}, {kRangeA, 9, "66", false}, {kRangeA, 9, "5", true},
        {kRangeA, 6, "25.6", false}, {kRangeA, 6, "25.5", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.code) + " row " + std::to_string(c.row) + " " + c.text);
        MakeProject(c.code);
        Open(9);
        EXPECT_EQ(Page(0).m_rows[8].rangeText, c.code > kBase ? "0~20" : "1~20");
        Text(0, c.row) = c.text;
        EXPECT_EQ(Page(0).CheckRange(m_context), c.passes);
    }
    MakeProject(kBase);
    Open(9);
    EXPECT_EQ(Page(0).Filter(8, "5", "0"), "5");
    EXPECT_EQ(Page(0).Filter(8, "5", "21"), "5");
    EXPECT_EQ(Page(0).Filter(9, "6", "66"), "6");
    EXPECT_EQ(Page(0).Filter(9, "6", "4"), "4"); // the lower bound is CheckRange's
    MakeProject(kRangeA);
    Open(9);
    EXPECT_EQ(Page(0).Filter(8, "5", "0"), "0");
}

TEST_F(EditorTest, PidSourcesMayNotEqualTheDrivesPartner)
{
    for (int code : {1205, kRangeA}) {
        SCOPED_TRACE(code);
        Connect(code);
        m_drive->SetRegister(1, 0x0A01, 2);
        m_drive->SetRegister(1, 0x0A00, 1);
        Open(10);
        Page(0).m_rows[0].selection = 2;
        m_host.m_stations = {1};
        EXPECT_FALSE(m_editor->OnParamButton(0, 0));
        EXPECT_EQ(Shapes(), (std::vector<std::string>{"R 0D07 x1", "R 2520 x1", "R 0A01 x1"}));
        EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{Msg(kSourcesSame)});
        EXPECT_EQ(m_drive->GetRegister(1, 0x0A00), 1);

        m_drive->ClearFrameLog();
        m_messages.Clear();
        Page(0).m_rows[1].selection = 1; // 10-01 = 1 against the drive's 10-00 = 1
        m_host.m_stations = {1};
        EXPECT_FALSE(m_editor->OnParamButton(0, 1));
        EXPECT_EQ(Shapes(), (std::vector<std::string>{"R 0D07 x1", "R 2520 x1", "R 0A00 x1"}));

        m_drive->ClearFrameLog();
        Page(0).m_rows[0].selection = 3;
        m_host.m_stations = {1};
        EXPECT_TRUE(m_editor->OnParamButton(0, 0));
        EXPECT_EQ(Shapes(), (std::vector<std::string>{"R 0D07 x1", "R 2520 x1", "R 0A01 x1", "S 0A00"}));
        EXPECT_EQ(m_drive->GetRegister(1, 0x0A00), 3);
        TearDown();
    }
}

TEST_F(EditorTest, PidRefusedRepliesAreReportedAsEachPageDoes)
{
    struct Case {
        int code, page, row;
        uint16_t reg;
        const char* shown;
    } cases[] = {
        {1205, 0, 0, 0x0A01, "Communication error!"},               // the base page's partner read
        {kRangeA, 0, 0, 0x0A01, "Station Num 1\nDATA Over Range"},  // the extended page's
        {kRangeA, 1, 0, 0x0A0A, "Station Num 1\nDATA Over Range"},  // a write on page 2
        {kRangeA, 2, 0, 0x0A14, "Station Num 1Communication error!"}, // a write on page 3
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.shown);
        Connect(c.code);
        m_drive->SetRegister(1, 0x0A00, 1);
        m_drive->SetRegister(1, 0x0A01, 2);
        m_drive->ForceException(1, c.reg, 0x54);
        Open(10);
        m_host.m_stations = {1};
        EXPECT_FALSE(m_editor->OnParamButton(c.page, c.row));
        EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{c.shown});
        TearDown();
    }
}

// 10-05 on the extended page: the chosen station's software decides, not the
// version the project last held.
TEST_F(EditorTest, IntegralTimeResolutionFollowsTheChosenStation)
{
    struct Case {
        int code;
        int stationVersion;
        float documentVersion;
        bool readsVersion;
        uint16_t word;
        const char* sent;
    } cases[] = {
        {kRangeA, 1090, 1.10f, true, 23, "2.3"},
        {kRangeA, 1100, 1.09f, true, 230, "2.30"},
        {kBoundary, 1100, 1.10f, false, 23, "2.3"},
        {kRangeB, 1000, 1.00f, false, 230, "2.30"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.code) + " v" + std::to_string(c.stationVersion));
        Connect(c.code);
        m_drive->SetRegister(2, 0x0D01, static_cast<uint16_t>(c.stationVersion));
        m_doc.m_fDriveVersion = c.documentVersion;
        Open(10);
        Text(0, 5) = "2.30";
        m_host.m_stations = {2};
        ASSERT_TRUE(m_editor->OnParamButton(0, 5));
        std::vector<std::string> shapes = {"R 0D07 x1", "R 2520 x1"};
        if (c.readsVersion)
            shapes.push_back("R 0D01 x1");
        shapes.push_back("S 0A05");
        EXPECT_EQ(Shapes(), shapes);
        EXPECT_EQ(m_drive->GetRegister(2, 0x0A05), c.word);
        EXPECT_EQ(Text(0, 5), c.sent);
        // The drive holds what the page shows: OK marks nothing.
        ASSERT_TRUE(m_editor->ApplyGroup());
        EXPECT_EQ(SetValue(10, 5), "2.30");
        EXPECT_EQ(m_doc.m_Changed[10][5], 0u);
        TearDown();
    }
    // The base page: tenths.
    Connect(1205);
    Open(10);
    Text(0, 5) = "2.3";
    m_host.m_stations = {1};
    ASSERT_TRUE(m_editor->OnParamButton(0, 5));
    EXPECT_EQ(m_drive->GetRegister(1, 0x0A05), 23);
}

TEST_F(EditorTest, PidFiltersAndRanges)
{
    MakeProject(kRangeA);
    Open(10);
    EXPECT_EQ(Page(0).Filter(5, "2.3", "2.34"), "2.3"); // first extended family types tenths
    EXPECT_EQ(Page(0).Filter(9, "5", "-1"), "5");
    EXPECT_EQ(Page(1).Filter(7, "59", "600"), "59");
    EXPECT_EQ(Page(1).Filter(7, "59", "599"), "599");
    EXPECT_EQ(Page(2).Filter(1, "99", "1000"), "99");
    m_messages.Clear();
    Text(1, 7) = "650.00";
    EXPECT_FALSE(Page(1).CheckRange(m_context));
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{Msg(IDS_BEYOND_RANGE)});
    Text(1, 7) = "599.00";
    EXPECT_TRUE(Page(1).CheckRange(m_context));
    MakeProject(kRangeB);
    Open(10);
    EXPECT_EQ(Page(0).Filter(5, "2.3", "2.34"), "2.34");
}

// Every row button of every page of the three groups, on each page set, the
// drive stopped and then running: the reads each page makes, then the write
// of the project's value or the page's refusal.
TEST_F(EditorTest, EveryRowButtonOfGroups08To10)
{
    for (int code : {1205, kRangeA, kRangeB}) {
        for (bool running : {false, true}) {
            for (int group : {8, 9, 10}) {
                SCOPED_TRACE(std::to_string(code) + (running ? " running " : " stopped ") + std::to_string(group));
                Connect(code, 1400);
                m_drive->SetRunning(kSimAllStations, running);
                Open(group);
                // The two sources differ from every value the pages hold.
                m_drive->SetRegister(1, 0x0A00, 9);
                m_drive->SetRegister(1, 0x0A01, 9);
                for (std::size_t p = 0; p < m_editor->m_Pages.size(); ++p) {
                    CGroupPageModel& page = Page(static_cast<int>(p));
                    for (int r = 0; r < page.RowCount(); ++r) {
                        const PageRow& row = page.Row(r);
                        SCOPED_TRACE(row.item);
                        m_drive->ClearFrameLog();
                        m_messages.Clear();
                        std::string text;
                        ASSERT_TRUE(page.RowText(r, text));
                        uint16_t word = 0;
                        ASSERT_TRUE(page.ValueForDrive(r, text, word, m_context));
                        m_host.m_stations = {1};
                        const bool written = m_editor->OnParamButton(static_cast<int>(p), r);
                        if (row.readOnly) {
                            EXPECT_FALSE(written);
                            EXPECT_TRUE(Shapes().empty());
                            EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{Msg(IDS_READ_ONLY)});
                            continue;
                        }
                        std::vector<std::string> shapes = {"R 0D07 x1", "R 2520 x1"};
                        if (running && !row.whileRunning) {
                            EXPECT_FALSE(written);
                            EXPECT_EQ(Shapes(), shapes);
                            EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{Msg(IDS_DRIVE_RUNNING)});
                            continue;
                        }
                        if (group == 8 || (group == 10 && row.item == 5 && code == kRangeA))
                            shapes.push_back("R 0D01 x1");
                        if (group == 10 && row.item < 2)
                            shapes.push_back(row.item == 0 ? "R 0A01 x1" : "R 0A00 x1");
                        char write[8];
                        std::snprintf(write, sizeof write, "S %02X%02X", group, row.item);
                        shapes.push_back(write);
                        EXPECT_TRUE(written);
                        EXPECT_EQ(Shapes(), shapes);
                        EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{Msg(IDS_WRITE_SUCCESSFUL)});
                        EXPECT_EQ(m_drive->GetRegister(1, static_cast<uint16_t>(group << 8 | row.item)), word) << text;
                    }
                }
                TearDown();
            }
        }
    }
}

TEST_F(EditorTest, CommunicationTransmitSendsOnlyTheWritableBlock)
{
    Connect(kRangeA);
    SetValue(9, 10) = "0";
    Open(9);
    Text(0, 6) = "2.5";
    m_host.m_stations = {1};
    m_editor->OnTransmitGroup();
    EXPECT_EQ(Shapes(), (std::vector<std::string>{"R 0D07 x1", "R 2520 x1", "R 0D01 x1", "W 0906 x4"}));
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{Msg(IDS_WRITE_SUCCESSFUL)});
    EXPECT_EQ(m_drive->GetRegister(1, 0x0906), 25);
}

TEST_F(EditorTest, PidTransmitRefusesEqualSourcesAndSendsTheFineIntegralTime)
{
    Connect(kRangeB);
    Open(10);
    Page(0).m_rows[0].selection = 1;
    Page(0).m_rows[1].selection = 1;
    m_host.m_stations = {1};
    m_editor->OnTransmitGroup();
    EXPECT_EQ(Shapes(), (std::vector<std::string>{"R 0D07 x1", "R 2520 x1", "R 0D01 x1"}));
    EXPECT_EQ(m_messages.Texts().size(), 1u);

    m_drive->ClearFrameLog();
    m_messages.Clear();
    Page(0).m_rows[1].selection = 2;
    Text(0, 5) = "2.34";
    m_host.m_stations = {1};
    m_editor->OnTransmitGroup();
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{Msg(IDS_WRITE_SUCCESSFUL)});
    EXPECT_EQ(m_drive->GetRegister(1, 0x0A05), 234);
    EXPECT_EQ(m_drive->GetRegister(1, 0x0A01), 2);
}

// The engine's packed rows, digit by digit: a digit no list can show is kept
// and sent with the others, a missing digit is 0, and a text that is no
// number in the row's base is refused with nothing sent.
TEST_F(EditorTest, PackedRowsReadTheStoredTextDigitByDigit)
{
    MakeProject(kRangeA);
    PageTable table;
    table.group = 12;
    PageRow binary;
    binary.item = 0;
    binary.kind = RowKind::Packed;
    binary.packedIds = {1025, 1031, 1032, 1033, 1077};
    binary.packedCounts = {1, 2, 2, 2, 2};
    binary.optionFirst = PageStringBase(8) + 26;
    binary.optionCount = 2;
    table.rows.push_back(binary);
    PageRow octal = binary;
    octal.item = 1;
    octal.packedCounts.clear();
    octal.optionCount = 8;
    octal.packBase = 8;
    table.rows.push_back(octal);
    struct Case {
        int row;
        const char* stored;
        std::vector<int> digits;
        const char* kept;
        int word; // -1: refused as no number
    } cases[] = {
        {0, "10110", {-1, 0, 1, 1, 0}, "10110", 22},
        {0, "1", {-1, 0, 0, 0, 0}, "10000", 16},
        {0, "", {0, 0, 0, 0, 0}, "00000", 0},
        {0, "12011", {-1, -1, 0, 1, 1}, "12011", -1},
        {1, "01892", {0, 1, -1, -1, 2}, "01892", -1},
        {1, "07777", {0, 7, 7, 7, 7}, "07777", 4095},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        SetValue(12, c.row) = c.stored;
        CGroupPageModel page(table, 0);
        page.Load(m_context);
        EXPECT_EQ(page.m_rows[static_cast<std::size_t>(c.row)].digits, c.digits);
        std::string text;
        ASSERT_TRUE(page.RowText(c.row, text));
        EXPECT_EQ(text, c.kept);
        m_messages.Clear();
        uint16_t word = 0;
        EXPECT_EQ(page.ValueForDrive(c.row, text, word, m_context), c.word >= 0);
        if (c.word >= 0) {
            EXPECT_EQ(word, c.word);
            EXPECT_TRUE(m_messages.Texts().empty());
        } else {
            ASSERT_EQ(m_messages.Texts().size(), 1u);
            EXPECT_NE(m_messages.Texts()[0].find("is not a number"), std::string::npos);
        }
    }
    // A list takes no selection it cannot show.
    SetValue(12, 0) = "00000";
    CGroupPageModel page(table, 0);
    page.Load(m_context);
    page.SelectDigit(0, 0, 1);
    page.SelectDigit(0, 1, 1);
    EXPECT_EQ(page.m_rows[0].digits[0], 0);
    EXPECT_EQ(page.m_rows[0].digits[1], 1);
}
