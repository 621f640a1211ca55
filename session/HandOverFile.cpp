#include "session/HandOverFile.h"

#include "platform/OwnFileRead.h"

#include <cstdio>
#include <sstream>

namespace {

// Six short lines; a path of a few kilobytes at most.
constexpr std::size_t kHandOverFileBound = 16 * 1024;

} // namespace

bool TakeHandOverFile(const std::string& path, HandOverJob& job)
{
    job = {};
    OwnFileRules rules;
    rules.maxBytes = kHandOverFileBound;
    std::string content;
    std::string reason;
    OwnFileRead result = ReadOwnFile(path, rules, content, reason);
    if (result == OwnFileRead::Missing)
        return false;
    if (result != OwnFileRead::Read)
        ReportIgnoredFile(path, reason);
    // Only the user's own file is removed: what someone else put in the shared
    // folder is neither read nor touched.
    if (result == OwnFileRead::Read || result == OwnFileRead::TooLarge)
        std::remove(path.c_str());
    if (result != OwnFileRead::Read)
        return false;

    std::istringstream file(content);
    std::string line;
    bool first = true;
    while (std::getline(file, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (first) {
            job.job = line == "1" ? 1 : line == "2" ? 2 : 0;
            first = false;
        } else {
            job.lines.push_back(line);
        }
    }
    return true;
}
