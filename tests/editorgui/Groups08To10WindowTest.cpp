// The pages of groups 08 to 10 as windows under Xvfb: the hidden digit list,
// the explanation statics of the protection digits, range labels that follow
// the model, the filters of typed text and Enter.

#include "tests/editorgui/EditorWindowFixture.h"

#include <string>

namespace {

std::string StaticText(wxWindow* panel, int id)
{
    auto* text = wxDynamicCast(panel->FindWindow(id), wxStaticText);
    return text ? text->GetLabel().utf8_string() : std::string("(none)");
}

} // namespace

using Groups08To10WindowTest = EditorWindowFixture;

TEST_F(Groups08To10WindowTest, ProtectionDigitsExplainTheListChangedLast)
{
    MakeProject(0x1100000 + 1202);
    m_doc.FindParam(8, 0)->m_strValue = "10110";
    m_doc.FindParam(8, 5)->m_strValue = "00110";
    CParamGroupDlg& editor = Open(8);
    wxWindow* page = editor.PagePanel(0);
    auto* hidden = wxDynamicCast(page->FindWindow(1025), wxChoice);
    ASSERT_NE(hidden, nullptr);
    EXPECT_FALSE(hidden->IsShown());
    EXPECT_FALSE(hidden->IsEnabled());
    EXPECT_EQ(wxDynamicCast(page->FindWindow(1033), wxChoice)->GetSelection(), 1);
    EXPECT_EQ(wxDynamicCast(page->FindWindow(1038), wxChoice)->GetSelection(), 1);
    EXPECT_EQ(wxDynamicCast(page->FindWindow(1099), wxChoice)->GetSelection(), 0);
    EXPECT_EQ(page->FindWindow(1026), nullptr); // the extended page packs 08-05 instead
    EXPECT_EQ(StaticText(page, 1102), "");
    EXPECT_EQ(StaticText(page, 1103), "");
    EXPECT_EQ(StaticText(page, 1075), "350.0~390.0");

    Choose(page, 1033, 1);
    EXPECT_EQ(StaticText(page, 1102), "Disable Trip Prevention During Deceleration");
    Choose(page, 1077, 0);
    EXPECT_EQ(StaticText(page, 1102), "Enable Trip Prevention During Acceleration");
    Choose(page, 1099, 0);
    EXPECT_EQ(StaticText(page, 1103), "Disable Electronic Motor Overload Protection");
    Choose(page, 1038, 0);
    EXPECT_EQ(StaticText(page, 1103), "Standard Motor");

    wxCommandEvent ok(wxEVT_BUTTON, wxID_OK);
    ok.SetEventObject(editor.FindWindow(wxID_OK));
    editor.ProcessWindowEvent(ok);
    EXPECT_EQ(m_doc.FindParam(8, 0)->m_strValue, "10110"); // 1033 back at 1, 1077 at 0
    EXPECT_EQ(m_doc.FindParam(8, 5)->m_strValue, "00010");
    EXPECT_EQ(m_doc.m_Changed[8][0], 0u);
    EXPECT_EQ(m_doc.m_Changed[8][5], 1u);
}

TEST_F(Groups08To10WindowTest, RangeLabelsAndFiltersFollowTheModel)
{
    struct Case {
        int code;
        const char* voltage;  // 08-04's range label
        const char* stations; // 09-08's
        const char* typed;    // into 10-05 on the first page
        const char* kept;
    } cases[] = {
        {1205, "350.0~390.0", "1~20", "2.34", "2.3"},
        {0x1100000 + 1202, "350.0~390.0", "0~20", "2.34", "2.3"},
        {0x1110000 + 4015, "700.0~780.0", "0~20", "2.34", "2.34"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        MakeProject(c.code);
        Open(8);
        EXPECT_EQ(StaticText(m_editor->PagePanel(0), 1075), c.voltage);
        wxTextCtrl* voltage = Edit(0, 1037);
        voltage->SetValue("3");
        voltage->SetValue(c.voltage[0] == '3' ? "391" : "781");
        EXPECT_EQ(voltage->GetValue(), "3");

        Open(9);
        EXPECT_EQ(StaticText(m_editor->PagePanel(0), 1075), c.stations);
        EXPECT_FALSE(Edit(0, 1034)->IsEnabled());
        EXPECT_FALSE(m_editor->PagePanel(0)->FindWindow(1029)->IsEnabled());
        wxTextCtrl* timeout = Edit(0, 1036);
        timeout->SetValue("2");
        timeout->SetValue("0");
        EXPECT_EQ(timeout->GetValue(), c.stations[0] == '0' ? "0" : "2");

        Open(10);
        wxTextCtrl* integral = Edit(0, 1036);
        integral->SetValue("2.3");
        integral->SetValue(c.typed);
        EXPECT_EQ(integral->GetValue(), c.kept);
        EXPECT_TRUE(m_messages.Texts().empty());
    }
}

TEST_F(Groups08To10WindowTest, EnterNeverClosesTheEditor)
{
    MakeProject(0x1100000 + 1202);
    CParamGroupDlg& editor = Open(10, 17);
    EXPECT_EQ(editor.Notebook()->GetSelection(), 1);
    wxTextCtrl* edit = Edit(1, 1039); // 10-17
    edit->SetValue("12.5");
    TypeEnter(edit);
    PressKey(&editor, edit, WXK_RETURN);
    EXPECT_TRUE(editor.IsShown());
    EXPECT_NE(m_doc.FindParam(10, 17)->m_strValue, "12.50");
}
