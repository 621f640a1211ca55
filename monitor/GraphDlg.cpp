#include "monitor/GraphDlg.h"

#include "document/D390DocData.h"
#include "res/StringIds.h"

#include "monitor/GraphCtrl.h"
#include "monitor/GraphExchange.h"
#include "monitor/GraphPicture.h"
#include "monitor/GraphQuantities.h"
#include "monitor/GraphRenderer.h"
#include "monitor/GraphSetDlg.h"
#include "monitor/SetTimeDlg.h"
#include "platform/Accessibility.h"
#include "platform/FileChooser.h"
#include "platform/FileReplace.h"
#include "platform/MenuIdAssertFilter.h"
#include "platform/MessageBox.h"
#include "platform/ModalChildren.h"
#include "platform/PopupMenuDismiss.h"
#include "platform/WindowPlacement.h"
#include "platform/ResourceModule.h"
#include "platform/WorkArea.h"
#include "platform/WxMessageBox.h"
#include "session/DriveSession.h"
#include "view/ExportFormatDlg.h"

#include <wx/app.h>
#include <wx/dcbuffer.h>
#include <wx/dcclient.h>
#include <wx/display.h>
#include <wx/dcmemory.h>
#include <wx/image.h>
#include <wx/menu.h>
#include <wx/mstream.h>
#include <wx/settings.h>
#include <wx/sizer.h>
#include <wx/toolbar.h>
#include <wx/weakref.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <memory>

namespace {

constexpr int kSamplePeriodMs = 100;
constexpr int kToolImageSize = 20;
constexpr int kSampleTimerId = 1;
constexpr int kBandTimerId = 2;
constexpr unsigned kChartNameId = 61488; // "Oscillograph"

wxString Utf8(const std::string& text)
{
    return wxString::FromUTF8(text);
}

wxImage LoadToolStrip()
{
    std::string bytes = LoadResBitmap(CGraphDlg::IDR_TOOLBAR);
    if (bytes.empty())
        return wxImage();
    if (!wxImage::FindHandler(wxBITMAP_TYPE_PNG))
        wxImage::AddHandler(new wxPNGHandler);
    wxMemoryInputStream stream(bytes.data(), bytes.size());
    return wxImage(stream, wxBITMAP_TYPE_PNG);
}

wxBitmap ToolImage(const wxImage& strip, int index)
{
    wxRect rect(index * kToolImageSize, 0, kToolImageSize, kToolImageSize);
    if (!strip.IsOk() || rect.GetRight() >= strip.GetWidth())
        return wxBitmap(kToolImageSize, kToolImageSize);
    return wxBitmap(strip.GetSubImage(rect));
}

// "description\ntip": one line of a command's prompt.
wxString PromptLine(int id, bool tip)
{
    std::string prompt = LoadResString(static_cast<unsigned>(id));
    size_t newline = prompt.find('\n');
    if (newline == std::string::npos)
        return tip ? wxString() : Utf8(prompt);
    return Utf8(tip ? prompt.substr(newline + 1) : prompt.substr(0, newline));
}

std::string FilterOf(const std::string& pattern)
{
    std::string filter = FormatResString(IDS_EXPORT_FILTER, pattern.c_str(), pattern.c_str());
    while (!filter.empty() && filter.back() == '|')
        filter.pop_back();
    return filter;
}

std::string UpperExtension(const std::string& path)
{
    size_t slash = path.rfind('/');
    size_t dot = path.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return {};
    std::string extension = path.substr(dot + 1);
    for (char& c : extension)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return extension;
}

// The toolbar: tool ids and their pictures in the strip (-1 a separator).
struct ToolEntry {
    int id;
    int image;
};
constexpr ToolEntry kTools[] = {
    {CGraphDlg::ID_START, 0},   {CGraphDlg::ID_PAUSE, 1},    {-1, -1},
    {CGraphDlg::ID_SAVE_BMP, 2}, {CGraphDlg::ID_SET, 3},     {CGraphDlg::ID_DIM_TIME, 4},
    {CGraphDlg::ID_EXPORT, 5},   {CGraphDlg::ID_IMPORT, 6},
};

} // namespace

