// The graph window under Xvfb: its frame, toolbar, menus and popup, resizing,
// the curve settings and time-span dialogs, the timers of Pause, the saved
// picture, and a recording against the simulated drive.

#include "document/D390DocData.h"
#include "link/ModbusRequest.h"
#include "link/SerialComm.h"
#include "monitor/GraphCtrl.h"
#include "monitor/GraphCurves.h"
#include "monitor/GraphDlg.h"
#include "monitor/GraphExchange.h"
#include "monitor/GraphRenderer.h"
#include "monitor/GraphSetDlg.h"
#include "monitor/SetTimeDlg.h"
#include "platform/BackgroundJob.h"
#include "platform/FileChooser.h"
#include "platform/ResourceModule.h"
#include "session/DriveSession.h"
#include "session/LinkSetup.h"
#include "tests/common/GuiTestSupport.h"
#include "tests/common/MessageRecorder.h"
#include "tests/common/RecordingWindows.h"
#include "tests/common/TestPaths.h"
#include "tools/SimulatedDrive.h"
#include "view/ExportFormatDlg.h"

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/choice.h>
#include <wx/dcclient.h>
#include <wx/display.h>
#include <wx/evtloop.h>
#include <wx/menu.h>
#include <wx/radiobut.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/toolbar.h>
#include <wx/utils.h>

#include <chrono>
#include <map>
#include <fstream>
#include <sstream>
#include <thread>

namespace {

void Pump(int milliseconds)
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

std::string ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

uint32_t U32(const std::string& b, size_t at)
{
    return uint32_t(uint8_t(b[at])) | uint32_t(uint8_t(b[at + 1])) << 8 | uint32_t(uint8_t(b[at + 2])) << 16 |
           uint32_t(uint8_t(b[at + 3])) << 24;
}

class GraphWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_project.ResetGraphChannels();
        m_state.m_Stations = {3, 9};
        m_state.m_StationModels = {0x11004B2, 0x1100000 + 1202};
    }

    void TearDown() override
    {
        SetModalAnswer(nullptr);
        SetFileChooser(nullptr);
        if (m_window)
            m_window->Destroy();
        m_window = nullptr;
        Pump(20);
    }

    // withProject false: opened while no project window is open.
    CGraphDlg& Open(bool connected, bool withProject = true)
    {
        m_state.m_bConnected = connected ? 1 : 0;
        m_window = new CGraphDlg(nullptr, m_state, m_state.m_Stations, 0x11004B2, withProject ? &m_project : nullptr);
        m_window->Show();
        Pump(100);
        return *m_window;
    }

    bool Enabled(int id)
    {
        m_window->UpdateWindowUI(wxUPDATE_UI_RECURSE);
        wxToolBar* toolbar = m_window->GetToolBar();
        if (toolbar->FindById(id))
            return toolbar->GetToolEnabled(id);
        wxMenuItem* item = m_window->GetMenuBar()->FindItem(id);
        return item && item->IsEnabled();
    }

    RecordingWindows m_windows;
    CDriveSession m_state{m_windows};
    // The open project: the window starts from its channels and keeps Set's.
    CD390DocData m_project{m_windows};
    CGraphDlg* m_window = nullptr;
    MessageRecorder m_messages;
};

} // namespace

TEST_F(GraphWindowTest, ToolbarMenusAndPopupAreEnabledWhileConnectedWhereTheyMustBe)
{
    CGraphDlg& window = Open(false);
    EXPECT_EQ(window.GetId(), 102);
    EXPECT_EQ(window.GetTitle(), "Graph");
    ASSERT_NE(window.FindWindow(1000), nullptr);

    wxToolBar* toolbar = window.GetToolBar();
    ASSERT_NE(toolbar, nullptr);
    const std::vector<std::pair<int, const char*>> tools = {{32820, "Start"},   {32819, "Stop"},   {-1, ""},
                                                            {32815, "Save"},    {32822, "Set"},    {32801, "Dim Time"},
                                                            {32802, "Export"},  {32803, "Import"}};
    ASSERT_EQ(toolbar->GetToolsCount(), tools.size());
    for (size_t i = 0; i < tools.size(); ++i) {
        const wxToolBarToolBase* tool = toolbar->GetToolByPos(static_cast<int>(i));
        if (tools[i].first < 0) {
            EXPECT_TRUE(tool->IsSeparator());
            continue;
        }
        EXPECT_EQ(tool->GetId(), tools[i].first);
        EXPECT_EQ(tool->GetShortHelp(), tools[i].second);
        EXPECT_EQ(tool->GetNormalBitmap().GetWidth(), 20);
    }

    wxMenuBar* bar = window.GetMenuBar();
    ASSERT_EQ(bar->GetMenuCount(), 1u);
    EXPECT_EQ(bar->GetMenuLabelText(0), "Save Graph");
    EXPECT_EQ(bar->GetMenu(0)->FindItemByPosition(0)->GetId(), 32815);
    EXPECT_EQ(bar->GetMenu(0)->FindItemByPosition(0)->GetItemLabelText(), "Save(*.BMP)");
    EXPECT_EQ(bar->GetMenu(0)->FindItemByPosition(1)->GetId(), 32819);

    std::unique_ptr<wxMenu> popup(CGraphDlg::CreatePopupMenu());
    std::vector<int> ids;
    for (const wxMenuItem* item : popup->GetMenuItems())
        ids.push_back(item->IsSeparator() ? 0 : item->GetId());
    EXPECT_EQ(ids, (std::vector<int>{32822, 0, 32820, 0, 32800, 0, 32801, 0, 32802, 32803}));

    for (int id : {32820, 32819, 32822, 32801})
        EXPECT_FALSE(Enabled(id)) << id;
    for (int id : {32815, 32802, 32803})
        EXPECT_TRUE(Enabled(id)) << id;
    m_state.m_bConnected = 1;
    for (int id : {32820, 32819, 32822, 32801, 32815})
        EXPECT_TRUE(Enabled(id)) << id;

    // Not connected, the commands that need a drive do nothing.
    m_state.m_bConnected = 0;
    window.Start();
    EXPECT_FALSE(window.IsSamplingTimerRunning());
    window.Set(); // no dialog: the modal hook would fail the test
}

