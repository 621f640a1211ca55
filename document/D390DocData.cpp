#include "document/D390DocData.h"

#include "document/ModelTables.h"
#include "document/ProjectFile.h"
#include "platform/FileWrite.h"
#include "platform/MessageBox.h"
#include "platform/RegularFile.h"
#include "platform/ResourceModule.h"
#include "res/StringIds.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr const char* kInitialParamFile = "IntialParam.DAT";

constexpr std::uint64_t kTableFileMaxBytes = 16u << 20;

// Longest line the text files may hold; a longer one ends the reading there.
constexpr size_t kMaxLineLength = 65534;

// Reads a text file in binary and splits it into lines: an LF ends a line, a
// CR before it is dropped, a last line without LF counts when not empty.
bool ReadTextFileLines(const std::string& path, std::vector<std::string>& lines)
{
    lines.clear();
    // The tables beside the program are tens of kilobytes; what is no
    // regular file or far larger is not one of them.
    FileRules rules;
    rules.maxBytes = kTableFileMaxBytes;
    std::string content;
    std::string reason;
    if (ReadRegularFile(path, rules, content, reason) != FileCheck::Ok)
        return false;

    size_t start = 0;
    while (start < content.size()) {
        size_t end = content.find('\n', start);
        bool lastLine = end == std::string::npos;
        if (lastLine)
            end = content.size();
        size_t length = end - start;
        if (!lastLine && length > 0 && content[end - 1] == '\r')
            --length;
        if (length > kMaxLineLength)
            break;
        lines.emplace_back(content, start, length);
        start = end + 1;
    }
    return true;
}

// Substrings with the framework's forgiving bounds: a negative start counts as
// 0 and a negative count gives the empty text.
std::string Left(const std::string& text, long count)
{
    if (count <= 0)
        return std::string();
    return text.substr(0, static_cast<size_t>(count));
}

std::string Mid(const std::string& text, long first, long count = -2)
{
    if (first < 0)
        first = 0;
    if (static_cast<size_t>(first) >= text.size())
        return std::string();
    if (count == -2)
        return text.substr(static_cast<size_t>(first));
    if (count <= 0)
        return std::string();
    return text.substr(static_cast<size_t>(first), static_cast<size_t>(count));
}

long FindChar(const std::string& text, char c)
{
    size_t pos = text.find(c);
    return pos == std::string::npos ? -1 : static_cast<long>(pos);
}

bool IsBlank(const std::string& line)
{
    return line.find_first_not_of(" \t\r\f\v") == std::string::npos;
}

void ClearFlags(uint32_t flags[kGroupCount][kItemCount])
{
    std::memset(flags, 0, sizeof(uint32_t) * kGroupCount * kItemCount);
}

std::string CantOpenText(const std::string& path)
{
    return LoadResString(IDS_CANT_OPEN_FILE) + "\n" + path;
}

// The table that a definition file describes, built aside so that a failure
// leaves the document's table untouched.
struct ParsedTable {
    std::vector<GroupRec> groups;
    uint32_t defined[kGroupCount][kItemCount];
};