CGraphDlg::CGraphDlg(wxWindow* parent, CDriveSession& session, std::vector<int> stations, int modelCode,
                     CD390DocData* project)
    : wxFrame(parent, IDD, "Graph", wxDefaultPosition, wxDefaultSize,
              wxDEFAULT_FRAME_STYLE | (parent ? wxFRAME_FLOAT_ON_PARENT : 0)),
      m_session(session), m_stations(std::move(stations)), m_nModelCode(modelCode),
      m_pProject(project), m_sampleTimer(this, kSampleTimerId), m_bandTimer(this, kBandTimerId),
      m_sampler([](std::function<void()> call) { wxTheApp->CallAfter(std::move(call)); },
                [this](const GraphReading& reading, unsigned long long run) { OnReading(reading, run); })
{
    CreateToolBarAndMenus();

    auto* sizer = new wxBoxSizer(wxVERTICAL);
    m_pChart = new CGraphCtrl(this, IDC_CHART, m_recorder);
    m_pBand = new wxWindow(this, wxID_ANY, wxDefaultPosition, wxSize(-1, kGraphLabelBandHeight));
    m_pBand->SetBackgroundStyle(wxBG_STYLE_PAINT);
    m_pBand->SetMinSize(wxSize(-1, kGraphLabelBandHeight));
    sizer->Add(m_pChart, 1, wxEXPAND);
    sizer->Add(m_pBand, 0, wxEXPAND);
    SetSizer(sizer);
    SetClientSize(ConvertDialogToPixels(wxSize(447, 260)) + wxSize(0, kGraphLabelBandHeight));

    // The chart samples the first connected station until Set names another.
    if (IsConnected() && !m_stations.empty())
        m_recorder.m_nStation = m_stations.front();
    m_StartTime = m_clock.LocalTime();
    m_recorder.m_dStartClock = m_clock.MonotonicSeconds();
    m_recorder.m_TimeAxisBase = m_recorder.m_StartTimeOfDay = m_StartTime;
    LoadChannelSettings();
    m_strBandFigures = GraphBandFigures(m_recorder);
    UpdateMinSize();
    PlaceInsideWorkArea(parent);

    m_pChart->m_onRightDown = [this](const wxPoint& screen) { ShowPopupMenu(screen); };
    // Tab reaches the chart (its cursor moves with the arrow keys) and the
    // band; assistive tools read them by name, with the read-outs and the
    // recorded figures as their descriptions.
    SetAccessibleName(m_pChart, Utf8(LoadResString(kChartNameId)));
    SetAccessibleName(m_pBand, Utf8(LoadResString(IDS_GRAPH_BAND_NAME)));
    m_pBandWords = std::make_unique<CAccessibleTextThrottle>(m_pBand, CAccessibleTextThrottle::Field::Description);
    UpdateBandDescription();
    // A reader coming to the band hears every curve, not the last change.
    m_pBand->Bind(wxEVT_SET_FOCUS, [this](wxFocusEvent& event) {
        m_pBandWords->TellWhole();
        event.Skip();
    });
    m_pBand->Bind(wxEVT_PAINT, &CGraphDlg::OnBandPaint, this);
    m_pBand->Bind(wxEVT_RIGHT_DOWN, [this](wxMouseEvent& e) { ShowPopupMenu(m_pBand->ClientToScreen(e.GetPosition())); });
    Bind(wxEVT_MENU, &CGraphDlg::OnCommand, this, ID_STOP, ID_SET);
    for (int id : {ID_START, ID_PAUSE, ID_SET, ID_DIM_TIME})
        Bind(wxEVT_UPDATE_UI, &CGraphDlg::OnUpdateConnected, this, id);
    Bind(wxEVT_TIMER, &CGraphDlg::OnSampleTimer, this, kSampleTimerId);
    Bind(wxEVT_TIMER, &CGraphDlg::OnBandTimer, this, kBandTimerId);
    Bind(wxEVT_CHAR_HOOK, &CGraphDlg::OnCharHook, this);
    Bind(wxEVT_CLOSE_WINDOW, &CGraphDlg::OnClose, this);
}

CGraphDlg::~CGraphDlg()
{
    m_sampleTimer.Stop();
    m_bandTimer.Stop();
}

void CGraphDlg::UpdateMinSize()
{
    wxClientDC dc(m_pChart);
    wxSize chart = GraphChartMinSize(dc, m_recorder);
    wxSize frame = GetSize() - GetClientSize();
    wxSize least = chart + wxSize(0, kGraphLabelBandHeight) + frame;
    SetMinSize(least);
    wxSize size = GetSize();
    if (size.x < least.x || size.y < least.y)
        SetSize(wxSize(std::max(size.x, least.x), std::max(size.y, least.y)));
}

