// The program with a project connected to the simulated drive: AutoRefresh
// following the drive in the list, what it refuses, the main window's close;
// Compare's window, its saved text, its printout and its failure roads.

#include "tests/session/ConnectTestSupport.h"
#include "tests/shellgui/AppFixture.h"

#include "document/D390DocData.h"
#include "editor/ParamGroupDlg.h"
#include "platform/FileChooser.h"
#include "platform/ResourceModule.h"
#include "res/CommandIds.h"
#include "session/DriveSession.h"
#include "view/ProgressDlg.h"
#include "view/ReadStationDlg.h"
#include "view/StationSelectDlg.h"
#include "view/CompareCommand.h"
#include "view/CompareDlg.h"
#include "view/CompareModeDlg.h"
#include "view/ComparePrintout.h"
#include "view/D390View.h"
#include "view/ParamListModel.h"
#include "view/ViewAutoRefresh.h"

#include <wx/dcps.h>
#include <wx/radiobut.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

constexpr int kDriveModel = 0x11004B5; // range A
constexpr unsigned IDS_AUTO_REFRESH_RUNS = 61576;

std::string FileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

class RefreshGuiTest : public AppFixture {
protected:
    // The program started with a project connected to a drive on station 1.
    void StartConnected()
    {
        m_drive = StartDrive(DriveConfig({1}, kDriveModel, 1093));
        std::ofstream(m_home + "curfile.ini", std::ios::binary)
            << "2\n" + m_drive->GetPtyPath() + "\n19200\n802\n1\n0\n";
        ASSERT_TRUE(Start());
        ASSERT_EQ(Frame().Session().m_bConnected, 1);
        ASSERT_NE(View(), nullptr);
        ASSERT_NE(Doc(), nullptr);
        m_drive->ClearFrameLog();
        SetModalAnswer([this](wxDialog* dialog) { return Answer(dialog); });
    }

    // Connected, with 00-03 at 2 on the drive behind a slow line, and an
    // AutoRefresh cycle under way that takes well over a second.
    void StartSlowCycle()
    {
        ASSERT_NO_FATAL_FAILURE(StartConnected());
        ASSERT_TRUE(m_drive->SetRegister(1, 0x0003, 2));
        m_drive->SetReplyDelay(1, 40);
        Command(ID_AUTO_REFRESH);
        ASSERT_TRUE(RunUntil([&] { return m_drive->GetFrameCount() >= 2; }));
        ASSERT_TRUE(View()->GetAutoRefresh()->GetReader().IsCycleRunning());
    }

    // An event posted to the window thread: whether it was handled, and
    // whether the main frame took input then.
    struct Posted {
        bool handled = false;
        bool frameEnabled = true;
    };
    void Post(Posted& posted)
    {
        wxTheApp->CallAfter([this, &posted] {
            posted.handled = true;
            posted.frameEnabled = Frame().IsEnabled();
        });
    }

    void TearDown() override
    {
        if (m_app && m_app->m_pMainFrame) {
            Frame().StopBackgroundTransfers();
            // These tests run the event loop: the frame must be gone for
            // real, before its document manager, or a later test's loop
            // would deliver its events.
            for (wxDocument* document : m_app->m_pDocManager->GetDocumentsVector())
                document->Modify(false);
            m_app->m_pDocManager->Clear(true);
            delete m_app->m_pMainFrame;
            m_app->m_pMainFrame = nullptr;
        }
        SetFileChooser(nullptr);
        AppFixture::TearDown();
        ResetCommSettings();
        if (m_drive)
            m_drive->Stop();
    }

