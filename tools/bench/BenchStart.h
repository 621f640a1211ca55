#pragma once
// What the benchmarks that show windows do first: the string table from the
// program's folder, and message boxes answered OK with their text printed, so
// that a failure in the middle of a measurement is seen, not waited on.

#include "platform/MessageBox.h"
#include "platform/ProgramFolder.h"
#include "platform/ResourceModule.h"

#include <cstdio>
#include <string>

inline bool StartBench()
{
    const std::string folder = ExecutableFolder();
    if (!LoadResourceModule(folder)) {
        std::fprintf(stderr, "no resource module in %s\n", folder.c_str());
        return false;
    }
    SetMessageHandler([](const std::string& text, unsigned) {
        std::fprintf(stderr, "message: %s\n", text.c_str());
        return IDOK;
    });
    return true;
}
