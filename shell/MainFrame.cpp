#include "shell/MainFrame.h"

#include "controls/CJTreeCtrl.h"
#include "controls/ColorToolBar.h"
#include "controls/CoolBar.h"
#include "controls/CoolTabCtrl.h"
#include "controls/XListCtrl.h"
#include "document/D390DocData.h"
#include "link/SerialComm.h"
#include "monitor/GraphWindowFactory.h"
#include "monitor/KeyPadDlg.h"
#include "monitor/LiveDriveInfo.h"
#include "monitor/MonitorControlDlg.h"
#include "monitor/MonitorStatusDlg.h"
#include "platform/Accessibility.h"
#include "platform/Accessible.h"
#include "platform/BackgroundJob.h"
#include "platform/FileChooser.h"
#include "platform/FocusReturn.h"
#include "platform/MessageBox.h"
#include "platform/ModalWindow.h"
#include "platform/ResourceModule.h"
#include "res/CommandIds.h"
#include "res/StringIds.h"
#include "session/DriveSession.h"
#include "session/DriveWork.h"
#include "shell/ChildFrame.h"
#include "shell/ConnectCommands.h"
#include "shell/D390App.h"
#include "shell/MainFrameLayout.h"
#include "shell/MainMenus.h"
#include "shell/MainStatusBar.h"
#include "view/ProgressDlg.h"
#include "shell/ProjectDropTarget.h"
#include "shell/WindowDriveWork.h"
#include "view/D390View.h"
#include "view/ExchangeCommands.h"
#include "view/ParamListLayout.h"

#include <wx/accel.h>
#include <wx/dialog.h>
#include <wx/modalhook.h>
#include <wx/filename.h>
#include <wx/notebook.h>
#include <wx/printdlg.h>
#include <wx/statusbr.h>
#include <wx/utils.h>

#include <gtk/gtk.h>

#include <algorithm>
#include <functional>

namespace {

constexpr const char* kHelpFileName = "RQ5 help.chm";
constexpr const char* kDockPaneName = "dock";

constexpr int kToolImageWidth = 33;
constexpr unsigned IDB_TOOLBAR_NORMAL = 194;
constexpr unsigned IDB_TOOLBAR_DISABLED = 195;
constexpr unsigned IDB_TOOLBAR_HOT = 196;

// Toolbar 128, in order; 0 is a separator. Image k of the strips is the k-th button.
constexpr int kToolbarButtons[] = {ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_SAVE, 0, ID_FILE_PRINT, ID_FILE_PRINT_PREVIEW, 0,
                                   ID_CONNECT, ID_READ, ID_WRITE, ID_COMPARE, 0, ID_GRAPH_WATCH, ID_KEYPAD,
                                   ID_MONITOR_CONTROL, ID_MONITOR_STATUS, 0, ID_APP_ABOUT};

wxString Utf8(const std::string& text)
{
    return wxString::FromUTF8(text);
}

// "description\ntool tip": one of the two lines.
wxString PromptLine(int id, bool tip)
{
    std::string prompt = LoadResString(static_cast<unsigned>(id));
    std::size_t newline = prompt.find('\n');
    if (newline == std::string::npos)
        return tip ? wxString() : Utf8(prompt);
    return Utf8(tip ? prompt.substr(newline + 1) : prompt.substr(0, newline));
}

// wx drops the desktop's close request to a disabled window, and the frame
// is disabled while a command's drive transfer runs: the request is taken
// here, before wx sees it, and the frame's close puts it off.
gboolean OnDeleteEventEmission(GSignalInvocationHint*, guint count, const GValue* params, gpointer data)
{
    auto* frame = static_cast<CMainFrame*>(data);
    if (count > 0 && g_value_get_object(&params[0]) == static_cast<gpointer>(frame->GetHandle())
        && !frame->IsEnabled() && IsDriveTransferActive())
        frame->Close();
    return TRUE; // stays installed
}

// A modal dialog (ours or the toolkit's) leaves the desktop's focus nowhere
// once it closes where no window manager gives it back: the frame takes it.
class CModalEndFocus : public wxModalDialogHook {
public:
    explicit CModalEndFocus(std::function<void()> ended) : m_ended(std::move(ended)) {}

