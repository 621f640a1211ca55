// The control window against the simulated drive: its buttons' words, the
// jog buttons, "Set", its siblings, and failures.

#include "monitor/GraphDlg.h"
#include "monitor/MonitorControlDlg.h"
#include "monitor/MonitorStatusDlg.h"
#include "monitor/StatusTabDlg145.h"
#include "platform/Accessible.h"
#include "platform/ModalWindow.h"
#include "tests/common/GuiTestSupport.h"
#include "tests/common/PumpUntil.h"
#include "tests/monitorgui/LiveWindowFixture.h"

#include <wx/button.h>
#include <wx/frame.h>
#include <wx/stopwatch.h>
#include <wx/textctrl.h>
#include <wx/uiaction.h>
#include <wx/weakref.h>

namespace {

class ControlTest : public LiveWindowFixture {
protected:
    CMonitorControlDlg* Open()
    {
        m_control = new CMonitorControlDlg(nullptr, m_state, 0, &m_project);
        return m_control;
    }
    void TearDown() override
    {
        delete m_control;
        LiveWindowFixture::TearDown();
    }
    void Click(int id)
    {
        wxCommandEvent click(wxEVT_BUTTON, id);
        click.SetEventObject(m_control->FindWindow(id));
        m_control->ProcessWindowEvent(click);
        m_control->Settle();
    }
    CMonitorControlDlg* m_control = nullptr;
};

} // namespace

TEST_F(ControlTest, ButtonsRewriteTheFreshWord)
{
    Open();
    m_drive->SetRegister(1, 0x2501, 0x0001); // running
    const struct {
        int id;
        std::uint16_t before;
        std::uint16_t written;
    } cases[] = {
        { CMonitorControlDlg::IDC_RUN, 0x0001, 0x0001 }, // rewritten, no skip
        { CMonitorControlDlg::IDC_REV, 0x0001, 0x0003 },
        { CMonitorControlDlg::IDC_FWD, 0x0003, 0x0001 },
        { CMonitorControlDlg::IDC_STOP, 0x0001, 0x0000 },
        { CMonitorControlDlg::IDC_ABNORMAL, 0x0000, 0x0004 },
        { CMonitorControlDlg::IDC_FAULT_RESET, 0x0000, 0x0008 },
    };
    for (const auto& c : cases) {
        m_drive->SetRegister(1, 0x2501, c.before);
        Mark();
        Click(c.id);
        EXPECT_EQ(Requests(), (std::vector<Bytes> { Read(1, 0x2501, 1), Write(1, 0x2501, c.written) })) << c.id;
    }
    EXPECT_EQ(m_drive->GetRegister(1, 0x2521), 0) << "Fault Reset cleared the trip of Abnormal";
    EXPECT_TRUE(m_messages.Texts().empty());
}

TEST_F(ControlTest, JogWaitsForThePollAndChangesOnlyItsBitOfAFreshWord)
{
    Open();
    auto* jog = dynamic_cast<wxButton*>(m_control->FindWindow(CMonitorControlDlg::IDC_JOG_FORWARD));
    EXPECT_FALSE(jog->IsEnabled()) << "no guessed word before the first poll";
    m_control->Poll();
    EXPECT_TRUE(jog->IsEnabled());
    EXPECT_EQ(jog->GetLabel().utf8_string(), Res(61543));
    Mark();
    Click(CMonitorControlDlg::IDC_JOG_FORWARD);
    EXPECT_EQ(Requests(), (std::vector<Bytes> { Read(1, 0x2501, 1), Write(1, 0x2501, 0x0010) }));
    m_control->Poll();
    EXPECT_EQ(jog->GetLabel().utf8_string(), Res(61544));
    // STOP meanwhile clears the run bit; stopping the jog must not set it again.
    m_drive->SetRegister(1, 0x2501, 0x0010);
    Mark();
    Click(CMonitorControlDlg::IDC_JOG_FORWARD);
    EXPECT_EQ(Requests(), (std::vector<Bytes> { Read(1, 0x2501, 1), Write(1, 0x2501, 0x0000) }));
}

