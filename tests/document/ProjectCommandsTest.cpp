#include "tests/document/DocTestSupport.h"

#include "document/ProjectFile.h"
#include "platform/ResourceModule.h"
#include "tests/common/HostileFiles.h"

#include <filesystem>

class ProjectCommandsTest : public DocTest {
protected:
    void SetUp() override
    {
        for (const char* name : {"PARAM.DAT", "PARAMS.DAT", "PARAMSP.DAT"})
            Write(name, FullDefinitionFile());
        // 01-01 from row 0: column 17 is "init17", everything else "other".
        std::string row = "R0:";
        for (int c = 0; c < 30; ++c)
            row += (c == 17 ? std::string("init17") : std::string("other")) + ",";
        Write("IntialParam.DAT", row + "\n");
    }

    // A project of the model File New was given.
    CD390DocData& NewRq5Doc()
    {
        CD390DocData& doc = NewDoc();
        doc.m_strModelName = "RQ5 07 A240";
        doc.m_nModelCode = 0x11000C9;
        return doc;
    }
};

TEST_F(ProjectCommandsTest, NewProjectAppliesInitialValuesToSetValues)
{
    CD390DocData& doc = NewRq5Doc();
    ASSERT_TRUE(doc.NewProject());
    EXPECT_EQ(doc.FindParam(1, 1)->m_strValue, "init17");
    EXPECT_EQ(doc.FindParam(1, 1)->m_strFactory, "init17");
    EXPECT_EQ(m_windows.GetStatusPaneText(kPaneFileName), LoadResString(61451) + LoadResString(61458));
    EXPECT_EQ(m_windows.GetStatusPaneText(kPaneModel), LoadResString(61454) + "RQ5 07 A240");
    EXPECT_FALSE(doc.IsModified());
    EXPECT_TRUE(m_messages.Texts().empty());

    std::filesystem::remove(m_folder + "PARAMS.DAT");
    CD390DocData& refused = NewRq5Doc();
    EXPECT_FALSE(refused.NewProject());
    ASSERT_EQ(m_messages.Texts().size(), 1u);
    EXPECT_NE(m_messages.Texts()[0].find(m_folder + "PARAMS.DAT"), std::string::npos);
}

TEST_F(ProjectCommandsTest, SaveAsksForAPathOnlyWhenThereIsNone)
{
    CD390DocData& doc = NewRq5Doc();
    ASSERT_TRUE(doc.NewProject());
    doc.SetModifiedFlag(true);

    EXPECT_FALSE(doc.SaveProject()) << "cancelled";
    EXPECT_EQ(m_windows.m_prompts, 1);
    EXPECT_TRUE(doc.m_strProjectPath.empty());
    EXPECT_TRUE(doc.IsModified());

    m_windows.m_promptAnswer = m_folder + "first.zrv";
    ASSERT_TRUE(doc.SaveProject());
    EXPECT_EQ(m_windows.m_prompts, 2);
    EXPECT_EQ(doc.m_strProjectPath, m_folder + "first.zrv");
    EXPECT_TRUE(std::filesystem::exists(m_folder + "first.zrv"));
    EXPECT_EQ(m_windows.m_recent, (std::vector<std::string>{m_folder + "first.zrv"}));
    EXPECT_EQ(m_windows.m_title, "first.zrv");
    EXPECT_EQ(m_windows.GetStatusPaneText(kPaneFileName), LoadResString(61451) + "first.zrv");
    EXPECT_FALSE(doc.IsModified());

    m_windows.m_promptAnswer = m_folder + "unused.zrv";
    ASSERT_TRUE(doc.SaveProject());
    EXPECT_EQ(m_windows.m_prompts, 2) << "the project has a path now";
    EXPECT_FALSE(std::filesystem::exists(m_folder + "unused.zrv"));

    m_windows.m_promptAnswer = m_folder + "second.zrv";
    ASSERT_TRUE(doc.SaveProjectAs());
    EXPECT_EQ(m_windows.m_prompts, 3);
    EXPECT_EQ(doc.m_strProjectPath, m_folder + "second.zrv");

    m_windows.m_promptAnswer.clear();
    EXPECT_FALSE(doc.SaveProjectAs());
    EXPECT_EQ(doc.m_strProjectPath, m_folder + "second.zrv") << "a cancelled Save As keeps the path";
    EXPECT_TRUE(m_messages.Texts().empty());
}

