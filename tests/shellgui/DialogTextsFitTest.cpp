// Every dialog of the program, shown in the running program as it shows it,
// has room for each of its texts in the font and theme GTK draws them with:
// the text of every static text, radio button, check box, button and list is
// drawn whole and the control lies inside its window, and the compare list's
// headings are as wide as their labels need. The dialogs laid out from
// templates keep the template's layout: a dialog whose texts fit keeps every
// control where the template puts it, and where some text needs more room,
// the template's columns and rows stay level and nothing comes to overlap.

#include "tests/session/ConnectTestSupport.h"
#include "tests/shellgui/AppFixture.h"
#include "tests/common/TextRoom.h"

#include "document/D390DocData.h"
#include "document/ModelSelectDlg.h"
#include "editor/ParamGroupDlg.h"
#include "editor/SmallKeyboardDlg.h"
#include "monitor/GraphSetDlg.h"
#include "monitor/KeyPadDlg.h"
#include "monitor/LiveDriveInfo.h"
#include "monitor/MonitorControlDlg.h"
#include "monitor/MonitorStatusDlg.h"
#include "monitor/SetTimeDlg.h"
#include "platform/DialogTextFit.h"
#include "platform/ResourceModule.h"
#include "res/CommandIds.h"
#include "res/StringIds.h"
#include "session/DriveSession.h"
#include "shell/AboutDlg.h"
#include "shell/AssignIpDlg.h"
#include "shell/ChangePasswordDlg.h"
#include "shell/ConnectDlg.h"
#include "shell/MainFrameLayout.h"
#include "shell/MotorParamListDlg.h"
#include "shell/PasswordInputDlg.h"
#include "shell/PasswordSetDlg.h"
#include "shell/SetIpDlg.h"
#include "shell/WriteDlg.h"
#include "tests/controlsgui/ControlsGuiSupport.h"
#include "view/CompareDlg.h"
#include "view/CompareModeDlg.h"
#include "view/D390View.h"
#include "view/ExportFormatDlg.h"
#include "view/PrintTitleDlg.h"
#include "view/ProgressDlg.h"
#include "view/ReadStationDlg.h"
#include "view/StationSelectDlg.h"

#include <wx/button.h>
#include <wx/choice.h>
#include <wx/combobox.h>
#include <wx/textctrl.h>
#include <wx/dataview.h>

#include <gtk/gtk.h>

#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr const char* kPlainModel = "D390-2P2-Hxx";

std::string Describe(const wxWindow* control)
{
    return wxString(control->GetClassInfo()->GetClassName()).utf8_string() + " \"" +
           control->GetLabel().utf8_string() + "\"";
}

std::string SizeText(const wxSize& size)
{
    return std::to_string(size.x) + "x" + std::to_string(size.y);
}

// GTK's critical messages and warnings while a dialog is shown: a control
// allocated less than its minimum size reports one.
std::vector<std::string> g_gtkMessages;

