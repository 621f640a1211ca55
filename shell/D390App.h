#pragma once
// The application object: start-up (resource module, profile, recent projects,
// document template, main frame, command line, hand-over file), the File
// commands New, Open and the recent projects, About, and exit.

#include "platform/Accessibility.h"

#include <wx/app.h>

#include <memory>
#include <string>
#include <vector>

class CDriveSession;
class CEditKeysFilter;
class CMainFrame;
class CRecentFileList;
class wxConfigBase;
class wxDocManager;
class wxDocTemplate;
class wxDocument;

class CD390App : public wxApp {
public:
    CD390App();
    ~CD390App() override;

    bool OnInit() override;
    int OnExit() override;

    // Start-up with the command line's arguments (args[0] the program) and
    // the program folder (ending with '/'). False: the program ends.
    bool InitInstance(const std::vector<std::string>& args, const std::string& programFolder);
    // Stores the recent projects and gives back the frame-independent parts.
    int ExitInstance();

    bool LoadResourceDll(const std::string& programFolder);
    void AddToRecentFileList(const std::string& path);
    bool OpenRecentProject(const std::string& path);
    // A project file dropped on the main window; true when it opened.
    bool OpenDroppedProject(const std::string& path);

    void OnFileNew(wxCommandEvent& event);
    void OnFileOpen(wxCommandEvent& event);
    void OnOpenRecentFile(wxCommandEvent& event);
    void OnAppAbout(wxCommandEvent& event);

    wxDocManager* m_pDocManager = nullptr;
    wxDocTemplate* m_pDocTemplate = nullptr;
    std::unique_ptr<CRecentFileList> m_pRecentFileList; // 8 projects, "My Recent File List"
    std::unique_ptr<CRecentFileList> m_pStdRecentFileList; // the framework's 4, "Recent File List"
    // Names the fields of every window shown for assistive tools.
    std::unique_ptr<CAccessibleNamesFilter> m_pAccessibleNames;
    // Undo by Ctrl+Z and Alt+Backspace in every text field.
    std::unique_ptr<CEditKeysFilter> m_pEditKeys;
    CMainFrame* m_pMainFrame = nullptr;
    // The drive session of the process, made with the main frame's windows.
    std::unique_ptr<CDriveSession> m_pSession;
    // The folder of the program and its data files, ending with '/'.
    std::string m_strProgramFolder;
    wxConfigBase* m_pConfig = nullptr;

private:
    enum class OpenResult { Refused, Opened, Failed };
    // The save question, then path as the open project (all groups shown).
    OpenResult ReplaceProjectWith(const std::string& path);
    // The open project whose file is path, or nullptr.
    wxDocument* OpenProjectAt(const std::string& path) const;
    // The open project chosen again: unmodified it stays; modified, Yes saves
    // it, No opens it anew from its file, Cancel keeps it as it is.
    OpenResult ReopenProject(wxDocument* open);
    // Refusal while auto-refresh runs, and the save question of a modified
    // project. False: stop. previous is the open project, if any.
    bool PrepareToReplaceProject(wxDocument*& previous);
    // Closes the project that a new or opened one replaces (it was asked
    // about already) and rebuilds the tree and the list.
    void FinishReplacingProject(wxDocument* previous, wxDocument* created);
    // Opens path as the project; nullptr when it does not open. Commands
    // come here through PrepareToReplaceProject, which refuses while
    // auto-refresh runs; start-up opens before any link exists.
    wxDocument* OpenDocumentFile(const std::string& path);
    void RunHandOverJob();
    // Job 2: opens the link, reads the drive's model and starts a new project
    // for it; everything is put back when any of that fails.
    void ConnectAtOnce(const std::vector<std::string>& lines);
    void ReadRecentLists();
    void WriteRecentLists();
};

wxDECLARE_APP(CD390App);