TEST_F(GraphWindowTest, ResizingKeepsTheLabelBandAt110Pixels)
{
    CGraphDlg& window = Open(false);
    for (wxSize size : {wxSize(900, 700), wxSize(500, 330), wxSize(1200, 900)}) {
        window.SetClientSize(size);
        Pump(150);
        wxSize client = window.GetClientSize();
        EXPECT_EQ(window.Band()->GetSize().y, 110) << size.x;
        EXPECT_EQ(window.Band()->GetPosition().y + 110, client.y);
        EXPECT_EQ(window.Chart()->GetPosition().y + window.Chart()->GetSize().y, client.y - 110);
        EXPECT_EQ(window.Chart()->GetSize().x, client.x);
    }
}

TEST_F(GraphWindowTest, CurveSettingsDialog)
{
    CGraphSetDlg base(nullptr, {3, 9}, 0x1100000);
    ASSERT_EQ(base.CurveList(0)->GetCount(), 10u);
    EXPECT_EQ(base.CurveList(0)->GetString(9), "ACI Input");
    CGraphSetDlg extended(nullptr, {3, 9}, 0x1100001);
    ASSERT_EQ(extended.CurveList(3)->GetCount(), 13u);
    EXPECT_EQ(extended.CurveList(3)->GetString(10), "Output Power");
    EXPECT_EQ(extended.CurveList(3)->GetString(12), "Percentage");

    CGraphSetDlg dialog(nullptr, {3, 9}, 0x1100000);
    const char* names[4] = {"No display", "dc voltage", "Temperature", "Set Frequency"};
    for (int k = 0; k < 4; ++k) {
        dialog.m_strName[k] = names[k];
        dialog.m_strMax[k] = "10";
        dialog.m_strMin[k] = "0";
    }
    dialog.m_nStationSel = 5; // beyond the stations
    dialog.TransferDataToWindow();
    EXPECT_EQ(dialog.StationList()->GetSelection(), 0);
    EXPECT_EQ(dialog.CurveList(0)->GetStringSelection(), "No Display");
    EXPECT_EQ(dialog.CurveList(1)->GetStringSelection(), "DC Voltage");
    EXPECT_EQ(dialog.CurveList(2)->GetSelection(), 0); // not in the base list
    EXPECT_EQ(dialog.m_nSel[3], 1);

    // The keystroke filter.
    wxTextCtrl* edit = dialog.MaxEdit(0);
    edit->SetValue("12.345");
    EXPECT_EQ(edit->GetValue(), "12.34");
    edit->SetValue("12.3-");
    EXPECT_EQ(edit->GetValue(), "12.34");
    edit->SetValue("12a");
    EXPECT_EQ(edit->GetValue(), "12.34");
    edit->SetValue("70000");
    EXPECT_EQ(edit->GetValue(), "12.34");
    edit->SetValue("10");

    // Green's maximum equal to its minimum: refused on green, yellow already rewritten.
    dialog.MinEdit(1)->SetValue("10");
    dialog.Show();
    Pump(50);
    EXPECT_FALSE(dialog.CheckAndClose());
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{"The maximum value must be larger than the minimum value!"});
    EXPECT_EQ(dialog.MaxEdit(0)->GetValue(), "10.00");
    EXPECT_EQ(dialog.MinEdit(0)->GetValue(), "0.00");
    EXPECT_EQ(dialog.MaxEdit(1)->GetValue(), "10");
    EXPECT_EQ(dialog.MaxEdit(1)->GetId(), 1020);
    Pump(50);
    EXPECT_EQ(wxWindow::FindFocus(), dialog.MaxEdit(1));

    dialog.MinEdit(1)->SetValue("0");
    dialog.StationList()->SetSelection(1);
    EXPECT_TRUE(dialog.CheckAndClose());
    EXPECT_EQ(dialog.m_nStation, 9);
    EXPECT_EQ(dialog.m_strName[0], "No Display");
    EXPECT_EQ(dialog.m_strMax[1], "10.00");
}

