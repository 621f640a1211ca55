// The framework's document around the window-free project: created through a
// document template as the application does, commands routed through a view.

#include "document/D390Doc.h"
#include "platform/ResourceModule.h"
#include "session/DriveSession.h"
#include "tests/common/MessageRecorder.h"
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

class FakeFrame : public CDriveSession {
public:
    int PromptSaveProjectFile(std::string& path) override
    {
        ++m_prompts;
        path = m_answer;
        return m_answer.empty() ? 0 : 1;
    }
    std::string m_answer;
    int m_prompts = 0;
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
        m_frame.m_strProgramFolder = m_folder;
        m_frame.m_strModelName = "D390-2P5-Hxx";
        m_frame.m_nModelCode = 1205;
        SetMainFrameState(&m_frame);
        WriteBytes(m_folder + "PARAM.DAT", Definitions());
        WriteBytes(m_folder + "IntialParam.DAT", "");
        // Framework log messages go to the test output, never to a window.
        m_previousLog = wxLog::SetActiveTarget(&m_log);
        m_manager = new wxDocManager;
        new wxDocTemplate(m_manager, "Project", "*.zrv", "", "zrv", "Project", "Project View",
                          CLASSINFO(CD390Doc), CLASSINFO(BareView));
    }
    void TearDown() override
    {
        m_manager->CloseDocuments(true);
        delete m_manager;
        wxLog::FlushActive();
        wxLog::SetActiveTarget(m_previousLog);
        SetMainFrameState(nullptr);
        std::filesystem::remove_all(m_folder);
    }

    CD390Doc* NewDoc()
    {
        return dynamic_cast<CD390Doc*>(m_manager->CreateDocument("", wxDOC_NEW));
    }

    std::string m_folder;
    FakeFrame m_frame;
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
    m_frame.m_answer = m_folder + "saved.zrv";

    wxCommandEvent save(wxEVT_MENU, ID_FILE_SAVE);
    view->ProcessEvent(save);
    EXPECT_EQ(m_frame.m_prompts, 1);
    EXPECT_TRUE(std::filesystem::exists(m_folder + "saved.zrv"));
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(doc->GetFilename().utf8_string(), m_folder + "saved.zrv");
    EXPECT_EQ(doc->GetTitle(), "saved.zrv");

    m_frame.m_answer = m_folder + "other.zrv";
    wxCommandEvent saveAs(wxEVT_MENU, ID_FILE_SAVE_AS);
    view->ProcessEvent(saveAs);
    EXPECT_EQ(m_frame.m_prompts, 2);
    EXPECT_EQ(m_frame.m_strProjectPath, m_folder + "other.zrv");
}

TEST_F(D390DocTest, OpenLoadsOrRefusesWithoutTouchingTheFrame)
{
    CD390Doc* source = NewDoc();
    ASSERT_NE(source, nullptr);
    source->FindParam(3, 3)->m_strValue = "stored";
    ASSERT_TRUE(source->SaveProjectFile(m_folder + "good.zrv"));
    m_manager->CloseDocuments(true);

    WriteBytes(m_folder + "bad.zrv", std::string("\x0E\0\0\0", 4));
    m_frame.m_strProjectPath = m_folder + "previous.zrv";
    EXPECT_EQ(m_manager->CreateDocument(m_folder + "bad.zrv", wxDOC_SILENT), nullptr);
    EXPECT_EQ(m_messages.Texts(), (std::vector<std::string>{LoadResString(61582)}));
    EXPECT_EQ(m_frame.m_strProjectPath, m_folder + "previous.zrv");
    EXPECT_TRUE(m_manager->GetDocuments().empty());

    auto* doc = dynamic_cast<CD390Doc*>(m_manager->CreateDocument(m_folder + "good.zrv", wxDOC_SILENT));
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(doc->FindParam(3, 3)->m_strValue, "stored");
    EXPECT_EQ(m_frame.m_strProjectPath, m_folder + "good.zrv");
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(doc->GetTitle(), "good.zrv");
}
