// What a screen reader reads of the main window over AT-SPI: the parameter
// list's cells right after a change, the status bar's panes, and the fields
// and buttons of the Connect dialog by their labels and captions. Runs on a
// private session bus (dbus-run-session) under Xvfb.

#include "document/D390DocData.h"
#include "document/ModelSelectDlg.h"
#include "platform/ResourceModule.h"
#include "res/CommandIds.h"
#include "res/StringIds.h"
#include "session/CommSettings.h"
#include "shell/ConnectDlg.h"
#include "shell/MainFrameLayout.h"
#include "tests/platformgui/atspi/AtspiReading.h"
#include "tests/shellgui/AppFixture.h"
#include "view/D390View.h"
#include "view/ParamListModel.h"

#include <wx/choice.h>
#include <wx/timer.h>

namespace {

struct Cell {
    int row, column;
    std::string text;
};

struct Reading {
    std::vector<Accessible> objects;
    std::vector<Cell> cells;
    long exitCode = 0;
    std::string errors;
};

class AccessibilityTest : public AppFixture {
protected:
    Reading Read(int rows)
    {
        const ReaderOutput output = RunReader("read_accessible.py", std::to_string(rows), 5);
        Reading reading{ObjectsOf(output), {}, output.exitCode, output.errors};
        for (const std::vector<std::string>& parts : output.lines)
            if (parts[0] == "cell")
                reading.cells.push_back({std::atoi(parts[2].c_str()), std::atoi(parts[3].c_str()), Trimmed(parts[4])});
        return reading;
    }

    // Starts the program with a new project of a plain model.
    void StartWithProject()
    {
        ASSERT_TRUE(Start());
        SetModalAnswer([](wxDialog* dialog) {
            auto* models = dynamic_cast<CModelSelectDlg*>(dialog);
            if (!models)
                return int(wxID_CANCEL);
            wxDynamicCast(models->FindWindow(CModelSelectDlg::IDC_MODEL), wxChoice)->SetStringSelection("D390-2P2-Hxx");
            wxCommandEvent ok(wxEVT_BUTTON, wxID_OK);
            models->FindWindow(wxID_OK)->GetEventHandler()->ProcessEvent(ok);
            return models->GetReturnCode();
        });
        Command(ID_FILE_NEW);
        SetModalAnswer(nullptr);
        ASSERT_NE(Frame().GetActiveProjectView(), nullptr);
    }

    static std::string CellText(const Reading& reading, int row, int column)
    {
        for (const Cell& cell : reading.cells)
            if (cell.row == row && cell.column == column)
                return cell.text;
        return "<no cell>";
    }

    static bool Has(const Reading& reading, const std::string& role, const std::string& name)
    {
        for (const Accessible& object : reading.objects)
            if (object.role == role && object.name == name)
                return true;
        return false;
    }
};

} // namespace

TEST_F(AccessibilityTest, ListCellsStatusPanesAndNamedFields)
{
    SKIP_WITHOUT_SESSION_BUS();
    StartWithProject();
    CD390View* view = Frame().GetActiveProjectView();
    CD390DocData& doc = *view->GetDocData();
    Frame().SetStatusPaneText(kPaneVersion, LoadResString(61452) + "1.093");
    Frame().SetStatusPaneText(kPaneLink, LoadResString(61540));

    // The set value of row 1 (00-00's first shown parameter), in the list's
    // third shown column: Name, Default, Set Value.
    const int row = 1;
    const int setColumn = 2;
    Reading before = Read(3);
    if (before.exitCode == kNoAccessibilityBus)
        GTEST_SKIP() << "the accessibility bus did not start: " << before.errors;
    ASSERT_EQ(before.exitCode, 0) << before.errors;
    const std::string shown = Trimmed(view->GetListModel()->GetItemText(row, CParamListModel::kColumnValue).utf8_string());
    EXPECT_EQ(CellText(before, row, setColumn), shown);

    // An edit as the editor stores it: the cell reads the new value at once.
    std::size_t record = 0;
    while (!doc.m_Defined[0][record])
        ++record;
    ParamRec& first = doc.m_Groups[0].m_Params[record];
    first.m_strValue = "9.87";
    view->UpdateGroupValues(0);
    Reading after = Read(3);
    ASSERT_EQ(after.exitCode, 0) << after.errors;
    EXPECT_EQ(CellText(after, row, setColumn), "9.87");

    // Changed by the editor: green on the screen, and marked in its text.
    doc.m_Changed[0][0] = 1;
    view->UpdateGroupValues(0);
    Reading marked = Read(3);
    ASSERT_EQ(marked.exitCode, 0) << marked.errors;
    EXPECT_EQ(CellText(marked, row, setColumn), "9.87 *");
    EXPECT_EQ(CellText(marked, row + 1, setColumn).find('*'), std::string::npos) << "an unchanged row";
    doc.m_Changed[0][0] = 0;

    // The status bar's panes, as its name, where a reader looks for them.
    bool paneTexts = false;
    for (const Accessible& object : after.objects)
        if (object.role == "status bar" && object.name.find(LoadResString(61540)) != std::string::npos &&
            object.name.find("1.093") != std::string::npos)
            paneTexts = true;
    EXPECT_TRUE(paneTexts) << "the status bar's texts are readable";

    // The watchdog sets the link's text again and again: a reader is told
    // only of a new text (the link gone).
    wxEvtHandler again;
    wxTimer watchdog(&again);
    int set = 0;
    again.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
        ++set;
        Frame().SetStatusPaneText(kPaneLink, LoadResString(set < 8 ? 61540 : IDS_UNLINK));
    });
    watchdog.Start(200);
    const ReaderOutput changes = RunReader("count_name_changes.py", "2.5", 4);
    watchdog.Stop();
    ASSERT_EQ(changes.exitCode, 0) << changes.errors;
    ASSERT_GE(set, 8);
    int told = 0;
    for (const std::vector<std::string>& parts : changes.lines)
        told += parts[0] == "change" && parts[2] == "status bar";
    EXPECT_EQ(told, 1) << "the one new text";

    // The Connect dialog: fields named by their labels, buttons by captions.
    g_strCommPort = "/dev/ttyS0"; // no adapter search
    auto* connect = new CConnectDlg(&Frame(), Frame().Session(), doc.m_nModelCode);
    connect->Show();
    wxYield();
    Reading dialog = Read(0);
    connect->Destroy();
    ASSERT_EQ(dialog.exitCode, 0) << dialog.errors;
    EXPECT_TRUE(Has(dialog, "text", "Station Num")) << "the station field is named by its label";
    for (const char* caption : {"Connect", "Disconnect", "Close"})
        EXPECT_TRUE(Has(dialog, "push button", caption)) << caption;
}
