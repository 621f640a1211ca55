// The main window's docking bar: a double click on its caption floats it, a
// double click on the floating bar's title docks it again on its side; real
// mouse input through the X server.

#include "tests/shellgui/AppFixture.h"

#include "tests/controlsgui/ControlsGuiSupport.h"

#include <wx/aui/dockart.h>
#include <wx/uiaction.h>

namespace {

constexpr const char* kDockPane = "dock";

class DockBarTest : public AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        ASSERT_TRUE(Start());
        Frame().SetSize(40, 40, 900, 600);
        Pump(400);
    }

    wxAuiPaneInfo& Pane() { return Frame().m_wndDockManager.GetPane(kDockPane); }

    static void DoubleClickAt(const wxPoint& screen)
    {
        wxUIActionSimulator sim;
        sim.MouseMove(screen);
        Pump(100);
        sim.MouseDblClick();
        Pump(100);
    }
};

} // namespace

TEST_F(DockBarTest, DoubleClickOnTheCaptionFloatsTheBarAndOnItsTitleDocksItAgain)
{
    ASSERT_TRUE(Pane().IsOk());
    ASSERT_TRUE(Pane().IsDocked());
    ASSERT_EQ(Pane().dock_direction, wxAUI_DOCK_LEFT);
    wxWindow* bar = Pane().window;
    const wxPoint docked = bar->GetScreenPosition();

    // The caption band lies right above the bar's window, drawn on the frame.
    const int caption = Frame().m_wndDockManager.GetArtProvider()->GetMetric(wxAUI_DOCKART_CAPTION_SIZE);
    DoubleClickAt(docked + wxPoint(bar->GetSize().x / 3, -caption / 2));
    ASSERT_TRUE(PumpUntil([&] { return Pane().IsFloating(); })) << "the caption's double click floats the bar";
    wxFrame* floating = Pane().frame;
    ASSERT_NE(floating, nullptr);
    ASSERT_TRUE(PumpUntil([&] { return floating->IsShown(); }));
    EXPECT_EQ(bar->GetParent(), floating) << "the bar's window moved to the floating frame";
    EXPECT_NEAR(floating->GetScreenPosition().y, docked.y, 40) << "it floats where it stood";

    // The floating frame's title band lies above its client area.
    const wxPoint client = floating->ClientToScreen(wxPoint(0, 0));
    const wxPoint frameTop = floating->GetScreenPosition();
    ASSERT_GT(client.y, frameTop.y) << "a title band drawn by the mini frame";
    DoubleClickAt(wxPoint(client.x + floating->GetClientSize().x / 3, (frameTop.y + client.y) / 2));
    ASSERT_TRUE(PumpUntil([&] { return Pane().IsDocked(); })) << "the title's double click docks the bar";
    EXPECT_EQ(Pane().dock_direction, wxAUI_DOCK_LEFT) << "on the side it was docked on";
    EXPECT_EQ(bar->GetParent(), &Frame());
    EXPECT_TRUE(bar->IsShown());

    // A double click in the project tree inside the bar leaves it docked.
    DoubleClickAt(bar->GetScreenPosition() + wxPoint(bar->GetSize().x / 2, bar->GetSize().y / 2));
    Pump(200);
    EXPECT_TRUE(Pane().IsDocked());
}
