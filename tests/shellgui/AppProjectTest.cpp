// The application with a project: New, Save, Close, the recent list, the
// command line, the hand-over file, the tree and the list.

#include "controls/CJTreeCtrl.h"
#include "document/D390DocData.h"
#include "document/ModelSelectDlg.h"
#include "editor/GroupPagePanel.h"
#include "editor/ParamGroupDlg.h"
#include "monitor/GraphDlg.h"
#include "platform/FileChooser.h"
#include "platform/ResourceModule.h"
#include "res/CommandIds.h"
#include "session/DriveSession.h"
#include "session/RecentFileList.h"
#include "shell/ChildFrame.h"
#include "shell/MainFrameLayout.h"
#include "tests/common/FileBytes.h"
#include "tests/common/HostileFiles.h"
#include "tests/shellgui/AppFixture.h"
#include "view/D390View.h"
#include "view/ParamListModel.h"

#include <wx/button.h>
#include <wx/dataview.h>
#include <wx/choice.h>
#include <wx/dnd.h>
#include <wx/statusbr.h>
#include <wx/textctrl.h>

#include <gtk/gtk.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

constexpr const char* kPlainModel = "D390-2P2-Hxx";    // code 0x4B2: groups 00 to 13
constexpr const char* kExtendedModel = "D390-1P2-SHxx"; // code 0x110044E: also group 14

void Click(wxWindow* dialog, int id)
{
    wxCommandEvent click(wxEVT_BUTTON, id);
    click.SetEventObject(dialog->FindWindow(id));
    dialog->FindWindow(id)->GetEventHandler()->ProcessEvent(click);
}

class AppProjectTest : public AppFixture {
protected:
    // Answers the dialogs of the program: the model choice picks m_model and
    // the base frequency m_freqIndex, the file dialogs take m_path (or are cancelled when it is empty), the
    // editor runs m_editor.
    void SetUp() override
    {
        AppFixture::SetUp();
        SetFileChooser([this](const FileChoice& choice, std::string& path) {
            ++m_fileDialogs;
            m_choices.push_back(choice);
            EXPECT_NE(choice.filter.find("*.zrv"), std::string::npos);
            if (m_path.empty())
                return false;
            path = m_path;
            return true;
        });
        SetModalAnswer([this](wxDialog* dialog) {
            if (auto* models = dynamic_cast<CModelSelectDlg*>(dialog)) {
                ++m_modelDialogs;
                auto* combo = wxDynamicCast(models->FindWindow(CModelSelectDlg::IDC_MODEL), wxChoice);
                EXPECT_TRUE(combo->SetStringSelection(m_model)) << m_model;
                wxDynamicCast(models->FindWindow(CModelSelectDlg::IDC_FREQUENCY), wxChoice)->SetSelection(m_freqIndex);
                Click(models, wxID_OK);
                return models->GetReturnCode();
            }
            if (auto* editor = dynamic_cast<CParamGroupDlg*>(dialog)) {
                if (!m_editor)
                    return int(wxID_CANCEL);
                m_editor(*editor);
                return editor->GetReturnCode();
            }
            ADD_FAILURE() << "unexpected modal dialog: " << dialog->GetTitle().utf8_string();
            return int(wxID_CANCEL);
        });
    }

    void TearDown() override
    {
        AppFixture::TearDown();
        SetFileChooser(nullptr);
    }

    std::vector<wxDocument*> Documents()
    {
        wxDocVector documents = m_app->m_pDocManager->GetDocumentsVector();
        return std::vector<wxDocument*>(documents.begin(), documents.end());
    }
    CD390View* View() { return Frame().GetActiveProjectView(); }
    CD390DocData* Doc() { return View() ? View()->GetDocData() : nullptr; }

    void NewProject(const std::string& model)
    {
        m_model = model;
        Command(ID_FILE_NEW);
        ASSERT_EQ(Documents().size(), 1u);
        ASSERT_NE(Doc(), nullptr);
    }

    // A project of the plain model saved at path, with 00-01's set value changed.
    std::string SaveProject(const std::string& name, const std::string& value)
    {
        NewProject(kPlainModel);
        ParamRec* param = Doc()->FindParam(0, 1);
        EXPECT_NE(param, nullptr);
        if (param)
            param->m_strValue = value;
        Documents()[0]->Modify(true);
        m_path = m_home + name;
        Command(ID_FILE_SAVE);
        EXPECT_TRUE(fs::exists(m_path));
        return m_path;
    }

    std::string ListText(int row, int column) { return View()->GetListModel()->GetItemText(row, column).utf8_string(); }

