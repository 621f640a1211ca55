// Texts of the string table that are easy to get wrong: other code compares,
// parses or formats them, and users know them as they stand.

#include "platform/ResourceModule.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

struct TextCase {
    unsigned id;
    const char* text;
};

// printf conversions of a format text, "%%" left out: "%s %d" gives "sd".
std::string Conversions(const std::string& format)
{
    std::string result;
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%')
            continue;
        std::size_t j = i + 1;
        while (j < format.size() && std::string("-+ #0123456789.lh").find(format[j]) != std::string::npos)
            ++j;
        if (j < format.size() && format[j] != '%')
            result += format[j];
        i = j;
    }
    return result;
}

class StringTable : public ::testing::Test {
protected:
    void TearDown() override { SetResLanguage(ResLanguage::English); }
};

} // namespace

TEST_F(StringTable, KeepsTextsAsTheProgramShowsThem)
{
    const TextCase cases[] = {
        // trailing and leading blanks
        {61609, "Function Code Error "},
        {61610, "Address Error "},
        {61611, "Data Amount Error"},
        {61613, "Writing Mode Error "},
        {61547, "     Status     "},
        {61548, "     Terminal    "},
        {61594, "Disable Trip Prevention During Acceleration "},
        {61596, "Disable Trip Prevention During Deceleration"},
        {61603, "Output Voltage "},
        {61608, "Analog Signal Input. (ACI) "},
        {61619, "Invertor Duty Motor ( Force Vent)"},
        {61469, "The station num connect failure :"},
        // odd spellings
        {61533, "The value of parameter 10-00 and 10-01can't be same!"},
        {61532, "The value of parameter 00-05 and 00-06 can't be same!"},
        {61569, "Line %d(%s) of the import ffile is error."},
        {61572, "The station num %d communcation error!"},
        {61575, "Read sucessful !"},
        {61583, "%s parameter has not been wirtten to model!"},
        {61521, "Disable password error !"},
        {61466, "The station num before'-' must be less than after '-'!"},
        {61555, "Inverter's type may be not match you select type.Continue ?"},
        {61566, "Some a file lost,please setup Kestrolix again."},
        {61584, "The parameter can't writed in the model 1P2,1P5,2P2 of the version!"},
        // labels that code glues other text to, or parses by
        {61456, "TYPE:"},
        {61453, "Station Num:"},
        {61527, "Date:"},
        {61491, "No display"},
        // formats
        {61480, "Station Num %d"},
        {61534, "The station num %d has exist password, can't write parameter value!"},
        {61538, "The Station Number %d hasn't exist!!"},
        {61585, "The value of parameter %s and %s can't be the same!"},
        {61462, "Project File(%s)|%s||"},
        {61565, "Export File(%s)|%s||"},
        {61574, "Text File(%s)|%s||"},
        // prompts and the document template's fields
        {57603, "Save the current project\nSave"},
        {32805, "AutoRefresh\nAutoRefresh"},
        {32821, "Compare\nCompare"},
        {129, "\nD390\nD390\n\n\nD390.Document\nD390 Document"},
    };
    for (const TextCase& c : cases)
        EXPECT_EQ(LoadResString(c.id), c.text) << "string " << c.id;
}

TEST_F(StringTable, FormatsFillTheirPlaceholders)
{
    EXPECT_EQ(FormatResString(61585, "00-05", "00-06"),
              "The value of parameter 00-05 and 00-06 can't be the same!");
    EXPECT_EQ(FormatResString(61569, 3, "01-02,abc"), "Line 3(01-02,abc) of the import ffile is error.");
    EXPECT_EQ(FormatResString(61534, 12), "The station num 12 has exist password, can't write parameter value!");
    EXPECT_EQ(FormatResString(61462, "*.zrv", "*.zrv"), "Project File(*.zrv)|*.zrv||");
}

TEST_F(StringTable, OwnFormatsTakeWhatTheirCallersPass)
{
    // Callers pass two texts to 61622 (item and range) and one to 61583; the
    // other texts are shown without arguments. A conversion that does not match
    // would read arguments that were never passed.
    const struct {
        unsigned id;
        const char* conversions;
    } cases[] = {
        {61622, "ss"}, {61583, "s"}, {61623, ""}, {61642, ""}, {61643, ""}, {61644, ""}, {61705, ""},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(HasResString(c.id)) << "string " << c.id;
        EXPECT_FALSE(LoadResString(c.id).empty()) << "string " << c.id;
        EXPECT_EQ(Conversions(LoadResString(c.id)), c.conversions) << "string " << c.id;
    }
    const std::string refused = FormatResString(61622, "03-15", "0.1~15.0");
    EXPECT_NE(refused.find("03-15"), std::string::npos);
    EXPECT_NE(refused.find("0.1~15.0"), std::string::npos);
}

TEST_F(StringTable, GraphToolTipsFollowTheLineFeed)
{
    const TextCase tips[] = {
        {32820, "Start"}, {32819, "Stop"},     {32815, "Save"},   {32822, "Set"},
        {32801, "Dim Time"}, {32802, "Export"}, {32803, "Import"},
    };
    for (const TextCase& c : tips) {
        const std::string prompt = LoadResString(c.id);
        const std::size_t feed = prompt.find('\n');
        ASSERT_NE(feed, std::string::npos) << "string " << c.id;
        EXPECT_EQ(prompt.substr(feed + 1), c.text) << "string " << c.id;
    }
}

TEST_F(StringTable, ProjectTreeHasATitleForEveryGroup)
{
    std::set<std::string> titles;
    for (unsigned id = 61624; id <= 61637; ++id)
        titles.insert(LoadResString(id));
    titles.insert(LoadResString(61641));
    EXPECT_EQ(titles.size(), 15u) << "group titles must be present and tell the groups apart";
    EXPECT_EQ(titles.count(""), 0u);
}

TEST_F(StringTable, GraphQuantityNamesAreDistinct)
{
    // The chart identifies a channel's quantity by its name.
    const std::vector<unsigned> ids = {61491, 61492, 61493, 61494, 61495, 61496, 61498,
                                       61499, 61500, 61501, 61638, 61639, 61640};
    std::set<std::string> names;
    for (unsigned id : ids) {
        const std::string name = LoadResString(id);
        EXPECT_FALSE(name.empty()) << "string " << id;
        EXPECT_TRUE(names.insert(name).second) << "string " << id << " repeats \"" << name << "\"";
    }
}

TEST_F(StringTable, ChineseTextsWithEnglishFallback)
{
    SetResLanguage(ResLanguage::Chinese);
    EXPECT_EQ(LoadResString(61624), "群组 00: 基本功能");
    EXPECT_EQ(LoadResString(61641), "群组14");
    EXPECT_EQ(LoadResString(61460), "Beyond the range!");
    EXPECT_EQ(FormatResString(61480, 4), "Station Num 4");
    SetResLanguage(ResLanguage::English);
    EXPECT_EQ(LoadResString(61624), "Group 00: Basic Functions");
}
