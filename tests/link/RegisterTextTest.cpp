// Register words and their texts, and the block tables that name a form for
// every register: each text a reader shows must go back to the word it came
// from through the writer of the same item.

#include "link/ParamGroupTables.h"
#include "link/RegisterText.h"
#include "link/DriveQueries.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

struct FormatCase {
    char form;
    uint16_t word;
    const char* text;
    const char* why;
};

const FormatCase kFormatCases[] = {
    {'d', 0, "0", "plain integer"},
    {'d', 65535, "65535", "words are unsigned"},
    {'1', 0xFFFB, "6553.1", "a high word is not a negative value"},
    {'1', 5, "0.5", "one decimal"},
    {'2', 115, "1.15", "two decimals"},
    {'2', 65535, "655.35", "largest hundredths"},
    {'3', 1093, "1.093", "drive version"},
    {'5', 42, "00042", "five digits with zeros"},
    {'4', 7, "0007", "four digits with zeros"},
    {'b', 0x13, "10011", "bit 4 first"},
    {'b', 0x20, "00000", "bits above bit 4 are dropped"},
    {'o', 0x1FF, "00777", "five octal digits"},
    {'o', 0x8000, "00000", "bit 15 is dropped"},
    {'-', 1234, "-----", "dashes whatever the word"},
};

TEST(RegisterText, ReaderFormsShowWordsAsTheDriveDoes)
{
    for (const FormatCase& c : kFormatCases)
        EXPECT_EQ(FormatRegisterText(c.form, c.word), c.text) << c.why;
}

struct ConvertCase {
    char form;
    const char* text;
    WordError error;
    uint16_t word;
    const char* why;
};

const ConvertCase kConvertCases[] = {
    {'2', "1.15", WordError::None, 115, "1.15 x 100 is just below 115 in double"},
    {'2', "1.25", WordError::None, 125, "exact product"},
    {'2', "0.29", WordError::None, 29, "0.29 x 100 is just below 29"},
    {'1', "0.3", WordError::None, 3, "tenths"},
    {'1', "220.7", WordError::None, 2207, "01-01 keeps its decimal"},
    {'2', "655.35", WordError::None, 65535, "largest word"},
    {'2', "700.00", WordError::OutOfRange, 0, "would wrap to 4464"},
    {'2', "655.36", WordError::OutOfRange, 0, "one above the largest word"},
    {'1', "-0.5", WordError::OutOfRange, 0, "negative values do not fit a register"},
    {'1', "-0.0", WordError::None, 0, "negative zero is zero"},
    {'1', ".5", WordError::None, 5, "no whole digits"},
    {'1', "5.", WordError::None, 50, "no fraction digits"},
    {'1', "1e3", WordError::NotANumber, 0, "no exponents"},
    {'1', ".", WordError::NotANumber, 0, "a point alone"},
    {'d', "7.0", WordError::None, 7, "an integer item drops the fraction"},
    {'d', "+5", WordError::None, 5, "a sign"},
    {'d', " 12 ", WordError::None, 12, "blanks around"},
    {'d', "0000065535", WordError::None, 65535, "leading zeros"},
    {'d', "65536", WordError::OutOfRange, 0, "one above the largest word"},
    {'d', "99999999999999999999", WordError::OutOfRange, 0, "far too large"},
    {'d', "-1", WordError::OutOfRange, 0, "negative"},
    {'d', "", WordError::NotANumber, 0, "empty"},
    {'d', "abc", WordError::NotANumber, 0, "letters"},
    {'d', "12a", WordError::NotANumber, 0, "trailing letters"},
    {'d', "1 2", WordError::NotANumber, 0, "blank inside"},
    {'4', "0007", WordError::None, 7, "four-digit form"},
    {'b', "10110", WordError::None, 22, "base 2"},
    {'b', "2", WordError::NotANumber, 0, "not a binary digit"},
    {'b', "11111111111111111", WordError::OutOfRange, 0, "seventeen bits"},
    {'b', "", WordError::NotANumber, 0, "empty"},
    {'o', "00017", WordError::None, 15, "base 8"},
    {'o', "8", WordError::NotANumber, 0, "not an octal digit"},
    {'o', "177777", WordError::None, 65535, "largest octal word"},
    {'o', "200000", WordError::OutOfRange, 0, "beyond 16 bits"},
};

TEST(RegisterText, WriterConversionsRefuseWhatDoesNotFit)
{
    for (const ConvertCase& c : kConvertCases) {
        uint16_t word = 0;
        EXPECT_EQ(ConvertTextToWord(c.form, c.text, word), c.error) << c.text << ": " << c.why;
        if (c.error == WordError::None) {
            EXPECT_EQ(word, c.word) << c.text << ": " << c.why;
        }
    }
}

