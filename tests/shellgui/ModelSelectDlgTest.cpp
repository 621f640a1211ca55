#include "document/ModelSelectDlg.h"
#include "tests/common/GuiTestSupport.h"
#include "tests/common/MessageRecorder.h"
#include "tests/common/TestPaths.h"

#include <gtest/gtest.h>
#include <wx/button.h>
#include <wx/choice.h>
#include <wx/stattext.h>

#include <filesystem>
#include <fstream>

namespace {

class ModelSelectDlgTest : public ::testing::Test {
protected:
    void SetUp() override { m_programFolder = MakeTempFolder(); }
    void TearDown() override
    {
        SetModalAnswer(nullptr);
        std::filesystem::remove_all(m_programFolder);
    }
    void WriteModelFile()
    {
        std::ofstream(m_programFolder + "RQ5.SPE", std::ios::binary)
            << "TYPE:A1;\nInfo one\nInfo two\nTYPE:B2;\nInfo three\n";
    }
    static wxChoice* Choice(wxDialog* dialog, int id) { return wxDynamicCast(dialog->FindWindow(id), wxChoice); }
    static wxString Description(wxDialog* dialog)
    {
        return wxDynamicCast(dialog->FindWindow(CModelSelectDlg::IDC_DESCRIPTION), wxStaticText)->GetLabel();
    }
    static void Click(wxDialog* dialog, int id)
    {
        wxCommandEvent click(wxEVT_BUTTON, id);
        click.SetEventObject(dialog->FindWindow(id));
        dialog->FindWindow(id)->GetEventHandler()->ProcessEvent(click);
    }

    std::string m_programFolder;
    MessageRecorder m_messages;
};

} // namespace

TEST_F(ModelSelectDlgTest, PreselectsCurrentModelAndStoresChoiceOnOK)
{
    WriteModelFile();
    // The open project's model is B2; its base frequency was 60.00.
    CModelSelectDlg dialog(nullptr, m_programFolder, "B2");
    SetModalAnswer([](wxDialog* shown) {
        wxChoice* models = Choice(shown, CModelSelectDlg::IDC_MODEL);
        EXPECT_EQ(models->GetCount(), 2u);
        EXPECT_EQ(models->GetStringSelection(), "B2");
        EXPECT_EQ(Description(shown), "Info three\n");
        // The frequency opens on 50.00 whatever the project had.
        EXPECT_EQ(Choice(shown, CModelSelectDlg::IDC_FREQUENCY)->GetSelection(), 0);

        models->SetSelection(0);
        wxCommandEvent change(wxEVT_CHOICE, CModelSelectDlg::IDC_MODEL);
        change.SetInt(0);
        change.SetEventObject(models);
        models->GetEventHandler()->ProcessEvent(change);
        EXPECT_EQ(Description(shown), "Info one\nInfo two\n");
        Choice(shown, CModelSelectDlg::IDC_FREQUENCY)->SetSelection(1);
        Click(shown, wxID_OK);
        return shown->GetReturnCode();
    });
    EXPECT_EQ(dialog.ShowModal(), wxID_OK);
    EXPECT_EQ(dialog.m_strModel, "A1");
    EXPECT_EQ(dialog.m_nFreqIndex, 1);
    EXPECT_TRUE(m_messages.Texts().empty());
}

TEST_F(ModelSelectDlgTest, UnknownModelSelectsFirstAndCancelChangesNothing)
{
    WriteModelFile();
    CModelSelectDlg dialog(nullptr, m_programFolder, "Z9");
    SetModalAnswer([](wxDialog* shown) {
        EXPECT_EQ(Choice(shown, CModelSelectDlg::IDC_MODEL)->GetSelection(), 0);
        EXPECT_EQ(Description(shown), "Info one\nInfo two\n");
        Choice(shown, CModelSelectDlg::IDC_FREQUENCY)->SetSelection(1);
        return wxID_CANCEL;
    });
    EXPECT_EQ(dialog.ShowModal(), wxID_CANCEL);
    EXPECT_EQ(dialog.m_strModel, "");
    EXPECT_EQ(dialog.m_nFreqIndex, 0);
}

TEST_F(ModelSelectDlgTest, MissingFileIsReportedAndOKStaysDisabled)
{
    CModelSelectDlg dialog(nullptr, m_programFolder, "A1");
    ASSERT_EQ(m_messages.Texts().size(), 1u);
    EXPECT_NE(m_messages.Texts()[0].find("RQ5.SPE"), std::string::npos);
    EXPECT_FALSE(dialog.FindWindow(wxID_OK)->IsEnabled());
    EXPECT_EQ(Choice(&dialog, CModelSelectDlg::IDC_MODEL)->GetCount(), 0u);
    // Even a forced OK stores nothing.
    Click(&dialog, wxID_OK);
    EXPECT_EQ(dialog.m_strModel, "");
    EXPECT_EQ(dialog.GetReturnCode(), 0);
}