// Group lines (any line holding '#') close the group of the parameter lines
// before them. A parameter line is CODE NAME '@' FACTORY '$' VALUE '*' REMARK
// with CODE = GG-NN. Gaps are filled with placeholders so that element NN is
// always item NN: lines that would break that (blank, out of the 15 x 100
// table, or not above the previous item) are skipped.
bool ParseDefinitionFile(const std::string& path, ParsedTable& table)
{
    table.groups.clear();
    ClearFlags(table.defined);
    std::vector<std::string> lines;
    if (!ReadTextFileLines(path, lines))
        return false;

    std::vector<ParamRec> collected;
    for (const std::string& line : lines) {
        long hash = FindChar(line, '#');
        if (hash >= 0) {
            GroupRec group;
            group.m_strName = Mid(line, hash + 1);
            group.m_Params = std::move(collected);
            collected.clear();
            table.groups.push_back(std::move(group));
            continue;
        }
        if (IsBlank(line))
            continue;

        std::string code = Left(line, 5);
        long dash = FindChar(code, '-');
        int group = std::atoi(Left(code, dash).c_str());
        int item = std::atoi(Mid(code, dash + 1).c_str());
        if (group < 0 || group >= kGroupCount || item < 0 || item >= kItemCount)
            continue;
        if (static_cast<size_t>(item) < collected.size())
            continue;

        std::string prefix = Left(code, dash + 1);
        while (collected.size() < static_cast<size_t>(item)) {
            ParamRec placeholder;
            char number[16];
            std::snprintf(number, sizeof number, "%02d", static_cast<int>(collected.size()));
            placeholder.m_strLabel = prefix + number;
            placeholder.m_strFactory = "0";
            placeholder.m_strValue = "0";
            placeholder.m_bDefined = 0;
            collected.push_back(std::move(placeholder));
        }

        long at = FindChar(line, '@');
        long dollar = FindChar(line, '$');
        long star = FindChar(line, '*');
        ParamRec rec;
        rec.m_strLabel = Left(line, at);
        rec.m_strFactory = Mid(line, at + 1, dollar - at - 1);
        rec.m_strValue = Mid(line, dollar + 1, star - dollar - 1);
        rec.m_strRemark = Mid(line, star + 1);
        rec.m_bDefined = 1;
        collected.push_back(std::move(rec));
        table.defined[group][item] = 1;
    }
    return true;
}

bool ReadMotorFile(const std::string& path, std::vector<MotorParamRec>& motors)
{
    motors.clear();
    std::vector<std::string> lines;
    if (!ReadTextFileLines(path, lines))
        return false;
    for (const std::string& line : lines) {
        size_t first = line.find_first_not_of(" \t\r\n\f\v");
        std::string trimmed = first == std::string::npos ? std::string() : line.substr(first);
        MotorParamRec rec;
        rec.m_strCode = Left(trimmed, 5);
        rec.m_strText = Mid(trimmed, 6);
        motors.push_back(std::move(rec));
    }
    return true;
}

// Plain models by initial-values column 0 to 10; the two extended families by
// model number (the code minus the family base), columns 11 to 29.
constexpr int kPlainColumns[] = {0x44E, 0x451, 0x65, 0x4B2, 0x4B5, 0xC9, 0xCA, 0xCB, 0x191, 0x192, 0x193};
constexpr int kExtendedColumns[] = {0x44E, 0x451, 0x65, 0x4B2, 0x4B5, 0x4B7, 0xC9, 0xCA, 0xCB, 0xCD,
                                    0xD0,  0xD2,  0x191, 0x192, 0x193, 0x195, 0x198, 0x19A, 0x19F};
constexpr int kNarrowOffset = 11;

struct InitTarget {
    int group;
    int item;
};
// Rows 0 to 7 apply to every model; rows 8 to 20 only to codes from the S
// family base upwards. Row 8 uses the wide numbering, rows 9 to 20 the narrow.
constexpr InitTarget kInitTargets[] = {
    {1, 1},  {1, 5},  {1, 7},  {1, 9},  {2, 0},  {2, 1},  {2, 4},  {8, 4},  {11, 14}, {1, 14}, {2, 5},
    {2, 8},  {2, 9},  {2, 13}, {2, 16}, {3, 20}, {3, 21}, {7, 7},  {8, 1},  {8, 2},   {8, 3},
};
constexpr int kAllModelRows = 8;
constexpr int kFirstNarrowRow = 9;