    // A modal dialog is open: entered and not yet gone (a window run modal
    // by hand is entered without being exited).
    bool AnyOpen()
    {
        m_open.erase(std::remove_if(m_open.begin(), m_open.end(), [](const OpenDialog& open) { return !open.dialog; }),
                     m_open.end());
        return !m_open.empty();
    }

protected:
    int Enter(wxDialog* dialog) override
    {
        m_open.push_back({dialog, wxWindow::FindFocus()});
        return wxID_NONE;
    }
    void Exit(wxDialog* dialog) override
    {
        wxWeakRef<wxWindow> focus;
        for (auto open = m_open.begin(); open != m_open.end();)
            if (!open->dialog || open->dialog.get() == dialog) {
                if (open->dialog)
                    focus = open->focus;
                open = m_open.erase(open);
            } else {
                ++open;
            }
        // The control that had the focus gets it back once its window takes
        // input again: the toolkit would hand it to the window's first
        // control (an editor's tab strip), and a message box shown next
        // would give the focus back to that.
        if (focus && wxGetTopLevelParent(focus) != dialog)
            ReturnFocusTo(focus);
        m_ended();
    }

private:
    // An open dialog and the control that had the focus when it opened.
    struct OpenDialog {
        wxWeakRef<wxDialog> dialog;
        wxWeakRef<wxWindow> focus;
    };
    std::vector<OpenDialog> m_open;
    std::function<void()> m_ended;
};

wxString ProjectFileFilter()
{
    wxString filter = Utf8(FormatResString(IDS_PROJECT_FILTER, "*.zrv", "*.zrv"));
    while (filter.EndsWith("|"))
        filter.RemoveLast();
    return filter.empty() ? wxString("Project File(*.zrv)|*.zrv") : filter;
}

} // namespace

CMainFrame::CMainFrame() = default;

