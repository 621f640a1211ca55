// A message box comes after the windows show what it reports: Read, Write,
// Compare's read, Import and the end of auto-refresh, in the program started
// on the simulated drive, with the program's own message boxes. At the moment
// a box is shown the list control already shows the new values without change
// marks (in its model and on the screen), and the status bar is set.

#include "tests/common/PumpUntil.h"
#include "tests/session/ConnectTestSupport.h"
#include "tests/shellgui/AppFixture.h"

#include "controls/CJTreeCtrl.h"
#include "document/D390DocData.h"
#include "platform/FileChooser.h"
#include "platform/ResourceModule.h"
#include "platform/Workbook.h"
#include "platform/WxMessageBox.h"
#include "res/CommandIds.h"
#include "session/DriveSession.h"
#include "view/CompareCommand.h"
#include "view/CompareDlg.h"
#include "view/CompareList.h"
#include "view/CompareModeDlg.h"
#include "view/D390View.h"
#include "view/ParamExchange.h"
#include "view/ParamListLayout.h"
#include "view/ParamListModel.h"
#include "view/ProgressDlg.h"
#include "view/ReadStationDlg.h"
#include "view/StationSelectDlg.h"

#include <wx/msgdlg.h>
#include <wx/radiobut.h>

#include <gtk/gtk.h>

#include <fstream>

