#include "document/FrameWindows.h"

#include "platform/ResourceModule.h"
#include "res/StringIds.h"

namespace {

constexpr unsigned kPaneLabelIds[4] = {IDS_FILE_NAME_LABEL, IDS_VERSION_LABEL, IDS_STATION_NUM_LABEL, IDS_MODEL_LABEL};

class CNoFrameWindows final : public CFrameWindows {
public:
    void SetStatusPaneText(int, const std::string&) override {}
    int PromptSaveProjectFile(std::string&) override { return 0; }
    int PromptOpenProjectFile(std::string&) override { return 0; }
    void InitProjectTree(int) override {}
    void ClearProjectTree() override {}
    void AddToRecentFileList(const std::string&) override {}
    void SetProjectWindowTitle(const std::string&) override {}
    void StartLinkWatchdog() override {}
    void StopLinkWatchdog() override {}
    void StopBackgroundTransfers() override {}
};

} // namespace

std::string StatusPaneText(int pane, const std::string& text)
{
    if (pane >= 0 && pane < kPaneLink)
        return LoadResString(kPaneLabelIds[pane]) + text;
    return text;
}

CFrameWindows& NoFrameWindows()
{
    static CNoFrameWindows none;
    return none;
}
