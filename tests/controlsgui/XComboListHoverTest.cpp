// The drop-down list follows the mouse: while it is shown, the item under
// the pointer becomes the selection without a click, looked at every 80 ms;
// real pointer motion through the X server.

#include "controls/XComboList.h"
#include "tests/controlsgui/ControlsGuiSupport.h"

#include <gtest/gtest.h>
#include <wx/frame.h>
#include <wx/listbox.h>

#include <string>
#include <vector>

namespace {

class XComboListHoverTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_owner = new wxFrame(nullptr, wxID_ANY, "owner", wxPoint(40, 40), wxSize(400, 400));
        for (const auto* type : {&WM_XCOMBOLIST_VK_RETURN, &WM_XCOMBOLIST_VK_ESCAPE, &WM_XCOMBOLIST_KEYDOWN,
                                 &WM_XCOMBOLIST_LBUTTONUP})
            m_owner->Bind(*type, [this](wxCommandEvent&) { ++m_told; });
        m_owner->Show();
        // The pointer starts away from where the list will be.
        MoveTo(m_owner, wxPoint(380, 380));
        m_combo = new CXComboList(m_owner);
        wxArrayString options;
        for (const char* option : {"Alpha", "Bravo", "Charlie", "Delta", "Echo", "Foxtrot", "Golf", "Hotel"})
            options.Add(option);
        m_combo->SetOptions(options, "Bravo");
    }

    void TearDown() override
    {
        m_combo->Dismiss();
        m_combo->Destroy();
        m_owner->Destroy();
        Pump(50);
    }

    // A point in the middle of an item, found through the list's own hit test.
    wxPoint ItemCentre(int item)
    {
        wxListBox* list = m_combo->GetListBox();
        int top = -1;
        int bottom = -1;
        for (int y = 0; y < list->GetClientSize().y; ++y) {
            if (list->HitTest(wxPoint(10, y)) == item) {
                if (top < 0)
                    top = y;
                bottom = y;
            }
        }
        EXPECT_GE(top, 0) << "item " << item << " is not on the screen";
        return wxPoint(list->GetClientSize().x / 2, (top + bottom) / 2);
    }

    wxFrame* m_owner = nullptr;
    CXComboList* m_combo = nullptr;
    int m_told = 0;
};

} // namespace

TEST_F(XComboListHoverTest, TheItemUnderThePointerBecomesTheSelection)
{
    m_combo->ShowUnder(wxRect(m_owner->ClientToScreen(wxPoint(10, 10)), wxSize(160, 24)), 6);
    Pump(300);
    wxListBox* list = m_combo->GetListBox();
    ASSERT_TRUE(m_combo->IsTrackingHover());
    ASSERT_EQ(list->GetSelection(), 1);

    for (int item : {4, 2, 5}) {
        MoveTo(list, ItemCentre(item));
        EXPECT_TRUE(PumpUntil([&] { return list->GetSelection() == item; }, 1000))
            << "item " << item << " under the pointer, selection " << list->GetSelection();
    }
    EXPECT_EQ(m_told, 0) << "hovering tells the owner nothing; no click was made";

    // Outside the list the selection stays.
    MoveTo(m_owner, wxPoint(380, 380));
    Pump(4 * CXComboList::kHoverIntervalMs);
    EXPECT_EQ(list->GetSelection(), 5);

    m_combo->Dismiss();
    Pump(50);
    EXPECT_FALSE(m_combo->IsTrackingHover()) << "closed, it no longer follows the pointer";
}