struct CodeText {
    int code;
    const char* text;
};
// 02-03, rated motor speed, where it differs from the family's usual value.
constexpr CodeText kSpeed50[] = {
    {0x11000CB, "1455"}, {0x1100193, "1455"}, {0x11000CD, "1445"}, {0x1100195, "1445"},
    {0x11000D0, "1460"}, {0x1100198, "1460"}, {0x110019F, "1465"}, {0x11000D2, "1465"},
    {0x110019A, "1465"},
};
constexpr CodeText kSpeed60[] = {
    {0x110044E, "1710"}, {0x1100451, "1710"}, {0x1100065, "1710"}, {0x11004B2, "1710"},
    {0x11004B5, "1710"}, {0x11004B7, "1710"}, {0x11000C9, "1710"}, {0x1100191, "1710"},
    {0x11000CA, "1715"}, {0x1100192, "1715"}, {0x11000CB, "1735"}, {0x1100193, "1735"},
    {0x11000CD, "1745"}, {0x1100195, "1745"}, {0x11000D0, "1750"}, {0x1100198, "1750"},
    {0x11000D2, "1750"}, {0x110019A, "1750"}, {0x110019F, "1760"},
};

template <size_t N>
const char* SpeedOf(const CodeText (&table)[N], int code, const char* otherwise)
{
    for (const CodeText& entry : table)
        if (entry.code == code)
            return entry.text;
    return otherwise;
}

} // namespace

CD390DocData::CD390DocData(CFrameWindows& windows)
    : m_windows(windows)
{
    ResetGraphChannels();
    ClearFlags(m_SavedDefined);
    ClearFlags(m_Defined);
    ClearFlags(m_Changed);
    m_strPrintTitle = LoadResString(IDS_PRINT_TITLE);
}

CD390DocData::~CD390DocData() = default;

void CD390DocData::ResetGraphChannels()
{
    for (int channel = 0; channel < 4; ++channel) {
        m_nGraphSel[channel] = 0;
        m_strGraphMax[channel] = "10.00";
        m_strGraphMin[channel] = "0.00";
        m_strGraphSource[channel] = LoadResString(IDS_NO_DISPLAY);
    }
    m_nGraphFlag = 0;
}

std::string CD390DocData::GetProjectFileName() const
{
    std::size_t slash = m_strProjectPath.rfind('/');
    if (slash == std::string::npos)
        return {};
    return m_strProjectPath.substr(slash + 1);
}

bool CD390DocData::BuildForCurrentModel()
{
    m_MotorParams.clear();
    m_InitParams.clear();
    m_Groups.clear();
    m_strLoadError.clear();
    m_fDriveVersion = 0.0f;
    ClearChanged();

    const int code = m_nModelCode;
    const std::string folder = m_strProgramFolder;
    if (!ParseParamFile(folder + ParamFileNameOf(code)))
        return false;
    ReadMotorParamFile(folder + MotorFileNameOf(code));
    SetInitialValues();
    ResetGraphChannels();
    m_bApplyInitParams = 1;
    return true;
}

const char* CD390DocData::ParamFileNameOf(int modelCode)
{
    if (modelCode <= kModelFamilyS)
        return "PARAM.DAT";
    if (modelCode <= kModelFamilySP)
        return "PARAMS.DAT";
    return "PARAMSP.DAT";
}

const char* CD390DocData::MotorFileNameOf(int modelCode)
{
    if (modelCode <= kModelFamilyS)
        return "D390MOTORPARAM.DAT";
    if (modelCode <= kModelFamilySP)
        return "RQ5MOTORPARAM.DAT";
    return "D390SPMOTORPARAM.DAT";
}

const char* CD390DocData::InitialParamFileName()
{
    return kInitialParamFile;
}

bool CD390DocData::ParseParamFile(const std::string& path)
{
    ParsedTable table;
    if (!ParseDefinitionFile(path, table)) {
        AfxMessageBox(CantOpenText(path), MB_OK | MB_ICONERROR);
        return false;
    }
    m_Groups = std::move(table.groups);
    std::memcpy(m_Defined, table.defined, sizeof m_Defined);
    ClearFlags(m_SavedDefined);
    return true;
}

void CD390DocData::ReadMotorParamFile(const std::string& path)
{
    ReadMotorFile(path, m_MotorParams);
}