    CCJTreeCtrl::Item* FindTreeItem(const wxString& text)
    {
        CCJTreeCtrl* tree = Frame().m_wndTree;
        for (CCJTreeCtrl::Item* item = tree->GetRootItem(); item; item = tree->GetNextItem(item))
            if (tree->GetItemText(item) == text)
                return item;
        return nullptr;
    }

    // A choice in the tree, as a click makes it.
    void ChooseTreeItem(const wxString& text)
    {
        Frame().m_wndTree->SelectItem(FindTreeItem(text));
        Frame().OnTreeSelect();
    }

    std::string m_model = kPlainModel;
    int m_freqIndex = 0;
    std::string m_path;
    std::function<void(CParamGroupDlg&)> m_editor;
    int m_modelDialogs = 0;
    int m_fileDialogs = 0;
    std::vector<FileChoice> m_choices;
};

} // namespace

TEST_F(AppProjectTest, NewSaveCloseAndReopenFromTheRecentList)
{
    ASSERT_TRUE(Start());
    m_freqIndex = 1; // 60.00
    NewProject(kPlainModel);
    EXPECT_EQ(Doc()->m_nModelCode, 0x4B2);
    EXPECT_EQ(Doc()->m_strModelName, kPlainModel);
    EXPECT_EQ(Doc()->m_nFreqIndex, 1) << "the project takes the base frequency chosen for it";
    EXPECT_EQ(Frame().GetActiveProjectFrame()->GetTitle(), "New Project");
    EXPECT_GT(View()->GetListModel()->GetRowCount(), 15);
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{});
    Documents()[0]->Modify(false);

    std::string path = SaveProject("first.zrv", "12.34");
    EXPECT_FALSE(Documents()[0]->IsModified());
    EXPECT_EQ(Doc()->m_strProjectPath, path);
    EXPECT_EQ(m_app->m_pRecentFileList->GetEntry(0), path);

    Command(ID_FILE_CLOSE); // saved: no question
    EXPECT_TRUE(Documents().empty());
    EXPECT_EQ(Frame().m_wndTree->GetCount(), 0u);
    EXPECT_EQ(Frame().GetActiveProject(), nullptr) << "no project path is left behind";
    EXPECT_EQ(Frame().GetStatusBar()->GetStatusText(kPaneFileName), "File name:");

    Command(ID_FILE_MRU_FILE1);
    ASSERT_EQ(Documents().size(), 1u);
    EXPECT_EQ(Doc()->FindParam(0, 1)->m_strValue, "12.34");
    EXPECT_EQ(Doc()->m_strProjectPath, path);
    EXPECT_EQ(Doc()->m_nModelCode, 0x4B2);
    EXPECT_EQ(Doc()->m_nFreqIndex, 1);
    EXPECT_GT(Frame().m_wndTree->GetCount(), 0u);
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{});

    // The recent list outlives the run, in the profile under the temporary home.
    Stop();
    ASSERT_TRUE(Start());
    EXPECT_EQ(m_app->m_pRecentFileList->GetEntry(0), path);
    EXPECT_TRUE(fs::exists(m_home + "config/d390/d390.conf"));
}

TEST_F(AppProjectTest, ARecentProjectThatNoLongerOpensLeavesTheList)
{
    ASSERT_TRUE(Start());
    std::string path = SaveProject("gone.zrv", "1.00");
    Command(ID_FILE_CLOSE);
    fs::remove(path);
    m_messages.Clear();
    Command(ID_FILE_MRU_FILE1);
    EXPECT_TRUE(Documents().empty());
    EXPECT_EQ(m_app->m_pRecentFileList->GetCount(), 0);
    EXPECT_FALSE(m_messages.Texts().empty()) << "the failed open is reported";
}

TEST_F(AppProjectTest, StartsWithTheProjectOfTheCommandLine)
{
    ASSERT_TRUE(Start());
    std::string path = SaveProject("started.zrv", "7.50");
    Stop();
    ASSERT_TRUE(Start({"d390", path + "/dde"}));
    ASSERT_EQ(Documents().size(), 1u);
    EXPECT_EQ(Doc()->m_strProjectPath, path);
    EXPECT_EQ(Doc()->FindParam(0, 1)->m_strValue, "7.50");
    EXPECT_GT(Frame().m_wndTree->GetCount(), 0u);
}

TEST_F(AppProjectTest, HandOverJobOneOpensTheProjectAndTheFileGoes)
{
    ASSERT_TRUE(Start());
    std::string path = SaveProject("handed.zrv", "3.00");
    Stop();
    std::string handOver = m_home + "curfile.ini";
    std::ofstream(handOver) << "1\n" << path << "\n";
    ASSERT_TRUE(Start());
    EXPECT_FALSE(fs::exists(handOver));
    ASSERT_EQ(Documents().size(), 1u);
    EXPECT_EQ(Doc()->FindParam(0, 1)->m_strValue, "3.00");
}

