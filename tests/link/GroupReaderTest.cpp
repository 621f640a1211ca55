// The group readers against the simulated drive: which blocks each model and
// version asks for, in which order, and the texts that reach the document.

#include "tests/link/GroupIOTestSupport.h"

#include <ostream>


namespace {

struct ReadCase {
    int group;
    uint32_t model;
    int version;
    const char* requests;
    std::vector<int> copied;    // read text := set value
    std::vector<int> untouched; // read text stays
    const char* why;
    int mode = 1;               // group 14: 14-20 on the drive
};

const ReadCase kReadCases[] = {
    {0, kOldModel, 1000, "R 0001 x20", {}, {0, 21}, "old: 00-00 and 00-21 left alone"},
    {0, kRangeAModel, 1092, "R 0000 x21", {21}, {}, "range A below 1.093 copies 00-21"},
    {0, kRangeAModel, 1093, "R 0000 x21, R 0015 x1", {}, {}, "range A at 1.093 reads 00-21"},
    {0, kRangeBModel, 1129, "R 0000 x21", {21}, {}, "range B below 1.13"},
    {0, kRangeBModel, 1130, "R 0000 x21, R 0015 x1", {}, {}, "range B at 1.13"},
    {0, kBoundaryModel, 2000, "R 0000 x21", {21}, {}, "0x1110000 is in neither range"},
    {0, kLastOldModel, 2000, "R 0001 x20", {}, {0, 21}, "0x1100000 is old"},
    {1, kOldModel, 1000, "R 0100 x12", {}, {12, 18}, "old: twelve items"},
    {1, kBoundaryModel, 1000, "R 0100 x19", {}, {}, "new: nineteen items"},
    {2, kOldModel, 1099, "R 0200 x4", {4}, {5, 13, 18}, "old below 1.1 copies 02-04"},
    {2, kOldModel, 1100, "R 0200 x4, R 0204 x1", {}, {5, 13, 18}, "old at 1.1 reads 02-04"},
    {2, kLastOldModel, 2000, "R 0200 x4", {4}, {5}, "0x1100000 is neither new nor below it"},
    {2, kRangeAModel, 1029, "R 0200 x4, R 0204 x1, R 0205 x5, R 020D x5", {18, 19}, {10, 11, 12},
     "new below 1.03 copies 02-18 and 02-19"},
    {2, kRangeBModel, 1030, "R 0200 x4, R 0204 x1, R 0205 x5, R 020D x5, R 0212 x2", {}, {10, 11, 12},
     "new at 1.03"},
    {3, kOldModel, 1000, "R 0300 x5, R 0306 x4, R 030B x1, R 030D x7", {}, {5, 10, 12, 20, 21}, "old"},
    {3, kRangeAModel, 1000, "R 0300 x5, R 0306 x4, R 030B x1, R 030D x9", {}, {5, 10, 12}, "new: 03-20, 03-21"},
    {4, kOldModel, 2000, "R 0400 x16", {}, {16, 17, 18, 19}, "old: nothing for 04-16 on"},
    {4, kRangeAModel, 1059, "R 0400 x16", {16, 17, 18, 19}, {}, "range A below 1.06 copies"},
    {4, kRangeAModel, 1060, "R 0400 x16, R 0410 x4", {}, {}, "range A at 1.06"},
    {4, kRangeBModel, 1000, "R 0400 x16, R 0410 x4", {}, {}, "range B at any version"},
    {4, kBoundaryModel, 2000, "R 0400 x16", {16, 17, 18, 19}, {}, "0x1110000 copies"},
    {5, kOldModel, 1000, "R 0500 x9, R 0511 x16", {}, {9, 16}, "no gates"},
    {6, kRangeBModel, 1000, "R 0600 x8, R 0610 x8, R 0620 x8", {}, {8, 15, 24, 31}, "no gates"},
    {7, kOldModel, 399, "R 0700 x9", {9}, {10, 11, 12}, "below 0.4 copies 07-09"},
    {7, kOldModel, 400, "R 0700 x9, R 0709 x1", {}, {10, 11, 12}, "at 0.4"},
    {7, kRangeAModel, 1049, "R 0700 x9, R 0709 x1", {10, 11, 12}, {}, "range A below 1.05"},
    {7, kRangeAModel, 1050, "R 0700 x9, R 0709 x1, R 070A x2", {12}, {}, "range A at 1.05"},
    {7, kRangeAModel, 1093, "R 0700 x9, R 0709 x1, R 070A x2, R 070C x1", {}, {}, "range A at 1.093"},
    {7, kRangeBModel, 1119, "R 0700 x9, R 0709 x1, R 070A x2", {12}, {}, "range B below 1.12"},
    {7, kRangeBModel, 1120, "R 0700 x9, R 0709 x1, R 070A x2, R 070C x1", {}, {}, "range B at 1.12"},
    {7, kBoundaryModel, 2000, "R 0700 x9, R 0709 x1", {10, 11, 12}, {}, "0x1110000 copies"},
    {8, kOldModel, 1399, "R 0800 x10", {10, 11}, {12, 17, 19}, "old below 1.4 copies"},
    {8, kOldModel, 1400, "R 0800 x10, R 080A x2", {}, {12, 17, 19}, "old at 1.4"},
    {8, kRangeAModel, 1039, "R 0800 x17", {17, 18, 19}, {}, "new below 1.04"},
    {8, kRangeAModel, 1040, "R 0800 x17, R 0811 x2", {19}, {}, "new at 1.04"},
    {8, kRangeBModel, 1060, "R 0800 x17, R 0811 x2, R 0813 x1", {}, {}, "new at 1.06"},
    {9, kRangeAModel, 1000, "R 0900 x11", {}, {11}, "range A: eleven"},
    {9, kRangeBModel, 1000, "R 0900 x10", {}, {10}, "range B: ten"},
    {9, kBoundaryModel, 1000, "R 0900 x10", {}, {10}, "0x1110000: ten"},
    {9, kOldModel, 1000, "R 0900 x10", {}, {10}, "old: ten"},
    {10, kRangeAModel, 1099, "R 0A00 x23", {}, {23}, "10-05 in tenths below 1.1"},
    {10, kRangeAModel, 1100, "R 0A00 x23", {}, {23}, "10-05 in hundredths at 1.1"},
    {10, kRangeBModel, 1000, "R 0A00 x23", {}, {}, "10-05 in hundredths on range B"},
    {10, kBoundaryModel, 2000, "R 0A00 x23", {}, {}, "10-05 in tenths on 0x1110000"},
    {10, kOldModel, 2000, "R 0A00 x23", {}, {}, "10-05 in tenths on old models"},
    {11, kOldModel, 2000, "R 0B00 x12", {}, {12, 13, 20, 21}, "old"},
    {11, kRangeAModel, 1059, "R 0B00 x12, R 0B0D x8", {21}, {12}, "new below 1.06"},
    {11, kRangeBModel, 1060, "R 0B00 x12, R 0B0D x8, R 0B15 x1", {}, {12}, "new at 1.06"},
    {12, kOldModel, 2000, "R 0C00 x6", {}, {6, 7}, "old"},
    {12, kRangeAModel, 1059, "R 0C00 x6", {6, 7}, {}, "new below 1.06"},
    {12, kRangeAModel, 1060, "R 0C00 x6, R 0C06 x2", {}, {}, "new at 1.06"},
    {13, kOldModel, 1000, "R 0D00 x9, R 252F x1", {}, {9}, "capacity of a plain model"},
    {13, kRangeAModel, 1000, "R 0D00 x9, R 252F x1", {}, {}, "capacity of an S model"},
    {13, kRangeBModel, 1000, "R 0D00 x9, R 252F x1", {}, {}, "capacity of an S-P model"},
    // Every group once more for the classes not met above.
    {1, kRangeAModel, 1000, "R 0100 x19", {}, {}, "range A: nineteen items"},
    {1, kRangeBModel, 1000, "R 0100 x19", {}, {}, "range B: nineteen items"},
    {2, kBoundaryModel, 2000, "R 0200 x4, R 0204 x1, R 0205 x5, R 020D x5, R 0212 x2", {}, {}, "0x1110000 is new"},
    {3, kRangeBModel, 1000, "R 0300 x5, R 0306 x4, R 030B x1, R 030D x9", {}, {}, "range B"},
    {3, kBoundaryModel, 1000, "R 0300 x5, R 0306 x4, R 030B x1, R 030D x9", {}, {}, "0x1110000"},
    {5, kRangeAModel, 1000, "R 0500 x9, R 0511 x16", {}, {}, "range A"},
    {5, kRangeBModel, 1000, "R 0500 x9, R 0511 x16", {}, {}, "range B"},
    {5, kBoundaryModel, 1000, "R 0500 x9, R 0511 x16", {}, {}, "0x1110000"},
    {6, kOldModel, 1000, "R 0600 x8, R 0610 x8, R 0620 x8", {}, {}, "old"},
    {6, kRangeAModel, 1000, "R 0600 x8, R 0610 x8, R 0620 x8", {}, {}, "range A"},
    {6, kBoundaryModel, 1000, "R 0600 x8, R 0610 x8, R 0620 x8", {}, {}, "0x1110000"},
    {8, kBoundaryModel, 2000, "R 0800 x17, R 0811 x2, R 0813 x1", {}, {}, "0x1110000 is new"},
    {8, kLastOldModel, 2000, "R 0800 x10, R 080A x2", {}, {}, "0x1100000 is old"},
    {11, kBoundaryModel, 2000, "R 0B00 x12, R 0B0D x8, R 0B15 x1", {}, {}, "0x1110000 is new"},
    {12, kRangeBModel, 1060, "R 0C00 x6, R 0C06 x2", {}, {}, "range B"},
    {12, kBoundaryModel, 1059, "R 0C00 x6", {6, 7}, {}, "0x1110000 below 1.06"},
    {13, kBoundaryModel, 1000, "R 0D00 x9, R 252F x1", {}, {}, "model number 0 has no capacity code"},
    {14, kRangeAModel, 1099, "R 0E14 x1, R 0E00 x21, R 0E16 x10, R 0E22 x2, R 0E25 x3, R 0E47 x3", {},
     {21, 32, 33, 36, 40, 70, 74, 75, 76, 77}, "range A below 1.1: no 0x0E4A block", 0},
    {14, kRangeAModel, 1100,
     "R 0E14 x1, R 0E00 x21, R 0E16 x10, R 0E22 x2, R 0E25 x3, R 0E47 x3, R 0E4A x4", {}, {21, 32, 33, 36},
     "range A at 1.1, percent mode", 1},
    {14, kRangeBModel, 1129, "R 0E14 x1, R 0E00 x21, R 0E16 x10, R 0E22 x2, R 0E25 x3, R 0E47 x3", {},
     {74, 75, 76, 77}, "range B below 1.13, pressure mode", 0},
    {14, kRangeBModel, 1130,
     "R 0E14 x1, R 0E00 x21, R 0E16 x10, R 0E22 x2, R 0E25 x3, R 0E47 x3, R 0E4A x4", {}, {},
     "range B at 1.13", 0},
    {14, kBoundaryModel, 2000, "R 0E14 x1, R 0E00 x21, R 0E16 x10, R 0E22 x2, R 0E25 x3, R 0E47 x3", {},
     {74, 75, 76, 77}, "0x1110000: no 0x0E4A block", 1},
};

// Failures name the case, not its bytes.
void PrintTo(const ReadCase& c, std::ostream* os)
{
    *os << "group " << c.group << ", code 0x" << std::hex << c.model << std::dec << ", version " << c.version
        << ": " << c.why;
}

class GroupReaderTest : public GroupIOTest, public ::testing::WithParamInterface<ReadCase> {};

TEST_P(GroupReaderTest, AsksForTheGatedBlocksAndStoresTheirTexts)
{
    const ReadCase& c = GetParam();
    StartDrive(c.model, c.version);
    for (int item = 0; item < 100; ++item) {
        if (c.group == 13 && item == 0)
            continue; // the model number stays the drive's own
        m_drive->SetRegister(1, static_cast<uint16_t>(c.group << 8 | item), PatternWord(item));
    }
    if (c.group == 14)
        m_drive->SetRegister(1, 0x0E14, static_cast<uint16_t>(c.mode));
    m_session.m_nPressureMode = 7;

    ASSERT_TRUE(IO().ReadParamGroup(c.group, 1)) << c.why << ": " << m_session.m_strLastError;
    EXPECT_EQ(Joined(Requests()), c.requests) << c.why;

    const float version = VersionFromRegister(c.version);
    for (int item : ItemsIn(c.requests, c.group, 'R')) {
        const char form = DocumentedForm(c.group, item, c.model, version, c.mode);
        uint16_t word = PatternWord(item);
        if (c.group == 14 && item == 20)
            word = static_cast<uint16_t>(c.mode);
        std::string expected = FormatRegisterText(form, word);
        if (form == 'c')
            expected = c.model == kBoundaryModel ? "" : c.model > 0x1100000 ? "2P2" : "2P5";
        EXPECT_EQ(ReadText(c.group, item), expected) << c.why << ": item " << item << " form " << form;
    }
    for (int item : c.copied)
        EXPECT_EQ(ReadText(c.group, item), "set") << c.why << ": item " << item;
    for (int item : c.untouched)
        EXPECT_EQ(ReadText(c.group, item), "old") << c.why << ": item " << item;
    if (c.group == 14) {
        EXPECT_EQ(m_session.m_nPressureMode, c.mode);
    }
}

INSTANTIATE_TEST_SUITE_P(EveryGroup, GroupReaderTest, ::testing::ValuesIn(kReadCases),
                         [](const auto& info) {
                             return CaseName(info.param.group, info.param.model, info.param.version, info.index);
                         });

TEST_F(GroupIOTest, RequestFramesAreByteExact)
{
    StartDrive(kRangeAModel, 1100);
    ASSERT_TRUE(IO().ReadParamGroup13(7));
    const std::vector<SimFrame> log = m_drive->GetFrameLog();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].request, (std::vector<uint8_t>{0x07, 0x03, 0x0D, 0x00, 0x00, 0x09, 0x87, 0x06}));
    EXPECT_EQ(log[1].request, (std::vector<uint8_t>{0x07, 0x03, 0x25, 0x2F, 0x00, 0x01, 0xBE, 0xA9}));
    for (const SimFrame& frame : log)
        EXPECT_TRUE(frame.crcOk);
}

