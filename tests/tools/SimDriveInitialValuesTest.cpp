// A new simulated drive, read through the program's own group readers, shows
// what a new project of its model holds: its power-up registers are a new
// project's values (the definition file, the model's built-in values and its
// column of the initial-values file) in the forms the readers apply at its
// model and version, so that a Compare of the two finds nothing.

#include "document/D390DocData.h"
#include "document/ModelTables.h"
#include "link/GroupTransferContext.h"
#include "link/ParamGroupTables.h"
#include "link/SerialComm.h"
#include "session/ReadWriteAll.h"
#include "tests/common/TestPaths.h"
#include "tools/InProcessDrive.h"
#include "tools/SimDriveRegisters.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

struct DriveCase {
    std::uint32_t model;
    int version; // 13-01
};

// Every family, at versions on both sides of each version gate of the readers
// (10-05 turns from x0.1 to x0.01 at 1.1 on the S family; group 14 comes at
// 1.093), and models of both ends of the initial-values file's columns.
constexpr DriveCase kDrives[] = {
    {0x4B2, 1000},     {0x4B2, 1400},     {0x4B5, 1310},     {0x11004B2, 1020}, {0x11004B2, 1060},
    {0x11004B2, 1093}, {0x11004B2, 1100}, {0x11004B2, 1130}, {0x11000C9, 1093}, {0x1100191, 1100},
    {0x11104B2, 1020}, {0x11104B2, 1100}, {0x11104B2, 1130}, {0x1110191, 1200}, {0x193, 1130},
    {0x11000D2, 1130}, {0x111019F, 1130},
};

std::string DriveName(const testing::TestParamInfo<DriveCase>& info)
{
    char name[40];
    std::snprintf(name, sizeof name, "Model%X_v%d", info.param.model, info.param.version);
    return name;
}

bool IsNumber(const std::string& text, double& value)
{
    if (text.empty())
        return false;
    char* end = nullptr;
    value = std::strtod(text.c_str(), &end);
    return end && *end == '\0';
}

// A new project of the model, as File New makes it once the model is chosen.
void MakeNewProject(CD390DocData& project, std::uint32_t model)
{
    project.m_strProgramFolder = TestProgramFolder();
    project.m_nModelCode = static_cast<int>(model);
    std::string capacity;
    project.m_strModelName = LookupModelByCode(model, capacity);
    ASSERT_TRUE(project.NewProject());
}

using Item = std::pair<int, int>;

// Reads every group from station 1 of the drive behind link through the
// program's readers and compares each item they request with a new project of
// the drive's model, leaving out the items aside; read holds what was read.
void ExpectANewProjectsValues(CSerialComm& link, const DriveCase& drive, const std::set<Item>& aside,
    CD390DocData& read)
{
    CD390DocData project;
    MakeNewProject(project, drive.model);

    read.m_strProgramFolder = TestProgramFolder();
    read.m_nModelCode = static_cast<int>(drive.model);
    ASSERT_TRUE(read.ParseParamFile(read.m_strProgramFolder + CD390DocData::ParamFileNameOf(read.m_nModelCode)));
    read.m_fDriveVersion = static_cast<float>(drive.version * 0.001);
    for (GroupRec& group : read.m_Groups)
        for (ParamRec& param : group.m_Params)
            param.m_strRead = "(not read)";
    int param0002 = 0;
    int pressureMode = 0;
    std::string lastError;
    const GroupTransferContext context{&link, read, static_cast<int>(drive.model), param0002, pressureMode,
                                       lastError};
    NoTransferProgress progress;
    ASSERT_TRUE(ReadAllGroups(context, 1, progress)) << lastError;

    const GateContext gates{static_cast<std::int64_t>(drive.model), read.m_fDriveVersion};
    // Read takes group 14 from the S-P family, and from the S family at 1.093.
    const bool group14 = drive.model > 0x1110000 || (drive.model > 0x1100000 && drive.version >= 1093);
    int compared = 0;
    for (std::size_t group = 0; group < project.m_Groups.size(); ++group) {
        const std::vector<ParamRec>& params = project.m_Groups[group].m_Params;
        for (std::size_t item = 0; item < params.size(); ++item) {
            const int g = static_cast<int>(group);
            const int i = static_cast<int>(item);
            const ParamRec* got = read.FindParam(g, i);
            if (!params[item].m_bDefined || !got || !DriveHoldsItem(g, i, gates) || (g == 14 && !group14))
                continue; // what the readers do not request is not the drive's to show
            if (aside.count({g, i}))
                continue;
            char name[8];
            std::snprintf(name, sizeof name, "%02d-%02d", g, i);
            const std::string& want = params[item].m_strValue;
            const std::string& shown = got->m_strRead;
            ++compared;
            if (g == 13 && i == 1) {
                // The drive's software version, not a setting.
                char version[16];
                std::snprintf(version, sizeof version, "%.3f", drive.version / 1000.0);
                EXPECT_EQ(shown, version) << name;
                continue;
            }
            if (g == 12 && i == 5)
                continue; // shown as dashes whatever the drive holds
            double wantValue = 0.0;
            double shownValue = 0.0;
            if (IsNumber(want, wantValue) && IsNumber(shown, shownValue) && want.find('.') != std::string::npos) {
                EXPECT_DOUBLE_EQ(shownValue, wantValue) << name << ": \"" << shown << "\", new project \"" << want << "\"";
            } else {
                // Whole numbers, bit fields, octal digits and the capacity code: the same text.
                EXPECT_EQ(shown, want) << name;
            }
        }
    }
    EXPECT_GT(compared, 100);
}

class SimDriveInitialValues : public testing::TestWithParam<DriveCase> {};