    // The station dialogs take station 1 (or are cancelled); the mode dialog
    // takes m_mode (or is cancelled).
    int Answer(wxDialog* dialog)
    {
        if (auto* modes = dynamic_cast<CCompareModeDlg*>(dialog)) {
            modes->InitDialog();
            m_modeOffers = {modes->FindWindow(CCompareModeDlg::IDC_DEFAULT_READ)->IsEnabled(),
                            modes->FindWindow(CCompareModeDlg::IDC_SET_READ)->IsEnabled()};
            modes->TransferDataFromWindow();
            m_modeAfterInit = modes->m_nMode;
            if (m_mode < 0)
                return wxID_CANCEL;
            const int ids[3] = {CCompareModeDlg::IDC_DEFAULT_SET, CCompareModeDlg::IDC_DEFAULT_READ,
                                CCompareModeDlg::IDC_SET_READ};
            wxDynamicCast(modes->FindWindow(ids[m_mode]), wxRadioButton)->SetValue(true);
            modes->TransferDataFromWindow();
            return wxID_OK;
        }
        if (dynamic_cast<CStationSelectDlg*>(dialog) || dynamic_cast<CReadStationDlg*>(dialog)) {
            if (m_cancelStation)
                return wxID_CANCEL;
            wxCommandEvent click(wxEVT_BUTTON, wxID_OK);
            wxWindow* ok = dialog->FindWindow(wxID_OK);
            click.SetEventObject(ok);
            ok->GetEventHandler()->ProcessEvent(click);
            return dialog->GetReturnCode();
        }
        if (auto* editor = dynamic_cast<CParamGroupDlg*>(dialog); editor && m_editor) {
            m_editor(*editor);
            return editor->GetReturnCode();
        }
        ADD_FAILURE() << "unexpected modal dialog: " << dialog->GetTitle().utf8_string();
        return wxID_CANCEL;
    }

    CD390View* View() { return Frame().GetActiveProjectView(); }
    CD390DocData* Doc() { return View() ? View()->GetDocData() : nullptr; }

    // Runs the window thread's loop (timers, posted calls) until done; false
    // when it took more than 30 s.
    template <typename Done>
    bool RunUntil(Done done)
    {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (!done()) {
            if (std::chrono::steady_clock::now() > end)
                return false;
            wxTheApp->Yield(true);
            m_app->ProcessPendingEvents();
            wxMilliSleep(5);
        }
        return true;
    }

    bool IsChecked(int id)
    {
        wxUpdateUIEvent event(id);
        event.SetEventObject(&Frame());
        Frame().ProcessWindowEvent(event);
        return event.GetSetChecked() && event.GetChecked();
    }

    // The list's set-value text of parameter GG-NN (all groups shown).
    wxString ListValue(const std::string& code)
    {
        CParamListModel* model = View()->GetListModel();
        for (int row = 0; row < model->GetRowCount(); ++row)
            if (model->GetItemText(row, CParamListModel::kColumnName).utf8_string().find(code) != std::string::npos)
                return model->GetItemText(row, CParamListModel::kColumnValue).Strip(wxString::both);
        return "?";
    }

    ParamRec& Param(int group, int item) { return *Doc()->FindParam(group, item); }

    std::unique_ptr<CSimulatedDrive> m_drive;
    int m_mode = 0;
    bool m_cancelStation = false;
    std::vector<bool> m_modeOffers;
    int m_modeAfterInit = -1;
    std::function<void(CParamGroupDlg&)> m_editor;
};

