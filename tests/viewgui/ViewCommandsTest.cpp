// The menu commands reach the project view's handlers: a project of our own
// small table in the running application, exported, imported, previewed and
// titled through the main frame's commands.

#include "controls/CJTreeCtrl.h"
#include "document/D390DocData.h"
#include "platform/FileChooser.h"
#include "platform/ResourceModule.h"
#include "platform/Workbook.h"
#include "res/CommandIds.h"
#include "session/DriveSession.h"
#include "tests/view/ExchangeTestSupport.h"
#include "tests/shellgui/AppFixture.h"
#include "view/D390View.h"
#include "view/ExchangeCommands.h"
#include "view/ExportFormatDlg.h"
#include "view/ParamListModel.h"
#include "view/PrintTitleDlg.h"

#include <wx/log.h>
#include <wx/print.h>
#include <wx/radiobut.h>
#include <wx/textctrl.h>

#include <functional>

namespace {

class ViewCommandsTest : public AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        m_previousLog = wxLog::SetActiveTarget(&m_log);
        ASSERT_TRUE(Start());
        m_folder = MakeTempFolder();
        WriteFileBytes(m_folder + "PARAM.DAT", PlainDefinitionFile());
        WriteFileBytes(m_folder + "IntialParam.DAT", "");
        CWorkbook templ;
        CParamExchange::MakeTemplate(templ);
        std::string error;
        ASSERT_TRUE(templ.Save(m_folder + "D390 Parameter.xlsx", error)) << error;
        // A new project of the application's own template, without the
        // model choice of File New, reading our own program folder.
        ASSERT_NE(m_app->m_pDocTemplate, nullptr);
        wxDocument* doc = m_app->m_pDocTemplate->CreateDocument(wxEmptyString, wxDOC_NEW);
        ASSERT_NE(doc, nullptr);
        m_doc = dynamic_cast<CD390DocData*>(doc);
        ASSERT_NE(m_doc, nullptr);
        m_doc->m_strProgramFolder = m_folder;
        m_doc->m_strModelName = "D390-1P2-Hxx";
        m_doc->m_nModelCode = kPlainModel;
        ASSERT_TRUE(doc->OnNewDocument());
        ASSERT_FALSE(m_doc->m_Groups.empty());
        m_view = dynamic_cast<CD390View*>(doc->GetFirstView());
        ASSERT_NE(m_view, nullptr);
        m_view->Activate(true);
        ASSERT_NE(m_view->GetExchangeCommands(), nullptr);
        SetFileChooser([this](const FileChoice&, std::string& path) {
            path = m_answer;
            return true;
        });
        m_messages.Clear();
    }
    void TearDown() override
    {
        SetFileChooser(nullptr);
        AppFixture::TearDown();
        wxLog::SetActiveTarget(m_previousLog);
    }

    std::string m_folder;
    CD390DocData* m_doc = nullptr; // the application's project document
    CD390View* m_view = nullptr;
    std::string m_answer;
    wxLogStderr m_log;
    wxLog* m_previousLog = nullptr;
};

void AnswerFormat(int format)
{
    SetModalAnswer([=](wxDialog* dialog) -> int {
        int id = format == CExportFormatDlg::kCsv ? CExportFormatDlg::IDC_CSV : CExportFormatDlg::IDC_EXCEL;
        auto* radio = dynamic_cast<wxRadioButton*>(dialog->FindWindow(id));
        EXPECT_NE(radio, nullptr);
        if (!radio)
            return wxID_CANCEL;
        radio->SetValue(true);
        dialog->TransferDataFromWindow();
        return wxID_OK;
    });
}

} // namespace

TEST_F(ViewCommandsTest, ExportAndImportThroughTheMenuCommands)
{
    AnswerFormat(CExportFormatDlg::kWorkbook);
    m_answer = m_folder + "project.xlsx";
    Command(ID_EXPORT_PARAMS);
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{"Export success."});

    AnswerFormat(CExportFormatDlg::kCsv);
    m_answer = m_folder + "project.csv";
    Command(ID_EXPORT_PARAMS);
    EXPECT_EQ(ReadFileBytes(m_answer).substr(0, 18), "Model:D390-1P2-Hxx");

    ASSERT_FALSE(m_doc->m_Groups.empty());
    m_doc->m_Groups[0].m_Params[0].m_strValue = "edited";
    m_doc->SetModifiedFlag(false);
    m_view->GetListModel()->DeleteAllItems();
    m_messages.Clear();
    m_answer = m_folder + "project.xlsx";
    Command(ID_IMPORT_PARAMS);
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{"Import success."});
    EXPECT_EQ(m_doc->m_Groups[0].m_Params[0].m_strValue, "0.5");
    EXPECT_TRUE(m_doc->IsModified());
    // The list is rebuilt: 15 group headings and 45 parameters.
    EXPECT_EQ(m_view->GetListModel()->GetRowCount(), 60);
}

