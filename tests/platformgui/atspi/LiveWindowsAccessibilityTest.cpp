// What a screen reader reads of the live windows over AT-SPI while they poll
// the simulated drive: the keypad's keys, knob, entry and read-outs, the
// status monitor's values and lamps, each named by its label, caption and
// unit; and that a poll which reads what was read before tells the reader
// nothing new. Runs on a private session bus (dbus-run-session) under Xvfb.

#include "monitor/KeyPadDlg.h"
#include "monitor/LiveDriveInfo.h"
#include "monitor/LiveExchange.h"
#include "monitor/MonitorStatusDlg.h"
#include "monitor/StatusTabDlg145.h"
#include "platform/Accessibility.h"
#include "tests/monitorgui/LiveWindowFixture.h"
#include "tests/platformgui/atspi/AtspiReading.h"

#include <wx/timer.h>

#include <map>

namespace {

struct Change {
    std::string what, role, text;
};

class LiveWindowsAccessibilityTest : public LiveWindowFixture {
protected:
    // The program names controls and looks after notebooks leaving with the
    // application's filter; these windows are opened without the program.
    void SetUp() override
    {
        LiveWindowFixture::SetUp();
        wxEvtHandler::AddFilter(&m_accessibleNames);
    }
    void TearDown() override
    {
        LiveWindowFixture::TearDown();
        wxEvtHandler::RemoveFilter(&m_accessibleNames);
    }

    std::vector<Accessible> ReadObjects()
    {
        const ReaderOutput reading = RunReader("read_accessible.py", "0", 4);
        m_exitCode = reading.exitCode;
        return ObjectsOf(reading);
    }
    std::vector<Change> CountChanges(double seconds)
    {
        const ReaderOutput reading = RunReader("count_name_changes.py", std::to_string(seconds), 4);
        m_exitCode = reading.exitCode;
        std::vector<Change> changes;
        for (const std::vector<std::string>& parts : reading.lines)
            if (parts[0] == "change")
                changes.push_back({parts[1], parts[2], parts[3]});
        return changes;
    }
    static const Accessible* Find(const std::vector<Accessible>& objects, const std::string& role,
                                  const std::string& name)
    {
        for (const Accessible& object : objects)
            if (object.role == role && object.name == name)
                return &object;
        return nullptr;
    }
    long m_exitCode = 0;
    CAccessibleNamesFilter m_accessibleNames;
};

} // namespace

TEST_F(LiveWindowsAccessibilityTest, KeypadAndStatusMonitorAreReadByTheirLabelsAndQuietWhileNothingChanges)
{
    SKIP_WITHOUT_SESSION_BUS();
    // A running drive at 30 Hz, ready; its clock stands, so every poll reads the same.
    m_drive->SetRegister(1, 0x0102, 5000); // 01-02 maximum frequency
    ASSERT_TRUE(CLiveExchange(m_state).Write(1, 0x2502, 3000).Ok());
    ASSERT_TRUE(CLiveExchange(m_state).Write(1, 0x2501, 0x0001).Ok());
    m_drive->AdvanceClock(std::chrono::seconds(20));

    auto* pad = new CKeyPadDlg(nullptr, m_state, LiveDriveInfoOf(m_state, &m_project));
    pad->Move(0, 0);
    pad->Show();
    auto* status = new CMonitorStatusDlg(nullptr, m_state, 0, &m_project);
    status->Move(0, 450);
    status->Show();
    wxCommandEvent start(wxEVT_BUTTON, CMonitorStatusDlg::IDC_START);
    status->ProcessWindowEvent(start);
    Pump(1500); // both poll a few times on their own timers

    const std::vector<Accessible> objects = ReadObjects();
    if (m_exitCode == kNoAccessibilityBus) {
        pad->Destroy();
        status->Destroy();
        GTEST_SKIP() << "the accessibility bus did not start";
    }
    ASSERT_EQ(m_exitCode, 0);
    ASSERT_TRUE(pad->ShowsLiveValues());
    // The keys and the knob are controls a reader finds by name.
    for (const char* key : {"RUN", "STOP", "UP", "DOWN"})
        EXPECT_TRUE(Find(objects, "push button", key)) << key;
    EXPECT_TRUE(Find(objects, "push button", Res(64052))) << "the knob";
    // FREQ.SET by its label, the stations by theirs, the read-outs by quantity and unit.
    EXPECT_TRUE(Find(objects, "text", "FREQ.SET"));
    int stationBoxes = 0;
    for (const Accessible& object : objects)
        if (object.name == "Station Num" && object.role != "label")
            ++stationBoxes;
    EXPECT_EQ(stationBoxes, 3) << "the keypad's and both status pages' station boxes";
    EXPECT_TRUE(Find(objects, "label", "Output Frequency 30.00 Hz"));
    const Accessible* display = Find(objects, "panel", "30.00");
    if (!display)
        display = Find(objects, "filler", "30.00");
    ASSERT_TRUE(display) << "the keypad's display reads the set frequency";
    // The lamps and the direction mark in words after the display's quantity.
    EXPECT_EQ(display->description,
              "1: Set Frequency; FWD; run command by communication; frequency command by communication");
    // The status monitor's values by caption and unit, its lamps in words.
    EXPECT_TRUE(Find(objects, "label", "SET F 30.00 Hz"));
    EXPECT_TRUE(Find(objects, "label", "OUT F 30.00 Hz"));
    bool lamps = false;
    for (const Accessible& object : objects)
        if (object.name == "Status" && object.description.find("Running") != std::string::npos &&
            object.description.find("Forward") != std::string::npos)
            lamps = true;
    EXPECT_TRUE(lamps) << "the status page's lamps are read in words";

    // Over some forty polls the set frequency changes once, half-way: each
    // new text is told once, and nothing is told again while the polls read
    // what they read before.
    wxEvtHandler later;
    wxTimer change(&later);
    later.Bind(wxEVT_TIMER, [this](wxTimerEvent&) {
        CLiveExchange(m_state).Write(1, 0x2502, 4000);
        m_drive->AdvanceClock(std::chrono::seconds(20));
    });
    change.StartOnce(2500); // the listener is up by then
    const std::vector<Change> told = CountChanges(5.0);
    ASSERT_EQ(m_exitCode, 0);
    EXPECT_TRUE(pad->IsPolling());
    EXPECT_TRUE(status->GetStatusPage()->IsPolling());
    std::map<std::string, int> times;
    for (const Change& change : told)
        ++times[change.what + " of a " + change.role + ": " + change.text];
    for (const auto& [text, count] : times)
        EXPECT_EQ(count, 1) << "told " << count << " times: " << text;
    EXPECT_EQ(times["name of a panel: 40.00"] + times["name of a filler: 40.00"], 1) << "the display's new value";
    EXPECT_EQ(times["name of a label: SET F 40.00 Hz"], 1);
    EXPECT_EQ(times["name of a label: Output Frequency 40.00 Hz"], 1);

    pad->Destroy();
    status->Destroy();
    Pump(100);
}