TEST(RegisterText, DriveVersionThresholdsPassAtTheirOwnValue)
{
    const struct {
        uint16_t reg;
        float threshold;
    } cases[] = {{1130, 1.13f}, {1093, 1.093f}, {1060, 1.06f}, {1050, 1.05f}, {1040, 1.04f},
                 {1030, 1.03f}, {1400, 1.4f},  {1100, 1.1f},   {1120, 1.12f}, {400, 0.4f}};
    for (const auto& c : cases) {
        EXPECT_GE(VersionFromRegister(c.reg), c.threshold) << c.reg;
        EXPECT_LT(VersionFromRegister(static_cast<uint16_t>(c.reg - 1)), c.threshold) << c.reg;
    }
}

// Model contexts in which the tables are checked: every class, the code of
// exactly 0x1110000, and versions on both sides of the thresholds that change
// a form.
const GateContext kContexts[] = {
    {1202, 1.0f},                 // old
    {0x4B2, 1.2f},                // restricted
    {0x4B2, 1.4f},                // old, not restricted
    {0x1100000, 1.2f},            // the last old code
    {0x1100000 + 1202, 1.0f},     // range A below 1.1
    {0x1100000 + 1202, 1.2f},     // range A
    {0x1110000, 1.2f},            // new, in neither range
    {0x1110000 + 1202, 1.0f},     // range B
    {1202, 2.0f},                 // and each class with every gate open
    {0x1100000 + 1202, 2.0f},
    {0x1110000, 2.0f},
    {0x1110000 + 1202, 2.0f},
};

struct WrittenBlock {
    int group;
    RegisterBlock block;
};

std::vector<WrittenBlock> AllWriterBlocks()
{
    std::vector<WrittenBlock> blocks;
    for (const RegisterBlock* block : {&kW00Tail, &kW00Command, &kW00Head, &kW00Main, &kW00Item21})
        blocks.push_back({0, *block});
    for (const RegisterBlock& block : kW01First)
        blocks.push_back({1, block});
    for (const RegisterBlock& block : kW01Last)
        blocks.push_back({1, block});
    blocks.push_back({1, kW01VfStart});
    for (const VfStep& step : VfSteps()) {
        RegisterBlock block{step.item, 1, {}, nullptr};
        block.forms = step.form == '2' ? "2" : "1";
        blocks.push_back({1, block});
    }
    for (const RegisterBlock* block : {&kW02Base, &kW02Restricted, &kW02Rated, &kW02Item04})
        blocks.push_back({2, *block});
    for (const RegisterBlock& block : kW02NewBlocks)
        blocks.push_back({2, block});
    for (int group = 3; group <= 14; ++group)
        for (const RegisterBlock& block : WriterBlocks(group))
            blocks.push_back({group, block});
    for (const RegisterBlock& block : WriterBlocks13Ex())
        blocks.push_back({13, block});
    return blocks;
}

// The reader form of an item for a model: the first reader block whose scope
// holds and that covers the item (its version terms do not change the form).
char ReaderForm(int group, int item, const GateContext& context)
{
    for (const RegisterBlock& block : ReaderBlocks(group)) {
        if (!InScope(block.gate, context))
            continue;
        if (item >= block.start && item < block.start + block.count)
            return BlockForm(block, item - block.start);
    }
    return 0;
}

char Resolve(char form, const GateContext& context, int mode)
{
    if (form == 'p')
        return mode == 0 ? '2' : 'd';
    if (form == 'f')
        return GateHolds(kGate1005Hundredths, context) ? '2' : '1';
    return form;
}

int DomainSize(char readerForm)
{
    switch (readerForm) {
    case 'b': return 32;
    case 'o': return 32768;
    default: return 65536;
    }
}

TEST(ParamGroupTables, EveryBlockHasOneKnownLetterPerRegister)
{
    const std::string readerLetters = "d12354bo-cpf";
    const std::string writerLetters = "d12bopf";
    for (int group = 0; group <= 14; ++group) {
        for (const RegisterBlock& block : ReaderBlocks(group)) {
            EXPECT_LE(block.count, 23) << group << " reply longer than 51 bytes";
            EXPECT_LE(block.start + block.count, 100) << group;
            for (int k = 0; k < block.count; ++k)
                EXPECT_NE(readerLetters.find(BlockForm(block, k)), std::string::npos) << group << "-" << block.start + k;
            EXPECT_EQ(BlockForm(block, block.count), 0) << "reader block of group " << group << " at " << int(block.start);
        }
    }
    for (const WrittenBlock& written : AllWriterBlocks()) {
        const RegisterBlock& block = written.block;
        // The request lives in a buffer of 100 bytes and the words in one per item.
        EXPECT_LE(9 + 2 * block.count, 100) << written.group << " request longer than 100 bytes";
        EXPECT_LE(block.start + block.count, 100) << written.group;
        for (int k = 0; k < block.count; ++k)
            EXPECT_NE(writerLetters.find(BlockForm(block, k)), std::string::npos)
                << written.group << "-" << block.start + k;
        EXPECT_EQ(BlockForm(block, block.count), 0) << "writer block of group " << written.group << " at " << int(block.start);
    }
}