TEST_F(RefreshGuiTest, NoCycleRunsWhileTheEditorIsOpen)
{
    StartConnected();
    Command(ID_AUTO_REFRESH);
    ASSERT_TRUE(RunUntil([&] { return m_drive->GetFrameCount() > 0; }));
    ASSERT_TRUE(m_drive->SetRegister(1, 0x0501, 4321)); // 05-01 as a cycle would bring it in
    std::vector<std::string> before;
    bool edited = false;
    m_editor = [&](CParamGroupDlg& editor) {
        edited = true;
        for (const ParamRec& param : Doc()->m_Groups[5].m_Params)
            before.push_back(param.m_strValue);
        const std::size_t frames = m_drive->GetFrameCount();
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(300);
        RunUntil([&] { return std::chrono::steady_clock::now() > end; });
        EXPECT_EQ(m_drive->GetFrameCount(), frames) << "no frame while the editor is open";
        wxCommandEvent ok(wxEVT_BUTTON, wxID_OK);
        ok.SetEventObject(editor.FindWindow(wxID_OK));
        editor.FindWindow(wxID_OK)->ProcessWindowEvent(ok);
    };
    View()->OpenEditor(5, -1);
    ASSERT_TRUE(edited);
    std::vector<std::string> after;
    for (const ParamRec& param : Doc()->m_Groups[5].m_Params)
        after.push_back(param.m_strValue);
    EXPECT_EQ(after, before);
    for (uint32_t flag : Doc()->m_Changed[5])
        EXPECT_EQ(flag, 0u);
    // Auto-refresh goes on once the editor has closed.
    EXPECT_TRUE(Frame().Session().m_bAutoRefresh);
    ASSERT_TRUE(RunUntil([&] { return Param(5, 1).m_strValue == "43.21"; }));
    Command(ID_AUTO_REFRESH);
}

TEST_F(RefreshGuiTest, AutoRefreshFollowsTheDriveInTheListUntilTurnedOff)
{
    StartConnected();
    ASSERT_TRUE(IsEnabled(ID_AUTO_REFRESH));
    EXPECT_FALSE(IsChecked(ID_AUTO_REFRESH));
    ASSERT_TRUE(m_drive->SetRegister(1, 0x0003, 2));
    ASSERT_NE(ListValue("00-03"), "2");

    Command(ID_AUTO_REFRESH);
    EXPECT_TRUE(IsChecked(ID_AUTO_REFRESH));
    ASSERT_TRUE(RunUntil([&] { return ListValue("00-03") == "2"; })) << "the drive's value never reached the list";
    EXPECT_EQ(Param(0, 3).m_strValue, "2");

    // A second change arrives too, as cycles follow one another.
    ASSERT_TRUE(m_drive->SetRegister(1, 0x0003, 0));
    ASSERT_TRUE(RunUntil([&] { return ListValue("00-03") == "0"; }));

    Command(ID_AUTO_REFRESH);
    EXPECT_FALSE(IsChecked(ID_AUTO_REFRESH));
    EXPECT_FALSE(Frame().Session().IsAutoRefreshBusy());
    const std::size_t frames = m_drive->GetFrameCount();
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(400);
    RunUntil([&] { return std::chrono::steady_clock::now() > end; });
    EXPECT_EQ(m_drive->GetFrameCount(), frames) << "no frame after AutoRefresh was turned off";
    EXPECT_TRUE(m_messages.Texts().empty());
}

TEST_F(RefreshGuiTest, TurningAutoRefreshOffMidCycleKeepsTheWindowThreadAnswering)
{
    ASSERT_NO_FATAL_FAILURE(StartSlowCycle());

    // Posted before the command: handled while the cycle ends, every window
    // disabled meanwhile.
    Posted posted;
    Post(posted);
    Command(ID_AUTO_REFRESH);
    EXPECT_TRUE(posted.handled) << "the window thread handled events while the cycle ended";
    EXPECT_FALSE(posted.frameEnabled);
    EXPECT_TRUE(Frame().IsEnabled());
    EXPECT_FALSE(Frame().Session().m_bAutoRefresh);
    EXPECT_FALSE(View()->GetAutoRefresh()->GetReader().IsCycleActive());
    // The cycle read to its end and was taken in.
    EXPECT_EQ(Param(0, 3).m_strValue, "2");
    EXPECT_TRUE(m_messages.Texts().empty());
}

