// Group 14's pages as windows under Xvfb: the 100 ms tick (driven by the
// test) with its range labels and clamp, the edit being typed in left alone,
// 14-20's list switching the mode, Cancel restoring it, and Enter.

#include "tests/editorgui/EditorWindowFixture.h"

#include <wx/button.h>
#include <wx/timer.h>

class Group14WindowTest : public EditorWindowFixture {
protected:
    void SetUp() override { MakeProject(0x1110000 + 1202); }

    CParamGroupDlg& Open() { return EditorWindowFixture::Open(14); }

    // One tick of a page's timer, as the toolkit would deliver it.
    void Tick(int page)
    {
        CGroupPagePanel* panel = m_editor->PagePanel(page);
        wxTimer timer(panel);
        wxTimerEvent event(timer);
        panel->ProcessWindowEvent(event);
    }
};

TEST_F(Group14WindowTest, TheTickClampsPercentRowsButNotTheEditBeingTyped)
{
    m_doc.FindParam(14, 9)->m_strValue = "0.50";
    Open();
    wxTextCtrl* tolerance = Edit(0, 1039); // 14-09
    ASSERT_NE(tolerance, nullptr);
    EXPECT_EQ(Label(0, 1075), "1~100");
    Tick(0);
    EXPECT_EQ(tolerance->GetValue(), "1");

    // Typed text passes the percent filter: digits only, at most 100.
    tolerance->SetValue("15");
    tolerance->SetValue("150");
    EXPECT_EQ(tolerance->GetValue(), "15");
    tolerance->SetValue("1.");
    EXPECT_EQ(tolerance->GetValue(), "15");

    // Cleared while it has the focus: the tick leaves it empty; once the
    // focus is elsewhere the clamp reaches it.
    tolerance->SetFocus();
    Yield();
    if (wxWindow::FindFocus() != tolerance)
        GTEST_SKIP() << "the display gives no keyboard focus";
    tolerance->SetValue("");
    Tick(0);
    EXPECT_EQ(tolerance->GetValue(), "");
    tolerance->SetValue("5");
    Tick(0);
    EXPECT_EQ(tolerance->GetValue(), "5");
    tolerance->SetValue("");
    Edit(0, 1036)->SetFocus();
    Yield();
    Tick(0);
    EXPECT_EQ(tolerance->GetValue(), "1");
    EXPECT_TRUE(m_messages.Texts().empty());
}

TEST_F(Group14WindowTest, Choosing1420SwitchesTheLabelsAndCancelRestoresTheMode)
{
    CParamGroupDlg& editor = Open();
    ASSERT_EQ(m_frame.m_nPressureMode, 1);
    EXPECT_EQ(Label(2, 1075), "0~10");
    auto* unit = wxDynamicCast(editor.PagePanel(2)->FindWindow(1025), wxChoice);
    ASSERT_NE(unit, nullptr);
    EXPECT_EQ(unit->GetString(0), wxString::FromUTF8(LoadResString(63430)));
    unit->SetSelection(0);
    wxCommandEvent choice(wxEVT_CHOICE, 1025);
    choice.SetEventObject(unit);
    choice.SetInt(0);
    unit->ProcessWindowEvent(choice);
    EXPECT_EQ(m_frame.m_nPressureMode, 0);
    EXPECT_EQ(Label(2, 1075), "0.00~65.00");

    // The other pages follow at their tick; the percent values stay.
    EXPECT_EQ(Label(3, 1076), "1~10");
    Tick(3);
    EXPECT_EQ(Label(3, 1075), "0.01~650.00");
    EXPECT_EQ(Label(3, 1076), "0.01~65.00");
    EXPECT_EQ(Label(3, 1077), "0.01~650.00");
    EXPECT_EQ(Edit(3, 1034)->GetValue(), wxString::FromUTF8(m_doc.FindParam(14, 34)->m_strValue));

    // Enter neither stores nor closes.
    PressKey(&editor, Edit(3, 1034), WXK_RETURN);
    EXPECT_TRUE(editor.IsShown());
    EXPECT_EQ(m_doc.FindParam(14, 20)->m_strValue, "1");

    wxCommandEvent cancel(wxEVT_BUTTON, wxID_CANCEL);
    cancel.SetEventObject(editor.FindWindow(wxID_CANCEL));
    editor.FindWindow(wxID_CANCEL)->ProcessWindowEvent(cancel);
    EXPECT_EQ(editor.GetReturnCode(), wxID_CANCEL);
    EXPECT_EQ(m_frame.m_nPressureMode, 1);
    EXPECT_EQ(m_doc.FindParam(14, 20)->m_strValue, "1");
}
