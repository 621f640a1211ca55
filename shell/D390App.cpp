#include "shell/D390App.h"

#include "document/D390DocData.h"
#include "document/ModelSelectDlg.h"
#include "document/ModelTables.h"
#include "pages/GroupPages.h"
#include "platform/DialogTextFit.h"
#include "platform/MessageBox.h"
#include "platform/ProgramFolder.h"
#include "platform/ResourceModule.h"
#include "platform/WxMessageBox.h"
#include "res/CommandIds.h"
#include "res/StringIds.h"
#include "session/DriveSession.h"
#include "session/CommSettings.h"
#include "session/HandOverFile.h"
#include "session/LinkSetup.h"
#include "session/RecentFileList.h"
#include "shell/AboutDlg.h"
#include "shell/EditKeysFilter.h"
#include "shell/MainFrame.h"
#include "shell/ProjectTemplate.h"
#include "view/D390View.h"


#include <wx/docview.h>
#include <wx/fileconf.h>
#include <wx/log.h>
#include <wx/filename.h>
#include <wx/utils.h>

namespace {

constexpr int kRecentProjects = 8;
constexpr int kStdRecentFiles = 4;
constexpr int kRecentDisplayLength = 30;

std::string Trim(const std::string& text)
{
    std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    std::size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

// The first row of the model table whose name is name, as the model dialog
// offers it; false when no row bears it.
bool FindModelCode(const std::string& name, int& code)
{
    for (const ModelCodeEntry& entry : ModelCodeTable()) {
        std::string capacity;
        if (LookupModelByCode(entry.code, capacity) == name) {
            code = static_cast<int>(entry.code);
            return true;
        }
    }
    return false;
}

// The profile file in the user's configuration folder ($XDG_CONFIG_HOME, else
// ~/.config), made when missing.
std::string ProfilePath()
{
    wxString folder;
    if (!wxGetEnv("XDG_CONFIG_HOME", &folder) || folder.empty())
        folder = wxFileName::GetHomeDir() + "/.config";
    folder += "/d390";
    wxFileName::Mkdir(folder, wxS_DIR_DEFAULT, wxPATH_MKDIR_FULL);
    return (folder + "/d390.conf").utf8_string();
}

std::string WithoutDdeSuffix(std::string path)
{
    const std::string suffix = "/dde";
    if (path.size() >= suffix.size() && path.compare(path.size() - suffix.size(), suffix.size(), suffix) == 0)
        path.erase(path.size() - suffix.size());
    return path;
}

} // namespace

CD390App::CD390App() = default;

CD390App::~CD390App() = default;

bool CD390App::OnInit()
{
    std::vector<std::string> args;
    for (int i = 0; i < argc; ++i)
        args.push_back(argv[i].utf8_string());
    // Without the resource module there are no texts to show: end quietly.
    if (!LoadResourceDll(ExecutableFolder()))
        return false;
    InstallWxMessageHandler();
    return InitInstance(args, ExecutableFolder());
}

int CD390App::OnExit()
{
    ExitInstance();
    delete m_pDocManager;
    m_pDocManager = nullptr;
    UnloadResourceModule();
    return wxApp::OnExit();
}

bool CD390App::LoadResourceDll(const std::string& programFolder)
{
    if (!LoadResourceModule(programFolder))
        return false;
    SetResLanguage(LanguageFromEnvironment());
    return true;
}

bool CD390App::InitInstance(const std::vector<std::string>& args, const std::string& programFolder)
{
    RegisterGroupPages();
    // The profile: a file in the user's configuration folder.
    SetVendorName("Local AppWizard-Generated Applications");
    SetAppName("d390");
    SetAppDisplayName("D390");
    m_pConfig = new wxFileConfig("d390", wxEmptyString, wxString::FromUTF8(ProfilePath()), wxEmptyString,
                                 wxCONFIG_USE_LOCAL_FILE);
    m_pStdRecentFileList = std::make_unique<CRecentFileList>(0, "Recent File List", "File%d", kStdRecentFiles,
                                                             kRecentDisplayLength);
    m_pRecentFileList = std::make_unique<CRecentFileList>(0, "My Recent File List", "MyFile%d", kRecentProjects,
                                                          kRecentDisplayLength);
    ReadRecentLists();

    if (!LoadResourceDll(programFolder))
        return false;

    // Every dialog's texts get the room the toolkit's font and theme need.
    CDialogTextFit::Install();
    m_pAccessibleNames = std::make_unique<CAccessibleNamesFilter>();
    wxEvtHandler::AddFilter(m_pAccessibleNames.get());
    m_pEditKeys = std::make_unique<CEditKeysFilter>();
    wxEvtHandler::AddFilter(m_pEditKeys.get());

    m_pDocManager = new wxDocManager;

    // The session answers to the main frame's windows, which are built once
    // the frame has the session.
    m_pMainFrame = new CMainFrame;
    m_pSession = std::make_unique<CDriveSession>(*m_pMainFrame);
    if (!m_pMainFrame->Create(m_pDocManager, "D390", *m_pSession))
        return false;
    m_pDocTemplate = CreateProjectTemplate(m_pDocManager, *m_pMainFrame, programFolder);
    SetTopWindow(m_pMainFrame);
    m_strProgramFolder = programFolder;
    g_strAppFolder = programFolder;
    m_pMainFrame->AttachApp(this);

    // Shown before a project opens, so that its window is laid out in a
    // frame of its real size.
    m_pMainFrame->Show();
    m_pMainFrame->Maximize();

    std::string path = args.size() > 1 ? WithoutDdeSuffix(args[1]) : std::string();
    if (!path.empty() && !OpenDocumentFile(path))
        return false;

    RunHandOverJob();
    LoadCommSettings();
    return true;
}

int CD390App::ExitInstance()
{
    if (m_pAccessibleNames) {
        wxEvtHandler::RemoveFilter(m_pAccessibleNames.get());
        m_pAccessibleNames.reset();
    }
    if (m_pEditKeys) {
        wxEvtHandler::RemoveFilter(m_pEditKeys.get());
        m_pEditKeys.reset();
    }
    WriteRecentLists();
    delete m_pConfig;
    m_pConfig = nullptr;
    return 0;
}

void CD390App::ReadRecentLists()
{
    auto read = [this](const std::string& section, const std::string& key) {
        wxString value;
        m_pConfig->Read(wxString::FromUTF8("/" + section + "/" + key), &value);
        return value.utf8_string();
    };
    m_pStdRecentFileList->ReadList(read);
    m_pRecentFileList->ReadList(read);
}

void CD390App::WriteRecentLists()
{
    if (!m_pConfig || !m_pRecentFileList)
        return;
    auto write = [this](const std::string& section, const std::string& key, const std::string& value) {
        wxString entry = wxString::FromUTF8("/" + section + "/" + key);
        if (value.empty())
            m_pConfig->DeleteEntry(entry, false);
        else
            m_pConfig->Write(entry, wxString::FromUTF8(value));
    };
    m_pStdRecentFileList->WriteList(write);
    m_pRecentFileList->WriteList(write);
    // A profile that cannot be written is not worth a message at exit.
    wxLogNull quiet;
    m_pConfig->Flush();
}

void CD390App::AddToRecentFileList(const std::string& path)
{
    if (!m_pRecentFileList)
        return;
    m_pRecentFileList->Add(path);
    m_pStdRecentFileList->Add(path);
    if (m_pMainFrame)
        m_pMainFrame->UpdateRecentFileMenus();
}

wxDocument* CD390App::OpenDocumentFile(const std::string& path)
{
    if (!m_pDocTemplate)
        return nullptr;
    wxDocument* previous = nullptr;
    const wxList& documents = m_pDocManager->GetDocuments();
    if (documents.GetCount() > 0)
        previous = static_cast<wxDocument*>(documents.GetFirst()->GetData());
    wxDocument* document = m_pDocManager->CreateDocument(wxString::FromUTF8(path), 0);
    if (!document)
        return nullptr;
    FinishReplacingProject(previous, document);
    AddToRecentFileList(path);
    return document;
}

bool CD390App::PrepareToReplaceProject(wxDocument*& previous)
{
    previous = nullptr;
    if (m_pSession->RefusedWhileAutoRefresh())
        return false;
    const wxList& documents = m_pDocManager->GetDocuments();
    if (documents.GetCount() == 0)
        return true;
    previous = static_cast<wxDocument*>(documents.GetFirst()->GetData());
    if (!previous->IsModified())
        return true;
    int answer = AfxMessageBox(IDS_FILE_MODIFIED, MB_YESNOCANCEL | MB_ICONINFORMATION);
    if (answer == IDCANCEL)
        return false;
    if (answer == IDYES) {
        wxCommandEvent save(wxEVT_MENU, ID_FILE_SAVE);
        previous->ProcessEvent(save);
        // A cancelled or failed save keeps the open project.
        return !previous->IsModified();
    }
    return true; // No: it is closed unsaved once the new project stands
}

void CD390App::FinishReplacingProject(wxDocument* previous, wxDocument* created)
{
    if (previous && previous != created) {
        previous->Modify(false);
        m_pDocManager->CloseDocument(previous, true);
    }
    if (auto* project = dynamic_cast<CD390DocData*>(created))
        m_pMainFrame->InitProjectTree(project->m_nModelCode);
    if (auto* view = dynamic_cast<CD390View*>(created->GetFirstView())) {
        view->FillParamList();
        view->FocusFirstRow();
    }
    m_pMainFrame->UpdateRecentFileMenus();
}

void CD390App::OnFileNew(wxCommandEvent&)
{
    wxDocument* previous = nullptr;
    if (!m_pDocTemplate || !PrepareToReplaceProject(previous))
        return;
    const CD390DocData* open = m_pMainFrame->GetActiveProject();
    CModelSelectDlg dialog(nullptr, m_strProgramFolder, open ? open->m_strModelName : std::string());
    if (dialog.ShowModal() != wxID_OK)
        return;
    NewProjectSettings settings;
    settings.modelName = Trim(dialog.m_strModel);
    settings.freqIndex = dialog.m_nFreqIndex;
    if (!FindModelCode(settings.modelName, settings.modelCode))
        return;
    // The open project stays as it is until the new one stands.
    SetNextProjectSettings(m_pDocTemplate, settings);
    wxDocument* document = m_pDocManager->CreateDocument(wxEmptyString, wxDOC_NEW);
    if (!document)
        return;
    FinishReplacingProject(previous, document);
    m_pMainFrame->SetProjectWindowTitle(LoadResString(IDS_NEW_PROJECT));
}

void CD390App::OnFileOpen(wxCommandEvent&)
{
    wxDocument* previous = nullptr;
    if (!m_pDocTemplate || !PrepareToReplaceProject(previous))
        return;
    std::string path;
    if (!m_pMainFrame->PromptOpenProjectFile(path))
        return;
    OpenDocumentFile(path);
}

CD390App::OpenResult CD390App::ReplaceProjectWith(const std::string& path)
{
    if (wxDocument* open = OpenProjectAt(path))
        return ReopenProject(open);
    wxDocument* previous = nullptr;
    if (!PrepareToReplaceProject(previous))
        return OpenResult::Refused;
    if (path.empty() || !m_pDocTemplate)
        return OpenResult::Failed;
    return OpenDocumentFile(path) ? OpenResult::Opened : OpenResult::Failed;
}

wxDocument* CD390App::OpenProjectAt(const std::string& path) const
{
    if (path.empty() || !m_pDocManager)
        return nullptr;
    const wxFileName wanted(wxString::FromUTF8(path));
    for (wxDocument* document : m_pDocManager->GetDocumentsVector())
        if (!document->GetFilename().empty() && wxFileName(document->GetFilename()).SameAs(wanted))
            return document;
    return nullptr;
}

CD390App::OpenResult CD390App::ReopenProject(wxDocument* open)
{
    if (m_pSession->RefusedWhileAutoRefresh())
        return OpenResult::Refused;
    // As it stands in its file: there is nothing to open.
    if (!open->IsModified())
        return OpenResult::Opened;
    const int answer = AfxMessageBox(IDS_FILE_MODIFIED, MB_YESNOCANCEL | MB_ICONINFORMATION);
    if (answer == IDCANCEL)
        return OpenResult::Refused;
    if (answer == IDYES) {
        wxCommandEvent save(wxEVT_MENU, ID_FILE_SAVE);
        open->ProcessEvent(save);
        // Saved, it stands as its file holds it; a cancelled save keeps it.
        return open->IsModified() ? OpenResult::Refused : OpenResult::Opened;
    }
    // No: the project as its file holds it. The open one steps aside so that
    // the framework opens the file anew, and stays when that fails.
    const wxString path = open->GetFilename();
    open->SetFilename(wxEmptyString, false);
    wxDocument* reopened = m_pDocManager->CreateDocument(path, 0);
    if (!reopened) {
        open->SetFilename(path, false);
        return OpenResult::Failed;
    }
    FinishReplacingProject(open, reopened);
    AddToRecentFileList(path.utf8_string());
    return OpenResult::Opened;
}

bool CD390App::OpenRecentProject(const std::string& path)
{
    // Refused or cancelled: the entry stays.
    return ReplaceProjectWith(path) != OpenResult::Failed;
}

bool CD390App::OpenDroppedProject(const std::string& path)
{
    return ReplaceProjectWith(path) == OpenResult::Opened;
}

void CD390App::OnOpenRecentFile(wxCommandEvent& event)
{
    int index = event.GetId() - ID_FILE_MRU_FILE1;
    if (!m_pRecentFileList || index < 0 || index >= m_pRecentFileList->GetCount())
        return;
    if (!OpenRecentProject(m_pRecentFileList->GetEntry(index))) {
        m_pRecentFileList->Remove(index);
        m_pMainFrame->UpdateRecentFileMenus();
    }
}

void CD390App::OnAppAbout(wxCommandEvent&)
{
    CAboutDlg dialog(nullptr);
    dialog.ShowModal();
}

void CD390App::RunHandOverJob()
{
    HandOverJob job;
    if (!TakeHandOverFile(TempFolder() + kHandOverFileName, job))
        return;
    if (job.job == 1 && !job.lines.empty() && !job.lines[0].empty())
        OpenDocumentFile(job.lines[0]);
    if (job.job == 2)
        ConnectAtOnce(job.lines);
}

void CD390App::ConnectAtOnce(const std::vector<std::string>& lines)
{
    CDriveSession& session = *m_pSession;
    HandOverConnect connect = ReadHandOverConnect(lines);
    if (!RunHandOverConnect(session, connect))
        return;
    // A new project for the drive's model.
    wxDocument* previous = nullptr;
    const wxList& documents = m_pDocManager->GetDocuments();
    if (documents.GetCount() > 0)
        previous = static_cast<wxDocument*>(documents.GetFirst()->GetData());
    NewProjectSettings settings;
    settings.modelCode = session.m_StationModels.empty() ? kDefaultModelCode : session.m_StationModels.front();
    std::string capacity;
    settings.modelName = LookupModelByCode(static_cast<uint32_t>(settings.modelCode), capacity);
    settings.freqIndex = connect.freqIndex;
    wxDocument* document = nullptr;
    if (m_pDocTemplate) {
        SetNextProjectSettings(m_pDocTemplate, settings);
        document = m_pDocManager->CreateDocument(wxEmptyString, wxDOC_NEW);
    }
    if (!document) {
        RollBackHandOverConnect(session);
        return;
    }
    FinishReplacingProject(previous, document);
    m_pMainFrame->SetProjectWindowTitle(LoadResString(IDS_NEW_PROJECT));
    FinishHandOverConnect(session, connect);
}