namespace {

// Set's answer: the second station, curve 1 the output frequency up to 60.
int ChooseFrequencyOnTheSecondStation(wxDialog* d)
{
    auto* set = dynamic_cast<CGraphSetDlg*>(d);
    EXPECT_NE(set, nullptr);
    if (!set)
        return int(wxID_CANCEL);
    set->StationList()->SetSelection(1);
    set->CurveList(0)->SetStringSelection("Output Frequency");
    set->MaxEdit(0)->SetValue("60");
    return set->CheckAndClose() ? int(wxID_OK) : int(wxID_CANCEL);
}

} // namespace

TEST_F(GraphWindowTest, SetWritesTheChannelsIntoTheChartAndTheProject)
{
    CGraphDlg& window = Open(true);
    SetModalAnswer(ChooseFrequencyOnTheSecondStation);
    window.Set();
    EXPECT_EQ(window.Recorder().m_nStation, 9);
    EXPECT_EQ(window.Recorder().m_Channels[0].name, "Output Frequency");
    EXPECT_EQ(window.Recorder().m_Channels[0].scaleLabels[2], "30.00");
    EXPECT_EQ(m_project.m_strGraphSource[0], "Output Frequency");
    EXPECT_EQ(m_project.m_strGraphMax[0], "60.00");
    EXPECT_EQ(m_project.m_nGraphSel[0], 2);
    EXPECT_EQ(m_project.m_nGraphFlag, 1);
}

// The project's channels, and the station Set offers, are where the window
// starts; without a project it starts from reset channels and Set's choices
// stay the window's.
TEST_F(GraphWindowTest, ChannelsStartFromTheProjectAndWithoutOneSetKeepsNothing)
{
    m_project.m_strGraphSource[0] = "Set Frequency";
    m_project.m_strGraphMax[0] = "50.00";
    m_project.m_nGraphSel[0] = 1;
    m_project.m_nGraphFlag = 1;
    // Set offers the station the project's flag names.
    int offeredStation = -1;
    auto offered = [&](wxDialog* d) {
        auto* set = dynamic_cast<CGraphSetDlg*>(d);
        offeredStation = set ? set->StationList()->GetSelection() : -2;
        return int(wxID_CANCEL);
    };
    {
        CGraphDlg& window = Open(true);
        EXPECT_EQ(window.Recorder().m_Channels[0].name, "Set Frequency");
        EXPECT_EQ(window.Recorder().m_Channels[0].maxText, "50.00");
        SetModalAnswer(offered);
        window.Set();
        EXPECT_EQ(offeredStation, 1);
        m_window->Destroy();
        m_window = nullptr;
        Pump(20);
    }

    CGraphDlg& window = Open(true, false);
    EXPECT_EQ(window.Recorder().m_Channels[0].name, "No display");
    EXPECT_EQ(window.Recorder().m_Channels[0].maxText, "10.00");
    SetModalAnswer(offered);
    window.Set();
    EXPECT_EQ(offeredStation, 0);
    SetModalAnswer(ChooseFrequencyOnTheSecondStation);
    window.Set();
    EXPECT_EQ(window.Recorder().m_Channels[0].name, "Output Frequency");
    EXPECT_EQ(window.Recorder().m_nStation, 9);
    // The window keeps its choices while it is open; the project is not touched.
    SetModalAnswer(offered);
    window.Set();
    EXPECT_EQ(offeredStation, 1);
    EXPECT_EQ(m_project.m_strGraphSource[0], "Set Frequency");
    EXPECT_EQ(m_project.m_strGraphMax[0], "50.00");
    EXPECT_EQ(m_project.m_nGraphSel[0], 1);
    EXPECT_EQ(m_project.m_nGraphFlag, 1);
}

TEST_F(GraphWindowTest, DimTimeAndThePauseTimers)
{
    CGraphDlg& window = Open(true);
    int shownMinutes = -1, shownSeconds = -1;
    bool suspended = false;
    auto answer = [&](int minutes, int seconds, bool ok) {
        SetModalAnswer([&, minutes, seconds, ok](wxDialog* d) {
            auto* time = dynamic_cast<CSetTimeDlg*>(d);
            EXPECT_NE(time, nullptr);
            if (!time)
                return int(wxID_CANCEL);
            shownMinutes = time->m_nMinutes;
            shownSeconds = time->m_nSeconds;
            suspended = window.Recorder().m_bSuspended;
            time->MinutesEdit()->SetValue(wxString::Format("%d", minutes));
            time->SecondsEdit()->SetValue(wxString::Format("%d", seconds));
            if (!ok)
                return int(wxID_CANCEL);
            return time->CheckAndClose() ? int(wxID_OK) : int(wxID_CANCEL);
        });
    };
    answer(1, 30, true);
    window.DimTime();
    EXPECT_EQ(shownMinutes, 1); // 4 x 15000 ms
    EXPECT_EQ(shownSeconds, 0);
    EXPECT_TRUE(suspended);
    EXPECT_FALSE(window.Recorder().m_bSuspended);
    EXPECT_EQ(window.Recorder().GetMsPerDivision(), 22500);

    answer(5, 0, false);
    window.DimTime();
    EXPECT_EQ(window.Recorder().GetMsPerDivision(), 22500);
    answer(1, -60, true);
    window.DimTime();
    EXPECT_EQ(window.Recorder().GetMsPerDivision(), 22500);
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{"The interval time must be more than 0s !"});

    // The Pause key stops the chart only; the Pause command stops both.
    window.Start();
    EXPECT_TRUE(window.IsSamplingTimerRunning());
    EXPECT_TRUE(window.IsBandTimerRunning());
    window.PauseKey();
    EXPECT_FALSE(window.IsSamplingTimerRunning());
    EXPECT_FALSE(window.Recorder().IsSampling());
    EXPECT_TRUE(window.IsBandTimerRunning());
    window.Start();
    wxCommandEvent pause(wxEVT_MENU, CGraphDlg::ID_PAUSE);
    window.ProcessWindowEvent(pause);
    EXPECT_FALSE(window.IsSamplingTimerRunning());
    EXPECT_FALSE(window.IsBandTimerRunning());
}

