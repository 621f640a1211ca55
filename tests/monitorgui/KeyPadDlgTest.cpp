// The keypad against the simulated drive: its poll, its keys and knob, the
// FREQ.SET entry, and what it does when the link fails or is gone.

#include "monitor/FreqEdit.h"
#include "monitor/KeyPadDlg.h"
#include "monitor/LiveDriveInfo.h"
#include "platform/Accessible.h"
#include "tests/monitorgui/LiveWindowFixture.h"

#include <wx/choice.h>
#include <wx/panel.h>
#include <wx/stattext.h>

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
