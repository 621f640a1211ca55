// Group 09, the drive's own serial settings. 09-00 to 09-05 define the link
// itself and 09-10 is fixed: shown, kept as the project holds them, never
// written from these pages.

#include "pages/groups08_14/Groups08To10Pages.h"

#include "document/ModelFamily.h"
#include "editor/EditorContext.h"
#include "editor/EditorStrings.h"
#include "editor/GroupPageModel.h"

namespace {

constexpr unsigned kBase = PageStringBase(9);
constexpr unsigned kCode = kBase + 0;       // 09-01, two options
constexpr unsigned kBaud = kBase + 2;       // 09-02, four
constexpr unsigned kStopBits = kBase + 6;   // 09-03, two
constexpr unsigned kParity = kBase + 8;     // 09-04, three
constexpr unsigned kDataBits = kBase + 11;  // 09-05, two
constexpr unsigned kLossAction = kBase + 13; // 09-07, four

constexpr int kStationsRange = 1075;

// A row the user sees but cannot change: no data exchange, no bounds, OK
// keeps the project's text as it is, and its button refuses before the link.
PageRow Fixed(PageRow row)
{
    row.readOnly = true;
    row.disabled = true;
    row.shownNotStored = true;
    row.exchangeMin = INT_MIN;
    row.exchangeMax = INT_MAX;
    row.filterMax = 0;
    row.checked = false;
    return row;
}

PageTable Page1()
{
    PageTable page;
    page.className = "CGroup09Page1Dlg";
    page.templateId = 271;
    page.group = 9;
    page.readOnlyPlace = ReadOnlyPlace::BeforeLink;
    page.rows.push_back(Fixed(IntegerRow(0, 1034, 1, 32, "1~32")));
    page.rows.push_back(Fixed(OptionRow(1, 1025, kCode, 2)));
    page.rows.push_back(Fixed(OptionRow(2, 1026, kBaud, 4)));
    page.rows.push_back(Fixed(OptionRow(3, 1027, kStopBits, 2)));
    page.rows.push_back(Fixed(OptionRow(4, 1028, kParity, 3)));
    page.rows.push_back(Fixed(OptionRow(5, 1029, kDataBits, 2)));
    page.rows.push_back(DecimalRow(6, 1035, 1, 25.5, 0.0, 25.5, "0.0~25.5"));
    page.rows.push_back(OptionRow(7, 1030, kLossAction, 4));
    // 09-08: the extended drives also take 0; the lower bound is tested while
    // typing too.
    PageRow timeout = IntegerRow(8, 1036, 0, 20, nullptr);
    timeout.rangeTextId = kStationsRange;
    timeout.filterTestsMin = true;
    timeout.filterMin = 1;
    timeout.checked = true;
    timeout.checkMin = 1;
    timeout.checkMax = 20;
    timeout.rangeFilters = true;
    timeout.rangeOf = [](int modelCode) {
        return IsNewModel(modelCode) ? RowRange{0, 20, "0~20"} : RowRange{1, 20, "1~20"};
    };
    page.rows.push_back(timeout);
    page.rows.push_back(CheckedIntegerRow(9, 1037, 65, 5, 65, "5~65"));
    return page;
}

PageTable Page2()
{
    PageTable page;
    page.className = "CGroup09Page2Dlg";
    page.templateId = 5788;
    page.group = 9;
    page.readOnlyPlace = ReadOnlyPlace::BeforeLink;
    page.rows.push_back(Fixed(IntegerRow(10, 1034, 1, 254, "1~254")));
    return page;
}

GroupTable BuildTable()
{
    static const PageTable page1 = Page1();
    static const PageTable page2 = Page2();
    LayoutTable one;
    one.pages = {&page1};
    one.captions = {"-> 09-00 - 09-09 "};
    one.apply = {{ValidationStep::Take, 0}, {ValidationStep::Check, 0}};
    LayoutTable two;
    two.pages = {&page1, &page2};
    two.captions = {"-> 09-00 - 09-09 ", "    09-10    "};
    two.apply = {{ValidationStep::Take, 0}, {ValidationStep::Take, 1}, {ValidationStep::Check, 0},
                 {ValidationStep::Check, 1}};
    GroupTable table;
    table.group = 9;
    table.layouts = {one, two};
    // 09-10 exists on the first extended family only.
    table.layoutOf = [](int code) { return IsRangeA(code) ? 1 : 0; };
    table.writer = &CParamGroupIO::WriteParamGroup09;
    return table;
}

} // namespace

const GroupTable& Group09Table()
{
    static const GroupTable table = BuildTable();
    return table;
}
