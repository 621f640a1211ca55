// The keypad against the simulated drive: its poll, its keys and knob, the
// FREQ.SET entry, and what it does when the link fails or is gone.

#include "monitor/FreqEdit.h"
#include "monitor/KeyPadDlg.h"
#include "monitor/LiveDriveInfo.h"
#include "platform/Accessible.h"
#include "platform/BackgroundJob.h"
#include "platform/ModalWindow.h"
#include "tests/common/PumpUntil.h"
#include "tests/monitorgui/LiveWindowFixture.h"

#include <wx/bmpbuttn.h>
#include <wx/choice.h>
#include <wx/frame.h>
#include <wx/stattext.h>
#include <wx/stopwatch.h>
#include <wx/uiaction.h>
#include <wx/weakref.h>

namespace {

class KeyPadTest : public LiveWindowFixture {
protected:
    CKeyPadDlg* Open(int model = 0x11004B2, float version = 1.1f)
    {
        m_pad = new CKeyPadDlg(nullptr, m_state, { model, version });
        return m_pad;
    }
    void TearDown() override
    {
        delete m_pad;
        LiveWindowFixture::TearDown();
    }
    CKeyPadDlg* m_pad = nullptr;
};

} // namespace

TEST_F(KeyPadTest, TickReadsStatusSourcesLimitsAndTheMonitorBlockOfTheModel)
{
    const struct {
        int model;
        std::uint8_t count;
        unsigned entries;
    } cases[] = { { 0x1100000, 11, 9 }, { 0x11004B2, 16, 12 } };
    for (const auto& c : cases) {
        // As the main frame opens it: for the open project's model.
        m_project.m_nModelCode = c.model;
        m_project.m_fDriveVersion = 1.1f;
        m_pad = new CKeyPadDlg(nullptr, m_state, LiveDriveInfoOf(m_state, &m_project));
        CKeyPadDlg* pad = m_pad;
        EXPECT_EQ(pad->GetQuantityChoice(0)->GetCount(), c.entries);
        Mark();
        pad->Poll();
        const std::vector<Bytes> expected { Read(1, 0x2520, 1), Read(1, 0x0002, 5), Read(1, 0x000C, 2),
            Read(1, 0x2523, c.count) };
        EXPECT_EQ(Requests(), expected) << std::hex << c.model;
        delete m_pad;
        m_pad = nullptr;
    }
}

TEST_F(KeyPadTest, ReadoutsAndTheDisplayShowTheDriveRunningUp)
{
    m_drive->SetRegister(1, 0x0102, 5000); // 01-02 maximum frequency
    m_drive->SetRegister(1, 0x000E, 100); // 10 s to 50 Hz
    CKeyPadDlg* pad = Open();
    pad->Poll();
    EXPECT_EQ(pad->GetReadout(0)->GetLabel(), "0.00 Hz");
    // RUN at its place on the face, then 30.00 Hz entered.
    pad->PressAt(70, 270);
    wxTheApp->ProcessPendingEvents();
    pad->Settle();
    pad->GetFreqEdit()->ChangeValue("30.00");
    Mark();
    wxCommandEvent enter(wxEVT_TEXT_ENTER, CKeyPadDlg::IDC_FREQ_SET);
    pad->GetFreqEdit()->ProcessWindowEvent(enter);
    pad->Settle();
    EXPECT_EQ(Requests(), std::vector<Bytes> { Write(1, 0x2502, 3000) });
    m_drive->AdvanceClock(std::chrono::seconds(3));
    pad->Poll();
    EXPECT_EQ(pad->GetReadout(0)->GetLabel(), "15.00 Hz") << "output frequency at the ramp rate";
    // A value that moved while read is told in its turn, within a second or two.
    PumpUntil([&] { return GetAccessibleName(pad->GetFace()) == "30.00"; }, 3000);
    EXPECT_EQ(GetAccessibleName(pad->GetFace()), "30.00") << "the display shows the set frequency";
    EXPECT_TRUE(m_messages.Texts().empty());
}