TEST_F(RefreshGuiTest, ADriveFallingSilentGivesOneMessageAndAutoRefreshOff)
{
    StartConnected();
    const std::string before = Param(0, 3).m_strValue;
    ASSERT_TRUE(m_drive->SetRegister(1, 0x0003, 2));
    m_drive->SetSilent(1, true);
    Command(ID_AUTO_REFRESH);
    ASSERT_TRUE(RunUntil([&] { return !Frame().Session().m_bAutoRefresh; }));
    // Later ticks begin nothing and show nothing more.
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(400);
    RunUntil([&] { return std::chrono::steady_clock::now() > end; });
    EXPECT_EQ(m_messages.Texts().size(), 1u);
    EXPECT_FALSE(IsChecked(ID_AUTO_REFRESH));
    EXPECT_EQ(Param(0, 3).m_strValue, before);
}

TEST_F(RefreshGuiTest, WhatWouldRaceTheReaderIsRefusedAndTheMainWindowStopsItFirst)
{
    StartConnected();
    Command(ID_AUTO_REFRESH);
    ASSERT_TRUE(Frame().Session().m_bAutoRefresh);
    const std::string refused = LoadResString(IDS_AUTO_REFRESH_RUNS);

    for (int command : {ID_READ, ID_WRITE, ID_FILE_CLOSE, ID_FILE_NEW}) {
        m_messages.Clear();
        Command(command);
        EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{refused}) << command;
    }
    m_mode = kCompareSetWithRead;
    m_messages.Clear();
    Command(ID_COMPARE);
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{refused}) << "Compare's drive read";
    ASSERT_NE(View(), nullptr) << "the project window stays open";
    m_messages.Clear();
    View()->GetFrame()->Close();
    m_app->ProcessPendingEvents();
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{refused}) << "the project window's own close";
    ASSERT_NE(View(), nullptr);
    EXPECT_TRUE(Frame().Session().m_bAutoRefresh);

    // Closing the main window ends the reader before anything closes.
    Frame().StopBackgroundTransfers();
    EXPECT_FALSE(Frame().Session().m_bAutoRefresh);
    EXPECT_FALSE(Frame().Session().IsAutoRefreshBusy());
    const std::size_t frames = m_drive->GetFrameCount();
    wxMilliSleep(200);
    EXPECT_EQ(m_drive->GetFrameCount(), frames);
}

TEST_F(RefreshGuiTest, CancelledStationDialogLeavesAutoRefreshOff)
{
    StartConnected();
    m_cancelStation = true;
    Command(ID_AUTO_REFRESH);
    EXPECT_FALSE(IsChecked(ID_AUTO_REFRESH));
    EXPECT_FALSE(Frame().Session().IsAutoRefreshBusy());
    wxMilliSleep(150);
    m_app->ProcessPendingEvents();
    EXPECT_EQ(m_drive->GetFrameCount(), 0u);
}