TEST_F(AppProjectTest, TreeHasGroupFourteenOnlyForExtendedModels)
{
    ASSERT_TRUE(Start());
    NewProject(kPlainModel);
    EXPECT_EQ(Frame().m_wndTree->GetCount(), 16u); // project, parameter, groups 00 to 13
    EXPECT_EQ(FindTreeItem(wxString::FromUTF8(LoadResString(61641))), nullptr);
    EXPECT_TRUE(IsEnabled(ID_GROUP_13));
    EXPECT_FALSE(IsEnabled(ID_GROUP_14));

    NewProject(kExtendedModel); // replaces the unmodified project without a question
    EXPECT_EQ(Doc()->m_nModelCode, 0x110044E);
    EXPECT_EQ(Frame().m_wndTree->GetCount(), 17u);
    EXPECT_NE(FindTreeItem(wxString::FromUTF8(LoadResString(61641))), nullptr);
    EXPECT_TRUE(IsEnabled(ID_GROUP_14));
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{});
}

TEST_F(AppProjectTest, ReadAndGroupCommandsNeedAProjectWindowEvenWhenConnected)
{
    ASSERT_TRUE(Start());
    // Connected in the session's eyes only: nothing is sent.
    Frame().Session().m_bConnected = 1;
    for (int id : {int(ID_READ), int(ID_WRITE), int(ID_GROUP_00), int(ID_GROUP_13)})
        EXPECT_FALSE(IsEnabled(id)) << id;
    EXPECT_FALSE(IsEnabled(ID_KEYPAD)) << "the live windows' menu is the project window's";
    NewProject(kPlainModel);
    for (int id : {int(ID_READ), int(ID_WRITE), int(ID_GROUP_00), int(ID_GROUP_13)})
        EXPECT_TRUE(IsEnabled(id)) << id;
    Command(ID_FILE_CLOSE);
    ASSERT_TRUE(Documents().empty());
    for (int id : {int(ID_READ), int(ID_WRITE), int(ID_GROUP_00), int(ID_GROUP_13)})
        EXPECT_FALSE(IsEnabled(id)) << id;
    Frame().Session().m_bConnected = 0;
}

TEST_F(AppProjectTest, ProjectFileDialogsHaveATitleAndOpenInDocumentsOrTheProjectsFolder)
{
    ASSERT_TRUE(Start());
    fs::create_directories(m_home + "projects");
    std::string path = SaveProject("projects/first.zrv", "5.00");
    ASSERT_EQ(m_choices.size(), 1u);
    EXPECT_EQ(m_choices[0].title, LoadResString(61928));
    EXPECT_TRUE(m_choices[0].folder.empty()) << "a new project has no folder yet";
    const std::string documents = StartFolderOf(m_choices[0]);
    EXPECT_NE(documents, fs::current_path().string());
    EXPECT_EQ(documents.rfind(m_home.substr(0, m_home.size() - 1), 0), 0u) << documents << " is in the user's home";

    m_path.clear(); // cancelled
    Command(ID_FILE_OPEN);
    ASSERT_EQ(m_choices.size(), 2u);
    EXPECT_EQ(m_choices[1].title, LoadResString(61929));
    EXPECT_EQ(fs::path(m_choices[1].folder), fs::path(m_home + "projects"));
    EXPECT_EQ(StartFolderOf(m_choices[1]), m_choices[1].folder);
}

TEST_F(AppProjectTest, TabAndMainTitleFollowTheProjectName)
{
    ASSERT_TRUE(Start());
    NewProject(kPlainModel);
    auto* child = Frame().GetActiveProjectFrame();
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(child->GetTitle().utf8_string(), LoadResString(61458));
    EXPECT_EQ(Frame().GetTitle().utf8_string(), "D390 - " + LoadResString(61458));
    m_path = m_home + "named.zrv";
    Command(ID_FILE_SAVE);
    ASSERT_TRUE(fs::exists(m_path));
    EXPECT_EQ(child->GetTitle(), "named.zrv");
    EXPECT_EQ(Frame().GetTitle(), "D390 - named.zrv");
    Command(ID_FILE_CLOSE);
    EXPECT_EQ(Frame().GetTitle(), "D390");
}

