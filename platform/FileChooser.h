#pragma once
// The program's file dialogs. Window code shows the system's file chooser;
// tests install a chooser of their own, as they do for message boxes, so that
// no test waits on a window.

#include <functional>
#include <string>

class wxWindow;

struct FileChoice {
    bool save = false;  // a save dialog (asks before overwriting) or an open dialog (file must exist)
    std::string filter; // wx form: "Project File(*.zrv)|*.zrv"
    std::string title;  // the dialog's caption
    // Where the dialog opens: the open project's folder, say; empty gives the
    // user's documents folder (never the program's working folder).
    std::string folder;
};

// The folder a dialog opens in for a choice: its own folder, else the
// user's documents folder.
std::string StartFolderOf(const FileChoice& choice);

// Returns true with the chosen full path, false when the user cancelled. A save
// dialog offers the name that path holds on entry (none when it is empty).
using FileChooser = std::function<bool(const FileChoice& choice, std::string& path)>;

bool ChooseFile(wxWindow* parent, const FileChoice& choice, std::string& path);

// Replaces the chooser (nullptr: the system's dialogs again) and returns the previous one.
FileChooser SetFileChooser(FileChooser chooser);
