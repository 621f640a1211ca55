#include "shell/ProjectTemplate.h"

#include "view/D390View.h"

#include "document/D390Doc.h"

#include <wx/docview.h>

wxDocTemplate* CreateProjectTemplate(wxDocManager* manager)
{
    // No filter and no extension: projects are opened by path.
    return new wxDocTemplate(manager, "D390", wxEmptyString, wxEmptyString, wxEmptyString, "D390.Document",
                             "D390 Document", CLASSINFO(CD390Doc), CLASSINFO(CD390View));
}