TEST_F(AppProjectTest, ListKeepsItsColumnWidthsAndScrollsSideways)
{
    ASSERT_TRUE(Start());
    Frame().Maximize(false);
    Frame().SetSize(900, 700);
    NewProject(kPlainModel);
    wxDataViewCtrl* list = View()->GetList();
    for (int round = 0; round < 20; ++round)
        wxYield();
    EXPECT_EQ(list->GetColumn(1)->GetWidth(), 660);
    EXPECT_EQ(list->GetColumn(2)->GetWidth(), 80);
    EXPECT_EQ(list->GetColumn(3)->GetWidth(), 80);
    ASSERT_LT(list->GetClientSize().x, 820) << "the columns do not fit in a 900-pixel window with the tree";
    GtkScrolledWindow* scrolled = GTK_SCROLLED_WINDOW(list->GetHandle());
    GtkAdjustment* sideways = gtk_scrolled_window_get_hadjustment(scrolled);
    EXPECT_GE(gtk_adjustment_get_upper(sideways), 820.0) << "the whole width can be scrolled to";
    GtkPolicyType horizontal, vertical;
    gtk_scrolled_window_get_policy(scrolled, &horizontal, &vertical);
    EXPECT_NE(horizontal, GTK_POLICY_NEVER);
    EXPECT_NE(horizontal, GTK_POLICY_EXTERNAL);
}

TEST_F(AppProjectTest, ProjectCommandsOfTheToolbarAreOffWithoutAProject)
{
    ASSERT_TRUE(Start());
    const int projectCommands[] = {ID_FILE_SAVE, ID_FILE_PRINT, ID_FILE_PRINT_PREVIEW, ID_COMPARE, ID_CONNECT};
    for (int id : projectCommands)
        EXPECT_FALSE(IsEnabled(id)) << id;
    EXPECT_TRUE(IsEnabled(ID_FILE_NEW));
    EXPECT_TRUE(IsEnabled(ID_FILE_OPEN));
    NewProject(kPlainModel);
    for (int id : projectCommands)
        EXPECT_TRUE(IsEnabled(id)) << id;
    // Connected: Connect stays on, its dialog holds the only Disconnect.
    Frame().Session().m_bConnected = 1;
    EXPECT_TRUE(IsEnabled(ID_CONNECT));
    Frame().Session().m_bConnected = 0;
}

TEST_F(AppProjectTest, TreeClickListsOneGroupWithItsHeading)
{
    ASSERT_TRUE(Start());
    NewProject(kPlainModel);
    CD390DocData& doc = *Doc();
    int allRows = View()->GetListModel()->GetRowCount();

    ChooseTreeItem(wxString::FromUTF8(LoadResString(61626))); // group 02
    EXPECT_EQ(View()->m_nSelGroup, 2);
    int defined = 0;
    for (int item = 0; item < kItemCount; ++item)
        defined += doc.m_Defined[2][item] ? 1 : 0;
    ASSERT_EQ(View()->GetListModel()->GetRowCount(), 1 + defined);
    EXPECT_EQ(ListText(0, 1), "  " + doc.m_Groups[2].m_strName);
    EXPECT_TRUE(View()->GetListModel()->IsHeadingRow(0));
    EXPECT_EQ(ListText(1, 1), "    " + doc.m_Groups[2].m_Params[0].m_strLabel);

    ChooseTreeItem(wxString::FromUTF8(LoadResString(61459))); // "Parameter"
    EXPECT_EQ(View()->m_nSelGroup, -1);
    EXPECT_EQ(View()->GetListModel()->GetRowCount(), allRows);
}

TEST_F(AppProjectTest, ListColoursChangedValuesAndHeadings)
{
    ASSERT_TRUE(Start());
    NewProject(kPlainModel);
    CD390DocData& doc = *Doc();
    CParamListModel& model = *View()->GetListModel();
    doc.m_Changed[0][1] = 1; // the second shown parameter of group 00: row 2
    wxDataViewItemAttr attr;
    EXPECT_TRUE(model.GetAttrByRow(2, CParamListModel::kColumnValue, attr));
    EXPECT_EQ(attr.GetBackgroundColour(), wxColour(0, 0xF0, 0));
    wxDataViewItemAttr unchanged;
    EXPECT_FALSE(model.GetAttrByRow(1, CParamListModel::kColumnValue, unchanged));
    wxDataViewItemAttr name;
    EXPECT_FALSE(model.GetAttrByRow(2, CParamListModel::kColumnName, name));
    wxDataViewItemAttr heading;
    EXPECT_TRUE(model.GetAttrByRow(0, CParamListModel::kColumnName, heading));
    EXPECT_EQ(heading.GetColour(), wxColour(0xFF, 0, 0));
    EXPECT_EQ(Frame().IsParamChangedByRow(2), 1);
    EXPECT_EQ(Frame().IsParamChangedByRow(0), 0);

    // One group shown: its heading is row 0 again, and the marks follow.
    doc.m_Changed[3][0] = 1;
    ChooseTreeItem(wxString::FromUTF8(LoadResString(61627))); // group 03
    ASSERT_EQ(View()->m_nSelGroup, 3);
    EXPECT_EQ(Frame().IsParamChangedByRow(0), 0);
    EXPECT_EQ(Frame().IsParamChangedByRow(1), 1);
    EXPECT_EQ(Frame().IsParamChangedByRow(2), 0);
    wxDataViewItemAttr first;
    EXPECT_TRUE(model.GetAttrByRow(1, CParamListModel::kColumnValue, first));
}

