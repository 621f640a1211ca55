#include "session/DriveSession.h"

#include "document/D390DocData.h"
#include "link/DriveQueries.h"
#include "platform/MessageBox.h"
#include "res/StringIds.h"

CDriveSession::CDriveSession(CFrameWindows& windows)
    : m_windows(windows)
{
}

CDriveSession::~CDriveSession() = default;

bool CDriveSession::IsAutoRefreshBusy() const
{
    return m_bAutoRefresh || m_pendingCycles.load() > 0;
}

bool CDriveSession::RefusedWhileAutoRefresh() const
{
    if (!IsAutoRefreshBusy())
        return false;
    AfxMessageBox(IDS_AUTO_REFRESH_RUNS, MB_OK);
    return true;
}

GroupTransferContext CDriveSession::TransferContext(CD390DocData& doc)
{
    return GroupTransferContext{m_pComm, doc, doc.m_nModelCode, m_nParam0002, m_nPressureMode, m_strLastError};
}

int CDriveSession::ReadPasswordState(uint8_t station, bool& passwordActive)
{
    return DriveQuery::ReadPasswordState(m_pComm, station, passwordActive);
}

int CDriveSession::IsDriveRunning(uint8_t station, bool& running)
{
    return DriveQuery::IsDriveRunning(m_pComm, station, running);
}

int CDriveSession::ReadParam0002(uint8_t station)
{
    return DriveQuery::ReadParam0002(m_pComm, station, m_nParam0002);
}

int CDriveSession::ReadParam0002To(uint8_t station, int& value)
{
    return DriveQuery::ReadParam0002(m_pComm, station, value);
}

int CDriveSession::ReadParam0003(uint8_t station, int& value)
{
    return DriveQuery::ReadParam0003(m_pComm, station, value);
}

int CDriveSession::ReadParam0005(uint8_t station, int& value)
{
    return DriveQuery::ReadParam0005(m_pComm, station, value);
}

int CDriveSession::ReadParam0006(uint8_t station, int& value)
{
    return DriveQuery::ReadParam0006(m_pComm, station, value);
}

int CDriveSession::ReadParam0D01(uint8_t station, float& version)
{
    return DriveQuery::ReadParam0D01(m_pComm, station, version);
}

int CDriveSession::ReadParam0201(uint8_t station, int& value)
{
    return DriveQuery::ReadParam0201(m_pComm, station, value);
}

int CDriveSession::ReadParam0200(uint8_t station, int& value)
{
    return DriveQuery::ReadParam0200(m_pComm, station, value);
}

int CDriveSession::ReadParam0104(uint8_t station, int& value) { return DriveQuery::ReadParam01(m_pComm, station, 4, value); }
int CDriveSession::ReadParam0105(uint8_t station, int& value) { return DriveQuery::ReadParam01(m_pComm, station, 5, value); }
int CDriveSession::ReadParam0106(uint8_t station, int& value) { return DriveQuery::ReadParam01(m_pComm, station, 6, value); }
int CDriveSession::ReadParam0107(uint8_t station, int& value) { return DriveQuery::ReadParam01(m_pComm, station, 7, value); }
int CDriveSession::ReadParam0108(uint8_t station, int& value) { return DriveQuery::ReadParam01(m_pComm, station, 8, value); }
int CDriveSession::ReadParam0109(uint8_t station, int& value) { return DriveQuery::ReadParam01(m_pComm, station, 9, value); }

int CDriveSession::ReadCapacityCode(uint8_t station, int& capacity)
{
    return DriveQuery::ReadCapacityCode(m_pComm, station, capacity);
}

int CDriveSession::ReadSeriesCode(uint8_t station, int& series)
{
    return DriveQuery::ReadSeriesCode(m_pComm, station, series);
}

int CDriveSession::ReadModelCode(uint8_t station, int& modelCode)
{
    return DriveQuery::ReadModelCode(m_pComm, station, modelCode);
}
