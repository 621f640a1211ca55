// The pages of groups 00 to 02 as windows under Xvfb: enabling that follows
// the drive, range texts by model, and what typing keeps.

#include "document/D390DocData.h"
#include "editor/GroupPagePanel.h"
#include "editor/ParamGroupDlg.h"
#include "editor/ParamLabel.h"
#include "link/SerialComm.h"
#include "pages/GroupPages.h"
#include "platform/ResourceModule.h"
#include "shell/MainFrameState.h"
#include "tests/common/MessageRecorder.h"
#include "tests/common/TestPaths.h"
#include "tools/SimulatedDrive.h"

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/choice.h>
#include <wx/notebook.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include <deque>
#include <memory>

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

} // namespace

class Groups00To02WindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { RegisterGroupPages(); }

    void TearDown() override
    {
        if (m_editor)
            m_editor->Destroy();
        Yield();
        SetMainFrameState(nullptr);
        m_frame.m_pComm = nullptr;
        m_comm.Close();
        if (m_drive)
            m_drive->Stop();
    }

    void MakeProject(int modelCode)
    {
        m_frame.m_strProgramFolder = TestProgramFolder();
        m_frame.m_nModelCode = modelCode;
        SetMainFrameState(&m_frame);
        ASSERT_TRUE(m_doc.NewProject());
        m_messages.Clear();
        m_links.drive = &m_frame;
        m_links.doc = &m_doc;
        m_links.chooseStation = [this] {
            if (m_stations.empty())
                return -1;
            int station = m_stations.front();
            m_stations.pop_front();
            return station;
        };
        m_links.curEdit = &m_pCurEdit;
        m_links.editSel = &m_dwEditSel;
        m_links.keypad = &m_pKeypad;
    }

    void Connect(int modelCode)
    {
        SimDriveConfig config;
        config.stations = {SimStationConfig{1, static_cast<uint32_t>(modelCode), 1130}};
        m_drive = std::make_unique<CSimulatedDrive>(config);
        ASSERT_TRUE(m_drive->Start());
        ASSERT_NE(m_comm.InitComm(m_drive->GetPtyPath(), 19200, 8, 0, 1.0f), 0);
        m_frame.m_pComm = &m_comm;
        m_frame.m_bConnected = 1;
        m_frame.m_Stations = {1};
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

    template <class T>
    T* Control(int page, int id)
    {
        return dynamic_cast<T*>(m_editor->PagePanel(page)->FindWindow(id));
    }

    CMainFrameState m_frame;
    CD390DocData m_doc;
    CSerialComm m_comm;
    std::unique_ptr<CSimulatedDrive> m_drive;
    MessageRecorder m_messages;
    EditorLinks m_links;
    std::deque<int> m_stations;
    wxTextCtrl* m_pCurEdit = nullptr;
    long m_dwEditSel = 0;
    wxWindow* m_pKeypad = nullptr;
    CParamGroupDlg* m_editor = nullptr;
};

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