TEST_F(AppProjectTest, EditorOpensOnTheClickedRowAndStoresTheGroup)
{
    ASSERT_TRUE(Start());
    NewProject(kPlainModel);
    CD390DocData& doc = *Doc();
    int row = -1;
    int seen = -1;
    // The first parameter row under the third heading: group 02, position 0.
    std::vector<int> headings;
    for (int r = 0; r < View()->GetListModel()->GetRowCount(); ++r) {
        if (View()->GetListModel()->IsHeadingRow(r))
            headings.push_back(r);
    }
    ASSERT_GE(headings.size(), 3u);
    row = headings[2] + 1;
    m_editor = [&](CParamGroupDlg& editor) {
        seen = editor.m_nGroup * 100 + editor.m_nItem;
        ASSERT_NE(editor.Notebook(), nullptr);
        auto* edit = wxDynamicCast(editor.PagePanel(0)->FindWindow(1034), wxTextCtrl); // 02-00
        ASSERT_NE(edit, nullptr);
        edit->SetValue("1.5");
        Click(&editor, wxID_OK);
    };
    View()->OpenEditorAtRow(row);
    EXPECT_EQ(seen, 200);
    EXPECT_EQ(doc.m_Groups[2].m_Params[0].m_strValue, "1.5");
    EXPECT_EQ(doc.m_Changed[2][0], 1u);
    EXPECT_EQ(ListText(row, 3), "  1.5");
    EXPECT_TRUE(Documents()[0]->IsModified());

    // A heading row and row 0 open nothing.
    m_editor = [](CParamGroupDlg&) { ADD_FAILURE() << "the editor must not open"; };
    View()->OpenEditorAtRow(headings[2]);
    View()->OpenEditorAtRow(0);
    View()->OpenEditorAtRow(View()->GetListModel()->GetRowCount());
}

TEST_F(AppProjectTest, CancelledSaveKeepsTheOpenProject)
{
    ASSERT_TRUE(Start());
    NewProject(kPlainModel);
    wxDocument* first = Documents()[0];
    first->Modify(true);

    // New: Yes to the save question, then Cancel in the file dialog.
    m_messages.Answer(IDYES);
    m_path.clear();
    m_modelDialogs = 0;
    Command(ID_FILE_NEW);
    EXPECT_EQ(m_modelDialogs, 0);
    ASSERT_EQ(Documents().size(), 1u);
    EXPECT_EQ(Documents()[0], first);
    EXPECT_EQ(Frame().m_wndTree->GetCount(), 16u);

    // Close: Cancel in the question keeps project and tree.
    m_messages.Answer(IDCANCEL);
    Command(ID_FILE_CLOSE);
    ASSERT_EQ(Documents().size(), 1u);
    EXPECT_EQ(Frame().m_wndTree->GetCount(), 16u);

    // Close: No closes without saving.
    m_messages.Answer(IDNO);
    Command(ID_FILE_CLOSE);
    EXPECT_TRUE(Documents().empty());
    EXPECT_EQ(Frame().m_wndTree->GetCount(), 0u);
}