TEST(ParamGroupTables, ItemsNeverWrittenHaveNoFrame)
{
    const std::map<int, std::vector<int>> neverWritten = {
        {0, {8}}, {3, {5, 10, 12}}, {5, {9, 10, 11, 12, 13, 14, 15, 16}},
        {6, {8, 9, 10, 11, 12, 13, 14, 15, 24, 25, 26, 27, 28, 29, 30, 31}},
        {9, {0, 1, 2, 3, 4, 5}}, {11, {12}}, {12, {5}}, {13, {0, 1, 2, 7}},
        {14, {21, 32, 33, 36, 40, 50, 60, 70}},
    };
    for (const WrittenBlock& written : AllWriterBlocks())
        for (int item : neverWritten.count(written.group) ? neverWritten.at(written.group) : std::vector<int>{})
            EXPECT_FALSE(item >= written.block.start && item < written.block.start + written.block.count)
                << written.group << "-" << item;
}

// Every text a reader shows for an item that a writer sends goes back to the
// same word, over every word the reader's form can show. The conversion
// depends only on the pair of letters, so each pair met in the tables is run
// over its whole domain once.
TEST(ParamGroupTables, ReaderTextsRoundTripThroughTheirWriters)
{
    std::map<std::pair<char, char>, std::string> pairs; // (shown, sent) -> first item that uses it
    for (const GateContext& context : kContexts) {
        for (const WrittenBlock& written : AllWriterBlocks()) {
            if (!GateHolds(written.block.gate, context))
                continue;
            for (int k = 0; k < written.block.count; ++k) {
                const int item = written.block.start + k;
                const char readerLetter = ReaderForm(written.group, item, context);
                ASSERT_NE(readerLetter, 0) << "no reader form for " << written.group << "-" << item << " of code "
                                           << std::hex << context.code;
                for (int mode : {0, 1}) {
                    const char shown = Resolve(readerLetter, context, mode);
                    const char sent = Resolve(BlockForm(written.block, k), context, mode);
                    char name[64];
                    std::snprintf(name, sizeof name, "%02d-%02d code 0x%llx mode %d", written.group, item,
                                  static_cast<unsigned long long>(context.code), mode);
                    pairs.emplace(std::make_pair(shown, sent), name);
                }
            }
        }
    }
    for (const auto& [letters, item] : pairs) {
        const auto [shown, sent] = letters;
        int failures = 0;
        for (int v = 0; v < DomainSize(shown) && failures < 3; ++v) {
            const std::string text = FormatRegisterText(shown, static_cast<uint16_t>(v));
            uint16_t word = 0;
            const WordError error = ConvertTextToWord(sent, text, word);
            if (error != WordError::None || word != v) {
                ++failures;
                ADD_FAILURE() << item << ": shown as '" << shown << "', sent as '" << sent << "': \"" << text
                              << "\" -> " << word;
            }
        }
    }
    EXPECT_GE(pairs.size(), 5u); // int, tenths, hundredths, bits and octal digits at least
}

TEST(ParamGroupTables, GatesFollowModelClassesAndFloatVersions)
{
    const Gate rangeGate{Models::New, {{Models::RangeB, 1.13f}, {Models::RangeA, 1.093f}}, Skipped::CopySet};
    const struct {
        int64_t code;
        uint16_t version;
        bool holds;
        const char* why;
    } cases[] = {
        {0x1100000 + 1202, 1093, true, "range A at exactly 1.093"},
        {0x1100000 + 1202, 1092, false, "range A just below"},
        {0x1110000 + 1202, 1130, true, "range B at exactly 1.130"},
        {0x1110000 + 1202, 1129, false, "range B just below"},
        {0x1110000, 2000, false, "0x1110000 is in neither range"},
        {0x1100000, 2000, false, "0x1100000 is old"},
        {1202, 2000, false, "old"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(GateHolds(rangeGate, {c.code, VersionFromRegister(c.version)}), c.holds) << c.why;

    EXPECT_TRUE(InModels(Models::Restricted, {0x44E, VersionFromRegister(1310)}));
    EXPECT_FALSE(InModels(Models::Restricted, {0x44E, VersionFromRegister(1311)}));
    EXPECT_FALSE(InModels(Models::Restricted, {0x44F, VersionFromRegister(1000)}));
    EXPECT_TRUE(InModels(Models::NotRangeA, {0x1110000, 1.0f}));
    EXPECT_TRUE(InModels(Models::BelowNew, {0x10FFFFF, 1.0f}));
    EXPECT_FALSE(InModels(Models::BelowNew, {0x1100000, 1.0f}));
    EXPECT_TRUE(InModels(Models::Old, {-5, 1.0f}));
}

} // namespace
