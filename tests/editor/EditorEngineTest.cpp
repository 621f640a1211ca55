// The editor's engine on groups 05 and 06: tabs, marks, OK, row writes and
// Transmit Group against the simulated drive, frames compared with its log.

#include "tests/editor/EditorTestSupport.h"

#include "editor/EditorStrings.h"
#include "pages/groups08_14/Group14TransmitGate.h"
#include "platform/ResourceModule.h"

namespace {

constexpr int kBase = 0x1100000;
constexpr int kRangeA = 0x1100000 + 1202;
constexpr int kBoundary = 0x1110000;
constexpr int kRangeB = 0x1110000 + 1202;

} // namespace

TEST_F(EditorTest, TabsAndCaptionsOfEveryModelFamily)
{
    for (int code : {kBase, kBase + 1, kBoundary, kBoundary + 1}) {
        SCOPED_TRACE(code);
        MakeProject(code);
        const std::string name5 = m_doc.m_Groups[5].m_strName;
        CGroupEditor& five = Open(5);
        EXPECT_EQ(five.m_Captions,
                  (std::vector<std::string>{name5 + "-> 05-00 - 05-17 ", "    05-18 - 05-27    ", "    05-28 - 05-32    "}));
        EXPECT_EQ(five.m_nShownTab, 0);
        const std::string name6 = m_doc.m_Groups[6].m_strName;
        CGroupEditor& six = Open(6);
        EXPECT_EQ(six.m_Captions,
                  (std::vector<std::string>{name6 + "-> 06-00 - 06-17 ", "    06-18 - 06-35    ", "    06-36 - 06-39    "}));
        for (int tab = 0; tab < 3; ++tab)
            EXPECT_EQ(Page(tab).m_nMarked, -1);
    }
}

TEST_F(EditorTest, TheItemComingFromTheListChoosesTabAndRow)
{
    MakeProject(kRangeA);
    struct Case {
        int group, nItem, tab, page, row;
    } cases[] = {
        {5, 22, 2, 2, 2}, // 05-30
        {6, 19, 1, 1, 9}, // 06-35
        {6, 20, 2, 2, 0}, // 06-36
        {5, 30, 0, -1, -1}, // no such position: first tab, nothing marked
        {5, -1, 0, -1, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.group * 100 + c.nItem);
        CGroupEditor& editor = Open(c.group, c.nItem);
        EXPECT_EQ(editor.m_nShownTab, c.tab);
        for (int p = 0; p < 3; ++p)
            EXPECT_EQ(Page(p).m_nMarked, p == c.page ? c.row : -1);
    }
}

TEST_F(EditorTest, OkRefusesAnOutOfRangeProjectValueAndStoresNothing)
{
    MakeProject(kRangeA);
    SetValue(6, 1) = "650.00";
    CGroupEditor& editor = Open(6);
    Text(0, 3) = "7.5";
    EXPECT_FALSE(editor.ApplyGroup());
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{Msg(IDS_BEYOND_RANGE)});
    EXPECT_EQ(m_host.m_selectedTab, 0);
    EXPECT_EQ(m_host.m_focus, std::make_pair(0, 1));
    EXPECT_EQ(SetValue(6, 3), "0.00");
    EXPECT_FALSE(AnyFlag(6));
    EXPECT_FALSE(m_doc.IsModified());
}

TEST_F(EditorTest, OkRaisesTheFlagAtTheListPosition)
{
    MakeProject(kRangeA);
    Open(6);
    Text(0, 8) = "12.5"; // 06-16
    ASSERT_TRUE(m_editor->ApplyGroup());
    EXPECT_EQ(SetValue(6, 16), "12.5");
    EXPECT_EQ(m_doc.m_Changed[6][8], 1u);
    EXPECT_EQ(m_doc.m_Changed[6][16], 0u);
    EXPECT_TRUE(m_doc.IsModified());
    EXPECT_EQ(m_host.m_stored, std::vector<int>{6});

    Open(5);
    Text(0, 9) = "7"; // 05-17, stored as 7.0
    ASSERT_TRUE(m_editor->ApplyGroup());
    EXPECT_EQ(SetValue(5, 17), "7.0");
    EXPECT_EQ(m_doc.m_Changed[5][9], 1u);
}