TEST_F(KeyPadTest, RunAndStopAtTheirAreasFollowTheRunSource)
{
    CKeyPadDlg* pad = Open();
    pad->Poll();
    Mark();
    pad->PressAt(70, 270); // RUN
    wxTheApp->ProcessPendingEvents();
    pad->Settle();
    pad->PressAt(70, 270); // RUN on a running drive: read, no write
    wxTheApp->ProcessPendingEvents();
    pad->Settle();
    pad->PressAt(150, 260); // STOP
    wxTheApp->ProcessPendingEvents();
    pad->Settle();
    const std::vector<Bytes> expected { Read(1, 0x2501, 1), Write(1, 0x2501, 1), Read(1, 0x2501, 1),
        Read(1, 0x2501, 1), Write(1, 0x2501, 0) };
    EXPECT_EQ(Requests(), expected);

    m_drive->SetRegister(1, 0x0002, 0);
    pad->Poll();
    Mark();
    pad->PressAt(70, 270);
    wxTheApp->ProcessPendingEvents();
    pad->Settle();
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string> { Res(61516) });
    EXPECT_TRUE(Requests().empty());
}

TEST_F(KeyPadTest, FrequencyEntryChecksSourceAndRangeAndCommitsOnFocusChange)
{
    CKeyPadDlg* pad = Open();
    pad->Poll();
    CFreqEdit* edit = pad->GetFreqEdit();
    auto enter = [&](const char* text) {
        edit->ChangeValue(text);
        wxCommandEvent event(wxEVT_TEXT_ENTER, CKeyPadDlg::IDC_FREQ_SET);
        edit->ProcessWindowEvent(event);
        pad->Settle();
    };
    Mark();
    enter("50.00");
    EXPECT_EQ(Requests(), std::vector<Bytes> { Write(1, 0x2502, 5000) });
    Mark();
    enter("60.01");
    EXPECT_TRUE(Requests().empty());
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string> { Res(61515) });

    // Focus to another control of the keypad commits; to another window it does not.
    m_messages.Clear();
    edit->ChangeValue("12.34");
    wxFocusEvent toCombo(wxEVT_KILL_FOCUS, edit->GetId());
    toCombo.SetWindow(pad->GetQuantityChoice(1));
    edit->ProcessWindowEvent(toCombo);
    pad->Settle();
    EXPECT_EQ(Requests(), std::vector<Bytes> { Write(1, 0x2502, 1234) });
    Mark();
    wxFocusEvent elsewhere(wxEVT_KILL_FOCUS, edit->GetId());
    edit->ProcessWindowEvent(elsewhere);
    EXPECT_TRUE(Requests().empty());

    // Not from communication: 61514, nothing written; the focus loss of the message commits nothing.
    m_drive->SetRegister(1, 0x0005, 1);
    pad->Poll();
    Mark();
    enter("20.00");
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string> { Res(61514) });
    EXPECT_EQ(edit->m_bSuppress, 1);
    edit->ProcessWindowEvent(toCombo);
    EXPECT_EQ(edit->m_bSuppress, 0);
    EXPECT_EQ(m_messages.Texts().size(), 1u);
    EXPECT_TRUE(Requests().empty());
}

TEST_F(KeyPadTest, KnobReleasedAtTheEndStopsWritesTheLimits)
{
    CKeyPadDlg* pad = Open();
    pad->Poll(); // the first poll places the pointer and clears the first-poll flag
    const struct {
        int x;
        int y;
        std::uint16_t written;
    } cases[] = { { 200, 240, 0 }, { 270, 240, 6000 } };
    for (const auto& c : cases) {
        pad->PressAt(232, 180);
        pad->DragTo(c.x, c.y, true);
        pad->ReleaseDrag();
        Mark();
        pad->Poll();
        ASSERT_FALSE(Requests().empty());
        EXPECT_EQ(Requests().front(), Write(1, 0x2502, c.written)) << c.x;
    }
    // Equal limits: the pointer is placed at the start, no division by zero.
    m_drive->SetRegister(1, 0x000C, 3000);
    m_drive->SetRegister(1, 0x000D, 3000);
    m_drive->SetRegister(1, 0x2502, 3000);
    delete m_pad;
    m_pad = nullptr;
    pad = Open();
    pad->Poll();
    EXPECT_TRUE(pad->IsPolling());
}

