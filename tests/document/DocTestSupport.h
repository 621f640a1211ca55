#pragma once
// A program folder of our own for document tests: a fresh temporary folder,
// helpers that write definition and value files into it, projects that read
// their files from it and tell their requests to recorded main-frame windows,
// and a recorder for message boxes.

#include "document/D390DocData.h"
#include "tests/common/FileBytes.h"
#include "tests/common/MessageRecorder.h"
#include "tests/common/RecordingWindows.h"
#include "tests/common/TestPaths.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

inline std::string Code(int group, int item)
{
    char text[32];
    std::snprintf(text, sizeof text, "%02d-%02d", group, item);
    return text;
}

// A definition file of 15 groups with items 0 .. itemsPerGroup-1 each, every
// factory default "F" and set value "V" unless the item is one that the
// model-dependent mechanisms write.
inline std::string FullDefinitionFile(int itemsPerGroup = 40)
{
    std::string text;
    for (int g = 0; g < 15; ++g) {
        for (int i = 0; i < itemsPerGroup; ++i)
            text += Code(g, i) + "Param " + Code(g, i) + "@F$V*r\r\n";
        text += "#Group " + std::to_string(g) + "\r\n";
    }
    return text;
}

class DocTest : public ::testing::Test {
protected:
    // The folder exists before the members of a derived fixture are made, so
    // that they can be projects of it.
    DocTest()
        : m_folder(MakeTempFolder())
    {
    }
    void TearDown() override { std::filesystem::remove_all(m_folder); }

    // A new project of the test's program folder, with the recorded windows;
    // it lives as long as the test.
    CD390DocData& NewDoc()
    {
        m_docs.push_back(std::make_unique<CD390DocData>(m_windows));
        m_docs.back()->m_strProgramFolder = m_folder;
        return *m_docs.back();
    }

    void Write(const std::string& name, const std::string& bytes) { WriteFileBytes(m_folder + name, bytes); }
    std::string Path(const std::string& name) const { return m_folder + name; }

    // The same full table in the three definition files.
    void WriteAllDefinitionFiles(int itemsPerGroup = 40)
    {
        for (const char* name : {"PARAM.DAT", "PARAMS.DAT", "PARAMSP.DAT"})
            Write(name, FullDefinitionFile(itemsPerGroup));
    }

    std::string m_folder;
    RecordingWindows m_windows;
    MessageRecorder m_messages;

private:
    std::vector<std::unique_ptr<CD390DocData>> m_docs;
};