namespace {

constexpr int kStation = 1;
constexpr std::uint32_t kDriveModel = 0x11004B5; // S family, group 14 from version 1093
constexpr unsigned IDS_READ_SUCCESSFUL = 61575;
constexpr unsigned IDS_WRITE_SUCCESSFUL = 61541;
constexpr unsigned IDS_IMPORT_SUCCESS = 61560;
const wxColour kChangeMark(0, 0xF0, 0);

// What the windows showed when a message box came up.
struct Shown {
    std::string message;
    std::string value0003;           // the list's set value of 00-03
    std::vector<std::string> marked; // codes whose set value the list marks as changed
    wxColour cell0003;               // the screen's colour of 00-03's set-value cell
    std::string modelPane;
    std::string versionPane;
    bool progressShown = true;
    bool autoRefreshChecked = true;
    int listRows = 0;
    unsigned treeItems = 0;
};

class MessagesAfterTheViewTest : public AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        m_drive = StartDrive(DriveConfig({kStation}, kDriveModel, 1093));
        std::ofstream(m_home + "curfile.ini", std::ios::binary)
            << "2\n" + m_drive->GetPtyPath() + "\n19200\n802\n1\n0\n";
        ASSERT_TRUE(Start());
        ASSERT_EQ(Frame().Session().m_bConnected, 1);
        ASSERT_NE(Doc(), nullptr);
        Frame().Raise();
        PumpUntil(nullptr, 300);
        // The program's own message boxes, which the modal hook sees.
        m_recorder = SetMessageHandler(nullptr);
        InstallWxMessageHandler();
        SetModalAnswer([this](wxDialog* dialog) { return Answer(dialog); });
        m_drive->ClearFrameLog();
    }

    void TearDown() override
    {
        SetModalAnswer(nullptr);
        SetMessageHandler(m_recorder);
        SetBellHandler(nullptr);
        SetFileChooser(nullptr);
        if (m_app && m_app->m_pMainFrame) {
            Frame().StopBackgroundTransfers();
            for (wxDocument* document : m_app->m_pDocManager->GetDocumentsVector())
                document->Modify(false);
            m_app->m_pDocManager->Clear(true);
            delete m_app->m_pMainFrame;
            m_app->m_pMainFrame = nullptr;
        }
        AppFixture::TearDown();
        ResetCommSettings();
        if (m_drive)
            m_drive->Stop();
    }

    int Answer(wxDialog* dialog)
    {
        if (auto* box = dynamic_cast<wxMessageDialog*>(dialog)) {
            m_shown.push_back(Look(box->GetMessage().utf8_string()));
            return wxID_OK;
        }
        if (auto* modes = dynamic_cast<CCompareModeDlg*>(dialog)) {
            modes->InitDialog();
            wxDynamicCast(modes->FindWindow(m_compareMode == kCompareDefaultWithSet ? CCompareModeDlg::IDC_DEFAULT_SET
                                                                                   : CCompareModeDlg::IDC_SET_READ),
                          wxRadioButton)
                ->SetValue(true);
            modes->TransferDataFromWindow();
            return wxID_OK;
        }
        if (dynamic_cast<CStationSelectDlg*>(dialog) || dynamic_cast<CReadStationDlg*>(dialog)) {
            wxCommandEvent click(wxEVT_BUTTON, wxID_OK);
            wxWindow* ok = dialog->FindWindow(wxID_OK);
            click.SetEventObject(ok);
            ok->GetEventHandler()->ProcessEvent(click);
            return dialog->GetReturnCode();
        }
        ADD_FAILURE() << "unexpected modal dialog: " << dialog->GetTitle().utf8_string();
        return wxID_CANCEL;
    }

    // The windows as the box finds them; with m_lookAtScreen the window
    // thread first draws what is pending, as it does while a box is up.
    Shown Look(const std::string& message)
    {
        Shown shown;
        shown.message = message;
        if (m_lookAtScreen) {
            PumpUntil(nullptr, 300);
            shown.cell0003 = ShownColour(RowOf("00-03"), CParamListModel::kColumnValue);
        }
        shown.value0003 = ListValue("00-03");
        shown.marked = MarkedCodes();
        wxStatusBar* bar = Frame().GetStatusBar();
        shown.modelPane = bar->GetStatusText(kPaneModel).utf8_string();
        shown.versionPane = bar->GetStatusText(kPaneVersion).utf8_string();
        shown.progressShown = Frame().m_pProgressDlg->IsShown();
        shown.autoRefreshChecked = IsChecked(ID_AUTO_REFRESH);
        shown.listRows = List()->GetItemCount();
        shown.treeItems = Frame().m_wndTree->GetCount();
        return shown;
    }

    CD390View* View() { return Frame().GetActiveProjectView(); }
    CD390DocData* Doc() { return View() ? View()->GetDocData() : nullptr; }
    CXListCtrl* List() { return View()->GetList(); }

    // The list row whose name column shows parameter code, -1 when none.
    int RowOf(const std::string& code)
    {
        for (int row = 0; row < List()->GetItemCount(); ++row)
            if (List()->GetItemText(row, CParamListModel::kColumnName).Strip(wxString::both).utf8_string().compare(0, 5, code) == 0)
                return row;
        return -1;
    }

    std::string ListValue(const std::string& code)
    {
        const int row = RowOf(code);
        return row < 0 ? "?" : List()->GetItemText(row, CParamListModel::kColumnValue).Strip(wxString::both).utf8_string();
    }

    // The codes of the rows whose set value the list shows on the change mark.
    std::vector<std::string> MarkedCodes()
    {
        std::vector<std::string> codes;
        for (int row = 0; row < List()->GetItemCount(); ++row) {
            wxDataViewItemAttr attr;
            if (List()->GetListModel()->GetAttrByRow(static_cast<unsigned>(row), CParamListModel::kColumnValue, attr)
                && attr.HasBackgroundColour() && attr.GetBackgroundColour() == kChangeMark)
                codes.push_back(List()->GetItemText(row, CParamListModel::kColumnName).Strip(wxString::both).utf8_string().substr(0, 5));
        }
        return codes;
    }

    // Marks parameters as the editor does when their set values change, and
    // lets the list draw them.
    void Mark(const std::vector<std::pair<int, int>>& params)
    {
        for (auto [group, item] : params) {
            const int position = Doc()->DefinedPosition(group, item);
            ASSERT_GE(position, 0);
            Doc()->m_Changed[group][position] = 1;
        }
        List()->Refresh();
        PumpUntil(nullptr, 300);
    }

    // What the screen shows in a cell, near its right edge (clear of the
    // text), read from the display itself.
    wxColour ShownColour(int row, int column)
    {
        wxRect cell;
        if (row < 0 || !List()->GetSubItemRect(row, column, cell))
            return wxColour();
        const wxPoint point = List()->GetMainWindow()->ClientToScreen(wxPoint(cell.GetRight() - 3, cell.y + cell.height / 2));
        GdkPixbuf* pixel = gdk_pixbuf_get_from_window(gdk_get_default_root_window(), point.x, point.y, 1, 1);
        if (!pixel)
            return wxColour();
        const guchar* rgb = gdk_pixbuf_get_pixels(pixel);
        const wxColour shown(rgb[0], rgb[1], rgb[2]);
        g_object_unref(pixel);
        return shown;
    }

    bool IsChecked(int id)
    {
        wxUpdateUIEvent event(id);
        event.SetEventObject(&Frame());
        Frame().ProcessWindowEvent(event);
        return event.GetSetChecked() && event.GetChecked();
    }

    // The status panes a Read sets, emptied so that their text is seen to come.
    void ClearDrivePanes()
    {
        Frame().SetStatusPaneText(kPaneModel, "");
        Frame().SetStatusPaneText(kPaneVersion, "");
    }

    std::unique_ptr<CSimulatedDrive> m_drive;
    MessageHandler m_recorder;
    std::vector<Shown> m_shown;
    bool m_lookAtScreen = true;
    int m_compareMode = kCompareSetWithRead;
};

