// A live window closed while its request waits for the line sends nothing
// more: after a failed exchange the link holds the next request until the
// line has been quiet for its first-byte time, and a window closed during
// that wait gives its request up. The next caller's request still waits the
// quiet out and goes.

#include "link/ModbusRequest.h"
#include "monitor/KeyPadDlg.h"
#include "monitor/MonitorControlDlg.h"
#include "monitor/MonitorStatusDlg.h"
#include "platform/BackgroundJob.h"
#include "tests/monitorgui/LiveWindowFixture.h"

#include <wx/stopwatch.h>

#include <functional>

namespace {

void PumpFor(long ms, const std::function<bool()>& done = nullptr)
{
    wxStopWatch clock;
    while (clock.Time() < ms) {
        wxTheApp->Yield(true);
        if (done && done())
            return;
        wxMilliSleep(5);
    }
}

struct LiveWindowCase {
    const char* name;
    // Opens the window with its polling begun; returns the window and how
    // to ask whether its worker has an exchange.
    std::function<wxDialog*(CDriveSession&, CD390DocData&, std::function<bool()>&)> open;
};

class ClosedLiveWindowTest : public LiveWindowFixture {
protected:
    // A read of another caller (the watchdog, a transfer) that times out:
    // the link then keeps the line quiet before the next request.
    void FailOnce()
    {
        m_drive->SetSilent(1, true);
        std::uint16_t word = 0;
        const ModbusReply reply = CModbusRequest(m_state.m_pComm).ReadHolding(1, 0x2501, 1, &word);
        m_drive->SetSilent(1, false);
        ASSERT_EQ(reply.result, kErrTimeout);
    }
};

} // namespace

TEST_F(ClosedLiveWindowTest, AWindowClosedDuringTheQuietAfterAFailureSendsNoFrame)
{
    const LiveWindowCase cases[] = {
        { "keypad",
            [](CDriveSession& state, CD390DocData&, std::function<bool()>& busy) -> wxDialog* {
                auto* pad = new CKeyPadDlg(nullptr, state, { 0x11004B2, 1.1f });
                busy = [pad] { return pad->IsExchanging(); };
                return pad;
            } },
        { "control window",
            [](CDriveSession& state, CD390DocData& project, std::function<bool()>& busy) -> wxDialog* {
                auto* control = new CMonitorControlDlg(nullptr, state, 0, &project);
                control->Show();
                busy = [control] { return control->IsExchanging(); };
                return control;
            } },
        { "status monitor",
            [](CDriveSession& state, CD390DocData& project, std::function<bool()>& busy) -> wxDialog* {
                auto* status = new CMonitorStatusDlg(nullptr, state, 0, &project);
                wxCommandEvent start(wxEVT_BUTTON, CMonitorStatusDlg::IDC_START);
                status->ProcessWindowEvent(start);
                busy = [status] { return status->Worker().IsBusy(); };
                return status;
            } },
    };
    for (const LiveWindowCase& c : cases) {
        m_messages.Clear();
        std::function<bool()> busy;
        wxDialog* window = c.open(m_state, m_project, busy);
        FailOnce();
        Mark();
        // Its first tick, due by now, queues a read, which waits for the quiet line.
        PumpFor(400, busy);
        EXPECT_TRUE(busy()) << c.name;
        PumpFor(50);
        EXPECT_TRUE(Requests().empty()) << c.name << ": the read went out before the line was quiet";
        delete window;
        // The worker, released at the close, ends without waiting the quiet out.
        CBackgroundJob::JoinReleasedJobs();
        PumpFor(100);
        EXPECT_TRUE(Requests().empty()) << c.name << ": " << Requests().size() << " frames after the close";
        EXPECT_TRUE(m_messages.Texts().empty()) << c.name;

        // The next request of another caller waits out what is left of the
        // quiet and goes as before.
        Mark();
        std::uint16_t word = 0;
        EXPECT_TRUE(CModbusRequest(m_state.m_pComm, RequestPace::Interactive).ReadHolding(1, 0x2501, 1, &word).Ok())
            << c.name;
        EXPECT_EQ(Requests(), std::vector<Bytes> { Read(1, 0x2501, 1) }) << c.name;
    }
}
