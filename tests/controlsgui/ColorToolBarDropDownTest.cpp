// The toolbar's drop-down buttons: a click on a button's arrow drops the
// first menu of its menu resource under the button, and the chosen command
// reaches the record's window; real mouse and keyboard input through the X
// server.

#include "controls/ColorToolBar.h"
#include "tests/controlsgui/ControlsGuiSupport.h"

#include <gtest/gtest.h>
#include <wx/frame.h>
#include <wx/menu.h>
#include <wx/timer.h>

#include <gtk/gtk.h>

#include <memory>
#include <vector>

namespace {

constexpr int kImageWidth = 33;
constexpr int kOpen = 101;
constexpr int kRecent = 102;
constexpr int kPrint = 103;
constexpr int kRecentMenu = 500;
constexpr int kFirstRecent = 201;
constexpr int kSecondRecent = 202;

// Three 33-pixel images in one strip.
wxImage Strip()
{
    wxImage strip(3 * kImageWidth, 30);
    for (int x = 0; x < strip.GetWidth(); ++x)
        for (int y = 0; y < strip.GetHeight(); ++y)
            strip.SetRGB(x, y, static_cast<unsigned char>(60 * (x / kImageWidth)), 120, 200);
    return strip;
}

class ColorToolBarDropDownTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_frame = new wxFrame(nullptr, wxID_ANY, "toolbar", wxPoint(50, 50), wxSize(500, 300));
        m_toolbar = new CColorToolBar(m_frame);
        m_toolbar->SetTrueColorImageList(CColorToolBar::TB_SETIMAGELIST, Strip(), kImageWidth);
        m_toolbar->SetMenuLoader([this](int menuId) -> wxMenuBar* {
            m_loaded.push_back(menuId);
            if (menuId != kRecentMenu)
                return nullptr;
            auto* recent = new wxMenu;
            recent->Append(kFirstRecent, "First project");
            recent->Append(kSecondRecent, "Second project");
            auto* bar = new wxMenuBar;
            bar->Append(recent, "Recent");
            bar->Append(new wxMenu, "Other");
            return bar;
        });
        m_frame->Bind(wxEVT_MENU_OPEN, [this](wxMenuEvent& event) {
            ++m_menusOpened;
            m_opened = event.GetMenu();
            if (m_opened)
                m_openedItems = m_opened->GetMenuItemCount();
            // The menu grabs the input: the user's keys come while it is open.
            m_keys.StartOnce(150);
        });
        m_frame->Bind(wxEVT_MENU, [this](wxCommandEvent& event) { m_commands.push_back(event.GetId()); });
        m_keys.Bind(wxEVT_TIMER, [this](wxTimerEvent&) {
            // Where the menu stands on the screen, while it is open.
            if (m_opened && m_opened->m_menu) {
                GdkWindow* window = gtk_widget_get_window(gtk_widget_get_toplevel(m_opened->m_menu));
                if (window)
                    gdk_window_get_origin(window, &m_menuAt.x, &m_menuAt.y);
            }
            wxUIActionSimulator sim;
            sim.Char(WXK_DOWN);
            sim.Char(WXK_DOWN);
            sim.Char(WXK_RETURN);
        });
        m_frame->SetToolBar(m_toolbar);
    }

    void TearDown() override
    {
        m_keys.Stop();
        m_frame->Destroy();
        Pump(50);
    }

    void AddButtons()
    {
        m_toolbar->AddButtons({{kOpen, "Open", "Open a project"},
                               {0, "", ""},
                               {kRecent, "Recent", "Open a recent project"},
                               {kPrint, "Print", "Print the list"}});
        m_frame->Show();
        Pump(300);
    }

    // A real click on the arrow at the right end of a drop-down button.
    void ClickArrow(int buttonId)
    {
        const wxRect button = m_toolbar->GetButtonRect(buttonId);
        ASSERT_FALSE(button.IsEmpty());
        wxUIActionSimulator sim;
        sim.MouseMove(m_toolbar->ClientToScreen(wxPoint(button.GetRight() - 4, button.y + button.height / 2)));
        Pump(100);
        sim.MouseClick();
        PumpUntil([this] { return !m_commands.empty(); }, 3000);
    }

    wxFrame* m_frame = nullptr;
    CColorToolBar* m_toolbar = nullptr;
    wxTimer m_keys;
    std::vector<int> m_loaded;
    std::vector<int> m_commands;
    wxMenu* m_opened = nullptr;
    wxPoint m_menuAt{-1, -1};
    int m_menusOpened = 0;
    int m_openedItems = 0;
};

} // namespace