TEST_F(GroupIOTest, CapacityOfACodeOutsideTheModelTableIsEmpty)
{
    StartDrive(kRangeAModel, 1100);
    m_drive->SetRegister(1, 0x0D00, 999);
    ASSERT_TRUE(IO().ReadParamGroup13(1));
    EXPECT_EQ(ReadText(13, 0), "");
    EXPECT_EQ(ReadText(13, 1), "1.100");
}

TEST_F(GroupIOTest, FailedSeriesReadFailsTheCapacityInsteadOfGuessingTheFamily)
{
    StartDrive(kRangeAModel, 1100);
    m_drive->ForceException(1, 0x252F, 0x52);
    EXPECT_FALSE(IO().ReadParamGroup13(1));
    EXPECT_EQ(m_session.m_strLastError, "Address Error ");
    EXPECT_EQ(ReadText(13, 0), "old");
    EXPECT_EQ(ReadText(13, 1), "old");
}

struct ReadFailureCase {
    int group;
    int failingTransaction; // 1-based
    bool silent;            // else a refusal of the block's first register
    uint16_t refusedRegister;
    const char* lastError;
    std::vector<int> updated;
    std::vector<int> unchanged;
    const char* why;
};

const ReadFailureCase kReadFailures[] = {
    {2, 2, true, 0, "TimeOut!", {0, 1, 2, 3}, {4, 5, 13, 18}, "time-out in the second block of group 02"},
    {14, 3, true, 0, "TimeOut!", {0, 9, 20}, {22, 31, 34, 39}, "time-out on the 0x0E16 block"},
    {11, 2, false, 0x0B0D, "Address Error ", {0, 11}, {13, 20, 21}, "refusal of the second block"},
    {5, 1, false, 0x0500, "Function Code Error ", {}, {0, 8, 17}, "refusal of the first block"},
};

