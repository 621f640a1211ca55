#include "platform/ResourceModule.h"
#include "session/StationList.h"
#include "tests/common/MessageRecorder.h"

#include <gtest/gtest.h>

namespace {

constexpr unsigned kAbove32 = 61465;
constexpr unsigned kRangeOrder = 61466;
constexpr unsigned kRepeat = 61467;
constexpr unsigned kItem = 1; // our refusal that names the item

struct StationCase {
    const char* text;
    std::vector<int> stations; // on success
    unsigned message;          // 0: accepted
    const char* item;          // the item the refusal names
    const char* why;
};

const StationCase kCases[] = {
    {"1,3,5-12", {1, 3, 5, 6, 7, 8, 9, 10, 11, 12}, 0, "", "numbers and a range keep the order of the text"},
    {"", {}, 0, "", "an empty text adds nothing"},
    {"5-5", {5}, 0, "", "a range of one station"},
    {"32", {32}, 0, "", "the highest station"},
    {"7,2-3", {7, 2, 3}, 0, "", "ranges ascend in their own place"},
    {"1,2,", {1, 2}, 0, "", "a comma at the very end ends the list"},
    {"12-5", {}, kRangeOrder, "", "a range must not run backwards"},
    {"30-40", {}, kAbove32, "", "stations 30 to 32 are appended before 33 fails, then all are removed"},
    {"33", {}, kAbove32, "", "above 32"},
    {"1,000033", {}, kAbove32, "", "a number of six characters is out of range"},
    {"1-123456", {}, kAbove32, "", "the part after '-' longer than 5 characters"},
    {"99999999999999999999", {}, kAbove32, "", "a huge number is refused, never converted"},
    {"3,3", {}, kRepeat, "", "a repeated station"},
    {"1-4,3", {}, kRepeat, "", "a station repeated by a range"},
    {"1,,2", {}, kItem, "", "an empty item would be the broadcast station 0"},
    {",1", {}, kItem, "", "an empty first item"},
    {"0", {}, kItem, "0", "station 0 is the broadcast address"},
    {"0-3", {}, kItem, "0-3", "a range starting at the broadcast address"},
    {"1x", {}, kItem, "1x", "a trailing letter would read as 1"},
    {"1, 2", {}, kItem, " 2", "a blank is not a digit"},
    {"-3", {}, kItem, "-3", "a range without a start"},
    {"3-", {}, kItem, "3-", "a range without an end"},
    {"1-2-3", {}, kItem, "1-2-3", "two dashes"},
    {"+5", {}, kItem, "+5", "a sign is not a digit"},
};

} // namespace

TEST(StationList, ParsesTable)
{
    for (const StationCase& c : kCases) {
        SCOPED_TRACE(std::string(c.why) + ": \"" + c.text + "\"");
        MessageRecorder recorder;
        std::vector<int> stations;
        int result = ParseStationList(stations, c.text);
        EXPECT_EQ(result, c.message == 0 ? 1 : 0);
        EXPECT_EQ(stations, c.stations);
        std::vector<std::string> texts = recorder.Texts();
        if (c.message == 0) {
            EXPECT_TRUE(texts.empty());
            continue;
        }
        ASSERT_EQ(texts.size(), 1u);
        if (c.message == kItem)
            EXPECT_NE(texts[0].find(std::string("\"") + c.item + "\""), std::string::npos) << texts[0];
        else
            EXPECT_EQ(texts[0], LoadResString(c.message));
    }
}

TEST(StationList, AppendsToWhatIsThereAndEmptiesOnRefusal)
{
    MessageRecorder recorder;
    std::vector<int> stations = {4};
    EXPECT_EQ(ParseStationList(stations, "1,2"), 1);
    EXPECT_EQ(stations, (std::vector<int>{4, 1, 2}));
    EXPECT_EQ(ParseStationList(stations, "3-5"), 0); // 4 is already there
    EXPECT_TRUE(stations.empty());
    EXPECT_EQ(recorder.Texts(), (std::vector<std::string>{LoadResString(61467)}));
}
