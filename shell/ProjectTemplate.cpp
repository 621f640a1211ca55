#include "shell/ProjectTemplate.h"

#include "view/D390View.h"

#if __has_include("document/D390Doc.h")
#include "document/D390Doc.h"
#define D390_HAVE_PROJECT_DOCUMENT 1
#endif

#include <wx/docview.h>

wxDocTemplate* CreateProjectTemplate([[maybe_unused]] wxDocManager* manager)
{
#ifdef D390_HAVE_PROJECT_DOCUMENT
    // No filter and no extension: projects are opened by path.
    return new wxDocTemplate(manager, "D390", wxEmptyString, wxEmptyString, wxEmptyString, "D390.Document",
                             "D390 Document", CLASSINFO(CD390Doc), CLASSINFO(CD390View));
#else
    return nullptr;
#endif
}