TEST_F(AppProjectTest, AFailedSaveKeepsTheOpenProjectForNewOpenAndRecent)
{
    ASSERT_TRUE(Start());
    const std::string other = SaveProject("other.zrv", "1.00");
    Command(ID_FILE_CLOSE);
    const std::string own = SaveProject("own.zrv", "2.00");
    wxDocument* open = Documents()[0];
    // The project's own file cannot be written: a folder stands in its place.
    fs::remove(own);
    fs::create_directory(own);
    ASSERT_EQ(m_app->m_pRecentFileList->GetCount(), 2);
    ASSERT_EQ(m_app->m_pRecentFileList->GetEntry(1), other);

    struct Case {
        int command;
        const char* why;
    };
    const Case cases[] = {
        {ID_FILE_OPEN, "Open"},
        {ID_FILE_MRU_FILE1 + 1, "a recent project"},
        {ID_FILE_NEW, "New"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        open->Modify(true);
        m_messages.Clear();
        m_messages.Answer(IDYES);
        // A failed save forgets the path: the next save asks for one, and
        // the user picks the same unwritable place.
        m_path = own;
        m_modelDialogs = 0;
        Command(c.command);
        ASSERT_EQ(Documents().size(), 1u);
        ASSERT_EQ(Documents()[0], open);
        EXPECT_TRUE(open->IsModified());
        ASSERT_NE(Doc(), nullptr);
        EXPECT_EQ(Doc()->FindParam(0, 1)->m_strValue, "2.00");
        EXPECT_EQ(Frame().m_wndTree->GetCount(), 16u);
        EXPECT_EQ(m_modelDialogs, 0);
        EXPECT_GE(m_messages.Texts().size(), 2u) << "the question and the failure are shown";
        // The recent entry of the project not opened stays.
        ASSERT_EQ(m_app->m_pRecentFileList->GetCount(), 2);
        EXPECT_EQ(m_app->m_pRecentFileList->GetEntry(1), other);
    }
    open->Modify(false);
}

TEST_F(AppProjectTest, EveryRecentEntryOpensItsProject)
{
    ASSERT_TRUE(Start());
    std::vector<std::string> paths;
    for (int i = 1; i <= 8; ++i) {
        paths.push_back(SaveProject("p" + std::to_string(i) + ".zrv", std::to_string(i) + ".00"));
        Command(ID_FILE_CLOSE);
    }
    ASSERT_EQ(m_app->m_pRecentFileList->GetCount(), 8);
    // Newest first: the sixth entry is the third project saved.
    EXPECT_EQ(m_app->m_pRecentFileList->GetEntry(5), paths[2]);
    Command(ID_FILE_MRU_FILE1 + 5);
    ASSERT_EQ(Documents().size(), 1u);
    EXPECT_EQ(Doc()->FindParam(0, 1)->m_strValue, "3.00");
    EXPECT_EQ(m_app->m_pRecentFileList->GetEntry(0), paths[2]);
    // The last entry too, replacing the open project.
    Command(ID_FILE_MRU_FILE1 + 7);
    ASSERT_EQ(Documents().size(), 1u);
    EXPECT_EQ(Doc()->FindParam(0, 1)->m_strValue, "1.00");
}

TEST_F(AppProjectTest, GroupCommandsOpenTheEditorOnTheirGroup)
{
    ASSERT_TRUE(Start());
    NewProject(kExtendedModel);
    std::vector<std::pair<int, int>> opened; // group, item
    m_editor = [&](CParamGroupDlg& editor) {
        opened.push_back({editor.m_nGroup, editor.m_nItem});
        Click(&editor, wxID_CANCEL);
        editor.SetReturnCode(wxID_CANCEL);
    };
    for (int group = 0; group < 15; ++group)
        Command(kGroupCommands[group]);
    ASSERT_EQ(opened.size(), 15u);
    for (int group = 0; group < 15; ++group) {
        EXPECT_EQ(opened[static_cast<std::size_t>(group)].first, group);
        EXPECT_EQ(opened[static_cast<std::size_t>(group)].second, -1);
    }
    EXPECT_FALSE(Documents()[0]->IsModified()) << "a cancelled editor stores nothing";
}

TEST_F(AppProjectTest, AnEditStoredOnAnyRoadIntoTheEditorIsAskedAboutOnClose)
{
    ASSERT_TRUE(Start());
    // The menu's group command, and the list's activation (double click or
    // Enter on a row), each followed by OK on a changed value.
    const std::function<void()> roads[] = {
        [this] { Command(kGroupCommands[0]); },
        [this] {
            wxDataViewCtrl* list = View()->GetList();
            wxDataViewEvent activated(wxEVT_DATAVIEW_ITEM_ACTIVATED, list, View()->GetListModel()->GetItem(1));
            list->ProcessWindowEvent(activated);
        },
    };
    for (const auto& road : roads) {
        NewProject(kPlainModel);
        ASSERT_FALSE(Documents()[0]->IsModified());
        m_editor = [](CParamGroupDlg& editor) {
            ASSERT_NE(editor.Notebook(), nullptr);
            auto* direction = wxDynamicCast(editor.PagePanel(0)->FindWindow(1025), wxChoice); // 00-01
            ASSERT_NE(direction, nullptr);
            direction->SetSelection(1);
            Click(&editor, wxID_OK);
        };
        road();
        EXPECT_EQ(View()->GetListModel()->GetItemText(1, CParamListModel::kColumnValue), "  1");
        EXPECT_TRUE(Documents()[0]->IsModified());
        // Close asks before the edit is dropped; Cancel keeps it.
        m_messages.Answer(IDCANCEL);
        Command(ID_FILE_CLOSE);
        EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{LoadResString(61536)});
        ASSERT_EQ(Documents().size(), 1u);
        m_messages.Clear();
        Documents()[0]->Modify(false);
        Command(ID_FILE_CLOSE);
        ASSERT_TRUE(Documents().empty());
    }
}

