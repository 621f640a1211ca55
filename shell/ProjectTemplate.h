#pragma once
// Document template 129: a project document shown in a child frame by the
// project view. The template hands each document the main frame's windows
// and the program folder, and each view the session; the child frame is made
// before the view builds its list in it.

#include <functional>
#include <string>

class CMainFrame;
class wxDocManager;
class wxDocTemplate;

// The settings a new project starts from: File New's choice, or the model
// of the drive that the hand-over job connected to.
struct NewProjectSettings {
    int modelCode = 0;
    std::string modelName;
    int freqIndex = 0;
};

// The template, registered with manager. frame: the main frame, which is the
// documents' windows and the parent of their child frames. programFolder:
// where the documents read their definition files.
wxDocTemplate* CreateProjectTemplate(wxDocManager* manager, CMainFrame& frame, std::string programFolder);

// The settings the next document made by the template starts from; taken by
// that document.
void SetNextProjectSettings(wxDocTemplate* projectTemplate, const NewProjectSettings& settings);