TEST_F(ProjectCommandsTest, AFailedSaveIsReportedAndForgetsThePath)
{
    CD390DocData& doc = NewRq5Doc();
    ASSERT_TRUE(doc.NewProject());
    doc.m_strProjectPath = m_folder + "missing/folder.zrv";
    doc.SetModifiedFlag(true);
    EXPECT_FALSE(doc.SaveProject());
    ASSERT_EQ(m_messages.Texts().size(), 1u);
    EXPECT_NE(m_messages.Texts()[0].find(m_folder + "missing/folder.zrv"), std::string::npos);
    EXPECT_TRUE(doc.m_strProjectPath.empty());
    EXPECT_TRUE(doc.IsModified());
    EXPECT_TRUE(m_windows.m_recent.empty());
}

TEST_F(ProjectCommandsTest, SaveModifiedAsksYesNoCancel)
{
    CD390DocData& doc = NewRq5Doc();
    ASSERT_TRUE(doc.NewProject());
    EXPECT_TRUE(doc.SaveModified());
    EXPECT_TRUE(m_messages.Texts().empty()) << "an unmodified project closes without asking";

    struct Case {
        int answer;
        const char* path;    // project path before
        const char* prompt;  // answer of the save dialog; "" cancels
        bool closes;
        bool saved;
    } cases[] = {
        {IDNO, "", "", true, false},
        {IDCANCEL, "", "", false, false},
        {IDYES, "", "", false, false},
        {IDYES, "", "asked.zrv", true, true},
        {IDYES, "known.zrv", "", true, true},
    };
    for (const Case& c : cases) {
        m_messages.Clear();
        doc.m_strProjectPath = *c.path ? m_folder + c.path : "";
        m_windows.m_promptAnswer = *c.prompt ? m_folder + c.prompt : "";
        std::filesystem::remove(m_folder + "asked.zrv");
        std::filesystem::remove(m_folder + "known.zrv");
        doc.SetModifiedFlag(true);
        m_messages.Answer(c.answer);
        EXPECT_EQ(doc.SaveModified(), c.closes) << c.answer << " " << c.path << " " << c.prompt;
        ASSERT_EQ(m_messages.Messages().size(), 1u);
        EXPECT_EQ(m_messages.Messages()[0].text, LoadResString(61536));
        EXPECT_EQ(m_messages.Messages()[0].type & MB_TYPEMASK, unsigned(MB_YESNOCANCEL));
        bool saved = std::filesystem::exists(m_folder + "asked.zrv") || std::filesystem::exists(m_folder + "known.zrv");
        EXPECT_EQ(saved, c.saved) << c.answer << " " << c.path << " " << c.prompt;
    }
}

