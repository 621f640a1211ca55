#include "platform/FileChooser.h"

#include <wx/filedlg.h>

namespace {

FileChooser g_chooser;

} // namespace

bool ChooseFile(wxWindow* parent, const FileChoice& choice, std::string& path)
{
    if (g_chooser)
        return g_chooser(choice, path);
    long style = choice.save ? wxFD_SAVE | wxFD_OVERWRITE_PROMPT : wxFD_OPEN | wxFD_FILE_MUST_EXIST;
    const wxString offered = choice.save ? wxString::FromUTF8(path) : wxString();
    wxFileDialog dialog(parent, wxEmptyString, wxEmptyString, offered, wxString::FromUTF8(choice.filter), style);
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