TEST_P(SimDriveInitialValues, ReadThroughTheReadersTheyAreANewProjectsValues)
{
    const DriveCase drive = GetParam();
    const std::string definition = TestProgramFolder() + CD390DocData::ParamFileNameOf(static_cast<int>(drive.model));
    if (!std::filesystem::exists(definition))
        GTEST_SKIP() << "no " << definition;

    SimDriveConfig config;
    config.stations = {SimStationConfig{1, drive.model, drive.version}};
    config.dataDir = TestProgramFolder();
    CInProcessDrive simulated(config);
    CSerialComm link;
    ASSERT_TRUE(simulated.Connect(link));
    CD390DocData read;
    ExpectANewProjectsValues(link, drive, {}, read);
}

INSTANTIATE_TEST_SUITE_P(EveryFamilyAndVersion, SimDriveInitialValues, testing::ValuesIn(kDrives), DriveName);

// A write of the drive's range, in the form the program shows the register,
// is taken; one past it is refused, whatever decimals the definition file's
// text has (10-05 "1.00", range "0.00~10.00", is x0.1 on an S drive below 1.1).
TEST(SimDriveInitialValues, RangesFollowTheReadersForm)
{
    const std::string folder = TestProgramFolder();
    if (!std::filesystem::exists(folder + "PARAMS.DAT"))
        GTEST_SKIP() << "no PARAMS.DAT in " << folder;
    SimDriveConfig config;
    config.stations = {SimStationConfig{1, 0x11004B2, 1093}, SimStationConfig{2, 0x11004B2, 1100}};
    config.dataDir = folder;
    config.keepRanges = true;
    CInProcessDrive simulated(config);
    CSerialComm link;
    ASSERT_TRUE(simulated.Connect(link));
    const struct {
        int station;
        std::uint16_t word;
        bool taken;
    } cases[] = {
        {1, 10, true}, {1, 100, true}, {1, 101, false}, {2, 100, true}, {2, 1000, true}, {2, 1001, false},
    };
    for (const auto& c : cases) {
        uint8_t request[8] = {static_cast<uint8_t>(c.station), 0x06, 0x0A, 0x05,
                              static_cast<uint8_t>(c.word >> 8), static_cast<uint8_t>(c.word & 0xFF)};
        const uint16_t crc = CSimDriveModel::Crc16(request, 6);
        request[6] = static_cast<uint8_t>(crc & 0xFF);
        request[7] = static_cast<uint8_t>(crc >> 8);
        uint8_t reply[8] = {};
        ASSERT_EQ(link.CommandSend(request, 8, reply, 8), kErrNone);
        EXPECT_EQ(reply[1] == 0x06, c.taken) << "station " << c.station << " word " << c.word;
    }
}

// The drive program, started with its arguments; its first output line is
// its pseudo-terminal's path. A stop signal ends it when this goes.
class DriveProgram {
public:
    explicit DriveProgram(std::vector<std::string> args)
    {
        const std::string program = TestProgramFolder() + "d390-simdrive";
        int pipeFds[2];
        if (::pipe(pipeFds) != 0)
            return;
        std::vector<char*> argv{const_cast<char*>(program.c_str())};
        for (std::string& arg : args)
            argv.push_back(arg.data());
        argv.push_back(nullptr);
        m_pid = ::fork();
        if (m_pid == 0) {
            ::dup2(pipeFds[1], 1);
            ::close(pipeFds[0]);
            ::execv(program.c_str(), argv.data());
            ::_exit(127);
        }
        ::close(pipeFds[1]);
        m_out = ::fdopen(pipeFds[0], "r");
        char line[256] = {};
        if (m_pid > 0 && m_out && std::fgets(line, sizeof line, m_out))
            m_path = line;
        while (!m_path.empty() && m_path.back() == '\n')
            m_path.pop_back();
    }
    ~DriveProgram()
    {
        if (m_pid > 0) {
            ::kill(m_pid, SIGTERM);
            int status = 0;
            ::waitpid(m_pid, &status, 0);
        }
        if (m_out)
            std::fclose(m_out);
    }
    DriveProgram(const DriveProgram&) = delete;
    DriveProgram& operator=(const DriveProgram&) = delete;

    const std::string& Path() const { return m_path; }

private:
    pid_t m_pid = -1;
    FILE* m_out = nullptr;
    std::string m_path;
};

// The drive program as scripts/start.sh starts it, taking its run and
// frequency commands from communication: over its pseudo-terminal it matches
// a new project but for the two items that make it do so.
TEST(SimDriveInitialValues, TheProgramUnderCommControlDiffersOnlyInItsCommandSources)
{
    const DriveCase drives[] = {{0x4B2, 1130}, {0x11004B2, 1093}, {0x1110191, 1200}};
    for (const DriveCase& drive : drives) {
        const std::string name = DriveName(testing::TestParamInfo<DriveCase>(drive, 0));
        SCOPED_TRACE(name);
        char model[16];
        std::snprintf(model, sizeof model, "0x%X", drive.model);
        DriveProgram simulated({"--model", model, "--version", std::to_string(drive.version), "--stations", "1",
                                "--comm-control"});
        ASSERT_EQ(simulated.Path().rfind("/dev/pts/", 0), 0u) << "first line: " << simulated.Path();
        CSerialComm link;
        ASSERT_NE(link.InitComm(simulated.Path(), 19200, 8, 0, 1.0f), 0) << simulated.Path();
        CD390DocData read;
        ExpectANewProjectsValues(link, drive, {{0, 2}, {0, 5}}, read);
        EXPECT_EQ(read.FindParam(0, 2)->m_strRead, "2") << "run commands from communication";
        EXPECT_EQ(read.FindParam(0, 5)->m_strRead, "5") << "frequency command from communication";
        link.Close();
    }
}

} // namespace
