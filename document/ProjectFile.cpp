#include "document/ProjectFile.h"

#include "document/ModelTables.h"
#include "platform/TextEncoding.h"

namespace {

class Reader {
public:
    explicit Reader(const std::string& bytes) : m_bytes(bytes) {}

    size_t Left() const { return m_bytes.size() - m_pos; }

    bool U32(uint32_t& value)
    {
        if (Left() < 4)
            return false;
        value = 0;
        for (int i = 3; i >= 0; --i)
            value = (value << 8) | static_cast<unsigned char>(m_bytes[m_pos + i]);
        m_pos += 4;
        return true;
    }

    bool Text(std::string& text)
    {
        uint32_t length;
        // Bounded by what the file holds; the length bound is checked once the
        // text is UTF-8, where it is named to the user.
        if (!U32(length) || Left() < length)
            return false;
        text.assign(m_bytes, m_pos, length);
        m_pos += length;
        return true;
    }

private:
    const std::string& m_bytes;
    size_t m_pos = 0;
};

void PutU32(std::string& out, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

void PutText(std::string& out, const std::string& text)
{
    PutU32(out, static_cast<uint32_t>(text.size()));
    out += text;
}

// Every text of the file, for the one encoding decision of the file.
template <typename Action>
void ForEachText(ProjectFileData& data, Action action)
{
    action(data.modelName);
    for (auto& group : data.values)
        for (std::string& value : group)
            action(value);
    for (int channel = 0; channel < 4; ++channel) {
        action(data.graphSource[channel]);
        action(data.graphMax[channel]);
        action(data.graphMin[channel]);
    }
    action(data.title);
    action(data.name);
    action(data.department);
}

// Files of the vendor's Windows program hold code page 936 texts: a file
// with any text that is not UTF-8 is read as code page 936 throughout.
void ConvertLegacyTexts(ProjectFileData& data)
{
    bool legacy = false;
    ForEachText(data, [&legacy](std::string& text) { legacy = legacy || !IsValidUtf8(text); });
    if (legacy)
        ForEachText(data, [](std::string& text) { text = Cp936ToUtf8(text); });
}

ProjectParseResult ParseTexts(const std::string& bytes, ProjectFileData& data);

std::string TwoDigits(std::size_t n)
{
    return (n < 10 ? "0" : "") + std::to_string(n);
}

// The first text past the bound, named as the user knows it; empty when none.
std::string FindOverlongText(const ProjectFileData& data)
{
    const std::string& model = data.version < 10 ? ModerniseModelName(data.modelName) : data.modelName;
    if (!FitsProjectText(model))
        return "the model name";
    for (std::size_t g = 0; g < data.values.size(); ++g)
        for (std::size_t i = 0; i < data.values[g].size(); ++i)
            if (!FitsProjectText(data.values[g][i]))
                return "parameter " + TwoDigits(g) + "-" + TwoDigits(i);
    for (int channel = 0; channel < 4; ++channel) {
        const std::string which = "graph channel " + std::to_string(channel + 1);
        if (!FitsProjectText(data.graphSource[channel]))
            return which + "'s quantity";
        if (!FitsProjectText(data.graphMax[channel]))
            return which + "'s maximum";
        if (!FitsProjectText(data.graphMin[channel]))
            return which + "'s minimum";
    }
    if (!FitsProjectText(data.title))
        return "the print title";
    if (!FitsProjectText(data.name))
        return "the print name";
    if (!FitsProjectText(data.department))
        return "the print department";
    return {};
}

} // namespace

ProjectParseResult ParseProjectBytes(const std::string& bytes, ProjectFileData& data)
{
    ProjectParseResult result = ParseTexts(bytes, data);
    if (result != ProjectParseResult::Ok)
        return result;
    ConvertLegacyTexts(data);
    data.overlongText = FindOverlongText(data);
    return data.overlongText.empty() ? ProjectParseResult::Ok : ProjectParseResult::TextTooLong;
}

namespace {

ProjectParseResult ParseTexts(const std::string& bytes, ProjectFileData& data)
{
    Reader in(bytes);
    data = ProjectFileData();
    if (!in.U32(data.version))
        return ProjectParseResult::Damaged;
    if (data.version > PROJECT_FILE_VERSION)
        return ProjectParseResult::TooNew;
    if (!in.Text(data.modelName))
        return ProjectParseResult::Damaged;

    // Each count is followed by at least that many 4-byte fields, so a count
    // larger than what is left marks a damaged file before anything is kept.
    auto countFits = [&in](uint32_t count) { return count <= in.Left() / 4; };

    uint32_t groupCount;
    if (data.version >= 12) {
        data.hasDefined = true;
        if (!in.U32(groupCount) || !countFits(groupCount))
            return ProjectParseResult::Damaged;
        data.defined.resize(groupCount);
        for (auto& group : data.defined) {
            uint32_t count;
            if (!in.U32(count) || !countFits(count))
                return ProjectParseResult::Damaged;
            group.resize(count);
            for (uint32_t& flag : group)
                if (!in.U32(flag))
                    return ProjectParseResult::Damaged;
        }
    }

    if (!in.U32(groupCount) || !countFits(groupCount))
        return ProjectParseResult::Damaged;
    data.values.resize(groupCount);
    for (auto& group : data.values) {
        uint32_t count;
        if (!in.U32(count) || !countFits(count))
            return ProjectParseResult::Damaged;
        group.resize(count);
        for (std::string& value : group)
            if (!in.Text(value))
                return ProjectParseResult::Damaged;
    }

    if (data.version > 2) {
        data.hasGraph = true;
        for (int channel = 0; channel < 4; ++channel) {
            if (!in.U32(data.graphSel[channel]) || !in.Text(data.graphSource[channel])
                || !in.Text(data.graphMax[channel]) || !in.Text(data.graphMin[channel]))
                return ProjectParseResult::Damaged;
        }
    }

    if (in.Left() == 0)
        return ProjectParseResult::Ok;
    if (!in.U32(data.freqIndex))
        return ProjectParseResult::Damaged;
    data.hasFreqIndex = true;

    if (in.Left() == 0)
        return ProjectParseResult::Ok;
    if (!in.Text(data.title) || !in.Text(data.name) || !in.Text(data.department))
        return ProjectParseResult::Damaged;
    data.hasTitles = true;
    return in.Left() == 0 ? ProjectParseResult::Ok : ProjectParseResult::TrailingBytes;
}

} // namespace

std::string BuildProjectBytes(const ProjectFileData& data)
{
    std::string out;
    PutU32(out, PROJECT_FILE_VERSION);
    PutText(out, data.modelName);
    PutU32(out, static_cast<uint32_t>(data.defined.size()));
    for (const auto& group : data.defined) {
        PutU32(out, static_cast<uint32_t>(group.size()));
        for (uint32_t flag : group)
            PutU32(out, flag);
    }
    PutU32(out, static_cast<uint32_t>(data.values.size()));
    for (const auto& group : data.values) {
        PutU32(out, static_cast<uint32_t>(group.size()));
        for (const std::string& value : group)
            PutText(out, value);
    }
    for (int channel = 0; channel < 4; ++channel) {
        PutU32(out, data.graphSel[channel]);
        PutText(out, data.graphSource[channel]);
        PutText(out, data.graphMax[channel]);
        PutText(out, data.graphMin[channel]);
    }
    PutU32(out, data.freqIndex);
    PutText(out, data.title);
    PutText(out, data.name);
    PutText(out, data.department);
    return out;
}

int RemapProjectItem(uint32_t version, int group, int record, int modelCode)
{
    if (version >= 10)
        return record;
    switch (group) {
    case 0:
        if (version < 5)
            return (modelCode > kModelFamilyS && modelCode < kModelFamilySP) ? record + 1 : record;
        return modelCode < kModelFamilyS ? record + 1 : record;
    case 2:
        return record > 9 ? record + 3 : record;
    case 3:
        if (record >= 5 && record <= 8)
            return record + 1;
        if (record == 9)
            return 11;
        return record > 9 ? record + 3 : record;
    case 5:
        return record > 8 ? record + 8 : record;
    case 6:
        if (record >= 8 && record <= 15)
            return record + 8;
        return record > 15 ? record + 16 : record;
    case 11:
        return record > 11 ? record + 1 : record;
    default:
        return record;
    }
}

std::string ModerniseModelName(const std::string& name)
{
    std::string result = name;
    if (result.size() < 2 || result.compare(result.size() - 2, 2, "xx") != 0)
        result += "xx";
    if (result.compare(0, 5, "D390S") == 0) {
        result.erase(4, 1);
        size_t dash = result.rfind('-');
        if (dash != std::string::npos)
            result.insert(dash + 1, "S");
    }
    return result;
}