TEST_F(EditorTest, RowWritesSendThePartsFramesAfterThePasswordAndRunningReads)
{
    Connect(kRangeA);
    Open(6);
    Text(0, 1) = "12.34";
    Text(0, 8) = "3600.0";
    Page(2).m_rows[3].selection = 2;
    m_host.m_stations = {1, 1, 2};
    EXPECT_TRUE(m_editor->OnParamButton(0, 1));
    EXPECT_TRUE(m_editor->OnParamButton(0, 8));
    EXPECT_TRUE(m_editor->OnParamButton(2, 3));
    EXPECT_EQ(Shapes(), (std::vector<std::string>{"R 0D07 x1", "R 2520 x1", "S 0601", "R 0D07 x1", "R 2520 x1",
                                                  "S 0610", "R 0D07 x1", "R 2520 x1", "S 0627"}));
    EXPECT_EQ(WriteFrames(), (std::vector<std::string>{"01 06 06 01 04 D2 5A 1F", "01 06 06 10 8C A0 EC 3F",
                                                       "02 06 06 27 00 02 B8 BB"}));
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>(3, Msg(IDS_WRITE_SUCCESSFUL)));
    EXPECT_EQ(m_drive->GetRegister(2, 0x0627), 2);
}

TEST_F(EditorTest, RunningDriveRefusesOnlyTheRowsThatMustStop)
{
    Connect(kRangeA);
    m_drive->SetRunning(kSimAllStations, true);
    Open(5);
    m_host.m_stations = {1, 1, 1};
    EXPECT_TRUE(m_editor->OnParamButton(1, 0)); // 05-18: page 2 never reads the running state
    EXPECT_EQ(Shapes(), (std::vector<std::string>{"R 0D07 x1", "S 0512"}));
    m_drive->ClearFrameLog();
    EXPECT_TRUE(m_editor->OnParamButton(0, 1)); // 05-01 is written while running
    EXPECT_FALSE(m_editor->OnParamButton(0, 0)); // 05-00 is not
    EXPECT_EQ(Shapes(), (std::vector<std::string>{"R 0D07 x1", "R 2520 x1", "S 0501", "R 0D07 x1", "R 2520 x1"}));
    EXPECT_EQ(m_messages.Texts(), (std::vector<std::string>{Msg(IDS_WRITE_SUCCESSFUL), Msg(IDS_WRITE_SUCCESSFUL),
                                                            Msg(IDS_DRIVE_RUNNING)}));
}

TEST_F(EditorTest, FailedRowWritesAreReportedWithTheStation)
{
    Connect(kRangeA);
    Open(6);
    // Station 5 answers the password and running reads, then falls silent.
    m_comm.m_before = [this](int transaction) {
        if (transaction == 3)
            m_drive->SetSilent(5, true);
    };
    m_host.m_stations = {5};
    EXPECT_FALSE(m_editor->OnParamButton(0, 1));
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{"Station Num 5TimeOut!"});
    m_comm.m_before = nullptr;

    m_messages.Clear();
    m_drive->ForceException(1, 0x0601, 0x54);
    m_host.m_stations = {1};
    EXPECT_FALSE(m_editor->OnParamButton(0, 1));
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{"Station Num 1\nDATA Over Range"});

    m_messages.Clear();
    m_drive->ClearFrameLog();
    m_drive->SetPassword(3, 1234);
    m_host.m_stations = {3};
    EXPECT_FALSE(m_editor->OnParamButton(0, 1));
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{FormatResString(IDS_PASSWORD_SET, 3)});
    EXPECT_EQ(Shapes(), std::vector<std::string>{"R 0D07 x1"});
    EXPECT_FALSE(Page(0).m_bWritten[1]);
    EXPECT_TRUE(Page(0).m_strLast[1].empty());
}

