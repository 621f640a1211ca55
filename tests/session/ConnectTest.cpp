// Connect, Disconnect and the connect-at-once job against the simulated drive:
// the frames on the wire, the messages, the status panes, the station lists
// and the two settings files.

#include "ConnectTestSupport.h"

#include "document/D390DocData.h"
#include "link/SerialComm.h"
#include "platform/ResourceModule.h"
#include "session/LinkSetup.h"
#include "session/NetModuleSettings.h"

#include <fstream>
#include <sstream>

namespace {

constexpr std::uint16_t kRegParam0002 = 0x0002;
constexpr std::uint16_t kRegSeries = 0x252F;
constexpr std::uint16_t kRegModel = 0x0D00;

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string Pane(const TestSession& session, int pane)
{
    return session.m_recorded.GetStatusPaneText(pane);
}

std::string Text(unsigned id)
{
    return LoadResString(id);
}

ConnectRequest SerialRequest(const CSimulatedDrive& drive, const std::string& stations)
{
    ConnectRequest request;
    request.stationText = stations;
    request.port = drive.GetPtyPath();
    request.baudIndex = 1;
    request.dataBitsIndex = 1;
    request.parityIndex = 2;
    request.stopBitsIndex = 0;
    return request;
}

// The frames of one station's probe.
std::vector<Bytes> ProbeFrames(int station)
{
    return {ReadRequest(station, kRegParam0002), ReadRequest(station, kRegSeries), ReadRequest(station, kRegModel, 2)};
}

void ExpectStationLists(const CDriveSession& session, const std::vector<int>& stations, int model, int version)
{
    EXPECT_EQ(session.m_Stations, stations);
    EXPECT_EQ(session.m_StationModels, std::vector<int>(stations.size(), model));
    EXPECT_EQ(session.m_StationVersions, std::vector<int>(stations.size(), version));
}

} // namespace

TEST(Connect, OneStationOnThePseudoTerminal)
{
    SettingsFolder settings;
    auto drive = StartDrive(DriveConfig({1}, 1205, 1093));
    TestSession session;
    MessageRecorder messages;
    CNetModuleSettings modules;
    ConnectRequest request = SerialRequest(*drive, "1");

    ASSERT_TRUE(ConnectStations(session, request, kDefaultModelCode)) << ::testing::PrintToString(messages.Texts());
    FinishConnect(session, request, modules);

    std::vector<Bytes> expected = ProbeFrames(1);
    expected.push_back(ReadRequest(1, kRegSeries));
    EXPECT_EQ(Requests(*drive), expected);
    EXPECT_EQ(messages.Texts(), std::vector<std::string>{Text(61470)});
    EXPECT_EQ(session.m_bConnected, 1);
    EXPECT_EQ(session.m_bNetLink, 0);
    EXPECT_EQ(session.m_recorded.m_watchdogStarts, 1);
    ExpectStationLists(session, {1}, 1205, 1093);
    EXPECT_EQ(session.m_nModelCode2, 1205);
    EXPECT_EQ(session.m_strModelName2, "D390-2P5-Hxx");
    EXPECT_EQ(Pane(session, kPaneVersion), Text(61452) + "1.093");
    EXPECT_EQ(Pane(session, kPaneStation), Text(61453) + "1");
    EXPECT_EQ(Pane(session, kPaneModel), Text(61454) + "D390-2P5-Hxx");
    EXPECT_EQ(Pane(session, kPaneLink), Text(61540));
    EXPECT_EQ(session.m_strStations, "1");

    // Both settings files, and what a later start reads back from them.
    EXPECT_EQ(ReadFile(settings.Path("lcomfile.ini")), drive->GetPtyPath() + "\n1\n120\n1\n");
    EXPECT_EQ(ReadFile(settings.Path("tm4comfile.ini")), drive->GetPtyPath() + "\n");
    ResetCommSettings();
    ASSERT_TRUE(LoadCommSettings());
    EXPECT_EQ(g_strCommPort, drive->GetPtyPath());
    EXPECT_EQ(g_nBaudIndex, 1);
    EXPECT_EQ(g_nParityIndex, 2);
    EXPECT_EQ(g_nStopBitsIndex, 0);
    EXPECT_EQ(g_strStationText, "1");

    DisconnectLink(session);
    EXPECT_EQ(session.m_pComm, nullptr);
    EXPECT_EQ(session.m_bConnected, 0);
    EXPECT_EQ(session.m_recorded.m_transferStops, 1);
    ExpectStationLists(session, {}, 0, 0);
    EXPECT_EQ(Pane(session, kPaneVersion), Text(61452));
    EXPECT_EQ(Pane(session, kPaneStation), Text(61453));
    EXPECT_EQ(Pane(session, kPaneLink), Text(61455));
}

