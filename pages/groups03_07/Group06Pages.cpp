// Group 06, automatic program run: the same three pages for every model.

#include "pages/groups03_07/Groups03To07Pages.h"

#include "editor/EditorStrings.h"

namespace {

constexpr unsigned kRunModes = PageStringBase(6);       // 06-00, seven options
constexpr unsigned kDirections = PageStringBase(6) + 10; // 06-32 to 06-39, three options

PageRow Frequency(int item, int editId)
{
    PageRow row = DecimalRow(item, editId, 2, 599.0, 0.0, 599.0, "0.00~650.00");
    row.whileRunning = true;
    return row;
}

PageRow Time(int item, int editId)
{
    PageRow row = DecimalRow(item, editId, 1, 3600.0, 0.0, 3600.0, "0.0~3600.0");
    row.whileRunning = true;
    return row;
}

PageTable Page1()
{
    PageTable page;
    page.className = "CGroup06Page1Dlg";
    page.templateId = 266;
    page.group = 6;
    page.widthDu = 371;
    page.rows.push_back(OptionRow(0, 1025, kRunModes, 7));
    for (int item = 1; item <= 7; ++item)
        page.rows.push_back(Frequency(item, 1033 + item));
    page.rows.push_back(Time(16, 1041));
    page.rows.push_back(Time(17, 1042));
    return page;
}

PageTable Page2()
{
    PageTable page;
    page.className = "CGroup06Page2Dlg";
    page.templateId = 267;
    page.group = 6;
    page.widthDu = 341;
    for (int r = 0; r < 6; ++r)
        page.rows.push_back(Time(18 + r, 1034 + r));
    for (int r = 0; r < 4; ++r)
        page.rows.push_back(OptionRow(32 + r, 1025 + r, kDirections, 3));
    return page;
}

PageTable Page3()
{
    PageTable page;
    page.className = "CGroup06Page3Dlg";
    page.templateId = 268;
    page.group = 6;
    page.widthDu = 308;
    page.keyboardHook = false;
    for (int r = 0; r < 4; ++r)
        page.rows.push_back(OptionRow(36 + r, 1025 + r, kDirections, 3));
    return page;
}

GroupTable BuildTable()
{
    static const PageTable page1 = Page1();
    static const PageTable page2 = Page2();
    static const PageTable page3 = Page3();
    LayoutTable layout;
    layout.pages = {&page1, &page2, &page3};
    layout.captions = {"-> 06-00 - 06-17 ", "    06-18 - 06-35    ", "    06-36 - 06-39    "};
    layout.apply = {{ValidationStep::Take, 0}, {ValidationStep::Take, 1}, {ValidationStep::Take, 2},
                    {ValidationStep::Check, 0}, {ValidationStep::Check, 1}};
    GroupTable table;
    table.group = 6;
    table.layouts = {layout};
    table.writer = &CParamGroupIO::WriteParamGroup06;
    return table;
}

} // namespace

const GroupTable& Group06Table()
{
    static const GroupTable table = BuildTable();
    return table;
}