TEST_F(ControlTest, SetChecksTheValueBeforeItIsCutAndConvertsAsTheKeypad)
{
    Open();
    auto* edit = dynamic_cast<wxTextCtrl*>(m_control->FindWindow(CMonitorControlDlg::IDC_FREQUENCY));
    const struct {
        const char* text;
        bool written;
        std::uint16_t value;
    } cases[] = { { "700.00", false, 0 }, { "0.29", true, 29 }, { "60.01", false, 0 }, { "60.00", true, 6000 } };
    for (const auto& c : cases) {
        m_messages.Clear();
        edit->ChangeValue(c.text);
        Mark();
        Click(CMonitorControlDlg::IDC_SET);
        std::vector<Bytes> expected { Read(1, 0x000C, 2) };
        if (c.written)
            expected.push_back(Write(1, 0x2502, c.value));
        EXPECT_EQ(Requests(), expected) << c.text;
        EXPECT_EQ(m_messages.Texts(), c.written ? std::vector<std::string> {} : std::vector<std::string> { Res(61535) })
            << c.text;
    }
}

TEST_F(ControlTest, PollFailuresShowOneMessageAndStop)
{
    const struct {
        const char* name;
        std::function<void(bool)> set;
        unsigned message;
    } cases[] = {
        { "silent", [&](bool on) { m_drive->SetSilent(1, on); }, 61478 },
        { "corrupt CRC", [&](bool on) { m_drive->SetCorruptCrc(1, on); }, 61477 },
        { "refused", [&](bool on) { m_drive->ForceException(1, 0x2501, on ? 0x52 : 0); }, 61479 },
    };
    for (const auto& c : cases) {
        m_messages.Clear();
        Open();
        m_control->Show();
        m_control->Poll();
        EXPECT_TRUE(m_control->ShowsLiveValues()) << c.name;
        c.set(true);
        m_control->Poll();
        c.set(false);
        EXPECT_EQ(m_messages.Texts(), std::vector<std::string> { Res(c.message) }) << c.name;
        EXPECT_FALSE(m_control->IsPolling()) << c.name;
        // The jog buttons no longer offer what the last poll read.
        EXPECT_FALSE(m_control->ShowsLiveValues()) << c.name;
        EXPECT_FALSE(m_control->FindWindow(CMonitorControlDlg::IDC_JOG_FORWARD)->IsEnabled()) << c.name;
        delete m_control;
        m_control = nullptr;
    }
}

TEST_F(ControlTest, LinkClosedByTheWatchdogSendsNothingAndDisablesTheButtons)
{
    m_drive->SetRegister(1, 0x2501, 0x0010); // jogging forward
    Open();
    m_control->Poll();
    EXPECT_EQ(m_control->FindWindow(CMonitorControlDlg::IDC_JOG_FORWARD)->GetLabel().utf8_string(), Res(61544));
    CloseLink();
    Mark();
    m_control->Poll();
    EXPECT_EQ(m_control->FindWindow(CMonitorControlDlg::IDC_JOG_FORWARD)->GetLabel().utf8_string(), Res(61543))
        << "no jog state read before the link went stays on show";
    Click(CMonitorControlDlg::IDC_RUN);
    EXPECT_TRUE(Requests().empty());
    EXPECT_FALSE(m_control->FindWindow(CMonitorControlDlg::IDC_RUN)->IsEnabled());
    EXPECT_FALSE(m_control->FindWindow(CMonitorControlDlg::IDC_JOG_FORWARD)->IsEnabled());
    EXPECT_TRUE(m_messages.Texts().empty());
}

// A button that goes grey when the link goes takes the focus with it: the
// next control that still works has it, not nothing.
TEST_F(ControlTest, ALostLinkLeavesTheFocusOnAControlThatWorks)
{
    Open();
    m_control->Show();
    m_control->Poll();
    for (int id : {CMonitorControlDlg::IDC_RUN, CMonitorControlDlg::IDC_SET}) {
        SCOPED_TRACE(id);
        if (id != CMonitorControlDlg::IDC_RUN) {
            delete m_control;
            m_drive->Stop();
            StartDrive();
            Open();
            m_control->Show();
            m_control->Poll();
        }
        m_control->FindWindow(id)->SetFocus();
        PumpUntil(nullptr, 100);
        ASSERT_EQ(wxWindow::FindFocus(), m_control->FindWindow(id));
        CloseLink();
        m_control->Poll();
        // The toolkit moves the focus when it next runs its loop.
        PumpUntil([] { return wxWindow::FindFocus() != nullptr; }, 1000);
        wxWindow* focus = wxWindow::FindFocus();
        ASSERT_NE(focus, nullptr);
        EXPECT_EQ(focus->GetParent(), m_control);
        EXPECT_TRUE(focus->IsEnabled());
    }
}

