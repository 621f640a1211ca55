#pragma once
// The link watchdog: every 10 seconds while connected, each connected station
// is asked for its command word; one that does not answer is dropped with a
// message, and when none is left the link is closed ("Unlink").

class CMainFrameState;

class CLinkWatchdog {
public:
    // Timer 1 of the main frame, every 10000 ms.
    static constexpr int kTimerId = 1;
    static constexpr int kIntervalMs = 10000;

    // One tick. Does nothing while the frame is not connected, and nothing
    // while an earlier tick still waits on one of its message boxes.
    void Tick(CMainFrameState& frame);

private:
    bool m_busy = false;
};
