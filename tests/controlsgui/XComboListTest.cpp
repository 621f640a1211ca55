// The drop-down list window: keys, mouse, what it tells its owner, and
// closing on the third loss of focus.

#include "controls/XComboList.h"
#include "tests/controlsgui/ControlsGuiSupport.h"

#include <gtest/gtest.h>
#include <wx/frame.h>
#include <wx/listbox.h>

#include <string>
#include <vector>

namespace {

class XComboListTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_owner = new wxFrame(nullptr, wxID_ANY, "owner", wxPoint(40, 40), wxSize(400, 400));
        auto record = [this](const wxEventTypeTag<wxCommandEvent>& type, const char* name) {
            m_owner->Bind(type, [this, name](wxCommandEvent&) { m_seen.push_back(name); });
        };
        record(WM_XCOMBOLIST_VK_RETURN, "return");
        record(WM_XCOMBOLIST_VK_ESCAPE, "escape");
        record(WM_XCOMBOLIST_KEYDOWN, "keydown");
        record(WM_XCOMBOLIST_LBUTTONUP, "lbuttonup");
        m_owner->Show();
        Pump(200);
        m_combo = new CXComboList(m_owner);
        wxArrayString options;
        for (const char* option : {"Alpha", "Beta", "", "Bravo", "Gamma", "Delta", "Echo", "Foxtrot", "Golf",
                                   "Hotel", "India", "Juliet", "Kilo", "Lima"})
            options.Add(option);
        m_combo->SetOptions(options, "Beta");
    }

    void TearDown() override
    {
        // A popup's destruction waits for idle time; it leaves the screen now.
        m_combo->Dismiss();
        m_combo->Destroy();
        m_owner->Destroy();
        Pump(50);
    }

    void Key(int code)
    {
        wxKeyEvent key(wxEVT_KEY_DOWN);
        key.m_keyCode = code;
        key.SetEventObject(m_combo->GetListBox());
        m_combo->GetListBox()->GetEventHandler()->ProcessEvent(key);
    }

    wxFrame* m_owner = nullptr;
    CXComboList* m_combo = nullptr;
    std::vector<std::string> m_seen;
};

TEST_F(XComboListTest, OptionsSkipEmptyTextsAndSelectTheCurrentText)
{
    EXPECT_EQ(m_combo->GetListBox()->GetCount(), 13u);
    EXPECT_EQ(m_combo->GetListBox()->GetStringSelection(), "Beta");
    wxArrayString options;
    options.Add("One");
    options.Add("Two");
    m_combo->SetOptions(options, "Three");
    EXPECT_EQ(m_combo->GetListBox()->GetSelection(), 0) << "no exact match: the first option";
}

TEST_F(XComboListTest, KeysMoveTheSelectionWithinTheListAndTellTheOwner)
{
    m_combo->ShowUnder(wxRect(m_owner->ClientToScreen(wxPoint(10, 10)), wxSize(120, 22)), 10);
    Pump(200);
    wxListBox* list = m_combo->GetListBox();
    struct Case {
        int from;
        int key;
        int expected;
        const char* why;
    };
    const Case cases[] = {
        {0, WXK_PAGEUP, 0, "Page Up from 0 with a page of 10: 0, not -9"},
        {12, WXK_PAGEDOWN, 12, "Page Down stops at the last item"},
        {2, WXK_PAGEDOWN, 11, "Page Down moves a page less one"},
        {5, WXK_HOME, 0, "Home"},
        {5, WXK_END, 12, "End"},
        {0, WXK_UP, 0, "Up stops at the first"},
        {3, WXK_DOWN, 4, "Down"},
        {1, 'B', 2, "a letter: the next item beginning with it"},
        {2, 'B', 1, "and from the top again"},
    };
    for (const Case& c : cases) {
        list->SetSelection(c.from);
        m_seen.clear();
        Key(c.key);
        EXPECT_EQ(list->GetSelection(), c.expected) << c.why;
        EXPECT_EQ(m_seen, (std::vector<std::string>{"keydown"})) << c.why;
    }
    list->SetSelection(4);
    m_seen.clear();
    Key('Z');
    EXPECT_EQ(list->GetSelection(), 4) << "no item begins with Z";
    EXPECT_TRUE(m_seen.empty());

    Key(WXK_RETURN);
    Key(WXK_ESCAPE);
    EXPECT_EQ(m_seen, (std::vector<std::string>{"return", "escape"}));
}

TEST_F(XComboListTest, AClickOnTheListChoosesAndTheThirdFocusLossCloses)
{
    m_combo->ShowUnder(wxRect(m_owner->ClientToScreen(wxPoint(10, 10)), wxSize(160, 24)), 6);
    Pump(300);
    wxListBox* list = m_combo->GetListBox();
    wxUIActionSimulator sim;
    wxRect item(0, 0, list->GetClientSize().x, list->GetClientSize().y / 6);
    sim.MouseMove(list->ClientToScreen(wxPoint(item.width / 2, item.height / 2)));
    Pump(100);
    sim.MouseClick();
    PumpUntil([this] { return !m_seen.empty(); }, 1500);
    EXPECT_EQ(m_seen, (std::vector<std::string>{"lbuttonup"}));

    m_seen.clear();
    for (int loss = 1; loss <= 3; ++loss) {
        wxFocusEvent lost(wxEVT_KILL_FOCUS);
        lost.SetEventObject(list);
        list->GetEventHandler()->ProcessEvent(lost);
        if (loss < 3) {
            EXPECT_TRUE(m_seen.empty()) << "loss " << loss << " leaves it open";
        }
    }
    EXPECT_EQ(m_seen, (std::vector<std::string>{"escape"}));
}

} // namespace