TEST_F(MessagesAfterTheViewTest, ReadIsToldOnceTheListAndTheStatusBarShowTheDrive)
{
    const std::string before = ListValue("00-03");
    ASSERT_TRUE(m_drive->SetRegister(kStation, 0x0003, before == "2" ? 1 : 2));
    const std::string driveValue = before == "2" ? "1" : "2";
    Mark({{0, 3}, {7, 0}});
    ASSERT_EQ(ShownColour(RowOf("00-03"), CParamListModel::kColumnValue), kChangeMark) << "the screen shows the mark";
    ClearDrivePanes();
    Doc()->SetModifiedFlag(false);

    Command(ID_READ);
    ASSERT_EQ(m_shown.size(), 1u);
    const Shown& shown = m_shown[0];
    EXPECT_EQ(shown.message, LoadResString(IDS_READ_SUCCESSFUL));
    EXPECT_EQ(shown.value0003, driveValue);
    EXPECT_EQ(shown.marked, std::vector<std::string>{});
    EXPECT_NE(shown.cell0003, kChangeMark) << "the list was drawn again before the box";
    EXPECT_EQ(shown.modelPane, StatusPaneText(kPaneModel, Doc()->m_strModelName));
    EXPECT_EQ(shown.versionPane, StatusPaneText(kPaneVersion, "1.093"));
    EXPECT_FALSE(shown.progressShown);
}

TEST_F(MessagesAfterTheViewTest, WriteIsToldOnceTheListDropsTheMarksOfWhatWasWritten)
{
    // Every group written: no mark is left. Group 05 refused by the drive:
    // the groups before it were written and lose their marks before the
    // drive's reason is told; the later ones keep theirs.
    const struct {
        const char* how;
        bool refuseGroup05;
        std::vector<std::string> stillMarked;
        std::string message;
    } cases[] = {
        {"every group written", false, {}, LoadResString(IDS_WRITE_SUCCESSFUL)},
        {"group 05 refused", true, {"07-00"}, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.how);
        m_shown.clear();
        m_drive->ForceException(kStation, 0x0500, c.refuseGroup05 ? 4 : 0);
        Mark({{0, 3}, {7, 0}});
        ASSERT_EQ(ShownColour(RowOf("00-03"), CParamListModel::kColumnValue), kChangeMark);
        ASSERT_EQ(MarkedCodes(), (std::vector<std::string>{"00-03", "07-00"}));

        Command(ID_WRITE);
        ASSERT_EQ(m_shown.size(), 1u);
        const Shown& shown = m_shown[0];
        if (!c.message.empty())
            EXPECT_EQ(shown.message, c.message);
        else
            EXPECT_NE(shown.message, LoadResString(IDS_WRITE_SUCCESSFUL));
        EXPECT_EQ(shown.marked, c.stillMarked);
        EXPECT_NE(shown.cell0003, kChangeMark) << "the list was drawn again before the box";
        EXPECT_FALSE(shown.progressShown);
        // Nothing is drawn again after the box.
        EXPECT_EQ(MarkedCodes(), c.stillMarked);
        for (int group = 0; group < kGroupCount; ++group)
            std::fill(std::begin(Doc()->m_Changed[group]), std::end(Doc()->m_Changed[group]), 0u);
    }
    m_drive->ForceException(kStation, 0x0500, 0);
}