void CGraphDlg::PlaceInsideWorkArea(wxWindow* parent)
{
    const wxRect area = WorkAreaOf(parent ? parent : this);
    // Where the window manager would put it, then inside the work area; the
    // frame's decorations are not known before it is shown, so some room is
    // kept for them.
    constexpr int kDecorations = 40;
    wxRect rect = GetRect();
    rect.SetPosition(area.GetPosition() + wxPoint((area.width - rect.width) / 2, (area.height - rect.height) / 2));
    const PlaceRect fitted = FitRectInside({rect.x, rect.y, rect.x + rect.width, rect.y + rect.height + kDecorations},
                                           {area.x, area.y, area.x + area.width, area.y + area.height},
                                           GetMinSize().x, GetMinSize().y);
    SetSize(fitted.left, fitted.top, fitted.Width(), fitted.Height() - kDecorations);
}

void CGraphDlg::CreateToolBarAndMenus()
{
    MenuIdAssertFilter filter;
    wxToolBar* toolbar = CreateToolBar(wxTB_FLAT | wxTB_HORIZONTAL, wxID_ANY);
    toolbar->SetToolBitmapSize(wxSize(kToolImageSize, kToolImageSize));
    wxImage strip = LoadToolStrip();
    for (const ToolEntry& tool : kTools) {
        if (tool.id < 0)
            toolbar->AddSeparator();
        else
            toolbar->AddTool(tool.id, PromptLine(tool.id, true), ToolImage(strip, tool.image),
                             PromptLine(tool.id, true), wxITEM_NORMAL);
        if (tool.id > 0)
            toolbar->SetToolLongHelp(tool.id, PromptLine(tool.id, false));
    }
    toolbar->Realize();

    auto* menu = new wxMenu;
    menu->Append(ID_SAVE_BMP, "Save(*.BMP)");
    menu->Append(ID_PAUSE, "Pause\tPause");
    auto* bar = new wxMenuBar;
    bar->Append(menu, "Save Graph");
    SetMenuBar(bar);
}

wxMenu* CGraphDlg::CreatePopupMenu()
{
    MenuIdAssertFilter filter;
    auto* menu = new wxMenu;
    menu->Append(ID_SET, "Set");
    menu->AppendSeparator();
    menu->Append(ID_START, "Start");
    menu->AppendSeparator();
    menu->Append(ID_STOP, "Stop");
    menu->AppendSeparator();
    menu->Append(ID_DIM_TIME, "Dim Time...");
    menu->AppendSeparator();
    menu->Append(ID_EXPORT, "Export...");
    menu->Append(ID_IMPORT, "Import...");
    return menu;
}

void CGraphDlg::ShowPopupMenu(const wxPoint& screen)
{
    std::unique_ptr<wxMenu> menu(CreatePopupMenu());
    if (m_onPopup) {
        m_onPopup(*menu);
        return;
    }
    // The menu's loop runs on the stack: a close meanwhile takes the menu
    // down and waits for it.
    CNestedLoopOf loop(this, [&menu] { DismissPopupMenu(*menu); });
    PopupMenu(menu.get(), ScreenToClient(screen));
}

std::vector<std::string> CGraphDlg::BandParts(const CGraphRecorder& recorder)
{
    std::vector<std::string> parts;
    char figures[128];
    for (const GraphChannel& ch : recorder.m_Channels) {
        std::snprintf(figures, sizeof figures, " Max:%.2f Min:%.2f", ch.recordedMax, ch.recordedMin);
        parts.push_back(ch.name + figures);
    }
    return parts;
}

std::string CGraphDlg::BandText(const CGraphRecorder& recorder)
{
    std::string text;
    for (const std::string& part : BandParts(recorder))
        text += (text.empty() ? "" : "; ") + part;
    return text;
}

bool CGraphDlg::IsConnected() const
{
    return m_session.m_bConnected != 0;
}

