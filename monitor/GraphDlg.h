#pragma once
// "Graph": the four-curve recorder window. A top-level frame (it has a menu
// bar) with toolbar 129, menu 174, the chart and the label band under it.
// The main frame runs it modal to itself; the control window keeps it
// modeless. Either way the connection is handed in: the state object whose
// link, connected flag, stations and graph settings it uses.

#include "monitor/GraphClock.h"
#include "monitor/GraphRecorder.h"
#include "monitor/GraphSampler.h"
#include "platform/AccessibleTextThrottle.h"

#include <wx/frame.h>
#include <wx/timer.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class CGraphCtrl;
class CD390DocData;
class CDriveSession;
class wxMenu;

class CGraphDlg : public wxFrame {
public:
    enum {
        IDD = 102,
        IDC_CHART = 1000,
        ID_STOP = 32800,
        ID_DIM_TIME = 32801,
        ID_EXPORT = 32802,
        ID_IMPORT = 32803,
        ID_SAVE_BMP = 32815,
        ID_PAUSE = 32819,
        ID_START = 32820,
        ID_SET = 32822,
        IDR_TOOLBAR = 129,
        IDR_MENU = 174,
        IDR_POPUP = 143,
    };

    // session: the connection state (link, connected flag, stations and
    // their model codes, the lasting graph settings); stations: the stations
    // to offer; modelCode: the model of the first of them; project: the open
    // project, whose graph channels the window starts from and keeps Set's
    // choices in. Without a project the channels start from their reset
    // settings and Set's choices last as long as the window.
    CGraphDlg(wxWindow* parent, CDriveSession& session, std::vector<int> stations, int modelCode,
              CD390DocData* project = nullptr);
    ~CGraphDlg() override;

    CGraphRecorder& Recorder() { return m_recorder; }
    CGraphCtrl* Chart() const { return m_pChart; }
    wxWindow* Band() const { return m_pBand; }
    bool IsSamplingTimerRunning() const { return m_sampleTimer.IsRunning(); }
    bool IsBandTimerRunning() const { return m_bandTimer.IsRunning(); }
    // A read of the drive runs on the worker, its reading not yet taken in.
    bool IsExchangeRunning() const { return m_sampler.IsBusy(); }
    bool IsConnected() const;

    // The commands (also reached through the toolbar and the menus).
    void Start();
    void Stop();
    // The Pause key: stops the chart's sampling, not the band's repaint.
    void PauseKey();
    void Set();
    void DimTime();
    void Export();
    void Import();
    void SaveBmp();

    // The picture Save writes: toolbar strip, chart and band at the window's size.
    wxBitmap RenderPicture();
    // Writes the picture as a 24-bit BMP; false with the reason shown (61503).
    bool SavePicture(const std::string& path);
    // Menu 143, as the right button shows it.
    static wxMenu* CreatePopupMenu();
    // At the right click's screen point, or (from the keyboard: Shift+F10,
    // the menu key) below the chart's top left.
    void ShowPopupMenu(const wxPoint& screen);
    // Where tests see the popup instead of the toolkit running it.
    std::function<void(wxMenu&)> m_onPopup;
    // What assistive tools read of the band: each curve's name, Max and Min.
    static std::string BandText(const CGraphRecorder& recorder);
    static std::vector<std::string> BandParts(const CGraphRecorder& recorder);

private:
    void CreateToolBarAndMenus();
    // The window never gets so small that the chart's texts meet.
    void UpdateMinSize();
    void PlaceInsideWorkArea(wxWindow* parent);
    void LoadChannelSettings();
    void StoreChannelSettings();
    int ModelCodeOf(int station) const;
    void RefreshBandIfChanged();
    void UpdateBandDescription();

    void OnCommand(wxCommandEvent& event);
    void OnUpdateConnected(wxUpdateUIEvent& event);
    void OnSampleTimer(wxTimerEvent& event);
    void OnReading(const GraphReading& reading, unsigned long long run);
    void OnBandTimer(wxTimerEvent& event);
    void OnCharHook(wxKeyEvent& event);
    void OnBandPaint(wxPaintEvent& event);
    void OnClose(wxCloseEvent& event);

    CDriveSession& m_session;
    std::vector<int> m_stations;
    int m_nModelCode;
    CD390DocData* m_pProject;
    CSystemGraphClock m_clock;
    CGraphRecorder m_recorder{m_clock};
    GraphTimeOfDay m_StartTime;
    int m_nGraphSel[4] = {0, 0, 0, 0}; // yellow, green, red, blue
    int m_nStationSel = 0;
    CGraphCtrl* m_pChart = nullptr;
    wxWindow* m_pBand = nullptr;
    wxTimer m_sampleTimer; // the chart's 100 ms sampling tick
    wxTimer m_bandTimer;   // the window's 100 ms band repaint, from Start to Stop
    CGraphSampler m_sampler;
    std::string m_strBandFigures;
    std::unique_ptr<CAccessibleTextThrottle> m_pBandWords; // what assistive tools are told of the band
};
