// Commands of the main window that do what they say: the open project chosen
// again from the recent list, the titles on every road, Print Setup, and the
// toolbar following the menus.

#include "platform/ResourceModule.h"
#include "session/DriveSession.h"
#include "session/RecentFileList.h"
#include "tests/shellgui/MainWindowFixture.h"
#include "view/ExchangeCommands.h"
#include "view/D390Printout.h"

#include <wx/cmndata.h>
#include <wx/printdlg.h>
#include <wx/prntbase.h>
#include <wx/toolbar.h>

#include <filesystem>

namespace fs = std::filesystem;

namespace {

class MainWindowCommandsTest : public MainWindowFixture {
protected:
    std::string TabTitle() { return Frame().GetActiveProjectFrame()->GetTitle().utf8_string(); }
    std::string MainTitle() { return Frame().GetTitle().utf8_string(); }

    wxFrame* FindPreview()
    {
        for (wxWindow* window : wxTopLevelWindows)
            if (auto* preview = dynamic_cast<wxPreviewFrame*>(window); preview && !preview->IsBeingDeleted())
                return preview;
        return nullptr;
    }
};

TEST_F(MainWindowCommandsTest, TheOpenProjectChosenFromTheRecentListIsKeptOrOpenedAnew)
{
    ASSERT_TRUE(Start());
    const std::string path = SaveProject("self.zrv", "12.34");
    ASSERT_TRUE(fs::exists(path));
    ASSERT_EQ(m_app->m_pRecentFileList->GetEntry(0), path);
    wxDocument* saved = View()->GetDocument();
    m_messages.Clear();

    // As its file holds it: nothing to ask, nothing opened.
    Command(ID_FILE_MRU_FILE1);
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{});
    EXPECT_EQ(View()->GetDocument(), saved);

    // Modified, Cancel: the edit and its mark stay.
    Doc()->FindParam(0, 1)->m_strValue = "99.99";
    saved->Modify(true);
    EXPECT_EQ(TabTitle(), "self.zrv*");
    m_messages.Answer(IDCANCEL);
    Command(ID_FILE_MRU_FILE1);
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{LoadResString(61536)});
    EXPECT_EQ(View()->GetDocument(), saved);
    EXPECT_EQ(Doc()->FindParam(0, 1)->m_strValue, "99.99");
    EXPECT_TRUE(saved->IsModified());
    EXPECT_EQ(TabTitle(), "self.zrv*");
    EXPECT_EQ(MainTitle(), "D390 - self.zrv*");

    // No: the project as its file holds it, unmodified.
    m_messages.Clear();
    m_messages.Answer(IDNO);
    Command(ID_FILE_MRU_FILE1);
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{LoadResString(61536)});
    ASSERT_EQ(m_app->m_pDocManager->GetDocumentsVector().size(), 1u);
    ASSERT_NE(Doc(), nullptr);
    EXPECT_EQ(Doc()->FindParam(0, 1)->m_strValue, "12.34");
    EXPECT_FALSE(View()->GetDocument()->IsModified());
    EXPECT_EQ(TabTitle(), "self.zrv");
    EXPECT_EQ(MainTitle(), "D390 - self.zrv");
    EXPECT_EQ(m_app->m_pRecentFileList->GetEntry(0), path);
    EXPECT_GT(Frame().m_wndTree->GetCount(), 0u);

    // Modified, Yes: saved, and then it stands as its file holds it.
    wxDocument* reopened = View()->GetDocument();
    Doc()->FindParam(0, 1)->m_strValue = "55.55";
    reopened->Modify(true);
    m_messages.Clear();
    m_messages.Answer(IDYES);
    Command(ID_FILE_MRU_FILE1);
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{LoadResString(61536)});
    EXPECT_EQ(View()->GetDocument(), reopened);
    EXPECT_FALSE(reopened->IsModified());
    EXPECT_EQ(TabTitle(), "self.zrv");
    m_messages.Answer(IDNO);
    reopened->Modify(true);
    Command(ID_FILE_MRU_FILE1);
    EXPECT_EQ(Doc()->FindParam(0, 1)->m_strValue, "55.55") << "the value saved by Yes";
}

