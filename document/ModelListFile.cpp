#include "document/ModelListFile.h"

#include "platform/RegularFile.h"
#include "platform/TextEncoding.h"

#include <fstream>
#include <sstream>

namespace {

// The marker is part of the file format, not a text of the user interface, so
// it is matched literally whatever the language of the string table.
constexpr const char kTypeMarker[] = "TYPE:";
constexpr std::size_t kTypeMarkerLength = sizeof(kTypeMarker) - 1;
constexpr std::size_t kShortestLine = 5;

std::string Trim(const std::string& text)
{
    const char* blanks = " \t\r\n\f\v";
    std::size_t first = text.find_first_not_of(blanks);
    if (first == std::string::npos)
        return {};
    std::size_t last = text.find_last_not_of(blanks);
    return text.substr(first, last - first + 1);
}

} // namespace

ModelList ParseModelList(const std::string& text)
{
    ModelList list;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = Trim(text.substr(start, end - start));
        start = end + 1;
        if (line.size() < kShortestLine)
            continue;
        if (line.compare(0, kTypeMarkerLength, kTypeMarker) == 0) {
            // The name runs up to the closing character at the end of the line.
            std::size_t nameLength = line.size() > kTypeMarkerLength + 1 ? line.size() - kTypeMarkerLength - 1 : 0;
            list.names.push_back(line.substr(kTypeMarkerLength, nameLength));
            list.descriptions.emplace_back();
            continue;
        }
        if (list.descriptions.empty())
            continue; // no model to describe yet
        list.descriptions.back() += line + "\r\n";
    }
    return list;
}

bool ReadModelListFile(const std::string& path, ModelList& list)
{
    list = {};
    // A list of models is a few kilobytes: only a regular file, and not one
    // far larger than that, is read.
    FileRules rules;
    rules.maxBytes = 16u << 20;
    std::string text;
    std::string reason;
    if (ReadRegularFile(path, rules, text, reason) != FileCheck::Ok)
        return false;
    // A list written by the Windows tools may be in code page 936.
    list = ParseModelList(ToUtf8FromFile(text));
    return true;
}