bool CMainFrame::Create(wxDocManager* manager, const wxString& title, CDriveSession& session)
{
    if (!wxDocMDIParentFrame::Create(manager, nullptr, wxID_ANY, title, wxDefaultPosition, wxSize(1000, 700),
                                     wxDEFAULT_FRAME_STYLE | wxFRAME_NO_WINDOW_MENU))
        return false;
    m_pSession = &session;
    m_strAppTitle = title;
    SetMenuBar(CreateMainMenu(IDR_MAINFRAME));
    CreateToolBarButtons();
    CreateStatusPanes();
    CreateDockBar();
    m_pProgressDlg = new CProgressDlg(this);
    m_pConnectCommands = std::make_unique<CConnectCommands>(this);
    // A pass of the link watchdog ends, and its verdict is taken in, before
    // a command's transfer begins.
    m_pDriveWork = std::make_unique<CWindowDriveWork>(this, [this] { m_pConnectCommands->FinishWatchdogPass(); });

    Bind(wxEVT_SIZE, &CMainFrame::OnSize, this);
    Bind(wxEVT_CLOSE_WINDOW, &CMainFrame::OnClose, this);
    // A click reaches the frame as the tree's message, a keyboard choice as
    // a selection change; OnTreeSelect refills once for both.
    Bind(WM_TREE_SELECT, &CMainFrame::OnTreeSelectMessage, this);
    m_wndTree->Bind(wxEVT_DATAVIEW_SELECTION_CHANGED, &CMainFrame::OnTreeSelChanged, this);
    for (int group = 0; group < 15; ++group) {
        Bind(wxEVT_MENU, &CMainFrame::OnGroupPage, this, kGroupCommands[group]);
        Bind(wxEVT_UPDATE_UI, &CMainFrame::OnUpdateGroupPage, this, kGroupCommands[group]);
    }
    // Commands of the open project: without one they would do nothing.
    for (int id : {ID_FILE_SAVE, ID_FILE_PRINT, ID_FILE_PRINT_PREVIEW, ID_COMPARE, ID_CONNECT})
        Bind(wxEVT_UPDATE_UI, &CMainFrame::OnUpdateNeedsProject, this, id);
    Bind(wxEVT_UPDATE_UI, &CMainFrame::OnUpdateRead, this, ID_READ);
    Bind(wxEVT_UPDATE_UI, &CMainFrame::OnUpdateWrite, this, ID_WRITE);
    // The live windows' menu is the project window's: without a project
    // their toolbar buttons are off as well.
    for (int id : {ID_MONITOR_STATUS, ID_MONITOR_CONTROL, ID_KEYPAD})
        Bind(wxEVT_UPDATE_UI, &CMainFrame::OnUpdateLiveWindow, this, id);
    Bind(wxEVT_UPDATE_UI, &CMainFrame::OnUpdateGraphWatch, this, ID_GRAPH_WATCH);
    Bind(wxEVT_UPDATE_UI, &CMainFrame::OnUpdatePassword, this, ID_PASSWORD_SET);
    Bind(wxEVT_UPDATE_UI, &CMainFrame::OnUpdateConnected, this, ID_PASSWORD_RELEASE);
    Bind(wxEVT_MENU, &CMainFrame::OnStatus, this, ID_MONITOR_STATUS);
    Bind(wxEVT_MENU, &CMainFrame::OnControl, this, ID_MONITOR_CONTROL);
    Bind(wxEVT_MENU, &CMainFrame::OnGraphWatch, this, ID_GRAPH_WATCH);
    Bind(wxEVT_MENU, &CMainFrame::OnKeyPad, this, ID_KEYPAD);
    Bind(wxEVT_MENU, &CMainFrame::OnViewProject, this, ID_VIEW_PROJECT);
    Bind(wxEVT_UPDATE_UI, &CMainFrame::OnUpdateViewProject, this, ID_VIEW_PROJECT);
    Bind(wxEVT_MENU, &CMainFrame::OnViewToolBar, this, ID_VIEW_TOOLBAR);
    Bind(wxEVT_UPDATE_UI, &CMainFrame::OnUpdateViewToolBar, this, ID_VIEW_TOOLBAR);
    Bind(wxEVT_MENU, &CMainFrame::OnViewStatusBar, this, ID_VIEW_STATUS_BAR);
    Bind(wxEVT_UPDATE_UI, &CMainFrame::OnUpdateViewStatusBar, this, ID_VIEW_STATUS_BAR);
    Bind(wxEVT_MENU, &CMainFrame::OnHelpHowTo, this, ID_HELP_HOWTO);
    Bind(wxEVT_MENU, &CMainFrame::OnExit, this, ID_APP_EXIT);
    Bind(wxEVT_MENU, &CMainFrame::OnFileClose, this, ID_FILE_CLOSE);
    Bind(wxEVT_MENU, &CMainFrame::OnPrintSetup, this, ID_FILE_PRINT_SETUP);
    Bind(wxEVT_MENU, &CMainFrame::OnNextPane, this, ID_NEXT_PANE);
    Bind(wxEVT_MENU, &CMainFrame::OnNextPane, this, ID_PREV_PANE);
    Bind(wxEVT_CHAR_HOOK, &CMainFrame::OnCharHook, this);
    Bind(wxEVT_CHILD_FOCUS, &CMainFrame::OnChildFocus, this);
    m_pModalEnd = std::make_unique<CModalEndFocus>([this] {
        if (!m_bDestroying)
            CallAfter([this] { RestoreFocus(); });
    });
    m_pModalEnd->Register();
    m_nDeleteSignal = g_signal_lookup("delete-event", GTK_TYPE_WIDGET);
    m_nDeleteHook = g_signal_add_emission_hook(m_nDeleteSignal, 0, OnDeleteEventEmission, this, nullptr);
    // The menus carry the other accelerators in their texts; the edit keys
    // are the text fields' own.
    wxAcceleratorEntry panes[] = {{wxACCEL_NORMAL, WXK_F6, ID_NEXT_PANE}, {wxACCEL_SHIFT, WXK_F6, ID_PREV_PANE}};
    SetAcceleratorTable(wxAcceleratorTable(2, panes));
    return true;
}

CMainFrame::~CMainFrame()
{
    m_bDestroying = true;
    if (m_pModalEnd)
        m_pModalEnd->Unregister();
    if (m_nDeleteHook)
        g_signal_remove_emission_hook(m_nDeleteSignal, m_nDeleteHook);
    m_wndDockManager.UnInit();
    if (!m_pSession)
        return;
    m_pConnectCommands->StopWatchdog();
    m_pDriveWork.reset();
    CDriveSession& session = *m_pSession;
    if (session.m_pComm) {
        // No background transfer may still use the link object.
        StopBackgroundTransfers();
        session.m_pComm->Close();
        delete session.m_pComm;
        session.m_pComm = nullptr;
        session.m_bConnected = 0;
    }
}

void CMainFrame::StartLinkWatchdog()
{
    m_pConnectCommands->StartWatchdog();
}

void CMainFrame::StopLinkWatchdog()
{
    m_pConnectCommands->StopWatchdog();
}