TEST_F(RefreshGuiTest, CompareWindowListsSavesAndPrints)
{
    StartConnected();
    // 41 differences between factory defaults and set values.
    int changed = 0;
    for (std::size_t g = 0; g < Doc()->m_Groups.size() && changed < 41; ++g)
        for (std::size_t i = 0; i < Doc()->m_Groups[g].m_Params.size() && changed < 41; ++i)
            if (Doc()->m_Defined[g][i]) {
                ParamRec& param = Doc()->m_Groups[g].m_Params[i];
                param.m_strValue = param.m_strFactory + "x";
                ++changed;
            }
    m_mode = kCompareDefaultWithSet;
    Command(ID_COMPARE);
    CCompareDlg* dialog = View()->GetCompareCommand()->GetDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->IsShown());
    EXPECT_EQ(dialog->GetList()->GetColumnCount(), 4u);
    EXPECT_EQ(dialog->GetList()->GetColumn(2)->GetTitle().utf8_string(), LoadResString(61447));
    EXPECT_EQ(dialog->GetList()->GetColumn(3)->GetTitle().utf8_string(), LoadResString(61557));
    ASSERT_EQ(dialog->GetCompareList().m_Rows.size(), 41u);
    const ParamRec& first = Doc()->m_Groups[0].m_Params[0];
    EXPECT_EQ(dialog->GetItemText(0, 0).utf8_string(), first.m_strLabel.substr(0, 5));
    EXPECT_EQ(dialog->GetItemText(0, 3).utf8_string(), first.m_strFactory + "x");

    // Save through the program's file chooser; a name without extension gets the filter's.
    const std::string path = m_home + "compare.txt";
    SetFileChooser([&](const FileChoice& choice, std::string& chosen) {
        EXPECT_TRUE(choice.save);
        EXPECT_EQ(choice.filter, "Text File(*.txt)|*.txt");
        EXPECT_EQ(chosen, LoadResString(61578)) << "the name offered";
        chosen = m_home + "compare";
        return true;
    });
    dialog->OnSave();
    const std::string text = FileBytes(path);
    EXPECT_EQ(text.substr(0, Doc()->m_Groups[0].m_strName.size() + 2), Doc()->m_Groups[0].m_strName + "\r\n");
    EXPECT_NE(text.find(first.m_strLabel + "\t" + first.m_strFactory + "\t" + first.m_strFactory + "x\r\n"),
              std::string::npos);

    // Print through the PostScript printer context: 41 rows, two pages.
    const std::string ps = m_home + "compare.ps";
    wxPrintData data;
    data.SetFilename(ps);
    data.SetPrintMode(wxPRINT_MODE_FILE);
    data.SetPaperId(wxPAPER_A4);
    wxPostScriptDC dc(data);
    ASSERT_TRUE(dc.IsOk());
    CComparePrintout printout(dialog->GetCompareList(), Frame().Session().m_CompareGroups);
    printout.SetDC(&dc);
    wxSize pixels = dc.GetSize();
    printout.SetPageSizePixels(pixels.x, pixels.y);
    printout.SetPPIPrinter(dc.GetPPI());
    printout.SetPPIScreen(dc.GetPPI());
    printout.SetPaperRectPixels(wxRect(pixels));
    int minPage = 0, maxPage = 0, from = 0, to = 0;
    printout.GetPageInfo(&minPage, &maxPage, &from, &to);
    EXPECT_EQ(maxPage, 2);
    ASSERT_TRUE(dc.StartDoc("pdoc"));
    for (int page = 1; printout.HasPage(page); ++page) {
        dc.StartPage();
        ASSERT_TRUE(printout.OnPrintPage(page));
        dc.EndPage();
    }
    dc.EndDoc();
    const std::string output = FileBytes(ps);
    std::size_t pages = 0;
    for (std::size_t at = output.find("%%Page: "); at != std::string::npos; at = output.find("%%Page: ", at + 1))
        ++pages;
    EXPECT_EQ(pages, 2u);
    for (const char* shown : {"(Parameter Setting List)", "(Page:1)", "(Page:2)"})
        EXPECT_NE(output.find(shown), std::string::npos) << shown;
    EXPECT_TRUE(m_messages.Texts().empty());
}

