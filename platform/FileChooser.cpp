#include "platform/FileChooser.h"

#include <wx/filedlg.h>
#include <wx/filename.h>
#include <wx/stdpaths.h>

namespace {

FileChooser g_chooser;

} // namespace

std::string StartFolderOf(const FileChoice& choice)
{
    if (!choice.folder.empty() && wxDirExists(wxString::FromUTF8(choice.folder)))
        return choice.folder;
    return wxStandardPaths::Get().GetDocumentsDir().utf8_string();
}

bool ChooseFile(wxWindow* parent, const FileChoice& choice, std::string& path)
{
    if (g_chooser)
        return g_chooser(choice, path);
    long style = choice.save ? wxFD_SAVE | wxFD_OVERWRITE_PROMPT : wxFD_OPEN | wxFD_FILE_MUST_EXIST;
    // A save dialog offers a name only; a full path given keeps its folder.
    wxFileName offered(choice.save ? wxString::FromUTF8(path) : wxString());
    wxString folder = offered.GetPath();
    if (folder.empty())
        folder = wxString::FromUTF8(StartFolderOf(choice));
    wxFileDialog dialog(parent, wxString::FromUTF8(choice.title), folder, offered.GetFullName(),
                        wxString::FromUTF8(choice.filter), style);
    if (dialog.ShowModal() != wxID_OK)
        return false;
    path = dialog.GetPath().utf8_string();
    return true;
}

FileChooser SetFileChooser(FileChooser chooser)
{
    FileChooser previous = std::move(g_chooser);
    g_chooser = std::move(chooser);
    return previous;
}
