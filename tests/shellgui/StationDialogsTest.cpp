#include "platform/ResourceModule.h"
#include "session/DriveSession.h"
#include "view/ProgressDlg.h"
#include "view/ReadStationDlg.h"
#include "view/StationSelectDlg.h"
#include "shell/WriteDlg.h"
#include "tests/common/GuiTestSupport.h"
#include "tests/common/MessageRecorder.h"
#include "tests/common/RecordingWindows.h"

#include <gtest/gtest.h>
#include <wx/choice.h>
#include <wx/radiobut.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

namespace {

class StationDialogsTest : public ::testing::Test {
protected:
    void TearDown() override { SetModalAnswer(nullptr); }
    static void Click(wxWindow* dialog, int id)
    {
        wxWindow* button = dialog->FindWindow(id);
        wxCommandEvent click(button->IsKindOf(wxCLASSINFO(wxRadioButton)) ? wxEVT_RADIOBUTTON : wxEVT_BUTTON, id);
        click.SetEventObject(button);
        button->GetEventHandler()->ProcessEvent(click);
    }
    // Runs the dialog modally, pressing OK (and returning what it returns).
    static int RunWithOK(wxDialog& dialog)
    {
        SetModalAnswer([](wxDialog* shown) {
            Click(shown, wxID_OK);
            return shown->GetReturnCode();
        });
        return dialog.ShowModal();
    }

    RecordingWindows m_windows;
    CDriveSession m_session{m_windows};
    MessageRecorder m_messages;
};

} // namespace

TEST_F(StationDialogsTest, ChoosersOfferConnectedStations)
{
    m_session.m_Stations = {3, 17};
    CStationSelectDlg select(nullptr, m_session);
    wxChoice* combo = wxDynamicCast(select.FindWindow(CStationSelectDlg::IDC_STATION), wxChoice);
    ASSERT_NE(combo, nullptr);
    ASSERT_EQ(combo->GetCount(), 2u);
    EXPECT_EQ(combo->GetString(1), "17");
    EXPECT_EQ(combo->GetSelection(), 0);
    EXPECT_EQ(select.GetStation(), -1);
    combo->SetSelection(1);
    EXPECT_EQ(RunWithOK(select), wxID_OK);
    EXPECT_EQ(select.GetStation(), 17);

    CReadStationDlg read(nullptr, m_session);
    EXPECT_NE(read.FindWindow(CReadStationDlg::IDC_STATION), nullptr);
    EXPECT_EQ(RunWithOK(read), wxID_OK);
    EXPECT_EQ(read.GetStation(), 3);
}

TEST_F(StationDialogsTest, ChoosersWithoutStationsGiveZero)
{
    CStationSelectDlg select(nullptr, m_session);
    EXPECT_EQ(select.GetStationCombo()->GetCount(), 0u);
    EXPECT_EQ(RunWithOK(select), wxID_OK);
    EXPECT_EQ(select.GetStation(), 0);
    CReadStationDlg read(nullptr, m_session);
    EXPECT_EQ(RunWithOK(read), wxID_OK);
    EXPECT_EQ(read.GetStation(), 0);
}

TEST_F(StationDialogsTest, WriteDialogTakesConnectedStationsOrBroadcast)
{
    m_session.m_Stations = {1, 2, 5};
    m_session.m_strStations = "1,2";
    CWriteDlg dialog(nullptr, m_session);
    auto* edit = wxDynamicCast(dialog.FindWindow(CWriteDlg::IDC_STATIONS), wxTextCtrl);
    EXPECT_EQ(edit->GetValue(), "1,2");
    edit->AppendText("a"); // refused: the text stays
    EXPECT_EQ(edit->GetValue(), "1,2");
    edit->AppendText(",5");
    EXPECT_EQ(edit->GetValue(), "1,2,5");
    EXPECT_EQ(RunWithOK(dialog), wxID_OK);
    EXPECT_EQ(dialog.m_Stations, (std::vector<int>{1, 2, 5}));

    CWriteDlg all(nullptr, m_session);
    wxDynamicCast(all.FindWindow(CWriteDlg::IDC_ALL), wxRadioButton)->SetValue(true);
    Click(&all, CWriteDlg::IDC_ALL);
    EXPECT_FALSE(all.FindWindow(CWriteDlg::IDC_STATIONS)->IsEnabled());
    EXPECT_EQ(RunWithOK(all), wxID_OK);
    EXPECT_EQ(all.m_Stations, std::vector<int>{0});
    EXPECT_TRUE(m_messages.Texts().empty());
}

TEST_F(StationDialogsTest, WriteDialogStaysOpenOnBadLists)
{
    m_session.m_Stations = {1};
    struct Case {
        const char* text;
        std::string message;
    } cases[] = {
        {"", LoadResString(61464)},
        {"4", FormatResString(61538, 4)},
        {"1,1", LoadResString(61467)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        m_messages.Clear();
        CWriteDlg dialog(nullptr, m_session);
        wxDynamicCast(dialog.FindWindow(CWriteDlg::IDC_STATIONS), wxTextCtrl)->ChangeValue(c.text);
        Click(&dialog, wxID_OK);
        EXPECT_EQ(dialog.GetReturnCode(), 0); // still open
        EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{c.message});
    }
}

TEST_F(StationDialogsTest, ProgressWindowShowsHeading)
{
    CProgressDlg progress(nullptr);
    progress.m_strHeading = "Reading station 3";
    progress.TransferDataToWindow();
    auto* heading = wxDynamicCast(progress.FindWindow(CProgressDlg::IDC_HEADING), wxStaticText);
    EXPECT_EQ(heading->GetLabel(), "Reading station 3");
    EXPECT_NE(progress.FindWindow(CProgressDlg::IDC_PROGRESS), nullptr);
    EXPECT_NE(progress.FindWindow(CProgressDlg::IDC_GROUP_TEXT), nullptr);
    EXPECT_FALSE(progress.IsShown());
}
