// What a screen reader reads of the live windows over AT-SPI while they poll
// the simulated drive: the keypad's keys, knob, entry and read-outs, the
// status monitor's values and lamps, each named by its label, caption and
// unit; and that a poll which reads what was read before tells the reader
// nothing new. Runs on a private session bus (dbus-run-session) under Xvfb.

#include "monitor/GraphCtrl.h"
#include "monitor/GraphDlg.h"
#include "monitor/FreqEdit.h"
#include "monitor/KeyPadDlg.h"
#include "monitor/LiveDriveInfo.h"
#include "monitor/LiveExchange.h"
#include "monitor/MonitorStatusDlg.h"
#include "monitor/StatusTabDlg145.h"
#include "platform/Accessibility.h"
#include "tests/monitorgui/LiveWindowFixture.h"
#include "tests/platformgui/atspi/AtspiReading.h"

#include <wx/choice.h>
#include <wx/timer.h>

#include <algorithm>
#include <cctype>
#include <iostream>
#include <map>

namespace {

struct Change {
    std::string what, role, text;
};

// What a reader was told by one object: its role and its words with the
// figures taken out ("Output Frequency 31.20 Hz" is the read-out of "Output
// Frequency  Hz"); objects told by description keep their name.
std::string ToldBy(const std::string& kind, const std::string& role, const std::string& name, const std::string& text)
{
    std::string words = kind == "name" ? text : name;
    words.erase(std::remove_if(words.begin(), words.end(), [](char c) { return std::isdigit(static_cast<unsigned char>(c)) || c == '.'; }),
                words.end());
    return kind + " of a " + role + ": " + words;
}

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
    // Every line listen_events.py printed over seconds.
    std::vector<std::vector<std::string>> Listen(double seconds)
    {
        const ReaderOutput reading = RunReader("listen_events.py", std::to_string(seconds), 5);
        m_exitCode = reading.exitCode;
        std::vector<std::vector<std::string>> events;
        for (const std::vector<std::string>& parts : reading.lines)
            if (parts[0] == "event")
                events.push_back(parts);
        return events;
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

TEST_F(LiveWindowsAccessibilityTest, ARampToldCalmlyByTheBandTheCursorAndTheKeypad)
{
    SKIP_WITHOUT_SESSION_BUS();
    // A long ramp: 0 to 50 Hz over 60 s of the drive's clock, which moves
    // with the test's own clock below.
    m_drive->SetRegister(1, 0x0102, 5000); // 01-02 maximum frequency
    m_drive->SetRegister(1, 0x000E, 600);  // 00-14 acceleration time, 60.0 s
    ASSERT_TRUE(CLiveExchange(m_state).Write(1, 0x2502, 5000).Ok());

    auto* pad = new CKeyPadDlg(nullptr, m_state, LiveDriveInfoOf(m_state, &m_project));
    pad->Move(0, 0);
    pad->Show();
    // The display shows the output frequency, which moves with the ramp.
    pad->GetQuantityChoice(0)->SetSelection(1);
    auto* graph = new CGraphDlg(nullptr, m_state, m_state.m_Stations, 0x11004B2, &m_project);
    graph->Recorder().SetChannel(0, "Output Frequency", "60.00", "0.00");
    graph->Recorder().ApplyScaleRule();
    while (graph->Recorder().GetMsPerDivision() > 1000)
        graph->Recorder().DecreaseSpan(); // the chart fills in 4 s, and then scrolls
    graph->Move(450, 0);
    graph->Show();
    graph->Start();
    Pump(300);
    // The cursor stands in the chart while the data scrolls under it; the
    // band has the focus.
    wxKeyEvent home(wxEVT_KEY_DOWN);
    home.m_keyCode = WXK_HOME; // the oldest data, there from the first sample
    graph->Chart()->GetEventHandler()->ProcessEvent(home);
    graph->Raise();
    graph->Band()->SetFocus();

    wxEvtHandler clock;
    wxTimer tick(&clock);
    clock.Bind(wxEVT_TIMER, [this](wxTimerEvent&) { m_drive->AdvanceClock(std::chrono::milliseconds(100)); });
    tick.Start(100);
    ASSERT_TRUE(CLiveExchange(m_state).Write(1, 0x2501, 0x0001).Ok()); // run
    const std::vector<std::vector<std::string>> events = Listen(10.0);
    tick.Stop();
    const bool polled = pad->IsPolling() && graph->IsSamplingTimerRunning();
    const std::string readOut = graph->Chart()->ReadOutText();
    graph->Destroy();
    pad->Destroy();
    Pump(100);
    if (m_exitCode == kNoAccessibilityBus)
        GTEST_SKIP() << "the accessibility bus did not start";
    ASSERT_EQ(m_exitCode, 0);
    EXPECT_TRUE(polled);
    EXPECT_NE(readOut, "") << "the cursor stood in the chart";

    std::map<std::string, int> told;
    for (const std::vector<std::string>& parts : events)
        if (parts[1] != "shown")
            ++told[ToldBy(parts[1], parts[2], parts[3], parts[4])];
    int keypad = 0;
    for (const auto& [object, times] : told) {
        EXPECT_LT(times, 15) << "told " << times << " times in 10 s: " << object;
        if (object.rfind("description", 0) != 0)
            keypad += times;
    }
    // The ramp was told at all: the band, the cursor, the display and the
    // output frequency's read-out.
    EXPECT_GT(told["description of a panel: Maximum and minimum"], 2);
    EXPECT_GT(told["description of a panel: Oscillograph"], 2);
    EXPECT_GT(told["name of a label: Output Frequency  Hz"], 2);
    EXPECT_GT(keypad, 2);
    EXPECT_LT(keypad, 15) << "the keypad's read-outs and display together";
    std::cout << "told in 10 s of a ramp:";
    for (const auto& [object, times] : told)
        std::cout << " [" << object << "] " << times;
    std::cout << std::endl;
}

TEST_F(LiveWindowsAccessibilityTest, ALinkGoneIsAnnouncedWhereverTheFocusIs)
{
    SKIP_WITHOUT_SESSION_BUS();
    auto* pad = new CKeyPadDlg(nullptr, m_state, LiveDriveInfoOf(m_state, &m_project));
    pad->Show();
    pad->GetFreqEdit()->SetFocus();
    Pump(500);
    // The link goes while the reader listens: the next poll finds it gone.
    wxEvtHandler later;
    wxTimer gone(&later);
    later.Bind(wxEVT_TIMER, [this](wxTimerEvent&) { m_state.m_bConnected = 0; });
    gone.StartOnce(1500);
    const std::vector<std::vector<std::string>> events = Listen(3.0);
    const bool stopped = !pad->IsPolling();
    pad->Destroy();
    Pump(100);
    if (m_exitCode == kNoAccessibilityBus)
        GTEST_SKIP() << "the accessibility bus did not start";
    ASSERT_EQ(m_exitCode, 0);
    EXPECT_TRUE(stopped);
    int announced = 0;
    for (const std::vector<std::string>& parts : events)
        if (parts[1] == "shown" && parts[2] == "notification" && parts[3] == "It is not connect with inverter!")
            ++announced;
    EXPECT_EQ(announced, 1) << "a notification a reader says as it appears";
}
