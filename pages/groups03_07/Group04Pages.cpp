// Group 04, analog inputs and output: page 1 for every model, page 2 up to
// 0x1100000 and its extended form above. Every edit holds a whole number,
// sent as it stands; the typing keeps it in its range, and pages 1 and 2 do
// so without a message.

#include "pages/groups03_07/Groups03To07Pages.h"

#include "document/ModelFamily.h"
#include "editor/EditorStrings.h"
#include "pages/groups03_07/PageRules.h"

namespace {

constexpr unsigned kInputRanges = PageStringBase(4);          // 04-00
constexpr unsigned kInputDirections = PageStringBase(4) + 10; // 04-04, 04-05, 04-09
constexpr unsigned kOutputDirections = PageStringBase(4) + 20; // 04-10, 04-14, 04-15, 04-18, 04-19
constexpr unsigned kOutputQuantities = PageStringBase(4) + 30; // 04-11

// 04-16 to 04-19 need software 1.06 in the first family.
constexpr float kOutputTwoVersion = 1.06f;

PageRow Running(PageRow row)
{
    row.whileRunning = true;
    return row;
}

// 04-00, 04-01 and 04-06 wait for the drive to stop; the gains (04-01,
// 04-06) go up to 400, or 200 above 0x1100000.
PageTable Page1(bool extended)
{
    PageTable page;
    page.className = "CGroup04Page1Dlg";
    page.templateId = 176;
    page.group = 4;
    page.widthDu = 331;
    const int gainMax = extended ? 200 : 400;
    const char* gainRange = extended ? "1~200" : "1~400";
    PageRow gain1 = BoundedIntegerRow(1, 1034, 1, gainMax, gainRange);
    gain1.rangeTextId = 1075;
    PageRow gain2 = BoundedIntegerRow(6, 1037, 1, gainMax, gainRange);
    gain2.rangeTextId = 1078;
    page.rows = {OptionRow(0, 1025, kInputRanges, 4),
                 gain1,
                 Running(BoundedIntegerRow(2, 1035, 0, 1000, "0~1000")),
                 Running(BoundedIntegerRow(3, 1036, 0, 100, "0~100")),
                 Running(OptionRow(4, 1026, kInputDirections, 2)),
                 Running(OptionRow(5, 1027, kInputDirections, 2)),
                 gain2,
                 Running(BoundedIntegerRow(7, 1038, 0, 1000, "0~1000")),
                 Running(BoundedIntegerRow(8, 1039, 0, 100, "0~100")),
                 Running(OptionRow(9, 1028, kInputDirections, 2))};
    NumberFlagPositions(page, 0);
    return page;
}

// The output pages never read the running state.
PageTable Page2()
{
    PageTable page;
    page.className = "CGroup04Page2Dlg";
    page.templateId = 177;
    page.group = 4;
    page.widthDu = 308;
    page.running = RunningRule::Ignore;
    page.rows = {OptionRow(10, 1025, kOutputDirections, 2), OptionRow(11, 1026, kOutputQuantities, 5),
                 BoundedIntegerRow(12, 1034, 0, 1000, "0~1000"), BoundedIntegerRow(13, 1035, 0, 100, "0~100"),
                 OptionRow(14, 1027, kOutputDirections, 2), OptionRow(15, 1028, kOutputDirections, 2)};
    NumberFlagPositions(page, 10);
    return page;
}

PageRow UnsignedRow(int item, int editId, int max, const char* rangeText)
{
    PageRow row = IntegerRow(item, editId, 0, max, rangeText);
    row.kind = RowKind::Unsigned;
    return row;
}

// The extended form prompts for a number outside its bounds and reads the
// drive's version for every row.
PageTable Page2Ex()
{
    PageTable page;
    page.className = "CGroup04Page2ExDlg";
    page.templateId = 5796;
    page.group = 4;
    page.widthDu = 308;
    page.running = RunningRule::Ignore;
    page.readsVersion = true;
    page.rows = {OptionRow(10, 1025, kOutputDirections, 2), OptionRow(11, 1026, kOutputQuantities, 5),
                 IntegerRow(12, 1034, 0, 1000, "0~1000"),   IntegerRow(13, 1035, 0, 100, "0~100"),
                 OptionRow(14, 1027, kOutputDirections, 2), OptionRow(15, 1028, kOutputDirections, 2),
                 UnsignedRow(16, 1036, 1000, "0~1000"),     UnsignedRow(17, 1037, 100, "0~100"),
                 OptionRow(18, 1029, kOutputDirections, 2), OptionRow(19, 1030, kOutputDirections, 2)};
    // The second output (04-16 to 04-19) needs newer software on range A.
    for (PageRow& row : page.rows)
        if (row.item >= 16)
            row.versionGates = {VersionGate{kOutputTwoVersion, kModelFamilyS, kModelFamilySP}};
    NumberFlagPositions(page, 10);
    return page;
}

LayoutTable Layout(const PageTable& page1, const PageTable& page2, const char* secondCaption)
{
    LayoutTable layout;
    layout.pages = {&page1, &page2};
    layout.captions = {"-> 04-00 - 04-09 ", secondCaption};
    // No range checks: only the data exchange of each page.
    layout.apply = {{ValidationStep::Take, 0}, {ValidationStep::Take, 1}};
    return layout;
}

GroupTable BuildTable()
{
    static const PageTable page1 = Page1(false);
    static const PageTable page1Ex = Page1(true);
    static const PageTable page2 = Page2();
    static const PageTable page2Ex = Page2Ex();
    GroupTable table;
    table.group = 4;
    table.layouts = {Layout(page1, page2, "    04-10 - 04-15    "), Layout(page1Ex, page2Ex, "    04-10 - 04-19    ")};
    table.writer = &CParamGroupIO::WriteParamGroup04;
    return table;
}

} // namespace

const GroupTable& Group04Table()
{
    static const GroupTable table = BuildTable();
    return table;
}