TEST_F(GroupIOTest, FailureInTheMiddleOfAGroupKeepsEarlierBlocks)
{
    const uint8_t codes[] = {0x52, 0x51};
    int refusal = 0;
    for (const ReadFailureCase& c : kReadFailures) {
        StartDrive(kRangeBModel, 1200);
        for (int item = 0; item < 100; ++item)
            m_drive->SetRegister(1, static_cast<uint16_t>(c.group << 8 | item), PatternWord(item));
        m_drive->SetRegister(1, 0x0E14, 1);
        if (c.silent)
            m_comm.m_before = [&](int n) { m_drive->SetSilent(1, n >= c.failingTransaction); };
        else
            m_drive->ForceException(1, c.refusedRegister, codes[refusal++]);
        m_comm.m_count = 0;

        EXPECT_FALSE(IO().ReadParamGroup(c.group, 1)) << c.why;
        EXPECT_EQ(m_session.m_strLastError, c.lastError) << c.why;
        EXPECT_EQ(m_drive->GetFrameCount(), static_cast<size_t>(c.failingTransaction)) << c.why << ": no later block";
        for (int item : c.updated)
            EXPECT_NE(ReadText(c.group, item), "old") << c.why << ": item " << item;
        for (int item : c.unchanged)
            EXPECT_EQ(ReadText(c.group, item), "old") << c.why << ": item " << item;
        if (c.group == 14) {
            EXPECT_EQ(m_session.m_nPressureMode, 1) << "the mode read before the failure stays";
        }
        m_comm.m_before = nullptr;
        TearDown();
        m_drive.reset();
    }
}

