#pragma once
// The project's view: the parameter list, group by group, with factory
// defaults and set values; and the project-level commands of the list.

#include "controls/XListCtrl.h"

#include <wx/docview.h>

#include <memory>

class CCompareCommand;
class CD390DocData;
class CDriveSession;
class CFrameWindows;
class CProgressDlg;
class CExchangeCommands;
class CViewAutoRefresh;
class CParamListModel;
class wxDataViewEvent;
class wxTextCtrl;

// What a project view is made with by the project template.
struct ProjectViewLinks {
    CDriveSession* session = nullptr;
    // The main frame's windows: tree, status panes.
    CFrameWindows* windows = nullptr;
    // The main window: what the view's modal waits and dialogs belong to.
    wxWindow* mainWindow = nullptr;
    // The progress window of Read, Write and Compare's read.
    CProgressDlg* progress = nullptr;
};

class CD390View : public wxView {
public:
    // The template gives the view its frame (SetFrame) before OnCreate.
    explicit CD390View(const ProjectViewLinks& links);
    ~CD390View() override;

    CDriveSession& Session() const { return *m_links.session; }
    CFrameWindows& Windows() const { return *m_links.windows; }
    const ProjectViewLinks& Links() const { return m_links; }

    bool OnCreate(wxDocument* document, long flags) override;
    void OnDraw(wxDC*) override {}
    void OnUpdate(wxView* sender, wxObject* hint) override;
    bool OnClose(bool deleteWindow) override;

    // Rebuild the list with the group it shows; or switch it to one group
    // (-1: all groups) and rebuild.
    void FillParamList();
    void FillGroupList(int group);
    // The group this view's list shows, -1 for all groups.
    int GetListGroup() const { return m_nSelGroup; }
    // The changed flag of a row of this list, from this view's document.
    int IsParamChangedByRow(int row) const;
    // Patch the value columns of one group's rows.
    void UpdateGroupValues(int group);
    void UpdateGroupDefaults(int group);
    void UpdateGroupDefaultsAndValues(int group);
    // Focus to the list, row 0 selected.
    void FocusFirstRow();
    // The caption after a print preview: the project file's name, or "New
    // Project" while it has none.
    void OnUpdateFrameTitle();

    CD390DocData* GetDocData() const;
    CXListCtrl* GetList() const { return m_pList; }
    // Export, import and printing of the project.
    CExchangeCommands* GetExchangeCommands() const { return m_pExchange.get(); }
    CParamListModel* GetListModel() const { return m_pModel; }
    // AutoRefresh and Compare of the project.
    CViewAutoRefresh* GetAutoRefresh() const { return m_pAutoRefresh.get(); }
    CCompareCommand* GetCompareCommand() const { return m_pCompare.get(); }
    // Ends auto-refresh after its running cycle (main frame's close, Disconnect).
    // handleEvents: the window thread keeps handling events while a running
    // cycle ends (not from destructors).
    void StopReadThread(bool handleEvents = false);

    // Opens the editor on the parameter of a list row (a double click).
    void OpenEditorAtRow(int row);
    // Opens the editor on a group (position -1 from a menu); no auto-refresh
    // cycle runs while it is open. OK marks the project modified.
    int OpenEditor(int group, int position);
    // Command Close: asks to save a modified project, then closes it. The view
    // is gone afterwards, so the main frame carries the command here.
    void OnFileClose();

    // The group the list shows (the tree's choice), -1 for all groups.
    int m_nSelGroup = -1;
    // The editor's current value field and its selection, the small keyboard's target.
    wxTextCtrl* m_pCurEdit = nullptr;
    long m_dwEditSel = 0;
    wxWindow* m_pKeypad = nullptr;

private:
    void Fill(int selGroup);
    void UpdateGroupColumns(int group, bool defaults, bool values);
    void OnItemActivated(wxDataViewEvent& event);
    void OnListKeyDown(wxKeyEvent& event);
    void OnExportParams(wxCommandEvent& event);
    void OnImportParams(wxCommandEvent& event);
    void OnFilePrint(wxCommandEvent& event);
    void OnFilePrintPreview(wxCommandEvent& event);
    void OnFilePrintTitle(wxCommandEvent& event);

    ProjectViewLinks m_links;
    CXListCtrl* m_pList = nullptr;

    CParamListModel* m_pModel = nullptr;
    std::unique_ptr<CExchangeCommands> m_pExchange;
    std::unique_ptr<CViewAutoRefresh> m_pAutoRefresh;
    std::unique_ptr<CCompareCommand> m_pCompare;

    wxDECLARE_CLASS(CD390View);
};