TEST_F(MessagesAfterTheViewTest, AFailedReadIsToldWithTheProgressGoneAndTheListAsItWas)
{
    // Read and Compare's read stop at group 05, which the drive refuses.
    m_drive->ForceException(kStation, 0x0500, 4);
    const std::string before = ListValue("00-03");
    ASSERT_TRUE(m_drive->SetRegister(kStation, 0x0003, before == "2" ? 1 : 2));
    m_compareMode = kCompareSetWithRead;
    for (int command : {ID_READ, ID_COMPARE}) {
        SCOPED_TRACE(command);
        m_shown.clear();
        Mark({{0, 3}});
        Command(command);
        ASSERT_EQ(m_shown.size(), 1u);
        const Shown& shown = m_shown[0];
        EXPECT_NE(shown.message, LoadResString(IDS_READ_SUCCESSFUL));
        EXPECT_FALSE(shown.progressShown) << "the progress window is gone before the box";
        EXPECT_EQ(shown.value0003, before);
        EXPECT_EQ(shown.marked, std::vector<std::string>{"00-03"});
        EXPECT_EQ(View()->GetCompareCommand()->GetDialog(), nullptr) << "no comparison is shown";
    }
    m_drive->ForceException(kStation, 0x0500, 0);
}

TEST_F(MessagesAfterTheViewTest, ImportIsToldOnceTheListShowsTheImportedTable)
{
    CParamExchange exchange(Frame().Session(), *Doc());
    const std::string before = ListValue("00-03");
    const std::string imported = before == "7" ? "8" : "7";

    // The project as a comma-separated file, with 00-03 changed.
    const std::string csv = m_home + "project.csv";
    std::vector<std::string> lines = exchange.BuildCsvLines();
    bool changed = false;
    for (std::string& line : lines)
        if (line.compare(0, 5, "00-03") == 0) {
            line = line.substr(0, line.rfind(',') + 1) + imported;
            changed = true;
        }
    ASSERT_TRUE(changed);
    {
        std::ofstream out(csv, std::ios::binary);
        for (const std::string& line : lines)
            out << line << "\r\n";
    }
    // The same as a workbook.
    const std::string templ = m_home + "template.xlsx";
    const std::string workbook = m_home + "project.xlsx";
    {
        CWorkbook book;
        CParamExchange::MakeTemplate(book);
        std::string error;
        ASSERT_TRUE(book.Save(templ, error)) << error;
        CWorkbook filled;
        ASSERT_TRUE(exchange.BuildWorkbook(templ, filled));
        WorkbookSheet* sheet = filled.FindSheet("Group0");
        ASSERT_NE(sheet, nullptr);
        bool found = false;
        for (int row = 3; row <= sheet->RowCount(); ++row)
            if (sheet->Cell(row, 1).compare(0, 5, "00-03") == 0) {
                sheet->SetCell(row, 3, imported);
                found = true;
            }
        ASSERT_TRUE(found);
        ASSERT_TRUE(filled.Save(workbook, error)) << error;
    }

    for (const std::string& path : {csv, workbook}) {
        SCOPED_TRACE(path);
        m_shown.clear();
        Doc()->FindParam(0, 3)->m_strValue = before;
        View()->FillParamList();
        ASSERT_EQ(ListValue("00-03"), before);
        Mark({{0, 3}, {7, 0}});
        SetFileChooser([&](const FileChoice&, std::string& chosen) {
            chosen = path;
            return true;
        });
        Command(ID_IMPORT_PARAMS);
        ASSERT_EQ(m_shown.size(), 1u);
        const Shown& shown = m_shown[0];
        EXPECT_EQ(shown.message, LoadResString(IDS_IMPORT_SUCCESS));
        EXPECT_EQ(shown.value0003, imported);
        EXPECT_EQ(shown.marked, std::vector<std::string>{});
        EXPECT_NE(shown.cell0003, kChangeMark) << "the list was drawn again before the box";
    }
}

