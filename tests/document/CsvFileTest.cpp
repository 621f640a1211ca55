#include "document/CsvFile.h"
#include "tests/common/TestPaths.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

std::string Slurp(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void Spit(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

// One scratch folder for the whole program, removed at exit.
const std::string& Scratch()
{
    static struct Folder {
        std::string path = MakeTempFolder();
        ~Folder() { std::filesystem::remove_all(path); }
    } folder;
    return folder.path;
}

using Lines = std::vector<std::string>;

std::string Written(const Lines& lines)
{
    std::string path = Scratch() + "out.csv";
    CCsvFile file;
    EXPECT_TRUE(file.Open(path, CCsvFile::modeCreate | CCsvFile::modeWrite));
    EXPECT_TRUE(file.WriteLines(lines));
    file.Close();
    return Slurp(path);
}

Lines Read(const std::string& bytes, Lines lines = {})
{
    std::string path = Scratch() + "in.csv";
    Spit(path, bytes);
    CCsvFile file;
    EXPECT_TRUE(file.Open(path, CCsvFile::modeRead));
    EXPECT_TRUE(file.ReadLines(lines));
    return lines;
}

Lines Split(const std::string& line)
{
    CCsvFile file;
    Lines cells;
    EXPECT_TRUE(file.SplitRow(line, cells));
    return cells;
}

const std::string NUL(1, '\0');

} // namespace

TEST(CsvFile, WritesLinesWithCrLfBetweenThemOnly)
{
    struct Case {
        Lines lines;
        std::string bytes;
        const char* why;
    } cases[] = {
        {{"A", "B,C"}, "A\r\nB,C", "no line end after the last line"},
        {{""}, "", "one empty line writes nothing"},
        {{}, "", "no lines write nothing"},
        {{"", ""}, "\r\n", "two empty lines are one separator"},
        {{"x" + NUL + "y"}, "x" + NUL + "y", "bytes are written as they stand"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Written(c.lines), c.bytes) << c.why;
}

TEST(CsvFile, CreatingTruncatesAnOldFile)
{
    std::string path = Scratch() + "old.csv";
    Spit(path, "a much longer old content");
    CCsvFile file;
    ASSERT_TRUE(file.Open(path, CCsvFile::modeCreate | CCsvFile::modeWrite));
    file.WriteLines({"new"});
    file.Close();
    EXPECT_EQ(Slurp(path), "new");
}

TEST(CsvFile, JoinsCellsUnchanged)
{
    CCsvFile file;
    EXPECT_EQ(file.JoinRow({"", "x"}), ",x");
    EXPECT_EQ(file.JoinRow({"a", ""}), "a,");
    EXPECT_EQ(file.JoinRow({}), "");
    EXPECT_EQ(file.JoinRow({"only"}), "only");
    EXPECT_EQ(file.JoinRow({"a \"q\"", "b,c"}), "a \"q\",b,c") << "no quoting, no escaping";
}

TEST(CsvFile, ReadsLinesEndedByCr)
{
    struct Case {
        std::string bytes;
        Lines lines;
        const char* why;
    } cases[] = {
        {"A\r\nB", {"A", "B"}, "a last line without line end counts"},
        {"A\r\nB\r\n", {"A", "B"}, "a final line end adds no line"},
        {"A\r\n\r\nB", {"A", "", "B"}, "an empty line between two CR LF stays"},
        {"A\nB", {"AB"}, "a lone LF ends nothing"},
        {"A\rB", {"A", "B"}, "a lone CR ends a line"},
        {"", {}, "an empty file has no lines"},
        {"\r\n", {""}, "one line end is one empty line"},
        {NUL + NUL, {}, "a last line of NUL bytes only is dropped"},
        {"A" + NUL + "\r\nB" + NUL, {"A" + NUL, "B" + NUL}, "NUL bytes stay in the lines"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Read(c.bytes), c.lines) << c.why;
}

TEST(CsvFile, ReadingAppendsToTheLinesGiven)
{
    EXPECT_EQ(Read("B\r\nC", {"A"}), (Lines{"A", "B", "C"}));
}

TEST(CsvFile, ReadsLinesLongerThanOneBuffer)
{
    std::string longLine(20000, 'x');
    EXPECT_EQ(Read(longLine + "\r\n" + longLine), (Lines{longLine, longLine}));
}

TEST(CsvFile, SplitsRowsIntoCells)
{
    struct Case {
        std::string line;
        Lines cells;
        const char* why;
    } cases[] = {
        {"a,,b", {"a", "", "b"}, "an empty cell between commas stays"},
        {"a,b,", {"a", "b"}, "no trailing empty cell"},
        {",a", {"", "a"}, "a leading empty cell stays"},
        {",", {""}, "a lone comma is one empty cell"},
        {"", {}, "an empty line has no cells"},
        {"A" + NUL, {"A"}, "a NUL after the text is ignored"},
        {"a" + NUL + "b,c", {"ab", "c"}, "characters after a NUL are still taken"},
        {" a , b ", {" a ", " b "}, "blanks are part of the cells"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Split(c.line), c.cells) << c.why;
}

TEST(CsvFile, SplittingAppendsToTheCellsGiven)
{
    CCsvFile file;
    Lines cells{"x"};
    file.SplitRow("a,b", cells);
    EXPECT_EQ(cells, (Lines{"x", "a", "b"}));
}

TEST(CsvFile, OpenFailsForAMissingFileAndCloseIsSafeTwice)
{
    CCsvFile file;
    EXPECT_FALSE(file.Open(Scratch() + "missing/none.csv", CCsvFile::modeRead));
    EXPECT_FALSE(file.IsOpen());
    file.Close();
    file.Close();
}
