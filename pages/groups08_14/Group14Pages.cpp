// Group 14, pump and constant pressure. The mode rows (14-09, 14-12, 14-15,
// 14-24, 14-34, 14-38, 14-39) hold a pressure in hundredths while 14-20 is 0
// and a whole percentage otherwise; the same register takes either. The
// editor takes the mode from the project's 14-20 when it opens, page 3's
// list changes it, and the pages follow it every 100 ms.

#include "pages/groups08_14/Group14Pages.h"

#include "document/D390DocData.h"
#include "editor/EditorContext.h"
#include "editor/EditorStrings.h"
#include "editor/GroupPageModel.h"
#include "pages/groups08_14/Group14TransmitGate.h"
#include "platform/MessageBox.h"
#include "res/StringIds.h"

#include <algorithm>
#include <deque>

namespace {

constexpr int kGroup = 14;

constexpr unsigned kPumpControl = PageStringBase(14);        // 14-00, two options
constexpr unsigned kPumpRole = PageStringBase(14) + 10;      // 14-01, five
constexpr unsigned kTargetSource = PageStringBase(14) + 20;  // 14-04, two
constexpr unsigned kPressureShown = PageStringBase(14) + 25; // 14-05, three
constexpr unsigned kUnitMode = PageStringBase(14) + 30;      // 14-20, two
constexpr unsigned kWaterUse = PageStringBase(14) + 35;      // 14-23, two
constexpr unsigned kSync = PageStringBase(14) + 40;          // 14-31, four
constexpr unsigned kAlternation = PageStringBase(14) + 45;   // 14-35, five
constexpr unsigned kTimeUnit = PageStringBase(14) + 50;      // 14-72, two
constexpr unsigned kAntiFreeze = PageStringBase(14) + 55;    // 14-73, two

constexpr int kFirstFamily = 0x1100000;
constexpr int kSecondFamily = 0x1110000;

// The display mode the project's 14-20 stands for: 0 pressure, 1 percent;
// percent, as a new run starts, when the project holds no 14-20.
int ProjectMode(const EditorContext& context)
{
    const ParamRec* unit = context.doc.FindParam(kGroup, 20);
    if (!unit)
        return 1;
    long long value = 1;
    return ParseWholeNumber(unit->m_strValue, value) && value == 0 ? 0 : 1;
}

bool PercentMode(const EditorContext& context)
{
    return context.drive.m_nPressureMode != 0;
}

// Every row of the group: the first extended family below 1.093 keeps the
// group retained. 14-74 and the rows of page 5 also need 1.1 in the first
// family and 1.13 in the second; other codes never take them.
bool RowWritable(int item, int modelCode, float version)
{
    const bool first = modelCode > kFirstFamily && modelCode < kSecondFamily;
    if (first && VersionBelow(version, 1.093f))
        return false;
    if (item < 74)
        return true;
    return (modelCode > kSecondFamily && !VersionBelow(version, 1.13f)) || (first && !VersionBelow(version, 1.1f));
}

bool GateRow(CGroupPageModel& page, int row, const std::string&, int, EditorContext& context)
{
    if (RowWritable(page.Row(row).item, context.modelCode, context.doc.m_fDriveVersion))
        return true;
    AfxMessageBox(IDS_VERSION_RETAINED);
    return false;
}

// The 100 ms tick of pages 1 to 4: an emptied whole-number row (14-19,
// 14-29) gets its last number back; the mode's range texts; and in percent
// mode every mode row as a whole number inside its bounds. Pressure texts are
// left as typed.
void ModeTick(CGroupPageModel& page, EditorContext& context)
{
    for (int r = 0; r < page.RowCount(); ++r) {
        RowState& state = page.m_rows[static_cast<std::size_t>(r)];
        if (page.Row(r).kind != RowKind::Integer || page.Table().rows[static_cast<std::size_t>(r)].alternate)
            continue;
        if (state.text.empty())
            state.text = state.kept;
        else
            state.kept = state.text;
    }
    page.SyncForm(context);
    if (!page.m_bAlternate)
        return;
    for (int r = 0; r < page.RowCount(); ++r) {
        if (!page.Table().rows[static_cast<std::size_t>(r)].alternate)
            continue;
        const PageRow& percent = page.Row(r);
        std::string& text = page.m_rows[static_cast<std::size_t>(r)].text;
        const double value = std::clamp(ParseLeadingNumber(text), -1e9, 1e9);
        const long long whole = std::clamp(static_cast<long long>(value), static_cast<long long>(percent.checkMin),
                                           static_cast<long long>(percent.checkMax));
        text = std::to_string(whole);
    }
}

// 14-20 on page 3: the choice is the mode at once (the other pages follow at
// their next tick); the project takes it only with OK.
void UnitChosen(CGroupPageModel& page, int row, EditorContext& context)
{
    const int selection = page.m_rows[static_cast<std::size_t>(row)].selection;
    if (page.Row(row).item != 20 || selection < 0)
        return;
    context.drive.m_nPressureMode = selection;
    ModeTick(page, context);
}

// The second forms of the mode rows; a deque keeps their addresses.
std::deque<PageRow>& PercentForms()
{
    static std::deque<PageRow> forms;
    return forms;
}

// A mode row: a pressure in hundredths (+0.0001 before it is truncated), or
// in percent mode a whole number of digits only.
PageRow ModeRow(int item, int editId, int labelId, double pressureMin, double pressureMax, const char* pressureText,
                int percentMin, int percentMax, const char* percentText)
{
    PageRow pressure = DecimalRow(item, editId, 2, pressureMax, pressureMin, pressureMax, pressureText);
    pressure.addend = 0.0001;
    pressure.rangeTextId = labelId;
    PageRow percent = CheckedIntegerRow(item, editId, percentMax, percentMin, percentMax, percentText);
    percent.digitsOnly = true;
    percent.rangeTextId = labelId;
    PercentForms().push_back(percent);
    pressure.alternate = &PercentForms().back();
    return pressure;
}

PageRow Decimal(int item, int editId, int decimals, double low, double high, const char* rangeText)
{
    return DecimalRow(item, editId, decimals, high, low, high, rangeText);
}

PageTable Page(const char* className, int templateId, int number)
{
    PageTable page;
    page.className = className;
    page.templateId = templateId;
    page.group = kGroup;
    page.keyboardHook = false;
    page.running = RunningRule::Ignore;
    page.readsVersion = true;
    page.rowGate = GateRow;
    page.alternateForm = PercentMode;
    if (number <= 4) {
        page.timerMs = 100;
        page.onTimer = ModeTick;
    }
    return page;
}

// The flag positions run over the group's 43 defined items page by page.
void Place(PageTable& page, int number)
{
    NumberFlagPositions(page, 10 * (number - 1));
    for (const PageRow& row : page.rows)
        for (PageRow& percent : PercentForms())
            if (&percent == row.alternate)
                percent.flagPosition = row.flagPosition;
}

PageTable Page1()
{
    PageTable page = Page("CGroup14Page1Dlg", 5798, 1);
    page.rows.push_back(OptionRow(0, 1025, kPumpControl, 2));
    page.rows.push_back(OptionRow(1, 1026, kPumpRole, 5));
    for (int item : {2, 3}) {
        // The row button wants at least 0.10 where OK takes 0.01.
        PageRow row = Decimal(item, 1032 + item, 2, 0.01, 650.0, "0.10~650.00");
        row.hasWriteBounds = true;
        row.writeMin = 0.1;
        row.writeMax = 650.0;
        page.rows.push_back(row);
    }
    page.rows.push_back(OptionRow(4, 1027, kTargetSource, 2));
    page.rows.push_back(OptionRow(5, 1028, kPressureShown, 3));
    page.rows.push_back(Decimal(6, 1036, 2, 0.0, 10.0, "0.00~10.00"));
    page.rows.push_back(Decimal(7, 1037, 1, 0.0, 100.0, "0.0~100.0"));
    page.rows.push_back(Decimal(8, 1038, 2, 0.0, 10.0, "0.00~10.00"));
    page.rows.push_back(ModeRow(9, 1039, 1075, 0.01, 650.0, "0.01~650.00", 1, 100, "1~100"));
    Place(page, 1);
    return page;
}

PageTable Page2()
{
    PageTable page = Page("CGroup14Page2Dlg", 5799, 2);
    page.rows.push_back(Decimal(10, 1034, 2, 0.0, 599.0, "0.00~599.00"));
    page.rows.push_back(Decimal(11, 1035, 1, 0.0, 255.5, "0.0~255.5"));
    page.rows.push_back(ModeRow(12, 1036, 1075, 0.0, 650.0, "0.00~650.00", 0, 100, "0~100"));
    page.rows.push_back(Decimal(13, 1037, 1, 0.0, 600.0, "0.0~600.0"));
    page.rows.push_back(Decimal(14, 1038, 1, 0.0, 600.0, "0.0~600.0"));
    page.rows.push_back(ModeRow(15, 1039, 1076, 0.0, 650.0, "0.00~650.00", 0, 100, "0~100"));
    for (int item = 16; item <= 18; ++item)
        page.rows.push_back(Decimal(item, 1024 + item, 1, 0.0, 600.0, "0.0~600.0"));
    page.rows.push_back(IntegerRow(19, 1043, 0, 100, "0~100"));
    Place(page, 2);
    return page;
}

PageTable Page3()
{
    PageTable page = Page("CGroup14Page3Dlg", 5800, 3);
    page.onSelect = UnitChosen;
    page.rows.push_back(OptionRow(20, 1025, kUnitMode, 2));
    page.rows.push_back(Decimal(22, 1034, 2, 0.0, 599.0, "0.00~599.00"));
    page.rows.push_back(OptionRow(23, 1026, kWaterUse, 2));
    page.rows.push_back(ModeRow(24, 1035, 1075, 0.0, 65.0, "0.00~65.00", 0, 10, "0~10"));
    page.rows.push_back(Decimal(25, 1036, 1, 0.0, 200.0, "0.0~200.0"));
    PageRow time = Decimal(26, 1037, 1, 0.1, 3600.0, "0.1~3600.0");
    time.addend = 0.0001;
    page.rows.push_back(time);
    page.rows.push_back(Decimal(27, 1038, 1, 0.1, 3600.0, "0.1~3600.0"));
    page.rows.push_back(Decimal(28, 1039, 2, 0.0, 599.0, "0.00~599.00"));
    page.rows.push_back(IntegerRow(29, 1040, 0, 240, "0~240"));
    page.rows.push_back(Decimal(30, 1041, 1, 0.0, 30.0, "0.0~30.0"));
    Place(page, 3);
    return page;
}

PageTable Page4()
{
    PageTable page = Page("CGroup14Page4Dlg", 5801, 4);
    page.rows.push_back(OptionRow(31, 1025, kSync, 4));
    page.rows.push_back(ModeRow(34, 1034, 1075, 0.01, 650.0, "0.01~650.00", 1, 100, "1~100"));
    page.rows.push_back(OptionRow(35, 1026, kAlternation, 5));
    PageRow start = Decimal(37, 1035, 1, 0.0, 100.0, "0.0~100.0");
    start.addend = 0.0001;
    page.rows.push_back(start);
    page.rows.push_back(ModeRow(38, 1036, 1076, 0.01, 65.0, "0.01~65.00", 1, 10, "1~10"));
    page.rows.push_back(ModeRow(39, 1037, 1077, 0.01, 650.0, "0.01~650.00", 1, 100, "1~100"));
    page.rows.push_back(Decimal(71, 1038, 2, 0.1, 650.0, "0.10~650.00"));
    page.rows.push_back(OptionRow(72, 1027, kTimeUnit, 2));
    page.rows.push_back(OptionRow(73, 1028, kAntiFreeze, 2));
    page.rows.push_back(Decimal(74, 1039, 2, 0.0, 10.0, "0.00~10.00"));
    Place(page, 4);
    return page;
}

PageTable Page5()
{
    PageTable page = Page("CGroup14Page5Dlg", 5803, 5);
    page.rows.push_back(Decimal(75, 1034, 1, 0.0, 100.0, "0.0~100.0"));
    page.rows.push_back(Decimal(76, 1035, 2, 0.0, 10.0, "0.00~10.00"));
    PageRow threshold = IntegerRow(77, 1036, 1, 100, "0~100");
    threshold.kind = RowKind::Unsigned;
    // Checked too, so that an emptied field stops OK instead of storing a 0
    // the drive refuses.
    threshold.checked = true;
    threshold.checkMin = 1;
    threshold.checkMax = 100;
    page.rows.push_back(threshold);
    Place(page, 5);
    return page;
}

GroupTable BuildTable()
{
    static const PageTable page1 = Page1();
    static const PageTable page2 = Page2();
    static const PageTable page3 = Page3();
    static const PageTable page4 = Page4();
    static const PageTable page5 = Page5();
    LayoutTable layout;
    layout.pages = {&page1, &page2, &page3, &page4, &page5};
    layout.captions = {"-> 14-00 - 14-09 ", "    14-10 - 14-19    ", "    14-20 - 14-30    ", "    14-31 - 14-74    ",
                       "    14-75 - 14-77    "};
    for (int p = 0; p < 5; ++p) {
        layout.apply.push_back({ValidationStep::Take, p});
        layout.apply.push_back({ValidationStep::Check, p});
    }
    GroupTable table;
    table.group = kGroup;
    table.layouts = {layout};
    table.writer = &CParamGroupIO::WriteParamGroup14;
    table.transmitGate = Group14TransmitGate;
    // A pressure project opens in pressure mode, and Cancel leaves the mode
    // as the project has it.
    table.onOpen = [](EditorContext& context) { context.drive.m_nPressureMode = ProjectMode(context); };
    table.onCancel = table.onOpen;
    return table;
}

} // namespace

const GroupTable& Group14Table()
{
    static const GroupTable table = BuildTable();
    return table;
}

void RegisterGroup14Pages()
{
    RegisterGroupTable(Group14Table());
}