bool CMainFrame::Show(bool show)
{
    // Under a window manager wx holds the first showing back until the
    // manager tells the frame's border, and lays the frame out meanwhile at a
    // width of two pixels: far below what the toolbar needs, which GTK
    // reports as a critical fault. Realized first at its own size, the frame
    // is shown at once and laid out at that size. Shown at once, it is also
    // on the desktop before any window opened over it at the start (a box,
    // a chooser, the editor): held back, it would come after them, in front
    // of them and active, and they would never get the keyboard.
    if (show && !IsShown() && m_widget && !gtk_widget_get_realized(m_widget)) {
        const wxSize size = GetSize();
        GtkAllocation allocation{0, 0, size.x, size.y};
        gtk_widget_set_allocation(m_widget, &allocation);
        gtk_widget_realize(m_widget);
    }
    return wxDocMDIParentFrame::Show(show);
}

void CMainFrame::CreateToolBarButtons()
{
    auto* toolbar = new CColorToolBar(this);
    SetToolBar(toolbar);
    toolbar->SetTrueColorImageList(CColorToolBar::TB_SETIMAGELIST, IDB_TOOLBAR_NORMAL, kToolImageWidth);
    toolbar->SetTrueColorImageList(CColorToolBar::TB_SETHOTIMAGELIST, IDB_TOOLBAR_HOT, kToolImageWidth);
    toolbar->SetTrueColorImageList(CColorToolBar::TB_SETDISABLEDIMAGELIST, IDB_TOOLBAR_DISABLED, kToolImageWidth);
    std::vector<CColorToolBar::Button> buttons;
    for (int id : kToolbarButtons)
        buttons.push_back({id, id ? PromptLine(id, true) : wxString(), id ? PromptLine(id, false) : wxString()});
    toolbar->AddButtons(buttons);
}

void CMainFrame::CreateStatusPanes()
{
    CreateStatusBar(kPaneCount);
    // The panes carry the project's state; menu help must not overwrite pane 0.
    SetStatusBarPane(-1);
    for (int pane = 0; pane < kPaneLink; ++pane)
        SetStatusPaneText(pane, "");
    SetStatusPaneText(kPaneLink, LoadResString(IDS_UNLINK));
    LayoutStatusPanes(GetClientSize().x);
}

wxStatusBar* CMainFrame::OnCreateStatusBar(int number, long style, wxWindowID id, const wxString& name)
{
    auto* bar = new CMainStatusBar(this, id, style, name);
    bar->SetFieldsCount(number);
    // A reader's "read the status bar" looks for this role.
    SetAccessibleRole(bar, AccessibleRole::StatusBar);
    return bar;
}

void CMainFrame::LayoutStatusPanes(int clientWidth)
{
    wxStatusBar* bar = GetStatusBar();
    if (!bar)
        return;
    std::array<int, 5> widths = StatusPaneWidths(clientWidth);
    bar->SetStatusWidths(kPaneCount, widths.data());
}

void CMainFrame::CreateDockBar()
{
    m_wndDockManager.SetManagedWindow(this);
    m_wndTabCtrl = new CCoolTabCtrl(this, ID_TAB_CTRL, wxSize(CCoolBar::kDockedWidth, CCoolBar::kDockedHeight),
                                    wxNB_BOTTOM);
    m_wndTree = new CCJTreeCtrl(m_wndTabCtrl, 0);
    m_wndTabCtrl->AddPage(m_wndTree, Utf8(LoadResString(IDS_PROJECT)));
    NameListForReaders(m_wndTree, Utf8(LoadResString(IDS_PROJECT)));
    m_wndDockManager.AddPane(m_wndTabCtrl,
                             CCoolBar::PaneInfo(kDockPaneName, Utf8(LoadResString(IDS_DOCK_WINDOWS))));
    m_wndDockManager.AddPane(GetClientWindow(), wxAuiPaneInfo().Name("projects").CenterPane());
    m_wndDockManager.Update();
}

void CMainFrame::AttachApp(CD390App* app)
{
    m_pApp = app;
    if (!app)
        return;
    Bind(wxEVT_MENU, &CD390App::OnFileNew, app, ID_FILE_NEW);
    Bind(wxEVT_MENU, &CD390App::OnFileOpen, app, ID_FILE_OPEN);
    Bind(wxEVT_MENU, &CD390App::OnAppAbout, app, ID_APP_ABOUT);
    Bind(wxEVT_MENU, &CD390App::OnOpenRecentFile, app, ID_FILE_MRU_FILE1, ID_FILE_MRU_LAST);
    SetDropTarget(new CProjectDropTarget(app));
    UpdateRecentFileMenus();
}

