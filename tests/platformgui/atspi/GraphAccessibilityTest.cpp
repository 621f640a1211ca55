// What a screen reader reads of the graph recorder over AT-SPI: the chart and
// the band by name, the cursor's read-out and the recorded figures as text,
// and every field of the curve settings and time-span dialogs by its own
// label. Runs on a private session bus (dbus-run-session) under Xvfb.

#include "monitor/GraphCtrl.h"
#include "monitor/GraphDlg.h"
#include "monitor/GraphSetDlg.h"
#include "monitor/SetTimeDlg.h"
#include "tests/platformgui/atspi/AtspiReading.h"
#include "tests/shellgui/AppFixture.h"

namespace {

class GraphAccessibilityTest : public AppFixture {
protected:
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
};

} // namespace

TEST_F(GraphAccessibilityTest, ChartBandAndDialogFieldsAreNamedAndReadable)
{
    SKIP_WITHOUT_SESSION_BUS();
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
    // The band's recorded figures moved without the user: told within a second.
    Pump(1200);

    ASSERT_EQ(graph->Chart()->ReadOutText(), "Cursor: Set Frequency 20.00");
    const ReaderOutput reading = RunReader("read_accessible.py", "0", 4);
    span->Destroy();
    set->Destroy();
    graph->Destroy();
    Pump(50);
    if (reading.NoBus())
        GTEST_SKIP() << "the accessibility bus did not start: " << reading.errors;
    ASSERT_EQ(reading.exitCode, 0) << reading.errors;
    const std::vector<Accessible> objects = ObjectsOf(reading);

    EXPECT_EQ(Count(objects, "Oscillograph"), 1) << "the chart is named";
    EXPECT_EQ(DescriptionOf(objects, "Oscillograph"), "Cursor: Set Frequency 20.00");
    EXPECT_EQ(Count(objects, "Maximum and minimum"), 1) << "the band is named";
    EXPECT_EQ(DescriptionOf(objects, "Maximum and minimum"), "Set Frequency Max:43.21 Min:0.00")
        << "only the curve whose figures moved";

    EXPECT_EQ(Count(objects, "Station Num"), 1);
    for (const char* curve : {"Yellow Curve", "Green Curve", "Red Curve", "Blue Curve"})
        EXPECT_EQ(Count(objects, curve), 1) << curve;
    for (const char* curve : {"Yellow Curve", "Green Curve", "Red Curve", "Blue Curve"}) {
        EXPECT_EQ(Count(objects, curve + std::string(" Maximum")), 1) << curve;
        EXPECT_EQ(Count(objects, curve + std::string(" Minimum")), 1) << curve;
    }
    EXPECT_EQ(Count(objects, "Time Interval, minutes"), 1);
    EXPECT_EQ(Count(objects, "Time Interval, seconds"), 1);
}
