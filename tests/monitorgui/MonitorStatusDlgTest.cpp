// The status monitor against the simulated drive: lamps and texts of both
// pages, and how a failure stops them.

#include "monitor/LiveExchange.h"
#include "monitor/MonitorStatusDlg.h"
#include "monitor/StatusLamps.h"
#include "monitor/StatusTabDlg145.h"
#include "monitor/StatusTabDlg187.h"
#include "platform/Accessible.h"
#include "tests/monitorgui/LiveWindowFixture.h"

#include <wx/choice.h>
#include <wx/stattext.h>

namespace {

class StatusTest : public LiveWindowFixture {
protected:
    CMonitorStatusDlg* Open()
    {
        m_status = new CMonitorStatusDlg(nullptr, m_state, 0, &m_project);
        return m_status;
    }
    void TearDown() override
    {
        delete m_status;
        LiveWindowFixture::TearDown();
    }
    void Start()
    {
        wxCommandEvent click(wxEVT_BUTTON, CMonitorStatusDlg::IDC_START);
        m_status->ProcessWindowEvent(click);
    }
    CMonitorStatusDlg* m_status = nullptr;
};

} // namespace

TEST_F(StatusTest, PagesShowTheLampsValuesAndFaultOfTheDrive)
{
    m_drive->SetTerminals(1, 0x0060);
    m_drive->SetRegister(1, 0x2520, 0x0009);
    m_drive->SetRegister(1, 0x2521, 19);
    m_drive->SetRegister(1, 0x2523, 5000);
    m_drive->SetRegister(1, 0x2526, 311);
    Open();
    Start();
    CStatusTabDlg145* status = m_status->GetStatusPage();
    CStatusTabDlg187* terminal = m_status->GetTerminalPage();
    EXPECT_TRUE(status->IsPolling());
    Mark();
    status->Poll();
    terminal->Poll();
    EXPECT_EQ(Requests(), (std::vector<Bytes> { Read(1, 0x2520, 8), Read(1, 0x2522, 1) }));

    EXPECT_EQ(status->m_nStatus, 0x0009);
    EXPECT_EQ(GetAccessibleDescription(status->GetPicture()), "Running, Forward, Fault, Current fault");
    EXPECT_EQ(status->GetFaultShortLabel()->GetLabel(), "oC-A");
    EXPECT_EQ(status->GetFaultShortLabel()->GetPosition().x, 608);
    EXPECT_EQ(status->GetFaultDescriptionLabel()->GetLabel(), "Over-current at acceleration");
    EXPECT_EQ(status->GetFaultDescriptionLabel()->GetPosition().x, 42);
    EXPECT_EQ(status->GetValueLabel(0)->GetLabel(), "50.00");
    EXPECT_EQ(status->GetValueLabel(4)->GetLabel(), "311");
    EXPECT_EQ(status->GetValueLabel(4)->GetPosition().x, 372);
    EXPECT_EQ(terminal->m_nTerminal, 0x0060);
    EXPECT_EQ(GetAccessibleDescription(terminal->GetPicture()), "Relay R1 on");
    EXPECT_TRUE(m_messages.Texts().empty());
}

TEST_F(StatusTest, AbnormalTripsTheDriveWithEfo)
{
    Open();
    Start();
    ASSERT_TRUE(CLiveExchange(m_state).Write(1, 0x2501, 0x0004).Ok());
    m_status->GetStatusPage()->Poll();
    EXPECT_EQ(m_status->GetStatusPage()->GetFaultShortLabel()->GetLabel(), "EFO");
    EXPECT_EQ(m_status->GetStatusPage()->m_nStatus & 0x0008, 0x0008);
}