class DialogTextsFitTest : public AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        SetToolkitMessageObserver([](const std::string& domain, const std::string& message) {
            if (domain == "Gtk")
                g_gtkMessages.push_back(message);
        });
        ASSERT_TRUE(Start());
        // File > New shows the model choice as the program does; it is
        // checked there, then confirmed.
        SetModalAnswer([this](wxDialog* dialog) {
            auto* models = dynamic_cast<CModelSelectDlg*>(dialog);
            ++m_shownByCommands;
            if (!models) {
                Check(dialog, dialog->GetTitle().utf8_string());
                return int(wxID_CANCEL);
            }
            Check(models, "Model Select");
            // Every model's description fits its box.
            auto* choice = dynamic_cast<wxChoice*>(models->FindWindow(CModelSelectDlg::IDC_MODEL));
            const int controls = m_controls;
            m_models = static_cast<int>(choice->GetCount());
            for (unsigned i = 0; i < choice->GetCount(); ++i) {
                choice->SetSelection(static_cast<int>(i));
                wxCommandEvent change(wxEVT_CHOICE, CModelSelectDlg::IDC_MODEL);
                change.SetEventObject(choice);
                choice->GetEventHandler()->ProcessEvent(change);
                CheckChildren(models, "Model Select, " + choice->GetString(i).utf8_string());
            }
            m_controls = controls;
            choice->SetStringSelection(kPlainModel);
            wxCommandEvent ok(wxEVT_BUTTON, wxID_OK);
            ok.SetEventObject(models->FindWindow(wxID_OK));
            models->FindWindow(wxID_OK)->GetEventHandler()->ProcessEvent(ok);
            return models->GetReturnCode();
        });
        Command(ID_FILE_NEW);
        ASSERT_NE(Frame().GetActiveProjectView(), nullptr);
        // The main window settles before the dialogs come.
        Pump(300);
        Frame().Session().m_Stations = {1, 2};
    }

    void TearDown() override
    {
        SetToolkitMessageObserver(nullptr);
        g_gtkMessages.clear();
        AppFixture::TearDown();
    }

    CD390DocData& Doc() { return *Frame().GetActiveProjectView()->GetDocData(); }

    // Shows the dialog as the program would (the layout adaptation of a
    // dialog runs when it is shown), lets GTK allocate its controls and
    // checks every text control of it, its notebook's pages included.
    void Check(wxWindow* dialog, const std::string& name)
    {
        const bool wasShown = dialog->IsShown();
        // A dialog laid out from its template is first shown as the
        // template has it, to learn which texts need more room there.
        const bool placed = !wasShown && !dialog->GetSizer();
        std::vector<Placed> controls;
        if (placed) {
            for (wxWindow* child : dialog->GetChildren())
                if (!child->IsTopLevel() && child->IsShown())
                    controls.push_back({child, child->GetRect(), false});
            wxDialog::EnableLayoutAdaptation(false);
            // GTK says so when a control is drawn smaller than it needs.
            SetExpectedToolkitCritical([](const std::string& domain, const std::string& message) {
                return domain == "Gtk" && message.find("gtk_box_gadget_distribute") != std::string::npos;
            });
            dialog->Show();
            Pump(150);
            for (Placed& control : controls)
                control.cutInTemplate = !CutText(control.window).empty();
            dialog->Hide();
            SetExpectedToolkitCritical(nullptr);
            wxDialog::EnableLayoutAdaptation(true);
        }
        g_gtkMessages.clear();
        if (!wasShown)
            dialog->Show();
        Pump(150);
        ++m_dialogs;
        for (const std::string& message : g_gtkMessages)
            m_cut.push_back(name + ": GTK says " + message);
        CheckChildren(dialog, name);
        if (placed)
            CheckTemplateKept(controls, name);
        if (!wasShown)
            dialog->Hide();
    }

    struct Placed {
        wxWindow* window;
        wxRect templateRect;
        bool cutInTemplate;
    };

    // The template's layout after the fit: unchanged where every text fit;
    // else its level edges still level and its separate controls apart.
    void CheckTemplateKept(const std::vector<Placed>& controls, const std::string& name)
    {
        bool anyCut = false;
        int moved = 0;
        for (const Placed& control : controls) {
            anyCut = anyCut || control.cutInTemplate;
            moved += control.window->GetRect() != control.templateRect;
        }
        m_templateControls += static_cast<int>(controls.size());
        m_moved += moved;
        if (moved > 0)
            m_dialogsChanged.push_back(name + ": " + std::to_string(moved) + " of " + std::to_string(controls.size()));
        const auto describe = [&](const Placed& control) {
            const wxRect& t = control.templateRect;
            const wxRect r = control.window->GetRect();
            char text[96];
            std::snprintf(text, sizeof text, " (%d,%d %dx%d -> %d,%d %dx%d)", t.x, t.y, t.width, t.height, r.x, r.y,
                          r.width, r.height);
            return Describe(control.window) + text;
        };
        if (std::getenv("D390_SHOW_MOVES"))
            for (const Placed& control : controls)
                if (control.window->GetRect() != control.templateRect)
                    std::printf("%s: %s%s\n", name.c_str(), describe(control).c_str(), control.cutInTemplate ? " cut" : "");
        if (!anyCut)
            for (const Placed& control : controls)
                if (control.window->GetRect() != control.templateRect)
                    m_layout.push_back(name + ": every text fits its template, yet " + describe(control) +
                                       " left its place");
        // Edges: left, right, top, bottom.
        const auto edge = [](const wxRect& r, int which) {
            switch (which) {
            case 0: return r.x;
            case 1: return r.x + r.width;
            case 2: return r.y;
            default: return r.y + r.height;
            }
        };
        static const char* const kEdges[] = {"left", "right", "top", "bottom"};
        for (std::size_t a = 0; a < controls.size(); ++a)
            for (std::size_t b = 0; b < controls.size(); ++b) {
                if (a == b)
                    continue;
                const wxRect ta = controls[a].templateRect;
                const wxRect tb = controls[b].templateRect;
                const wxRect ra = controls[a].window->GetRect();
                const wxRect rb = controls[b].window->GetRect();
                for (int e = 0; e < 4; ++e)
                    if (a < b && edge(ta, e) == edge(tb, e) && edge(ra, e) != edge(rb, e))
                        m_layout.push_back(name + ": " + kEdges[e] + " edges no longer level: " +
                                           describe(controls[a]) + " and " + describe(controls[b]));
                // What lay before another along a row or down a column
                // still does.
                if (edge(ta, 1) <= edge(tb, 0) && edge(ra, 1) > edge(rb, 0))
                    m_layout.push_back(name + ": " + describe(controls[a]) + " now reaches into " +
                                       describe(controls[b]));
                if (edge(ta, 3) <= edge(tb, 2) && edge(ra, 3) > edge(rb, 2))
                    m_layout.push_back(name + ": " + describe(controls[a]) + " now reaches down into " +
                                       describe(controls[b]));
            }
    }

    void CheckChildren(wxWindow* window, const std::string& name)
    {
        const wxSize client = window->GetClientSize();
        for (wxWindow* child : window->GetChildren()) {
            if (child->IsTopLevel() || !child->IsShown())
                continue;
            if (CDialogTextFit::ShowsText(child) || dynamic_cast<wxChoice*>(child) ||
                dynamic_cast<wxComboBox*>(child)) {
                ++m_controls;
                const wxSize size = child->GetSize();
                if (const std::string cut = CutText(child); !cut.empty())
                    m_cut.push_back(name + ": " + Describe(child) + " is " + SizeText(size) + ": " + cut);
                const wxRect rect = child->GetRect();
                if (rect.x < 0 || rect.y < 0 || rect.GetRight() >= client.x || rect.GetBottom() >= client.y)
                    m_cut.push_back(name + ": " + Describe(child) + " at " + std::to_string(rect.x) + "," +
                                    std::to_string(rect.y) + " " + SizeText(size) + " leaves its window of " +
                                    SizeText(client));
            }
            CheckChildren(child, name);
        }
    }

    // Opens a dialog made the way its command makes it, checks it and
    // closes it.
    void CheckMade(wxDialog* dialog, const std::string& name)
    {
        Check(dialog, name);
        dialog->Destroy();
        Pump(20);
    }

    int m_templateControls = 0;
    int m_moved = 0;
    std::vector<std::string> m_dialogsChanged;
    std::vector<std::string> m_layout;
    int m_shownByCommands = 0;
    int m_models = 0;
    int m_headings = 0;
    int m_dialogs = 0;
    int m_controls = 0;
    std::vector<std::string> m_cut;
};

