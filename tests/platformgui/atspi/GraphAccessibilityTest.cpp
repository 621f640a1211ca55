// What a screen reader reads of the graph recorder over AT-SPI: the chart and
// the band by name, the cursor's read-out and the recorded figures as text,
// and every field of the curve settings and time-span dialogs by its own
// label. Runs on a private session bus (dbus-run-session) under Xvfb.

#include "monitor/GraphCtrl.h"
#include "monitor/GraphDlg.h"
#include "monitor/GraphSetDlg.h"
#include "monitor/SetTimeDlg.h"
#include "tests/shellgui/AppFixture.h"

#include <wx/evtloop.h>
#include <wx/utils.h>

#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <sstream>
#include <thread>

namespace {

struct Accessible {
    std::string role, name, description;
};

std::vector<std::string> SplitTabs(const std::string& line)
{
    std::vector<std::string> parts;
    std::istringstream in(line);
    for (std::string part; std::getline(in, part, '\t');)
        parts.push_back(part);
    return parts;
}

class GraphAccessibilityTest : public AppFixture {
protected:
    // The objects of this process as the reader finds them; exit code 77
    // when there is no accessibility bus.
    std::vector<Accessible> Read(long& exitCode, std::string& errors)
    {
        const wxString command = wxString::Format("/usr/bin/python3 %s/platformgui/atspi/read_accessible.py %ld 0",
                                                  D390_TEST_SOURCE_DIR, static_cast<long>(getpid()));
        wxArrayString output, errorLines;
        exitCode = wxExecute(command, output, errorLines, wxEXEC_SYNC);
        for (const wxString& line : errorLines)
            errors += line.utf8_string() + "\n";
        std::vector<Accessible> objects;
        for (const wxString& line : output) {
            std::vector<std::string> parts = SplitTabs(line.utf8_string());
            parts.resize(4);
            if (parts[0] == "object")
                objects.push_back({parts[1], parts[2], parts[3]});
        }
        return objects;
    }

    // The objects of that name that are not the label itself.
    static int Count(const std::vector<Accessible>& objects, const std::string& name)
    {
        int count = 0;
        for (const Accessible& object : objects)
            count += object.name == name && object.role != "label";
        return count;
    }

    static std::string DescriptionOf(const std::vector<Accessible>& objects, const std::string& name)
    {
        for (const Accessible& object : objects)
            if (object.name == name)
                return object.description;
        return "<none>";
    }

    static void Pump(int milliseconds)
    {
        auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
        while (std::chrono::steady_clock::now() < end) {
            wxTheApp->ProcessPendingEvents();
            while (wxEventLoopBase::GetActive() && wxEventLoopBase::GetActive()->Pending())
                wxEventLoopBase::GetActive()->Dispatch();
            wxTheApp->ProcessIdle();
            wxYield();
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }
};

} // namespace

TEST_F(GraphAccessibilityTest, ChartBandAndDialogFieldsAreNamedAndReadable)
{
    if (!std::getenv("DBUS_SESSION_BUS_ADDRESS"))
        GTEST_SKIP() << "no session bus: run under dbus-run-session for the AT-SPI test";
    ASSERT_TRUE(Start());
    auto* graph = new CGraphDlg(&Frame(), Frame().Session(), {1}, 0x11004B2);
    CGraphRecorder& recorder = graph->Recorder();
    recorder.SetChannel(0, "Set Frequency", "100.00", "0.00");
    recorder.ApplyScaleRule();
    for (int i = 0; i < 600; ++i) {
        GraphSample sample;
        sample.clock = 48211.9 + i * 0.1; // a machine up for half a day
        sample.plotted.fill(200.0);       // 20.00
        recorder.AppendSamples(sample);
    }
    recorder.m_Channels[0].recordedMax = 43.21;
    graph->Show();
    Pump(100);
    wxKeyEvent right(wxEVT_KEY_DOWN);
    right.m_keyCode = WXK_RIGHT;
    graph->Chart()->GetEventHandler()->ProcessEvent(right);
    Pump(100);
    graph->Chart()->Update();
    graph->Band()->Refresh(); // drawn, and described, with its figures

    auto* set = new CGraphSetDlg(&Frame(), {1, 3}, 0x11004B2);
    set->Show();
    auto* span = new CSetTimeDlg(&Frame());
    span->Show();
    Pump(100);

    ASSERT_EQ(graph->Chart()->ReadOutText(), "Cursor: Set Frequency 20.00");
    long exitCode = 0;
    std::string errors;
    std::vector<Accessible> objects = Read(exitCode, errors);
    span->Destroy();
    set->Destroy();
    graph->Destroy();
    Pump(50);
    if (exitCode == 77)
        GTEST_SKIP() << "the accessibility bus did not start: " << errors;
    ASSERT_EQ(exitCode, 0) << errors;

    EXPECT_EQ(Count(objects, "Oscillograph"), 1) << "the chart is named";
    EXPECT_EQ(DescriptionOf(objects, "Oscillograph"), "Cursor: Set Frequency 20.00");
    EXPECT_EQ(Count(objects, "Maximum and minimum"), 1) << "the band is named";
    EXPECT_EQ(DescriptionOf(objects, "Maximum and minimum").rfind("Set Frequency Max:43.21 Min:0.00; ", 0), 0u);

    EXPECT_EQ(Count(objects, "Station Num"), 1);
    for (const char* curve : {"Yellow Curve", "Green Curve", "Red Curve", "Blue Curve"})
        EXPECT_EQ(Count(objects, curve), 1) << curve;
    EXPECT_EQ(Count(objects, "Maximum"), 4);
    EXPECT_EQ(Count(objects, "Minimum"), 4);
    EXPECT_EQ(Count(objects, "(*1 Minute)"), 1);
    EXPECT_EQ(Count(objects, "(*1 Second)"), 1);
}