TEST_F(EditorTest, OkComparesAWrittenRowWithWhatTheDriveTook)
{
    Connect(kRangeA);
    Open(6);
    Text(0, 8) = "3600.0";
    m_host.m_stations = {1};
    ASSERT_TRUE(m_editor->OnParamButton(0, 8));
    ASSERT_TRUE(m_editor->ApplyGroup());
    EXPECT_EQ(SetValue(6, 16), "3600.0");
    EXPECT_EQ(m_doc.m_Changed[6][8], 0u);

    // A failed write of another value: OK compares with the project again.
    Open(6);
    Text(0, 8) = "12.0";
    m_drive->ForceException(1, 0x0610, 0x54);
    m_host.m_stations = {1};
    EXPECT_FALSE(m_editor->OnParamButton(0, 8));
    ASSERT_TRUE(m_editor->ApplyGroup());
    EXPECT_EQ(m_doc.m_Changed[6][8], 1u);
}

TEST_F(EditorTest, RowButtonGatesBeforeAnyFrame)
{
    Connect(kRangeA);
    Open(5);
    Text(1, 4) = "0.0"; // 05-22: a bad row blocks every row of its page
    m_host.m_stations = {1};
    EXPECT_FALSE(m_editor->OnParamButton(1, 0));
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{Msg(IDS_BEYOND_RANGE)});
    EXPECT_EQ(m_host.m_focus, std::make_pair(1, 4));
    EXPECT_EQ(m_host.m_chooserShown, 0);

    m_messages.Clear();
    m_frame.m_bConnected = 0;
    EXPECT_FALSE(m_editor->OnParamButton(0, 1));
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{Msg(IDS_NOT_CONNECTED)});
    m_frame.m_bConnected = 1;

    m_messages.Clear();
    m_host.m_stations = {}; // the chooser cancelled
    EXPECT_FALSE(m_editor->OnParamButton(0, 1));
    EXPECT_TRUE(m_messages.Texts().empty());
    EXPECT_TRUE(Shapes().empty());
}

TEST_F(EditorTest, BroadcastIsSentOnceAndReportedAsWritten)
{
    Connect(kRangeA);
    Open(6);
    EXPECT_TRUE(Page(0).WriteParamToDrive(1, 29, 0, m_context));
    ASSERT_TRUE(m_drive->WaitForFrameCount(1, 1000));
    std::vector<uint8_t> frame{0x00, 0x06, 0x06, 0x01, 0x00, 0x1D};
    const uint16_t crc = CSimulatedDrive::Crc16(frame.data(), frame.size());
    frame.push_back(static_cast<uint8_t>(crc));
    frame.push_back(static_cast<uint8_t>(crc >> 8));
    EXPECT_EQ(WriteFrames(), std::vector<std::string>{Hex(frame)});
    EXPECT_EQ(m_drive->GetRegister(4, 0x0601), 29);
}

TEST_F(EditorTest, AListWithoutASelectionIsNeitherStoredNorSent)
{
    Connect(kRangeA);
    SetValue(5, 0) = "5";
    Open(5);
    EXPECT_EQ(Page(0).m_rows[0].selection, -1);
    m_host.m_stations = {1};
    EXPECT_FALSE(m_editor->OnParamButton(0, 0));
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{Msg(IDS_BEYOND_RANGE)});
    EXPECT_EQ(m_host.m_focus, std::make_pair(0, 0));
    EXPECT_EQ(WriteFrames().size(), 0u);

    m_messages.Clear();
    m_host.m_stations = {1};
    m_editor->OnTransmitGroup();
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{Msg(IDS_BEYOND_RANGE)});
    EXPECT_EQ(WriteFrames().size(), 0u);

    ASSERT_TRUE(m_editor->ApplyGroup());
    EXPECT_EQ(SetValue(5, 0), "5");
    EXPECT_EQ(m_doc.m_Changed[5][0], 0u);
}