TEST(Connect, ASerialLinkAfterANetworkLinkIsNoNetworkLink)
{
    SettingsFolder settings;
    auto drive = StartDrive(DriveConfig({1}, 1205, 1093));
    TestSession session;
    // What a network link leaves once the watchdog has closed it for lack of stations.
    session.m_bNetLink = 1;
    MessageRecorder messages;
    ASSERT_TRUE(ConnectStations(session, SerialRequest(*drive, "1"), kDefaultModelCode)) << ::testing::PrintToString(messages.Texts());
    EXPECT_EQ(session.m_bConnected, 1);
    EXPECT_EQ(session.m_bNetLink, 0);
    DisconnectLink(session);
}

TEST(Connect, SeveralStationsThenASecondConnectShowsItsOwnDrives)
{
    SettingsFolder settings;
    SimDriveConfig config = DriveConfig({1, 3, 5, 6, 7}, 1205, 1100);
    auto drive = StartDrive(config);
    TestSession session;
    MessageRecorder messages;
    CNetModuleSettings modules;
    ConnectRequest request = SerialRequest(*drive, "1,3,5-7");

    ASSERT_TRUE(ConnectStations(session, request, kDefaultModelCode));
    FinishConnect(session, request, modules);
    std::vector<Bytes> expected;
    for (int station : {1, 3, 5, 6, 7})
        for (const Bytes& probe : ProbeFrames(station))
            expected.push_back(probe);
    expected.push_back(ReadRequest(1, kRegSeries));
    EXPECT_EQ(Requests(*drive), expected);
    ExpectStationLists(session, {1, 3, 5, 6, 7}, 1205, 1100);
    EXPECT_EQ(Pane(session, kPaneStation), Text(61453) + "1,3,5-7");
    EXPECT_EQ(Pane(session, kPaneVersion), Text(61452) + "1.100");

    DisconnectLink(session);
    auto second = StartDrive(DriveConfig({2}, 1102, 1093));
    request = SerialRequest(*second, "2");
    ASSERT_TRUE(ConnectStations(session, request, 1102));
    FinishConnect(session, request, modules);
    ExpectStationLists(session, {2}, 1102, 1093);
    EXPECT_EQ(Pane(session, kPaneVersion), Text(61452) + "1.093");
    EXPECT_EQ(Pane(session, kPaneModel), Text(61454) + "D390-1P2-Hxx");
}

TEST(Connect, SilentStationsStopTheConnect)
{
    SettingsFolder settings;
    auto drive = StartDrive(DriveConfig({1, 3, 5, 6, 7}, 1205));
    drive->SetSilent(5, true);
    drive->SetSilent(7, true);
    TestSession session;
    MessageRecorder messages;

    EXPECT_FALSE(ConnectStations(session, SerialRequest(*drive, "1,3,5-7"), kDefaultModelCode));
    // Station 5 does not answer 00-02: the query says so and the connect ends there.
    std::vector<Bytes> expected = ProbeFrames(1);
    for (const Bytes& probe : ProbeFrames(3))
        expected.push_back(probe);
    expected.push_back(ReadRequest(5, kRegParam0002));
    EXPECT_EQ(Requests(*drive), expected);
    EXPECT_EQ(messages.Texts(), std::vector<std::string>{Text(61479)});
    EXPECT_EQ(session.m_bConnected, 0);
    ExpectStationLists(session, {}, 0, 0);
    ASSERT_NE(session.m_pComm, nullptr) << "the link object stays, closed";
    EXPECT_FALSE(session.m_pComm->IsOpen());
    EXPECT_EQ(session.m_recorded.m_watchdogStarts, 0);
}

