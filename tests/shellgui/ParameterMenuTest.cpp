// The Parameter menu of a project's window as the running program shows it:
// Group 14 is offered on the extended models only, both before the menu was
// ever opened (as a screen reader finds the menu bar, and a click on the item
// by its accessible action would run it) and once GTK's showing of the menu
// has updated its items.

#include "document/ModelSelectDlg.h"
#include "res/CommandIds.h"
#include "tests/shellgui/AppFixture.h"
#include "view/D390View.h"

#include <wx/choice.h>
#include <wx/menu.h>

namespace {

constexpr const char* kPlainModel = "D390-2P2-Hxx";     // code 0x4B2: groups 00 to 13
constexpr const char* kExtendedModel = "D390-1P2-SHxx"; // code 0x110044E: also group 14

class ParameterMenuTest : public AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        SetModalAnswer([this](wxDialog* dialog) {
            auto* models = dynamic_cast<CModelSelectDlg*>(dialog);
            if (!models) {
                ADD_FAILURE() << "unexpected modal dialog: " << dialog->GetTitle().utf8_string();
                return int(wxID_CANCEL);
            }
            auto* combo = dynamic_cast<wxChoice*>(models->FindWindow(CModelSelectDlg::IDC_MODEL));
            EXPECT_TRUE(combo->SetStringSelection(m_model)) << m_model;
            wxCommandEvent ok(wxEVT_BUTTON, wxID_OK);
            models->FindWindow(wxID_OK)->GetEventHandler()->ProcessEvent(ok);
            return models->GetReturnCode();
        });
    }

    void NewProject(const std::string& model)
    {
        m_model = model;
        Command(ID_FILE_NEW);
        ASSERT_NE(Frame().GetActiveProjectView(), nullptr);
    }

    // The project window's menu bar, put in place by the idle time of the
    // main frame and of the project window, as the event loop would run it.
    wxMenuBar* ProjectMenuBar()
    {
        Frame().OnInternalIdle();
        wxFrame* child = Frame().GetActiveChild();
        if (!child || !child->GetMenuBar()) {
            ADD_FAILURE() << "no menu bar in the project window";
            return nullptr;
        }
        child->OnInternalIdle();
        return child->GetMenuBar();
    }

    // The item once its menu is shown: GTK tells the menu's window that it
    // opens, which updates its items.
    static bool EnabledWhenOpened(wxMenuBar* bar, int id)
    {
        wxMenu* menu = bar->FindItem(id)->GetMenu();
        wxMenuEvent open(wxEVT_MENU_OPEN, 0, menu);
        open.SetEventObject(menu);
        if (!menu->GetWindow()) {
            ADD_FAILURE() << "the menu has no window";
            return false;
        }
        menu->GetWindow()->HandleWindowEvent(open);
        return bar->IsEnabled(id);
    }

    std::string m_model = kPlainModel;
};

} // namespace

TEST_F(ParameterMenuTest, GroupFourteenIsOfferedOnExtendedModelsOnly)
{
    ASSERT_TRUE(Start());
    NewProject(kPlainModel);
    wxMenuBar* bar = ProjectMenuBar();
    ASSERT_NE(bar, nullptr);
    ASSERT_NE(bar->FindItem(ID_GROUP_14), nullptr);
    EXPECT_TRUE(bar->IsEnabled(ID_GROUP_13));
    EXPECT_FALSE(bar->IsEnabled(ID_GROUP_14)) << "before the menu was opened";
    EXPECT_FALSE(EnabledWhenOpened(bar, ID_GROUP_14));

    NewProject(kExtendedModel);
    bar = ProjectMenuBar();
    ASSERT_NE(bar, nullptr);
    EXPECT_TRUE(bar->IsEnabled(ID_GROUP_14)) << "before the menu was opened";
    EXPECT_TRUE(EnabledWhenOpened(bar, ID_GROUP_14));
}
