// Read-all and Write-all against the simulated drive: a whole drive of each
// model family into a project and back, the checks before a write, and a
// failed read that leaves the project as it was.

#include "ConnectTestSupport.h"

#include "document/D390DocData.h"
#include "document/ModelTables.h"
#include "link/DriveQueries.h"
#include "link/ParamGroupIO.h"
#include "platform/ResourceModule.h"
#include "session/LinkSetup.h"
#include "session/ReadWriteAll.h"

#include <filesystem>
#include <map>

namespace {

class RecordingProgress : public TransferProgress {
public:
    bool IsShown() const override { return m_shown; }
    void ShowWithHeading(const std::string& heading) override
    {
        m_heading = heading;
        m_shown = true;
    }
    void SetRange(int high) override { m_high = high; }
    void SetPosition(int position) override { m_position = position; }
    void SetText(const std::string& text) override { m_texts.push_back(text); }
    void Hide() override { m_shown = false; }

    bool m_shown = false;
    std::string m_heading;
    int m_high = 0;
    int m_position = -1;
    std::vector<std::string> m_texts;
};

std::string NameOf(int code)
{
    std::string capacity;
    return LookupModelByCode(static_cast<uint32_t>(code), capacity);
}

using Registers = std::map<std::uint16_t, std::uint16_t>;

// Every parameter register the drive has, groups 00 to 14.
Registers ParameterRegisters(const CSimulatedDrive& drive, int station)
{
    Registers registers;
    for (int group = 0; group <= 14; ++group)
        for (int item = 0; item < 100; ++item) {
            std::uint16_t value = 0;
            auto reg = static_cast<std::uint16_t>(group * 256 + item);
            if (drive.GetRegister(station, reg, &value))
                registers[reg] = value;
        }
    return registers;
}

class ReadWriteAllTest : public ::testing::Test {
protected:
    // A drive on station 2 and a project of projectModel, connected.
    void Start(std::uint32_t driveModel, int version, int projectModel)
    {
        m_drive = StartDrive(DriveConfig({2}, driveModel, version));
        m_progress = RecordingProgress();
        m_project.m_strProgramFolder = TestProgramFolder();
        m_project.m_nModelCode = projectModel;
        m_project.m_strModelName = NameOf(projectModel);
        ASSERT_TRUE(m_project.BuildForCurrentModel());
        m_project.SetModifiedFlag(false);
        CSerialComm* comm = EnsureLinkObject(m_session);
        ASSERT_NE(comm->InitComm(m_drive->GetPtyPath(), 19200, 8, 0, 2.0f), 0);
        AppendStationRecord(m_session, {2, static_cast<int>(driveModel), version});
        m_session.m_bConnected = 1;
        m_drive->ClearFrameLog();
    }

    std::vector<Bytes> WriteFrames() const
    {
        std::vector<Bytes> writes;
        for (const Bytes& request : Requests(*m_drive))
            if (request.size() > 1 && (request[1] == 0x06 || request[1] == 0x10))
                writes.push_back(request);
        return writes;
    }

    bool Write()
    {
        return RunWriteAll(m_session, m_project, 2, m_progress, [this] { ++m_motorListShown; });
    }

    TestSession m_session;
    // The project answers to the same windows as the session, as in the program.
    CD390DocData m_project{m_session.m_recorded};
    std::unique_ptr<CSimulatedDrive> m_drive;
    RecordingProgress m_progress;
    MessageRecorder m_messages;
    int m_motorListShown = 0;
};

} // namespace

