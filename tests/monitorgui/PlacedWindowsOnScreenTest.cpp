// The windows that the program places by coordinates (beside another
// window, over the project view) stay whole inside the display's work area
// when the place asked for would leave it, and take that place where it
// fits.

#include "monitor/KeyPadDlg.h"
#include "monitor/LiveDriveInfo.h"
#include "monitor/MonitorControlDlg.h"
#include "monitor/MonitorStatusDlg.h"
#include "tests/common/PumpUntil.h"
#include "tests/monitorgui/LiveWindowFixture.h"
#include "view/ProgressDlg.h"
#include "view/ProgressWindowTransfer.h"

#include <wx/display.h>
#include <wx/frame.h>

#include <functional>
#include <string>

namespace {

class PlacedWindowsOnScreenTest : public LiveWindowFixture {
protected:
    static wxRect Area(wxWindow* window)
    {
        const int display = wxDisplay::GetFromWindow(window);
        return wxDisplay(display == wxNOT_FOUND ? 0u : static_cast<unsigned>(display)).GetClientArea();
    }
    static void Settle() { PumpUntil(nullptr, 150); }
    static void Press(wxWindow* window, int id)
    {
        wxCommandEvent click(wxEVT_BUTTON, id);
        click.SetEventObject(window->FindWindow(id));
        window->ProcessWindowEvent(click);
        Settle();
    }
};

std::string Text(const wxRect& r)
{
    return std::to_string(r.x) + "," + std::to_string(r.y) + " " + std::to_string(r.width) + "x" +
           std::to_string(r.height);
}

// Where a window goes from: its anchor (the window it is placed beside or
// over) at the far right and bottom of the work area, or near its top-left.
enum class Anchor { FarCorner, NearCorner };

} // namespace

TEST_F(PlacedWindowsOnScreenTest, WindowsPlacedByCoordinatesStayInsideTheWorkArea)
{
    // Each case opens its anchor at the anchor place, then the window it
    // places, and says where the program asked for it (the anchor's right
    // edge, or a third in and a fifth up over the view).
    struct Placed {
        wxWindow* window = nullptr;
        wxPoint asked;
    };
    const auto anchorAt = [](wxWindow* anchor, Anchor where) {
        anchor->Show();
        Settle();
        const wxRect area = Area(anchor);
        const wxSize size = anchor->GetSize();
        if (where == Anchor::FarCorner)
            anchor->Move(area.GetRight() + 1 - size.x, area.GetBottom() + 1 - size.y);
        else
            anchor->Move(area.x + 10, area.y + 10);
        Settle();
    };
    const struct {
        const char* name;
        std::function<Placed(Anchor, std::vector<wxWindow*>&)> open;
    } cases[] = {
        {"status monitor from the control window's Show Status",
         [&](Anchor where, std::vector<wxWindow*>& made) {
             auto* control = new CMonitorControlDlg(nullptr, m_state, 0, &m_project);
             made.push_back(control);
             anchorAt(control, where);
             Press(control, CMonitorControlDlg::IDC_SHOW_STATUS);
             const wxRect mine = control->GetScreenRect();
             return Placed{control->GetStatusWindow(), {mine.GetRight() + 1, mine.GetTop()}};
         }},
        {"control window from the status monitor's Show Control",
         [&](Anchor where, std::vector<wxWindow*>& made) {
             auto* status = new CMonitorStatusDlg(nullptr, m_state, 0, &m_project);
             made.push_back(status);
             anchorAt(status, where);
             Press(status, CMonitorStatusDlg::IDC_SHOW_CONTROL);
             const wxRect mine = status->GetScreenRect();
             return Placed{status->GetControlWindow(), {mine.GetRight() + 1, mine.GetTop()}};
         }},
        {"graph window from the control window's Graph",
         [&](Anchor where, std::vector<wxWindow*>& made) {
             auto* control = new CMonitorControlDlg(nullptr, m_state, 0, &m_project);
             made.push_back(control);
             anchorAt(control, where);
             Press(control, CMonitorControlDlg::IDC_GRAPH);
             return Placed{control->GetGraphWindow(), wxDefaultPosition};
         }},
        {"keypad over the main window",
         [&](Anchor where, std::vector<wxWindow*>& made) {
             auto* frame = new wxFrame(nullptr, wxID_ANY, "main", wxDefaultPosition, wxSize(200, 150));
             made.push_back(frame);
             anchorAt(frame, where);
             auto* pad = new CKeyPadDlg(frame, m_state, LiveDriveInfoOf(m_state, &m_project));
             pad->Show();
             Settle();
             return Placed{pad, wxDefaultPosition};
         }},
        {"control window over the main window",
         [&](Anchor where, std::vector<wxWindow*>& made) {
             auto* frame = new wxFrame(nullptr, wxID_ANY, "main", wxDefaultPosition, wxSize(200, 150));
             made.push_back(frame);
             anchorAt(frame, where);
             auto* control = new CMonitorControlDlg(frame, m_state, 0, &m_project);
             control->Show();
             Settle();
             return Placed{control, wxDefaultPosition};
         }},
        {"progress window over the project view",
         [&](Anchor where, std::vector<wxWindow*>& made) {
             auto* view = new wxFrame(nullptr, wxID_ANY, "view", wxDefaultPosition, wxSize(360, 240));
             made.push_back(view);
             anchorAt(view, where);
             auto* dialog = new CProgressDlg(view);
             CProgressWindowTransfer progress(view, dialog);
             progress.ShowWithHeading("Read Inverter function parameter...,");
             Settle();
             const wxRect over = view->GetScreenRect();
             return Placed{dialog, {over.GetLeft() + over.GetWidth() / 3, over.GetBottom() - over.GetHeight() / 5}};
         }},
    };
    for (const auto& entry : cases)
        for (Anchor where : {Anchor::FarCorner, Anchor::NearCorner}) {
            SCOPED_TRACE(std::string(entry.name) + (where == Anchor::FarCorner ? ", far corner" : ", near corner"));
            if (!m_state.m_pComm)
                StartDrive();
            std::vector<wxWindow*> made;
            const Placed placed = entry.open(where, made);
            ASSERT_NE(placed.window, nullptr);
            ASSERT_TRUE(placed.window->IsShown());
            const wxRect area = Area(placed.window);
            const wxRect rect = placed.window->GetScreenRect();
            EXPECT_TRUE(area.Contains(rect)) << Text(rect) << " leaves the work area " << Text(area);
            // Where the place asked for fits, the window takes it.
            if (placed.asked != wxDefaultPosition && area.Contains(wxRect(placed.asked, rect.GetSize()))) {
                EXPECT_EQ(rect.GetPosition(), placed.asked);
            }
            // Live windows stop polling before the link goes.
            for (auto it = made.rbegin(); it != made.rend(); ++it)
                (*it)->Destroy();
            Settle();
            CloseLink();
        }
}
