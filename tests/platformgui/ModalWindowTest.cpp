// The helper that runs a window modal to the main frame: the frame is
// disabled meanwhile, the window's own modeless siblings take input, and the
// window is gone once it returns.

#include "platform/ModalWindow.h"
#include "tests/common/PumpUntil.h"

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/button.h>
#include <wx/dialog.h>
#include <wx/frame.h>
#include <wx/sizer.h>
#include <wx/stopwatch.h>
#include <wx/timer.h>
#include <wx/uiaction.h>
#include <wx/weakref.h>

#include <functional>

namespace {

// A run window that opens a modeless sibling, as the control window opens
// the status monitor.
class RunWindow : public wxDialog {
public:
    explicit RunWindow(wxWindow* parent)
        : wxDialog(parent, wxID_ANY, "run window")
    {
        m_open = new wxButton(this, wxID_ANY, "Open sibling");
        auto* sizer = new wxBoxSizer(wxVERTICAL);
        sizer->Add(m_open, 0, wxALL, 10);
        sizer->Add(new wxButton(this, wxID_CANCEL, "Cancel"), 0, wxALL, 10);
        SetSizerAndFit(sizer);
        m_open->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OpenSibling(); });
    }
    void OpenSibling()
    {
        if (!m_sibling) {
            m_sibling = new wxDialog(this, wxID_ANY, "sibling");
            m_siblingButton = new wxButton(m_sibling, wxID_ANY, "Press me", wxDefaultPosition, wxSize(160, 60));
            auto* sizer = new wxBoxSizer(wxVERTICAL);
            sizer->Add(m_siblingButton, 0, wxALL, 10);
            m_sibling->SetSizerAndFit(sizer);
            m_siblingButton->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { ++m_siblingClicks; });
            m_sibling->Move(GetScreenRect().GetRight() + 10, GetScreenRect().GetTop());
        }
        m_sibling->Show();
    }

    wxButton* m_open = nullptr;
    wxDialog* m_sibling = nullptr;
    wxButton* m_siblingButton = nullptr;
    int m_siblingClicks = 0;
};

void Click(wxWindow* button)
{
    wxUIActionSimulator sim;
    sim.MouseMove(button->GetScreenRect().GetPosition() + button->GetSize() / 2);
    PumpUntil(nullptr, 100);
    sim.MouseClick();
}

struct FrameFixture : ::testing::Test {
    void SetUp() override
    {
        frame = new wxFrame(nullptr, wxID_ANY, "main frame", wxPoint(0, 0), wxSize(400, 300));
        wxTheApp->SetTopWindow(frame);
        frame->Show();
        PumpUntil([&] { return frame->IsShownOnScreen(); });
    }
    void TearDown() override
    {
        wxTheApp->SetTopWindow(nullptr);
        frame->Destroy();
        PumpUntil(nullptr, 50);
    }
    wxFrame* frame = nullptr;
};

} // namespace

TEST_F(FrameFixture, ASiblingOfTheRunWindowTakesClicksWhileTheMainFrameIsDisabled)
{
    auto* window = new RunWindow(nullptr);
    wxWeakRef<wxWindow> alive(window);
    bool frameDisabled = false;
    int clicks = -1;
    window->CallAfter([&] {
        frameDisabled = !frame->IsEnabled();
        PumpUntil([&] { return window->IsShownOnScreen(); });
        Click(window->m_open);
        ASSERT_TRUE(PumpUntil([&] { return window->m_sibling && window->m_sibling->IsShownOnScreen(); }))
            << "the run window's button did not open the sibling";
        PumpUntil(nullptr, 200);
        Click(window->m_siblingButton);
        PumpUntil([&] { return window->m_siblingClicks > 0; });
        clicks = window->m_siblingClicks;
        window->Close();
    });
    RunModalToMainFrame(window);
    EXPECT_TRUE(frameDisabled);
    EXPECT_EQ(clicks, 1) << "a modeless sibling of the run window must take the click";
    EXPECT_TRUE(frame->IsEnabled());
    EXPECT_FALSE(alive) << "the window is destroyed when the helper returns";
}

TEST_F(FrameFixture, EndsWhenTheWindowHidesOrDestroysItself)
{
    const struct {
        const char* name;
        std::function<void(wxDialog*)> close;
    } cases[] = {
        { "hidden", [](wxDialog* w) { w->Hide(); } },
        { "Cancel",
            [](wxDialog* w) {
                wxCommandEvent cancel(wxEVT_BUTTON, wxID_CANCEL);
                cancel.SetEventObject(w);
                w->ProcessWindowEvent(cancel);
            } },
        { "destroyed", [](wxDialog* w) { w->Destroy(); } },
    };
    for (const auto& c : cases) {
        auto* window = new RunWindow(nullptr);
        wxWeakRef<wxWindow> alive(window);
        window->CallAfter([&, window] { c.close(window); });
        RunModalToMainFrame(window);
        EXPECT_FALSE(alive) << c.name;
        EXPECT_TRUE(frame->IsEnabled()) << c.name;
    }
}

// A window whose timer is always due leaves the loop no idle time: closing it
// must end the loop all the same, and the main frame takes input again.
TEST_F(FrameFixture, EndsWhileATimerOfTheWindowIsAlwaysDue)
{
    for (const char* road : { "hidden by its timer", "Cancel", "close box" }) {
        auto* window = new RunWindow(nullptr);
        wxWeakRef<wxWindow> alive(window);
        wxTimer timer(window);
        int ticks = 0;
        int ticksAfterClose = -1;
        const std::string how = road;
        window->Bind(wxEVT_TIMER, [&, window](wxTimerEvent&) {
            wxMilliSleep(3); // longer than the period: the timer is always due
            if (ticksAfterClose >= 0)
                ++ticksAfterClose;
            if (++ticks != 20)
                return;
            ticksAfterClose = 0;
            if (how == "hidden by its timer") {
                window->Hide();
            } else if (how == "Cancel") {
                wxCommandEvent cancel(wxEVT_BUTTON, wxID_CANCEL);
                cancel.SetEventObject(window->FindWindow(wxID_CANCEL));
                window->ProcessWindowEvent(cancel);
            } else {
                window->Close();
            }
        });
        window->Bind(wxEVT_DESTROY, [&timer, window](wxWindowDestroyEvent& event) {
            event.Skip();
            if (event.GetEventObject() == window)
                timer.Stop();
        });
        timer.Start(1);
        RunModalToMainFrame(window);
        timer.Stop();
        EXPECT_FALSE(alive) << road;
        EXPECT_TRUE(frame->IsEnabled()) << road;
        EXPECT_LE(ticksAfterClose, 1) << road << ": the loop ends at the close, not when the timer lets it";
    }
}