// Each heading of the compare list against what its label needs.
std::vector<std::string> CutHeadings(CCompareDlg& dialog, int mode)
{
    std::vector<std::string> cut;
    GtkTreeView* tree = GTK_TREE_VIEW(dialog.GetList()->GtkGetTreeView());
    for (int i = 0, count = static_cast<int>(gtk_tree_view_get_n_columns(tree)); i < count; ++i) {
        GtkTreeViewColumn* column = gtk_tree_view_get_column(tree, i);
        GtkWidget* button = gtk_tree_view_column_get_button(column);
        int minimum = 0;
        int natural = 0;
        gtk_widget_get_preferred_width(button, &minimum, &natural);
        const int width = gtk_widget_get_allocated_width(button);
        if (width < natural)
            cut.push_back("mode " + std::to_string(mode) + " heading \"" + gtk_tree_view_column_get_title(column) +
                          "\" is " + std::to_string(width) + " wide, needs " + std::to_string(natural));
    }
    return cut;
}

} // namespace

TEST_F(DialogTextsFitTest, EveryDialogHasRoomForItsTexts)
{
    CDriveSession& session = Frame().Session();
    wxWindow* frame = &Frame();
    const int model = Doc().m_nModelCode;

    CheckMade(new CConnectDlg(frame, session, model), "Connect");
    CheckMade(new CSetIpDlg(frame), "Set IP");
    CheckMade(new CAssignIpDlg(frame), "Assign IP");
    CheckMade(new CStationSelectDlg(frame, session), "Station Select");
    CheckMade(new CReadStationDlg(frame, session), "Read Station");
    CheckMade(new CWriteDlg(frame, session), "Write");
    auto* progress = new CProgressDlg(frame);
    progress->m_strHeading = wxString::FromUTF8(LoadResString(IDS_READ_HEADING));
    progress->TransferDataToWindow();
    CheckMade(progress, "Progress");
    CheckMade(new CPasswordInputDlg(frame), "Password Input");
    CheckMade(new CPasswordSetDlg(frame), "Password Set");
    CheckMade(new CChangePasswordDlg(frame), "Change Password");
    CheckMade(new CPrintTitleDlg(frame), "Print Title");
    CheckMade(new CExportFormatDlg(frame), "Export Format");
    CheckMade(new CAboutDlg(frame), "About");
    CheckMade(new CMotorParamListDlg(frame, Doc().m_MotorParams), "Motor Parameters");
    CheckMade(new CCompareModeDlg(frame, true), "Compare Select");
    CheckMade(new CGraphSetDlg(frame, session.m_Stations, model), "Graph Set");
    CheckMade(new CSetTimeDlg(frame), "Dim Time");
    CheckMade(new CSmallKeyboardDlg(frame, [] {}), "Small Keyboard");
    CheckMade(new CKeyPadDlg(frame, session, LiveDriveInfoOf(session, &Doc())), "KeyPad");
    CheckMade(new CMonitorControlDlg(frame, session, 0, &Doc()), "Control");
    CheckMade(new CMonitorStatusDlg(frame, session, 0, &Doc()), "Status");

    // The editor as the Parameter menu opens it, with its pages (every page
    // of every group is checked by the editor's own window tests).
    for (int group : {0, 13})
        Command(kGroupCommands[group]);

    // The compare window of each mode, with its columns as Compare makes them.
    std::vector<GroupRec> store;
    auto* compare = new CCompareDlg(frame, 0, store);
    std::vector<std::string> headings;
    for (int mode = 0; mode < 3; ++mode) {
        compare->m_nMode = mode;
        compare->Rebuild(Doc());
        Check(compare, "Compare mode " + std::to_string(mode));
        compare->Show();
        Pump(150);
        m_headings += static_cast<int>(compare->GetList()->GetColumnCount());
        for (const std::string& cut : CutHeadings(*compare, mode))
            headings.push_back(cut);
        compare->Hide();
    }
    compare->Destroy();

    EXPECT_TRUE(m_cut.empty()) << ::testing::PrintToString(m_cut);
    EXPECT_TRUE(m_layout.empty()) << ::testing::PrintToString(m_layout);
    EXPECT_TRUE(headings.empty()) << ::testing::PrintToString(headings);
    // What was measured, for the record of the run.
    std::printf("checked %d dialogs with %d text controls, %d model descriptions, %d list headings\n", m_dialogs,
                m_controls, m_models, m_headings);
    std::printf("%d of %d controls of the template dialogs left their template places: %s\n", m_moved,
                m_templateControls, ::testing::PrintToString(m_dialogsChanged).c_str());
    EXPECT_EQ(m_shownByCommands, 3) << "the model choice and two editors";
}

