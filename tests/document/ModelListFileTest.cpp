#include "document/ModelListFile.h"
#include "tests/common/TestPaths.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

struct ModelListCase {
    const char* why;
    const char* text;
    std::vector<std::string> names;
    std::vector<std::string> descriptions;
};

const ModelListCase kCases[] = {
    {"two models, the first with two lines", "TYPE:A1;\nInfo one\nInfo two\nTYPE:B2;\nInfo three\n",
     {"A1", "B2"}, {"Info one\r\nInfo two\r\n", "Info three\r\n"}},
    {"CR LF line ends and blanks around lines are removed", "  TYPE:A1;  \r\n\tInfo one \r\n",
     {"A1"}, {"Info one\r\n"}},
    {"a line of 4 characters or fewer is dropped", "TYPE:A1;\nabcd\nabcde\n", {"A1"}, {"abcde\r\n"}},
    {"a model without lines keeps its own empty description, later lines stay with their model",
     "TYPE:A1;\nTYPE:B2;\nInfo of B2\n", {"A1", "B2"}, {"", "Info of B2\r\n"}},
    {"lines before the first model are dropped", "Preamble line\nTYPE:A1;\nInfo one\n", {"A1"}, {"Info one\r\n"}},
    {"a last line without a line feed is taken whole", "TYPE:A1;\nLast line", {"A1"}, {"Last line\r\n"}},
    {"a bare marker gives an empty name rather than failing", "TYPE:\nTYPE:X\n", {"", ""}, {"", ""}},
    {"the marker is case sensitive", "type:A1;\nTYPE:B2;\n", {"B2"}, {""}},
    {"an empty file has no models", "", {}, {}},
};

// A scratch folder that is removed with the test.
struct ScratchFolder {
    std::string path = MakeTempFolder();
    ~ScratchFolder() { std::filesystem::remove_all(path); }
};

} // namespace

TEST(ModelListFile, ParsesTable)
{
    for (const ModelListCase& c : kCases) {
        SCOPED_TRACE(c.why);
        ModelList list = ParseModelList(c.text);
        EXPECT_EQ(list.names, c.names);
        EXPECT_EQ(list.descriptions, c.descriptions);
    }
}

TEST(ModelListFile, MissingFileIsReported)
{
    ModelList list;
    list.names.push_back("stale");
    ScratchFolder folder;
    EXPECT_FALSE(ReadModelListFile(folder.path + "RQ5.SPE", list));
    EXPECT_TRUE(list.names.empty());
    EXPECT_TRUE(list.descriptions.empty());
}

TEST(ModelListFile, ReadsFileFromDisk)
{
    ScratchFolder folder;
    std::string path = folder.path + "RQ5.SPE";
    std::ofstream(path, std::ios::binary) << "TYPE:D390-2S0.4Gxx;\r\nSingle phase 230 V\r\n";
    ModelList list;
    ASSERT_TRUE(ReadModelListFile(path, list));
    ASSERT_EQ(list.names.size(), 1u);
    EXPECT_EQ(list.names[0], "D390-2S0.4Gxx");
    EXPECT_EQ(list.descriptions[0], "Single phase 230 V\r\n");
}

TEST(ModelListFile, ListInCodePage936IsReadAsChinese)
{
    ScratchFolder folder;
    std::string path = folder.path + "RQ5.SPE";
    // "TYPE:A1;" then the description "\u4e2d\u6587 drive" in code page 936.
    std::ofstream(path, std::ios::binary) << "TYPE:A1;\n\xd6\xd0\xce\xc4 drive\n";
    ModelList list;
    ASSERT_TRUE(ReadModelListFile(path, list));
    ASSERT_EQ(list.descriptions.size(), 1u);
    EXPECT_EQ(list.descriptions[0], "\xe4\xb8\xad\xe6\x96\x87 drive\r\n");
}
