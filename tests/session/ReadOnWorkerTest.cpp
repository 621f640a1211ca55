// Read as the program runs it: the drive traffic on a worker while the
// window thread makes what the worker hands it (here the test's own thread
// and queue, as the window runner's loop does). The progress window is driven
// only from the window thread, in the order Read drives it, and nothing is
// left for it to make once Read has returned.

#include "ConnectTestSupport.h"

#include "document/D390DocData.h"
#include "document/ModelTables.h"
#include "platform/ResourceModule.h"
#include "session/DriveWork.h"
#include "session/LinkSetup.h"
#include "session/ReadWriteAll.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

namespace {

// A window thread in miniature: Run makes the posted calls on the calling
// thread until the work has ended.
class QueueRunner : public CDriveWorkRunner {
public:
    void Run(const std::function<void()>& work) override
    {
        {
            std::lock_guard lock(m_mutex);
            m_ended = false;
        }
        std::thread worker([this, &work] {
            work();
            std::lock_guard lock(m_mutex);
            m_ended = true;
            m_changed.notify_all();
        });
        std::unique_lock lock(m_mutex);
        for (;;) {
            m_changed.wait(lock, [this] { return m_ended || !m_calls.empty(); });
            if (m_calls.empty())
                break;
            std::function<void()> call = std::move(m_calls.front());
            m_calls.pop_front();
            lock.unlock();
            call();
            lock.lock();
        }
        lock.unlock();
        worker.join();
    }

    void CallOnWindowThread(const std::function<void()>& call) override
    {
        bool made = false;
        PostToWindowThread([&] {
            call();
            std::lock_guard lock(m_mutex);
            made = true;
            m_changed.notify_all();
        });
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [&made] { return made; });
    }

    void PostToWindowThread(std::function<void()> call) override
    {
        std::lock_guard lock(m_mutex);
        m_calls.push_back(std::move(call));
        m_changed.notify_all();
    }

    // Calls posted and not made.
    std::size_t Waiting()
    {
        std::lock_guard lock(m_mutex);
        return m_calls.size();
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<std::function<void()>> m_calls;
    bool m_ended = true;
};

// The progress window: every call noted, with whether it came on the window thread.
class ThreadCheckedProgress : public TransferProgress {
public:
    explicit ThreadCheckedProgress(std::thread::id window) : m_window(window) {}

    bool IsShown() const override
    {
        Note("IsShown");
        return m_shown;
    }
    void ShowWithHeading(const std::string& heading) override
    {
        Note("Show " + heading);
        m_shown = true;
    }
    void SetRange(int high) override { Note("Range " + std::to_string(high)); }
    void SetPosition(int position) override { Note("Position " + std::to_string(position)); }
    void SetText(const std::string& text) override { Note("Text " + text); }
    void Hide() override
    {
        Note("Hide");
        m_shown = false;
    }

    mutable std::vector<std::string> m_calls;
    mutable int m_offThread = 0;

private:
    void Note(const std::string& call) const
    {
        if (std::this_thread::get_id() != m_window)
            ++m_offThread;
        m_calls.push_back(call);
    }

    std::thread::id m_window;
    bool m_shown = false;
};

} // namespace

TEST(ReadOnWorker, TheWindowThreadDrivesTheProgressWindowInOrderAndIsDoneWhenReadReturns)
{
    const std::uint32_t model = 0x11104B2;
    auto drive = StartDrive(DriveConfig({1}, model, 1200));
    TestSession session;
    CD390DocData project{session.m_recorded};
    project.m_strProgramFolder = TestProgramFolder();
    project.m_nModelCode = 1205; // another model: Read takes the drive's
    std::string capacity;
    project.m_strModelName = LookupModelByCode(1205, capacity);
    ASSERT_TRUE(project.BuildForCurrentModel());
    project.SetModifiedFlag(false);
    CSerialComm* comm = EnsureLinkObject(session);
    ASSERT_NE(comm->InitComm(drive->GetPtyPath(), 19200, 8, 0, 2.0f), 0);
    AppendStationRecord(session, {1, static_cast<int>(model), 1200});
    session.m_bConnected = 1;
    MessageRecorder messages;

    QueueRunner runner;
    SetDriveWorkRunner(&runner);
    ThreadCheckedProgress progress(std::this_thread::get_id());
    const bool read = RunReadAll(session, project, 1, progress);
    const std::size_t waiting = runner.Waiting();
    SetDriveWorkRunner(nullptr);

    ASSERT_TRUE(read) << (messages.Texts().empty() ? std::string() : messages.Texts().front());
    EXPECT_EQ(messages.Texts(), std::vector<std::string>{LoadResString(61575)});
    EXPECT_EQ(waiting, 0u);
    EXPECT_EQ(progress.m_offThread, 0);
    std::vector<std::string> expected = {"IsShown", "Show " + LoadResString(61487), "Range 15", "Position 0"};
    for (int group = 0; group <= 14; ++group) {
        expected.push_back("Text " + ReadProgressText(group, 1));
        expected.push_back("Position " + std::to_string(group + 1));
    }
    expected.push_back("Hide");
    EXPECT_EQ(progress.m_calls, expected);
    EXPECT_EQ(project.m_nModelCode, static_cast<int>(model));
    const ParamRec* gain = project.FindParam(10, 5);
    ASSERT_NE(gain, nullptr);
    EXPECT_EQ(gain->m_strValue, "1.00"); // the drive's, in the form its version reads it
}
