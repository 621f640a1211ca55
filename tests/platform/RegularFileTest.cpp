// The one way files are opened for reading: only a regular file within its
// bound, looked at before it is opened and read, never waiting on a FIFO.

#include "platform/RegularFile.h"
#include "platform/Workbook.h"
#include "tests/common/FileBytes.h"
#include "tests/common/HostileFiles.h"
#include "tests/common/TestPaths.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

class RegularFileTest : public ::testing::Test {
protected:
    void TearDown() override { std::filesystem::remove_all(m_folder); }
    std::string Path(const std::string& name) const { return m_folder + name; }
    void Write(const std::string& name, const std::string& bytes)
    {
        std::ofstream(Path(name), std::ios::binary) << bytes;
    }
    std::string m_folder = MakeTempFolder();
};

} // namespace

TEST_F(RegularFileTest, OnlyARegularFileWithinItsBoundIsOpenedAndRead)
{
    Write("ten", "0123456789");
    Write("eleven", "0123456789A");
    ASSERT_EQ(::mkfifo(Path("fifo").c_str(), 0600), 0);
    ASSERT_EQ(::symlink("/dev/zero", Path("zero").c_str()), 0);
    ASSERT_EQ(::symlink(Path("ten").c_str(), Path("link").c_str()), 0);
    std::filesystem::create_directory(Path("folder"));
    struct Case {
        const char* name;
        bool followLinks;
        FileCheck check;
        std::string reason;
    } cases[] = {
        {"ten", true, FileCheck::Ok, ""},
        {"eleven", true, FileCheck::TooLarge, "it is larger than 10 bytes"},
        {"missing", true, FileCheck::Missing, "No such file or directory"},
        {"missing/below", true, FileCheck::Missing, "No such file or directory"},
        {"fifo", true, FileCheck::NotRegular, "it is a FIFO, not a file"},
        {"zero", true, FileCheck::NotRegular, "it is a device, not a file"},
        {"folder", true, FileCheck::NotRegular, "it is a folder, not a file"},
        {"link", true, FileCheck::Ok, ""},
        {"link", false, FileCheck::NotRegular, "it is a symbolic link"},
        {"zero", false, FileCheck::NotRegular, "it is a symbolic link"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + (c.followLinks ? "" : ", links not followed"));
        FifoRescue rescue(Path(c.name));
        CRegularFile file;
        FileRules rules;
        rules.maxBytes = 10;
        rules.followLinks = c.followLinks;
        EXPECT_EQ(file.Open(Path(c.name), rules), c.check);
        EXPECT_EQ(file.Reason(), c.reason);
        EXPECT_EQ(file.IsOpen(), c.check == FileCheck::Ok);
        std::string bytes;
        if (c.check == FileCheck::Ok) {
            EXPECT_EQ(file.ReadAll(bytes), FileCheck::Ok);
            EXPECT_EQ(bytes, "0123456789");
        }
        EXPECT_FALSE(rescue.Rescued());
        if (c.check == FileCheck::NotRegular || c.check == FileCheck::TooLarge) {
            EXPECT_EQ(file.RefusalText(Path(c.name)),
                      Path(c.name) + " was not read: " + c.reason + ". Nothing was changed.");
        }
    }
}

TEST_F(RegularFileTest, AFileThatGrowsPastItsBoundWhileOpenIsNotTakenWhole)
{
    Write("growing", "0123456789");
    CRegularFile file;
    FileRules rules;
    rules.maxBytes = 64;
    ASSERT_EQ(file.Open(Path("growing"), rules), FileCheck::Ok);
    std::ofstream(Path("growing"), std::ios::binary | std::ios::app) << std::string(100, 'x');
    std::string bytes = "stale";
    EXPECT_EQ(file.ReadAll(bytes), FileCheck::TooLarge);
    EXPECT_TRUE(bytes.empty());
    EXPECT_EQ(file.Reason(), "it is larger than 64 bytes");

    // Grown within the bound, it is read as it now is.
    Write("growing", "0123456789");
    ASSERT_EQ(file.Open(Path("growing"), rules), FileCheck::Ok);
    std::ofstream(Path("growing"), std::ios::binary | std::ios::app) << "ABC";
    EXPECT_EQ(file.ReadAll(bytes), FileCheck::Ok);
    EXPECT_EQ(bytes, "0123456789ABC");
}

TEST(FileSizeText, BoundsAsAUserReadsThem)
{
    EXPECT_EQ(FileSizeText(16u << 20), "16 MB");
    EXPECT_EQ(FileSizeText(64 * 1024), "64 KB");
    EXPECT_EQ(FileSizeText(1000), "1000 bytes");
    EXPECT_EQ(FileSizeText((16u << 20) + 1), "16777217 bytes");
}

TEST_F(RegularFileTest, AWorkbookThatIsNoFileIsRefusedNamingIt)
{
    CWorkbook good;
    good.AddSheet("Sheet1").SetCell(1, 1, "x");
    std::string error;
    ASSERT_TRUE(good.Save(Path("good.xlsx"), error)) << error;
    const std::string bytes = ReadFileBytes(Path("good.xlsx"));
    for (Hostile kind : {Hostile::Fifo, Hostile::LinkToDevZero, Hostile::LargeTail}) {
        SCOPED_TRACE(HostileName(kind));
        ASSERT_TRUE(MakeHostile(kind, Path("named.xlsx"), bytes));
        FifoRescue rescue(Path("named.xlsx"));
        CWorkbook book;
        book.AddSheet("stale");
        bool refused = false;
        EXPECT_FALSE(book.Load(Path("named.xlsx"), error, &refused));
        EXPECT_TRUE(refused);
        EXPECT_EQ(error.rfind(Path("named.xlsx") + " was not read: it is ", 0), 0u) << error;
        EXPECT_TRUE(book.m_Sheets.empty());
        EXPECT_FALSE(rescue.Rescued());
        RemoveHostile(Path("named.xlsx"));
    }
    // Read through the checked descriptor, both forms still load.
    CWorkbook book;
    bool refused = true;
    ASSERT_TRUE(book.Load(Path("good.xlsx"), error, &refused)) << error;
    EXPECT_FALSE(refused);
    EXPECT_EQ(book.m_Sheets.at(0).Cell(1, 1), "x");
    ASSERT_TRUE(book.Load(TestSourceFolder() + "view/data/Sample.xls", error)) << error;
}
