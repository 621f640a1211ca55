#include "document/D390Doc.h"

#include "platform/ResourceModule.h"
#include "res/StringIds.h"

#include <wx/filename.h>

wxIMPLEMENT_DYNAMIC_CLASS(CD390Doc, wxDocument);

wxBEGIN_EVENT_TABLE(CD390Doc, wxDocument)
    EVT_MENU(ID_FILE_SAVE, CD390Doc::OnFileSave)
    EVT_MENU(ID_FILE_SAVE_AS, CD390Doc::OnFileSaveAs)
wxEND_EVENT_TABLE()

// The table is built by OnNewDocument or by the project load, not here: a
// failed open must leave the open project as it was.
CD390Doc::CD390Doc(CFrameWindows& windows)
    : CD390DocData(windows)
{
}

CD390Doc::~CD390Doc() = default;

bool CD390Doc::OnNewDocument()
{
    if (!wxDocument::OnNewDocument())
        return false;
    // The name its window shows (and shows again, with a mark, once modified).
    SetTitle(wxString::FromUTF8(LoadResString(IDS_NEW_PROJECT)));
    return NewProject();
}

bool CD390Doc::OnOpenDocument(const wxString& path)
{
    if (!OpenProject(path.utf8_string()))
        return false;
    SetDocumentSaved(true);
    UpdateAllViews();
    return true;
}

bool CD390Doc::OnSaveModified()
{
    return SaveModified();
}

bool CD390Doc::Save()
{
    return SaveProject();
}

bool CD390Doc::SaveAs()
{
    return SaveProjectAs();
}

bool CD390Doc::IsModified() const
{
    return wxDocument::IsModified();
}

void CD390Doc::SetModifiedFlag(bool modified)
{
    Modify(modified);
}

void CD390Doc::Modify(bool modified)
{
    wxDocument::Modify(modified);
}

void CD390Doc::OnFileSave(wxCommandEvent&)
{
    SaveProject();
}

void CD390Doc::OnFileSaveAs(wxCommandEvent&)
{
    SaveProjectAs();
}

void CD390Doc::OnProjectPathChanged(const std::string& path)
{
    const wxString name = wxString::FromUTF8(path);
    // The title first: SetFilename tells the view, which names its window
    // after the title.
    SetTitle(wxFileName(name).GetFullName());
    SetFilename(name, true);
    SetDocumentSaved(true);
}
