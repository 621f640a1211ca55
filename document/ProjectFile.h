#pragma once
// The project file's bytes: 32-bit little-endian integers and counted texts
// (a 32-bit byte count, then the bytes, no terminator). Version 13 is written;
// versions up to 13 are read.

#include <cstdint>
#include <string>
#include <vector>

constexpr uint32_t PROJECT_FILE_VERSION = 13;
// The one bound on every text of a project, in bytes of UTF-8: held when a
// project is opened (after a code page 936 text is converted), when values are
// imported and when it is saved, so that every project that opens can be saved
// and opened again. Far above any real value (the older program stored at most
// 99 bytes).
constexpr uint32_t kProjectTextLimit = 4096;

struct ProjectFileData {
    uint32_t version = PROJECT_FILE_VERSION;
    std::string modelName;
    bool hasDefined = false;                   // versions 12 and later
    std::vector<std::vector<uint32_t>> defined; // [group][record]
    std::vector<std::vector<std::string>> values;
    bool hasGraph = false;                     // versions 3 and later
    uint32_t graphSel[4] = {0, 0, 0, 0};
    std::string graphSource[4];
    std::string graphMax[4];
    std::string graphMin[4];
    bool hasFreqIndex = false;                 // optional tail
    uint32_t freqIndex = 0;
    bool hasTitles = false;                    // optional tail
    std::string title;
    std::string name;
    std::string department;
    // After TextTooLong: which text, as the user knows it ("parameter 02-10",
    // "the model name", ...).
    std::string overlongText;
};

// The largest project file that is read at all, checked before it is: far
// above the largest project the program writes (every text at its bound), far
// below what would take the program's memory.
constexpr uint64_t kProjectFileMaxBytes = 16u << 20;

enum class ProjectParseResult { Ok, TooNew, Damaged, TextTooLong, TrailingBytes };

// Reads every field of bytes into data. Damaged: the bytes end inside a
// mandatory field, inside the base-frequency field, or inside the title texts
// once they have begun. TrailingBytes: bytes go on after the title texts,
// which no version writes (a file damaged, or something else appended).
// TextTooLong: a text is longer than kProjectTextLimit once it is UTF-8 (and,
// for files before version 10, once the model name has its present form);
// data.overlongText names it.
ProjectParseResult ParseProjectBytes(const std::string& bytes, ProjectFileData& data);
// Whether text fits the bound of every project text.
inline bool FitsProjectText(const std::string& text)
{
    return text.size() <= kProjectTextLimit;
}

// The version-13 bytes of data (data.version is ignored; every field is written).
std::string BuildProjectBytes(const ProjectFileData& data);

// Item that stored record `record` of group `group` lands on in a file of
// `version` below 10 (item numbers of some groups moved); identity from 10 on.
int RemapProjectItem(uint32_t version, int group, int record, int modelCode);
// Model name of a file below version 10 in today's form: "xx" appended when
// missing, and "D390S-A-B" becomes "D390-A-SB..".
std::string ModerniseModelName(const std::string& name);
