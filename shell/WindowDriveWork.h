#pragma once
// Drive work in the program with windows: a worker runs it (the background
// job auto-refresh's reader runs on too) while the window thread waits modal
// to the main frame, making the calls the worker posts.

#include "session/DriveWork.h"

class wxWindow;

class CWindowDriveWork : public CDriveWorkRunner {
public:
    // Installs itself for the main frame, which it disables while work runs.
    // beforeTransfer runs as a command's transfer begins.
    CWindowDriveWork(wxWindow* mainFrame, std::function<void()> beforeTransfer);
    ~CWindowDriveWork() override;

    CWindowDriveWork(const CWindowDriveWork&) = delete;
    CWindowDriveWork& operator=(const CWindowDriveWork&) = delete;

    void Run(const std::function<void()>& work) override;
    void CallOnWindowThread(const std::function<void()>& call) override;
    void PostToWindowThread(std::function<void()> call) override;
    void BeforeTransfer() override;

private:
    wxWindow* m_pMainFrame;
    std::function<void()> m_beforeTransfer;
};
