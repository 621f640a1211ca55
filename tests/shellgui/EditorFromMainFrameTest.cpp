// The parameter editor as the running program opens it: from the Parameter
// menu of the project's window, modal to the main frame, on its own event
// loop. Group 14 is offered on the extended models only; opening and closing
// every group raises no message of the toolkit (the test main fails a test
// during which GTK reports a critical one).

#include "document/ModelSelectDlg.h"
#include "editor/ParamGroupDlg.h"
#include "res/CommandIds.h"
#include "tests/shellgui/AppFixture.h"
#include "view/D390View.h"

#include <wx/choice.h>
#include <wx/menu.h>
#include <wx/notebook.h>
#include <wx/timer.h>

namespace {

constexpr const char* kPlainModel = "D390-2P2-Hxx";     // code 0x4B2: groups 00 to 13
constexpr const char* kExtendedModel = "D390-1P2-SHxx"; // code 0x110044E: also group 14
// The Parameter menu's commands, group 00 first.
constexpr int kGroupIds[] = {ID_GROUP_00, ID_GROUP_01, ID_GROUP_02, 32776, 32777, 32778, 32779, 32780,
                             32781, 32782, 32783, 32784, 32785, ID_GROUP_13, ID_GROUP_14};

void Click(wxWindow* dialog, int id)
{
    wxCommandEvent click(wxEVT_BUTTON, id);
    click.SetEventObject(dialog->FindWindow(id));
    dialog->FindWindow(id)->GetEventHandler()->ProcessEvent(click);
}

class EditorFromMainFrameTest : public AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        SetModalAnswer([this](wxDialog* dialog) {
            if (auto* models = dynamic_cast<CModelSelectDlg*>(dialog)) {
                auto* combo = wxDynamicCast(models->FindWindow(CModelSelectDlg::IDC_MODEL), wxChoice);
                EXPECT_TRUE(combo->SetStringSelection(m_model)) << m_model;
                Click(models, wxID_OK);
                return models->GetReturnCode();
            }
            if (auto* editor = dynamic_cast<CParamGroupDlg*>(dialog)) {
                // The editor runs on its own loop: every tab is shown in
                // turn, then Cancel.
                m_opened.push_back(editor->m_nGroup);
                m_tabs = editor->Notebook() ? static_cast<int>(editor->Notebook()->GetPageCount()) : 0;
                m_walk.SetOwner(editor);
                editor->Bind(wxEVT_TIMER, [this, editor](wxTimerEvent&) {
                    wxNotebook* tabs = editor->Notebook();
                    if (tabs && m_tab < static_cast<int>(tabs->GetPageCount())) {
                        tabs->SetSelection(static_cast<size_t>(m_tab++));
                        return;
                    }
                    m_walk.Stop();
                    Click(editor, wxID_CANCEL);
                });
                m_tab = 0;
                m_walk.Start(50);
                return int(wxID_NONE);
            }
            ADD_FAILURE() << "unexpected modal dialog: " << dialog->GetTitle().utf8_string();
            return int(wxID_CANCEL);
        });
    }

    void NewProject(const std::string& model)
    {
        m_model = model;
        Command(ID_FILE_NEW);
        ASSERT_NE(Frame().GetActiveProjectView(), nullptr);
    }

    // The Parameter menu's item as the program shows it: the project
    // window's menu bar, once the main frame's idle time has put it in
    // place, updated as GTK's showing of the menu has it updated.
    bool MenuItemEnabled(int id)
    {
        Frame().OnInternalIdle(); // puts the active project's menu bar in place
        wxFrame* child = Frame().GetActiveChild();
        if (!child || !child->GetMenuBar() || !child->GetMenuBar()->FindItem(id)) {
            ADD_FAILURE() << "no menu item " << id << " in the project window's menu bar";
            return false;
        }
        // What GTK's showing of the menu sends: the menu's window is told
        // it opens, and updates its items.
        wxMenu* menu = child->GetMenuBar()->FindItem(id)->GetMenu();
        wxMenuEvent open(wxEVT_MENU_OPEN, 0, menu);
        open.SetEventObject(menu);
        EXPECT_NE(menu->GetWindow(), nullptr);
        if (menu->GetWindow())
            menu->GetWindow()->HandleWindowEvent(open);
        return child->GetMenuBar()->IsEnabled(id);
    }

    std::string m_model = kPlainModel;
    std::vector<int> m_opened;
    wxTimer m_walk;
    int m_tab = 0;
    int m_tabs = 0;
};

} // namespace

TEST_F(EditorFromMainFrameTest, GroupFourteenIsOfferedOnExtendedModelsOnly)
{
    ASSERT_TRUE(Start());
    NewProject(kPlainModel);
    EXPECT_TRUE(MenuItemEnabled(ID_GROUP_13));
    EXPECT_FALSE(MenuItemEnabled(ID_GROUP_14));
    NewProject(kExtendedModel);
    EXPECT_TRUE(MenuItemEnabled(ID_GROUP_14));
}

TEST_F(EditorFromMainFrameTest, EveryGroupOpensFromTheMenuAndCloses)
{
    ASSERT_TRUE(Start());
    for (const char* model : {kPlainModel, kExtendedModel}) {
        NewProject(model);
        m_opened.clear();
        const int last = model == kExtendedModel ? 14 : 13;
        for (int group = 0; group <= last; ++group) {
            Command(kGroupIds[group]);
            EXPECT_EQ(m_tab, m_tabs) << "group " << group << ": every tab was shown";
        }
        std::vector<int> expected;
        for (int group = 0; group <= last; ++group)
            expected.push_back(group);
        EXPECT_EQ(m_opened, expected) << model;
    }
}