TEST_F(AppProjectTest, MonitorCommandsRunTheirWindowsWithTheConnectedStations)
{
    ASSERT_TRUE(Start());
    NewProject(kPlainModel);
    Frame().Session().m_bConnected = 1;
    Frame().Session().m_Stations = {3, 9};
    EXPECT_TRUE(IsEnabled(ID_KEYPAD));
    EXPECT_TRUE(IsEnabled(ID_MONITOR_STATUS));
    // The live windows run modal to the main frame (not ShowModal); the frame
    // is disabled while they are open and they are gone afterwards.
    const struct {
        int command;
        int windowId;
        int stationId;
    } cases[] = {{ID_KEYPAD, 146, 1074}, {ID_MONITOR_CONTROL, 171, 1477}, {ID_MONITOR_STATUS, 189, 1025}};
    for (const auto& c : cases) {
        bool seen = false;
        Frame().CallAfter([&] {
            wxWindow* window = wxWindow::FindWindowById(c.windowId);
            ASSERT_NE(window, nullptr) << c.command;
            seen = true;
            EXPECT_FALSE(Frame().IsEnabled());
            auto* stations = dynamic_cast<wxChoice*>(window->FindWindow(c.stationId));
            EXPECT_NE(stations, nullptr) << c.command;
            if (stations) {
                EXPECT_EQ(stations->GetCount(), 2u);
                EXPECT_EQ(stations->GetString(1), "9");
            }
            window->Close();
        });
        Command(c.command);
        EXPECT_TRUE(seen) << c.command;
        EXPECT_TRUE(Frame().IsEnabled());
        EXPECT_EQ(wxWindow::FindWindowById(c.windowId), nullptr) << c.command;
    }
    Frame().Session().m_bConnected = 0;
}

TEST_F(AppProjectTest, GraphWatchRunsTheRecorderModalToTheFrameWithTheConnectedStations)
{
    ASSERT_TRUE(Start());
    NewProject(kExtendedModel);
    Frame().Session().m_bConnected = 1;
    Frame().Session().m_Stations = {3, 9};
    ASSERT_TRUE(IsEnabled(ID_GRAPH_WATCH));
    bool seen = false;
    wxTheApp->CallAfter([&]() {
        for (wxWindow* window : wxTopLevelWindows) {
            if (auto* graph = dynamic_cast<CGraphDlg*>(window)) {
                seen = graph->IsShown();
                EXPECT_FALSE(Frame().IsEnabled()) << "the main frame waits while the recorder runs";
                EXPECT_EQ(graph->Recorder().m_nStation, 3);
                graph->Close();
            }
        }
    });
    Command(ID_GRAPH_WATCH);
    EXPECT_TRUE(seen);
    EXPECT_TRUE(Frame().IsEnabled());
    Frame().Session().m_bConnected = 0;
}

TEST_F(AppProjectTest, ClosingTheProjectWindowEmptiesTheTreeOnlyOnceItClosed)
{
    ASSERT_TRUE(Start());
    NewProject(kPlainModel);
    Documents()[0]->Modify(true);
    CChildFrame* child = Frame().GetActiveProjectFrame();
    ASSERT_NE(child, nullptr);

    m_messages.Answer(IDCANCEL);
    child->Close();
    ASSERT_EQ(Documents().size(), 1u);
    EXPECT_EQ(Frame().m_wndTree->GetCount(), 16u);
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{LoadResString(61536)});

    m_messages.Answer(IDNO);
    child->Close();
    m_app->ProcessPendingEvents();
    EXPECT_TRUE(Documents().empty());
    EXPECT_EQ(Frame().m_wndTree->GetCount(), 0u);
}

TEST_F(AppProjectTest, AProjectThatFailsToOpenLeavesTheOpenOneWithItsTree)
{
    ASSERT_TRUE(Start());
    std::string good = SaveProject("good.zrv", "4.00");
    std::string damaged = m_home + "damaged.zrv";
    std::ofstream(damaged, std::ios::binary) << "\x0d\x00"; // ends inside the version field
    m_path = damaged;
    m_messages.Clear();
    Command(ID_FILE_OPEN);
    EXPECT_FALSE(m_messages.Texts().empty()) << "the failed open is reported";
    ASSERT_EQ(Documents().size(), 1u);
    EXPECT_EQ(Doc()->FindParam(0, 1)->m_strValue, "4.00");
    EXPECT_EQ(Doc()->m_strProjectPath, good);
    EXPECT_EQ(Frame().m_wndTree->GetCount(), 16u);
}