bool CD390DocData::SetModelFromText(const std::string& text)
{
    long colon = FindChar(text, ':');
    std::string name = colon >= 0 ? text.substr(static_cast<size_t>(colon) + 1) : text;
    int code = m_nModelCode;
    std::string capacity;
    LookupModelByName(name, code, capacity);

    std::string path = m_strProgramFolder + ParamFileNameOf(code);
    ParsedTable table;
    if (!ParseDefinitionFile(path, table)) {
        AfxMessageBox(CantOpenText(path), MB_OK | MB_ICONERROR);
        return false;
    }
    m_strModelName = name;
    m_nModelCode = code;
    m_Groups = std::move(table.groups);
    std::memcpy(m_Defined, table.defined, sizeof m_Defined);
    ClearFlags(m_SavedDefined);
    ClearChanged();
    ReadInitialParamFile(m_strProgramFolder + kInitialParamFile);
    m_windows.SetStatusPaneText(kPaneModel, name);
    return true;
}

bool CD390DocData::ReloadParamFiles()
{
    if (!ParseParamFile(m_strProgramFolder + ParamFileNameOf(m_nModelCode)))
        return false;
    ClearChanged();
    ReadInitialParamFile(m_strProgramFolder + kInitialParamFile);
    return true;
}

bool CD390DocData::ReadInitialParamFile(const std::string& path)
{
    m_InitParams.clear();
    std::vector<std::string> lines;
    if (!ReadTextFileLines(path, lines)) {
        AfxMessageBox(IDS_CANT_OPEN_FILE, MB_OK);
        return false;
    }
    for (const std::string& line : lines) {
        size_t first = line.find_first_not_of(" \t\r\n\f\v");
        if (first != std::string::npos && line.compare(first, std::string::npos, "END") == 0)
            break;
        InitParamRec rec;
        SplitInitLine(line, rec);
        m_InitParams.push_back(std::move(rec));
    }
    ApplyInitParams();
    return true;
}

void CD390DocData::SplitInitLine(const std::string& line, InitParamRec& rec)
{
    std::string text;
    for (char c : line) {
        if (c == ':') {
            rec.m_strKey = text;
            text.clear();
        } else if (c == ',') {
            rec.m_Values.push_back(text);
            text.clear();
        } else {
            text += c;
        }
    }
    if (!text.empty())
        rec.m_Values.push_back(text);
}

int CD390DocData::WideColumnOf(int modelCode)
{
    if (modelCode <= kModelFamilyS) {
        for (size_t i = 0; i < std::size(kPlainColumns); ++i)
            if (kPlainColumns[i] == modelCode)
                return static_cast<int>(i);
        return -1;
    }
    int number = modelCode - (modelCode > kModelFamilySP ? kModelFamilySP : kModelFamilyS);
    for (size_t i = 0; i < std::size(kExtendedColumns); ++i)
        if (kExtendedColumns[i] == number)
            return kNarrowOffset + static_cast<int>(i);
    return -1;
}

int CD390DocData::NarrowColumnOf(int modelCode)
{
    int wide = WideColumnOf(modelCode);
    return wide >= kNarrowOffset ? wide - kNarrowOffset : -1;
}

void CD390DocData::ApplyInitParams()
{
    const int code = m_nModelCode;
    const int rowCount = code >= kModelFamilyS ? static_cast<int>(std::size(kInitTargets)) : kAllModelRows;
    for (int row = 0; row < rowCount; ++row) {
        // A model without a column, a short row or a parameter the table lacks
        // leaves the target as it is.
        int column = row < kFirstNarrowRow ? WideColumnOf(code) : NarrowColumnOf(code);
        if (column < 0 || static_cast<size_t>(row) >= m_InitParams.size())
            continue;
        const std::vector<std::string>& values = m_InitParams[row].m_Values;
        if (static_cast<size_t>(column) >= values.size())
            continue;
        ParamRec* param = FindParam(kInitTargets[row].group, kInitTargets[row].item);
        if (!param)
            continue;
        if (m_bApplyInitParams)
            param->m_strValue = values[column];
        param->m_strFactory = values[column];
    }
}

void CD390DocData::SetInitialValues()
{
    ApplyModelList(true);
}

void CD390DocData::SetModelDefaults()
{
    ApplyModelList(false);
}