TEST_F(GraphWindowTest, SavedPictureIsABmpOfTheWindowWithTheCurveWhereItIsDrawn)
{
    CGraphDlg& window = Open(false);
    window.SetClientSize(wxSize(800, 560));
    Pump(150);
    CGraphRecorder& recorder = window.Recorder();
    recorder.SetChannel(0, "Set Frequency", "100.00", "0.00");
    recorder.ApplyScaleRule();
    for (int i = 0; i < 300; ++i) {
        GraphSample sample;
        sample.clock = i * 0.1;
        sample.plotted.fill(500.0); // 50.00: half the height
        recorder.AppendSamples(sample);
    }
    std::string folder = MakeTempFolder();
    std::string chosen;
    SetFileChooser([&](const FileChoice& choice, std::string& path) {
        EXPECT_TRUE(choice.save);
        EXPECT_NE(choice.filter.find("*.bmp"), std::string::npos);
        path = folder + "graph";
        return true;
    });
    window.SaveBmp();
    std::string bmp = ReadBytes(folder + "graph.bmp");
    ASSERT_GT(bmp.size(), 54u);
    int toolbarHeight = window.GetToolBar()->GetSize().y;
    wxSize client = window.GetClientSize();
    uint32_t width = U32(bmp, 18), height = U32(bmp, 22);
    EXPECT_EQ(bmp.substr(0, 2), "BM");
    EXPECT_EQ(width, uint32_t(client.x));
    EXPECT_EQ(height, uint32_t(client.y + toolbarHeight));
    EXPECT_EQ(uint8_t(bmp[28]), 24);
    uint32_t rowSize = (24 * width + 31) / 32 * 4;
    EXPECT_EQ(bmp.size(), 54 + rowSize * height);

    // The curve is a level line: take a point between two of its points.
    wxClientDC dc(window.Chart());
    GraphLayout layout = MeasureGraphLayout(dc, window.Chart()->GetClientSize(), recorder);
    std::vector<GraphPoint> points = CurvePolyline(layout.plot, recorder.Samples(), 0, recorder.GetMsPerDivision());
    ASSERT_GE(points.size(), 2u);
    GraphPoint at{(points[0].x + points.back().x) / 2, points[0].y};
    wxPoint chartAt = window.Chart()->GetPosition() + window.Chart()->GetClientAreaOrigin();
    int x = chartAt.x + at.x;
    int y = toolbarHeight + chartAt.y + at.y;
    size_t offset = 54 + size_t(height - 1 - y) * rowSize + size_t(x) * 3;
    EXPECT_EQ(uint8_t(bmp[offset + 2]), 0xFF) << "red at " << x << "," << y;
    EXPECT_EQ(uint8_t(bmp[offset + 1]), 0xE6);
    EXPECT_EQ(uint8_t(bmp[offset]), 0x28);
}

TEST_F(GraphWindowTest, ExportAndImportThroughTheWindow)
{
    CGraphDlg& window = Open(true);
    std::string folder = MakeTempFolder();
    SetModalAnswer([](wxDialog* d) {
        auto* format = dynamic_cast<CExportFormatDlg*>(d);
        EXPECT_NE(format, nullptr);
        auto* csv = format ? dynamic_cast<wxRadioButton*>(format->FindWindow(CExportFormatDlg::IDC_CSV)) : nullptr;
        EXPECT_NE(csv, nullptr);
        if (csv)
            csv->SetValue(true);
        return int(wxID_OK);
    });
    SetFileChooser([&](const FileChoice& choice, std::string& path) {
        path = folder + (choice.save ? "out" : "out.csv");
        return true;
    });
    window.Start();
    window.Export();
    EXPECT_FALSE(window.IsSamplingTimerRunning()) << "export stops sampling";
    EXPECT_EQ(ReadBytes(folder + "out.csv").substr(0, 12), ",No display,");
    window.Import();
    EXPECT_TRUE(m_messages.Texts().empty());
}