void CMainFrame::UpdateRecentFileMenus()
{
    if (!m_pApp || !m_pApp->m_pRecentFileList)
        return;
    UpdateRecentFileMenu(GetMenuBar(), *m_pApp->m_pRecentFileList);
    if (CChildFrame* child = GetActiveProjectFrame())
        UpdateRecentFileMenu(child->GetMenuBar(), *m_pApp->m_pRecentFileList);
}

void CMainFrame::SetStatusPaneText(int pane, const std::string& text)
{
    if (pane < 0 || pane >= kPaneCount)
        return;
    wxStatusBar* bar = GetStatusBar();
    if (!bar)
        return;
    bar->SetStatusText(Utf8(StatusPaneText(pane, text)), pane);
    // The bar draws its panes itself: assistive tools read them as its name,
    // told only when it changes (the watchdog sets the same texts again).
    wxString panes;
    for (int shown = 0; shown < kPaneCount; ++shown) {
        const std::string text = GetStatusPaneText(shown);
        if (text.empty())
            continue;
        if (!panes.empty())
            panes += "; ";
        panes += Utf8(text);
    }
    if (GetAccessibleName(bar) != panes)
        SetAccessibleName(bar, panes);
}

std::string CMainFrame::GetStatusPaneText(int pane) const
{
    wxStatusBar* bar = GetStatusBar();
    if (!bar || pane < 0 || pane >= kPaneCount)
        return {};
    return bar->GetStatusText(pane).utf8_string();
}

FileChoice CMainFrame::ProjectFileChoice(bool save) const
{
    FileChoice choice;
    choice.save = save;
    choice.filter = ProjectFileFilter().utf8_string();
    choice.title = LoadResString(save ? IDS_SAVE_PROJECT_TITLE : IDS_OPEN_PROJECT_TITLE);
    const CD390DocData* project = GetActiveProject();
    if (project && !project->m_strProjectPath.empty())
        choice.folder = wxFileName(Utf8(project->m_strProjectPath)).GetPath().utf8_string();
    return choice;
}

int CMainFrame::PromptSaveProjectFile(std::string& path)
{
    std::string chosen;
    if (!ChooseFile(this, ProjectFileChoice(true), chosen))
        return 0;
    // A name typed without extension gets the project extension.
    wxFileName name(wxString::FromUTF8(chosen));
    if (!name.HasExt())
        name.SetExt("zrv");
    path = name.GetFullPath().utf8_string();
    return 1;
}

int CMainFrame::PromptOpenProjectFile(std::string& path)
{
    return ChooseFile(this, ProjectFileChoice(false), path) ? 1 : 0;
}

void CMainFrame::InitProjectTree(int modelCode)
{
    m_bFillingTree = true;
    m_wndTree->DeleteAllItems();
    CCJTreeCtrl::Item* parents[3] = {};
    for (const ProjectTreeEntry& entry : ProjectTreeEntries(modelCode)) {
        wxString text = Utf8(LoadResString(entry.textId));
        if (entry.level == 0)
            parents[0] = m_wndTree->AddRoot(text, entry.data);
        else
            parents[entry.level] = m_wndTree->AppendItem(parents[entry.level - 1], text, entry.data);
    }
    m_wndTree->Expand(parents[0]);
    m_wndTree->Expand(parents[1]);
    m_bFillingTree = false;
}

void CMainFrame::ClearProjectTree()
{
    m_bFillingTree = true;
    m_wndTree->DeleteAllItems();
    m_bFillingTree = false;
}

void CMainFrame::OnTreeSelChanged(wxDataViewEvent&)
{
    // A click's choice is taken by the tree's message, which is on its way
    // already and comes first; one made with the keys keeps the focus in the
    // tree, so that the next arrow key moves on there and a screen reader
    // hears the tree alone.
    if (!m_bFillingTree)
        CallAfter([this] { OnTreeSelect(false); });
}

void CMainFrame::OnTreeSelectMessage(wxCommandEvent&)
{
    OnTreeSelect();
}