TEST_F(ReadWriteAllTest, EveryFamilyIntoANewProjectAndBack)
{
    struct Case {
        std::uint32_t model;
        int version;
        bool group14;
        const char* why;
    };
    const Case cases[] = {
        {1205, 1100, false, "a plain drive: groups 00 to 13"},
        {0x11004B2, 1093, true, "an S drive from version 1.093 on has group 14"},
        {0x111019F, 1100, true, "an S-P drive"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        // The project starts as another model: Read makes it the drive's.
        Start(c.model, c.version, c.model == 1205 ? 0x11004B2 : 1205);
        Registers before = ParameterRegisters(*m_drive, 2);

        ASSERT_TRUE(RunReadAll(m_session, m_project, 2, m_progress));
        EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{LoadResString(61575)});
        EXPECT_EQ(m_project.m_nModelCode, static_cast<int>(c.model));
        EXPECT_EQ(m_project.m_strModelName, NameOf(static_cast<int>(c.model)));
        EXPECT_EQ(m_session.m_strModelName2, NameOf(static_cast<int>(c.model)));
        EXPECT_EQ(m_session.m_bReading, 0);
        EXPECT_FLOAT_EQ(m_project.m_fDriveVersion, VersionFromRegister(c.version));
        EXPECT_EQ(m_progress.m_heading, LoadResString(61487));
        EXPECT_EQ(m_progress.m_high, 15);
        EXPECT_EQ(m_progress.m_position, c.group14 ? 15 : 14);
        EXPECT_EQ(m_progress.m_texts.front(), "00-XX --" + LoadResString(61453) + "2");
        EXPECT_FALSE(m_progress.m_shown);
        EXPECT_FALSE(m_project.IsModified());
        EXPECT_EQ(m_session.m_recorded.GetStatusPaneText(kPaneModel), LoadResString(61454) + NameOf(static_cast<int>(c.model)));
        // Every record holds what was read, set value and read value alike.
        int records = 0;
        for (const GroupRec& group : m_project.m_Groups)
            for (const ParamRec& param : group.m_Params) {
                EXPECT_EQ(param.m_strValue, param.m_strRead) << param.m_strLabel;
                EXPECT_FALSE(param.m_bDefined && param.m_strValue.empty()) << param.m_strLabel;
                ++records;
            }
        EXPECT_GT(records, 0);

        // Written back, every register of the drive is what it was.
        m_messages.Clear();
        m_drive->ClearFrameLog();
        m_progress.m_texts.clear();
        ASSERT_TRUE(Write()) << ::testing::PrintToString(m_messages.Texts());
        EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{LoadResString(61541)});
        EXPECT_EQ(ParameterRegisters(*m_drive, 2), before);
        std::vector<Bytes> writes = WriteFrames();
        ASSERT_FALSE(writes.empty());
        for (const Bytes& write : writes)
            EXPECT_EQ(write[0], 2) << "only the chosen station is addressed";
        EXPECT_EQ(m_progress.m_texts.front(), "00-XX -- " + LoadResString(61453) + "2");
        bool wrote14 = false;
        for (const Bytes& write : writes)
            wrote14 = wrote14 || write[2] == 14;
        EXPECT_EQ(wrote14, c.group14);
        // 10-03 once more, with a single request, after group 14.
        if (c.group14) {
            EXPECT_EQ(writes.back()[1], 0x06);
            EXPECT_EQ(writes.back()[2], 0x0A);
            EXPECT_EQ(writes.back()[3], 0x03);
        } else {
            EXPECT_EQ(writes.back()[1], 0x10);
        }
        EXPECT_EQ(m_motorListShown, 0);
        EXPECT_EQ(m_session.m_bWriting, 0);
        m_messages.Clear();
        ClearStationRecords(m_session);
    }
}

TEST_F(ReadWriteAllTest, AFailureInTheMiddleLeavesTheProjectUntouched)
{
    Start(0x11004B2, 1093, 1205);
    ParamRec* maxFrequency = m_project.FindParam(0, 11);
    ASSERT_NE(maxFrequency, nullptr);
    maxFrequency->m_strValue = "55.55";
    m_project.SetModifiedFlag(true);
    std::vector<GroupRec> groupsBefore = m_project.m_Groups;
    m_drive->ForceException(2, 0x0700, kSimExceptionAddress);

    m_messages.Answer(IDNO); // not saved
    EXPECT_FALSE(RunReadAll(m_session, m_project, 2, m_progress));
    std::vector<std::string> texts = m_messages.Texts();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0], LoadResString(61536));
    EXPECT_EQ(texts[1], LoadResString(61610)) << "the reader's own text";
    EXPECT_EQ(m_project.m_nModelCode, 1205);
    EXPECT_EQ(m_project.m_strModelName, NameOf(1205));
    EXPECT_TRUE(m_project.IsModified());
    EXPECT_EQ(maxFrequency->m_strValue, "55.55");
    ASSERT_EQ(m_project.m_Groups.size(), groupsBefore.size());
    for (std::size_t g = 0; g < groupsBefore.size(); ++g)
        for (std::size_t i = 0; i < groupsBefore[g].m_Params.size(); ++i) {
            EXPECT_EQ(m_project.m_Groups[g].m_Params[i].m_strValue, groupsBefore[g].m_Params[i].m_strValue);
            EXPECT_EQ(m_project.m_Groups[g].m_Params[i].m_strFactory, groupsBefore[g].m_Params[i].m_strFactory);
        }
    EXPECT_FALSE(m_progress.m_shown);
    EXPECT_EQ(m_progress.m_position, 7) << "groups 00 to 06 were read";
    EXPECT_EQ(m_session.m_bReading, 0);

    // Cancel in the save question: nothing is read at all.
    m_messages.Clear();
    m_drive->ClearFrameLog();
    m_messages.Answer(IDCANCEL);
    EXPECT_FALSE(RunReadAll(m_session, m_project, 2, m_progress));
    EXPECT_EQ(m_drive->GetFrameCount(), 0u);
}