TEST_F(GraphWindowTest, RecordsFromTheSimulatedDrive)
{
    SimDriveConfig config;
    config.stations = {SimStationConfig{3, 0x11004B2, 1100}};
    CSimulatedDrive drive(config);
    std::string error;
    ASSERT_TRUE(drive.Start(&error)) << error;
    CSerialComm comm;
    ASSERT_NE(comm.InitComm(drive.GetPtyPath(), 19200, 8, 0, 1.0f), 0);
    drive.SetRegister(3, 0x2523, 4321);
    m_state.m_pComm = &comm;
    m_project.m_strGraphSource[0] = "Set Frequency";
    m_project.m_strGraphMax[0] = "50.00";
    CGraphDlg& window = Open(true);
    window.Start();
    Pump(1200);
    window.Stop();
    // A read that was under way at Stop ends, and is not taken in.
    for (int i = 0; i < 100 && window.IsExchangeRunning(); ++i)
        Pump(10);
    const auto& samples = window.Recorder().Samples();
    EXPECT_GE(samples.size(), 8u);
    EXPECT_LE(samples.size(), 13u);
    ASSERT_FALSE(samples.empty());
    EXPECT_EQ(samples.back().valueTexts[0], "43.21");
    EXPECT_DOUBLE_EQ(window.Recorder().m_Channels[0].recordedMax, 43.21);
    auto frames = drive.GetFrameLog();
    ASSERT_GE(frames.size(), samples.size());
    ASSERT_LE(frames.size(), samples.size() + 1);
    for (const SimFrame& frame : frames) {
        EXPECT_EQ(frame.request[0], 3);
        EXPECT_EQ(frame.request[5], 16);
        EXPECT_EQ(frame.reply.size(), 37u);
    }
    m_state.m_pComm = nullptr;
    comm.Close();
    drive.Stop();
}

namespace {

// Samples as a running machine records them: clocks far from 0.
void FillLevel(CGraphRecorder& recorder, double from, int count, double plotted)
{
    for (int i = 0; i < count; ++i) {
        GraphSample sample;
        sample.clock = from + i * 0.1;
        sample.plotted.fill(plotted);
        for (auto& text : sample.valueTexts)
            text = "20.00";
        recorder.AppendSamples(sample);
    }
}

bool Apart(const GraphRect& a, const GraphRect& b)
{
    return a.left >= b.right || b.left >= a.right || a.top >= b.bottom || b.top >= a.bottom;
}

bool IsColour(const wxImage& image, int x, int y, const wxColour& colour)
{
    return image.GetRed(x, y) == colour.Red() && image.GetGreen(x, y) == colour.Green() &&
           image.GetBlue(x, y) == colour.Blue();
}

} // namespace

TEST_F(GraphWindowTest, RecordedCurvesAreDrawnFromTheFirstSampleOnAfterEveryStart)
{
    SimDriveConfig config;
    config.stations = {SimStationConfig{3, 0x11004B2, 1100}};
    CSimulatedDrive drive(config);
    std::string error;
    ASSERT_TRUE(drive.Start(&error)) << error;
    CSerialComm comm;
    ASSERT_NE(comm.InitComm(drive.GetPtyPath(), 19200, 8, 0, 1.0f), 0);
    drive.SetRegister(3, 0x2523, 2500); // 25.00 Hz: half the height of a 0 to 50 scale
    m_state.m_pComm = &comm;
    m_project.m_strGraphSource[0] = "Set Frequency";
    m_project.m_strGraphMax[0] = "50.00";
    CGraphDlg& window = Open(true);
    CGraphRecorder& recorder = window.Recorder();
    for (int run = 0; run < 2; ++run) {
        window.Start(); // the chart paints its empty store first
        Pump(900);
        ASSERT_GE(recorder.Samples().size(), 3u) << "run " << run;
        ASSERT_GT(recorder.Samples().front().clock, 1.0) << "the machine's clock counts from boot";

        // What the screen's paints drew, followed from the first paint on.
        wxClientDC dc(window.Chart());
        GraphLayout layout = MeasureGraphLayout(dc, window.Chart()->GetClientSize(), recorder);
        const GraphPolylines& drawn = window.Chart()->m_View.curves.Update(layout.plot, recorder);
        ASSERT_GE(drawn[0].size(), 2u) << "run " << run;
        ASSERT_EQ(drawn[0].front().x, layout.plot.left) << "run " << run;
        EXPECT_GT(drawn[0].back().x, layout.plot.left) << "run " << run;
        ASSERT_LT(drawn[0].back().x, layout.plot.left + layout.plot.Width() / 4) << "run " << run;

        // And the saved picture holds the curve from the plot's left edge on.
        wxImage picture = window.RenderPicture().ConvertToImage();
        wxPoint chartAt = window.Chart()->GetPosition() + window.Chart()->GetClientAreaOrigin() +
                          wxPoint(0, window.GetToolBar()->GetSize().y);
        int y = chartAt.y + drawn[0].front().y;
        int yellow = 0;
        for (int x = layout.plotClip.left; x <= drawn[0].back().x; ++x)
            yellow += IsColour(picture, chartAt.x + x, y, GraphCurveColour(0));
        EXPECT_GE(yellow, drawn[0].back().x - layout.plotClip.left - 1) << "run " << run;
        window.Stop();
        Pump(50);
    }
    m_state.m_pComm = nullptr;
    comm.Close();
    drive.Stop();
}

