#pragma once
// The drive session: everything about the link and the drives on it that the
// windows, the transfers and the workers share. The application owns the one
// session and hands it to what needs it; it holds no project data (the
// document does) and no window state (the windows do).

#include "document/FrameWindows.h"
#include "document/GroupRec.h"
#include "link/GroupTransferContext.h"

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

class CD390DocData;
class CFrameWindows;
class CSerialComm;

class CDriveSession {
public:
    // windows: where the session's status panes, watchdog timer and the
    // stopping of background transfers are asked for.
    explicit CDriveSession(CFrameWindows& windows);
    ~CDriveSession();

    CDriveSession(const CDriveSession&) = delete;
    CDriveSession& operator=(const CDriveSession&) = delete;

    CFrameWindows& Windows() const { return m_windows; }

    // A group transfer between the link and doc, for the project's model
    // (doc.m_nModelCode), with this session's 00-02 cache, pressure mode and
    // last error text.
    GroupTransferContext TransferContext(CD390DocData& doc);

    // What would race the auto-refresh reader on the link or on the project's
    // records (Read, Write, Compare's drive read, New, Open, closing a
    // project window) asks here first, on the window thread. Busy while
    // auto-refresh is on, and while a cycle it began has not been taken in
    // (the link watchdog may clear the flag in the middle of a cycle).
    bool IsAutoRefreshBusy() const;
    // IsAutoRefreshBusy(), after telling the user so (61576).
    bool RefusedWhileAutoRefresh() const;
    // The reader reports each cycle from its beginning until the window
    // thread has taken in its result.
    void NoteAutoRefreshCycleBegun() { ++m_pendingCycles; }
    void NoteAutoRefreshCycleTaken() { --m_pendingCycles; }

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

    // The link and the stations on it.
    CSerialComm* m_pComm = nullptr;
    int m_bConnected = 0;
    int m_bNetLink = 0;
    std::vector<int> m_Stations;
    std::string m_strStations;
    std::vector<int> m_StationVersions;
    std::vector<int> m_StationModels;
    // The connected drive's model as read; differs from the project's after a
    // mismatch the user let pass.
    int m_nModelCode2 = 1205;
    std::string m_strModelName2;

    // Running operations.
    int m_bReading = 0;
    int m_bWriting = 0;
    int m_bWriteAll = 1;
    int m_nReadStation = 1;
    int m_bAutoRefresh = 0;
    int m_nAutoRefreshStation = -1;

    // What the drives told the last transfers.
    int m_nParam0002 = 0;
    int m_nPressureMode = 1;
    std::string m_strLastError;
    // The drive's groups as Compare read them.
    std::vector<GroupRec> m_CompareGroups;

private:
    CFrameWindows& m_windows;
    std::atomic<int> m_pendingCycles{0};
};