TEST_F(ReadWriteAllTest, SavingBeforeTheReadIsReportedWhenItFails)
{
    Start(0x11004B2, 1093, 1205);
    std::string folder = MakeTempFolder();
    m_project.FindParam(0, 11)->m_strValue = "55.55";

    // A folder stands where the project file goes: Yes, the save fails, and
    // nothing is read.
    m_project.m_strProjectPath = folder;
    m_project.SetModifiedFlag(true);
    m_messages.Answer(IDYES);
    EXPECT_FALSE(RunReadAll(m_session, m_project, 2, m_progress));
    std::vector<std::string> texts = m_messages.Texts();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0], LoadResString(61536));
    EXPECT_EQ(texts[1], FormatResString(61780, folder.c_str()));
    EXPECT_TRUE(Requests(*m_drive).empty());
    EXPECT_TRUE(m_project.IsModified());
    EXPECT_EQ(m_project.FindParam(0, 11)->m_strValue, "55.55");

    // A writable path: saved, then read.
    const std::string path = folder + "/before-read.zrv";
    m_project.m_strProjectPath = path;
    m_messages.Clear();
    m_messages.Answer(IDYES);
    EXPECT_TRUE(RunReadAll(m_session, m_project, 2, m_progress));
    EXPECT_EQ(m_messages.Texts(), (std::vector<std::string>{LoadResString(61536), LoadResString(61575)}));
    EXPECT_TRUE(std::filesystem::exists(path));
    EXPECT_EQ(m_project.m_strProjectPath, path);
    EXPECT_FALSE(m_project.IsModified());
    std::filesystem::remove_all(folder);
}

TEST_F(ReadWriteAllTest, SameModelKeepsSetValuesTheReadDoesNotCover)
{
    // An S drive below 1.093 has no group 14: its set values stay.
    Start(0x11004B2, 1092, 0x11004B2);
    ASSERT_GT(m_project.m_Groups.size(), 14u);
    ParamRec* param = m_project.FindParam(14, 1);
    ASSERT_NE(param, nullptr);
    param->m_strValue = "7";
    ASSERT_TRUE(RunReadAll(m_session, m_project, 2, m_progress));
    EXPECT_EQ(m_project.FindParam(14, 1)->m_strValue, "7");
    EXPECT_EQ(m_project.FindParam(14, 1)->m_strRead, "7");
    EXPECT_EQ(m_progress.m_position, 14);
    for (const Bytes& request : Requests(*m_drive))
        EXPECT_NE(request[2], 14) << "group 14 is not read";
}

TEST_F(ReadWriteAllTest, ChecksBeforeAnyGroupIsWritten)
{
    struct Case {
        std::uint32_t drive;
        int project;
        bool password;
        bool running;
        int answer;
        unsigned message;
        const char* why;
    };
    const Case cases[] = {
        {1205, 1205, true, false, 0, 61534, "a password is set"},
        {1205, 1205, false, true, 0, 61571, "the drive runs"},
        {0x11004B2, 0x11104B2, false, false, 0, 61642, "an S-P project to an S drive"},
        {0x191, 1205, false, false, 0, 61643, "another voltage class"},
        {1102, 1205, false, false, IDNO, 61555, "another model, No"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        Start(c.drive, 1100, c.project);
        if (c.password)
            m_drive->SetPassword(2, 1234);
        m_drive->SetRunning(2, c.running);
        if (c.answer)
            m_messages.Answer(c.answer);
        EXPECT_FALSE(Write());
        std::vector<std::string> texts = m_messages.Texts();
        ASSERT_EQ(texts.size(), 1u);
        std::string expected = c.message == 61534 ? FormatResString(61534, 2) : LoadResString(c.message);
        EXPECT_EQ(texts[0], expected);
        EXPECT_TRUE(WriteFrames().empty());
        m_messages.Clear();
        ClearStationRecords(m_session);
    }
}

TEST_F(ReadWriteAllTest, AcceptedModelMismatchListsTheMotorParameters)
{
    Start(1102, 1100, 1205);
    m_messages.Answer(IDYES);
    ASSERT_TRUE(Write());
    EXPECT_EQ(m_messages.Texts(), (std::vector<std::string>{LoadResString(61555), LoadResString(61541)}));
    EXPECT_EQ(m_motorListShown, 1);
    EXPECT_EQ(m_session.m_bWriteAll, 0);
    EXPECT_FALSE(WriteFrames().empty());
}

TEST_F(ReadWriteAllTest, NeverToTheBroadcastStation)
{
    Start(1205, 1100, 1205);
    EXPECT_FALSE(RunWriteAll(m_session, m_project, 0, m_progress, {}));
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{WriteCheckText(IDS_WRITE_NO_BROADCAST)});
    EXPECT_EQ(m_drive->GetFrameCount(), 0u);
}