TEST_F(KeyPadTest, FailuresShowOneMessageAndStopPolling)
{
    const struct {
        const char* name;
        std::function<void(bool)> set;
        unsigned message;
    } cases[] = {
        { "silent", [&](bool on) { m_drive->SetSilent(1, on); }, 61478 },
        { "corrupt CRC", [&](bool on) { m_drive->SetCorruptCrc(1, on); }, 61477 },
        { "refused", [&](bool on) { m_drive->ForceException(1, 0x2520, on ? 0x52 : 0); }, 61479 },
    };
    for (const auto& c : cases) {
        m_messages.Clear();
        CKeyPadDlg* pad = Open();
        c.set(true);
        pad->Poll();
        c.set(false);
        EXPECT_EQ(m_messages.Texts(), std::vector<std::string> { Res(c.message) }) << c.name;
        EXPECT_FALSE(pad->IsPolling()) << c.name;
        delete m_pad;
        m_pad = nullptr;
    }
}

TEST_F(KeyPadTest, LinkClosedByTheWatchdogSendsNothingAndSaysSo)
{
    CKeyPadDlg* pad = Open();
    pad->Poll();
    CloseLink();
    Mark();
    pad->Poll();
    pad->PressAt(70, 270);
    wxTheApp->ProcessPendingEvents();
    pad->Settle();
    EXPECT_TRUE(Requests().empty());
    EXPECT_FALSE(pad->IsPolling());
    EXPECT_TRUE(m_messages.Texts().empty()) << "a line in the window, not a message box";
    bool said = false;
    for (wxWindow* child : pad->GetChildren()) {
        if (auto* label = dynamic_cast<wxStaticText*>(child); label && label->IsShown()
            && label->GetLabel().utf8_string() == Res(61539))
            said = true;
    }
    EXPECT_TRUE(said);
}

namespace {

void ClickAt(const wxPoint& screen)
{
    wxUIActionSimulator sim;
    sim.MouseMove(screen);
    PumpUntil(nullptr, 100);
    sim.MouseClick();
    PumpUntil(nullptr, 100);
}

// A main frame, and the keypad run modal to it as the KeyPad command runs it;
// during runs inside, on the window thread, while the keypad is up.
class KeyPadRunTest : public LiveWindowFixture {
protected:
    void RunKeyPad(const std::function<void(CKeyPadDlg&)>& during)
    {
        auto* frame = new wxFrame(nullptr, wxID_ANY, "main", wxPoint(0, 0), wxSize(300, 200));
        wxTheApp->SetTopWindow(frame);
        frame->Show();
        auto* pad = new CKeyPadDlg(frame, m_state, LiveDriveInfoOf(m_state, &m_project));
        pad->Move(20, 20);
        m_alive = pad;
        pad->CallAfter([&, pad] {
            PumpUntil([&] { return pad->IsShownOnScreen(); });
            PumpUntil(nullptr, 200);
            during(*pad);
        });
        RunModalToMainFrame(pad, frame);
        m_frameEnabledAfter = frame->IsEnabled();
        wxTheApp->SetTopWindow(nullptr);
        frame->Destroy();
        PumpUntil(nullptr, 50);
    }
    // Requests since the mark other than the polls' reads.
    std::vector<Bytes> Commands()
    {
        std::vector<Bytes> out;
        for (const Bytes& request : Requests()) {
            const std::uint16_t reg = static_cast<std::uint16_t>(request[2] << 8 | request[3]);
            if (request[1] == 0x03 && (reg == 0x2520 || reg == 0x0002 || reg == 0x000C || reg == 0x2523))
                continue;
            out.push_back(request);
        }
        return out;
    }
    wxWeakRef<wxWindow> m_alive;
    bool m_frameEnabledAfter = false;
};

} // namespace

