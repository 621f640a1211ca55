#include "shell/ProjectTemplate.h"

#include "document/D390Doc.h"
#include "platform/ResourceModule.h"
#include "res/StringIds.h"
#include "shell/ChildFrame.h"
#include "shell/MainFrame.h"
#include "view/D390View.h"
#include "view/ExchangeCommands.h"

#include <wx/docview.h>

#include <optional>

namespace {

class CProjectTemplate : public wxDocTemplate {
public:
    CProjectTemplate(wxDocManager* manager, CMainFrame& frame, std::string programFolder)
        // No filter and no extension: projects are opened by path.
        : wxDocTemplate(manager, "D390", wxEmptyString, wxEmptyString, wxEmptyString, "D390.Document",
                        "D390 Document", CLASSINFO(CD390Doc), CLASSINFO(CD390View)),
          m_frame(frame), m_strProgramFolder(std::move(programFolder))
    {
    }

    void SetNextSettings(const NewProjectSettings& settings) { m_next = settings; }

protected:
    wxDocument* DoCreateDocument() override
    {
        auto* doc = new CD390Doc(m_frame);
        doc->m_strProgramFolder = m_strProgramFolder;
        if (m_next) {
            doc->m_nModelCode = m_next->modelCode;
            doc->m_strModelName = m_next->modelName;
            doc->m_nFreqIndex = m_next->freqIndex;
            m_next.reset();
        }
        return doc;
    }

    wxView* DoCreateView() override
    {
        ProjectViewLinks links;
        links.session = &m_frame.Session();
        links.windows = &m_frame;
        links.mainWindow = &m_frame;
        links.progress = m_frame.m_pProgressDlg;
        return new CD390View(links);
    }

public:
    wxView* CreateView(wxDocument* document, long flags) override
    {
        wxScopedPtr<wxView> view(DoCreateView());
        if (!view)
            return nullptr;
        view->SetDocument(document);
        // The child frame first: the view builds its list inside it.
        view->SetFrame(new CChildFrame(document, view.get(), &m_frame));
        if (!view->OnCreate(document, flags))
            return nullptr;
        // Print Setup's choice holds for every project.
        if (auto* project = dynamic_cast<CD390View*>(view.get())) {
            if (project->GetExchangeCommands())
                project->GetExchangeCommands()->SetPageSetup(m_frame.GetPageSetupData().GetPrintData());
            // What a screen reader calls the list when it takes the focus.
            if (project->GetList())
                CMainFrame::NameListForReaders(project->GetList(), wxString::FromUTF8(LoadResString(IDS_PARAMETER)));
        }
        return view.release();
    }

private:
    CMainFrame& m_frame;
    std::string m_strProgramFolder;
    std::optional<NewProjectSettings> m_next;
};

} // namespace

wxDocTemplate* CreateProjectTemplate(wxDocManager* manager, CMainFrame& frame, std::string programFolder)
{
    return new CProjectTemplate(manager, frame, std::move(programFolder));
}

void SetNextProjectSettings(wxDocTemplate* projectTemplate, const NewProjectSettings& settings)
{
    if (auto* project = dynamic_cast<CProjectTemplate*>(projectTemplate))
        project->SetNextSettings(settings);
}