TEST_F(AppProjectTest, CaptionAfterPreviewIsTheFileNameOrNewProject)
{
    ASSERT_TRUE(Start());
    NewProject(kPlainModel);
    wxWindow* child = View()->GetFrame();
    child->SetLabel("Print Preview");
    View()->OnUpdateFrameTitle();
    EXPECT_EQ(child->GetLabel(), "New Project");
    SaveProject("titled.zrv", "1.00");
    child = View()->GetFrame();
    child->SetLabel("Print Preview");
    View()->OnUpdateFrameTitle();
    EXPECT_EQ(child->GetLabel(), "titled.zrv");
}

TEST_F(AppProjectTest, CommandsFromTheProjectWindowsMenuReachTheFrameAndTheApplication)
{
    ASSERT_TRUE(Start());
    NewProject(kPlainModel);
    CChildFrame* child = Frame().GetActiveProjectFrame();
    ASSERT_NE(child->GetMenuBar(), nullptr);
    int editors = 0;
    m_editor = [&](CParamGroupDlg& editor) {
        ++editors;
        editor.SetReturnCode(wxID_CANCEL);
    };
    for (int id : {int(ID_GROUP_00), int(ID_FILE_NEW)}) {
        wxCommandEvent event(wxEVT_MENU, id);
        event.SetEventObject(child);
        child->ProcessWindowEvent(event);
    }
    EXPECT_EQ(editors, 1);
    EXPECT_EQ(m_modelDialogs, 2) << "New from the project window's menu";
}

TEST_F(AppProjectTest, AProjectPathThatDoesNotOpenEndsTheStart)
{
    EXPECT_FALSE(Start({"d390", m_home + "missing.zrv"}));
    EXPECT_FALSE(m_messages.Texts().empty()) << "the failed open is reported";
}

TEST_F(AppProjectTest, ClosingTheMainWindowAsksForAModifiedProject)
{
    ASSERT_TRUE(Start());
    NewProject(kPlainModel);
    Documents()[0]->Modify(true);
    m_messages.Answer(IDCANCEL);
    EXPECT_FALSE(Frame().Close());
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{LoadResString(61536)});
    ASSERT_EQ(Documents().size(), 1u);
    EXPECT_FALSE(Frame().IsBeingDeleted());
}

TEST_F(AppProjectTest, AProjectFileDroppedOnTheWindowOpens)
{
    ASSERT_TRUE(Start());
    std::string path = SaveProject("dropped.zrv", "6.00");
    NewProject(kPlainModel);
    auto* target = dynamic_cast<wxFileDropTarget*>(Frame().GetDropTarget());
    ASSERT_NE(target, nullptr);
    wxArrayString files;
    files.Add(wxString::FromUTF8(path));
    EXPECT_TRUE(target->OnDropFiles(10, 10, files));
    ASSERT_EQ(Documents().size(), 1u);
    EXPECT_EQ(Doc()->FindParam(0, 1)->m_strValue, "6.00");
    EXPECT_EQ(Doc()->m_strProjectPath, path);
}

TEST_F(AppProjectTest, OpeningWhatIsNoProjectFileKeepsTheOpenProjectUnsavedEditsAndAll)
{
    ASSERT_TRUE(Start());
    const std::string saved = SaveProject("kept.zrv", "3.25");
    wxDocument* open = Documents()[0];
    Doc()->FindParam(0, 1)->m_strValue = "unsaved";
    open->Modify(true);
    for (Hostile kind : {Hostile::Fifo, Hostile::LinkToDevZero, Hostile::LargeTail}) {
        SCOPED_TRACE(HostileName(kind));
        m_path = m_home + "named.zrv";
        ASSERT_TRUE(MakeHostile(kind, m_path, ReadFileBytes(saved)));
        FifoRescue rescue(m_path);
        m_messages.Clear();
        m_messages.Answer(IDNO); // the open project is not saved first
        Command(ID_FILE_OPEN);
        EXPECT_FALSE(rescue.Rescued()) << "the open waited for a writer";
        ASSERT_EQ(Documents().size(), 1u);
        EXPECT_EQ(Documents()[0], open);
        EXPECT_TRUE(open->IsModified());
        EXPECT_EQ(Doc()->FindParam(0, 1)->m_strValue, "unsaved");
        EXPECT_EQ(Doc()->m_strProjectPath, saved);
        EXPECT_EQ(m_app->m_pRecentFileList->GetEntry(0), saved);
        ASSERT_EQ(m_messages.Texts().size(), 2u);
        EXPECT_EQ(m_messages.Texts()[1].rfind(m_path + " was not read: it is ", 0), 0u) << m_messages.Texts()[1];
        RemoveHostile(m_path);
    }
}
