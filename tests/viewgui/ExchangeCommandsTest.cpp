// The project view's export, import and printing commands with their dialogs:
// format choice, file choice (answered without a window), print title and
// print preview.

#include "platform/FileChooser.h"
#include "platform/Workbook.h"
#include "tests/common/GuiTestSupport.h"
#include "tests/viewgui/GuiExchangeTest.h"
#include "view/ExchangeCommands.h"
#include "view/ExportFormatDlg.h"
#include "view/PrintTitleDlg.h"

#include <wx/app.h>
#include <wx/frame.h>
#include <wx/print.h>
#include <wx/radiobut.h>
#include <wx/textctrl.h>

namespace {

class ExchangeCommandsTest : public GuiExchangeTest {
protected:
    void SetUp() override
    {
        GuiExchangeTest::SetUp();
        m_pFrame = new wxFrame(nullptr, wxID_ANY, "project");
        m_pFrame->Show();
        m_commands = std::make_unique<CExchangeCommands>(m_pFrame, m_session, m_doc);
        SetFileChooser([this](const FileChoice& choice, std::string& path) {
            m_requests.push_back(choice);
            if (m_answers.empty())
                return false;
            path = m_answers.front();
            return true;
        });
    }
    void TearDown() override
    {
        SetModalAnswer(nullptr);
        SetFileChooser(nullptr);
        m_commands.reset();
        m_pFrame->Destroy();
        wxTheApp->ProcessIdle();
        GuiExchangeTest::TearDown();
    }

    // The format dialog answered with the given format, or cancelled.
    void AnswerFormat(int format, int result = wxID_OK)
    {
        SetModalAnswer([=](wxDialog* dialog) -> int {
            auto* formatDlg = dynamic_cast<CExportFormatDlg*>(dialog);
            EXPECT_NE(formatDlg, nullptr);
            if (!formatDlg)
                return wxID_CANCEL;
            EXPECT_EQ(formatDlg->GetTitle(), "Export/Import Format");
            formatDlg->TransferDataToWindow();
            int id = format == CExportFormatDlg::kCsv ? CExportFormatDlg::IDC_CSV : CExportFormatDlg::IDC_EXCEL;
            static_cast<wxRadioButton*>(formatDlg->FindWindow(id))->SetValue(true);
            formatDlg->TransferDataFromWindow();
            return result;
        });
    }

    wxFrame* m_pFrame = nullptr;
    std::unique_ptr<CExchangeCommands> m_commands;
    std::vector<FileChoice> m_requests;
    std::vector<std::string> m_answers;
};

} // namespace

TEST_F(ExchangeCommandsTest, ExportAsCsvAsksForTheFormatThenTheFile)
{
    AnswerFormat(CExportFormatDlg::kCsv);
    m_answers = {Path("out")};
    m_commands->OnExportParams();
    ASSERT_EQ(m_requests.size(), 1u);
    EXPECT_TRUE(m_requests[0].save);
    EXPECT_EQ(m_requests[0].filter, "Export File(*.csv)|*.csv");
    // The default extension is added to a name typed without one.
    EXPECT_EQ(ReadFileBytes(Path("out.csv")).substr(0, 18), "Model:D390-1P2-Hxx");
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{"Export success."});
}

TEST_F(ExchangeCommandsTest, ClosingTheFormatDialogOrTheFileDialogExportsNothing)
{
    AnswerFormat(CExportFormatDlg::kCsv, wxID_CANCEL);
    m_commands->OnExportParams();
    EXPECT_TRUE(m_requests.empty());

    AnswerFormat(CExportFormatDlg::kCsv);
    m_commands->OnExportParams(); // the file dialog answers with no file
    EXPECT_EQ(m_requests.size(), 1u);
    EXPECT_TRUE(m_messages.Texts().empty());
}

TEST_F(ExchangeCommandsTest, WorkbookExportNeedsTheTemplateBeforeTheFileIsAsked)
{
    AnswerFormat(CExportFormatDlg::kWorkbook);
    m_answers = {Path("book")};
    m_commands->OnExportParams();
    EXPECT_TRUE(m_requests.empty());
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{"Some a file lost,please setup Kestrolix again."});

    CWorkbook templ;
    CParamExchange::MakeTemplate(templ);
    std::string error;
    ASSERT_TRUE(templ.Save(Path("D390 Parameter.xlsx"), error)) << error;
    m_messages.Clear();
    m_commands->OnExportParams();
    ASSERT_EQ(m_requests.size(), 1u);
    EXPECT_EQ(m_requests[0].filter, "Export File(*.xlsx)|*.xlsx");
    CWorkbook book;
    ASSERT_TRUE(book.Load(Path("book.xlsx"), error)) << error;
    EXPECT_EQ(book.FindSheet("Group0")->Cell(3, 1), "00-00Param 00-00");
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{"Export success."});
}

TEST_F(ExchangeCommandsTest, ImportByExtensionAndItsRefusal)
{
    std::string csv = Path("in.csv");
    ASSERT_TRUE(CParamExchange(m_session, m_doc).ExportCsv(csv));
    Param(0, 0).m_strValue = "edited";
    m_doc.m_Changed[0][0] = 1;
    m_messages.Clear();

    // While auto-refresh runs, no file is even asked for.
    m_session.m_bAutoRefresh = 1;
    EXPECT_FALSE(m_commands->OnImportParams());
    EXPECT_TRUE(m_requests.empty());
    EXPECT_EQ(m_messages.Texts(),
              std::vector<std::string>{"PC software is under auto-refresh,Please stop auto-refresh first!"});
    m_session.m_bAutoRefresh = 0;
    EXPECT_EQ(Param(0, 0).m_strValue, "edited");

    m_messages.Clear();
    m_answers = {Path("notes.txt")};
    EXPECT_FALSE(m_commands->OnImportParams());
    EXPECT_EQ(m_requests.back().filter, "Import File(*.xls;*.xlsx)|*.xls;*.xlsx|Import File(*.csv)|*.csv");
    EXPECT_FALSE(m_requests.back().save);
    EXPECT_TRUE(m_messages.Texts().empty());

    m_answers = {csv};
    EXPECT_TRUE(m_commands->OnImportParams());
    EXPECT_EQ(Param(0, 0).m_strValue, "0.5");
    EXPECT_EQ(m_doc.m_Changed[0][0], 0u);
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{"Import success."});
}