TEST_F(KeyPadTest, PollingStoppedForAFailureShowsNothingAsLive)
{
    const struct {
        const char* name;
        std::function<void()> fail;
        std::vector<std::string> messages;
    } cases[] = {
        { "silent", [&] { m_drive->SetSilent(1, true); }, { Res(61478) } },
        { "link closed by the watchdog", [&] { CloseLink(); }, {} },
    };
    for (const auto& c : cases) {
        m_messages.Clear();
        if (!m_state.m_pComm)
            StartDrive();
        m_drive->SetRegister(1, 0x2524, 3000);
        CKeyPadDlg* pad = Open();
        pad->Poll();
        ASSERT_TRUE(pad->ShowsLiveValues()) << c.name;
        EXPECT_EQ(pad->GetReadout(0)->GetLabel(), "30.00 Hz") << c.name;
        EXPECT_EQ(GetAccessibleName(pad->GetReadout(0)), "Output Frequency 30.00 Hz") << c.name;
        c.fail();
        pad->Poll();
        m_drive->SetSilent(1, false);
        EXPECT_EQ(m_messages.Texts(), c.messages) << c.name;
        EXPECT_FALSE(pad->IsPolling()) << c.name;
        EXPECT_FALSE(pad->ShowsLiveValues()) << c.name << ": lamps dark, no display";
        for (int k = 0; k < 4; ++k)
            EXPECT_EQ(pad->GetReadout(k)->GetLabel(), "") << c.name << " read-out " << k;
        EXPECT_EQ(GetAccessibleName(pad->GetReadout(0)), "Output Frequency " + Res(64051)) << c.name;
        EXPECT_EQ(GetAccessibleName(pad->GetFace()), Res(64051)) << c.name;
        delete m_pad;
        m_pad = nullptr;
    }
}

TEST_F(KeyPadTest, ATickLeavesTheWindowThreadAndStartsNothingWhileTheLastRuns)
{
    CKeyPadDlg* pad = Open();
    pad->Poll();
    m_drive->SetReplyDelay(1, 300); // late, within the link's time-out
    Mark();
    pad->Tick();
    // Back on the window thread before the drive has answered.
    EXPECT_TRUE(pad->IsExchanging());
    pad->Tick();
    pad->Tick();
    pad->Settle();
    const std::vector<Bytes> oneTick { Read(1, 0x2520, 1), Read(1, 0x0002, 5), Read(1, 0x000C, 2), Read(1, 0x2523, 16) };
    EXPECT_EQ(Requests(), oneTick) << "the ticks that found the exchange running started none";
    EXPECT_TRUE(pad->IsPolling());
    EXPECT_TRUE(m_messages.Texts().empty());
}

TEST_F(KeyPadTest, WithoutAProjectTheChosenStationGivesModelAndVersion)
{
    StartDrives({ { 1, 0x1100000, 1100 }, { 2, 0x11004B2, 1130 } });
    m_pad = new CKeyPadDlg(nullptr, m_state, LiveDriveInfoOf(m_state, nullptr));
    CKeyPadDlg* pad = m_pad;
    EXPECT_EQ(pad->GetQuantityChoice(0)->GetCount(), 9u);
    pad->GetStationChoice()->SetSelection(1);
    wxCommandEvent choose(wxEVT_CHOICE, CKeyPadDlg::IDC_STATION);
    choose.SetInt(1);
    pad->ProcessWindowEvent(choose);
    EXPECT_EQ(pad->GetDriveInfo().modelCode, 0x11004B2);
    EXPECT_NEAR(pad->GetDriveInfo().version, 1.13f, 1e-6);
    EXPECT_EQ(pad->GetQuantityChoice(0)->GetCount(), 12u);
    Mark();
    pad->Poll();
    const std::vector<Bytes> expected { Read(2, 0x2520, 1), Read(2, 0x0002, 5), Read(2, 0x000C, 2), Read(2, 0x2523, 16) };
    EXPECT_EQ(Requests(), expected);

    // With a project, the project's model stays whatever the station.
    delete m_pad;
    m_project.m_nModelCode = 0x1100000;
    m_pad = new CKeyPadDlg(nullptr, m_state, LiveDriveInfoOf(m_state, &m_project));
    m_pad->GetStationChoice()->SetSelection(1);
    m_pad->ProcessWindowEvent(choose);
    EXPECT_EQ(m_pad->GetDriveInfo().modelCode, 0x1100000);
    EXPECT_EQ(m_pad->GetQuantityChoice(0)->GetCount(), 9u);
}