TEST_F(GraphWindowTest, ChartTextsStayApartAtTheFirstAndTheSmallestSize)
{
    CGraphDlg& window = Open(false);
    CGraphRecorder& recorder = window.Recorder();
    // Four curves on wide scales, all at one value: their labels and read-outs
    // compete for the same places.
    for (int c = 0; c < kGraphChannels; ++c)
        recorder.SetChannel(c, "Set Frequency", "65535.00", "20.00");
    recorder.ApplyScaleRule();
    FillLevel(recorder, 86400.0 * 3 + 17.3, 400, 0.0);
    window.Set(); // not connected: nothing; the labels above stand

    const wxSize first = window.GetSize();
    for (wxSize size : {first, window.GetMinSize()}) {
        window.SetSize(size);
        Pump(150);
        CGraphCtrl* chart = window.Chart();
        wxClientDC dc(chart);
        const wxSize client = chart->GetClientSize();
        GraphLayout layout = MeasureGraphLayout(dc, client, recorder);
        chart->MouseMovedTo(wxPoint((layout.plot.left + layout.plot.right) / 2, layout.plot.top + 20));
        Pump(150);
        GraphTextPlaces places = PlaceGraphTexts(dc, layout, recorder, chart->m_View);

        std::vector<GraphRect> labels;
        for (const auto& channel : places.scaleLabels)
            for (const GraphRect& label : channel)
                labels.push_back(label);
        for (size_t a = 0; a < labels.size(); ++a) {
            EXPECT_GE(labels[a].left, layout.panel.left) << size.x << "x" << size.y;
            EXPECT_GE(labels[a].top, 0);
            EXPECT_LE(labels[a].bottom, layout.panel.bottom);
            for (size_t b = 0; b < a; ++b)
                EXPECT_TRUE(Apart(labels[a], labels[b])) << "labels " << b << ", " << a << " at " << size.x << "x" << size.y;
        }
        for (int c = 0; c < kGraphChannels; ++c) {
            ASSERT_EQ(chart->m_View.readOuts[c].text, "20.00") << c;
            const GraphRect& box = places.readOuts[c];
            EXPECT_GT(box.Width(), 0);
            for (int d = 0; d < c; ++d)
                EXPECT_TRUE(box.left >= places.readOuts[d].right + 3 || places.readOuts[d].left >= box.right + 3 ||
                            Apart(box, places.readOuts[d]))
                    << "read-outs " << d << ", " << c << " at " << size.x << "x" << size.y;
        }
    }
}

TEST_F(GraphWindowTest, CursorGoesWhenTheMouseLeavesAndNeverReachesThePicture)
{
    CGraphDlg& window = Open(false);
    CGraphRecorder& recorder = window.Recorder();
    recorder.SetChannel(0, "Set Frequency", "100.00", "0.00");
    recorder.ApplyScaleRule();
    FillLevel(recorder, 52031.4, 300, 500.0);
    CGraphCtrl* chart = window.Chart();
    wxClientDC dc(chart);
    GraphLayout layout = MeasureGraphLayout(dc, chart->GetClientSize(), recorder);
    const wxPoint inside(layout.plot.left + layout.plot.Width() / 4 + 7, layout.plot.top + 40);
    chart->MouseMovedTo(inside);
    Pump(100);
    ASSERT_TRUE(layout.plot.Contains(chart->m_View.cursor.x, chart->m_View.cursor.y));
    ASSERT_FALSE(chart->m_View.readOuts[0].text.empty());

    // The picture, taken with the cursor on the chart: its column is grid and curve only.
    wxImage picture = window.RenderPicture().ConvertToImage();
    wxPoint chartAt = chart->GetPosition() + chart->GetClientAreaOrigin() + wxPoint(0, window.GetToolBar()->GetSize().y);
    int white = 0;
    for (int y = layout.plot.top + 3; y < layout.plot.bottom - 3; ++y)
        white += IsColour(picture, chartAt.x + inside.x, chartAt.y + y, *wxWHITE);
    EXPECT_EQ(white, 0);

    wxMouseEvent leave(wxEVT_LEAVE_WINDOW);
    leave.SetEventObject(chart);
    leave.SetPosition(wxPoint(-5, inside.y));
    chart->GetEventHandler()->ProcessEvent(leave);
    Pump(100);
    EXPECT_FALSE(layout.plot.Contains(chart->m_View.cursor.x, chart->m_View.cursor.y));
    for (const GraphReadOut& readOut : chart->m_View.readOuts)
        EXPECT_TRUE(readOut.text.empty());
}

TEST_F(GraphWindowTest, OpensInsideTheDisplaysWorkArea)
{
    CGraphDlg& window = Open(false);
    int display = wxDisplay::GetFromWindow(&window);
    wxRect area = wxDisplay(display == wxNOT_FOUND ? 0u : unsigned(display)).GetClientArea();
    EXPECT_TRUE(area.Contains(window.GetScreenRect())) << window.GetScreenRect().y << "+" << window.GetScreenRect().height;
    EXPECT_GE(window.GetSize().x, window.GetMinSize().x);
    EXPECT_GE(window.GetSize().y, window.GetMinSize().y);
}

