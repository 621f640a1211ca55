// The pages of groups 03, 04 and 07 as windows under Xvfb: the range labels
// the model code rewrites, the five contact lists, typed text reverting or
// prompting, and a refused row write focusing its edit.

#include "tests/editorgui/EditorWindowFixture.h"

using Groups03To07WindowTest = EditorWindowFixture;

TEST_F(Groups03To07WindowTest, Group03ShowsTheModelsLimitsAndFiveContactLists)
{
    MakeProject(0x1100191);
    m_doc.FindParam(3, 9)->m_strValue = "101";
    m_doc.FindParam(3, 8)->m_strValue = "20";
    CParamGroupDlg& editor = Open(3);
    ASSERT_EQ(editor.Notebook()->GetPageCount(), 2u);
    EXPECT_EQ(editor.Notebook()->GetPageText(1), "    03-13 - 03-21    ");
    EXPECT_EQ(Label(0, 1101), "1~200");
    EXPECT_EQ(Label(1, 1075), "500.0~800.0");
    EXPECT_EQ(Label(1, 1076), "500.0~800.0");

    const int contacts[] = {1031, 1032, 1033, 1077, 1078};
    const int shown[] = {1, 0, 1, 0, 0};
    for (int k = 0; k < 5; ++k) {
        wxChoice* list = List(0, contacts[k]);
        ASSERT_NE(list, nullptr) << contacts[k];
        EXPECT_EQ(list->GetCount(), 2u);
        EXPECT_EQ(list->GetSelection(), shown[k]);
    }
    EXPECT_EQ(List(0, 1079)->GetString(3).utf8_string(), "3: any frequency reached (03-13\xC2\xB1" "03-14)");
    EXPECT_EQ(List(0, 1025)->GetString(5), "6: Jog Forward");

    // 03-08 typed beyond 200 takes its old text back, without a message.
    wxTextCtrl* limit = Edit(0, 1035);
    limit->SetValue("201");
    EXPECT_EQ(limit->GetValue(), "20");
    List(0, 1078)->SetSelection(1);
    wxCommandEvent chosen(wxEVT_CHOICE, 1078);
    chosen.SetEventObject(List(0, 1078));
    chosen.SetInt(1);
    List(0, 1078)->ProcessWindowEvent(chosen);
    Click(&editor, wxID_OK);
    EXPECT_EQ(m_doc.FindParam(3, 9)->m_strValue, "10101");
    EXPECT_TRUE(m_messages.Texts().empty());
}

TEST_F(Groups03To07WindowTest, Group04ExtendedOutputPagePromptsForItsBounds)
{
    MakeProject(0x1100001);
    m_doc.FindParam(4, 12)->m_strValue = "500";
    CParamGroupDlg& editor = Open(4);
    EXPECT_EQ(Label(0, 1075), "1~200");
    EXPECT_EQ(Label(0, 1078), "1~200");
    EXPECT_EQ(List(1, 1026)->GetString(4), "4: Output current");
    wxTextCtrl* gain = Edit(1, 1034); // 04-12
    gain->SetValue("1001");
    EXPECT_EQ(gain->GetValue(), "500");
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{"Please enter an integer between 0 and 1000."});
    editor.Notebook()->ChangeSelection(0);
    Edit(0, 1034)->SetValue("0"); // 04-01 below 1: silently back
    EXPECT_EQ(m_messages.Texts().size(), 1u);
}

TEST_F(Groups03To07WindowTest, Group07RefusedFilterTimeFocusesItsEdit)
{
    MakeProject(0x1100065);
    Connect(0x1100065, 1092);
    CParamGroupDlg& editor = Open(7);
    EXPECT_EQ(Label(0, 1075), "0.0~6000.0");
    EXPECT_EQ(Label(0, 1099), "0~20");
    wxTextCtrl* filter = Edit(0, 1034);
    filter->SetValue("5000.0");
    EXPECT_EQ(filter->GetValue(), "5000.0");
    editor.Notebook()->ChangeSelection(1);
    Yield();
    m_stations = {1};
    Click(editor.PagePanel(0), 1006);
    Yield();
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{FormatResString(61622, "07-01", "0.0~800.0")});
    EXPECT_EQ(editor.Notebook()->GetSelection(), 0);
    EXPECT_EQ(wxWindow::FindFocus(), filter);
}
