// The navigator tree on the native data view: clicks reported upward, the
// colour and font map, and the search over the shown items.

#include "controls/CJTreeCtrl.h"
#include "tests/controlsgui/ControlsGuiSupport.h"

#include <gtest/gtest.h>
#include <wx/frame.h>
#include <wx/notebook.h>

#include <string>
#include <vector>

namespace {

// A frame with a tab control whose page is the tree, as the main frame has it.
class TreeCtrlTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_frame = new wxFrame(nullptr, wxID_ANY, "tree", wxPoint(50, 50), wxSize(400, 500));
        m_tabs = new wxNotebook(m_frame, 125, wxDefaultPosition, wxDefaultSize, wxNB_BOTTOM);
        m_tree = new CCJTreeCtrl(m_tabs, 0);
        m_tabs->AddPage(m_tree, "Project");
        m_root = m_tree->AddRoot("Project", 0);
        m_parameter = m_tree->AppendItem(m_root, "Parameter", 2000);
        for (int group = 0; group < 4; ++group)
            m_groups.push_back(m_tree->AppendItem(m_parameter, wxString::Format("Group %02d", group), 2002 + 2 * group));
        m_tree->Expand(m_root);
        m_tree->Expand(m_parameter);

        auto record = [this](const char* name, const wxEventTypeTag<wxCommandEvent>& type, wxWindow* where) {
            where->Bind(type, [this, name, where](wxCommandEvent& event) {
                Seen seen{name, where == m_frame ? "frame" : "owner", event.GetInt(),
                          static_cast<CJTreeItem*>(event.GetClientData())};
                m_seen.push_back(seen);
            });
        };
        record("select", WM_TREE_SELECT, m_frame);
        record("dblclk", WM_TREE_DBLCLK, m_frame);
        record("rclick", WM_TREE_RCLICK, m_frame);
        record("hit", WM_TREE_ITEM_HIT, m_tabs);
        record("done", WM_TREE_CLICK_DONE, m_tabs);
        record("rclick", WM_TREE_RCLICK, m_tabs);
        // What reaches the frame from the owner would arrive twice.
        record("hit", WM_TREE_ITEM_HIT, m_frame);
        record("done", WM_TREE_CLICK_DONE, m_frame);
        m_tree->Bind(wxEVT_DATAVIEW_ITEM_CONTEXT_MENU, [this](wxDataViewEvent&) { ++m_contextMenus; });

        m_frame->Show();
        m_frame->Raise();
        Pump(400);
    }

    void TearDown() override
    {
        m_frame->Destroy();
        Pump(50);
    }

    struct Seen {
        std::string name;
        std::string where;
        int value;
        CJTreeItem* item;
    };

    wxPoint CentreOf(CJTreeItem* item) const
    {
        wxRect rect = m_tree->GetItemRect(item);
        return wxPoint(rect.x + rect.width / 2, rect.y + rect.height / 2);
    }

    // Below the last item.
    wxPoint EmptySpace() const
    {
        wxRect last = m_tree->GetItemRect(m_groups.back());
        return wxPoint(last.x + 5, last.GetBottom() + 60);
    }

    void Click(const wxPoint& point, int button = wxMOUSE_BTN_LEFT)
    {
        MoveTo(m_tree, point);
        wxUIActionSimulator sim;
        sim.MouseClick(button);
        Pump(300);
    }

    void DoubleClick(const wxPoint& point)
    {
        MoveTo(m_tree, point);
        wxUIActionSimulator sim;
        sim.MouseDblClick();
        Pump(400);
    }

    std::vector<std::string> Names() const
    {
        std::vector<std::string> names;
        for (const Seen& seen : m_seen)
            names.push_back(seen.where + ":" + seen.name);
        return names;
    }

    wxFrame* m_frame = nullptr;
    wxNotebook* m_tabs = nullptr;
    CCJTreeCtrl* m_tree = nullptr;
    CJTreeItem* m_root = nullptr;
    CJTreeItem* m_parameter = nullptr;
    std::vector<CJTreeItem*> m_groups;
    std::vector<Seen> m_seen;
    int m_contextMenus = 0;
};