TEST_F(MessagesAfterTheViewTest, ImportOfAnotherModelIsToldOnceTreeListAndStatusBarShowIt)
{
    // A file of the plain family with no data lines: the project takes that
    // model with its defaults.
    const std::string path = m_home + "plain.csv";
    std::ofstream(path, std::ios::binary) << "Model:D390-2P2-Hxx\r\nParameter Name,Set Value\r\nDate: x,Time: y\r\n";
    SetFileChooser([&](const FileChoice&, std::string& chosen) {
        chosen = path;
        return true;
    });
    const unsigned treeBefore = Frame().m_wndTree->GetCount();
    m_lookAtScreen = false;
    Command(ID_IMPORT_PARAMS);
    ASSERT_EQ(m_shown.size(), 1u);
    const Shown& shown = m_shown[0];
    EXPECT_EQ(shown.message, LoadResString(IDS_IMPORT_SUCCESS));
    ASSERT_NE(Doc()->m_nModelCode, static_cast<int>(kDriveModel));
    EXPECT_EQ(shown.modelPane, StatusPaneText(kPaneModel, "D390-2P2-Hxx"));
    // The plain family has no group 14: one group fewer in the tree.
    EXPECT_EQ(shown.treeItems, treeBefore - 1);
    const ParamTableRef table{Doc()->m_Groups, Doc()->m_Defined, Doc()->m_Changed};
    EXPECT_EQ(shown.listRows, static_cast<int>(BuildListRows(table, -1).size()));
    EXPECT_EQ(shown.value0003, Doc()->FindParam(0, 3)->m_strValue);
}

TEST_F(MessagesAfterTheViewTest, TheEndOfAutoRefreshIsToldWithTheCommandUncheckedAndTheLastValuesShown)
{
    const std::string before = ListValue("00-03");
    const std::string driveValue = before == "2" ? "1" : "2";
    ASSERT_TRUE(m_drive->SetRegister(kStation, 0x0003, before == "2" ? 1 : 2));
    m_lookAtScreen = false;
    Command(ID_AUTO_REFRESH);
    ASSERT_TRUE(PumpUntil([&] { return ListValue("00-03") == driveValue; }, 30000));
    m_drive->SetSilent(kStation, true);
    ASSERT_TRUE(PumpUntil([&] { return !Frame().Session().m_bAutoRefresh && !m_shown.empty(); }, 30000));
    ASSERT_EQ(m_shown.size(), 1u);
    EXPECT_FALSE(m_shown[0].autoRefreshChecked);
    EXPECT_EQ(m_shown[0].value0003, driveValue) << "the last cycle's values stay";
    m_drive->SetSilent(kStation, false);
}

TEST_F(MessagesAfterTheViewTest, CompareNameColumnIsTheListsWidthLessTheOtherColumns)
{
    // Differences of every group: factory default against set value.
    for (std::size_t g = 0; g < Doc()->m_Groups.size(); ++g)
        for (std::size_t i = 0; i < Doc()->m_Groups[g].m_Params.size(); ++i)
            if (Doc()->m_Defined[g][i]) {
                ParamRec& param = Doc()->m_Groups[g].m_Params[i];
                param.m_strValue = param.m_strFactory + "x";
            }
    m_compareMode = kCompareDefaultWithSet;
    Command(ID_COMPARE);
    CCompareDlg* dialog = View()->GetCompareCommand()->GetDialog();
    ASSERT_NE(dialog, nullptr);
    wxDataViewCtrl* list = dialog->GetList();
    auto nameWidthFollows = [&] { return list->GetColumn(1)->GetWidth() == list->GetSize().x - 194; };
    PumpUntil(nameWidthFollows, 2000);
    EXPECT_EQ(list->GetColumn(1)->GetWidth(), list->GetSize().x - 194) << "list " << list->GetSize().x;

    // The longest name of the list fits its column.
    const CCompareList& rows = dialog->GetCompareList();
    ASSERT_FALSE(rows.m_Rows.empty());
    std::string longest;
    int longestWidth = 0;
    for (const CompareRow& row : rows.m_Rows) {
        const int width = list->GetTextExtent(wxString::FromUTF8(row.m_strName)).x;
        if (width > longestWidth) {
            longestWidth = width;
            longest = row.m_strName;
        }
    }
    // The cell's own padding on both sides.
    EXPECT_LE(longestWidth + 8, list->GetColumn(1)->GetWidth()) << longest;

    // A wider window gives the name column the room.
    const wxSize size = dialog->GetSize();
    dialog->SetSize(size.x + 120, size.y);
    PumpUntil([&] { return list->GetSize().x > size.x - 40 && nameWidthFollows(); }, 2000);
    EXPECT_EQ(list->GetColumn(1)->GetWidth(), list->GetSize().x - 194);
    dialog->Hide();
}

} // namespace