class TransmitTest : public EditorTest {
protected:
    // Group 05 with a value on every row: 05-00 "1", 05-0n n.01 x n, times
    // 05-(17 + k) as 1.5 + k.
    void FillGroup05()
    {
        Open(5);
        Page(0).m_rows[0].selection = 1;
        for (int item = 1; item <= 8; ++item)
            Text(0, item) = std::to_string(item) + "." + std::to_string(item) + "1";
        Text(0, 9) = "1.5";
        for (int r = 0; r < 10; ++r)
            Text(1, r) = std::to_string(2 + r) + ".5";
        for (int r = 0; r < 5; ++r)
            Text(2, r) = std::to_string(12 + r) + ".5";
        m_doc.m_Changed[5][3] = 1;
        m_doc.m_Changed[5][12] = 1;
    }
    std::vector<std::string> ExpectedGroup05Frames(int station)
    {
        std::vector<uint16_t> first{1};
        for (int item = 1; item <= 8; ++item)
            first.push_back(static_cast<uint16_t>(item * 100 + item * 10 + 1));
        std::vector<uint16_t> times;
        for (int k = 0; k < 16; ++k)
            times.push_back(static_cast<uint16_t>(15 + 10 * k));
        return {BlockFrame(station, 0x0500, first), BlockFrame(station, 0x0511, times)};
    }
};

TEST_F(TransmitTest, Group05SendsThePartsBlocksAndClearsTheFlags)
{
    Connect(kRangeA, 1093);
    FillGroup05();
    m_host.m_stations = {2};
    m_editor->OnTransmitGroup();
    EXPECT_EQ(Shapes(), (std::vector<std::string>{"R 0D07 x1", "R 2520 x1", "R 0D01 x1", "W 0500 x9", "W 0511 x16"}));
    EXPECT_EQ(WriteFrames(), ExpectedGroup05Frames(2));
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{Msg(IDS_WRITE_SUCCESSFUL)});
    EXPECT_FALSE(AnyFlag(5));
    EXPECT_FLOAT_EQ(m_doc.m_fDriveVersion, 1.093f);

    // What the drive now holds counts as written: an unchanged OK marks nothing.
    ASSERT_TRUE(m_editor->ApplyGroup());
    EXPECT_FALSE(AnyFlag(5));
    EXPECT_EQ(SetValue(5, 3), "3.31");
}

TEST_F(TransmitTest, AFailedWriterIsShownAndKeepsTheFlagsOfWhatItDidNotSend)
{
    Connect(kRangeA);
    FillGroup05();
    m_drive->ForceException(2, 0x0511, 0x54);
    m_host.m_stations = {2};
    m_editor->OnTransmitGroup();
    ASSERT_EQ(m_messages.Texts().size(), 1u);
    EXPECT_NE(m_messages.Texts()[0].find("DATA Over Range"), std::string::npos) << m_messages.Texts()[0];
    EXPECT_EQ(m_messages.Texts()[0], m_frame.m_strLastError);
    // The first block reached the drive before the second was refused.
    EXPECT_EQ(m_doc.m_Changed[5][3], 0u);
    EXPECT_TRUE(Page(0).m_bWritten[1]);
    EXPECT_EQ(m_doc.m_Changed[5][12], 1u);
    EXPECT_FALSE(Page(1).m_bWritten[0]);
}

// The group-02 writer reads 02-00 back after writing it: a drive fallen
// silent there is told once, by the transmit, not by the read as well.
TEST_F(TransmitTest, AFailedReadOfTheWriterIsToldOnce)
{
    Connect(kRangeA);
    Open(2);
    m_drive->SetRegister(1, 0x0201, 60000);
    m_comm.m_count = 0;
    m_comm.m_before = [this](int n) {
        if (n == 6) // password, running, version, 02-01, 02-00 written, then 02-00 read
            m_drive->SetSilent(1, true);
    };
    m_host.m_stations = {1};
    m_editor->OnTransmitGroup();
    m_comm.m_before = nullptr;
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{Msg(IDS_COMM_ERROR)});
    EXPECT_EQ(WriteFrames().size(), 1u);
}