TEST_F(ViewCommandsTest, ImportOfAnotherModelRebuildsTheProjectTree)
{
    WriteFileBytes(m_folder + "PARAMS.DAT", SFamilyDefinitionFile());
    Frame().InitProjectTree(m_doc->m_nModelCode);
    ASSERT_EQ(Frame().m_wndTree->GetCount(), 16u) << "project, parameter, groups 00 to 13";
    m_answer = m_folder + "other.csv";
    WriteFileBytes(m_answer, "Model:D390-1P2-SHxx\r\nParameter Name,Set Value\r\nDate: x,Time: y\r\n00-00a,1");
    Command(ID_IMPORT_PARAMS);
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{"Import success."});
    EXPECT_EQ(m_doc->m_nModelCode, kSFamilyModel);
    // The other family has group 14: the tree offers it.
    EXPECT_EQ(Frame().m_wndTree->GetCount(), 17u);
}

TEST_F(ViewCommandsTest, PrintTitleAndPreviewThroughTheMenuCommands)
{
    SetModalAnswer([](wxDialog* dialog) -> int {
        EXPECT_EQ(dialog->GetTitle(), "Print Title Set");
        dialog->TransferDataToWindow();
        static_cast<wxTextCtrl*>(dialog->FindWindow(CPrintTitleDlg::IDC_NAME))->SetValue("Operator");
        dialog->TransferDataFromWindow();
        return wxID_OK;
    });
    Command(ID_PRINT_TITLE);
    EXPECT_EQ(m_doc->m_strPrintName, "Operator");
    EXPECT_TRUE(m_doc->IsModified());

    Command(ID_FILE_PRINT_PREVIEW);
    wxPreviewFrame* preview = nullptr;
    for (wxWindow* window : wxTopLevelWindows)
        if (auto* frame = dynamic_cast<wxPreviewFrame*>(window))
            preview = frame;
    ASSERT_NE(preview, nullptr);
    EXPECT_TRUE(preview->Close(true));
    m_app->ProcessIdle();
    EXPECT_TRUE(m_messages.Texts().empty());
}

TEST_F(ViewCommandsTest, OpeningAnotherProjectIsRefusedWhileAutoRefreshRuns)
{
    // A project the user could open, were the reader not filling this one.
    m_doc->FindParam(0, 0)->m_strValue = "stored";
    ASSERT_TRUE(m_doc->SaveProjectFile(m_folder + "other.zrv"));
    m_doc->FindParam(0, 0)->m_strValue = "live";
    m_doc->SetModifiedFlag(false);
    int asked = 0;
    SetFileChooser([&](const FileChoice&, std::string& path) {
        ++asked;
        path = m_folder + "other.zrv";
        return true;
    });
    const std::string refused = LoadResString(61576);
    const struct {
        const char* how;
        std::function<void()> open;
    } ways[] = {
        {"File Open", [&] { Command(ID_FILE_OPEN); }},
        // Refused, not failed: the entry stays in the recent list.
        {"a recent project", [&] { EXPECT_TRUE(m_app->OpenRecentProject(m_folder + "other.zrv")); }},
        {"a dropped file", [&] { EXPECT_FALSE(m_app->OpenDroppedProject(m_folder + "other.zrv")); }},
    };
    for (const auto& way : ways) {
        m_messages.Clear();
        m_app->m_pSession->m_bAutoRefresh = 1;
        way.open();
        m_app->m_pSession->m_bAutoRefresh = 0;
        EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{refused}) << way.how;
        EXPECT_EQ(asked, 0) << way.how << ": no file is asked for";
        ASSERT_EQ(m_app->m_pDocManager->GetDocuments().GetCount(), 1u) << way.how;
        EXPECT_EQ(m_app->m_pDocManager->GetDocuments().GetFirst()->GetData(), dynamic_cast<wxDocument*>(m_doc))
            << way.how;
        EXPECT_EQ(m_doc->FindParam(0, 0)->m_strValue, "live") << way.how;
    }

    // Once auto-refresh is off the same command opens the file.
    m_messages.Clear();
    Command(ID_FILE_OPEN);
    EXPECT_EQ(asked, 1);
    ASSERT_EQ(m_app->m_pDocManager->GetDocuments().GetCount(), 1u);
    auto* opened = dynamic_cast<CD390DocData*>(
        static_cast<wxDocument*>(m_app->m_pDocManager->GetDocuments().GetFirst()->GetData()));
    ASSERT_NE(opened, nullptr);
    EXPECT_EQ(opened->m_strProjectPath, m_folder + "other.zrv");
    EXPECT_EQ(opened->FindParam(0, 0)->m_strValue, "stored");
}
