// Group 08, protection: two pages per page set. The first pages pack 08-00
// (and, on extended drives, 08-05) into binary digits; 08-04's range follows
// the voltage class; every row write reads the drive's version first.

#include "pages/groups08_14/Groups08To10Pages.h"
#include "res/StringIds.h"

#include "document/D390DocData.h"
#include "document/ModelFamily.h"
#include "editor/EditorContext.h"
#include "editor/EditorStrings.h"
#include "editor/GroupPageModel.h"
#include "platform/MessageBox.h"
#include "platform/ResourceModule.h"

namespace {

constexpr unsigned kBase = PageStringBase(8);
constexpr unsigned kOverload = kBase + 0;       // 08-05 on the base page, two options
constexpr unsigned kAfterOverload = kBase + 2;  // 08-06, two
constexpr unsigned kFan = kBase + 4;            // 08-07, four
constexpr unsigned kFanEx = kBase + 8;          // 08-07 extended, four
constexpr unsigned kAvr = kBase + 12;           // 08-08, six
constexpr unsigned kAvrEx = kBase + 18;         // 08-08 extended, six
constexpr unsigned kEnable = kBase + 24;        // 08-09, two
constexpr unsigned kBinary = kBase + 26;        // "0", "1"
constexpr unsigned kOverheat = kBase + 28;      // 08-10 extended, four
constexpr unsigned kOverloadCurve = kBase + 32; // 08-19, three

constexpr int kVoltageRange = 1075;
constexpr int kProtectText = 1102;
constexpr int kOverloadText = 1103;

PageRow Packed(int item, std::vector<int> ids, std::vector<int> counts, int explainId)
{
    PageRow row;
    row.item = item;
    row.kind = RowKind::Packed;
    row.packedIds = std::move(ids);
    row.packedCounts = std::move(counts);
    row.packBase = 2;
    row.optionFirst = kBinary;
    row.optionCount = 2;
    row.explainId = explainId;
    const int digits = static_cast<int>(row.packedIds.size());
    row.explainDigit = [item, digits](int digit, int selection) {
        return GetProtectBitText(item, digits - 1 - digit, selection);
    };
    return row;
}

// 08-01 to 08-03: no bounds in the data exchange, CheckRange's 50 to 200.
PageRow Level(int item, int editId)
{
    PageRow row;
    row.item = item;
    row.kind = RowKind::Integer;
    row.controlId = editId;
    row.filterMax = 200;
    row.checked = true;
    row.checkMin = 50;
    row.checkMax = 200;
    row.rangeText = "50~200";
    return row;
}

// 08-04: bounds, typing limit and range text by voltage class.
PageRow VoltageLevel()
{
    PageRow row = DecimalRow(4, 1037, 1, 390.0, 350.0, 390.0, nullptr);
    row.rangeTextId = kVoltageRange;
    row.whileRunning = true;
    row.rangeFilters = true;
    row.rangeOf = [](int modelCode) {
        return ModelClassOf(modelCode) == 100 ? RowRange{350.0, 390.0, "350.0~390.0"}
                                              : RowRange{700.0, 780.0, "700.0~780.0"};
    };
    return row;
}

PageTable FirstPage(bool extended)
{
    PageTable page;
    page.className = extended ? "CGroup08Page1ExDlg" : "CGroup08Page1Dlg";
    page.templateId = extended ? 5790 : 270;
    page.group = 8;
    page.readsVersion = true;
    page.rows.push_back(Packed(0, {1025, 1031, 1032, 1033, 1077}, {1, 2, 2, 2, 2}, kProtectText));
    for (int item = 1; item <= 3; ++item)
        page.rows.push_back(Level(item, 1033 + item));
    page.rows.push_back(VoltageLevel());
    if (extended)
        page.rows.push_back(Packed(5, {0, 0, 1038, 1039, 1099}, {0, 0, 2, 2, 2}, kOverloadText));
    else
        page.rows.push_back(OptionRow(5, 1026, kOverload, 2));
    page.rows.push_back(OptionRow(6, 1027, kAfterOverload, 2));
    page.rows.push_back(OptionRow(7, 1028, extended ? kFanEx : kFan, 4));
    page.rows.push_back(OptionRow(8, 1029, extended ? kAvrEx : kAvr, 6));
    page.rows.push_back(OptionRow(9, 1030, kEnable, 2));
    if (!extended) {
        // Drive software up to 1.31 cannot take 08-04 on the three smallest
        // models.
        page.rowGate = [](CGroupPageModel& model, int row, const std::string&, int, EditorContext& context) {
            if (model.Row(row).item == 4 && IsRestrictedModel(context.modelCode, context.doc.m_fDriveVersion)) {
                AfxMessageBox(IDS_NOT_IN_SMALL_MODELS);
                return false;
            }
            return true;
        };
    }
    return page;
}

PageTable SecondPage()
{
    PageTable page;
    page.className = "CGroup08Page2Dlg";
    page.templateId = 5793;
    page.group = 8;
    page.readsVersion = true;
    page.rows.push_back(DecimalRow(10, 1034, 1, 25.0, 0.0, 25.0, "0.0~25.0"));
    page.rows.push_back(DecimalRow(11, 1035, 1, 10.0, 0.0, 10.0, "0.0~10.0"));
    for (PageRow& row : page.rows)
        row.versionGates = {VersionGate{1.4f}};
    return page;
}

PageTable SecondPageEx()
{
    PageTable page;
    page.className = "CGroup08Page2ExDlg";
    page.templateId = 5787;
    page.group = 8;
    page.readsVersion = true;
    page.rows.push_back(OptionRow(10, 1025, kOverheat, 4));
    page.rows.push_back(DecimalRow(11, 1034, 2, 10.0, 0.01, 10.0, "0.01~10.00"));
    PageRow count = IntegerRow(12, 1035, 1, 300, "1~300");
    count.checked = true;
    count.checkMin = 1;
    count.checkMax = 300;
    page.rows.push_back(count);
    page.rows.push_back(DecimalRow(13, 1036, 1, 10.0, 0.1, 10.0, "0.1~10.0"));
    PageRow running = DecimalRow(14, 1037, 1, 10.0, 0.1, 10.0, "0.1~10.0");
    running.whileRunning = true;
    page.rows.push_back(running);
    page.rows.push_back(DecimalRow(15, 1038, 1, 10.0, 0.1, 10.0, "0.1~10.0"));
    page.rows.push_back(DecimalRow(16, 1039, 1, 50.0, 10.0, 50.0, "10.0~50.0"));
    page.rows.push_back(DecimalRow(17, 1040, 1, 60.0, 0.0, 60.0, "0.0~60.0"));
    page.rows.push_back(DecimalRow(18, 1041, 1, 1500.0, 0.0, 1500.0, "0.0~1500.0"));
    page.rows.push_back(OptionRow(19, 1026, kOverloadCurve, 3));
    for (PageRow& row : page.rows)
        if (row.item >= 17)
            row.versionGates = {VersionGate{row.item == 19 ? 1.06f : 1.04f}};
    return page;
}

LayoutTable Layout(const PageTable& first, const PageTable& second, const char* secondCaption)
{
    LayoutTable layout;
    layout.pages = {&first, &second};
    layout.captions = {"-> 08-00 - 08-09 ", secondCaption};
    layout.apply = {{ValidationStep::Take, 0}, {ValidationStep::Take, 1}, {ValidationStep::Check, 0},
                    {ValidationStep::Check, 1}};
    return layout;
}

GroupTable BuildTable()
{
    static const PageTable page1 = FirstPage(false);
    static const PageTable page2 = SecondPage();
    static const PageTable page1Ex = FirstPage(true);
    static const PageTable page2Ex = SecondPageEx();
    GroupTable table;
    table.group = 8;
    table.layouts = {Layout(page1, page2, "   08-10 - 08-11   "), Layout(page1Ex, page2Ex, "    08-10 - 08-19    ")};
    table.writer = &CParamGroupIO::WriteParamGroup08;
    return table;
}

} // namespace