TEST_F(ExchangeCommandsTest, PrintTitleOkStoresTheTextsAndCancelKeepsThem)
{
    m_doc.m_strPrintName = "old name";
    SetModalAnswer([](wxDialog* dialog) -> int {
        auto* titleDlg = dynamic_cast<CPrintTitleDlg*>(dialog);
        EXPECT_NE(titleDlg, nullptr);
        if (!titleDlg)
            return wxID_CANCEL;
        titleDlg->TransferDataToWindow();
        auto* title = static_cast<wxTextCtrl*>(titleDlg->FindWindow(CPrintTitleDlg::IDC_TITLE));
        EXPECT_EQ(title->GetValue(), "Parameter Setting List");
        EXPECT_EQ(static_cast<wxTextCtrl*>(titleDlg->FindWindow(CPrintTitleDlg::IDC_NAME))->GetValue(), "old name");
        title->SetValue("Pump station 3");
        static_cast<wxTextCtrl*>(titleDlg->FindWindow(CPrintTitleDlg::IDC_DEPARTMENT))->SetValue("Service");
        EXPECT_TRUE(titleDlg->TransferDataFromWindow());
        return wxID_OK;
    });
    EXPECT_TRUE(m_commands->OnFilePrintTitle());
    EXPECT_EQ(m_doc.m_strPrintTitle, "Pump station 3");
    EXPECT_EQ(m_doc.m_strPrintName, "old name");
    EXPECT_EQ(m_doc.m_strPrintDepartment, "Service");
    EXPECT_TRUE(m_doc.IsModified());

    m_doc.SetModifiedFlag(false);
    SetModalAnswer([](wxDialog* dialog) -> int {
        dialog->TransferDataToWindow();
        static_cast<wxTextCtrl*>(dialog->FindWindow(CPrintTitleDlg::IDC_TITLE))->SetValue("edited, then cancelled");
        dialog->TransferDataFromWindow();
        return wxID_CANCEL;
    });
    EXPECT_FALSE(m_commands->OnFilePrintTitle());
    EXPECT_EQ(m_doc.m_strPrintTitle, "Pump station 3");
    EXPECT_FALSE(m_doc.IsModified());
}

TEST_F(ExchangeCommandsTest, PrintPreviewOpensAndCloses)
{
    int closed = 0;
    m_commands->m_afterPreview = [&] { ++closed; };
    ASSERT_TRUE(m_commands->OnFilePrintPreview());
    wxPreviewFrame* preview = nullptr;
    for (wxWindow* window : wxTopLevelWindows)
        if (auto* frame = dynamic_cast<wxPreviewFrame*>(window))
            preview = frame;
    ASSERT_NE(preview, nullptr);
    EXPECT_TRUE(preview->IsShown());
    wxTheApp->ProcessIdle();
    EXPECT_TRUE(preview->Close(true));
    wxTheApp->ProcessIdle();
    EXPECT_EQ(closed, 1);
    for (wxWindow* window : wxTopLevelWindows)
        EXPECT_EQ(dynamic_cast<wxPreviewFrame*>(window), nullptr);
}

TEST_F(ExchangeCommandsTest, OverlongTitleFromAProjectFileKeepsTheDialogOpen)
{
    // Typing is limited, but a project file may bring a longer text.
    CPrintTitleDlg dialog(m_pFrame);
    dialog.m_strTitle = std::string(CPrintTitleDlg::kMaxTitle + 5, 'T');
    dialog.m_strName = "name";
    dialog.TransferDataToWindow();
    auto* title = static_cast<wxTextCtrl*>(dialog.FindWindow(CPrintTitleDlg::IDC_TITLE));
    ASSERT_EQ(title->GetValue().length(), CPrintTitleDlg::kMaxTitle + 5u) << "shown whole, not cut unseen";
    // OK: the message, and the dialog stays (it would end only through
    // EndModal, which a failed check never reaches).
    wxCommandEvent click(wxEVT_BUTTON, wxID_OK);
    click.SetEventObject(dialog.FindWindow(wxID_OK));
    dialog.GetEventHandler()->ProcessEvent(click);
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{"Title or name can't be more than 20 bytes!"});
    EXPECT_EQ(dialog.m_strName, "name");
    EXPECT_EQ(dialog.m_strTitle.size(), CPrintTitleDlg::kMaxTitle + 5u);

    // Typing never makes a text longer than its limit.
    auto* name = static_cast<wxTextCtrl*>(dialog.FindWindow(CPrintTitleDlg::IDC_NAME));
    name->SetValue(std::string(CPrintTitleDlg::kMaxName, 'n'));
    name->AppendText("x");
    EXPECT_EQ(name->GetValue().length(), static_cast<std::size_t>(CPrintTitleDlg::kMaxName));

    // Shortened, the title is taken.
    title->SetValue("short");
    EXPECT_TRUE(dialog.TransferDataFromWindow());
    EXPECT_EQ(dialog.m_strTitle, "short");
}