TEST_F(ReadWriteAllTest, OldSDriveRefusesA0315AboveFifteen)
{
    Start(0x11004B2, 1050, 0x11004B2);
    ParamRec* param = m_project.FindParam(3, 15);
    ASSERT_NE(param, nullptr);
    param->m_strValue = "15.1";
    EXPECT_FALSE(Write());
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{FormatResString(61622, "03-15", "0.1~15.0")});
    for (const Bytes& write : WriteFrames())
        EXPECT_LT(write[2], 3) << "nothing from group 03 on";
    EXPECT_FALSE(m_progress.m_shown);
}

TEST_F(ReadWriteAllTest, AFailingGroupEndsTheWrite)
{
    Start(1205, 1100, 1205);
    m_drive->ForceException(2, 0x0700, kSimExceptionRange);
    EXPECT_FALSE(Write());
    std::vector<std::string> texts = m_messages.Texts();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0], m_session.m_strLastError);
    EXPECT_NE(texts[0].find(LoadResString(61612)), std::string::npos) << texts[0];
    EXPECT_EQ(m_session.m_bWriting, 0);
    EXPECT_FALSE(m_progress.m_shown);
    EXPECT_EQ(m_progress.m_position, 7) << "groups 00 to 06 were written";
    for (const Bytes& write : WriteFrames())
        EXPECT_LE(write[2], 7) << "nothing after group 07";
}

// The group-00 writer's own read of the drive's 00-02 and the group-02
// writer's read of 02-01: a failure is told once, in its own words,
// whatever text an earlier failure left.
TEST_F(ReadWriteAllTest, AFailingReadOfAWriterIsToldOnce)
{
    const std::uint16_t refused[] = {0x0002, 0x0201};
    for (std::uint16_t reg : refused) {
        SCOPED_TRACE(reg);
        Start(1205, 1100, 1205);
        m_drive->ForceException(2, reg, kSimExceptionAddress);
        m_session.m_strLastError = "Station Num 3TimeOut! ";
        m_messages.Clear();
        EXPECT_FALSE(Write());
        EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{LoadResString(61479)});
        EXPECT_EQ(m_session.m_strLastError, LoadResString(61479));
        EXPECT_FALSE(m_progress.m_shown);
    }
}

// A change mark goes only where a frame carried the value: 00-01 is left
// out while the drive's 00-02 is not 0 and keeps its mark; 00-03 loses it.
TEST_F(ReadWriteAllTest, ChangeMarksStayWhereTheWriteLeftTheValueOut)
{
    Start(0x1100000 + 203, 1130, 0x1100000 + 203);
    m_drive->SetRegister(2, 0x0002, 1);
    const int position01 = m_project.DefinedPosition(0, 1);
    const int position03 = m_project.DefinedPosition(0, 3);
    ASSERT_GE(position01, 0);
    ASSERT_GE(position03, 0);
    m_project.m_Changed[0][position01] = 1;
    m_project.m_Changed[0][position03] = 1;
    EXPECT_TRUE(Write()) << m_session.m_strLastError;
    for (const Bytes& write : WriteFrames()) {
        if (write[2] == 0x00) {
            EXPECT_GT(write[3], 1) << "neither 00-00 nor 00-01 was written";
        }
    }
    EXPECT_EQ(m_project.m_Changed[0][position01], 1u);
    EXPECT_EQ(m_project.m_Changed[0][position03], 0u);
}