TEST_F(GroupIOTest, LinkResultsBecomeTheBareTexts)
{
    StartDrive(kOldModel, 1000);
    m_drive->SetCorruptCrc(1, true);
    EXPECT_FALSE(IO().ReadParamGroup05(1));
    EXPECT_EQ(m_session.m_strLastError, "CRC parity error!");

    m_drive->SetCorruptCrc(1, false);
    m_drive->SetAnswerAs(1, 9); // another station's answer is a communication failure
    EXPECT_FALSE(IO().ReadParamGroup05(1));
    EXPECT_EQ(m_session.m_strLastError, "Communication error!");

    m_drive->SetAnswerAs(1, 0);
    m_session.m_pComm = nullptr;
    EXPECT_FALSE(IO().ReadParamGroup05(1));
    EXPECT_EQ(m_session.m_strLastError, "Communication error!");
}

TEST_F(GroupIOTest, ReadsEveryGroupOfAnotherStation)
{
    StartDrive(kRangeBModel, 1200);
    for (int group = 0; group <= 14; ++group)
        EXPECT_TRUE(IO().ReadParamGroup(group, 7)) << group << ": " << m_session.m_strLastError;
    for (const SimFrame& frame : m_drive->GetFrameLog()) {
        EXPECT_EQ(frame.request[0], 7);
        EXPECT_FALSE(frame.reply.empty());
    }
    EXPECT_EQ(ReadText(13, 0), "2P2");
    EXPECT_FALSE(IO().ReadParamGroup(15, 7));
}

} // namespace