TEST_F(TreeCtrlTest, LeftClickOnAnItemSelectsThenReportsHitAndDone)
{
    Click(CentreOf(m_groups[2]));
    EXPECT_EQ(m_tree->GetSelectedItem(), m_groups[2]);
    ASSERT_EQ(Names(), (std::vector<std::string>{"frame:select", "owner:hit", "owner:done"}));
    EXPECT_EQ(m_seen[1].item, m_groups[2]);
    EXPECT_EQ(m_seen[1].value, 2006);
}

TEST_F(TreeCtrlTest, LeftClickOnEmptySpaceOnlyReportsTheSelectMessage)
{
    Click(EmptySpace());
    EXPECT_EQ(Names(), (std::vector<std::string>{"frame:select"}));
}

TEST_F(TreeCtrlTest, DoubleClickReportsTheItemDataOrMinusOne)
{
    DoubleClick(EmptySpace());
    ASSERT_FALSE(m_seen.empty());
    EXPECT_EQ(m_seen.back().name, "dblclk");
    EXPECT_EQ(m_seen.back().value, -1);

    m_seen.clear();
    DoubleClick(CentreOf(m_groups[1]));
    ASSERT_FALSE(m_seen.empty());
    EXPECT_EQ(m_seen.back().name, "dblclk");
    EXPECT_EQ(m_seen.back().value, 2004);
}

TEST_F(TreeCtrlTest, RightClickSelectsTheItemAndSkipsTheTreesOwnHandling)
{
    Click(CentreOf(m_groups[3]), wxMOUSE_BTN_RIGHT);
    EXPECT_EQ(m_tree->GetSelectedItem(), m_groups[3]);
    ASSERT_EQ(Names(), (std::vector<std::string>{"frame:rclick", "owner:rclick"}));
    EXPECT_EQ(m_seen[0].item, nullptr);
    EXPECT_EQ(m_seen[1].item, m_groups[3]);
    EXPECT_EQ(m_contextMenus, 0);

    m_seen.clear();
    Click(EmptySpace(), wxMOUSE_BTN_RIGHT);
    EXPECT_EQ(Names(), (std::vector<std::string>{"frame:rclick"}));
    EXPECT_EQ(m_tree->GetSelectedItem(), m_groups[3]) << "a right click off the items keeps the selection";
}

TEST_F(TreeCtrlTest, ColourAndBoldAreTheItemsAttributes)
{
    wxDataViewItemAttr plain;
    EXPECT_FALSE(m_tree->GetTreeModel()->GetAttr(CCJTreeModel::HandleOf(m_groups[0]), 0, plain));

    m_tree->SetItemColorFont(m_groups[0], {wxColour(0, 0, 255), false, true});
    m_tree->SetItemBold(m_groups[1], true);
    wxDataViewItemAttr coloured;
    ASSERT_TRUE(m_tree->GetTreeModel()->GetAttr(CCJTreeModel::HandleOf(m_groups[0]), 0, coloured));
    EXPECT_EQ(coloured.GetColour(), wxColour(0, 0, 255));
    EXPECT_TRUE(coloured.GetItalic());
    wxDataViewItemAttr bold;
    ASSERT_TRUE(m_tree->GetTreeModel()->GetAttr(CCJTreeModel::HandleOf(m_groups[1]), 0, bold));
    EXPECT_TRUE(bold.GetBold());
    EXPECT_TRUE(m_tree->GetItemBold(m_groups[1]));

    m_tree->DeleteAllItems();
    EXPECT_EQ(m_tree->GetCount(), 0u);
    EXPECT_EQ(m_tree->GetRootItem(), nullptr);
}

TEST_F(TreeCtrlTest, SearchStartsAtTheSelectedItem)
{
    m_tree->SelectItem(m_groups[2]);
    EXPECT_EQ(m_tree->FindItem("group", false, true, false), m_groups[2]);
    EXPECT_EQ(m_tree->FindItem("group", false, true, false, m_groups[3]), m_groups[3]);
    EXPECT_EQ(m_tree->FindItem("parameter", false, false, false), m_parameter);
    EXPECT_EQ(m_tree->FindItem("", false, true, false), nullptr);
}

} // namespace