TEST_F(ColorToolBarDropDownTest, ArrowDropsTheFirstMenuOfTheResourceAndItsCommandReachesTheOwner)
{
    m_toolbar->AddDropDown({kRecent, kRecentMenu, m_frame});
    AddButtons();
    EXPECT_EQ(m_toolbar->FindById(kRecent)->GetKind(), wxITEM_DROPDOWN);
    EXPECT_EQ(m_toolbar->FindById(kOpen)->GetKind(), wxITEM_NORMAL) << "a button without a record has no arrow";

    ClickArrow(kRecent);
    EXPECT_EQ(m_loaded, std::vector<int>{kRecentMenu});
    EXPECT_EQ(m_menusOpened, 1);
    EXPECT_EQ(m_openedItems, 2) << "the first menu of the bar, not the second";
    EXPECT_EQ(m_commands, std::vector<int>{kSecondRecent}) << "the second entry, chosen with the keys";
    // Under the button, from its left edge (the theme's menu border aside).
    const wxRect button = m_toolbar->GetButtonRect(kRecent);
    const wxPoint corner = m_toolbar->ClientToScreen(wxPoint(button.x, button.y + button.height));
    EXPECT_NEAR(m_menuAt.x, corner.x, 8) << "menu at " << m_menuAt.x << "," << m_menuAt.y;
    EXPECT_NEAR(m_menuAt.y, corner.y, 8) << "menu at " << m_menuAt.x << "," << m_menuAt.y;
}

TEST_F(ColorToolBarDropDownTest, ARecordForAButtonThatExistsGivesItItsArrowInItsPlace)
{
    AddButtons();
    m_toolbar->EnableTool(kPrint, false);
    const int position = m_toolbar->GetToolPos(kPrint);
    m_toolbar->AddDropDown({kPrint, kRecentMenu, m_frame});
    Pump(200);
    const wxToolBarToolBase* tool = m_toolbar->FindById(kPrint);
    ASSERT_NE(tool, nullptr);
    EXPECT_EQ(tool->GetKind(), wxITEM_DROPDOWN);
    EXPECT_EQ(m_toolbar->GetToolPos(kPrint), position);
    EXPECT_EQ(tool->GetShortHelp(), "Print");
    EXPECT_EQ(tool->GetLongHelp(), "Print the list");
    EXPECT_FALSE(tool->IsEnabled()) << "it stays disabled";
    EXPECT_TRUE(tool->GetNormalBitmap().IsOk());
}

TEST_F(ColorToolBarDropDownTest, NothingDropsWithoutARecordOrWithoutItsMenu)
{
    AddButtons();
    // An empty table: no button has an arrow, and none drops a menu.
    for (int id : {kOpen, kRecent, kPrint}) {
        EXPECT_EQ(m_toolbar->FindById(id)->GetKind(), wxITEM_NORMAL);
        EXPECT_FALSE(m_toolbar->DropDown(id));
    }
    // A record whose menu resource does not load.
    m_toolbar->AddDropDown({kRecent, kRecentMenu + 1, m_frame});
    EXPECT_FALSE(m_toolbar->DropDown(kRecent));
    Pump(100);
    EXPECT_EQ(m_loaded, std::vector<int>{kRecentMenu + 1});
    EXPECT_EQ(m_menusOpened, 0);
    EXPECT_TRUE(m_commands.empty());
}