// Run as the main frame runs it: the status monitor and the graph window it
// opens take clicks, sit at its right edge, and close with it; the graph
// window starts from the open project's channels.
TEST_F(ControlTest, SiblingsTakeClicksAndCloseWithTheControlWindow)
{
    m_project.m_strGraphSource[0] = "Output Frequency";
    m_project.m_strGraphMax[0] = "60.00";
    auto* frame = new wxFrame(nullptr, wxID_ANY, "main", wxPoint(0, 0), wxSize(300, 200));
    wxTheApp->SetTopWindow(frame);
    frame->Show();
    auto* control = new CMonitorControlDlg(frame, m_state, 0, &m_project);
    control->Move(10, 10);
    wxWeakRef<wxWindow> status;
    wxWeakRef<wxWindow> graph;
    bool started = false;
    bool twice = false;
    bool atRightEdge = false;
    std::string graphChannel;
    control->CallAfter([&] {
        PumpUntil([&] { return control->IsShownOnScreen(); });
        wxUIActionSimulator sim;
        auto click = [&](wxWindow* button) {
            sim.MouseMove(button->GetScreenRect().GetPosition() + button->GetSize() / 2);
            PumpUntil(nullptr, 100);
            sim.MouseClick();
        };
        click(control->FindWindow(CMonitorControlDlg::IDC_SHOW_STATUS));
        PumpUntil([&] { return control->GetStatusWindow() && control->GetStatusWindow()->IsShownOnScreen(); });
        CMonitorStatusDlg* monitor = control->GetStatusWindow();
        if (monitor) {
            status = monitor;
            PumpUntil(nullptr, 300);
            atRightEdge = monitor->GetScreenPosition().x >= control->GetScreenRect().GetRight();
            click(monitor->FindWindow(CMonitorStatusDlg::IDC_START));
            started = PumpUntil([&] { return monitor->GetStatusPage()->IsPolling(); }, 2000);
            wxCommandEvent again(wxEVT_BUTTON, CMonitorControlDlg::IDC_SHOW_STATUS);
            control->ProcessWindowEvent(again);
            twice = control->GetStatusWindow() == monitor;
        }
        wxCommandEvent graphClick(wxEVT_BUTTON, CMonitorControlDlg::IDC_GRAPH);
        control->ProcessWindowEvent(graphClick);
        graph = control->GetGraphWindow();
        if (auto* chart = dynamic_cast<CGraphDlg*>(control->GetGraphWindow()))
            graphChannel = chart->Recorder().m_Channels[0].name + " " + chart->Recorder().m_Channels[0].maxText;
        control->Close();
    });
    RunModalToMainFrame(control, frame);
    PumpUntil(nullptr, 100);
    EXPECT_TRUE(atRightEdge);
    EXPECT_TRUE(started) << "a click on the status monitor's Start reached it";
    EXPECT_TRUE(twice) << "one status monitor";
    EXPECT_FALSE(status) << "closed with the control window";
    EXPECT_FALSE(graph) << "closed with the control window";
    EXPECT_EQ(graphChannel, "Output Frequency 60.00");
    wxTheApp->SetTopWindow(nullptr);
    frame->Destroy();
    PumpUntil(nullptr, 50);
}