TEST_F(ProjectCommandsTest, OpenKeepsStoredValuesAndRenewsFactoryDefaults)
{
    CD390DocData& source = NewRq5Doc();
    ASSERT_TRUE(source.NewProject());
    source.FindParam(1, 1)->m_strValue = "stored";
    ASSERT_TRUE(source.SaveProjectFile(m_folder + "p.zrv"));

    CD390DocData& doc = NewDoc();
    doc.m_strModelName = "D390-2P5-Hxx";
    doc.m_nModelCode = 1205;
    ASSERT_TRUE(doc.OpenProject(m_folder + "p.zrv"));
    EXPECT_EQ(doc.FindParam(1, 1)->m_strValue, "stored");
    EXPECT_EQ(doc.FindParam(1, 1)->m_strFactory, "init17");
    EXPECT_EQ(doc.m_bApplyInitParams, 1);
    EXPECT_EQ(doc.m_strProjectPath, m_folder + "p.zrv");
    EXPECT_EQ(doc.m_nModelCode, 0x11000C9);
    EXPECT_EQ(m_windows.GetStatusPaneText(kPaneFileName), LoadResString(61451) + "p.zrv");
    EXPECT_EQ(m_windows.GetStatusPaneText(kPaneModel), LoadResString(61454) + "RQ5 07 A240");
    EXPECT_EQ(m_windows.m_treeBuilds, 1);
    EXPECT_EQ(m_windows.m_treeModel, 0x11000C9) << "the tree of the opened project's model";
    EXPECT_TRUE(m_messages.Texts().empty());
}

TEST_F(ProjectCommandsTest, AFailedOpenChangesNothing)
{
    WriteFileBytes(m_folder + "bad.zrv", std::string("\x0D\0\0\0\x05\0\0\0RQ5", 11));
    CD390DocData& doc = NewRq5Doc();
    doc.m_strProjectPath = m_folder + "open.zrv";
    doc.m_nGraphSel[2] = 7;
    doc.m_nFreqIndex = 1;
    EXPECT_FALSE(doc.OpenProject(m_folder + "bad.zrv"));
    EXPECT_EQ(m_messages.Texts(), (std::vector<std::string>{LoadResString(61579)}));
    EXPECT_EQ(doc.m_strProjectPath, m_folder + "open.zrv");
    EXPECT_EQ(doc.m_strModelName, "RQ5 07 A240");
    EXPECT_EQ(doc.m_nGraphSel[2], 7);
    EXPECT_EQ(doc.m_nFreqIndex, 1);
    EXPECT_EQ(m_windows.m_treeBuilds, 0);
}

namespace {

// Everything an open may change.
std::string ProjectState(const CD390DocData& doc)
{
    std::string state = doc.m_strModelName + "|" + std::to_string(doc.m_nModelCode) + "|" + doc.m_strProjectPath + "|"
                        + (doc.IsModified() ? "M" : "-") + "|" + std::to_string(doc.m_nFreqIndex) + "|"
                        + doc.m_strPrintTitle + "\n";
    for (int channel = 0; channel < 4; ++channel)
        state += std::to_string(doc.m_nGraphSel[channel]) + doc.m_strGraphSource[channel] + doc.m_strGraphMax[channel] + "\n";
    for (const GroupRec& group : doc.m_Groups)
        for (const ParamRec& param : group.m_Params)
            state += param.m_strLabel + "=" + param.m_strValue + "/" + param.m_strFactory + "\n";
    return state;
}

} // namespace

