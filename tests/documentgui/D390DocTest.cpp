// The framework's document around the window-free project: created through a
// document template as the application does, commands routed through a view.

#include "document/D390Doc.h"
#include "platform/ResourceModule.h"
#include "tests/common/MessageRecorder.h"
#include "tests/common/RecordingWindows.h"
#include "tests/common/TestPaths.h"

#include <gtest/gtest.h>
#include <wx/docview.h>
#include <wx/log.h>

#include <filesystem>
#include <fstream>

namespace {

class BareView : public wxView {
public:
    void OnDraw(wxDC*) override {}
    bool OnCreate(wxDocument*, long) override { return true; }
    wxDECLARE_DYNAMIC_CLASS(BareView);
};
wxIMPLEMENT_DYNAMIC_CLASS(BareView, wxView);

// Makes projects the way the application's template does: with the main
// frame's windows, the program folder and the model of File New.
class ProjectTemplate : public wxDocTemplate {
public:
    ProjectTemplate(wxDocManager* manager, CFrameWindows& windows, std::string folder)
        : wxDocTemplate(manager, "Project", "*.zrv", "", "zrv", "Project", "Project View", CLASSINFO(CD390Doc),
                        CLASSINFO(BareView)),
          m_windows(windows), m_folder(std::move(folder))
    {
    }

protected:
    wxDocument* DoCreateDocument() override
    {
        auto* doc = new CD390Doc(m_windows);
        doc->m_strProgramFolder = m_folder;
        doc->m_strModelName = "D390-2P5-Hxx";
        doc->m_nModelCode = 1205;
        return doc;
    }

private:
    CFrameWindows& m_windows;
    std::string m_folder;
};

void WriteBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string Definitions()
{
    std::string text;
    for (int g = 0; g < 15; ++g) {
        char code[32];
        for (int i = 0; i < 20; ++i) {
            std::snprintf(code, sizeof code, "%02d-%02d", g, i);
            text += std::string(code) + "P@F$V*\n";
        }
        text += "#Group\n";
    }
    return text;
}

} // namespace

class D390DocTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_folder = MakeTempFolder();
        WriteBytes(m_folder + "PARAM.DAT", Definitions());
        WriteBytes(m_folder + "IntialParam.DAT", "");
        // Framework log messages go to the test output, never to a window.
        m_previousLog = wxLog::SetActiveTarget(&m_log);
        m_manager = new wxDocManager;
        new ProjectTemplate(m_manager, m_windows, m_folder);
    }
    void TearDown() override
    {
        m_manager->CloseDocuments(true);
        delete m_manager;
        wxLog::FlushActive();
        wxLog::SetActiveTarget(m_previousLog);
        std::filesystem::remove_all(m_folder);
    }

    CD390Doc* NewDoc()
    {
        return dynamic_cast<CD390Doc*>(m_manager->CreateDocument("", wxDOC_NEW));
    }

    std::string m_folder;
    RecordingWindows m_windows;
    MessageRecorder m_messages;
    wxDocManager* m_manager = nullptr;
    wxLogStderr m_log;
    wxLog* m_previousLog = nullptr;
};

TEST_F(D390DocTest, NewDocumentBuildsTheTableAndSharesTheModifiedFlag)
{
    CD390Doc* doc = NewDoc();
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(doc->m_Groups.size(), 15u);
    EXPECT_FALSE(doc->IsModified());
    doc->Modify(true);
    EXPECT_TRUE(static_cast<CD390DocData*>(doc)->IsModified());
    static_cast<CD390DocData*>(doc)->SetModifiedFlag(false);
    EXPECT_FALSE(doc->wxDocument::IsModified());
    EXPECT_TRUE(m_messages.Texts().empty());
}

TEST_F(D390DocTest, NewDocumentIsRefusedWithoutDefinitionFile)
{
    std::filesystem::remove(m_folder + "PARAM.DAT");
    EXPECT_EQ(NewDoc(), nullptr);
    ASSERT_EQ(m_messages.Texts().size(), 1u);
    EXPECT_NE(m_messages.Texts()[0].find("PARAM.DAT"), std::string::npos);
    EXPECT_TRUE(m_manager->GetDocuments().empty());
}

