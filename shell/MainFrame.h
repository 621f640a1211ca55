#pragma once
// The main window: menus, toolbar, five-pane status bar, the docking project
// tree, the parameter-group and monitor commands. It answers the requests of
// the session and the project (CFrameWindows); the drive connection is the
// session's, the project's settings are the document's.

#include "controls/CoolBarManager.h"
#include "document/FrameWindows.h"

#include <wx/aui/framemanager.h>
#include <wx/cmndata.h>
#include <wx/docmdi.h>
#include <wx/weakref.h>

#include <memory>
#include <string>
#include <vector>

struct FileChoice;
class CCJTreeCtrl;
class CChildFrame;
class CConnectCommands;
class CD390App;
class CD390DocData;
class CDriveSession;
class CD390View;
class CProgressDlg;
class CWindowDriveWork;
class wxDataViewCtrl;
class wxDataViewEvent;
class wxModalDialogHook;
class wxNotebook;

class CMainFrame : public wxDocMDIParentFrame, public CFrameWindows {
public:
    // Made in two steps: the session is made with the frame as its windows,
    // then handed to Create, which builds the windows.
    CMainFrame();
    bool Create(wxDocManager* manager, const wxString& title, CDriveSession& session);
    bool Show(bool show = true) override;
    ~CMainFrame() override;

    CDriveSession& Session() const { return *m_pSession; }

    // CFrameWindows
    void SetStatusPaneText(int pane, const std::string& text) override;
    int PromptSaveProjectFile(std::string& path) override;
    int PromptOpenProjectFile(std::string& path) override;
    void InitProjectTree(int modelCode) override;
    void ClearProjectTree() override;
    void AddToRecentFileList(const std::string& path) override;
    void SetProjectWindowTitle(const std::string& title) override;
    void StartLinkWatchdog() override;
    void StopLinkWatchdog() override;
    // Auto-refresh of every project ends after its running cycle; a pass of
    // the link watchdog stops between probes.
    void StopBackgroundTransfers() override;

    // What a pane shows, its label included.
    std::string GetStatusPaneText(int pane) const;

    // The changed flag of a row of the active project's parameter list, from
    // that project's document and the group its list shows.
    int IsParamChangedByRow(int row) const;
    // A choice in the tree (a click or the keyboard): the active project's
    // list shows all groups or one group, unless it shows that already.
    void OnTreeSelect();

    // Pane widths for a client width (3/14, 1/7, 2/7, 1/7, 1/14 of it).
    void LayoutStatusPanes(int clientWidth);

    CChildFrame* GetActiveProjectFrame() const;
    CD390View* GetActiveProjectView() const;
    // The open project's document, or nullptr without one.
    CD390DocData* GetActiveProject() const;

    CCJTreeCtrl* m_wndTree = nullptr;
    wxNotebook* m_wndTabCtrl = nullptr;
    CProgressDlg* m_pProgressDlg = nullptr;
    // Connect, Read, Write, the password commands and the link watchdog.
    std::unique_ptr<CConnectCommands> m_pConnectCommands;
    CCoolBarManager m_wndDockManager; // a double click on the bar's caption docks or floats it

    // The application: New, Open, the recent projects and About are its
    // commands, bound here so that they reach it from every menu.
    void AttachApp(CD390App* app);
    CD390App* m_pApp = nullptr;
    // "D390 - project" while a project is open, "D390" alone otherwise.
    void ShowProjectInTitle(const wxString& project);
    // Rebuilds the recent-project entries of the frame's and the project
    // window's File menus.
    void UpdateRecentFileMenus();
    // A project window is going: the title names the project that stays.
    void OnProjectWindowClosing(wxWindow* closing);

    // The paper, orientation and margins chosen in Print Setup; every
    // project's printing and preview starts from them.
    const wxPageSetupDialogData& GetPageSetupData() const { return m_pageSetupData; }
    // What Print Setup's OK does: keeps data and hands it to open projects.
    void SetPageSetupData(const wxPageSetupDialogData& data);

    // The name a screen reader gives a list or tree when it takes the focus.
    static void NameListForReaders(wxDataViewCtrl* list, const wxString& name);

    // The panes that F6 and Tab go between: the project tree, then the
    // active project's list (those shown).
    std::vector<wxWindow*> FocusPanes() const;
    // Focus to the pane after (or before) the one that has it.
    void MoveFocusBetweenPanes(bool forward);

    // Disabling the frame (a modal window, a transfer) takes the focus out
    // of its controls; enabling it gives the focus back to the control that
    // had it.
    bool Enable(bool enable = true) override;

    wxStatusBar* OnCreateStatusBar(int number, long style, wxWindowID id, const wxString& name) override;

private:
    // The project file dialogs open in the open project's folder.
    FileChoice ProjectFileChoice(bool save) const;
    void CreateToolBarButtons();
    void CreateStatusPanes();
    void CreateDockBar();

    void OnSize(wxSizeEvent& event);
    void OnClose(wxCloseEvent& event);
    void OnTreeSelChanged(wxDataViewEvent& event);
    void OnTreeSelectMessage(wxCommandEvent& event);
    void OnGroupPage(wxCommandEvent& event);
    void OnUpdateGroupPage(wxUpdateUIEvent& event);
    void OnUpdateNeedsProject(wxUpdateUIEvent& event);
    void OnUpdateRead(wxUpdateUIEvent& event);
    void OnUpdateWrite(wxUpdateUIEvent& event);
    void OnUpdateConnected(wxUpdateUIEvent& event);
    void OnUpdateGraphWatch(wxUpdateUIEvent& event);
    void OnUpdatePassword(wxUpdateUIEvent& event);
    void OnKeyPad(wxCommandEvent& event);
    void OnControl(wxCommandEvent& event);
    void OnStatus(wxCommandEvent& event);
    void OnGraphWatch(wxCommandEvent& event);
    void OnViewProject(wxCommandEvent& event);
    void OnUpdateViewProject(wxUpdateUIEvent& event);
    void OnViewToolBar(wxCommandEvent& event);
    void OnUpdateViewToolBar(wxUpdateUIEvent& event);
    void OnViewStatusBar(wxCommandEvent& event);
    void OnUpdateViewStatusBar(wxUpdateUIEvent& event);
    void OnHelpHowTo(wxCommandEvent& event);
    void OnExit(wxCommandEvent& event);
    void OnFileClose(wxCommandEvent& event);
    void OnPrintSetup(wxCommandEvent& event);
    void OnNextPane(wxCommandEvent& event);
    void OnCharHook(wxKeyEvent& event);
    void OnChildFocus(wxChildFocusEvent& event);
    void OnUpdateLiveWindow(wxUpdateUIEvent& event);
    void RememberFocus(wxWindow* focus);
    void RestoreFocus();

    CDriveSession* m_pSession = nullptr;
    bool m_bFillingTree = false;
    // Background transfers stop without an event loop of their own here.
    bool m_bDestroying = false;
    // Read, Write and Compare's read run their drive traffic through it.
    std::unique_ptr<CWindowDriveWork> m_pDriveWork;
    bool m_bClosing = false;
    bool m_bCloseAfterTransfer = false;
    wxString m_strAppTitle;
    wxPageSetupDialogData m_pageSetupData;
    // The tree or list that had the focus last.
    wxWeakRef<wxWindow> m_pLastFocus;
    // Gives the focus back when a modal dialog has closed.
    std::unique_ptr<wxModalDialogHook> m_pModalEnd;
    // The hook that takes the desktop's close request while disabled.
    unsigned m_nDeleteSignal = 0;
    unsigned long m_nDeleteHook = 0;
};
