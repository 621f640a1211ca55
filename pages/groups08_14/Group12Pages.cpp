// Group 12, display: one page, 277 on the base models (12-00 to 12-05) and
// 5795 on the extended ones (to 12-07). Every writable row is written while
// the drive runs; the rows after 12-04 are the drive's to report.

#include "pages/groups08_14/Groups11To13Pages.h"
#include "res/StringIds.h"

#include "editor/EditorStrings.h"
#include "editor/GroupPageModel.h"
#include "platform/ResourceModule.h"

namespace {

constexpr unsigned kDigits = PageStringBase(12);            // "0" to "7"
constexpr unsigned kDecimals = PageStringBase(12) + 10;     // 12-01, three options
constexpr unsigned kUnits = PageStringBase(12) + 15;        // 12-02, three options
constexpr unsigned kLineSpeed = PageStringBase(12) + 20;    // 12-04, five options

PageTable Page(const char* className, int templateId, int lastItem)
{
    PageTable page;
    page.className = className;
    page.templateId = templateId;
    page.group = 12;
    page.readOnlyPlace = ReadOnlyPlace::BeforeLink;
    page.writeRefusal = WriteRefusal::StationComm;

    PageRow items;
    items.item = 0;
    items.kind = RowKind::Packed;
    items.packedIds = {1025, 1029, 1030, 1031, 1032};
    items.packBase = 8;
    items.optionFirst = kDigits;
    items.optionCount = 8;
    items.explain = GetDisplayItemText;
    items.explainId = 1102;
    page.rows.push_back(items);
    page.rows.push_back(OptionRow(1, 1026, kDecimals, 3));
    page.rows.push_back(OptionRow(2, 1027, kUnits, 3));
    page.rows.push_back(IntegerRow(3, 1034, 0, 65535, "0~65535"));
    page.rows.push_back(OptionRow(4, 1028, kLineSpeed, 5));
    for (int item = 5; item <= lastItem; ++item)
        page.rows.push_back(ReadOnlyTextRow(item, 1030 + item));
    for (PageRow& row : page.rows)
        row.whileRunning = true;
    page.rows[3].kind = RowKind::Unsigned;
    // 12-05 shows dashes whatever the project holds; 12-06 and 12-07 show
    // their set values as stored.
    page.onLoad = [](CGroupPageModel& model, EditorContext&) { model.m_rows[5].text = "----"; };
    return page;
}

GroupTable BuildTable()
{
    static const PageTable base = Page("CGroup12Page1Dlg", 277, 5);
    static const PageTable extended = Page("CGroup12Page1ExDlg", 5795, 7);
    LayoutTable baseLayout;
    baseLayout.pages = {&base};
    baseLayout.captions = {"-> 12-00 - 12-05 "};
    baseLayout.apply = {{ValidationStep::Take, 0}, {ValidationStep::Check, 0}};
    LayoutTable extendedLayout = baseLayout;
    extendedLayout.pages = {&extended};
    extendedLayout.captions = {"-> 12-00 - 12-07 "};
    GroupTable table;
    table.group = 12;
    table.layouts = {baseLayout, extendedLayout};
    table.writer = &CParamGroupIO::WriteParamGroup12;
    return table;
}

} // namespace

std::string GetDisplayItemText(int digit)
{
    if (digit < 0 || digit > 7)
        return std::string();
    return LoadResString(IDS_DISPLAY_ITEMS + static_cast<unsigned>(digit));
}

const GroupTable& Group12Table()
{
    static const GroupTable table = BuildTable();
    return table;
}
