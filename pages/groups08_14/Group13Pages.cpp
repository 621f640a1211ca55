// Group 13, maintenance: one page (278) for every model. The drive's
// identification, fault record and password are shown only; 13-08's entries
// are reset codes, which Transmit Group confirms before it sends one.

#include "pages/groups08_14/Groups11To13Pages.h"

#include "editor/EditorStrings.h"

namespace {

constexpr unsigned kFaults = PageStringBase(13);          // 13-02, 27 entries
constexpr unsigned kTimeCount = PageStringBase(13) + 30;  // 13-05, two options
constexpr unsigned kLock = PageStringBase(13) + 35;       // 13-06, four options
constexpr unsigned kResetCodes = PageStringBase(13) + 40; // 13-08, seven options

PageTable Page1()
{
    PageTable page;
    page.className = "CGroup13Page1Dlg";
    page.templateId = 278;
    page.group = 13;
    page.readOnlyPlace = ReadOnlyPlace::BeforeLink;
    page.rows.push_back(ReadOnlyTextRow(0, 1034));
    page.rows.push_back(ReadOnlyTextRow(1, 1035));

    // The fault record: the entry whose number is the stored code; shown,
    // never stored or sent.
    PageRow fault = OptionRow(2, 1028, kFaults, 27);
    fault.optionCodes = {"0", "1", "2", "3", "4", "6", "8", "9", "12", "13", "14", "15", "16", "18",
                         "19", "20", "21", "23", "24", "26", "27", "28", "29", "30", "32", "33", "34"};
    fault.optionMatch = OptionMatch::SameNumber;
    fault.readOnly = true;
    fault.shownNotStored = true;
    page.rows.push_back(fault);

    PageRow hours = IntegerRow(3, 1037, 0, 23, "0~23");
    hours.kind = RowKind::Unsigned;
    page.rows.push_back(hours);
    PageRow count = IntegerRow(4, 1038, 0, 65535, "0~65535");
    count.kind = RowKind::Unsigned;
    page.rows.push_back(count);
    page.rows.push_back(OptionRow(5, 1025, kTimeCount, 2));
    page.rows.push_back(OptionRow(6, 1026, kLock, 4));

    PageRow password = ReadOnlyTextRow(7, 1039);
    password.masked = true;
    password.rangeText = "00000~65535";
    page.rows.push_back(password);

    PageRow reset = OptionRow(8, 1027, kResetCodes, 7);
    reset.optionCodes = {"0000", "1150", "1160", "1250", "1260", "1350", "1360"};
    reset.optionMatch = OptionMatch::ExactElseFirst;
    reset.resetCode = true;
    page.rows.push_back(reset);
    return page;
}

GroupTable BuildTable()
{
    static const PageTable page1 = Page1();
    LayoutTable layout;
    layout.pages = {&page1};
    layout.captions = {"-> 13-00 - 13-08 "};
    layout.apply = {{ValidationStep::Take, 0}, {ValidationStep::Check, 0}};
    GroupTable table;
    table.group = 13;
    table.layouts = {layout};
    table.writer = &CParamGroupIO::WriteParamGroup13Ex;
    return table;
}

} // namespace

const GroupTable& Group13Table()
{
    static const GroupTable table = BuildTable();
    return table;
}