TEST_F(KeyPadTest, ControlsAreNamedByTheirLabels)
{
    CKeyPadDlg* pad = Open();
    pad->Poll();
    for (const auto& [id, name] : std::vector<std::pair<int, std::string>> {
             { CKeyPadDlg::IDC_RUN, "RUN" }, { CKeyPadDlg::IDC_STOP, "STOP" }, { CKeyPadDlg::IDC_UP, "UP" },
             { CKeyPadDlg::IDC_DOWN, "DOWN" } })
        EXPECT_EQ(GetAccessibleName(pad->GetKey(id)), name);
    EXPECT_EQ(GetAccessibleName(pad->GetFreqEdit()), "FREQ.SET");
    EXPECT_EQ(GetAccessibleName(pad->GetStationChoice()), "Station Num");
    EXPECT_EQ(GetAccessibleName(pad->GetKnob()), Res(64052));
    EXPECT_EQ(GetAccessibleName(pad->GetReadout(2)), "DC Voltage " + pad->GetReadout(2)->GetLabel().utf8_string());
    // The lamps and the direction mark, drawn only, in words after the quantity.
    EXPECT_EQ(GetAccessibleDescription(pad->GetFace()),
              "1: Set Frequency; FWD; run command by communication; frequency command by communication");
    // The knob says the frequency it points at, with the unit, also after
    // a turn by a key.
    EXPECT_TRUE(GetAccessibleDescription(pad->GetKnob()).EndsWith(" Hz")) << GetAccessibleDescription(pad->GetKnob());
    wxKeyEvent up(wxEVT_KEY_DOWN);
    up.m_keyCode = WXK_UP;
    pad->GetKnob()->GetEventHandler()->ProcessEvent(up);
    EXPECT_TRUE(GetAccessibleDescription(pad->GetKnob()).EndsWith(" Hz")) << GetAccessibleDescription(pad->GetKnob());
}

// The keypad's face takes no focus: a click on its picture leaves FREQ.SET
// alone, while a key (a real control) commits it before its own command.
TEST_F(KeyPadRunTest, AClickOnTheFaceCommitsNothingAndAKeyCommitsFreqSetFirst)
{
    std::vector<Bytes> afterFace { Bytes { 0xFF } };
    std::vector<Bytes> afterRun;
    bool focused = false;
    RunKeyPad([&](CKeyPadDlg& pad) {
        pad.Poll();
        // The keyboard goes where the pointer is on a display without a window manager.
        wxUIActionSimulator().MouseMove(pad.GetScreenRect().GetPosition() + wxPoint(200, 60));
        pad.GetFreqEdit()->SetFocus();
        focused = PumpUntil([&] { return wxWindow::FindFocus() == pad.GetFreqEdit(); }, 1000);
        pad.GetFreqEdit()->ChangeValue("25.00");
        Mark();
        ClickAt(pad.GetFace()->ClientToScreen(wxPoint(150, 30))); // the display
        ClickAt(pad.GetFace()->ClientToScreen(wxPoint(250, 320))); // the face below the knob
        pad.Settle();
        afterFace = Commands();
        Mark();
        ClickAt(pad.GetKey(CKeyPadDlg::IDC_RUN)->GetScreenRect().GetPosition()
            + pad.GetKey(CKeyPadDlg::IDC_RUN)->GetSize() / 2);
        PumpUntil(nullptr, 100);
        pad.Settle();
        afterRun = Commands();
        pad.Close();
    });
    ASSERT_TRUE(focused) << "FREQ.SET did not take the focus";
    EXPECT_TRUE(afterFace.empty()) << "a click on the picture sent " << afterFace.size() << " frames";
    const std::vector<Bytes> expected { Write(1, 0x2502, 2500), Read(1, 0x2501, 1), Write(1, 0x2501, 1) };
    EXPECT_EQ(afterRun, expected);
    EXPECT_TRUE(m_messages.Texts().empty());
}