void CMainFrame::OnTreeSelect(bool focusList)
{
    CD390View* view = GetActiveProjectView();
    CCJTreeCtrl::Item* item = m_wndTree->GetSelectedItem();
    if (!view || !item || item->data == 0)
        return;
    int group = GroupOfTreeData(static_cast<int>(item->data));
    if (group < -1 || group == view->GetListGroup())
        return;
    view->FillGroupList(group);
    if (focusList)
        view->FocusFirstRow();
    else if (CXListCtrl* list = view->GetList())
        list->SelectItem(0);
}

void CMainFrame::ShowProjectInTitle(const wxString& project)
{
    SetTitle(project.empty() ? m_strAppTitle : m_strAppTitle + " - " + project);
}

void CMainFrame::OnProjectWindowClosing(wxWindow* closing)
{
    // A project that replaces another opens before the old one closes.
    wxString remaining;
    if (wxDocManager* manager = GetDocumentManager())
        for (wxDocument* document : manager->GetDocumentsVector())
            for (wxView* view : document->GetViewsVector())
                if (view->GetFrame() && view->GetFrame() != closing)
                    remaining = view->GetFrame()->GetLabel();
    ShowProjectInTitle(remaining);
}

void CMainFrame::AddToRecentFileList(const std::string& path)
{
    if (m_pApp)
        m_pApp->AddToRecentFileList(path);
}

void CMainFrame::SetProjectWindowTitle(const std::string& title)
{
    if (CChildFrame* child = GetActiveProjectFrame())
        child->SetTitle(Utf8(title));
}

CD390View* CMainFrame::GetActiveProjectView() const
{
    wxDocManager* manager = GetDocumentManager();
    // One project at a time: its view counts as active even before the window
    // system has reported the activation.
    return manager ? dynamic_cast<CD390View*>(manager->GetAnyUsableView()) : nullptr;
}

CD390DocData* CMainFrame::GetActiveProject() const
{
    CD390View* view = GetActiveProjectView();
    return view ? view->GetDocData() : nullptr;
}

CChildFrame* CMainFrame::GetActiveProjectFrame() const
{
    CD390View* view = GetActiveProjectView();
    return view ? dynamic_cast<CChildFrame*>(view->GetFrame()) : nullptr;
}

int CMainFrame::IsParamChangedByRow(int row) const
{
    CD390View* view = GetActiveProjectView();
    return view ? view->IsParamChangedByRow(row) : 0;
}

void CMainFrame::OnSize(wxSizeEvent& event)
{
    LayoutStatusPanes(GetClientSize().x);
    event.Skip();
}

void CMainFrame::OnClose(wxCloseEvent& event)
{
    // A second close while the first waits for the reader is the same close.
    if (m_bClosing) {
        if (event.CanVeto())
            event.Veto();
        return;
    }
    // A command's drive transfer ends first; the frame closes after it.
    if (IsDriveTransferActive() && event.CanVeto()) {
        event.Veto();
        if (!m_bCloseAfterTransfer) {
            m_bCloseAfterTransfer = true;
            WhenDriveTransfersEnd([this] {
                CallAfter([this] {
                    m_bCloseAfterTransfer = false;
                    Close();
                });
            });
        }
        return;
    }
    m_bClosing = true;
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{m_bClosing};
    // Auto-refresh stops first: the project windows then close as usual.
    StopBackgroundTransfers();
    event.Skip();
}

void CMainFrame::StopBackgroundTransfers()
{
    m_pConnectCommands->StopWatchdogPass();
    CBackgroundJob::JoinReleasedJobs(); // exchanges of live windows closed in the middle of one
    // The process's manager: this runs from the destructor too, which may
    // come after the manager is gone.
    wxDocManager* manager = wxDocManager::GetDocumentManager();
    if (!manager)
        return;
    for (wxDocument* document : manager->GetDocumentsVector())
        for (wxView* view : document->GetViewsVector())
            if (auto* project = dynamic_cast<CD390View*>(view))
                project->StopReadThread(!m_bDestroying);
}

void CMainFrame::OnGroupPage(wxCommandEvent& event)
{
    int group = GroupOfCommand(event.GetId());
    if (group < 0 || !GetActiveProjectView())
        return;
    GetActiveProjectView()->OpenEditor(group, -1);
}

void CMainFrame::OnUpdateGroupPage(wxUpdateUIEvent& event)
{
    const CD390DocData* project = GetActiveProject();
    if (event.GetId() == ID_GROUP_14)
        event.Enable(project && ModelHasGroup14(project->m_nModelCode));
    else
        event.Enable(project);
}