TEST_F(DialogTextsFitTest, ConnectMakesRoomForTheAdapterItFindsWhileShown)
{
    SimDriveConfig config = DriveConfig({1}, 0x4B2);
    config.servePty = false;
    config.tcpPort = 0;
    config.udpPort = 0;
    auto drive = StartDrive(config);
    LoopbackAdapterSettings adapter(drive->GetUdpPort());
    const std::string savedPort = g_strCommPort;
    g_strCommPort = "/dev/ttyS0";

    auto* dialog = new CConnectDlg(&Frame(), Frame().Session(), Doc().m_nModelCode);
    dialog->Show();
    Pump(150);
    auto* port = dynamic_cast<wxComboBox*>(dialog->FindWindow(CConnectDlg::IDC_PORT));
    port->SetValue("TCPIP");
    wxCommandEvent change(wxEVT_COMBOBOX, CConnectDlg::IDC_PORT);
    change.SetEventObject(port);
    port->GetEventHandler()->ProcessEvent(change);
    // The adapter gets the longest name the address dialog takes.
    SetModalAnswer([](wxDialog* shown) {
        dynamic_cast<wxTextCtrl*>(shown->FindWindow(CSetIpDlg::IDC_IP))->ChangeValue("127.0.0.1");
        dynamic_cast<wxTextCtrl*>(shown->FindWindow(CSetIpDlg::IDC_NAME))->ChangeValue("Pump room north, line 2 AB");
        shown->TransferDataFromWindow();
        return int(wxID_OK);
    });
    wxCommandEvent click(wxEVT_BUTTON, CConnectDlg::IDC_SET_IP);
    click.SetEventObject(dialog->FindWindow(CConnectDlg::IDC_SET_IP));
    dialog->FindWindow(CConnectDlg::IDC_SET_IP)->GetEventHandler()->ProcessEvent(click);
    Pump(150);
    EXPECT_EQ(dialog->FindWindow(CConnectDlg::IDC_SET_IP)->GetLabel(), "127.0.0.1(Pump room north, line 2 AB)");
    SetModalAnswer(nullptr);
    Check(dialog, "Connect with an adapter");
    EXPECT_TRUE(m_cut.empty()) << ::testing::PrintToString(m_cut);
    dialog->Destroy();
    g_strCommPort = savedPort;
}