TEST_F(GraphWindowTest, ReadsRunOnAWorkerOneAtATimeAndAClosedWindowWaitsForNone)
{
    SimDriveConfig config;
    config.stations = {SimStationConfig{3, 0x11004B2, 1100}};
    config.line = SimLineFormat{19200, 8, 'N', 1};
    CSimulatedDrive drive(config);
    std::string error;
    ASSERT_TRUE(drive.Start(&error)) << error;
    CSerialComm comm;
    ASSERT_NE(comm.InitComm(drive.GetPtyPath(), 19200, 8, 0, 1.0f), 0);
    drive.SetReplyDelay(3, 1500); // past the link's 1 s time-out
    m_state.m_pComm = &comm;
    m_project.m_strGraphSource[0] = "Set Frequency";
    CGraphDlg& window = Open(true);
    window.Start();
    for (int i = 0; i < 50 && !window.IsExchangeRunning(); ++i)
        Pump(5);
    ASSERT_TRUE(window.IsExchangeRunning());

    // The window thread answers while the drive keeps it waiting, and the
    // ticks meanwhile send nothing more.
    bool answered = false;
    wxTheApp->CallAfter([&answered] { answered = true; });
    Pump(600);
    EXPECT_TRUE(answered);
    EXPECT_TRUE(window.IsExchangeRunning());
    EXPECT_TRUE(window.IsSamplingTimerRunning());
    EXPECT_EQ(drive.GetFrameLog().size(), 1u);
    for (int i = 0; i < 200 && window.IsExchangeRunning(); ++i)
        Pump(10);
    Pump(50);
    // The time-out stops the recording with one message, as a tick on the window thread did.
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{"TimeOut!"});
    EXPECT_FALSE(window.Recorder().IsSampling());
    EXPECT_FALSE(window.IsSamplingTimerRunning());
    EXPECT_EQ(drive.GetFrameLog().size(), 1u);
    EXPECT_TRUE(window.Recorder().Samples().empty());

    // Closed while a read runs: the window goes at once. The read still
    // waited for the line to fall quiet after the time-out (the late reply
    // arrives meanwhile): it is given up, no frame goes out, and nothing
    // comes of it.
    m_messages.Clear();
    window.Start();
    for (int i = 0; i < 400 && !window.IsExchangeRunning(); ++i)
        Pump(5);
    Pump(100); // past its pause: the read waits on the line
    ASSERT_TRUE(window.IsExchangeRunning());
    window.Close();
    m_window = nullptr;
    Pump(20);
    EXPECT_EQ(wxWindow::FindWindowById(CGraphDlg::IDD), nullptr);
    for (int i = 0; i < 400 && CGraphSampler::LeftRunning() > 0; ++i)
        Pump(10);
    EXPECT_EQ(CGraphSampler::LeftRunning(), 0u);
    CBackgroundJob::JoinReleasedJobs();
    Pump(1500); // past the late reply and the quiet: a read would have gone by now
    EXPECT_EQ(drive.GetFrameLog().size(), 1u);
    EXPECT_TRUE(m_messages.Texts().empty());
    m_state.m_pComm = nullptr;
    comm.Close();
    drive.Stop();
}

// Closed while its read waits for the link (another caller's exchange holds
// it), then the link disconnected at once, as Disconnect does: the read is
// given up unsent, and the link object goes only after the window's worker
// has ended.
TEST_F(GraphWindowTest, ADisconnectRightAfterClosingARecordingWindowIsSafe)
{
    SimDriveConfig config;
    config.stations = {SimStationConfig{3, 0x11004B2, 1100}, SimStationConfig{9, 0x11004B2, 1100}};
    config.line = SimLineFormat{19200, 8, 'N', 1};
    CSimulatedDrive drive(config);
    std::string error;
    ASSERT_TRUE(drive.Start(&error)) << error;
    m_state.m_pComm = new CSerialComm;
    ASSERT_NE(m_state.m_pComm->InitComm(drive.GetPtyPath(), 19200, 8, 0, 1.0f), 0);
    m_state.m_bConnected = 1;
    m_project.m_strGraphSource[0] = "Set Frequency";
    CGraphDlg& window = Open(true);
    window.Start();
    for (int i = 0; i < 400 && window.Recorder().Samples().empty(); ++i)
        Pump(5);
    ASSERT_FALSE(window.Recorder().Samples().empty());

    // Another caller's read of a late station holds the link; the window's
    // next read waits behind it.
    drive.SetReplyDelay(9, 1500);
    CSerialComm* link = m_state.m_pComm;
    std::thread other([link] {
        std::uint16_t word = 0;
        CModbusRequest(link).ReadHolding(9, 0x2501, 1, &word);
    });
    for (int i = 0; i < 200 && drive.GetFrameLog().empty(); ++i)
        Pump(5);
    for (int i = 0; i < 200 && drive.GetFrameLog().back().request[0] != 9; ++i)
        Pump(5);
    const std::size_t mark = drive.GetFrameCount();
    for (int i = 0; i < 400 && !window.IsExchangeRunning(); ++i)
        Pump(5);
    Pump(50); // past its pause: the read waits for the link
    ASSERT_TRUE(window.IsExchangeRunning());
    window.Close();
    m_window = nullptr;
    Pump(20);
    EXPECT_EQ(wxWindow::FindWindowById(CGraphDlg::IDD), nullptr);

    DisconnectLink(m_state);
    EXPECT_EQ(m_state.m_pComm, nullptr);
    EXPECT_EQ(CGraphSampler::LeftRunning(), 0u);
    other.join();
    const std::vector<SimFrame> after = drive.GetFramesFrom(mark);
    EXPECT_TRUE(after.empty()) << after.size() << " frames of the closed window";
    Pump(50);
    EXPECT_TRUE(m_messages.Texts().empty());
    drive.Stop();
}

