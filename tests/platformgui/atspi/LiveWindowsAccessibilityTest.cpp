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
#include "tests/monitorgui/LiveWindowFixture.h"

#include <wx/stopwatch.h>
#include <wx/timer.h>
#include <wx/utils.h>

#include <unistd.h>

#include <cstdlib>
#include <map>
#include <sstream>

namespace {

std::vector<std::string> SplitTabs(const std::string& line)
{
    std::vector<std::string> parts;
    std::istringstream in(line);
    for (std::string part; std::getline(in, part, '\t');)
        parts.push_back(part);
    return parts;
}

struct Accessible {
    std::string role, name, description;
};

struct Change {
    std::string what, role, text;
};

// Runs a reader script while this process keeps answering the bus (a
// synchronous wxExecute goes on handling events: timers fire, windows poll).
std::vector<std::vector<std::string>> RunReader(const std::string& script, const std::string& arguments,
                                                long* exitCode)
{
    const wxString command = wxString::Format("/usr/bin/python3 %s/platformgui/atspi/%s %ld %s", D390_TEST_SOURCE_DIR,
                                              script, static_cast<long>(getpid()), arguments);
    wxArrayString output, errors;
    *exitCode = wxExecute(command, output, errors, wxEXEC_SYNC);
    std::vector<std::vector<std::string>> lines;
    for (const wxString& line : output)
        lines.push_back(SplitTabs(line.utf8_string()));
    return lines;
}

class LiveWindowsAccessibilityTest : public LiveWindowFixture {
protected:
    std::vector<Accessible> ReadObjects()
    {
        std::vector<Accessible> objects;
        for (std::vector<std::string> parts : RunReader("read_accessible.py", "0", &m_exitCode)) {
            parts.resize(4);
            if (parts[0] == "object")
                objects.push_back({parts[1], parts[2], parts[3]});
        }
        return objects;
    }
    std::vector<Change> CountChanges(double seconds)
    {
        std::vector<Change> changes;
        for (std::vector<std::string> parts :
             RunReader("count_name_changes.py", std::to_string(seconds), &m_exitCode)) {
            parts.resize(4);
            if (parts[0] == "change")
                changes.push_back({parts[1], parts[2], parts[3]});
        }
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
    static void Pump(long ms)
    {
        wxStopWatch clock;
        while (clock.Time() < ms) {
            wxTheApp->Yield(true);
            wxMilliSleep(5);
        }
    }
    long m_exitCode = 0;
};

} // namespace

TEST_F(LiveWindowsAccessibilityTest, KeypadAndStatusMonitorAreReadByTheirLabelsAndQuietWhileNothingChanges)
{
    if (!std::getenv("DBUS_SESSION_BUS_ADDRESS"))
        GTEST_SKIP() << "no session bus: run under dbus-run-session for the AT-SPI test";
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
    if (m_exitCode == 77) {
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
    EXPECT_EQ(display->description, "1: Set Frequency");
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
