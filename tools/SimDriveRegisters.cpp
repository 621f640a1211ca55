#include "tools/SimDriveRegisters.h"

#include "document/D390DocData.h"
#include "document/ModelTables.h"
#include "link/ParamGroupTables.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <regex>
#include <vector>

namespace SimDrive {

namespace {

// Item ranges (first, last) per group that the program's group readers and
// writers address for any model; a drive of any model answers all of them,
// so that a definition file that lacks an item never breaks a block.
struct ItemRange {
    int group;
    int first;
    int last;
};

constexpr ItemRange kGroupBlocks[] = {
    { 0, 0, 21 },
    { 1, 0, 18 },
    { 2, 0, 9 },
    { 2, 13, 19 },
    { 3, 0, 4 },
    { 3, 6, 9 },
    { 3, 11, 11 },
    { 3, 13, 21 },
    { 4, 0, 19 },
    { 5, 0, 8 },
    { 5, 17, 32 },
    { 6, 0, 7 },
    { 6, 16, 23 },
    { 6, 32, 39 },
    { 7, 0, 12 },
    { 8, 0, 19 },
    { 9, 0, 10 },
    { 10, 0, 22 },
    { 11, 0, 11 },
    { 11, 13, 21 },
    { 12, 0, 7 },
    { 13, 0, 8 },
};

// Group 14 exists on the extended models only.
constexpr ItemRange kGroup14Blocks[] = {
    { 14, 0, 20 },
    { 14, 22, 31 },
    { 14, 34, 35 },
    { 14, 37, 39 },
    { 14, 71, 77 },
};

bool IsBinaryItem(int group, int item)
{
    return (group == 3 && item == 9) || (group == 8 && (item == 0 || item == 5));
}

bool IsOctalItem(int group, int item)
{
    return group == 12 && item == 0;
}

std::string Trim(const std::string& text)
{
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && std::isspace(static_cast<unsigned char>(text[begin])))
        ++begin;
    while (end > begin && std::isspace(static_cast<unsigned char>(text[end - 1])))
        --end;
    return text.substr(begin, end - begin);
}

// Digits after the point of a decimal text, or -1 when it is not one.
int Decimals(const std::string& text)
{
    size_t pos = 0;
    if (pos < text.size() && text[pos] == '-')
        ++pos;
    const size_t digitsStart = pos;
    while (pos < text.size() && std::isdigit(static_cast<unsigned char>(text[pos])))
        ++pos;
    if (pos == digitsStart)
        return -1;
    if (pos == text.size())
        return 0;
    if (text[pos] != '.')
        return -1;
    const size_t point = pos++;
    while (pos < text.size() && std::isdigit(static_cast<unsigned char>(text[pos])))
        ++pos;
    return pos == text.size() ? static_cast<int>(pos - point - 1) : -1;
}

// The digits of a decimal text without its point, with its sign.
long DecimalValue(const std::string& text)
{
    long value = 0;
    for (char c : text) {
        if (std::isdigit(static_cast<unsigned char>(c)))
            value = value * 10 + (c - '0');
        if (value > 1000000)
            return value;
    }
    return !text.empty() && text[0] == '-' ? -value : value;
}

// Digits after the point of a reader form's text; -1 for forms that show no
// scaled number.
int FormDecimals(char form)
{
    switch (form) {
    case 'd':
    case '4':
    case '5':
        return 0;
    case '1':
        return 1;
    case '2':
        return 2;
    case '3':
        return 3;
    default:
        return -1;
    }
}

long long PowerOfTen(int exponent)
{
    long long power = 1;
    while (exponent-- > 0)
        power *= 10;
    return power;
}

// A value with `decimals` digits after its point, as one with `target`
// digits: rounded half away from zero where digits are dropped.
long long Rescale(long long value, int decimals, int target)
{
    if (target >= decimals)
        return value * PowerOfTen(target - decimals);
    const long long divisor = PowerOfTen(decimals - target);
    const long long magnitude = (value < 0 ? -value : value) + divisor / 2;
    return value < 0 ? -(magnitude / divisor) : magnitude / divisor;
}

// The factory value and the remark of one definition line.
struct DefinitionEntry {
    int group = 0;
    int item = 0;
    std::string factory;
    std::string remark;
    bool hasRemark = false;
};

bool Readable(const std::string& path)
{
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return false;
    std::fclose(file);
    return true;
}

// The power-up words (and the remarks' ranges) of the entries: in the forms
// the program's readers show them on the drive when one is given, else the
// digits of the texts.
void PutEntries(const std::vector<DefinitionEntry>& entries, std::map<std::uint16_t, std::uint16_t>* words,
    std::map<std::uint16_t, WordRange>* ranges, const DriveIdentity* drive)
{
    // The pressure unit mode decides the form of group 14's mode items.
    int mode = 0;
    for (const DefinitionEntry& entry : entries)
        if (entry.group == 14 && entry.item == 20)
            mode = ValueTextToWord(entry.group, entry.item, entry.factory);

    for (const DefinitionEntry& entry : entries) {
        const int group = entry.group;
        const int item = entry.item;
        const char form = drive ? ReaderFormOf(group, item, *drive, mode) : 0;
        const std::uint16_t reg = ParamRegister(group, item);
        (*words)[reg] = form ? ValueTextToFormWord(group, item, entry.factory, form)
                             : ValueTextToWord(group, item, entry.factory);
        WordRange range;
        if (!ranges || !entry.hasRemark || IsBinaryItem(group, item) || IsOctalItem(group, item)
            || !RangeFromRemark(entry.remark, entry.factory, &range))
            continue;
        const int target = FormDecimals(form);
        if (target >= 0) {
            // The remark's numbers have the value text's decimals; the word has the form's.
            const int decimals = Decimals(Trim(entry.factory));
            const long long min = Rescale(range.min, decimals, target);
            const long long max = Rescale(range.max, decimals, target);
            if (max > 0xFFFF || min < -0x8000 || (min < 0 && max > 0x7FFF))
                continue;
            range.min = static_cast<int>(min);
            range.max = static_cast<int>(max);
        }
        (*ranges)[reg] = range;
    }
}

} // namespace