void CGraphDlg::LoadChannelSettings()
{
    std::string names[4], maxTexts[4], minTexts[4];
    for (int c = 0; c < kGraphChannels; ++c) {
        if (m_pProject) {
            names[c] = m_pProject->m_strGraphSource[c];
            maxTexts[c] = m_pProject->m_strGraphMax[c];
            minTexts[c] = m_pProject->m_strGraphMin[c];
            m_nGraphSel[c] = m_pProject->m_nGraphSel[c];
        } else {
            names[c] = LoadResString(IDS_NO_DISPLAY);
            maxTexts[c] = "10.00";
            minTexts[c] = "0.00";
            m_nGraphSel[c] = 0;
        }
        m_recorder.SetChannel(c, names[c], maxTexts[c], minTexts[c]);
    }
    m_nStationSel = m_pProject ? m_pProject->m_nGraphFlag : 0;
    if (m_nStationSel < 0 || m_nStationSel >= static_cast<int>(m_stations.size()))
        m_nStationSel = 0;
    m_recorder.ApplyScaleRule();
}

void CGraphDlg::StoreChannelSettings()
{
    if (!m_pProject)
        return;
    m_pProject->m_nGraphFlag = m_nStationSel;
    for (int c = 0; c < kGraphChannels; ++c) {
        const GraphChannel& ch = m_recorder.m_Channels[c];
        m_pProject->m_nGraphSel[c] = m_nGraphSel[c];
        m_pProject->m_strGraphSource[c] = ch.name;
        m_pProject->m_strGraphMax[c] = ch.maxText;
        m_pProject->m_strGraphMin[c] = ch.minText;
    }
}

int CGraphDlg::ModelCodeOf(int station) const
{
    const auto& stations = m_session.m_Stations;
    auto at = std::find(stations.begin(), stations.end(), station);
    size_t index = static_cast<size_t>(at - stations.begin());
    if (at != stations.end() && index < m_session.m_StationModels.size())
        return m_session.m_StationModels[index];
    return m_nModelCode;
}

void CGraphDlg::Start()
{
    if (!IsConnected())
        return;
    m_recorder.StartSampling();
    m_pChart->Refresh(false);
    m_sampleTimer.Start(kSamplePeriodMs);
    m_bandTimer.Start(kSamplePeriodMs);
}

void CGraphDlg::Stop()
{
    if (!IsConnected())
        return;
    m_recorder.StopSampling();
    m_sampleTimer.Stop();
    m_bandTimer.Stop();
}

void CGraphDlg::PauseKey()
{
    m_recorder.StopSampling();
    m_sampleTimer.Stop();
}

void CGraphDlg::Set()
{
    if (!IsConnected())
        return;
    CGraphSetDlg dialog(this, m_stations, ModelCodeOf(m_recorder.m_nStation));
    dialog.m_nStationSel = m_nStationSel;
    for (int c = 0; c < kGraphChannels; ++c) {
        const GraphChannel& ch = m_recorder.m_Channels[c];
        dialog.m_strName[c] = ch.name;
        dialog.m_nSel[c] = m_nGraphSel[c];
        dialog.m_strMax[c] = ch.maxText;
        dialog.m_strMin[c] = ch.minText;
    }
    dialog.TransferDataToWindow();
    if (dialog.ShowModal() != wxID_OK || !StillWanted(this))
        return;
    m_nStationSel = dialog.m_nStationSel;
    if (dialog.m_nStation > 0)
        m_recorder.m_nStation = dialog.m_nStation;
    for (int c = 0; c < kGraphChannels; ++c) {
        m_nGraphSel[c] = dialog.m_nSel[c];
        m_recorder.SetChannel(c, dialog.m_strName[c], dialog.m_strMax[c], dialog.m_strMin[c]);
    }
    m_recorder.ApplyScaleRule();
    StoreChannelSettings();
    UpdateMinSize();
    m_pChart->Refresh(false);
    RefreshBandIfChanged();
}

void CGraphDlg::DimTime()
{
    if (!IsConnected())
        return;
    int span = 4 * m_recorder.GetMsPerDivision();
    CSetTimeDlg dialog(this);
    dialog.m_nMinutes = span / 60000;
    dialog.m_nSeconds = (span % 60000) / 1000;
    dialog.TransferDataToWindow();
    m_recorder.m_bSuspended = true;
    if (dialog.ShowModal() == wxID_OK && StillWanted(this)) {
        long long ms = (static_cast<long long>(dialog.m_nMinutes) * 60 + dialog.m_nSeconds) * 1000 / 4;
        m_recorder.SetMsPerDivision(static_cast<int>(std::min<long long>(ms, 1000000000)));
        m_pChart->Refresh(false);
    }
    m_recorder.m_bSuspended = false;
}