void CMainFrame::OnUpdateNeedsProject(wxUpdateUIEvent& event)
{
    // Connect too stays enabled while connected: its dialog holds Disconnect.
    event.Enable(GetActiveProjectView() != nullptr);
}

void CMainFrame::OnUpdateRead(wxUpdateUIEvent& event)
{
    event.Enable(Session().m_bConnected && GetActiveProjectView());
}

void CMainFrame::OnUpdateWrite(wxUpdateUIEvent& event)
{
    event.Enable(Session().m_bConnected && GetActiveProjectView());
}

void CMainFrame::OnUpdateLiveWindow(wxUpdateUIEvent& event)
{
    event.Enable(Session().m_bConnected != 0 && GetActiveProjectView() != nullptr);
}

void CMainFrame::OnUpdateConnected(wxUpdateUIEvent& event)
{
    event.Enable(Session().m_bConnected != 0);
}

void CMainFrame::OnUpdatePassword(wxUpdateUIEvent& event)
{
    event.Enable(Session().m_bConnected == 1);
}

void CMainFrame::OnUpdateGraphWatch(wxUpdateUIEvent& event)
{
    event.Enable(GetActiveProjectView() != nullptr);
}

void CMainFrame::OnKeyPad(wxCommandEvent&)
{
    RunModalToMainFrame(new CKeyPadDlg(this, Session(), LiveDriveInfoOf(Session(), GetActiveProject())), this);
}

void CMainFrame::OnControl(wxCommandEvent&)
{
    RunModalToMainFrame(new CMonitorControlDlg(this, Session(), 0, GetActiveProject()), this);
}

void CMainFrame::OnStatus(wxCommandEvent&)
{
    RunModalToMainFrame(new CMonitorStatusDlg(this, Session(), 0, GetActiveProject()), this);
}

void CMainFrame::OnGraphWatch(wxCommandEvent&)
{
    RunModalToMainFrame(CreateGraphWindow(this, Session(), GetActiveProject()), this);
}

void CMainFrame::OnViewProject(wxCommandEvent&)
{
    wxAuiPaneInfo& pane = m_wndDockManager.GetPane(kDockPaneName);
    pane.Show(!pane.IsShown());
    m_wndDockManager.Update();
}

void CMainFrame::OnUpdateViewProject(wxUpdateUIEvent& event)
{
    event.Check(m_wndDockManager.GetPane(kDockPaneName).IsShown());
}

void CMainFrame::OnViewToolBar(wxCommandEvent&)
{
    if (wxToolBar* toolbar = GetToolBar()) {
        toolbar->Show(!toolbar->IsShown());
        SendSizeEvent();
    }
}

void CMainFrame::OnUpdateViewToolBar(wxUpdateUIEvent& event)
{
    event.Check(GetToolBar() && GetToolBar()->IsShown());
}

void CMainFrame::OnViewStatusBar(wxCommandEvent&)
{
    if (wxStatusBar* bar = GetStatusBar()) {
        bar->Show(!bar->IsShown());
        SendSizeEvent();
    }
}

void CMainFrame::OnUpdateViewStatusBar(wxUpdateUIEvent& event)
{
    event.Check(GetStatusBar() && GetStatusBar()->IsShown());
}

void CMainFrame::OnHelpHowTo(wxCommandEvent&)
{
    wxString path = Utf8((m_pApp ? m_pApp->m_strProgramFolder : std::string()) + kHelpFileName);
    if (!wxFileExists(path) || !wxLaunchDefaultApplication(path))
        AfxMessageBox(IDS_HELP_MISSING);
}

void CMainFrame::OnExit(wxCommandEvent&)
{
    Close();
}

void CMainFrame::OnFileClose(wxCommandEvent&)
{
    if (CD390View* view = GetActiveProjectView())
        view->OnFileClose();
}

void CMainFrame::OnPrintSetup(wxCommandEvent&)
{
    wxPageSetupDialogData data(m_pageSetupData);
    wxPageSetupDialog dialog(this, &data);
    if (dialog.ShowModal() == wxID_OK)
        SetPageSetupData(dialog.GetPageSetupDialogData());
}

void CMainFrame::SetPageSetupData(const wxPageSetupDialogData& data)
{
    m_pageSetupData = data;
    if (wxDocManager* manager = GetDocumentManager())
        for (wxDocument* document : manager->GetDocumentsVector())
            for (wxView* view : document->GetViewsVector())
                if (auto* project = dynamic_cast<CD390View*>(view); project && project->GetExchangeCommands())
                    project->GetExchangeCommands()->SetPageSetup(m_pageSetupData.GetPrintData());
}