TEST_F(ProjectCommandsTest, WhatIsNoProjectFileIsRefusedUnreadNamingItAndTheOpenProjectStays)
{
    CD390DocData& source = NewRq5Doc();
    ASSERT_TRUE(source.NewProject());
    source.FindParam(1, 1)->m_strValue = "stored";
    ASSERT_TRUE(source.SaveProjectFile(m_folder + "good.zrv"));
    const std::string good = ReadFileBytes(m_folder + "good.zrv");

    CD390DocData& doc = NewRq5Doc();
    ASSERT_TRUE(doc.NewProject());
    doc.FindParam(2, 3)->m_strValue = "unsaved edit";
    doc.m_strProjectPath = m_folder + "open.zrv";
    doc.m_nGraphSel[2] = 7;
    doc.SetModifiedFlag(true);
    const std::string before = ProjectState(doc);
    m_messages.Clear();

    const std::string path = m_folder + "named.zrv";
    for (Hostile kind : kHostileKinds) {
        SCOPED_TRACE(HostileName(kind));
        ASSERT_TRUE(MakeHostile(kind, path, good));
        FifoRescue rescue(path);
        EXPECT_FALSE(doc.OpenProject(path));
        EXPECT_FALSE(rescue.Rescued()) << "the open waited for a writer";
        const char* reason = kind == Hostile::Fifo            ? "it is a FIFO, not a file"
                             : kind == Hostile::LinkToDevZero ? "it is a device, not a file"
                             : kind == Hostile::Folder        ? "it is a folder, not a file"
                                                              : "it is larger than 16 MB";
        EXPECT_EQ(m_messages.Texts(),
                  std::vector<std::string>{path + " was not read: " + reason + ". Nothing was changed."});
        EXPECT_EQ(ProjectState(doc), before);
        EXPECT_EQ(m_windows.m_treeBuilds, 0);
        m_messages.Clear();
        RemoveHostile(path);
    }

    // Bytes after the end of a project: no version writes them, so the file
    // is damaged or something else was appended.
    for (const std::string& tail : {std::string(1, '\0'), std::string(4096, '\0'), std::string("appended text")}) {
        WriteFileBytes(path, good + tail);
        EXPECT_FALSE(doc.OpenProject(path));
        EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{"The project cannot be opened: " + path
                                                               + " goes on after the end of a project and may be damaged."});
        EXPECT_EQ(ProjectState(doc), before);
        m_messages.Clear();
    }
    ASSERT_TRUE(doc.OpenProject(m_folder + "good.zrv"));
    EXPECT_EQ(doc.FindParam(1, 1)->m_strValue, "stored");
}

TEST_F(ProjectCommandsTest, TheLargestProjectTheProgramWritesOpens)
{
    // A full table of 15 groups of 100 parameters, every text at its bound.
    for (const char* name : {"PARAM.DAT", "PARAMS.DAT", "PARAMSP.DAT"})
        Write(name, FullDefinitionFile(100));
    CD390DocData& source = NewRq5Doc();
    ASSERT_TRUE(source.NewProject());
    const std::string full(kProjectTextLimit, 'v');
    for (GroupRec& group : source.m_Groups)
        for (ParamRec& param : group.m_Params)
            param.m_strValue = full;
    for (int channel = 0; channel < 4; ++channel)
        source.m_strGraphSource[channel] = source.m_strGraphMax[channel] = source.m_strGraphMin[channel] = full;
    source.m_strPrintTitle = source.m_strPrintName = source.m_strPrintDepartment = full;
    ASSERT_TRUE(source.SaveProjectFile(m_folder + "largest.zrv"));
    EXPECT_GT(ReadFileBytes(m_folder + "largest.zrv").size(), 6000000u);

    CD390DocData& doc = NewDoc();
    ASSERT_TRUE(doc.OpenProject(m_folder + "largest.zrv")) << (m_messages.Texts().empty() ? "" : m_messages.Texts()[0]);
    EXPECT_EQ(doc.FindParam(14, 99)->m_strValue, full);
    EXPECT_EQ(doc.m_strPrintDepartment, full);
}

TEST_F(ProjectCommandsTest, ATableBesideTheProgramThatIsNoFileIsNotWaitedOn)
{
    for (Hostile kind : {Hostile::Fifo, Hostile::LinkToDevZero}) {
        SCOPED_TRACE(HostileName(kind));
        ASSERT_TRUE(MakeHostile(kind, m_folder + "PARAMS.DAT", ""));
        FifoRescue rescue(m_folder + "PARAMS.DAT");
        CD390DocData& doc = NewRq5Doc();
        EXPECT_FALSE(doc.NewProject());
        EXPECT_FALSE(rescue.Rescued());
        ASSERT_EQ(m_messages.Texts().size(), 1u);
        EXPECT_NE(m_messages.Texts()[0].find(m_folder + "PARAMS.DAT"), std::string::npos);
        m_messages.Clear();
        RemoveHostile(m_folder + "PARAMS.DAT");
    }
}
