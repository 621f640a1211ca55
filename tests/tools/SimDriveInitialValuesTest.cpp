// A new simulated drive, read through the program's own group readers, shows
// the initial values of its definition file: its power-up registers are in the
// forms the readers apply at its model and version.

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

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

struct DriveCase {
    std::uint32_t model;
    int version; // 13-01
};

// Every family, at versions on both sides of each version gate of the readers
// (10-05 turns from x0.1 to x0.01 at 1.1 on the S family; group 14 comes at 1.093).
constexpr DriveCase kDrives[] = {
    {0x4B2, 1000},     {0x4B2, 1400},     {0x4B5, 1310},     {0x11004B2, 1020}, {0x11004B2, 1060},
    {0x11004B2, 1093}, {0x11004B2, 1100}, {0x11004B2, 1130}, {0x11000C9, 1093}, {0x1100191, 1100},
    {0x11104B2, 1020}, {0x11104B2, 1100}, {0x11104B2, 1130}, {0x1110191, 1200},
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

class SimDriveInitialValues : public testing::TestWithParam<DriveCase> {};

TEST_P(SimDriveInitialValues, ReadThroughTheReadersTheyAreTheDefinitionFilesValues)
{
    const DriveCase drive = GetParam();
    const std::string folder = TestProgramFolder();
    const std::string definition = folder + CD390DocData::ParamFileNameOf(static_cast<int>(drive.model));
    if (!std::filesystem::exists(definition))
        GTEST_SKIP() << "no " << definition;

    SimDriveConfig config;
    config.stations = {SimStationConfig{1, drive.model, drive.version}};
    config.dataDir = folder;
    CInProcessDrive simulated(config);
    CSerialComm link;
    ASSERT_TRUE(simulated.Connect(link));

    // The definition file's values, as the program parses them.
    CD390DocData expected;
    expected.m_strProgramFolder = folder;
    expected.m_nModelCode = static_cast<int>(drive.model);
    ASSERT_TRUE(expected.ParseParamFile(definition));

    CD390DocData read;
    read.m_strProgramFolder = folder;
    read.m_nModelCode = static_cast<int>(drive.model);
    ASSERT_TRUE(read.ParseParamFile(definition));
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
    for (std::size_t group = 0; group < expected.m_Groups.size(); ++group) {
        const std::vector<ParamRec>& params = expected.m_Groups[group].m_Params;
        for (std::size_t item = 0; item < params.size(); ++item) {
            const int g = static_cast<int>(group);
            const int i = static_cast<int>(item);
            const ParamRec* got = read.FindParam(g, i);
            if (!params[item].m_bDefined || !got || !DriveHoldsItem(g, i, gates) || (g == 14 && !group14))
                continue; // what the readers do not request is not the drive's to show
            char name[8];
            std::snprintf(name, sizeof name, "%02d-%02d", g, i);
            const std::string& want = params[item].m_strFactory;
            const std::string& shown = got->m_strRead;
            ++compared;
            if (g == 13 && i == 0) {
                // The capacity code of the drive's model.
                std::string capacity;
                LookupModelByCode(drive.model, capacity);
                EXPECT_EQ(shown, capacity) << name;
                continue;
            }
            if (g == 13 && i == 1) {
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
                EXPECT_DOUBLE_EQ(shownValue, wantValue) << name << ": \"" << shown << "\", defined \"" << want << "\"";
            } else {
                // Whole numbers, bit fields and octal digits: the same text.
                EXPECT_EQ(shown, want) << name;
            }
        }
    }
    EXPECT_GT(compared, 100);
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

} // namespace