std::vector<wxWindow*> CMainFrame::FocusPanes() const
{
    std::vector<wxWindow*> panes;
    if (m_wndTree && m_wndTree->IsShownOnScreen())
        panes.push_back(m_wndTree);
    if (CD390View* view = GetActiveProjectView(); view && view->GetList() && view->GetList()->IsShownOnScreen())
        panes.push_back(view->GetList());
    return panes;
}

void CMainFrame::MoveFocusBetweenPanes(bool forward)
{
    const std::vector<wxWindow*> panes = FocusPanes();
    if (panes.empty())
        return;
    int current = -1;
    for (wxWindow* focus = FindFocus(); focus && current < 0 && focus != this; focus = focus->GetParent())
        for (std::size_t pane = 0; pane < panes.size(); ++pane)
            if (panes[pane] == focus)
                current = static_cast<int>(pane);
    const int count = static_cast<int>(panes.size());
    int next = 0;
    if (current < 0)
        next = forward ? 0 : count - 1;
    else
        next = (current + (forward ? 1 : count - 1)) % count;
    panes[static_cast<std::size_t>(next)]->SetFocus();
}

void CMainFrame::OnNextPane(wxCommandEvent& event)
{
    MoveFocusBetweenPanes(event.GetId() == ID_NEXT_PANE);
}

void CMainFrame::OnCharHook(wxKeyEvent& event)
{
    // Tab and Shift+Tab go between the tree and the list, as F6 does; GTK's
    // own order would stop at the tab strips and the project window. Keys of
    // the windows this frame owns (Print Preview, the recorder) pass through
    // here too: those are theirs, and taking one would hand the focus to
    // this frame while they keep it disabled.
    const int modifiers = event.GetModifiers();
    auto* from = dynamic_cast<wxWindow*>(event.GetEventObject());
    const bool ours = IsEnabled() && (!from || wxGetTopLevelParent(from) == this);
    if (!ours || event.GetKeyCode() != WXK_TAB || (modifiers != wxMOD_NONE && modifiers != wxMOD_SHIFT)
        || FocusPanes().empty()) {
        event.Skip();
        return;
    }
    MoveFocusBetweenPanes(modifiers == wxMOD_NONE);
}

void CMainFrame::OnChildFocus(wxChildFocusEvent& event)
{
    event.Skip();
    RememberFocus(event.GetWindow());
}

void CMainFrame::RememberFocus(wxWindow* focus)
{
    const std::vector<wxWindow*> panes = FocusPanes();
    for (wxWindow* window = focus; window && window != this; window = window->GetParent())
        if (std::find(panes.begin(), panes.end(), window) != panes.end()) {
            m_pLastFocus = window;
            return;
        }
}

bool CMainFrame::Enable(bool enable)
{
    if (!enable) {
        // The control to come back to, before GTK takes the focus from it.
        RememberFocus(FindFocus());
    }
    const bool changed = wxDocMDIParentFrame::Enable(enable);
    if (enable && changed && !m_bDestroying)
        CallAfter([this] { RestoreFocus(); });
    return changed;
}

void CMainFrame::RestoreFocus()
{
    // A modal dialog still open (one closed over another) keeps the focus.
    if (!IsEnabled() || !IsShown() || IsBeingDeleted() || static_cast<CModalEndFocus&>(*m_pModalEnd).AnyOpen())
        return;
    wxWindow* control = m_pLastFocus.get();
    if (!control || !control->IsShownOnScreen())
        return;
    // Another window of the program that took the focus meanwhile keeps it.
    // (A closed dialog may still be named as having it.)
    wxWindow* focus = FindFocus();
    wxWindow* focusWindow = focus ? wxGetTopLevelParent(focus) : nullptr;
    if (focusWindow && focusWindow != this && focusWindow->IsShown() && !focusWindow->IsBeingDeleted())
        return;
    // The closed window took the desktop's focus with it.
    if (!IsActive())
        Raise();
    control->SetFocus();
}

void CMainFrame::NameListForReaders(wxDataViewCtrl* list, const wxString& name)
{
    if (!list)
        return;
    SetAccessibleName(list, name);
    // Readers name the tree view inside, which takes the focus.
    if (AtkObject* accessible = gtk_widget_get_accessible(list->GtkGetTreeView()))
        atk_object_set_name(accessible, name.utf8_str().data());
}
