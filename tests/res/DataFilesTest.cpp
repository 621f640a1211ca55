// The data files of the program folder: definition files, motor lists,
// initial values and the model list, checked as the program loads them for
// every model, and the checks themselves shown to catch broken files.

#include "tests/common/TestPaths.h"
#include "tests/res/DataFileRules.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

namespace {

const char* const kDataFiles[] = {
    "PARAM.DAT",          "PARAMS.DAT",         "PARAMSP.DAT",     "D390MOTORPARAM.DAT",
    "RQ5MOTORPARAM.DAT", "D390SPMOTORPARAM.DAT", "IntialParam.DAT", "RQ5.SPE",
};

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

std::string Joined(const std::vector<std::string>& problems)
{
    std::string text;
    for (const std::string& problem : problems)
        text += "  " + problem + "\n";
    return text;
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

std::string Unlines(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += line + "\n";
    return text;
}

size_t LineStarting(const std::vector<std::string>& lines, const std::string& prefix)
{
    for (size_t n = 0; n < lines.size(); ++n)
        if (lines[n].compare(0, prefix.size(), prefix) == 0)
            return n;
    ADD_FAILURE() << "no line starts with " << prefix;
    return 0;
}

using Edit = std::function<void(std::vector<std::string>&)>;

Edit Duplicate(const std::string& prefix)
{
    return [prefix](std::vector<std::string>& lines) {
        size_t n = LineStarting(lines, prefix);
        lines.insert(lines.begin() + static_cast<long>(n), lines[n]);
    };
}

Edit SwapWithNext(const std::string& prefix)
{
    return [prefix](std::vector<std::string>& lines) {
        size_t n = LineStarting(lines, prefix);
        std::swap(lines[n], lines[n + 1]);
    };
}

Edit Remove(const std::string& prefix, size_t count = 1)
{
    return [prefix, count](std::vector<std::string>& lines) {
        auto first = lines.begin() + static_cast<long>(LineStarting(lines, prefix));
        lines.erase(first, first + static_cast<long>(count));
    };
}

// Replaces the first occurrence of from by to in the line that starts with prefix.
Edit Replace(const std::string& prefix, const std::string& from, const std::string& to)
{
    return [prefix, from, to](std::vector<std::string>& lines) {
        std::string& line = lines[LineStarting(lines, prefix)];
        size_t at = line.find(from);
        ASSERT_NE(at, std::string::npos) << from << " not in " << line;
        line.replace(at, from.size(), to);
    };
}

// Replaces value number column (from 0) of the initial-values row keyed key.
Edit InitialValue(const std::string& key, int column, const std::string& to)
{
    return [key, column, to](std::vector<std::string>& lines) {
        std::string& line = lines[LineStarting(lines, key + ":")];
        size_t start = line.find(':') + 1;
        for (int c = 0; c < column; ++c)
            start = line.find(',', start) + 1;
        size_t end = line.find(',', start);
        line.replace(start, end == std::string::npos ? std::string::npos : end - start, to);
    };
}

} // namespace

TEST(DataFiles, EveryModelBuildsAProjectWithinTheFormsAndRanges)
{
    std::vector<std::string> problems = ProgramFolderProblems(TestProgramFolder());
    EXPECT_TRUE(problems.empty()) << problems.size() << " problems:\n" << Joined(problems);
}

TEST(DataFiles, DefinedSetsDifferByFamilyWhereTheLayoutsDiffer)
{
    // The items that tell the three files apart.
    EXPECT_FALSE(IsExpectedItem(Family::Plain, 0, 0));
    EXPECT_TRUE(IsExpectedItem(Family::S, 0, 0));
    EXPECT_TRUE(IsExpectedItem(Family::S, 9, 10));
    EXPECT_FALSE(IsExpectedItem(Family::SP, 9, 10));
    EXPECT_FALSE(IsExpectedItem(Family::S, 11, 12));
    EXPECT_TRUE(IsExpectedItem(Family::SP, 11, 13));
    EXPECT_FALSE(IsExpectedItem(Family::Plain, 11, 13));
    EXPECT_FALSE(IsExpectedItem(Family::S, 14, 21));
    EXPECT_TRUE(IsExpectedItem(Family::Plain, 14, 77));
    EXPECT_FALSE(IsExpectedItem(Family::Plain, 3, 20));
    EXPECT_FALSE(IsExpectedItem(Family::SP, 2, 10));
}

struct BrokenFile {
    const char* file;
    Edit edit;
    const char* expected; // a problem text contains this
};

const std::vector<BrokenFile>& BrokenFiles()
{
    static const std::vector<BrokenFile> cases = {
        {"PARAMS.DAT", Duplicate("03-07 "), "03-07 is not above the item before it"},
        {"PARAM.DAT", SwapWithNext("05-01 "), "05-01 is not above the item before it"},
        {"PARAMSP.DAT", Remove("04-19 "), "04-19 is missing"},
        {"PARAM.DAT", Remove("#Display"), "13-00 stands in group 12"},
        {"PARAMS.DAT", Replace("00-11 ", "$50.00*", "$50.0*"), "00-11 set value \"50.0\" is not \"%.2f\""},
        {"PARAMS.DAT", Replace("08-05 ", "@00001$", "@001$"), "08-05 factory default \"001\" is not five binary digits"},
        {"PARAMSP.DAT", Replace("08-05 ", "$00001*", "$01001*"), "08-05 set value \"01001\" lies outside 0 to 7"},
        {"PARAM.DAT", Replace("12-00 ", "$00000*", "$00080*"), "12-00 set value \"00080\" is not five octal digits"},
        {"PARAM.DAT", Replace("13-07 ", "$00000*", "$0*"), "13-07 set value \"0\" is not \"%05d\""},
        {"PARAMS.DAT", Replace("10-01 ", "$1*", "$4*"), "10-00 equals 10-01 (set values)"},
        {"PARAM.DAT", Replace("00-12 ", "@50.00$", "@650.00$"), "00-12 factory default \"650.00\" lies outside"},
        {"PARAMSP.DAT", Replace("00-01 ", "@0$", "@0,$"), "00-01 holds a comma"},
        {"PARAM.DAT", Replace("12-03 ", "*0~65535", "*0~1000"), "12-03 set value \"1500\" lies outside the remark's 0~1000"},
        {"RQ5.SPE", Remove("TYPE:RQ5 07 A240;", 3), "model RQ5 07 A240 has no entry"},
        {"RQ5.SPE", Replace("TYPE:D390-415-SHxx-xP;", "415", "416"), "model D390-415-SHxx-xP has no entry"},
        {"IntialParam.DAT", InitialValue("02-01", 0, "0.5"), "D390-1P2-Hxx at 50 Hz: 02-00 is not below 02-01"},
        {"IntialParam.DAT", InitialValue("08-04", 8, "380.0"),
         "D390-401-Hxx at 60 Hz: 08-04 set value \"380.0\" lies outside 700 to 780"},
        {"IntialParam.DAT", InitialValue("02-05", 18, "30.0"), "D390-415-SHxx-xP at 50 Hz: 02-05 set value \"30.0\""},
        {"IntialParam.DAT", InitialValue("07-07", 0, "50"), "D390-1P2-SHxx at 50 Hz: 07-07 set value \"50\" lies outside 0 to 20"},
        {"IntialParam.DAT", Remove("03-20:"), "row 15: key is not 03-20"},
        {"PARAMS.DAT", Replace("02-01 ", "@32.0$", "@5.0$"), "D390-210-SHxx at 50 Hz: 02-00 is not below a fresh drive's 02-01"},
        {"PARAMSP.DAT", Replace("01-07 ", "@8.0$", "@9.0$"), "D390-205-SHxx-xP at 60 Hz: 01-05 is refused by the V/F order check"},
        {"D390MOTORPARAM.DAT", Replace("02-03 ", "rated speed", "speed"), "motor list text of 02-03 is not the parameter's name"},
    };
    return cases;
}

// Each broken program folder is a test of its own: they run side by side.
class BrokenDataFile : public ::testing::TestWithParam<size_t> {};

TEST_P(BrokenDataFile, IsCaught)
{
    const BrokenFile& broken = BrokenFiles()[GetParam()];
    SCOPED_TRACE(std::string(broken.file) + ": expecting " + broken.expected);
    const std::string source = TestProgramFolder();
    const std::string folder = MakeTempFolder();
    for (const char* name : kDataFiles) {
        std::string text = ReadAll(source + name);
        if (name == std::string(broken.file)) {
            std::vector<std::string> lines = Lines(text);
            broken.edit(lines);
            text = Unlines(lines);
        }
        std::ofstream(folder + name, std::ios::binary) << text;
    }
    std::vector<std::string> problems = ProgramFolderProblems(folder);
    bool found = false;
    for (const std::string& problem : problems)
        found = found || problem.find(broken.expected) != std::string::npos;
    EXPECT_TRUE(found) << "problems found:\n" << Joined(problems);
}

INSTANTIATE_TEST_SUITE_P(DataFiles, BrokenDataFile, ::testing::Range<size_t>(0, BrokenFiles().size()));
