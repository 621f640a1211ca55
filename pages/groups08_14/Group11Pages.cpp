// Group 11, auxiliary: pages 275 and 276 on the base models; 275, 5789 and
// 5797 on the extended ones, where 11-12 does not exist and 11-13 to 11-21
// sit one position below their item numbers.

#include "pages/groups08_14/Groups11To13Pages.h"

#include "document/ModelFamily.h"
#include "editor/EditorStrings.h"

namespace {

constexpr unsigned kEnabledDisabled = PageStringBase(11);     // 11-00, two options
constexpr unsigned kModulation = PageStringBase(11) + 2;      // 11-02, three options
constexpr unsigned kDisabledEnabled = PageStringBase(11) + 5; // 11-03, two options
constexpr unsigned kRegeneration = PageStringBase(11) + 10;   // 11-13, three options
constexpr unsigned kStopKey = PageStringBase(11) + 15;        // 11-21, two options

PageRow Frequency(int item, int editId)
{
    return DecimalRow(item, editId, 2, 599.0, 0.0, 599.0, "0.00~650.00");
}

// 11-14's limit follows the voltage class; the filter lets either class's
// values be typed and the range check decides.
RowRange RegenerationLevel(int modelCode)
{
    if (ModelClassOf(modelCode) == 100)
        return {300.0, 400.0, "300.0~400.0"};
    return {600.0, 800.0, "600.0~800.0"};
}

PageTable Page1()
{
    PageTable page;
    page.className = "CGroup11Page1Dlg";
    page.templateId = 275;
    page.group = 11;
    page.rows.push_back(OptionRow(0, 1025, kEnabledDisabled, 2));
    PageRow carrier = IntegerRow(1, 1034, 1, 16, "1~16");
    carrier.filterTestsMin = true;
    carrier.filterMin = 1;
    page.rows.push_back(carrier);
    page.rows.push_back(OptionRow(2, 1026, kModulation, 3));
    page.rows.push_back(OptionRow(3, 1027, kDisabledEnabled, 2));
    for (int item = 4; item <= 7; ++item)
        page.rows.push_back(DecimalRow(item, 1031 + item, 1, 4.0, 0.0, 4.0, "0.0~4.0"));
    for (int item = 8; item <= 9; ++item) {
        PageRow row = Frequency(item, 1031 + item);
        row.whileRunning = true;
        page.rows.push_back(row);
    }
    return page;
}

// Neither second page reads the running state.
PageTable Page2()
{
    PageTable page;
    page.className = "CGroup11Page2Dlg";
    page.templateId = 276;
    page.group = 11;
    page.running = RunningRule::Ignore;
    page.writeRefusal = WriteRefusal::StationComm;
    page.rows.push_back(Frequency(10, 1034));
    page.rows.push_back(DecimalRow(11, 1035, 2, 30.0, 0.0, 30.0, "0.00~30.00"));
    return page;
}

PageTable Page2Ex()
{
    PageTable page;
    page.className = "CGroup11Page2ExDlg";
    page.templateId = 5789;
    page.group = 11;
    page.running = RunningRule::Ignore;
    page.rows.push_back(Frequency(10, 1034));
    page.rows.push_back(DecimalRow(11, 1035, 2, 30.0, 0.0, 30.0, "0.00~30.00"));
    page.rows.push_back(OptionRow(13, 1025, kRegeneration, 3));
    PageRow level = DecimalRow(14, 1036, 1, 800.0, 0.0, 0.0, nullptr);
    level.rangeOf = RegenerationLevel;
    level.rangeTextId = 1099;
    page.rows.push_back(level);
    page.rows.push_back(DecimalRow(15, 1037, 2, 15.0, 0.0, 15.0, "0.00~15.00"));
    page.rows.push_back(IntegerRow(16, 1038, 0, 200, "0~200"));
    page.rows.push_back(IntegerRow(17, 1039, 0, 200, "0~200"));
    for (int item = 18; item <= 20; ++item)
        page.rows.push_back(IntegerRow(item, 1022 + item, 0, 65535, "0~65535"));
    // The data exchange alone bounds these integers, on OK and on the row
    // button: no keystroke filter.
    for (std::size_t r = 5; r < page.rows.size(); ++r) {
        page.rows[r].filterMax = 0;
        page.rows[r].typingFiltered = false;
    }
    for (std::size_t r = 2; r < page.rows.size(); ++r)
        page.rows[r].flagPosition = page.rows[r].item - 1;
    return page;
}

PageTable Page3()
{
    PageTable page;
    page.className = "CGroup11Page3Dlg";
    page.templateId = 5797;
    page.group = 11;
    page.running = RunningRule::Ignore;
    page.keyboardHook = false;
    PageRow stopKey = OptionRow(21, 1025, kStopKey, 2);
    stopKey.flagPosition = 20;
    page.rows.push_back(stopKey);
    return page;
}

GroupTable BuildTable()
{
    static const PageTable page1 = Page1();
    static const PageTable page2 = Page2();
    static const PageTable page2Ex = Page2Ex();
    static const PageTable page3 = Page3();
    LayoutTable base;
    base.pages = {&page1, &page2};
    base.captions = {"-> 11-00 - 11-09 ", "    11-10 - 11-11    "};
    base.apply = {{ValidationStep::Take, 0}, {ValidationStep::Take, 1}, {ValidationStep::Check, 0},
                  {ValidationStep::Check, 1}};
    LayoutTable extended;
    extended.pages = {&page1, &page2Ex, &page3};
    extended.captions = {"-> 11-00 - 11-09 ", "    11-10 - 11-20    ", "        11-21        "};
    extended.apply = {{ValidationStep::Take, 0}, {ValidationStep::Take, 1}, {ValidationStep::Take, 2},
                      {ValidationStep::Check, 0}, {ValidationStep::Check, 1}};
    GroupTable table;
    table.group = 11;
    table.layouts = {base, extended};
    table.writer = &CParamGroupIO::WriteParamGroup11;
    return table;
}

} // namespace

const GroupTable& Group11Table()
{
    static const GroupTable table = BuildTable();
    return table;
}