namespace {

// The label that assistive tools take as each control's name: the last
// label before it among the window's children, depth first.
void LabelsBefore(wxWindow* parent, wxString& pending, std::map<wxWindow*, wxString>& names)
{
    for (wxWindow* child : parent->GetChildren()) {
        if (auto* label = dynamic_cast<wxStaticText*>(child)) {
            pending = label->GetLabel();
            continue;
        }
        if (dynamic_cast<wxTextCtrl*>(child) || dynamic_cast<wxChoice*>(child)) {
            names[child] = pending;
            pending.clear();
        }
        LabelsBefore(child, pending, names);
    }
}

std::map<wxWindow*, wxString> LabelNames(wxWindow* top)
{
    wxString pending;
    std::map<wxWindow*, wxString> names;
    LabelsBefore(top, pending, names);
    return names;
}

void Key(wxWindow* target, wxEventType type, int code, int modifiers = wxMOD_NONE)
{
    wxKeyEvent key(type);
    key.m_keyCode = code;
    key.SetShiftDown(modifiers & wxMOD_SHIFT);
    key.SetControlDown(modifiers & wxMOD_CONTROL);
    key.SetEventObject(target);
    target->GetEventHandler()->ProcessEvent(key);
}

} // namespace

TEST_F(GraphWindowTest, KeyboardReachesTheChartTheBandAndEveryCommand)
{
    CGraphDlg& window = Open(true);
    EXPECT_TRUE(window.Chart()->AcceptsFocusFromKeyboard());
    EXPECT_TRUE(window.Band()->AcceptsFocusFromKeyboard());

    // Shift+F10 and the menu key open menu 143: Set, Start, Stop, Dim Time,
    // Export and Import.
    for (int modifiers : {int(wxMOD_SHIFT), int(wxMOD_NONE)}) {
        std::vector<int> ids;
        window.m_onPopup = [&ids](wxMenu& menu) {
            for (const wxMenuItem* item : menu.GetMenuItems())
                if (!item->IsSeparator())
                    ids.push_back(item->GetId());
        };
        Key(&window, wxEVT_CHAR_HOOK, modifiers ? WXK_F10 : WXK_WINDOWS_MENU, modifiers);
        EXPECT_EQ(ids, (std::vector<int>{32822, 32820, 32800, 32801, 32802, 32803})) << modifiers;
    }
    // F10 alone is the toolkit's road to the menu bar, not the popup.
    bool opened = false;
    window.m_onPopup = [&opened](wxMenu&) { opened = true; };
    Key(&window, wxEVT_CHAR_HOOK, WXK_F10);
    EXPECT_FALSE(opened);
    window.m_onPopup = nullptr;

    // The chart's cursor from the keyboard, and its read-out as text.
    CGraphRecorder& recorder = window.Recorder();
    recorder.SetChannel(0, "Set Frequency", "100.00", "0.00");
    recorder.ApplyScaleRule();
    FillLevel(recorder, 91344.6, 600, 200.0); // 20.00
    Key(window.Chart(), wxEVT_KEY_DOWN, WXK_RIGHT);
    Pump(100);
    wxClientDC dc(window.Chart());
    GraphLayout layout = MeasureGraphLayout(dc, window.Chart()->GetClientSize(), recorder);
    EXPECT_TRUE(layout.plot.Contains(window.Chart()->m_View.cursor.x, window.Chart()->m_View.cursor.y));
    EXPECT_EQ(window.Chart()->ReadOutText(), "Cursor: Set Frequency 20.00");
    Key(window.Chart(), wxEVT_KEY_DOWN, WXK_HOME);
    EXPECT_EQ(window.Chart()->m_View.cursor.x, layout.plot.left);
    Key(window.Chart(), wxEVT_KEY_DOWN, WXK_ESCAPE);
    Pump(50);
    EXPECT_EQ(window.Chart()->ReadOutText(), "");

    // The band's figures as text.
    recorder.m_Channels[0].recordedMax = 43.21;
    EXPECT_EQ(CGraphDlg::BandText(recorder).substr(0, 41), "Set Frequency Max:43.21 Min:0.00; No disp");
}

TEST_F(GraphWindowTest, EveryFieldOfSetAndDimTimeIsNamedByItsOwnLabel)
{
    CGraphSetDlg set(nullptr, {3, 9}, 0x11004B2);
    std::map<wxWindow*, wxString> names = LabelNames(&set);
    EXPECT_EQ(names[set.StationList()], "Station Num:");
    const char* curves[] = {"Yellow Curve", "Green Curve", "Red Curve", "Blue Curve"};
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(names[set.CurveList(k)], curves[k]) << k;
        EXPECT_EQ(names[set.MaxEdit(k)], "Maximum") << k;
        EXPECT_EQ(names[set.MinEdit(k)], "Minimum") << k;
    }
    CSetTimeDlg time(nullptr);
    names = LabelNames(&time);
    EXPECT_EQ(names[time.MinutesEdit()], "(*1 Minute)");
    EXPECT_EQ(names[time.SecondsEdit()], "(*1 Second)");
}
