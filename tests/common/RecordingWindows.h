#pragma once
// The main frame's windows as window-free tests see them: every request the
// session or a project makes is recorded; the file prompt answers with
// m_promptAnswer (empty: the user cancels). Status panes keep the text the
// main frame would show, label included.

#include "document/FrameWindows.h"

#include <array>
#include <string>
#include <vector>

class RecordingWindows : public CFrameWindows {
public:
    void SetStatusPaneText(int pane, const std::string& text) override
    {
        if (pane >= 0 && pane < kPaneCount)
            m_panes[static_cast<std::size_t>(pane)] = StatusPaneText(pane, text);
    }
    const std::string& GetStatusPaneText(int pane) const
    {
        static const std::string none;
        return pane >= 0 && pane < kPaneCount ? m_panes[static_cast<std::size_t>(pane)] : none;
    }
    int PromptSaveProjectFile(std::string& path) override { return Prompt(path); }
    int PromptOpenProjectFile(std::string& path) override { return Prompt(path); }
    void InitProjectTree(int modelCode) override
    {
        ++m_treeBuilds;
        m_treeModel = modelCode;
    }
    void ClearProjectTree() override { ++m_treeClears; }
    void AddToRecentFileList(const std::string& path) override { m_recent.push_back(path); }
    void SetProjectWindowTitle(const std::string& title) override { m_title = title; }
    void StartLinkWatchdog() override { ++m_watchdogStarts; }
    void StopLinkWatchdog() override { ++m_watchdogStops; }
    void StopBackgroundTransfers() override { ++m_transferStops; }

    std::string m_promptAnswer;
    int m_prompts = 0;
    int m_treeBuilds = 0;
    int m_treeModel = 0;
    int m_treeClears = 0;
    std::vector<std::string> m_recent;
    std::string m_title;
    int m_watchdogStarts = 0;
    int m_watchdogStops = 0;
    int m_transferStops = 0;

private:
    int Prompt(std::string& path)
    {
        ++m_prompts;
        if (m_promptAnswer.empty())
            return 0;
        path = m_promptAnswer;
        return 1;
    }

    std::array<std::string, kPaneCount> m_panes;
};