TEST_F(RefreshGuiTest, CancelOrAFailedReadLeaveAnOpenCompareWindowAsItWas)
{
    StartConnected();
    Param(0, 3).m_strValue = Param(0, 3).m_strFactory + "x";
    m_mode = kCompareDefaultWithSet;
    Command(ID_COMPARE);
    CCompareDlg* dialog = View()->GetCompareCommand()->GetDialog();
    ASSERT_NE(dialog, nullptr);
    const std::size_t rows = dialog->GetCompareList().m_Rows.size();
    ASSERT_GE(rows, 1u);
    const std::vector<GroupRec> store = Frame().Session().m_CompareGroups;
    auto unchanged = [&](const char* why) {
        EXPECT_TRUE(dialog->IsShown()) << why;
        EXPECT_EQ(dialog->m_nMode, kCompareDefaultWithSet) << why;
        EXPECT_EQ(dialog->GetCompareList().m_Rows.size(), rows) << why;
        EXPECT_EQ(dialog->GetList()->GetColumn(3)->GetTitle().utf8_string(), LoadResString(61557)) << why;
        EXPECT_EQ(Frame().Session().m_CompareGroups.size(), store.size()) << why;
    };

    // The drive's values differ from the project's, so a new comparison would change the rows.
    ASSERT_TRUE(m_drive->SetRegister(1, 0x0003, 2));
    m_mode = -1;
    Command(ID_COMPARE);
    unchanged("cancel in the mode dialog");

    m_mode = kCompareSetWithRead;
    m_cancelStation = true;
    Command(ID_COMPARE);
    unchanged("cancel in the station dialog");

    m_cancelStation = false;
    m_drive->SetSilent(1, true);
    Command(ID_COMPARE);
    unchanged("the drive does not answer");
    EXPECT_EQ(m_messages.Texts().size(), 1u) << "the failed read is reported once";
    EXPECT_FALSE(Frame().m_pProgressDlg->IsShown());

    // With the drive back, set value against read value.
    m_messages.Clear();
    m_drive->SetSilent(1, false);
    Command(ID_COMPARE);
    EXPECT_TRUE(m_messages.Texts().empty());
    EXPECT_EQ(dialog->m_nMode, kCompareSetWithRead);
    EXPECT_EQ(dialog->GetList()->GetColumn(3)->GetTitle().utf8_string(), LoadResString(61558));
    bool found = false;
    for (const CompareRow& row : dialog->GetCompareList().m_Rows)
        if (row.m_strCode == "00-03") {
            found = true;
            EXPECT_EQ(row.m_strB, "2");
        }
    EXPECT_TRUE(found);
}

TEST_F(RefreshGuiTest, WithoutALinkOnlyDefaultAgainstSetIsOffered)
{
    StartConnected();
    m_mode = -1;
    Command(ID_COMPARE);
    EXPECT_EQ(m_modeOffers, (std::vector<bool>{true, true}));
    EXPECT_EQ(m_modeAfterInit, kCompareSetWithRead);

    Frame().Session().m_bConnected = 0;
    Command(ID_COMPARE);
    Frame().Session().m_bConnected = 1;
    EXPECT_EQ(m_modeOffers, (std::vector<bool>{false, false}));
    EXPECT_EQ(m_modeAfterInit, kCompareDefaultWithSet);
    EXPECT_EQ(View()->GetCompareCommand()->GetDialog(), nullptr);
}

} // namespace

TEST_F(RefreshGuiTest, OpeningTheEditorMidCycleKeepsTheWindowThreadAnswering)
{
    ASSERT_NO_FATAL_FAILURE(StartSlowCycle());

    // Posted before the editor is asked for: handled while the cycle ends,
    // the main frame taking no input meanwhile; the editor opens after it.
    Posted posted;
    Post(posted);
    bool handledAtOpening = false;
    bool cycleAtOpening = true;
    std::string valueAtOpening;
    m_editor = [&](CParamGroupDlg& editor) {
        handledAtOpening = posted.handled;
        cycleAtOpening = View()->GetAutoRefresh()->GetReader().IsCycleActive();
        valueAtOpening = Param(0, 3).m_strValue;
        wxCommandEvent cancel(wxEVT_BUTTON, wxID_CANCEL);
        cancel.SetEventObject(editor.FindWindow(wxID_CANCEL));
        editor.FindWindow(wxID_CANCEL)->ProcessWindowEvent(cancel);
    };
    View()->OpenEditor(0, -1);
    EXPECT_TRUE(handledAtOpening) << "the window thread handled events while the cycle ended";
    EXPECT_FALSE(posted.frameEnabled);
    EXPECT_FALSE(cycleAtOpening);
    EXPECT_EQ(valueAtOpening, "2") << "the cycle read to its end and was taken in first";
    EXPECT_TRUE(Frame().IsEnabled());
    EXPECT_TRUE(m_messages.Texts().empty());
    m_drive->SetReplyDelay(1, 0);
    Command(ID_AUTO_REFRESH);
}
