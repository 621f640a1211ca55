// The live windows when their link goes: the red line that says so appears
// and the window grows to hold it, so that no button or text of the window
// is squeezed below its size to make room for it.

#include "monitor/KeyPadDlg.h"
#include "monitor/LiveDriveInfo.h"
#include "monitor/MonitorControlDlg.h"
#include "monitor/MonitorStatusDlg.h"
#include "platform/DialogTextFit.h"
#include "platform/ResourceModule.h"
#include "res/StringIds.h"
#include "tests/common/PumpUntil.h"
#include "tests/common/TextRoom.h"
#include "tests/monitorgui/LiveWindowFixture.h"

#include <wx/button.h>
#include <wx/stattext.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace {

class LinkGoneLineRefitTest : public LiveWindowFixture {};

void CollectTexts(wxWindow* window, std::vector<wxWindow*>& controls)
{
    for (wxWindow* child : window->GetChildren()) {
        if (child->IsTopLevel())
            continue;
        if (CDialogTextFit::ShowsText(child))
            controls.push_back(child);
        CollectTexts(child, controls);
    }
}

std::string Describe(const wxWindow* control)
{
    return wxString(control->GetClassInfo()->GetClassName()).utf8_string() + " \"" +
           control->GetLabel().utf8_string() + "\"";
}

} // namespace

TEST_F(LinkGoneLineRefitTest, TheLineThatAppearsGrowsItsWindowAndSqueezesNothing)
{
    const std::string gone = LoadResString(IDS_NOT_CONNECTED);
    const struct {
        const char* name;
        std::function<wxDialog*(CDriveSession&, CD390DocData&)> open;
        std::function<void(wxDialog*)> loseLink;
    } windows[] = {
        {"control window", [](CDriveSession& state, CD390DocData& project) -> wxDialog* {
             return new CMonitorControlDlg(nullptr, state, 0, &project);
         },
         [](wxDialog* w) { static_cast<CMonitorControlDlg*>(w)->Poll(); }},
        {"keypad", [](CDriveSession& state, CD390DocData& project) -> wxDialog* {
             return new CKeyPadDlg(nullptr, state, LiveDriveInfoOf(state, &project));
         },
         [](wxDialog* w) { static_cast<CKeyPadDlg*>(w)->Poll(); }},
        // The status monitor's pages report a closed link to it.
        {"status monitor", [](CDriveSession& state, CD390DocData& project) -> wxDialog* {
             return new CMonitorStatusDlg(nullptr, state, 0, &project);
         },
         [](wxDialog* w) { static_cast<CMonitorStatusDlg*>(w)->LinkGone(); }},
    };
    for (const auto& entry : windows) {
        SCOPED_TRACE(entry.name);
        if (!m_state.m_pComm)
            StartDrive();
        wxDialog* window = entry.open(m_state, m_project);
        window->Show();
        PumpUntil([] { return false; }, 200);
        std::vector<wxWindow*> texts;
        CollectTexts(window, texts);
        std::map<wxWindow*, wxSize> before;
        for (wxWindow* text : texts)
            before[text] = text->GetSize();

        // As the watchdog does when the last station stops answering: the
        // link closes, its object stays.
        m_state.m_pComm->Close();
        m_state.m_bConnected = 0;
        entry.loseLink(window);
        PumpUntil([] { return false; }, 200);

        wxWindow* line = nullptr;
        for (wxWindow* text : texts)
            if (text->GetLabel().utf8_string() == gone && text->IsShown())
                line = text;
        ASSERT_NE(line, nullptr) << "the line that the link is gone shows";
        const wxSize client = window->GetClientSize();
        for (wxWindow* text : texts) {
            if (!text->IsShown())
                continue;
            const wxSize size = text->GetSize();
            if (text != line) {
                EXPECT_GE(size.x, before[text].x) << Describe(text);
                EXPECT_GE(size.y, before[text].y) << Describe(text);
            }
            EXPECT_EQ(CutText(text), "") << Describe(text);
            const wxRect rect(text->GetScreenPosition() - window->GetClientAreaOrigin() - window->GetScreenPosition(),
                              size);
            EXPECT_TRUE(wxRect(client).Contains(rect)) << Describe(text) << " leaves the window";
        }
        window->Destroy();
        PumpUntil([] { return false; }, 20);
        CloseLink();
    }
}
