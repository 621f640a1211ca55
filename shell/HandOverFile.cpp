#include "shell/HandOverFile.h"

#include <cstdio>
#include <fstream>

bool TakeHandOverFile(const std::string& path, HandOverJob& job)
{
    job = {};
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return false;
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
    file.close();
    std::remove(path.c_str());
    return true;
}