TEST_F(MainWindowCommandsTest, TitleAndTabFollowTheOpenProjectAndItsMark)
{
    ASSERT_TRUE(Start());
    const std::string first = SaveProject("first.zrv", "1.00");
    SaveProject("second.zrv", "2.00");
    EXPECT_EQ(MainTitle(), "D390 - second.zrv");

    // File > Open of another project.
    m_path = first;
    Command(ID_FILE_OPEN);
    ASSERT_EQ(Doc()->m_strProjectPath, first);
    EXPECT_EQ(TabTitle(), "first.zrv");
    EXPECT_EQ(MainTitle(), "D390 - first.zrv");

    View()->GetDocument()->Modify(true);
    EXPECT_EQ(TabTitle(), "first.zrv*");
    EXPECT_EQ(MainTitle(), "D390 - first.zrv*");

    // Print Preview opened and closed: the project is still modified.
    Command(ID_FILE_PRINT_PREVIEW);
    wxFrame* preview = FindPreview();
    ASSERT_NE(preview, nullptr) << "no preview; messages: " << ::testing::PrintToString(m_messages.Texts());
    preview->Close();
    Pump(200);
    EXPECT_EQ(FindPreview(), nullptr);
    EXPECT_EQ(TabTitle(), "first.zrv*");
    EXPECT_EQ(MainTitle(), "D390 - first.zrv*");

    // A new project after it, and none.
    m_messages.Answer(IDNO);
    Command(ID_FILE_NEW);
    EXPECT_EQ(TabTitle(), LoadResString(61458));
    EXPECT_EQ(MainTitle(), "D390 - " + LoadResString(61458));
    Command(ID_FILE_CLOSE);
    EXPECT_EQ(MainTitle(), "D390");
}

TEST_F(MainWindowCommandsTest, PrintSetupOpensThePageSetupAndPrintingTakesItsChoice)
{
    StartWithProject();
    EXPECT_TRUE(IsEnabled(ID_FILE_PRINT_SETUP));
    std::string shownClass;
    m_answer = [&](wxDialog* dialog) {
        auto* setup = dynamic_cast<wxPageSetupDialogBase*>(dialog);
        if (!setup)
            return int(wxID_CANCEL);
        shownClass = wxString(dialog->GetClassInfo()->GetClassName()).utf8_string();
        // What the user chooses in it: landscape A5.
        setup->GetPageSetupDialogData().GetPrintData().SetOrientation(wxLANDSCAPE);
        setup->GetPageSetupDialogData().GetPrintData().SetPaperId(wxPAPER_A5);
        return int(wxID_OK);
    };
    Command(ID_FILE_PRINT_SETUP);
    EXPECT_EQ(shownClass, "wxGtkPageSetupDialog") << "the desktop's own page setup";
    EXPECT_EQ(Frame().GetPageSetupData().GetPrintData().GetOrientation(), wxLANDSCAPE);

    // The open project's printing and preview, and a project opened later.
    for (int round = 0; round < 2; ++round) {
        CExchangeCommands* exchange = View()->GetExchangeCommands();
        ASSERT_NE(exchange, nullptr);
        const wxPrintData& data = exchange->PrintDialogData().GetPrintData();
        EXPECT_EQ(data.GetOrientation(), wxLANDSCAPE) << round;
        EXPECT_EQ(data.GetPaperId(), wxPAPER_A5) << round;
        wxPrintPreview preview(exchange->MakePrintout(), nullptr, &exchange->PrintDialogData());
        ASSERT_TRUE(preview.IsOk());
        int width = 0, height = 0;
        preview.GetPrintout()->GetPageSizeMM(&width, &height);
        EXPECT_EQ(width, 210) << "A5 across, round " << round;
        EXPECT_EQ(height, 148) << round;
        Command(ID_FILE_NEW);
    }

    // Cancel keeps the choice.
    m_answer = [](wxDialog*) { return int(wxID_CANCEL); };
    Command(ID_FILE_PRINT_SETUP);
    EXPECT_EQ(Frame().GetPageSetupData().GetPrintData().GetOrientation(), wxLANDSCAPE);
}

TEST_F(MainWindowCommandsTest, ToolbarButtonsFollowTheirMenuItems)
{
    ASSERT_TRUE(Start());
    Frame().Session().m_bConnected = 1;
    Frame().Session().m_Stations = {1};
    wxToolBar* toolbar = Frame().GetToolBar();
    auto shown = [&](int id) {
        toolbar->UpdateWindowUI(wxUPDATE_UI_FROMIDLE);
        return toolbar->GetToolEnabled(id);
    };
    const int liveWindows[] = {ID_KEYPAD, ID_MONITOR_CONTROL, ID_MONITOR_STATUS};
    // No project window: no Monitor menu, no button.
    for (int id : liveWindows)
        EXPECT_FALSE(shown(id)) << id;
    Command(ID_FILE_NEW);
    for (int id : liveWindows)
        EXPECT_TRUE(shown(id)) << id;
    EXPECT_TRUE(shown(ID_READ));
    Command(ID_FILE_CLOSE);
    for (int id : {ID_KEYPAD, ID_MONITOR_CONTROL, ID_MONITOR_STATUS, ID_READ, ID_WRITE, ID_COMPARE, ID_GRAPH_WATCH})
        EXPECT_FALSE(shown(id)) << id;
    EXPECT_TRUE(shown(ID_FILE_NEW));
    Frame().Session().m_bConnected = 0;
    Frame().Session().m_Stations.clear();
}

} // namespace
