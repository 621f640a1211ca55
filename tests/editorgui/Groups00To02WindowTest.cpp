// The pages of groups 00 to 02 as windows under Xvfb: enabling that follows
// the drive, range texts by model, and what typing keeps.

#include "tests/editorgui/EditorWindowFixture.h"

#include "editor/ParamLabel.h"

using Groups00To02WindowTest = EditorWindowFixture;

TEST_F(Groups00To02WindowTest, TheDirectionListFollowsTheRunCommandSource)
{
    MakeProject(203);
    Connect(203);
    ASSERT_TRUE(m_drive->SetRegister(1, 0x0002, 1));
    m_frame.m_nParam0002 = 1;
    CParamGroupDlg& editor = Open(0);
    auto* direction = Control<wxChoice>(0, 1025);
    ASSERT_NE(direction, nullptr);
    EXPECT_FALSE(direction->IsEnabled());

    // Its button still asks the drive, which still holds 1.
    m_stations = {1};
    Click(editor.PagePanel(0), 1005);
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{LoadResString(61483)});
    EXPECT_FALSE(direction->IsEnabled());

    // 00-02 = 0 written from the page: enabled at once.
    m_messages.Clear();
    Control<wxChoice>(0, 1026)->SetSelection(0);
    m_stations = {1};
    Click(editor.PagePanel(0), 1006);
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{LoadResString(61541)});
    EXPECT_TRUE(direction->IsEnabled());
    EXPECT_EQ(m_drive->GetRegister(1, 0x0002), 0);
}

TEST_F(Groups00To02WindowTest, TheApplicationRowIsMarkedOnTheThirdTab)
{
    MakeProject(0x1100000 + 203);
    CParamGroupDlg& editor = Open(0, 21);
    EXPECT_EQ(editor.Notebook()->GetPageCount(), 3u);
    EXPECT_EQ(editor.Notebook()->GetSelection(), 2);
    EXPECT_TRUE(Control<CParamLabel>(2, 1016)->IsMarked());
    EXPECT_FALSE(Control<CParamLabel>(2, 1015)->IsMarked());
    EXPECT_EQ(Control<wxChoice>(2, 1025)->GetCount(), 4u);
}

TEST_F(Groups00To02WindowTest, TheRatedVoltageFollowsTheVoltageClass)
{
    struct Case {
        int code;
        const char* text;
    } cases[] = {{203, "198.0~256.0"}, {0x1100000 + 203, "170.0~264.0"}, {403, "323.0~528.0"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        MakeProject(c.code);
        Open(1);
        auto* range = Control<wxStaticText>(0, 1075);
        ASSERT_NE(range, nullptr);
        EXPECT_EQ(range->GetLabel(), c.text);
    }
    // Class 400: 529 reverts at the keystroke, 528 stays.
    auto* voltage = Control<wxTextCtrl>(0, 1035);
    voltage->SetValue("52");
    voltage->SetValue("529");
    EXPECT_EQ(voltage->GetValue(), "52");
    voltage->SetValue("528");
    EXPECT_EQ(voltage->GetValue(), "528");
}

TEST_F(Groups00To02WindowTest, AnEmptiedWholeNumberIsPromptedForOnlyByOk)
{
    MakeProject(0x1100000 + 203);
    CParamGroupDlg& editor = Open(1, 13);
    auto* pulses = Control<wxTextCtrl>(1, 1037); // 01-13
    ASSERT_NE(pulses, nullptr);
    const wxString before = pulses->GetValue();
    pulses->SetValue("0");
    EXPECT_EQ(pulses->GetValue(), before);
    pulses->SetValue("8192");
    EXPECT_EQ(pulses->GetValue(), "8192");
    pulses->SetValue("");
    Control<wxTextCtrl>(1, 1034)->SetValue("5.0"); // a keystroke elsewhere
    EXPECT_EQ(pulses->GetValue(), "");
    EXPECT_TRUE(m_messages.Texts().empty());

    Click(&editor, wxID_OK);
    Yield();
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{LoadResString(61775)});
    EXPECT_TRUE(editor.IsShown());
    EXPECT_EQ(editor.Notebook()->GetSelection(), 1);
}

TEST_F(Groups00To02WindowTest, RatedSpeedTypedPastItsRange)
{
    for (int code : {203, 0x1100000 + 203}) {
        SCOPED_TRACE(code);
        MakeProject(code);
        Open(2);
        auto* speed = Control<wxTextCtrl>(0, 1037); // 02-03
        ASSERT_NE(speed, nullptr);
        speed->SetValue("1750");
        m_messages.Clear();
        speed->SetValue("39001");
        EXPECT_EQ(speed->GetValue(), "1750");
        EXPECT_EQ(m_messages.Texts().size(), code == 203 ? 1u : 0u);
    }
}