TEST_F(D390DocTest, SaveCommandsReachTheDocumentThroughItsView)
{
    CD390Doc* doc = NewDoc();
    ASSERT_NE(doc, nullptr);
    wxView* view = doc->GetFirstView();
    ASSERT_NE(view, nullptr);
    doc->Modify(true);
    m_windows.m_promptAnswer = m_folder + "saved.zrv";

    wxCommandEvent save(wxEVT_MENU, ID_FILE_SAVE);
    view->ProcessEvent(save);
    EXPECT_EQ(m_windows.m_prompts, 1);
    EXPECT_TRUE(std::filesystem::exists(m_folder + "saved.zrv"));
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(doc->GetFilename().utf8_string(), m_folder + "saved.zrv");
    EXPECT_EQ(doc->GetTitle(), "saved.zrv");

    m_windows.m_promptAnswer = m_folder + "other.zrv";
    wxCommandEvent saveAs(wxEVT_MENU, ID_FILE_SAVE_AS);
    view->ProcessEvent(saveAs);
    EXPECT_EQ(m_windows.m_prompts, 2);
    EXPECT_EQ(doc->m_strProjectPath, m_folder + "other.zrv");
    EXPECT_EQ(doc->GetTitle(), "other.zrv");
    EXPECT_EQ(m_windows.GetStatusPaneText(kPaneFileName), LoadResString(61451) + "other.zrv");
}

TEST_F(D390DocTest, OpenLoadsOrRefusesWithoutTouchingTheOpenProject)
{
    CD390Doc* source = NewDoc();
    ASSERT_NE(source, nullptr);
    source->FindParam(3, 3)->m_strValue = "stored";
    ASSERT_TRUE(source->SaveProjectFile(m_folder + "good.zrv"));
    m_manager->CloseDocuments(true);
    const std::string paneBefore = m_windows.GetStatusPaneText(kPaneFileName);

    WriteBytes(m_folder + "bad.zrv", std::string("\x0E\0\0\0", 4));
    EXPECT_EQ(m_manager->CreateDocument(m_folder + "bad.zrv", wxDOC_SILENT), nullptr);
    EXPECT_EQ(m_messages.Texts(), (std::vector<std::string>{LoadResString(61582)}));
    EXPECT_EQ(m_windows.GetStatusPaneText(kPaneFileName), paneBefore);
    EXPECT_EQ(m_windows.m_treeBuilds, 0);
    EXPECT_TRUE(m_manager->GetDocuments().empty());

    auto* doc = dynamic_cast<CD390Doc*>(m_manager->CreateDocument(m_folder + "good.zrv", wxDOC_SILENT));
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(doc->FindParam(3, 3)->m_strValue, "stored");
    EXPECT_EQ(doc->m_strProjectPath, m_folder + "good.zrv");
    EXPECT_EQ(m_windows.GetStatusPaneText(kPaneFileName), LoadResString(61451) + "good.zrv");
    EXPECT_EQ(m_windows.m_treeBuilds, 1);
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(doc->GetTitle(), "good.zrv");

    // A second project that fails to open leaves the open one as it was.
    m_messages.Clear();
    EXPECT_EQ(m_manager->CreateDocument(m_folder + "bad.zrv", wxDOC_SILENT), nullptr);
    EXPECT_EQ(m_messages.Texts(), (std::vector<std::string>{LoadResString(61582)}));
    EXPECT_EQ(doc->m_strProjectPath, m_folder + "good.zrv");
    EXPECT_EQ(m_windows.GetStatusPaneText(kPaneFileName), LoadResString(61451) + "good.zrv");
    EXPECT_EQ(m_windows.m_treeBuilds, 1);
    EXPECT_EQ(m_manager->GetDocuments().GetCount(), 1u);
}
