// The link settings files, the hand-over file and station lists under mutated
// input: read or refused, values always within what the Connect dialog shows.

#include "session/CommSettings.h"
#include "session/HandOverFile.h"
#include "session/NetModuleSettings.h"
#include "session/StationList.h"
#include "tests/common/MessageRecorder.h"
#include "tests/common/TestPaths.h"
#include "tests/common/Mutator.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

// What a hand-over file may hold; a larger one is refused unread.
constexpr std::size_t kHandOverFileBound = 16 * 1024;

TEST(SettingsFilesFuzz, SettingsAndHandOverFilesAreReadOrRefused)
{
    const std::vector<std::string> settings = {"/dev/ttyUSB0\n3\n121\n1,3,5-12\n", "2\n3\n100\n5\n", "TCPIP\n0\n011\n2-4\r\n"};
    const std::vector<std::string> modules = {"TCPIP\n00-20-4a-00-00-01\n2\n00-20-4a-00-00-01\npump room\n00-20-4a-00-00-02\n \n",
                                              "/dev/ttyS0\n"};
    const std::vector<std::string> handOvers = {"2\nCOM4\n57600\n812\n1\n0\n", "1\r\n/home/u/p.zrv\r\n", "0\n"};
    const std::vector<std::string> stations = {"1,3,5-12", "32", "1-32,", "7-7"};
    const std::string folder = MakeTempFolder();
    MessageRecorder messages;
    CMutator mutator(3);
    const int runs = FuzzRuns(3000);
    for (int run = 0; run < runs; ++run) {
        ResetCommSettings();
        std::istringstream in(mutator.Mutate(settings));
        ParseCommSettings(in);
        ASSERT_TRUE(g_nBaudIndex >= 0 && g_nBaudIndex < 4) << "run " << run;
        ASSERT_TRUE(g_nDataBitsIndex >= 0 && g_nDataBitsIndex < 2) << "run " << run;
        ASSERT_TRUE(g_nParityIndex >= 0 && g_nParityIndex < 3) << "run " << run;
        ASSERT_TRUE(g_nStopBitsIndex >= 0 && g_nStopBitsIndex < 2) << "run " << run;

        CNetModuleSettings net;
        net.Parse(mutator.Mutate(modules));

        // A hand-over file is read, or refused (with a line on standard
        // error) when it is larger than any job could be; either way it is gone.
        const std::string path = folder + "curfile.ini";
        const std::string handOver = mutator.Mutate(handOvers);
        std::ofstream(path, std::ios::binary) << handOver;
        HandOverJob job;
        if (handOver.size() > kHandOverFileBound) {
            testing::internal::CaptureStderr();
            ASSERT_FALSE(TakeHandOverFile(path, job)) << "run " << run << ": " << handOver.size() << " bytes";
            const std::string said = testing::internal::GetCapturedStderr();
            ASSERT_NE(said.find(path), std::string::npos) << "run " << run << ": " << said;
            ASSERT_EQ(job.job, 0) << "run " << run;
            ASSERT_TRUE(job.lines.empty()) << "run " << run;
        } else {
            ASSERT_TRUE(TakeHandOverFile(path, job)) << "run " << run << ": " << handOver.size() << " bytes";
        }
        ASSERT_FALSE(std::filesystem::exists(path)) << "run " << run;
        if (job.job == 2)
            ReadHandOverConnect(job.lines);

        std::vector<int> list;
        if (ParseStationList(list, mutator.Mutate(stations))) {
            for (int station : list)
                ASSERT_TRUE(station >= 1 && station <= 32) << "run " << run;
        }
        messages.Clear();
    }
    ResetCommSettings();
    std::filesystem::remove_all(folder);
}
