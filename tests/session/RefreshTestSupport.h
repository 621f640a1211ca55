#pragma once
// Auto-refresh against the simulated drive without a window: a project built
// from the program folder's files, our link on the drive's pseudo-terminal,
// and a host that stands in for the view: what the worker posts waits in a
// queue until the test, as the window thread, takes it.

#include "document/D390DocData.h"
#include "link/ParamGroupIO.h"
#include "link/SerialComm.h"
#include "session/AutoRefresh.h"
#include "session/DriveSession.h"
#include "tests/common/MessageRecorder.h"
#include "tests/common/RecordingWindows.h"
#include "tests/common/TestPaths.h"
#include "tools/SimulatedDrive.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

constexpr uint32_t kOldModel = 1202;                  // plain 2P2
constexpr uint32_t kRangeAModel = 0x1100000 + 1202;   // S 2P2
constexpr uint32_t kRangeBModel = 0x1110000 + 1202;   // S-P 2P2
constexpr uint32_t kBoundaryModel = 0x1110000;        // new, in neither range

// Our link with a hook before each transaction (on the reading thread), so
// that a test can act in the middle of a cycle.
class HookedLink : public CSerialComm {
public:
    ErrType CommandSend(uint8_t* tx, unsigned long txLen, uint8_t* rx, unsigned long rxLen) override
    {
        const int count = ++m_count;
        if (m_before)
            m_before(count);
        return CSerialComm::CommandSend(tx, txLen, rx, rxLen);
    }
    std::function<void(int)> m_before; // set before the reading starts
    std::atomic<int> m_count{0};
};

// The view's side: timer state, refreshes, and the posted "cycle done".
class FakeView : public CAutoRefreshHost {
public:
    void PostReadDone() override
    {
        {
            std::lock_guard lock(m_mutex);
            ++m_posted;
        }
        m_cv.notify_all();
    }
    void SetReadTimer() override { m_bTimer = true; }
    void KillReadTimer() override { m_bTimer = false; }
    void RefreshValues(const std::vector<int>& groups) override
    {
        ++m_refreshes;
        m_refreshedGroups = groups;
    }

    // Waits for a posted "cycle done" and takes it; false on time-out.
    bool TakePosted(int timeoutMs = 30000)
    {
        std::unique_lock lock(m_mutex);
        if (!m_cv.wait_for(lock, std::chrono::milliseconds(timeoutMs), [this] { return m_posted > 0; }))
            return false;
        --m_posted;
        return true;
    }

    bool m_bTimer = false;
    int m_refreshes = 0;
    std::vector<int> m_refreshedGroups; // of the last refresh

private:
    std::mutex m_mutex;
    std::condition_variable m_cv;
    int m_posted = 0;
};

class RefreshTest : public ::testing::Test {
protected:
    // A drive of the model on station 1, a project of the same model whose
    // stored drive version is version, and auto-refresh ready to start.
    void StartDrive(uint32_t model, float version = 1.1f)
    {
        m_doc.m_strProgramFolder = TestProgramFolder();
        m_doc.m_nModelCode = static_cast<int>(model);
        ASSERT_TRUE(m_doc.BuildForCurrentModel());
        m_doc.m_fDriveVersion = version;

        SimDriveConfig config;
        config.stations = {SimStationConfig{1, model, static_cast<int>(version * 1000.0f + 0.5f)}};
        config.dataDir = TestProgramFolder();
        m_drive = std::make_unique<CSimulatedDrive>(config);
        std::string error;
        ASSERT_TRUE(m_drive->Start(&error)) << error;
        ASSERT_NE(m_link.InitComm(m_drive->GetPtyPath(), 19200, 8, 0, 1.0f), 0);
        LinkTimeouts timeouts;
        timeouts.firstByteMs = 300; // a silent drive is found out quickly; answers take milliseconds
        m_link.SetTimeouts(timeouts);
        m_session.m_pComm = &m_link;
        m_session.m_bConnected = 1;
        m_drive->ClearFrameLog();
    }

    void TearDown() override
    {
        m_refresh.reset();
        m_link.Close();
        if (m_drive)
            m_drive->Stop();
        m_session.m_pComm = nullptr;
    }

    // Command AutoRefresh, the station dialog answering station.
    void Toggle(int station = 1)
    {
        m_refresh->OnAutoRefresh(m_doc, [station] { return station; });
    }

    // The window thread's part of one cycle: the posted message, then (when
    // next) the timer tick that begins the next cycle.
    CAutoRefresh::Outcome FinishCycle(bool next = true)
    {
        EXPECT_TRUE(m_view.TakePosted()) << "the cycle never ended";
        CAutoRefresh::Outcome outcome = m_refresh->OnReadDone();
        if (next)
            m_refresh->OnTimer();
        return outcome;
    }

    ParamRec& Param(int group, int item)
    {
        ParamRec* param = m_doc.FindParam(group, item);
        EXPECT_NE(param, nullptr) << group << "-" << item;
        static ParamRec none;
        return param ? *param : none;
    }

    // Requests of the frame log that address a register of group.
    int FramesToGroup(int group) const
    {
        int count = 0;
        for (const SimFrame& frame : m_drive->GetFrameLog())
            if (frame.request.size() > 2 && frame.request[2] == group)
                ++count;
        return count;
    }

    bool IsAutoRefreshBusy() const { return m_session.IsAutoRefreshBusy(); }
    bool RefusedWhileAutoRefresh() const { return m_session.RefusedWhileAutoRefresh(); }

    RecordingWindows m_windows;
    CDriveSession m_session{m_windows};
    CD390DocData m_doc;
    std::unique_ptr<CSimulatedDrive> m_drive;
    HookedLink m_link;
    FakeView m_view;
    MessageRecorder m_messages;
    std::unique_ptr<CAutoRefresh> m_refresh = std::make_unique<CAutoRefresh>(m_view, m_session);
};
