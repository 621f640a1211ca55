#pragma once
// The link watchdog: every 10 seconds while connected, each connected station
// is asked for its command word; one that does not answer is dropped with a
// message, and when none is left the link is closed ("Unlink").
//
// In the program the probes of a pass run on a worker (BeginPass), which
// touches nothing but the link and a list of its own; the verdict is taken in
// on the window thread (OnPassDone): one message per dropped station, in the
// list's order.

#include "platform/BackgroundJob.h"

#include <atomic>
#include <functional>
#include <memory>
#include <vector>

class CDriveSession;
class CSerialComm;

class CLinkWatchdog {
public:
    // Timer 1 of the main frame, every 10000 ms.
    static constexpr int kTimerId = 1;
    static constexpr int kIntervalMs = 10000;

    // Stops a running pass.
    ~CLinkWatchdog();

    // One tick done at once: the probes, then the verdict. Does nothing while
    // the session is not connected, while an earlier tick still waits on one of
    // its message boxes, and during a command's drive transfer.
    void Tick(CDriveSession& session);

    // One tick with its probes on a worker: does nothing where Tick does
    // nothing, and while a pass runs or waits to be taken in. postDone is
    // called on the worker once the probes have ended and must have the
    // window thread call OnPassDone soon.
    void BeginPass(CDriveSession& session, std::function<void()> postDone);
    // Takes in the verdict of a pass that has ended; nothing else.
    void OnPassDone(CDriveSession& session);
    // A pass has begun and was not yet taken in.
    bool IsPassPending() const { return m_pPass != nullptr; }
    // A pass has begun and its probes have not yet ended.
    bool IsPassRunning() const;
    // The pass stops between probes and is waited for; its verdict is
    // dropped. Before the link object is closed or deleted.
    void StopPass();

private:
    struct Pass {
        CSerialComm* comm = nullptr;
        std::vector<int> stations; // probed in this order
        std::vector<int> silent;   // those that did not answer, in order
        std::atomic<bool> stop{false};
    };

    bool CanTick(const CDriveSession& session) const;
    static std::unique_ptr<Pass> NewPass(const CDriveSession& session);
    static void Probe(Pass& pass);
    void TakeVerdict(CDriveSession& session, const Pass& pass);

    bool m_busy = false;
    std::unique_ptr<Pass> m_pPass;
    CBackgroundJob m_job;
};
