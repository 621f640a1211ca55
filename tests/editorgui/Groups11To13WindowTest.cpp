// The pages of groups 11 to 13 as windows under Xvfb: the display item named
// beside 12-00's digit lists, 11-14's range text by voltage class with its
// filter and check, and group 13's shown-only fields.

#include "tests/editorgui/EditorWindowFixture.h"

using Groups11To13WindowTest = EditorWindowFixture;

TEST_F(Groups11To13WindowTest, TheDigitChosenLastIsNamedBesideTheLists)
{
    MakeProject(0x1100000 + 1202);
    m_doc.FindParam(12, 0)->m_strValue = "01234";
    CParamGroupDlg& editor = Open(12);
    wxWindow* page = editor.PagePanel(0);
    EXPECT_EQ(Label(0, 1102), ""); // blank until a list changes
    Choose(page, 1030, 5);
    EXPECT_EQ(Label(0, 1102), "PID feedback ");
    Choose(page, 1025, 1);
    EXPECT_EQ(Label(0, 1102), "Output Current");
    EXPECT_EQ(Edit(0, 1035)->GetValue(), "----");
    EXPECT_FALSE(Edit(0, 1035)->IsEnabled());
    Click(&editor, wxID_OK);
    EXPECT_EQ(editor.GetReturnCode(), wxID_OK);
    EXPECT_EQ(m_doc.FindParam(12, 0)->m_strValue, "11534");
    EXPECT_EQ(m_doc.m_Changed[12][0], 1u);
    EXPECT_NE(m_doc.FindParam(12, 5)->m_strValue, "----");
}

TEST_F(Groups11To13WindowTest, RegenerationLevelShowsAndChecksTheClassRange)
{
    MakeProject(0x1100000 + 402);
    CParamGroupDlg& editor = Open(11, 13); // 11-14 sits at position 13
    EXPECT_EQ(editor.Notebook()->GetSelection(), 1);
    EXPECT_EQ(Label(1, 1099), "600.0~800.0");
    wxTextCtrl* edit = Edit(1, 1036);
    edit->SetValue("700.0");
    edit->SetValue("801");
    EXPECT_EQ(edit->GetValue(), "700.0");
    edit->SetValue("350.05");
    EXPECT_EQ(edit->GetValue(), "350.0");
    editor.Notebook()->ChangeSelection(0);
    Click(&editor, wxID_OK);
    Yield();
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{LoadResString(61460)});
    EXPECT_EQ(editor.Notebook()->GetSelection(), 1);
    EXPECT_TRUE(editor.IsShown());

    MakeProject(0x1100000 + 1202);
    Open(11);
    EXPECT_EQ(Label(1, 1099), "300.0~400.0");
}

TEST_F(Groups11To13WindowTest, MaintenanceFieldsAreShownOnlyAndEnterNeverCloses)
{
    MakeProject(0x1100000 + 1202);
    m_doc.FindParam(13, 2)->m_strValue = "6";
    m_doc.FindParam(13, 7)->m_strValue = "01234";
    CParamGroupDlg& editor = Open(13);
    for (int id : {1034, 1035, 1039})
        EXPECT_FALSE(Edit(0, id)->IsEnabled()) << id;
    EXPECT_TRUE(Edit(0, 1039)->HasFlag(wxTE_PASSWORD));
    EXPECT_EQ(Edit(0, 1039)->GetValue(), "01234");
    auto* faults = wxDynamicCast(editor.PagePanel(0)->FindWindow(1028), wxChoice);
    ASSERT_NE(faults, nullptr);
    EXPECT_EQ(faults->GetStringSelection(), "6: External bb");
    auto* reset = wxDynamicCast(editor.PagePanel(0)->FindWindow(1027), wxChoice);
    ASSERT_NE(reset, nullptr);
    EXPECT_EQ(reset->GetCount(), 7u);

    wxTextCtrl* hours = Edit(0, 1037);
    hours->SetValue("12");
    hours->SetValue("24"); // beyond 0~23: prompted and put back
    EXPECT_EQ(hours->GetValue(), "12");
    EXPECT_EQ(m_messages.Texts().size(), 1u);
    PressKey(&editor, hours, WXK_RETURN);
    EXPECT_TRUE(editor.IsShown());
    Click(&editor, wxID_OK);
    EXPECT_EQ(m_doc.FindParam(13, 3)->m_strValue, "12");
    EXPECT_EQ(m_doc.FindParam(13, 2)->m_strValue, "6");
    EXPECT_EQ(m_doc.FindParam(13, 7)->m_strValue, "01234");
}
