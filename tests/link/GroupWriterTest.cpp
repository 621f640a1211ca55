// The group writers against the simulated drive: the frames each model and
// version gets, the words that reach the drive, the checks that refuse a
// write and the texts left for the caller.

#include "tests/link/GroupIOTestSupport.h"

#include <ostream>

#include "link/Crc16.h"

#include <cstdlib>

namespace {

struct Text {
    int item;
    const char* text;
    int word; // what the drive must hold afterwards; -1: not written
};

struct WriteCase {
    int group;
    uint32_t model;
    int version;
    const char* requests;
    const char* why;
    std::vector<Text> texts = {};                             // in place of the pattern texts
    std::vector<std::pair<uint16_t, uint16_t>> drive = {};    // registers preset on the drive
    bool ex = false;                                          // group 13 through the editor's writer
};

const WriteCase kWriteCases[] = {
    {0, kRangeAModel, 1093, "R 0002 x1, W 0000 x1, W 0001 x7, W 0009 x12, R 0015 x1, W 0015 x1",
     "range A at 1.093, drive 00-02 at 0"},
    {0, kRangeAModel, 1092, "R 0002 x1, W 0000 x1, W 0001 x7, W 0009 x12, R 0015 x1",
     "range A below 1.093: 00-21 is left alone"},
    {0, kRangeBModel, 1130, "R 0002 x1, W 0002 x6, W 0009 x12, R 0015 x1, W 0015 x1",
     "drive 00-02 not 0: from 00-02 on", {}, {{0x0002, 3}}},
    {0, kRangeBModel, 1130, "R 0002 x1, W 0002 x6, W 0009 x12, R 0015 x1",
     "the drive already holds 00-21", {}, {{0x0002, 3}, {0x0015, PatternWord(21)}}},
    {0, kOldModel, 2000, "R 0002 x1, W 0001 x7, W 0009 x12", "old, drive 00-02 at 0"},
    {0, kOldModel, 2000, "R 0002 x1, W 0002 x6, W 0009 x12", "old, drive 00-02 not 0", {}, {{0x0002, 1}}},
    {1, kRangeAModel, 1000, "W 0100 x2, W 010A x9", "new without V/F points",
     {{1, "220.7", 2207}}},
    {1, kRestrictedModel, 1310, "W 0100 x1, W 010A x2", "restricted: 01-01 is not written",
     {{1, "220.7", -1}}},
    {1, kRestrictedModel, 1311, "W 0100 x2, W 010A x2", "above 1.31 not restricted"},
    {1, kOldModel, 1000, "W 0100 x2, W 010A x2", "other old model"},
    {1, kRangeBModel, 1000,
     "W 0100 x2, W 0102 x2, R 0106 x1, W 0104 x1, R 0107 x1, W 0105 x1, R 0104 x1, R 0108 x1, W 0106 x1, "
     "R 0105 x1, R 0109 x1, W 0107 x1, R 0106 x1, W 0108 x1, R 0107 x1, W 0109 x1, W 010A x9",
     "V/F points, each checked against the drive",
     {{0, "7.0", 7}, {4, "50.00", 5000}, {5, "40.0", 400}, {6, "30.00", 3000}, {7, "30.0", 300},
      {8, "10.00", 1000}, {9, "10.0", 100}}},
    {2, kRangeAModel, 1030,
     "R 0201 x1, W 0200 x1, R 0200 x1, W 0201 x3, W 0204 x1, W 0205 x5, W 020D x5, W 0212 x2", "new at 1.03",
     {}, {{0x0201, 65535}}},
    {2, kRangeAModel, 1029, "R 0201 x1, W 0200 x1, R 0200 x1, W 0201 x3, W 0204 x1, W 0205 x5, W 020D x5",
     "new below 1.03", {}, {{0x0201, 65535}}},
    {2, kRestrictedModel, 1200, "R 0201 x1, W 0200 x1, R 0200 x1, W 0202 x2",
     "restricted: 02-01 and 02-04 are not written", {}, {{0x0201, 65535}}},
    {2, kOldModel, 1099, "R 0201 x1, W 0200 x1, R 0200 x1, W 0201 x3", "old below 1.1", {}, {{0x0201, 65535}}},
    {2, kOldModel, 1100, "R 0201 x1, W 0200 x1, R 0200 x1, W 0201 x3, W 0204 x1", "old at 1.1", {},
     {{0x0201, 65535}}},
    {3, kOldModel, 1000, "W 0300 x5, W 0306 x4, W 030B x1, W 030D x7", "old"},
    {3, kBoundaryModel, 1000, "W 0300 x5, W 0306 x4, W 030B x1, W 030D x9", "new"},
    {4, kRangeAModel, 1059, "W 0400 x16", "range A below 1.06"},
    {4, kRangeAModel, 1060, "W 0400 x16, W 0410 x4", "range A at 1.06"},
    {4, kRangeBModel, 1000, "W 0400 x16, W 0410 x4", "range B"},
    {4, kBoundaryModel, 2000, "W 0400 x16", "0x1110000"},
    {4, kOldModel, 2000, "W 0400 x16", "old"},
    {5, kOldModel, 1000, "W 0500 x9, W 0511 x16", "no gates"},
    {6, kRangeBModel, 1000, "W 0600 x8, W 0610 x8, W 0620 x8", "no gates"},
    {7, kRangeAModel, 1093, "W 0700 x9, W 0709 x1, W 070A x2, W 070C x1", "range A at 1.093"},
    {7, kRangeAModel, 1092, "W 0700 x9, W 0709 x1, W 070A x2", "range A below 1.093"},
    {7, kRangeBModel, 1119, "W 0700 x9, W 0709 x1, W 070A x2", "range B below 1.12"},
    {7, kRangeBModel, 1120, "W 0700 x9, W 0709 x1, W 070A x2, W 070C x1", "range B at 1.12"},
    {7, kBoundaryModel, 2000, "W 0700 x9, W 0709 x1", "0x1110000"},
    {7, kOldModel, 300, "W 0700 x9", "old below 0.4"},
    {8, kOldModel, 1400, "W 0800 x4, W 0804 x1, W 0805 x5, W 080A x2", "old at 1.4"},
    {8, kOldModel, 1399, "W 0800 x4, W 0804 x1, W 0805 x5", "old below 1.4"},
    {8, kRestrictedModel, 1310, "W 0800 x4, W 0805 x5", "restricted: no 08-04"},
    {8, kLastOldModel, 2000, "W 0800 x4, W 0804 x1, W 0805 x5", "0x1100000 gets neither 0x080A frame"},
    {8, kRangeAModel, 1039, "W 0800 x4, W 0804 x1, W 0805 x5, W 080A x7", "new below 1.04"},
    {8, kRangeAModel, 1060, "W 0800 x4, W 0804 x1, W 0805 x5, W 080A x7, W 0811 x2, W 0813 x1", "new at 1.06"},
    {9, kRangeAModel, 1000, "W 0906 x4", "09-00 to 09-05 never written"},
    {10, kRangeAModel, 1099, "W 0A00 x23", "10-05 in tenths"},
    {10, kRangeAModel, 1100, "W 0A00 x23", "10-05 in hundredths"},
    {10, kBoundaryModel, 1100, "W 0A00 x23", "10-05 in tenths on 0x1110000"},
    {11, kOldModel, 2000, "W 0B00 x12", "old"},
    {11, kRangeAModel, 1059, "W 0B00 x12, W 0B0D x8", "new below 1.06"},
    {11, kRangeAModel, 1060, "W 0B00 x12, W 0B0D x8, W 0B15 x1", "new at 1.06"},
    {12, kOldModel, 1000, "W 0C00 x5", "octal 12-00", {{0, "00017", 15}}},
    {13, kOldModel, 1000, "W 0D03 x4", "write-all's group 13"},
    {13, kOldModel, 1000, "W 0D03 x4, W 0D08 x1", "the editor's group 13", {}, {}, true},
    // Every group once more for the classes not met above.
    {0, kBoundaryModel, 2000, "R 0002 x1, W 0000 x1, W 0001 x7, W 0009 x12, R 0015 x1",
     "0x1110000: 00-21 is read, never written"},
    {1, kBoundaryModel, 1000, "W 0100 x2, W 010A x9", "0x1110000 is new"},
    {2, kRangeBModel, 1000, "R 0201 x1, W 0200 x1, R 0200 x1, W 0201 x3, W 0204 x1, W 0205 x5, W 020D x5",
     "range B below 1.03", {}, {{0x0201, 65535}}},
    {2, kBoundaryModel, 2000,
     "R 0201 x1, W 0200 x1, R 0200 x1, W 0201 x3, W 0204 x1, W 0205 x5, W 020D x5, W 0212 x2", "0x1110000", {},
     {{0x0201, 65535}}},
    {3, kRangeAModel, 1000, "W 0300 x5, W 0306 x4, W 030B x1, W 030D x9", "range A"},
    {3, kRangeBModel, 1000, "W 0300 x5, W 0306 x4, W 030B x1, W 030D x9", "range B"},
    {5, kRangeAModel, 1000, "W 0500 x9, W 0511 x16", "range A"},
    {5, kRangeBModel, 1000, "W 0500 x9, W 0511 x16", "range B"},
    {5, kBoundaryModel, 1000, "W 0500 x9, W 0511 x16", "0x1110000"},
    {6, kOldModel, 1000, "W 0600 x8, W 0610 x8, W 0620 x8", "old"},
    {6, kRangeAModel, 1000, "W 0600 x8, W 0610 x8, W 0620 x8", "range A"},
    {6, kBoundaryModel, 1000, "W 0600 x8, W 0610 x8, W 0620 x8", "0x1110000"},
    {8, kRangeBModel, 1040, "W 0800 x4, W 0804 x1, W 0805 x5, W 080A x7, W 0811 x2", "range B at 1.04"},
    {8, kBoundaryModel, 2000, "W 0800 x4, W 0804 x1, W 0805 x5, W 080A x7, W 0811 x2, W 0813 x1", "0x1110000"},
    {9, kOldModel, 1000, "W 0906 x4", "old"},
    {9, kRangeBModel, 1000, "W 0906 x4", "range B"},
    {9, kBoundaryModel, 1000, "W 0906 x4", "0x1110000"},
    {10, kRangeBModel, 1000, "W 0A00 x23", "10-05 in hundredths on range B"},
    {10, kOldModel, 2000, "W 0A00 x23", "10-05 in tenths on old models"},
    {11, kRangeBModel, 1060, "W 0B00 x12, W 0B0D x8, W 0B15 x1", "range B at 1.06"},
    {11, kBoundaryModel, 1059, "W 0B00 x12, W 0B0D x8", "0x1110000 below 1.06"},
    {12, kRangeAModel, 1000, "W 0C00 x5", "range A", {{0, "00017", 15}}},
    {12, kRangeBModel, 1000, "W 0C00 x5", "range B", {{0, "77777", 0x7FFF}}},
    {12, kBoundaryModel, 1000, "W 0C00 x5", "0x1110000"},
    {13, kRangeAModel, 1000, "W 0D03 x4", "range A"},
    {13, kRangeBModel, 1000, "W 0D03 x4, W 0D08 x1", "range B, the editor's group 13", {}, {}, true},
    {13, kBoundaryModel, 1000, "W 0D03 x4", "0x1110000"},
    {14, kRangeAModel, 1100,
     "W 0E14 x1, W 0E00 x10, W 0E0A x11, W 0E16 x10, W 0E22 x2, W 0E25 x3, W 0E47 x3, W 0E4A x4",
     "pressure mode, range A at 1.1", {{20, "0", 0}}},
    {14, kRangeBModel, 1129, "W 0E14 x1, W 0E00 x10, W 0E0A x11, W 0E16 x10, W 0E22 x2, W 0E25 x3, W 0E47 x3",
     "percent mode, range B below 1.13", {{20, "1", 1}}},
    {14, kBoundaryModel, 2000,
     "W 0E14 x1, W 0E00 x10, W 0E0A x11, W 0E16 x10, W 0E22 x2, W 0E25 x3, W 0E47 x3", "0x1110000",
     {{20, "2", 2}}},
    // The other side of the version thresholds not met above.
    {0, kRangeBModel, 1129, "R 0002 x1, W 0000 x1, W 0001 x7, W 0009 x12, R 0015 x1",
     "range B below 1.13: 00-21 is left alone"},
    {7, kOldModel, 400, "W 0700 x9, W 0709 x1", "old at 0.4"},
    {14, kRangeAModel, 1099, "W 0E14 x1, W 0E00 x10, W 0E0A x11, W 0E16 x10, W 0E22 x2, W 0E25 x3, W 0E47 x3",
     "range A below 1.1: no 0x0E4A frame", {{20, "0", 0}}},
    {14, kRangeBModel, 1130,
     "W 0E14 x1, W 0E00 x10, W 0E0A x11, W 0E16 x10, W 0E22 x2, W 0E25 x3, W 0E47 x3, W 0E4A x4",
     "range B at 1.13", {{20, "1", 1}}},
};

// Value texts as the readers show the pattern words, item by item.
std::vector<std::string> PatternTexts(int group, uint32_t model, int version, const std::vector<Text>& texts)
{
    int mode = 1;
    for (const Text& text : texts)
        if (group == 14 && text.item == 20)
            mode = std::atoi(text.text);
    std::vector<std::string> values(100);
    for (int item = 0; item < 100; ++item)
        values[item] = FormatRegisterText(DocumentedForm(group, item, model, VersionFromRegister(version), mode),
                                          PatternWord(item));
    for (const Text& text : texts)
        values[text.item] = text.text;
    return values;
}

// Failures name the case, not its bytes.
void PrintTo(const WriteCase& c, std::ostream* os)
{
    *os << "group " << c.group << ", code 0x" << std::hex << c.model << std::dec << ", version " << c.version
        << ": " << c.why;
}

class GroupWriterTest : public GroupIOTest, public ::testing::WithParamInterface<WriteCase> {};

TEST_P(GroupWriterTest, SendsTheGatedFramesAndTheWordsReachTheDrive)
{
    const WriteCase& c = GetParam();
    StartDrive(c.model, c.version);
    for (const auto& [reg, word] : c.drive)
        m_drive->SetRegister(1, reg, word);
    const std::vector<std::string> values = PatternTexts(c.group, c.model, c.version, c.texts);

    const bool written = c.ex ? IO().WriteParamGroup13Ex(values, 1) : IO().WriteParamGroup(c.group, values, 1);
    ASSERT_TRUE(written) << c.why << ": " << m_session.m_strLastError;
    EXPECT_EQ(Joined(Requests()), c.requests) << c.why;
    EXPECT_TRUE(m_messages.Texts().empty());

    int mode = 1;
    for (const Text& text : c.texts)
        if (c.group == 14 && text.item == 20)
            mode = text.word;
    for (int item : ItemsIn(c.requests, c.group, 'W')) {
        // A bit field shows five bits, the octal form fifteen: what goes back.
        const char form = DocumentedForm(c.group, item, c.model, VersionFromRegister(c.version), mode);
        int expected = PatternWord(item) & (form == 'b' ? 0x1F : form == 'o' ? 0x7FFF : 0xFFFF);
        for (const Text& text : c.texts)
            if (text.item == item)
                expected = text.word;
        EXPECT_EQ(m_drive->GetRegister(1, static_cast<uint16_t>(c.group << 8 | item)), expected)
            << c.why << ": item " << item << " \"" << values[item] << "\"";
    }
    for (const SimFrame& frame : m_drive->GetFrameLog()) {
        if (frame.request[1] == 0x10) {
            EXPECT_EQ(frame.request[6], 2 * frame.request[5]) << "byte count";
        }
    }
    if (c.group == 0) {
        EXPECT_EQ(m_session.m_nParam0002, PatternWord(2));
    }
}

INSTANTIATE_TEST_SUITE_P(EveryGroup, GroupWriterTest, ::testing::ValuesIn(kWriteCases),
                         [](const auto& info) {
                             return CaseName(info.param.group, info.param.model, info.param.version, info.index);
                         });

// The checks of a writer, with what has gone to the drive when they refuse.
struct CheckCase {
    int group;
    uint32_t model;
    std::vector<Text> texts;
    std::vector<std::pair<uint16_t, uint16_t>> drive;
    const char* requests; // sent before the refusal
    std::string lastError;
    const char* why;
};

const std::vector<CheckCase>& CheckCases()
{
    static const std::vector<CheckCase> cases = {
        {0, kRangeAModel, {{5, "5", 0}, {6, "5", 0}}, {}, "",
         "The value of parameter 00-05 and 00-06 can't be same!", "equal texts: nothing is sent or read"},
        {0, kRangeAModel, {{5, "5", 0}, {6, "05", 0}}, {{0x0002, 1}}, "R 0002 x1",
         "The value of parameter 00-05 and 00-06 can't be the same!", "equal values while the drive's 00-02 is set"},
        {1, kRangeBModel, {{0, "7", 0}, {4, "50.00", 0}, {6, "30.00", 0}, {8, "10.00", 0}}, {{0x0106, 6000}},
         "W 0100 x2, W 0102 x2, R 0106 x1", "when 01-04>=01-06,the parameter can be writed into inverter!",
         "01-04 below the drive's 01-06"},
        {1, kRangeBModel, {{0, "7", 0}, {4, "50.00", 0}, {6, "30.00", 0}, {8, "10.00", 0}}, {{0x0108, 3500}},
         "W 0100 x2, W 0102 x2, R 0106 x1, W 0104 x1, R 0107 x1, W 0105 x1, R 0104 x1, R 0108 x1",
         "when 01-04>=01-06>=01-08,the parameter can be writed into inverter!", "01-06 below the drive's 01-08"},
        {1, kRangeBModel, {{0, "7", 0}, {4, "50.00", 0}, {5, "40.0", 0}, {6, "30.00", 0}, {7, "30.0", 0}, {8, "10.00", 0}, {9, "50.0", 0}},
         {},
         "W 0100 x2, W 0102 x2, R 0106 x1, W 0104 x1, R 0107 x1, W 0105 x1, R 0104 x1, R 0108 x1, W 0106 x1, "
         "R 0105 x1, R 0109 x1, W 0107 x1, R 0106 x1, W 0108 x1, R 0107 x1",
         "when 01-07>=01-09,the parameter can be writed into inverter!", "01-09 above the drive's 01-07"},
        {2, kRangeAModel, {{0, "100.0", 0}}, {{0x0201, 1000}}, "R 0201 x1",
         "The value of 02-00 must be less than the value of 02-01!", "02-00 not below the drive's 02-01"},
        {2, kRangeAModel, {{0, "100.0", 0}, {1, "50.0", 0}}, {{0x0201, 5000}}, "R 0201 x1, W 0200 x1, R 0200 x1",
         "The value of 02-00 must be less than the value of 02-01!", "02-01 below the 02-00 just written"},
        {10, kRangeAModel, {{0, "3", 0}, {1, "3", 0}}, {}, "",
         "The value of parameter 10-00 and 10-01can't be same!", "equal texts of 10-00 and 10-01"},
        {0, kRangeAModel, {{11, "700.00", 0}}, {}, "",
         WriteCheckText(IDS_WRITE_VALUE_OUT_OF_RANGE, "00-11", "700.00"),
         "a value that would wrap to 4464 stops the writer before anything is read or sent"},
        {5, kOldModel, {{3, "abc", 0}}, {}, "", WriteCheckText(IDS_WRITE_VALUE_NOT_NUMBER, "05-03", "abc"),
         "not a number"},
        {3, kOldModel, {{9, "", 0}}, {}, "", WriteCheckText(IDS_WRITE_VALUE_NOT_NUMBER, "03-09", ""),
         "an empty bit field"},
        {4, kRangeBModel, {{19, "-1", 0}}, {}, "", WriteCheckText(IDS_WRITE_VALUE_OUT_OF_RANGE, "04-19", "-1"),
         "a negative value in the last frame stops the first"},
        {1, kRangeBModel, {{0, "7", 0}, {9, "x", 0}}, {}, "",
         WriteCheckText(IDS_WRITE_VALUE_NOT_NUMBER, "01-09", "x"), "V/F points are checked before the first frame"},
        {14, kRangeAModel, {{20, "1", 0}, {9, "12.34", 0}}, {}, "",
         WriteCheckText(IDS_WRITE_PERCENT_FORM, "14-09", "12.34"), "a pressure text while 14-20 selects percent"},
        {14, kRangeAModel, {{20, "0", 0}, {39, "12", 0}}, {}, "",
         WriteCheckText(IDS_WRITE_PRESSURE_FORM, "14-39", "12"), "a percent text while 14-20 selects pressure"},
    };
    return cases;
}

TEST_F(GroupIOTest, WriterChecksRefuseWithTheirMessages)
{
    for (const CheckCase& c : CheckCases()) {
        StartDrive(c.model, 1200);
        for (const auto& [reg, word] : c.drive)
            m_drive->SetRegister(1, reg, word);
        const std::vector<std::string> values = PatternTexts(c.group, c.model, 1200, c.texts);
        m_session.m_strLastError = "before";

        EXPECT_FALSE(IO().WriteParamGroup(c.group, values, 1)) << c.why;
        EXPECT_EQ(m_session.m_strLastError, c.lastError) << c.why;
        EXPECT_EQ(Joined(Requests()), c.requests) << c.why;
        EXPECT_TRUE(m_messages.Texts().empty()) << c.why;
        TearDown();
        m_drive.reset();
    }
}

TEST_F(GroupIOTest, ValueMessagesNameTheParameterAndTheValue)
{
    StartDrive(kRangeAModel, 1200);
    std::vector<std::string> values = PatternTexts(0, kRangeAModel, 1200, {{11, "700.00", 0}});
    EXPECT_FALSE(IO().WriteParamGroup00(values, 1));
    EXPECT_NE(m_session.m_strLastError.find("00-11"), std::string::npos) << m_session.m_strLastError;
    EXPECT_NE(m_session.m_strLastError.find("700.00"), std::string::npos) << m_session.m_strLastError;
    EXPECT_EQ(m_drive->GetFrameCount(), 0u);
}

TEST_F(GroupIOTest, EqualValuesGoAheadWhileTheDrive0002IsZero)
{
    StartDrive(kRangeAModel, 1200);
    std::vector<std::string> values = PatternTexts(0, kRangeAModel, 1200, {{5, "5", 5}, {6, "05", 5}});
    EXPECT_TRUE(IO().WriteParamGroup00(values, 1)) << m_session.m_strLastError;
    EXPECT_EQ(m_drive->GetRegister(1, 0x0005), 5);
    EXPECT_EQ(m_drive->GetRegister(1, 0x0006), 5);
}

TEST_F(GroupIOTest, FailedQueriesStopTheWriters)
{
    StartDrive(kRangeAModel, 1200);
    const std::vector<std::string> values00 = PatternTexts(0, kRangeAModel, 1200, {});
    m_drive->SetSilent(1, true);
    m_session.m_strLastError = "before";
    EXPECT_FALSE(IO().WriteParamGroup00(values00, 1));
    EXPECT_EQ(m_session.m_strLastError, "Communication error!") << "the caller tells it, once";
    EXPECT_TRUE(m_messages.Texts().empty());
    m_drive->SetSilent(1, false);
    m_messages.Clear();

    // 02-01 is read silently; the writer leaves the bare text.
    m_drive->ForceException(1, 0x0201, 0x52);
    m_drive->ClearFrameLog();
    EXPECT_FALSE(IO().WriteParamGroup02(PatternTexts(2, kRangeAModel, 1200, {}), 1));
    EXPECT_EQ(m_session.m_strLastError, "Communication error!");
    EXPECT_EQ(Joined(Requests()), "R 0201 x1");
    EXPECT_TRUE(m_messages.Texts().empty());

    // A V/F point that cannot be read.
    m_drive->ForceException(1, 0x0107, 0x52);
    m_drive->ClearFrameLog();
    std::vector<std::string> values01 = PatternTexts(1, kRangeAModel, 1200,
                                                     {{0, "7", 0}, {4, "50.00", 0}, {6, "30.00", 0}, {8, "10.00", 0}});
    EXPECT_FALSE(IO().WriteParamGroup01(values01, 1));
    EXPECT_EQ(m_session.m_strLastError, "Communication error!");
    EXPECT_EQ(Joined(Requests()), "W 0100 x2, W 0102 x2, R 0106 x1, W 0104 x1, R 0107 x1");

    // 00-21 read by the group-00 writer itself: the bare refusal text.
    m_drive->ForceException(1, 0x0015, 0x53);
    m_drive->ClearFrameLog();
    EXPECT_FALSE(IO().WriteParamGroup00(values00, 1));
    EXPECT_EQ(m_session.m_strLastError, "Data Amount Error");
}

struct FrameFailureCase {
    int group;
    uint8_t station;
    int failingTransaction; // silent from this one on; 0: a refusal of refusedRegister
    uint16_t refusedRegister;
    uint8_t code;
    const char* requests;
    const char* lastError;
    const char* why;
};

const FrameFailureCase kFrameFailures[] = {
    {6, 1, 2, 0, 0, "W 0600 x8, W 0610 x8", "Station Num 1TimeOut! ", "time-out on the second frame"},
    {6, 7, 3, 0, 0, "W 0600 x8, W 0610 x8, W 0620 x8", "Station Num 7TimeOut! ", "station number in the text"},
    {5, 1, 0, 0x0511, 0x54, "W 0500 x9, W 0511 x16", "Station Num 1DATA Over Range ", "refusal"},
    {14, 1, 0, 0x0E16, 0x57, "W 0E14 x1, W 0E00 x10, W 0E0A x11, W 0E16 x10", "Station Num 1Writing Mode Error  ",
     "another refusal code"},
};

TEST_F(GroupIOTest, FailedFrameEndsTheGroupAndEarlierFramesStay)
{
    for (const FrameFailureCase& c : kFrameFailures) {
        StartDrive(kRangeBModel, 1200);
        const std::vector<std::string> values = PatternTexts(c.group, kRangeBModel, 1200, {});
        if (c.failingTransaction)
            m_comm.m_before = [&](int n) { m_drive->SetSilent(c.station, n >= c.failingTransaction); };
        else
            m_drive->ForceException(c.station, c.refusedRegister, c.code);
        m_comm.m_count = 0;

        EXPECT_FALSE(IO().WriteParamGroup(c.group, values, c.station)) << c.why;
        EXPECT_EQ(m_session.m_strLastError, c.lastError) << c.why;
        EXPECT_EQ(Joined(Requests()), c.requests) << c.why;
        EXPECT_EQ(m_drive->GetRegister(c.station, static_cast<uint16_t>(c.group << 8 | 1)), PatternWord(1))
            << c.why << ": the first frame stays written";
        m_comm.m_before = nullptr;
        TearDown();
        m_drive.reset();
    }
}

TEST_F(GroupIOTest, NoWriterAddressesStationZero)
{
    StartDrive(kRangeBModel, 1200);
    for (int group = 0; group <= 14; ++group) {
        m_session.m_strLastError.clear();
        EXPECT_FALSE(IO().WriteParamGroup(group, PatternTexts(group, kRangeBModel, 1200, {}), 0)) << group;
        EXPECT_EQ(m_session.m_strLastError, WriteCheckText(IDS_WRITE_NO_BROADCAST)) << group;
    }
    EXPECT_FALSE(IO().WriteParamGroup13Ex(PatternTexts(13, kRangeBModel, 1200, {}), 0));
    const uint16_t words[4] = {};
    EXPECT_FALSE(IO().WriteParamRegister(words, 0, 1, 2, 2));
    EXPECT_EQ(m_drive->GetFrameCount(), 0u);
    EXPECT_TRUE(m_messages.Texts().empty());
}

TEST_F(GroupIOTest, RegisterFrameIsTheWritersFrameByteForByte)
{
    StartDrive(kRangeBModel, 1200);
    uint16_t words[100] = {};
    words[2] = 5000;
    words[3] = 600;
    ASSERT_TRUE(IO().WriteParamRegister(words, 1, 0x01, 0x02, 2));
    std::vector<std::string> values = PatternTexts(1, kRangeBModel, 1200, {{0, "7", 7}, {2, "50.00", 0},
                                                                           {3, "60.0", 0}, {4, "50.00", 0},
                                                                           {5, "40.0", 0}, {6, "30.00", 0},
                                                                           {7, "30.0", 0}, {8, "10.00", 0},
                                                                           {9, "10.0", 0}});
    ASSERT_TRUE(IO().WriteParamGroup01(values, 1)) << m_session.m_strLastError;
    const std::vector<SimFrame> log = m_drive->GetFrameLog();
    ASSERT_GE(log.size(), 3u);
    const std::vector<uint8_t> expected = {0x01, 0x10, 0x01, 0x02, 0x00, 0x02, 0x04, 0x13, 0x88, 0x02, 0x58};
    std::vector<uint8_t> withCrc = expected;
    withCrc.resize(expected.size() + 2);
    AppendCrc16(withCrc.data(), expected.size());
    EXPECT_EQ(log[0].request, withCrc);
    EXPECT_EQ(log[2].request, withCrc) << "the V/F start frame of the group writer";

    EXPECT_FALSE(IO().WriteParamRegister(words, 1, 1, 2, 0));
    EXPECT_FALSE(IO().WriteParamRegister(words, 1, 1, 2, 46));
}

} // namespace
