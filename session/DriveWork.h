#pragma once
// The drive traffic that a command waits for (Read, Write, Compare's read).
// In the program the traffic runs on a worker while the window thread waits
// in a loop that keeps handling events, the main frame disabled: windows
// draw, nothing a user could start meanwhile takes input. Without windows
// (tools, tests of the transfers) it runs in place.
//
// The work touches no window and changes nothing the window thread reads
// meanwhile: it works on copies (CWorkerTransfer) and buffers of its own, and
// the window thread applies the results after it has ended. What has to be
// shown meanwhile goes to the window thread (OnWindowThread): the progress
// window (CWindowThreadProgress) and every message box, the work waiting for
// the answer.

#include "link/GroupTransferContext.h"
#include "session/ReadWriteAll.h"

#include <functional>
#include <string>

class CD390DocData;
class CDriveSession;

// How the program with windows runs drive work; installed by the main frame.
class CDriveWorkRunner {
public:
    virtual ~CDriveWorkRunner() = default;
    // On the window thread: runs work on a worker and returns once it has
    // ended, handling events meanwhile.
    virtual void Run(const std::function<void()>& work) = 0;
    // On the worker: has the window thread make call, and waits for it.
    virtual void CallOnWindowThread(const std::function<void()>& call) = 0;
    // On the worker: has the window thread make call when it comes to it, in
    // the order of the calls posted and made; does not wait.
    virtual void PostToWindowThread(std::function<void()> call) { CallOnWindowThread(call); }
    // On the window thread, as a command's drive transfer begins: what else
    // uses the link in the background (the link watchdog's pass) ends first.
    virtual void BeforeTransfer() {}
};

// Installs the runner (nullptr: work runs in place). Window thread only.
void SetDriveWorkRunner(CDriveWorkRunner* runner);

// Runs work as the installed runner does, or in place. Message boxes that
// work raises are shown by the window thread while it waits.
void RunDriveWork(const std::function<void()>& work);

// Makes call on the window thread: at once when already there, else through
// the runner of the running drive work, waiting for it.
void OnWindowThread(const std::function<void()>& call);

// As OnWindowThread, but drive work goes on without waiting: for what only
// shows progress, so that the line does not wait for the windows. Every call
// posted by a drive work has been made when RunDriveWork returns.
void PostOnWindowThread(std::function<void()> call);

// While one lives, a command's drive transfer is under way (its queries and
// questions included): the link watchdog's and auto-refresh's timers do
// nothing. The first one lets the runner's BeforeTransfer run. Window thread
// only.
class CDriveTransferScope {
public:
    CDriveTransferScope();
    ~CDriveTransferScope();
    CDriveTransferScope(const CDriveTransferScope&) = delete;
    CDriveTransferScope& operator=(const CDriveTransferScope&) = delete;
};

// A CDriveTransferScope lives. Window thread only.
bool IsDriveTransferActive();

// Has then called once the last CDriveTransferScope has ended (at once when
// none lives). Window thread only.
void WhenDriveTransfersEnd(std::function<void()> then);

// The session's part of a group transfer as a worker uses it: copies of the
// 00-02 value, the 14-20 mode and the last error, taken on the window thread
// before the work; GiveBack puts them into the session after it.
class CWorkerTransfer {
public:
    CWorkerTransfer(CDriveSession& session, CD390DocData& doc);
    CWorkerTransfer(const CWorkerTransfer&) = delete;
    CWorkerTransfer& operator=(const CWorkerTransfer&) = delete;

    const GroupTransferContext& Context() const { return m_context; }
    std::string& LastError() { return m_lastError; }
    void GiveBack();

private:
    CDriveSession& m_session;
    int m_param0002;
    int m_pressureMode;
    std::string m_lastError;
    GroupTransferContext m_context;
};

// The progress window as drive work drives it: every call is made on the
// window thread; only IsShown waits for it.
class CWindowThreadProgress : public TransferProgress {
public:
    explicit CWindowThreadProgress(TransferProgress& shown) : m_shown(shown) {}

    bool IsShown() const override;
    void ShowWithHeading(const std::string& heading) override;
    void SetRange(int high) override;
    void SetPosition(int position) override;
    void SetText(const std::string& text) override;
    void Hide() override;

private:
    TransferProgress& m_shown;
};
