#pragma once
// The main frame's state that code without windows reads and writes: the drive
// connection, the open project's model, the running operations and the graph
// channel settings. The main frame derives from it; tests use it alone.

#include "document/GroupRec.h"
#include "link/GroupTransferContext.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class CD390DocData;
class CSerialComm;

enum StatusPane { kPaneFileName = 0, kPaneVersion = 1, kPaneStation = 2, kPaneModel = 3, kPaneLink = 4, kPaneCount = 5 };

class CMainFrameState {
public:
    CMainFrameState();
    virtual ~CMainFrameState();

    CMainFrameState(const CMainFrameState&) = delete;
    CMainFrameState& operator=(const CMainFrameState&) = delete;

    // Panes 0..3 show their label followed by text, pane 4 the text alone; a
    // pane above 4 changes nothing. Window code overrides to repaint.
    virtual void SetStatusPaneText(int pane, const std::string& text);
    const std::string& GetStatusPaneText(int pane) const;

    // Sources 0, scales "10.00" and "0.00", names "No display", flag 0.
    void ResetGraphChannels();

    // Window operations of the main frame that window-free code (the
    // document's save and open) calls. The main frame overrides them; here
    // they do nothing, so tests can override what they need.
    // File dialogs ("*.zrv"): 1 with the chosen full path, 0 on cancel. They do
    // not touch m_strProjectPath: that changes only once a save or an open
    // has succeeded.
    virtual int PromptSaveProjectFile(std::string& path);
    virtual int PromptOpenProjectFile(std::string& path);
    // Rebuilds the project tree for the project's model.
    virtual void InitProjectTree();
    // Adds a path to the recent-project list.
    virtual void AddToRecentFileList(const std::string& path);
    // Caption of the active project window.
    virtual void SetProjectWindowTitle(const std::string& title);
    // The link watchdog's 10-second timer (timer 1); the window frame runs it.
    virtual void StartLinkWatchdog();
    virtual void StopLinkWatchdog();
    // Waits until no background transfer (the view's auto-refresh reader)
    // uses the link object any more; called before the object is deleted.
    virtual void StopBackgroundTransfers();
    // m_strProjectPath after its last '/'; empty when it has none.
    std::string GetProjectFileName() const;

    // A group transfer between the link and doc, for the project's model.
    GroupTransferContext TransferContext(CD390DocData& doc);

    // Drive queries (link/DriveQueries.h): each reads one register of one
    // station through m_pComm, returns 1 on success and 0 on failure, leaves
    // its out value alone on failure and shows its own message.
    int ReadPasswordState(uint8_t station, bool& passwordActive);
    int IsDriveRunning(uint8_t station, bool& running);
    int ReadParam0002(uint8_t station); // into m_nParam0002
    int ReadParam0002To(uint8_t station, int& value);
    int ReadParam0003(uint8_t station, int& value);
    int ReadParam0005(uint8_t station, int& value);
    int ReadParam0006(uint8_t station, int& value);
    int ReadParam0D01(uint8_t station, float& version);
    int ReadParam0201(uint8_t station, int& value);
    int ReadParam0200(uint8_t station, int& value);
    int ReadParam0104(uint8_t station, int& value);
    int ReadParam0105(uint8_t station, int& value);
    int ReadParam0106(uint8_t station, int& value);
    int ReadParam0107(uint8_t station, int& value);
    int ReadParam0108(uint8_t station, int& value);
    int ReadParam0109(uint8_t station, int& value);
    int ReadCapacityCode(uint8_t station, int& capacity);
    int ReadSeriesCode(uint8_t station, int& series);
    // Series and capacity together (see ModelCodeFromSeries).
    int ReadModelCode(uint8_t station, int& modelCode);

    int m_nParam0002 = 0;
    int m_bWriteAll = 1;
    int m_bNetLink = 0;
    int m_nGraphSel[4] = {0, 0, 0, 0};
    int m_nGraphFlag = 0;
    std::string m_strGraphMax[4];
    std::string m_strGraphMin[4];
    std::string m_strGraphSource[4];
    int m_nPressureMode = 1;
    int m_nAutoRefreshStation = -1;
    int m_bWriting = 0;
    int m_bAutoRefresh = 0;
    int m_nSelGroup = -1;
    int m_nModelCode = 1205;
    int m_nModelCode2 = 1205;
    int m_nFreqIndex = 0;
    std::vector<GroupRec> m_CompareGroups;
    std::string m_strLastError;
    int m_bReading = 0;
    int m_nReadStation = 1;
    std::string m_strStations;
    std::vector<int> m_StationVersions;
    std::vector<int> m_StationModels;
    CSerialComm* m_pComm = nullptr;
    std::vector<int> m_Stations;
    int m_bConnected = 0;
    std::string m_strProjectPath;
    std::string m_strModelName;
    std::string m_strModelName2;
    std::string m_strProgramFolder; // ends with '/'

private:
    std::array<std::string, kPaneCount> m_statusPaneText;
};

// The one frame state of the process: the main frame registers itself, tests
// register their own object.
CMainFrameState* GetMainFrameState();
void SetMainFrameState(CMainFrameState* state);