TEST_F(DialogTextsFitTest, SmallKeyboardKeepsItsKeyGrid)
{
    // Three columns of keys, "0" over the left and middle ones, "." in the
    // right one, each row level: the template's grid, whatever GTK's
    // padding makes the keys need.
    auto* keyboard = new CSmallKeyboardDlg(&Frame(), [] {});
    keyboard->Show();
    Pump(150);
    const auto key = [&](int id) { return keyboard->FindWindow(id)->GetRect(); };
    const struct {
        const char* what;
        std::vector<int> keys; // ids in one column or row
        bool column;
    } lines[] = {
        {"left column \"7\" \"4\" \"1\" \"0\"", {1046, 1049, 1052, 1055}, true},
        {"middle column \"8\" \"5\" \"2\"", {1047, 1050, 1053}, true},
        {"right column \"9\" \"6\" \"3\" \".\"", {1048, 1051, 1054, 1056}, true},
        {"top row", {1046, 1047, 1048}, false},
        {"second row", {1049, 1050, 1051}, false},
        {"third row", {1052, 1053, 1054}, false},
        {"bottom row", {1055, 1056}, false},
    };
    for (const auto& line : lines)
        for (int id : line.keys) {
            const wxRect first = key(line.keys.front());
            const wxRect r = key(id);
            if (line.column)
                EXPECT_EQ(r.x, first.x) << line.what << ": key " << id;
            else
                EXPECT_TRUE(r.y == first.y && r.height == first.height) << line.what << ": key " << id;
        }
    const wxRect left = key(1046);
    const wxRect middle = key(1047);
    const wxRect right = key(1048);
    for (int id : {1047, 1048, 1049, 1050, 1051, 1052, 1053, 1054, 1056})
        EXPECT_EQ(key(id).GetSize(), left.GetSize()) << "key " << id;
    EXPECT_EQ(middle.x, left.GetRight() + 1);
    EXPECT_EQ(right.x, middle.GetRight() + 1);
    EXPECT_EQ(key(1055).GetRight(), middle.GetRight()) << "\"0\" spans the left and middle columns";
    EXPECT_EQ(key(1055).y, key(1052).GetBottom() + 1);
    for (int id = 1046; id <= 1056; ++id)
        EXPECT_EQ(CutText(keyboard->FindWindow(id)), "") << "key " << id;
    const wxSize client = keyboard->GetClientSize();
    EXPECT_LE(right.GetRight(), client.x);
    EXPECT_LE(key(1056).GetBottom(), client.y);
    keyboard->Destroy();
    Pump(20);
}
