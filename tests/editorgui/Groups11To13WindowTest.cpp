// The pages of groups 11 to 13 as windows under Xvfb: the display item named
// beside 12-00's digit lists, 11-14's range text by voltage class with its
// filter and check, and group 13's shown-only fields.

#include "document/D390DocData.h"
#include "editor/GroupPagePanel.h"
#include "editor/ParamGroupDlg.h"
#include "pages/GroupPages.h"
#include "platform/ResourceModule.h"
#include "shell/MainFrameState.h"
#include "tests/common/MessageRecorder.h"
#include "tests/common/TestPaths.h"

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/choice.h>
#include <wx/notebook.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

namespace {

void Yield()
{
    for (int i = 0; i < 5; ++i)
        wxTheApp->Yield(true);
}

void Click(wxWindow* window, int id)
{
    wxCommandEvent event(wxEVT_BUTTON, id);
    event.SetEventObject(window->FindWindow(id));
    window->FindWindow(id)->ProcessWindowEvent(event);
}

// A user's choice in a list: the selection, then its event.
void Choose(wxWindow* page, int id, int entry)
{
    auto* list = wxDynamicCast(page->FindWindow(id), wxChoice);
    ASSERT_NE(list, nullptr) << id;
    list->SetSelection(entry);
    wxCommandEvent event(wxEVT_CHOICE, id);
    event.SetEventObject(list);
    event.SetInt(entry);
    list->ProcessWindowEvent(event);
}

} // namespace

class Groups11To13WindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { RegisterGroupPages(); }

    void MakeProject(int modelCode)
    {
        m_frame.m_strProgramFolder = TestProgramFolder();
        m_frame.m_nModelCode = modelCode;
        SetMainFrameState(&m_frame);
        ASSERT_TRUE(m_doc.NewProject());
        m_messages.Clear();
        m_links.drive = &m_frame;
        m_links.doc = &m_doc;
        m_links.chooseStation = [] { return -1; };
        m_links.groupStored = [](int) {};
        m_links.curEdit = &m_pCurEdit;
        m_links.editSel = &m_dwEditSel;
        m_links.keypad = &m_pKeypad;
    }

    void TearDown() override
    {
        if (m_editor)
            m_editor->Destroy();
        Yield();
        SetMainFrameState(nullptr);
    }

    CParamGroupDlg& Open(int group, int nItem = -1)
    {
        if (m_editor)
            m_editor->Destroy();
        m_editor = new CParamGroupDlg(nullptr, m_links);
        m_editor->m_nGroup = group;
        m_editor->m_nItem = nItem;
        m_editor->BuildEditor();
        m_editor->Show();
        Yield();
        return *m_editor;
    }

    wxTextCtrl* Edit(int page, int id) { return wxDynamicCast(m_editor->PagePanel(page)->FindWindow(id), wxTextCtrl); }
    wxString StaticText(int page, int id)
    {
        auto* text = wxDynamicCast(m_editor->PagePanel(page)->FindWindow(id), wxStaticText);
        return text ? text->GetLabel() : wxString("<none>");
    }

    CMainFrameState m_frame;
    CD390DocData m_doc;
    MessageRecorder m_messages;
    EditorLinks m_links;
    wxTextCtrl* m_pCurEdit = nullptr;
    long m_dwEditSel = 0;
    wxWindow* m_pKeypad = nullptr;
    CParamGroupDlg* m_editor = nullptr;
};

TEST_F(Groups11To13WindowTest, TheDigitChosenLastIsNamedBesideTheLists)
{
    MakeProject(0x1100000 + 1202);
    m_doc.FindParam(12, 0)->m_strValue = "01234";
    CParamGroupDlg& editor = Open(12);
    wxWindow* page = editor.PagePanel(0);
    EXPECT_EQ(StaticText(0, 1102), ""); // blank until a list changes
    Choose(page, 1030, 5);
    EXPECT_EQ(StaticText(0, 1102), "PID feedback ");
    Choose(page, 1025, 1);
    EXPECT_EQ(StaticText(0, 1102), "Output Current");
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
    EXPECT_EQ(StaticText(1, 1099), "600.0~800.0");
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
    EXPECT_EQ(StaticText(1, 1099), "300.0~400.0");
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
    wxKeyEvent key(wxEVT_CHAR_HOOK);
    key.m_keyCode = WXK_RETURN;
    key.SetEventObject(hours);
    editor.ProcessWindowEvent(key);
    Yield();
    EXPECT_TRUE(editor.IsShown());
    Click(&editor, wxID_OK);
    EXPECT_EQ(m_doc.FindParam(13, 3)->m_strValue, "12");
    EXPECT_EQ(m_doc.FindParam(13, 2)->m_strValue, "6");
    EXPECT_EQ(m_doc.FindParam(13, 7)->m_strValue, "01234");
}