TEST_F(StatusTest, LinkFailureStopsBothPagesSilentlyAndAWrongFunctionOnlyItsPage)
{
    Open();
    Start();
    m_drive->SetRegister(1, 0x2520, 0x0005);
    m_status->GetStatusPage()->Poll();
    m_drive->SetSilent(1, true);
    m_status->GetTerminalPage()->Poll();
    m_drive->SetSilent(1, false);
    EXPECT_FALSE(m_status->GetStatusPage()->IsPolling());
    EXPECT_FALSE(m_status->GetTerminalPage()->IsPolling());
    EXPECT_TRUE(m_messages.Texts().empty());
    EXPECT_EQ(m_status->GetStatusPage()->m_bStarted, 1) << "the last values stay drawn";
    EXPECT_EQ(m_status->GetStatusPage()->m_nStatus, 0x0005);

    Start();
    m_drive->ForceException(1, 0x2522, 0x52);
    m_status->GetTerminalPage()->Poll();
    EXPECT_FALSE(m_status->GetTerminalPage()->IsPolling());
    EXPECT_TRUE(m_status->GetStatusPage()->IsPolling());
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string> { Res(61479) });
}

TEST_F(StatusTest, LinkClosedByTheWatchdogSendsNothingAndSaysSo)
{
    Open();
    Start();
    CloseLink();
    Mark();
    m_status->GetStatusPage()->Poll();
    m_status->GetTerminalPage()->Poll();
    EXPECT_TRUE(Requests().empty());
    EXPECT_FALSE(m_status->GetStatusPage()->IsPolling());
    EXPECT_FALSE(m_status->FindWindow(CMonitorStatusDlg::IDC_START)->IsEnabled());
    EXPECT_TRUE(m_messages.Texts().empty());
}

// A link failure stops both pages quietly (no message box), but the window
// says so, its lamps go dark and its values are cleared until a read succeeds.
TEST_F(StatusTest, ALinkFailureIsSaidInTheWindowAndNothingStaleShowsAsLive)
{
    m_drive->SetRegister(1, 0x2520, 0x0005);
    m_drive->SetRegister(1, 0x2523, 5000);
    m_drive->SetTerminals(1, 0x0001);
    Open();
    Start();
    CStatusTabDlg145* status = m_status->GetStatusPage();
    CStatusTabDlg187* terminal = m_status->GetTerminalPage();
    status->Poll();
    terminal->Poll();
    ASSERT_TRUE(status->ShowsLiveValues());
    EXPECT_EQ(GetAccessibleName(status->GetValueLabel(0)), "SET F 50.00 Hz");
    EXPECT_EQ(GetAccessibleName(status->GetValueLabel(4)), "DC V 311 V");
    EXPECT_FALSE(m_status->GetLinkFailedLine()->IsShown());

    m_drive->SetSilent(1, true);
    terminal->Poll();
    m_drive->SetSilent(1, false);
    EXPECT_TRUE(m_messages.Texts().empty()) << "quietly: no message box";
    EXPECT_FALSE(status->IsPolling());
    EXPECT_FALSE(terminal->IsPolling());
    EXPECT_TRUE(m_status->GetLinkFailedLine()->IsShown());
    EXPECT_NE(m_status->GetLinkFailedLine()->GetLabel().utf8_string().find(Res(61478)), std::string::npos)
        << m_status->GetLinkFailedLine()->GetLabel();
    for (CStatusTabPage* page : { static_cast<CStatusTabPage*>(status), static_cast<CStatusTabPage*>(terminal) }) {
        EXPECT_FALSE(page->ShowsLiveValues()) << "lamps dark";
        EXPECT_EQ(GetAccessibleDescription(page->GetPicture()), Res(64051));
    }
    for (int k = 0; k < 5; ++k)
        EXPECT_EQ(status->GetValueLabel(k)->GetLabel(), "") << k;
    EXPECT_EQ(GetAccessibleName(status->GetValueLabel(0)), "SET F " + Res(64051));
    EXPECT_EQ(status->GetFaultShortLabel()->GetLabel(), "");

    // Start again: the next successful read shows live values and the line goes.
    Start();
    status->Poll();
    EXPECT_TRUE(status->ShowsLiveValues());
    EXPECT_EQ(status->GetValueLabel(0)->GetLabel(), "50.00");
    EXPECT_FALSE(m_status->GetLinkFailedLine()->IsShown());
}

TEST_F(StatusTest, StationBoxesAreNamedByTheirLabel)
{
    Open();
    EXPECT_EQ(GetAccessibleName(m_status->GetStatusPage()->GetStationChoice()), "Station Num");
    EXPECT_EQ(GetAccessibleName(m_status->GetTerminalPage()->GetStationChoice()), "Station Num");
}
