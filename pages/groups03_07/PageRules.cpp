#include "pages/groups03_07/PageRules.h"

#include "platform/MessageBox.h"
#include "platform/ResourceModule.h"

bool RefuseForVersion(CGroupPageModel& page, int row, const char* item, const char* range, EditorContext& context)
{
    page.RefuseRow(row, FormatResString(IDS_VERSION_RANGE, item, range), context);
    return false;
}
