#pragma once
// Document template 129: a project document shown in a child frame by the
// project view.

class wxDocManager;
class wxDocTemplate;

// The template, registered with manager.
wxDocTemplate* CreateProjectTemplate(wxDocManager* manager);