void CD390DocData::ApplyModelList(bool setValues)
{
    std::string capacity;
    LookupModelByName(m_strModelName, m_nModelCode, capacity);
    const int code = m_nModelCode;
    const int freq = m_nFreqIndex;
    if (freq != 0 && freq != 1)
        return;
    const bool hz50 = freq == 0;
    const bool extended = code > kModelFamilyS;

    auto put = [this, setValues](int group, int item, const std::string& text) {
        ParamRec* param = FindParam(group, item);
        if (!param)
            return;
        param->m_strFactory = text;
        if (setValues)
            param->m_strValue = text;
    };

    put(0, 11, hz50 ? "50.00" : "60.00");
    put(0, 12, hz50 ? "50.00" : "60.00");
    put(1, 0, hz50 ? "1" : "4");
    put(1, 2, hz50 ? "50.00" : "60.00");
    put(1, 4, extended ? (hz50 ? "2.50" : "3.00") : (hz50 ? "25.00" : "30.00"));
    put(1, 6, extended ? (hz50 ? "2.50" : "3.00") : (hz50 ? "10.00" : "12.00"));
    put(1, 8, extended ? (hz50 ? "1.30" : "1.50") : (hz50 ? "0.50" : "0.60"));
    put(2, 3, hz50 ? SpeedOf(kSpeed50, code, "1430") : SpeedOf(kSpeed60, code, "1680"));
    if (setValues && extended)
        put(2, 6, hz50 ? "50.0" : "60.0");
    put(12, 3, hz50 ? "1500" : "1800");
    // A model name that the table lacks has no capacity code: 13-00 keeps its
    // value rather than becoming empty.
    if (!capacity.empty())
        put(13, 0, capacity);
}

ParamRec* CD390DocData::FindParam(int group, int item)
{
    if (group < 0 || item < 0 || static_cast<size_t>(group) >= m_Groups.size())
        return nullptr;
    std::vector<ParamRec>& params = m_Groups[group].m_Params;
    if (static_cast<size_t>(item) >= params.size())
        return nullptr;
    return &params[item];
}

const ParamRec* CD390DocData::FindParam(int group, int item) const
{
    return const_cast<CD390DocData*>(this)->FindParam(group, item);
}

int CD390DocData::DefinedPosition(int group, int item) const
{
    if (group < 0 || group >= kGroupCount || item < 0 || item >= kItemCount || !m_Defined[group][item])
        return -1;
    int position = 0;
    for (int i = 0; i < item; ++i)
        if (m_Defined[group][i])
            ++position;
    return position;
}

void CD390DocData::ClearChanged()
{
    ClearFlags(m_Changed);
}

bool CD390DocData::IsModified() const
{
    return m_bModified;
}

void CD390DocData::SetModifiedFlag(bool modified)
{
    m_bModified = modified;
}

// The largest project the program writes: every text at its bound in a full
// table, four graph channels and three titles. The bound on the file admits
// it with room to spare.
constexpr std::uint64_t kCountedText = 4 + kProjectTextLimit;
constexpr std::uint64_t kLargestProject =
    4 + kCountedText + 4 + kGroupCount * (4 + kItemCount * 4ull) + 4 + kGroupCount * (4 + kItemCount * kCountedText)
    + 4 * (4 + 3 * kCountedText) + 4 + 3 * kCountedText;
static_assert(kLargestProject <= kProjectFileMaxBytes);