std::string GetProtectBitText(int item, int bit, int selection)
{
    // Per bit, the texts of selection 0 and of any other selection.
    static const unsigned kTrip[4][2] = {{IDS_ENABLE_TRIP_ACCEL, IDS_DISABLE_TRIP_ACCEL},
                                         {IDS_ENABLE_TRIP_DECEL, IDS_DISABLE_TRIP_DECEL},
                                         {IDS_ENABLE_TRIP_RUN, IDS_DISABLE_TRIP_RUN},
                                         {IDS_ENABLE_OVER_VOLTAGE_RUN, IDS_DISABLE_OVER_VOLTAGE_RUN}};
    static const unsigned kMotor[3][2] = {{IDS_DISABLE_MOTOR_OVERLOAD, IDS_ENABLE_MOTOR_OVERLOAD},
                                          {IDS_OVERLOAD_COLD_START, IDS_OVERLOAD_HOT_START},
                                          {IDS_STANDARD_MOTOR, IDS_INVERTER_DUTY_MOTOR}};
    const int which = selection == 0 ? 0 : 1;
    if (item == 0 && bit >= 0 && bit < 4)
        return LoadResString(kTrip[bit][which]);
    if (item == 5 && bit >= 0 && bit < 3)
        return LoadResString(kMotor[bit][which]);
    return std::string();
}

const GroupTable& Group08Table()
{
    static const GroupTable table = BuildTable();
    return table;
}