bool RangeFromRemark(const std::string& remark, const std::string& valueText, WordRange* range)
{
    const int decimals = Decimals(Trim(valueText));
    if (decimals < 0)
        return false;
    static const std::regex pattern(R"((-?[0-9]+(?:\.[0-9]+)?)\s*~\s*(-?[0-9]+(?:\.[0-9]+)?))");
    std::smatch match;
    if (!std::regex_search(remark, match, pattern))
        return false;
    const std::string low = match[1].str();
    const std::string high = match[2].str();
    if (Decimals(low) != decimals || Decimals(high) != decimals)
        return false;
    const long min = DecimalValue(low);
    const long max = DecimalValue(high);
    // Beyond what a word holds, or a signed range that does not fit a signed word.
    if (min > max || max > 0xFFFF || min < -0x8000 || (min < 0 && max > 0x7FFF))
        return false;
    range->min = static_cast<int>(min);
    range->max = static_cast<int>(max);
    return true;
}

void SplitModelCode(std::uint32_t modelCode, std::uint16_t* series, std::uint16_t* modelNumber)
{
    if (modelCode >= kFamilySP) {
        *series = kSeriesSP;
        *modelNumber = static_cast<std::uint16_t>(modelCode - kFamilySP);
    } else if (modelCode >= kFamilyS) {
        *series = kSeriesS;
        *modelNumber = static_cast<std::uint16_t>(modelCode - kFamilyS);
    } else {
        *series = kSeriesPlain;
        *modelNumber = static_cast<std::uint16_t>(modelCode);
    }
}

std::string DefinitionFileName(std::uint32_t modelCode)
{
    return CD390DocData::ParamFileNameOf(static_cast<int>(modelCode));
}

std::uint16_t ValueTextToWord(int group, int item, const std::string& rawText)
{
    const std::string text = Trim(rawText);
    if (IsBinaryItem(group, item) || IsOctalItem(group, item)) {
        return static_cast<std::uint16_t>(std::strtoul(text.c_str(), nullptr, IsOctalItem(group, item) ? 8 : 2));
    }
    size_t pos = 0;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '-' || text[pos] == '+'))
        negative = text[pos++] == '-';
    long value = 0;
    for (; pos < text.size(); ++pos) {
        const char c = text[pos];
        if (c == '.')
            continue;
        if (!std::isdigit(static_cast<unsigned char>(c)))
            break;
        // Keep the low bits only: a drive word holds 16 of them.
        value = (value * 10 + (c - '0')) & 0xFFFFF;
    }
    if (negative)
        value = -value;
    return static_cast<std::uint16_t>(value & 0xFFFF);
}

char ReaderFormOf(int group, int item, const DriveIdentity& drive, int mode)
{
    // As the program judges the drive: the model code, and 13-01 x 0.001 as a float.
    const GateContext context{static_cast<std::int64_t>(drive.modelCode), static_cast<float>(drive.version * 0.001)};
    const RegisterBlock* chosen = nullptr;
    for (const bool requested : {true, false}) {
        for (const RegisterBlock& block : ReaderBlocks(group)) {
            if (item < block.start || item >= block.start + block.count)
                continue;
            if (requested ? GateHolds(block.gate, context) : InScope(block.gate, context)) {
                chosen = &block;
                break;
            }
        }
        if (chosen)
            break;
    }
    if (!chosen)
        return 0;
    const char form = BlockForm(*chosen, item - chosen->start);
    if (form == 'p')
        return mode == 0 ? '2' : 'd';
    if (form == 'f')
        return GateHolds(kGate1005Hundredths, context) ? '2' : '1';
    return form;
}

std::uint16_t ValueTextToFormWord(int group, int item, const std::string& rawText, char form)
{
    const std::string text = Trim(rawText);
    const int target = FormDecimals(form);
    const int decimals = Decimals(text);
    // Twelve digits are more than any word holds in any form.
    if (target < 0 || decimals < 0 || IsBinaryItem(group, item) || IsOctalItem(group, item) || text.size() > 12)
        return ValueTextToWord(group, item, rawText);
    long long value = 0;
    for (char c : text)
        if (std::isdigit(static_cast<unsigned char>(c)))
            value = value * 10 + (c - '0');
    if (text[0] == '-')
        value = -value;
    return static_cast<std::uint16_t>(Rescale(value, decimals, target) & 0xFFFF);
}