bool CD390DocData::LoadProjectFile(const std::string& path)
{
    m_strLoadError = LoadResString(IDS_CANT_OPEN_FILE);

    std::string bytes;
    {
        CRegularFile file;
        FileRules rules;
        rules.maxBytes = kProjectFileMaxBytes;
        FileCheck check = file.Open(path, rules);
        if (check == FileCheck::Ok)
            check = file.ReadAll(bytes);
        if (check == FileCheck::NotRegular || check == FileCheck::TooLarge)
            m_strLoadError = file.RefusalText(path);
        if (check != FileCheck::Ok)
            return false;
    }
    ProjectFileData data;
    switch (ParseProjectBytes(bytes, data)) {
    case ProjectParseResult::TrailingBytes:
        m_strLoadError = FormatResString(IDS_PROJECT_TRAILING_BYTES, path.c_str());
        return false;
    case ProjectParseResult::TooNew:
        m_strLoadError = LoadResString(IDS_VERSION_TOO_NEW);
        return false;
    case ProjectParseResult::Damaged:
        return false;
    case ProjectParseResult::TextTooLong:
        m_strLoadError = FormatResString(IDS_TEXT_TOO_LONG_IN_FILE, data.overlongText.c_str(),
                                         static_cast<int>(kProjectTextLimit));
        return false;
    case ProjectParseResult::Ok:
        break;
    }

    std::string modelName = data.version < 10 ? ModerniseModelName(data.modelName) : data.modelName;
    int code = m_nModelCode;
    std::string capacity;
    LookupModelByName(modelName, code, capacity);

    const std::string folder = m_strProgramFolder;
    const std::string paramPath = folder + ParamFileNameOf(code);
    ParsedTable table;
    if (!ParseDefinitionFile(paramPath, table)) {
        m_strLoadError = CantOpenText(paramPath);
        return false;
    }
    std::vector<MotorParamRec> motors;
    ReadMotorFile(folder + MotorFileNameOf(code), motors);

    // Stored values land on the table built for the stored model; whatever
    // that table lacks (groups, items, flags beyond 15 x 100) is skipped.
    uint32_t savedDefined[kGroupCount][kItemCount];
    ClearFlags(savedDefined);
    if (data.hasDefined) {
        for (size_t g = 0; g < data.defined.size() && g < size_t(kGroupCount); ++g)
            for (size_t i = 0; i < data.defined[g].size() && i < size_t(kItemCount); ++i)
                savedDefined[g][i] = data.defined[g][i];
    }
    for (size_t g = 0; g < data.values.size() && g < table.groups.size(); ++g) {
        std::vector<ParamRec>& params = table.groups[g].m_Params;
        for (size_t i = 0; i < data.values[g].size(); ++i) {
            size_t item;
            if (data.hasDefined) {
                if (g >= size_t(kGroupCount) || i >= size_t(kItemCount) || !savedDefined[g][i])
                    continue;
                item = i;
            } else {
                if (i >= size_t(kItemCount))
                    continue;
                int target = RemapProjectItem(data.version, static_cast<int>(g), static_cast<int>(i), code);
                if (target < 0)
                    continue;
                item = static_cast<size_t>(target);
            }
            if (item < params.size())
                params[item].m_strValue = data.values[g][i];
        }
    }

    // Everything read: only now does the project change.
    m_Groups = std::move(table.groups);
    std::memcpy(m_Defined, table.defined, sizeof m_Defined);
    std::memcpy(m_SavedDefined, savedDefined, sizeof m_SavedDefined);
    m_MotorParams = std::move(motors);
    m_bApplyInitParams = 0;
    m_strModelName = modelName;
    m_nModelCode = code;
    if (data.hasGraph) {
        for (int channel = 0; channel < 4; ++channel) {
            m_nGraphSel[channel] = static_cast<int>(data.graphSel[channel]);
            m_strGraphSource[channel] = data.graphSource[channel];
            m_strGraphMax[channel] = data.graphMax[channel];
            m_strGraphMin[channel] = data.graphMin[channel];
        }
    }
    ClearChanged();
    // Files without graph channels get the channels of a new project.
    if (!data.hasGraph)
        ResetGraphChannels();
    if (data.hasFreqIndex)
        m_nFreqIndex = static_cast<int>(data.freqIndex);
    SetModelDefaults();
    if (data.hasTitles) {
        m_strPrintTitle = data.title;
        m_strPrintName = data.name;
        m_strPrintDepartment = data.department;
    }
    m_strLoadError.clear();
    return true;
}

