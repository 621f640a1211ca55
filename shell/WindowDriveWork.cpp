#include "shell/WindowDriveWork.h"

#include "platform/BackgroundJob.h"
#include "platform/ModalWindow.h"

#include <wx/app.h>

#include <condition_variable>
#include <mutex>

CWindowDriveWork::CWindowDriveWork(wxWindow* mainFrame, std::function<void()> beforeTransfer)
    : m_pMainFrame(mainFrame)
    , m_beforeTransfer(std::move(beforeTransfer))
{
    SetDriveWorkRunner(this);
}

CWindowDriveWork::~CWindowDriveWork()
{
    SetDriveWorkRunner(nullptr);
}

void CWindowDriveWork::BeforeTransfer()
{
    if (m_beforeTransfer)
        m_beforeTransfer();
}

void CWindowDriveWork::Run(const std::function<void()>& work)
{
    CBackgroundJob job;
    // The loop looks whether the job has ended whenever it runs out of
    // events: the ended job posts one.
    job.Start(work, [] { wxTheApp->CallAfter([] {}); });
    RunModalWhile([&job] { return job.IsRunning(); }, m_pMainFrame);
    job.Join();
}

void CWindowDriveWork::CallOnWindowThread(const std::function<void()>& call)
{
    std::mutex mutex;
    std::condition_variable made;
    bool done = false;
    wxTheApp->CallAfter([&] {
        call();
        std::lock_guard lock(mutex);
        done = true;
        made.notify_all();
    });
    std::unique_lock lock(mutex);
    made.wait(lock, [&] { return done; });
}

void CWindowDriveWork::PostToWindowThread(std::function<void()> call)
{
    wxTheApp->CallAfter(std::move(call));
}