bool LoadDefinitionFile(const std::string& path, std::map<std::uint16_t, std::uint16_t>* words,
    std::map<std::uint16_t, WordRange>* ranges, const DriveIdentity* drive)
{
    std::ifstream file(path);
    if (!file)
        return false;
    std::vector<DefinitionEntry> entries;
    std::string line;
    while (std::getline(file, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.find('#') != std::string::npos)
            continue;
        // "GG-NN" then the name; anything else is not a parameter line.
        if (line.size() < 5 || line[2] != '-' || !std::isdigit(static_cast<unsigned char>(line[0]))
            || !std::isdigit(static_cast<unsigned char>(line[1])) || !std::isdigit(static_cast<unsigned char>(line[3]))
            || !std::isdigit(static_cast<unsigned char>(line[4]))) {
            continue;
        }
        DefinitionEntry entry;
        entry.group = (line[0] - '0') * 10 + (line[1] - '0');
        entry.item = (line[3] - '0') * 10 + (line[4] - '0');
        if (entry.group > 14)
            continue;
        const size_t at = line.find('@');
        if (at == std::string::npos)
            continue;
        const size_t dollar = line.find('$', at);
        entry.factory = line.substr(at + 1, dollar == std::string::npos ? std::string::npos : dollar - at - 1);
        const size_t star = line.find('*', at);
        entry.hasRemark = star != std::string::npos;
        if (entry.hasRemark)
            entry.remark = line.substr(star + 1);
        entries.push_back(std::move(entry));
    }

    PutEntries(entries, words, ranges, drive);
    return true;
}

bool LoadNewProjectValues(const std::string& folder, const DriveIdentity& drive,
    std::map<std::uint16_t, std::uint16_t>* words, std::map<std::uint16_t, WordRange>* ranges)
{
    std::string dir = folder;
    if (!dir.empty() && dir.back() != '/')
        dir += '/';
    const int code = static_cast<int>(drive.modelCode);
    // The project reports a file it cannot open to the process's message
    // handler, which in a test is the test's: what is missing is left out
    // here instead, as the definition file's absence always was.
    if (!Readable(dir + CD390DocData::ParamFileNameOf(code)))
        return false;
    CD390DocData project;
    project.m_strProgramFolder = dir;
    project.m_nModelCode = code;
    std::string capacity;
    project.m_strModelName = LookupModelByCode(drive.modelCode, capacity);
    // File New as the user makes it, at a base frequency of 50 Hz; without
    // the initial-values file the table as built for the model.
    const bool built = Readable(dir + CD390DocData::InitialParamFileName()) ? project.NewProject()
                                                                            : project.BuildForCurrentModel();
    if (!built)
        return false;
    std::vector<DefinitionEntry> entries;
    for (std::size_t group = 0; group < project.m_Groups.size(); ++group) {
        const std::vector<ParamRec>& params = project.m_Groups[group].m_Params;
        for (std::size_t item = 0; item < params.size(); ++item) {
            if (!params[item].m_bDefined)
                continue;
            DefinitionEntry entry;
            entry.group = static_cast<int>(group);
            entry.item = static_cast<int>(item);
            entry.factory = params[item].m_strValue;
            entry.remark = params[item].m_strRemark;
            entry.hasRemark = true;
            entries.push_back(std::move(entry));
        }
    }
    PutEntries(entries, words, ranges, &drive);
    return true;
}

std::map<std::uint16_t, std::uint16_t> BuiltInRegisters(std::uint32_t modelCode, int version)
{
    std::map<std::uint16_t, std::uint16_t> words;
    for (const ItemRange& range : kGroupBlocks) {
        for (int item = range.first; item <= range.last; ++item)
            words[ParamRegister(range.group, item)] = 0;
    }
    if (modelCode > kFamilyS) {
        for (const ItemRange& range : kGroup14Blocks) {
            for (int item = range.first; item <= range.last; ++item)
                words[ParamRegister(range.group, item)] = 0;
        }
    }
    words[kRegCommandWord] = 0;
    words[kRegFrequencyCommand] = 0;
    for (std::uint16_t reg = kRegStatusWord; reg <= kRegMonitorLast; ++reg)
        words[reg] = 0;
    words[kRegStatusWord] = kStatusReady;
    std::uint16_t series = 0;
    std::uint16_t modelNumber = 0;
    SplitModelCode(modelCode, &series, &modelNumber);
    words[kRegSeriesCode] = series;
    // Rectified mains of the model's class: the 400 V models are numbered 401 to 415.
    words[kRegDcVoltage] = modelNumber >= 400 && modelNumber < 1000 ? 537 : 311;
    words[kRegCapacity] = modelNumber;
    words[kRegVersion] = static_cast<std::uint16_t>(version);
    words[kRegPassword] = 0;
    return words;
}

} // namespace SimDrive