std::string CD390DocData::BuildProjectBytes() const
{
    ProjectFileData data;
    data.modelName = m_strModelName;
    data.hasDefined = true;
    for (const GroupRec& group : m_Groups) {
        std::vector<uint32_t> flags;
        std::vector<std::string> values;
        for (const ParamRec& param : group.m_Params) {
            flags.push_back(param.m_bDefined ? 1u : 0u);
            values.push_back(param.m_strValue);
        }
        data.defined.push_back(std::move(flags));
        data.values.push_back(std::move(values));
    }
    data.hasGraph = true;
    for (int channel = 0; channel < 4; ++channel) {
        data.graphSel[channel] = static_cast<uint32_t>(m_nGraphSel[channel]);
        data.graphSource[channel] = m_strGraphSource[channel];
        data.graphMax[channel] = m_strGraphMax[channel];
        data.graphMin[channel] = m_strGraphMin[channel];
    }
    data.hasFreqIndex = true;
    data.freqIndex = static_cast<uint32_t>(m_nFreqIndex);
    data.hasTitles = true;
    data.title = m_strPrintTitle;
    data.name = m_strPrintName;
    data.department = m_strPrintDepartment;
    return ::BuildProjectBytes(data);
}

bool CD390DocData::SaveProjectFile(const std::string& path) const
{
    const std::string bytes = BuildProjectBytes();
    // A text beyond what the loader accepts (an imported cell, say) would make
    // a file that never opens again: such a project is not saved at all.
    ProjectFileData readBack;
    if (ParseProjectBytes(bytes, readBack) != ProjectParseResult::Ok)
        return false;
    return WriteFileReplacing(path, bytes);
}

bool CD390DocData::NewProject()
{
    if (!BuildForCurrentModel())
        return false;
    ReadInitialParamFile(m_strProgramFolder + kInitialParamFile);
    m_windows.SetStatusPaneText(kPaneFileName, LoadResString(IDS_NEW_PROJECT));
    m_windows.SetStatusPaneText(kPaneModel, m_strModelName);
    SetModifiedFlag(false);
    return true;
}

bool CD390DocData::OpenProject(const std::string& path)
{
    if (!LoadProjectFile(path)) {
        AfxMessageBox(m_strLoadError, MB_OK | MB_ICONERROR);
        return false;
    }
    // m_bApplyInitParams is 0 here: only the factory defaults are renewed.
    ReadInitialParamFile(m_strProgramFolder + kInitialParamFile);
    m_bApplyInitParams = 1;
    m_strProjectPath = path;
    m_windows.SetStatusPaneText(kPaneFileName, GetProjectFileName());
    m_windows.SetStatusPaneText(kPaneModel, m_strModelName);
    m_windows.InitProjectTree(m_nModelCode);
    SetModifiedFlag(false);
    OnProjectPathChanged(path);
    return true;
}

bool CD390DocData::SaveProject()
{
    std::string path = m_strProjectPath;
    if (path.empty() && !m_windows.PromptSaveProjectFile(path))
        return false;
    return SaveProjectTo(path);
}

bool CD390DocData::SaveProjectAs()
{
    std::string path;
    if (!m_windows.PromptSaveProjectFile(path))
        return false;
    return SaveProjectTo(path);
}

bool CD390DocData::SaveModified()
{
    if (!IsModified())
        return true;
    switch (AfxMessageBox(IDS_FILE_MODIFIED, MB_YESNOCANCEL | MB_ICONQUESTION)) {
    case IDYES:
        return SaveProject();
    case IDNO:
        return true;
    default:
        return false;
    }
}

bool CD390DocData::SaveProjectTo(const std::string& path)
{
    if (!SaveProjectFile(path)) {
        AfxMessageBox(FormatResString(IDS_PROJECT_SAVE_FAILED, path.c_str()),
                      MB_OK | MB_ICONERROR);
        m_strProjectPath.clear();
        return false;
    }
    m_strProjectPath = path;
    m_windows.AddToRecentFileList(path);
    m_windows.SetProjectWindowTitle(GetProjectFileName());
    m_windows.SetStatusPaneText(kPaneFileName, GetProjectFileName());
    SetModifiedFlag(false);
    OnProjectPathChanged(path);
    return true;
}

void CD390DocData::OnProjectPathChanged(const std::string&) {}
