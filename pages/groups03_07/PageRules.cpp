#include "pages/groups03_07/PageRules.h"

#include "platform/MessageBox.h"
#include "platform/ResourceModule.h"

#include <climits>

RowSpec BoundedInteger(int item, int editId, int min, int max, const char* rangeText)
{
    RowSpec row = IntegerRow(item, editId, INT_MIN, INT_MAX, rangeText);
    row.filterMax = max;
    row.filterTestsMin = true;
    row.filterMin = min;
    return row;
}

bool RefuseForVersion(CGroupPageModel& page, int row, const char* item, const char* range, EditorContext& context)
{
    page.m_nFocusRow = row;
    context.host.FocusRow(page.Page(), row);
    AfxMessageBox(FormatResString(IDS_VERSION_RANGE, item, range), MB_OK | MB_ICONWARNING);
    return false;
}

bool RefuseRetained()
{
    AfxMessageBox(IDS_VERSION_RETAINED);
    return false;
}