TEST(Connect, StationsThatFailTheModelReadAreListed)
{
    struct Case {
        std::vector<int> refusing;
        const char* tail;
    };
    const Case cases[] = {{{3}, "3!"}, {{3, 5}, "3,5!"}, {{1, 3}, "1,3!"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.tail);
        SettingsFolder settings;
        auto drive = StartDrive(DriveConfig({1, 3, 5}, 1205));
        for (int station : c.refusing)
            drive->ForceException(station, kRegModel, kSimExceptionAddress);
        TestSession session;
        MessageRecorder messages;
        EXPECT_FALSE(ConnectStations(session, SerialRequest(*drive, "1,3,5"), kDefaultModelCode));
        EXPECT_EQ(messages.Texts(), std::vector<std::string>{Text(61469) + c.tail});
        EXPECT_EQ(session.m_pComm, nullptr);
        EXPECT_EQ(session.m_bConnected, 0);
        ExpectStationLists(session, {}, 0, 0);
        EXPECT_FALSE(std::filesystem::exists(settings.Path("lcomfile.ini")));
    }
}

TEST(Connect, FamilyAndModelDecisionTable)
{
    struct Case {
        int project;
        std::uint32_t drive;
        int answer;       // to the question, 0 when none is expected
        unsigned message; // the first message, 0 for none
        bool connected;
        const char* why;
    };
    const Case cases[] = {
        {1205, 1205, 0, 0, true, "the same model: nothing to ask"},
        {1205, 1102, IDYES, 61555, true, "another plain model, Yes"},
        {1205, 1102, IDNO, 61555, false, "another plain model, No"},
        {1205, 0x11004B2, 0, 61642, false, "plain project, S drive: no question"},
        {0x11004B2, 1205, 0, 61642, false, "S project, plain drive"},
        {0x11004B2, 0x11004B5, IDYES, 61555, true, "two S models"},
        {0x11104B2, 0x11004B2, 0, 61642, false, "S-P project, S drive"},
        {0x11104B2, 0x111019F, IDYES, 61555, true, "two S-P models"},
        {0x1100000, 1205, IDYES, 61555, true, "a project at the S base accepts any series"},
        {0x1110000, 0x11004B2, IDYES, 61555, true, "a project at the S-P base accepts any series"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        SettingsFolder settings;
        auto drive = StartDrive(DriveConfig({1}, c.drive));
        TestSession session;
        CD390DocData project;
        project.m_nModelCode = c.project;
        MessageRecorder messages;
        if (c.answer)
            messages.Answer(c.answer);
        EXPECT_EQ(ConnectStations(session, SerialRequest(*drive, "1"), project.m_nModelCode), c.connected);
        std::vector<MessageRecorder::Message> shown = messages.Messages();
        if (c.message == 0) {
            EXPECT_TRUE(shown.empty());
        } else {
            ASSERT_FALSE(shown.empty());
            EXPECT_EQ(shown.front().text, Text(c.message));
        }
        if (c.message == 61555) {
            EXPECT_EQ(shown.front().type, MB_YESNO | MB_ICONINFORMATION);
        }
        if (c.message == 61642) {
            EXPECT_EQ(shown.size(), 1u) << "no question after a family mismatch";
        }
        EXPECT_EQ(session.m_bConnected, c.connected ? 1 : 0);
        EXPECT_EQ(project.m_nModelCode, c.project) << "the project's model is only read";
        if (c.connected) {
            EXPECT_EQ(session.m_nModelCode2, static_cast<int>(c.drive));
            ExpectStationLists(session, {1}, static_cast<int>(c.drive), 1100);
        } else {
            ExpectStationLists(session, {}, 0, 0);
            ASSERT_NE(session.m_pComm, nullptr);
            EXPECT_FALSE(session.m_pComm->IsOpen());
        }
    }
}

TEST(Connect, InputRefusedBeforeTheLinkOpens)
{
    SettingsFolder settings;
    TestSession session;
    MessageRecorder messages;
    ConnectRequest request;
    request.port = "/dev/nonexistent-port";
    EXPECT_FALSE(ConnectStations(session, request, kDefaultModelCode));
    request.stationText = "3,3";
    EXPECT_FALSE(ConnectStations(session, request, kDefaultModelCode));
    EXPECT_EQ(messages.Texts(), (std::vector<std::string>{Text(61464), Text(61467)}));
    EXPECT_EQ(g_strStationText, "") << "a refused list is not kept";

    request.stationText = "1";
    messages.Clear();
    EXPECT_FALSE(ConnectStations(session, request, kDefaultModelCode));
    // The reason follows the message.
    EXPECT_EQ(messages.Texts(), std::vector<std::string>{Text(61468) + "\n/dev/nonexistent-port: No such file or directory"});
    EXPECT_EQ(session.m_pComm, nullptr);
    EXPECT_EQ(g_strCommPort, "/dev/nonexistent-port");
    ExpectStationLists(session, {}, 0, 0);
}

TEST(Connect, ThroughTheNetworkAdapter)
{
    SettingsFolder settings;
    SimDriveConfig config = DriveConfig({1}, 1205);
    config.servePty = false;
    config.tcpPort = 0;
    config.udpPort = 0;
    auto drive = StartDrive(config);
    LoopbackAdapterSettings adapter(drive->GetUdpPort());
    TestSession session;
    MessageRecorder messages;

    CNetModuleSettings modules;
    CSerialComm* comm = EnsureLinkObject(session);
    ASSERT_EQ(comm->DiscoverModules(&modules.m_Discovered), 1);
    ASSERT_EQ(modules.m_Discovered.size(), 1u);
    EXPECT_EQ(modules.m_Discovered[0].m_strMac, "00-20-4a-00-00-01");
    EXPECT_EQ(modules.m_Discovered[0].m_strIp, "127.0.0.1");
    modules.m_Discovered[0].m_strName = "pump room";
    modules.m_strSelectedMac = modules.m_Discovered[0].m_strMac;

    ConnectRequest request;
    request.stationText = "1";
    request.port = kNetPortName;
    request.module = &modules.m_Discovered[0];
    ASSERT_TRUE(ConnectStations(session, request, kDefaultModelCode));
    FinishConnect(session, request, modules);
    EXPECT_EQ(session.m_bNetLink, 1);
    EXPECT_TRUE(session.m_pComm->IsNetLink());
    std::vector<Bytes> expected = ProbeFrames(1);
    expected.push_back(ReadRequest(1, kRegSeries));
    EXPECT_EQ(Requests(*drive), expected);
    for (const SimFrame& logged : drive->GetFrameLog())
        EXPECT_EQ(logged.transport, SimTransport::Tcp);
    EXPECT_EQ(ReadFile(settings.Path("tm4comfile.ini")), "TCPIP\n00-20-4a-00-00-01\n1\n00-20-4a-00-00-01\npump room\n");
    EXPECT_EQ(ReadFile(settings.Path("lcomfile.ini")).substr(0, 6), "TCPIP\n");

    // A later dialog finds the adapter under its saved name.
    CNetModuleSettings later;
    later.m_Discovered = {modules.m_Discovered[0]};
    later.m_Discovered[0].m_strName.clear();
    ASSERT_TRUE(later.Load());
    EXPECT_EQ(later.m_strSelectedMac, "00-20-4a-00-00-01");
    EXPECT_EQ(later.m_Discovered[0].m_strName, "pump room");
    EXPECT_EQ(CNetModuleSettings::ButtonText(later.m_Discovered[0]), "127.0.0.1(pump room)");
    DisconnectLink(session);
    EXPECT_EQ(session.m_bNetLink, 0);
}

TEST(Connect, NetworkModeWithoutAnAdapter)
{
    SettingsFolder settings;
    TestSession session;
    MessageRecorder messages;
    ConnectRequest request;
    request.stationText = "1";
    request.port = kNetPortName;
    EXPECT_FALSE(ConnectStations(session, request, kDefaultModelCode));
    EXPECT_EQ(messages.Texts(), (std::vector<std::string>{"no qw47!", Text(61468) + "\nno network adapter chosen"}));
    EXPECT_EQ(session.m_pComm, nullptr);
    EXPECT_EQ(g_strCommPort, "TCPIP");
}

TEST(NetModuleSettings, MergesAndKeepsBlankNames)
{
    SettingsFolder settings;
    CNetModuleSettings modules;
    NetDeviceInfo a;
    a.m_strMac = "0a-1b-2c-3d-4e-5f";
    a.m_strIp = "127.0.0.2";
    NetDeviceInfo b = a;
    b.m_strMac = "00-20-4a-00-00-02";
    b.m_strName = "line 2";
    modules.m_Discovered = {a, b};
    ASSERT_TRUE(modules.Save("/dev/ttyUSB0"));
    EXPECT_EQ(ReadFile(settings.Path("tm4comfile.ini")),
              "/dev/ttyUSB0\n2\n0a-1b-2c-3d-4e-5f\n \n00-20-4a-00-00-02\nline 2\n");

    // A known adapter takes the discovered name; a new one is appended.
    CNetModuleSettings next;
    ASSERT_TRUE(next.Load());
    EXPECT_EQ(next.m_Saved.size(), 2u);
    EXPECT_EQ(next.m_Saved[0].m_strName, " ") << "a blank name reads back as one blank";
    NetDeviceInfo c = a;
    c.m_strMac = "00-20-4a-00-00-03";
    b.m_strName = "line two";
    next.m_Discovered = {b, c};
    next.m_strSelectedMac = b.m_strMac;
    ASSERT_TRUE(next.Save("TCPIP"));
    EXPECT_EQ(ReadFile(settings.Path("tm4comfile.ini")),
              "TCPIP\n00-20-4a-00-00-02\n3\n0a-1b-2c-3d-4e-5f\n \n00-20-4a-00-00-02\nline two\n"
              "00-20-4a-00-00-03\n \n");

    // A file of 3 bytes or less is ignored.
    std::ofstream(settings.Path("tm4comfile.ini"), std::ios::trunc) << "ab\n";
    CNetModuleSettings empty;
    empty.m_strSelectedMac = "kept";
    EXPECT_FALSE(empty.Load());
    EXPECT_EQ(empty.m_strSelectedMac, "kept");
}

TEST(HandOverConnect, ConnectsAtOnce)
{
    SettingsFolder settings;
    auto drive = StartDrive(DriveConfig({4}, 0x11004B2, 1093));
    TestSession session;
    MessageRecorder messages;
    std::istringstream file(drive->GetPtyPath() + "\n9600\n812\n4\n1\n");
    HandOverConnect job = ReadHandOverConnect(file);

    // The new project takes the drive's model from the station list and the
    // base frequency from the job.
    ASSERT_TRUE(RunHandOverConnect(session, job));
    EXPECT_EQ(job.freqIndex, 1);
    ExpectStationLists(session, {4}, 0x11004B2, 1093);
    FinishHandOverConnect(session, job);
    EXPECT_EQ(session.m_bConnected, 1);
    EXPECT_EQ(session.m_nModelCode2, 0x11004B2);
    EXPECT_EQ(session.m_strModelName2, "RQ5 02 A240");
    EXPECT_EQ(session.m_recorded.m_watchdogStarts, 0) << "the connect-at-once job starts no watchdog";
    EXPECT_EQ(Pane(session, kPaneVersion), Text(61452) + "1.093");
    EXPECT_EQ(Pane(session, kPaneStation), Text(61453) + "4");
    EXPECT_EQ(Pane(session, kPaneModel), Text(61454) + "RQ5 02 A240");
    EXPECT_EQ(Pane(session, kPaneLink), Text(61540));
    EXPECT_TRUE(messages.Texts().empty());
    EXPECT_EQ(Requests(*drive), ProbeFrames(4));
    EXPECT_EQ(ReadFile(settings.Path("lcomfile.ini")), drive->GetPtyPath() + "\n1\n111\n4\n");
}

TEST(HandOverConnect, RollsBackOnFailure)
{
    SettingsFolder settings;
    auto drive = StartDrive(DriveConfig({4}, 0x11004B2));
    drive->ForceException(4, kRegModel, kSimExceptionAddress);
    TestSession session;
    session.m_strModelName2 = "D390-2P5-Hxx";
    MessageRecorder messages;

    std::istringstream file(drive->GetPtyPath() + "\n19200\n802\n4\n1\n");
    EXPECT_FALSE(RunHandOverConnect(session, ReadHandOverConnect(file)));
    EXPECT_EQ(messages.Texts(), std::vector<std::string>{Text(61479)});
    EXPECT_EQ(session.m_nModelCode2, 1205);
    EXPECT_EQ(session.m_strModelName2, "D390-2P5-Hxx");
    EXPECT_EQ(session.m_bConnected, 0);
    ExpectStationLists(session, {}, 0, 0);
    ASSERT_NE(session.m_pComm, nullptr);
    EXPECT_FALSE(session.m_pComm->IsOpen());

    // A port that does not open: no link object.
    messages.Clear();
    std::istringstream missing("/dev/nonexistent-port\n19200\n802\n4\n0\n");
    EXPECT_FALSE(RunHandOverConnect(session, ReadHandOverConnect(missing)));
    EXPECT_EQ(messages.Texts(), std::vector<std::string>{Text(61468) + "\n/dev/nonexistent-port: No such file or directory"});
    EXPECT_EQ(session.m_pComm, nullptr);
    EXPECT_EQ(g_strCommPort, "/dev/nonexistent-port") << "the job's settings are kept for the Connect dialog";
}

TEST(HandOverConnect, RefusesAStationThatIsNoStation)
{
    struct Case {
        const char* station;
        unsigned message;
        const char* why;
    };
    const Case cases[] = {
        {"", 61464, "no station at all"},
        {"257", 61465, "would be station 1 on the wire"},
        {"33", 61465, "above 32"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        SettingsFolder settings;
        auto drive = StartDrive(DriveConfig({1}, 1205));
        TestSession session;
        MessageRecorder messages;
        std::istringstream file(drive->GetPtyPath() + "\n19200\n802\n" + c.station + "\n0\n");
        EXPECT_FALSE(RunHandOverConnect(session, ReadHandOverConnect(file)));
        EXPECT_EQ(messages.Texts(), std::vector<std::string>{Text(c.message)});
        EXPECT_EQ(drive->GetFrameCount(), 0u) << "nothing is sent";
        EXPECT_EQ(session.m_bConnected, 0);
        EXPECT_TRUE(session.m_Stations.empty());
    }
    // "x" and "0" are refused with the station list's own message, naming the item.
    for (const char* station : {"x", "0"}) {
        SettingsFolder settings;
        auto drive = StartDrive(DriveConfig({1}, 1205));
        TestSession session;
        MessageRecorder messages;
        std::istringstream file(drive->GetPtyPath() + "\n19200\n802\n" + station + "\n0\n");
        EXPECT_FALSE(RunHandOverConnect(session, ReadHandOverConnect(file)));
        ASSERT_EQ(messages.Texts().size(), 1u);
        EXPECT_NE(messages.Texts()[0].find(station), std::string::npos);
        EXPECT_EQ(drive->GetFrameCount(), 0u);
    }
}
