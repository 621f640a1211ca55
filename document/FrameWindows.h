#pragma once
// What code beneath the windows asks of the main frame's windows: file
// prompts, the project tree, the status panes, the window title, the recent
// list and the link watchdog's timer. The main frame implements it and hands
// itself to the objects it makes. Only requests to windows pass here, never
// data that a transfer or a project depends on.

#include <string>

enum StatusPane { kPaneFileName = 0, kPaneVersion = 1, kPaneStation = 2, kPaneModel = 3, kPaneLink = 4, kPaneCount = 5 };

class CFrameWindows {
public:
    virtual ~CFrameWindows() = default;

    // Pane text as StatusPaneText formats it; a pane above 4 changes nothing.
    virtual void SetStatusPaneText(int pane, const std::string& text) = 0;
    // File dialogs ("*.zrv"): 1 with the chosen full path, 0 on cancel.
    virtual int PromptSaveProjectFile(std::string& path) = 0;
    virtual int PromptOpenProjectFile(std::string& path) = 0;
    // Rebuilds the project tree for a project of modelCode, or empties it.
    virtual void InitProjectTree(int modelCode) = 0;
    virtual void ClearProjectTree() = 0;
    virtual void AddToRecentFileList(const std::string& path) = 0;
    // Caption of the project window.
    virtual void SetProjectWindowTitle(const std::string& title) = 0;
    // The link watchdog's 10-second timer.
    virtual void StartLinkWatchdog() = 0;
    virtual void StopLinkWatchdog() = 0;
    // Returns once no background transfer (the view's auto-refresh reader)
    // uses the link object any more; asked before the object is deleted.
    virtual void StopBackgroundTransfers() = 0;
};

// Panes 0 to 3 show their label followed by text, pane 4 the text alone.
std::string StatusPaneText(int pane, const std::string& text);

// For objects that have no windows of their own (a scratch project that a
// transfer fills, a tool): prompts answer cancel, the rest does nothing.
CFrameWindows& NoFrameWindows();