TEST_F(KeyPadRunTest, KeysAreReachedWithTabAndPressedWithSpace)
{
    wxWindow* afterTab = nullptr;
    wxWindow* stopKey = nullptr;
    std::vector<Bytes> afterSpace;
    std::string turned;
    std::vector<Bytes> afterTurn;
    RunKeyPad([&](CKeyPadDlg& pad) {
        pad.Poll();
        wxUIActionSimulator sim;
        // The keyboard goes where the pointer is on a display without a window manager.
        sim.MouseMove(pad.GetScreenRect().GetPosition() + wxPoint(200, 60));
        pad.GetKey(CKeyPadDlg::IDC_RUN)->SetFocus();
        PumpUntil([&] { return wxWindow::FindFocus() == pad.GetKey(CKeyPadDlg::IDC_RUN); }, 1000);
        Mark();
        sim.Char(' ');
        PumpUntil(nullptr, 200);
        pad.Settle();
        afterSpace = Commands();
        sim.Char(WXK_TAB);
        PumpUntil(nullptr, 200);
        afterTab = wxWindow::FindFocus();
        stopKey = pad.GetKey(CKeyPadDlg::IDC_STOP);
        // The knob turns with the arrows; the next poll writes it as after a release.
        pad.GetKnob()->SetFocus();
        PumpUntil([&] { return wxWindow::FindFocus() == pad.GetKnob(); }, 1000);
        Mark();
        sim.Char(WXK_RIGHT);
        PumpUntil(nullptr, 300);
        pad.Settle();
        turned = pad.GetFreqEdit()->GetValue().utf8_string();
        afterTurn = Commands();
        pad.Close();
    });
    EXPECT_EQ(afterSpace, (std::vector<Bytes> { Read(1, 0x2501, 1), Write(1, 0x2501, 1) }));
    EXPECT_EQ(afterTab, stopKey) << "Tab goes from RUN to STOP";
    EXPECT_EQ(turned, "0.60") << "a hundredth of 0.00 to 60.00";
    EXPECT_EQ(afterTurn, std::vector<Bytes> { Write(1, 0x2502, 60) });
}

// Every road of closing ends the loop at once, polling with it, and gives the
// main frame back, also while an exchange is still on the line.
TEST_F(KeyPadRunTest, ClosesAtOnceOnEveryRoadAndPollingEnds)
{
    const struct {
        const char* name;
        std::function<void(CKeyPadDlg&)> close;
    } roads[] = {
        { "Close button",
            [](CKeyPadDlg& pad) {
                wxCommandEvent click(wxEVT_BUTTON, wxID_CLOSE);
                click.SetEventObject(pad.FindWindow(wxID_CLOSE));
                pad.FindWindow(wxID_CLOSE)->ProcessWindowEvent(click);
            } },
        { "Esc",
            [](CKeyPadDlg& pad) {
                wxKeyEvent esc(wxEVT_CHAR_HOOK);
                esc.m_keyCode = WXK_ESCAPE;
                esc.SetEventObject(pad.GetStationChoice());
                pad.GetStationChoice()->ProcessWindowEvent(esc);
            } },
        { "close box or Alt+F4", [](CKeyPadDlg& pad) { pad.Close(); } },
    };
    for (const auto& road : roads) {
        for (bool late : { false, true }) {
            m_drive->SetReplyDelay(1, late ? 600 : 0);
            bool exchanging = false;
            RunKeyPad([&](CKeyPadDlg& pad) {
                PumpUntil([&] { return pad.IsExchanging(); }, 1000);
                exchanging = pad.IsExchanging();
                road.close(pad);
            });
            EXPECT_TRUE(exchanging) << road.name;
            EXPECT_FALSE(m_alive) << road.name << (late ? " (late drive)" : "");
            EXPECT_TRUE(m_frameEnabledAfter) << road.name;
            // What was on the line ends; nothing more is sent.
            CBackgroundJob::JoinReleasedJobs();
            Mark();
            PumpUntil(nullptr, 300);
            EXPECT_TRUE(Requests().empty()) << road.name << (late ? " (late drive)" : "");
        }
    }
    m_drive->SetReplyDelay(1, 0);
}