TEST_F(TransmitTest, GatesRefuseBeforeAnyBlock)
{
    Connect(kRangeA);
    FillGroup05();
    m_drive->SetRunning(3, true);
    m_drive->SetPassword(4, 7);
    m_host.m_stations = {3, 4};
    m_editor->OnTransmitGroup();
    m_editor->OnTransmitGroup();
    EXPECT_EQ(m_messages.Texts(),
              (std::vector<std::string>{Msg(IDS_DRIVE_RUNNING), FormatResString(IDS_PASSWORD_SET, 4)}));
    EXPECT_TRUE(WriteFrames().empty());
    EXPECT_EQ(m_doc.m_Changed[5][3], 1u);

    // A bad row: its page is shown, nothing sent, flags kept.
    m_messages.Clear();
    Text(1, 4) = "0.0";
    m_host.m_stations = {1};
    m_editor->OnTransmitGroup();
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{Msg(IDS_BEYOND_RANGE)});
    EXPECT_EQ(m_host.m_selectedTab, 1);
    EXPECT_EQ(m_editor->m_nShownTab, 1);
    EXPECT_TRUE(WriteFrames().empty());
    EXPECT_EQ(m_doc.m_Changed[5][12], 1u);
}

TEST_F(TransmitTest, TheVersionOfTheChosenStationIsTheOneStored)
{
    Connect(kRangeA, 1130);
    m_drive->SetRegister(4, 0x0D01, 1040);
    FillGroup05();
    m_host.m_stations = {4};
    m_editor->OnTransmitGroup();
    EXPECT_FLOAT_EQ(m_doc.m_fDriveVersion, 1.04f);
    EXPECT_EQ(WriteFrames(), ExpectedGroup05Frames(4));
}

TEST_F(TransmitTest, Group06SendsTheListsAndTimes)
{
    Connect(kRangeB);
    Open(6);
    m_host.m_stations = {1};
    m_editor->OnTransmitGroup();
    EXPECT_EQ(Shapes(), (std::vector<std::string>{"R 0D07 x1", "R 2520 x1", "R 0D01 x1", "W 0600 x8", "W 0610 x8",
                                                  "W 0620 x8"}));
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{Msg(IDS_WRITE_SUCCESSFUL)});
}

TEST_F(TransmitTest, Group14IsRefusedBelowItsVersionWithNothingWritten)
{
    Connect(0x1100001, 1092);
    // The group's gate on a one-row page standing in for its tables.
    static const PageTable page = [] {
        PageTable table;
        table.group = 14;
        table.rows.push_back(OptionRow(0, 1025, PageStringBase(6) + 10, 3));
        return table;
    }();
    GroupTable table;
    table.group = 14;
    LayoutTable layout;
    layout.pages = {&page};
    layout.captions = {"-> 14-00 - 14-09 "};
    table.layouts = {layout};
    table.writer = &CParamGroupIO::WriteParamGroup14;
    table.transmitGate = Group14TransmitGate;
    m_doc.m_Changed[14][0] = 1;
    CGroupEditor editor(m_context, table, 14, -1);
    editor.InitGroupTabs();
    m_host.m_stations = {1};
    editor.OnTransmitGroup();
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{Msg(IDS_GROUP14_VERSION)});
    EXPECT_EQ(Shapes(), (std::vector<std::string>{"R 0D07 x1", "R 2520 x1", "R 0D01 x1"}));
    EXPECT_EQ(m_doc.m_Changed[14][0], 1u);
    EXPECT_EQ(Group14TransmitGate(0x1100001, 1.093f), 0u);
    EXPECT_EQ(Group14TransmitGate(0x1110001, 1.0f), 0u);
}
