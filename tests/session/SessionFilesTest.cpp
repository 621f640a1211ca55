#include "session/HandOverFile.h"
#include "session/RecentFileList.h"
#include "tests/common/PlantedFiles.h"
#include "tests/common/TestPaths.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <cstdlib>
#include <map>

namespace {

void WriteFile(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}


} // namespace

TEST(RecentFileList, KeepsEightNewestFirstInTheProfile)
{
    CRecentFileList list(0, "My Recent File List", "MyFile%d", 8, 30);
    for (int i = 1; i <= 9; ++i)
        list.Add("/p/" + std::to_string(i) + ".zrv");
    ASSERT_EQ(list.GetCount(), 8);
    EXPECT_EQ(list.GetEntry(0), "/p/9.zrv");
    EXPECT_EQ(list.GetEntry(7), "/p/2.zrv");
    list.Add("/p/5.zrv"); // an entry already there moves up
    EXPECT_EQ(list.GetEntry(0), "/p/5.zrv");
    EXPECT_EQ(list.GetCount(), 8);
    list.Remove(1);
    EXPECT_EQ(list.GetEntry(1), "/p/8.zrv");

    std::map<std::string, std::string> profile;
    list.WriteList([&](const std::string& section, const std::string& key, const std::string& value) {
        profile[section + "/" + key] = value;
    });
    EXPECT_EQ(profile["My Recent File List/MyFile1"], "/p/5.zrv");
    EXPECT_EQ(profile["My Recent File List/MyFile8"], ""); // seven entries left

    CRecentFileList again(0, "My Recent File List", "MyFile%d", 8, 30);
    again.ReadList([&](const std::string& section, const std::string& key) { return profile[section + "/" + key]; });
    EXPECT_EQ(again.GetCount(), 7);
    EXPECT_EQ(again.GetEntry(6), list.GetEntry(6));
}

TEST(RecentFileList, DisplayNamesAreShortened)
{
    CRecentFileList list(0, "s", "MyFile%d", 8, 30);
    list.Add("/home/user/projects/pumps/station-a/line.zrv");
    list.Add("/a/b.zrv");
    EXPECT_EQ(list.GetDisplayName(0), "/a/b.zrv");
    std::string shortened = list.GetDisplayName(1);
    EXPECT_LE(shortened.size(), 30u);
    EXPECT_EQ(shortened.substr(0, 3), "...");
    EXPECT_EQ(shortened.substr(shortened.size() - 9), "/line.zrv");
}

TEST(HandOverFile, IsReadOnceAndDeleted)
{
    std::string folder = MakeTempFolder();
    struct Remove {
        std::string path;
        ~Remove() { std::filesystem::remove_all(path); }
    } remove{folder};
    const struct {
        const char* text;
        int job;
        std::vector<std::string> lines;
    } cases[] = {
        {"0\n", 0, {}},
        {"1\r\n/home/u/p.zrv\r\n", 1, {"/home/u/p.zrv"}},
        {"1\n", 1, {}}, // no path: nothing to open, the file goes all the same
        {"2\nCOM4\n57600\n812\n1\n0\n", 2, {"COM4", "57600", "812", "1", "0"}},
        {"x\n/p.zrv\n", 0, {"/p.zrv"}},
    };
    for (const auto& c : cases) {
        std::string path = folder + kHandOverFileName;
        WriteFile(path, c.text);
        HandOverJob job;
        ASSERT_TRUE(TakeHandOverFile(path, job));
        EXPECT_EQ(job.job, c.job) << c.text;
        EXPECT_EQ(job.lines, c.lines) << c.text;
        EXPECT_FALSE(std::filesystem::exists(path));
    }
    HandOverJob none;
    EXPECT_FALSE(TakeHandOverFile(folder + kHandOverFileName, none));
    EXPECT_EQ(none.job, 0);
}

TEST(HandOverFile, WhatIsPlantedInTheSharedFolderIsIgnoredWithALine)
{
    std::string folder = MakeTempFolder();
    const std::string path = folder + kHandOverFileName;
    const struct {
        Planted kind;
        bool removed; // only the user's own regular file is deleted
    } cases[] = {
        {Planted::Fifo, false},
        {Planted::LinkToDevZero, false},
        {Planted::HugeFile, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(PlantedName(c.kind));
        ASSERT_TRUE(Plant(c.kind, path));
        HandOverJob job;
        testing::internal::CaptureStderr();
        EXPECT_FALSE(TakeHandOverFile(path, job)); // returns at once: no hang, no flood
        std::string said = testing::internal::GetCapturedStderr();
        EXPECT_NE(said.find(path), std::string::npos) << said;
        EXPECT_EQ(job.job, 0);
        EXPECT_TRUE(job.lines.empty());
        EXPECT_EQ(std::filesystem::exists(std::filesystem::symlink_status(path)), !c.removed);
        std::filesystem::remove(path);
    }
    // Another user's file in the shared folder is neither read nor removed
    // (only root can give a file away, so the case runs where the tests run as root).
    WriteFile(path, "1\n/home/other/their.zrv\n");
    if (::chown(path.c_str(), 65534, 65534) == 0) {
        HandOverJob job;
        testing::internal::CaptureStderr();
        EXPECT_FALSE(TakeHandOverFile(path, job));
        EXPECT_NE(testing::internal::GetCapturedStderr().find("another user"), std::string::npos);
        EXPECT_TRUE(std::filesystem::exists(path));
    }
    std::filesystem::remove_all(folder);
}