void CGraphDlg::Export()
{
    Stop();
    CExportFormatDlg format(this);
    format.TransferDataToWindow();
    if (format.ShowModal() != wxID_OK || !StillWanted(this))
        return;
    format.TransferDataFromWindow();
    bool csv = format.m_nFormat == CExportFormatDlg::kCsv;
    std::string pattern = csv ? "*.csv" : "*.xlsx";
    std::string path;
    if (!ChooseFile(this, FileChoice{true, FilterOf(pattern), LoadResString(IDS_EXPORT_GRAPH_TITLE), {}}, path)
        || !StillWanted(this))
        return;
    if (UpperExtension(path).empty())
        path += pattern.substr(1);
    if (csv)
        ExportGraphCsvFile(m_recorder, path);
    else
        ExportGraphWorkbookFile(m_recorder, path);
}

void CGraphDlg::Import()
{
    std::string path;
    const std::string filter = "Import File(*.xls;*.xlsx)|*.xls;*.xlsx|Import File(*.csv)|*.csv";
    if (!ChooseFile(this, FileChoice{false, filter, LoadResString(IDS_IMPORT_GRAPH_TITLE), {}}, path)
        || !StillWanted(this))
        return;
    std::string extension = UpperExtension(path);
    if (extension == "XLS" || extension == "XLSX") {
        Stop();
        ImportGraphWorkbookFile(m_recorder, path);
    } else if (extension == "CSV") {
        Stop();
        ImportGraphCsvFile(m_recorder, path);
    } else {
        return;
    }
    // The imported names may be among the list entries.
    for (int c = 0; c < kGraphChannels; ++c)
        m_nGraphSel[c] = std::max(0, FindGraphQuantity(m_recorder.m_Channels[c].name));
    UpdateMinSize();
    m_pChart->Refresh(false);
    RefreshBandIfChanged();
}

wxBitmap CGraphDlg::RenderPicture()
{
    wxToolBar* toolbar = GetToolBar();
    int toolbarHeight = toolbar ? toolbar->GetSize().y : 0;
    wxSize client = GetClientSize();
    wxSize size(client.x, client.y + toolbarHeight);
    wxBitmap picture(size, 24);
    wxMemoryDC dc(picture);
    dc.SetBackground(wxBrush(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE)));
    dc.Clear();
    if (toolbar) {
        wxImage strip = LoadToolStrip();
        int x = 4;
        for (const ToolEntry& tool : kTools) {
            if (tool.id < 0) {
                x += 8;
                continue;
            }
            dc.DrawBitmap(ToolImage(strip, tool.image), x, (toolbarHeight - kToolImageSize) / 2, true);
            x += toolbar->GetToolSize().x;
        }
    }
    wxPoint chartAt = m_pChart->GetPosition() + wxPoint(0, toolbarHeight);
    dc.SetDeviceOrigin(chartAt.x, chartAt.y);
    dc.SetClippingRegion(wxPoint(0, 0), m_pChart->GetClientSize());
    // The chart as recorded: the cursor belongs to the screen, not the picture.
    GraphViewState view;
    DrawGraphChart(dc, m_pChart->GetClientSize(), m_recorder, view, false);
    dc.DestroyClippingRegion();
    wxPoint bandAt = m_pBand->GetPosition() + wxPoint(0, toolbarHeight);
    dc.SetDeviceOrigin(bandAt.x, bandAt.y);
    DrawGraphBand(dc, wxRect(wxPoint(0, 0), m_pBand->GetClientSize()), m_recorder);
    dc.SetDeviceOrigin(0, 0);
    dc.SelectObject(wxNullBitmap);
    return picture;
}

bool CGraphDlg::SavePicture(const std::string& path)
{
    wxImage image = RenderPicture().ConvertToImage();
    std::string bytes = EncodeBmp24(image.GetWidth(), image.GetHeight(), image.GetData());
    std::string error;
    if (!ReplaceFileBytes(path, bytes, error)) {
        AfxMessageBox(LoadResString(IDS_PICTURE_FAILED) + "\n" + error, MB_ICONERROR);
        return false;
    }
    return true;
}

void CGraphDlg::SaveBmp()
{
    std::string path;
    if (!ChooseFile(this, FileChoice{true, "(*.bmp)|*.bmp", LoadResString(IDS_SAVE_PICTURE_TITLE), {}}, path)
        || !StillWanted(this))
        return;
    if (UpperExtension(path).empty())
        path += ".bmp";
    SavePicture(path);
}

