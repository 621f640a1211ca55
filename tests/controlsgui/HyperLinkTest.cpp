// The hyperlink: colours while hovered and once visited, underline modes, and
// a launcher that fails.

#include "controls/HyperLink.h"
#include "tests/common/MessageRecorder.h"
#include "tests/controlsgui/ControlsGuiSupport.h"

#include <gtest/gtest.h>
#include <wx/frame.h>
#include <wx/panel.h>

namespace {

const wxColour kLink(0, 0, 200);
const wxColour kVisited(120, 0, 120);
const wxColour kHover(200, 0, 0);

class HyperLinkTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_frame = new wxFrame(nullptr, wxID_ANY, "link", wxPoint(60, 60), wxSize(300, 200));
        // On a panel: a frame's only child would fill the frame.
        auto* panel = new wxPanel(m_frame);
        m_link = new CHyperLink(panel, wxID_ANY, "Open the address", "http://127.0.0.1/");
        m_link->SetPosition(wxPoint(20, 20));
        m_link->SetColours(kLink, kVisited, kHover);
        m_previousLauncher = CHyperLink::SetLauncher([this](const wxString& url, wxString& reason) {
            m_opened.push_back(url);
            if (!m_fail)
                return true;
            reason = "xdg-open: no method available";
            return false;
        });
        m_previousBell = CHyperLink::SetBell([this] { ++m_bells; });
        m_frame->Show();
        Pump(200);
    }

    void TearDown() override
    {
        CHyperLink::SetLauncher(m_previousLauncher);
        CHyperLink::SetBell(m_previousBell);
        m_frame->Destroy();
        Pump(50);
    }

    void ClickLink()
    {
        wxUIActionSimulator sim;
        wxSize size = m_link->GetSize();
        sim.MouseMove(m_link->ClientToScreen(wxPoint(size.x / 2, size.y / 2)));
        Pump(150);
        sim.MouseClick();
        Pump(300);
    }

    void MouseAway()
    {
        wxUIActionSimulator sim;
        sim.MouseMove(m_frame->ClientToScreen(wxPoint(250, 150)));
        Pump(300);
    }

    wxFrame* m_frame = nullptr;
    CHyperLink* m_link = nullptr;
    CHyperLink::Launcher m_previousLauncher;
    std::function<void()> m_previousBell;
    std::vector<wxString> m_opened;
    bool m_fail = false;
    int m_bells = 0;
    MessageRecorder m_messages;
};

TEST_F(HyperLinkTest, AnOpenedLinkKeepsTheVisitedColourOnceTheMouseIsGone)
{
    EXPECT_EQ(m_link->GetTextColour(), kLink);
    ClickLink();
    ASSERT_EQ(m_opened.size(), 1u);
    EXPECT_EQ(m_opened[0], "http://127.0.0.1/");
    EXPECT_TRUE(m_link->GetVisited());
    MouseAway();
    EXPECT_FALSE(m_link->IsOver());
    EXPECT_EQ(m_link->GetTextColour(), kVisited);
    EXPECT_EQ(m_bells, 0);
    EXPECT_TRUE(m_messages.Texts().empty());
}

TEST_F(HyperLinkTest, AFailingLauncherRingsAndSaysWhy)
{
    m_fail = true;
    ClickLink();
    EXPECT_EQ(m_bells, 1);
    EXPECT_EQ(m_messages.Texts(),
              (std::vector<std::string>{"Unable to open hyperlink:\n\nxdg-open: no method available"}));
    EXPECT_FALSE(m_link->GetVisited());
}

TEST_F(HyperLinkTest, UnderlineFollowsItsMode)
{
    struct Case {
        int mode;
        bool away;
        bool over;
        const char* why;
    };
    const Case cases[] = {
        {CHyperLink::kUnderlineHover, false, true, "underlined only while the mouse is over it"},
        {CHyperLink::kUnderlineAlways, true, true, "always underlined: the font never changes"},
        {CHyperLink::kUnderlineNever, false, false, "never underlined"},
    };
    for (const Case& c : cases) {
        m_link->SetUnderline(c.mode);
        MouseAway();
        EXPECT_EQ(m_link->GetFont().GetUnderlined(), c.away) << c.why;
        wxUIActionSimulator sim;
        sim.MouseMove(m_link->ClientToScreen(wxPoint(5, m_link->GetSize().y / 2)));
        Pump(200);
        EXPECT_EQ(m_link->GetFont().GetUnderlined(), c.over) << c.why;
        if (c.mode == CHyperLink::kUnderlineHover) {
            EXPECT_EQ(m_link->GetTextColour(), kHover);
        }
    }
    m_link->SetUnderline(5);
    EXPECT_EQ(m_link->GetUnderline(), CHyperLink::kUnderlineNever) << "an unknown mode changes nothing";
}

} // namespace
