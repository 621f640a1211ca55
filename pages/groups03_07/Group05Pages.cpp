// Group 05, multi-speed: the same three pages for every model. 05-09 to
// 05-16 are on no page.

#include "pages/groups03_07/Groups03To07Pages.h"

#include "editor/EditorStrings.h"

namespace {

constexpr unsigned kOptions0500 = PageStringBase(5); // "0: common", "1: special"

PageRow Speed(int item, int editId)
{
    PageRow row = DecimalRow(item, editId, 2, 599.0, 0.0, 599.0, "0.00~650.00");
    row.whileRunning = true;
    return row;
}

PageRow Time(int item, int editId)
{
    PageRow row = DecimalRow(item, editId, 1, 3600.0, 0.1, 3600.0, "0.1~3600.0");
    row.whileRunning = true;
    return row;
}

PageTable Page1()
{
    PageTable page;
    page.className = "CGroup05Page1Dlg";
    page.templateId = 262;
    page.group = 5;
    page.widthDu = 356;
    page.rows.push_back(OptionRow(0, 1025, kOptions0500, 2)); // refused while running
    for (int item = 1; item <= 8; ++item)
        page.rows.push_back(Speed(item, 1033 + item));
    page.rows.push_back(Time(17, 1042));
    return page;
}

// Pages 2 and 3 never read the running state.
PageTable TimePage(const char* className, int templateId, int firstItem, int rows)
{
    PageTable page;
    page.className = className;
    page.templateId = templateId;
    page.group = 5;
    page.widthDu = 308;
    page.running = RunningRule::Ignore;
    for (int r = 0; r < rows; ++r)
        page.rows.push_back(Time(firstItem + r, 1034 + r));
    return page;
}

GroupTable BuildTable()
{
    static const PageTable page1 = Page1();
    static const PageTable page2 = TimePage("CGroup05Page2Dlg", 264, 18, 10);
    static const PageTable page3 = TimePage("CGroup05Page3Dlg", 265, 28, 5);
    LayoutTable layout;
    layout.pages = {&page1, &page2, &page3};
    layout.captions = {"-> 05-00 - 05-17 ", "    05-18 - 05-27    ", "    05-28 - 05-32    "};
    layout.apply = {{ValidationStep::Take, 0}, {ValidationStep::Take, 1}, {ValidationStep::Take, 2},
                    {ValidationStep::Check, 0}, {ValidationStep::Check, 1}, {ValidationStep::Check, 2}};
    GroupTable table;
    table.group = 5;
    table.layouts = {layout};
    table.writer = &CParamGroupIO::WriteParamGroup05;
    return table;
}

} // namespace

const GroupTable& Group05Table()
{
    static const GroupTable table = BuildTable();
    return table;
}