void CGraphDlg::RefreshBandIfChanged()
{
    std::string figures = GraphBandFigures(m_recorder);
    if (figures != m_strBandFigures) {
        m_strBandFigures = figures;
        m_pBand->Refresh(false);
    }
}

void CGraphDlg::OnCommand(wxCommandEvent& event)
{
    switch (event.GetId()) {
    case ID_START: Start(); break;
    case ID_PAUSE:
    case ID_STOP: Stop(); break;
    case ID_SAVE_BMP: SaveBmp(); break;
    case ID_SET: Set(); break;
    case ID_DIM_TIME: DimTime(); break;
    case ID_EXPORT: Export(); break;
    case ID_IMPORT: Import(); break;
    default: event.Skip(); break;
    }
}

void CGraphDlg::OnUpdateConnected(wxUpdateUIEvent& event)
{
    event.Enable(IsConnected());
}

void CGraphDlg::OnSampleTimer(wxTimerEvent&)
{
    if (!m_recorder.IsSampling()) {
        m_sampleTimer.Stop();
        return;
    }
    // While the time span is edited, and while the last read still runs, a
    // tick sends nothing.
    if (m_recorder.m_bSuspended || m_sampler.IsBusy())
        return;
    m_sampler.Begin(m_session.m_pComm, m_recorder.m_nStation,
                    GraphRegisterCount(ModelCodeOf(m_recorder.m_nStation)), m_recorder.StoreGeneration());
}

void CGraphDlg::OnReading(const GraphReading& reading, unsigned long long run)
{
    // A reading of a run that was stopped, or restarted, meanwhile.
    if (run != m_recorder.StoreGeneration() || !m_recorder.IsSampling())
        return;
    // A failed read shows its message here, in a box of this window whose
    // nested loop may see the window closed, even destroyed (its control
    // window's Cancel): the box ends with it, and nothing of it is touched.
    const wxWeakRef<CGraphDlg> alive(this);
    GraphTick tick = GraphTick::Idle;
    {
        CMessageBoxOwner boxes(this);
        tick = m_recorder.TakeReading(reading);
    }
    if (!alive)
        return;
    if (tick == GraphTick::Stopped || tick == GraphTick::Idle)
        m_sampleTimer.Stop();
    if (tick == GraphTick::Sampled)
        m_pChart->Refresh(false);
    RefreshBandIfChanged();
}

void CGraphDlg::OnBandTimer(wxTimerEvent&)
{
    RefreshBandIfChanged();
}

void CGraphDlg::OnCharHook(wxKeyEvent& event)
{
    // The Pause key stops only the chart; the Pause command stops both timers.
    if (event.GetKeyCode() == WXK_PAUSE) {
        PauseKey();
        return;
    }
    // The popup's commands from the keyboard, where the toolkit's own
    // context-menu keys are.
    if (event.GetKeyCode() == WXK_WINDOWS_MENU || (event.GetKeyCode() == WXK_F10 && event.GetModifiers() == wxMOD_SHIFT)) {
        ShowPopupMenu(m_pChart->ClientToScreen(wxPoint(60, 20)));
        return;
    }
    // The keys are this window's alone: a frame would pass them on to the
    // window that opened it, and that one (disabled while this runs, or the
    // control window) would take Tab or Escape for its own.
    event.StopPropagation();
    event.Skip();
}

void CGraphDlg::OnBandPaint(wxPaintEvent&)
{
    wxAutoBufferedPaintDC dc(m_pBand);
    DrawGraphBand(dc, wxRect(wxPoint(0, 0), m_pBand->GetClientSize()), m_recorder);
    UpdateBandDescription();
}

void CGraphDlg::UpdateBandDescription()
{
    // What is drawn is what is read; the recorded figures move with every
    // sample, and a reader is told of them calmly.
    std::vector<wxString> parts;
    for (const std::string& part : BandParts(m_recorder))
        parts.push_back(Utf8(part));
    m_pBandWords->Update(parts);
}

void CGraphDlg::OnClose(wxCloseEvent&)
{
    m_sampleTimer.Stop();
    m_bandTimer.Stop();
    // A dialog of this window may be running on the stack below: it ends
    // first, and the window goes once its loop has returned.
    Hide();
    DestroyAfterModalDialogs(this);
}