// Esc in the graph window opened from the control window is the graph
// window's own (its chart's cursor, its menu): it closes neither window; Esc
// in the control window closes it.
TEST_F(ControlTest, EscInTheGraphWindowClosesNeitherWindow)
{
    auto* frame = new wxFrame(nullptr, wxID_ANY, "main", wxPoint(0, 0), wxSize(300, 200));
    wxTheApp->SetTopWindow(frame);
    frame->Show();
    auto* control = new CMonitorControlDlg(frame, m_state, 0, &m_project);
    wxWeakRef<wxWindow> alive(control);
    wxWeakRef<wxWindow> graph;
    bool graphStays = false;
    bool controlShown = false;
    bool controlPolling = false;
    auto esc = [](wxWindow* from) {
        wxKeyEvent key(wxEVT_CHAR_HOOK);
        key.m_keyCode = WXK_ESCAPE;
        key.SetEventObject(from);
        from->ProcessWindowEvent(key);
    };
    control->CallAfter([&] {
        PumpUntil([&] { return control->IsShownOnScreen(); });
        wxCommandEvent graphClick(wxEVT_BUTTON, CMonitorControlDlg::IDC_GRAPH);
        control->ProcessWindowEvent(graphClick);
        graph = control->GetGraphWindow();
        if (!graph)
            return control->Close(), void();
        PumpUntil([&] { return graph && graph->IsShownOnScreen(); }, 2000);
        // The key as the graph window's focused control passes it on.
        wxWindow* inside = graph->GetChildren().empty() ? graph.get() : graph->GetChildren().front();
        esc(inside);
        PumpUntil([&] { return !graph || !graph->IsShown(); }, 300);
        graphStays = graph && graph->IsShown();
        controlShown = control->IsShown();
        controlPolling = control->IsPolling();
        esc(control->FindWindow(CMonitorControlDlg::IDC_STATION));
    });
    RunModalToMainFrame(control, frame);
    EXPECT_TRUE(graphStays);
    EXPECT_TRUE(controlShown) << "the graph window's Esc closed the control window";
    EXPECT_TRUE(controlPolling);
    EXPECT_FALSE(alive) << "Esc in the control window closes it";
    EXPECT_FALSE(graph) << "and the graph window with it";
    EXPECT_TRUE(frame->IsEnabled());
    wxTheApp->SetTopWindow(nullptr);
    frame->Destroy();
    PumpUntil(nullptr, 50);
}

TEST_F(ControlTest, StationBoxIsNamedByItsLabel)
{
    Open();
    EXPECT_EQ(GetAccessibleName(m_control->FindWindow(CMonitorControlDlg::IDC_STATION)), "Station Num");
}

TEST_F(ControlTest, TabFollowsTheScreenAndEnterInTheFieldSetsOnDesktop)
{
    if (!WindowManagerRunning())
        GTEST_SKIP() << "needs a window manager (with-openbox.sh)";
    Open();
    m_control->Show();
    m_control->Raise();
    m_control->Poll();
    wxWindow* station = m_control->FindWindow(CMonitorControlDlg::IDC_STATION);
    station->SetFocus();
    ASSERT_TRUE(PumpUntil([&] { return m_control->IsActive(); }, 3000));
    // From the station list down the screen: the buttons row by row, the
    // field and its "Set", the buttons at the bottom.
    const int order[] = {CMonitorControlDlg::IDC_RUN,         CMonitorControlDlg::IDC_STOP,
                         CMonitorControlDlg::IDC_FWD,         CMonitorControlDlg::IDC_REV,
                         CMonitorControlDlg::IDC_ABNORMAL,    CMonitorControlDlg::IDC_FAULT_RESET,
                         CMonitorControlDlg::IDC_JOG_FORWARD, CMonitorControlDlg::IDC_JOG_REVERSE,
                         CMonitorControlDlg::IDC_FREQUENCY,   CMonitorControlDlg::IDC_SET,
                         CMonitorControlDlg::IDC_SHOW_STATUS, CMonitorControlDlg::IDC_GRAPH,
                         wxID_CANCEL};
    wxUIActionSimulator keys;
    for (int id : order) {
        keys.Char(WXK_TAB);
        PumpUntil([&] { return wxWindow::FindFocus() == m_control->FindWindow(id); }, 1000);
        EXPECT_EQ(wxWindow::FindFocus(), m_control->FindWindow(id)) << "Tab to " << id;
    }
    // Enter in the field is "Set".
    auto* edit = dynamic_cast<wxTextCtrl*>(m_control->FindWindow(CMonitorControlDlg::IDC_FREQUENCY));
    edit->SetFocus();
    edit->ChangeValue("12.50");
    PumpUntil([&] { return wxWindow::FindFocus() == edit; }, 1000);
    Mark();
    keys.Char(WXK_RETURN);
    // The window's own polls of the command word go on meanwhile.
    auto setting = [&] {
        std::vector<Bytes> sent = Requests();
        std::erase(sent, Read(1, 0x2501, 1));
        return sent;
    };
    PumpUntil([&] { return setting().size() >= 2; }, 3000);
    m_control->Settle();
    EXPECT_EQ(setting(), (std::vector<Bytes> { Read(1, 0x000C, 2), Write(1, 0x2502, 1250) }));
    EXPECT_TRUE(m_control->IsShown()) << "Enter did not close the window";
}
