// Group 03, digital inputs and outputs: page 1 for every model, page 2 up to
// 0x1100000 and its extended form above. The limits that follow the model
// code are fixed per layout: the layout is chosen from the code once, when
// the editor opens.

#include "pages/groups03_07/Groups03To07Pages.h"

#include "document/ModelFamily.h"
#include "editor/EditorStrings.h"
#include "pages/groups03_07/PageRules.h"
#include "platform/MessageBox.h"
#include "platform/ResourceModule.h"

namespace {

// The option texts, as the drive's documentation numbers them: the input
// list has no function 5 and the output list no function 12, so from there
// on the printed number is one above the value sent.
constexpr unsigned kInputFunctions = PageStringBase(3);       // 03-00 to 03-04
constexpr int kInputFunctionCount = 18;
constexpr unsigned kUpDownModes = PageStringBase(3) + 20;     // 03-07
constexpr unsigned kContactTypes = PageStringBase(3) + 25;    // 03-09, each input: "0", "1"
constexpr unsigned kOutputFunctions = PageStringBase(3) + 30; // 03-11
constexpr int kOutputFunctionCount = 14;
constexpr unsigned kContactModes = PageStringBase(3) + 50;    // 03-19

// Longer lists (above 18 inputs or 15 outputs) would need the trimming for
// the older models and the option gate of older software in the first
// family; these lengths need neither, so neither is built.
static_assert(kInputFunctionCount == 18 && kOutputFunctionCount == 14,
              "longer option lists need the model trimming and the version gate");

// The 400 V models of both extended families (13-00 = 401 to 415).
bool IsHighVoltage(int modelCode)
{
    const int number = ModelNumberOf(modelCode);
    return IsNewModel(modelCode) && modelCode != kModelFamilySP && number >= 401 && number <= 415;
}

PageRow Contacts()
{
    PageRow row;
    row.item = 9;
    row.kind = RowKind::Packed;
    row.packedIds = {1031, 1032, 1033, 1077, 1078}; // S5 first: bit 4 down to bit 0
    row.digitNames = {"S5", "S4", "S3", "S2", "S1"};
    row.packBase = 2;
    row.optionFirst = kContactTypes;
    row.optionCount = 2;
    return row;
}

PageTable Page1(bool extended)
{
    PageTable page;
    page.className = "CGroup03Page1Dlg";
    page.templateId = 174;
    page.group = 3;
    page.widthDu = 371;
    page.readsVersion = true;
    page.writeRefusal = WriteRefusal::StationComm;
    for (int item = 0; item <= 4; ++item)
        page.rows.push_back(OptionRow(item, 1025 + item, kInputFunctions, kInputFunctionCount));
    page.rows.push_back(DecimalRow(6, 1034, 2, 5.0, 0.0, 5.0, "0.00~5.00"));
    page.rows.push_back(OptionRow(7, 1030, kUpDownModes, 3));
    PageRow limit = BoundedIntegerRow(8, 1035, 1, extended ? 200 : 400, extended ? "1~200" : "1~400");
    limit.rangeTextId = 1101;
    page.rows.push_back(limit);
    page.rows.push_back(Contacts());
    page.rows.push_back(OptionRow(11, 1079, kOutputFunctions, kOutputFunctionCount));
    NumberFlagPositions(page, 0);
    return page;
}

// 03-15 accepts 999.9 only from software 1.06 on; older drives take 15.0.
constexpr float kLongDelayVersion = 1.06f;
constexpr double kOldDelayMax = 15.0;

bool AboveOldDelayLimit(const std::string& text)
{
    return ParseLeadingNumber(text) >= kOldDelayMax + 0.000001;
}

bool Page2ExRowGate(CGroupPageModel& page, int row, const std::string& text, int, EditorContext& context)
{
    if (page.Row(row).item == 15 && VersionBelow(context.doc.m_fDriveVersion, kLongDelayVersion) &&
        AboveOldDelayLimit(text))
        return RefuseForVersion(page, row, "03-15", "0.1~15.0", context);
    return true;
}

// extended: the form above 0x1100000; highVoltage: its 400 V models.
PageTable Page2(bool extended, bool highVoltage)
{
    PageTable page;
    page.className = extended ? "CGroup03Page2ExDlg" : "CGroup03Page2Dlg";
    page.templateId = extended ? 5786 : 175;
    page.group = 3;
    page.widthDu = 308;
    page.readsVersion = extended;
    PageRow speed = DecimalRow(13, 1034, 2, 599.0, 0.0, 599.0, "0.00~650.00");
    speed.whileRunning = true;
    PageRow band = DecimalRow(14, 1035, 2, 30.0, 0.0, 30.0, "0.00~30.00");
    band.whileRunning = true;
    page.rows = {speed, band,
                 extended ? DecimalRow(15, 1036, 1, 999.9, 0.1, 999.9, "0.1~999.9")
                          : DecimalRow(15, 1036, 1, 15.0, 0.1, 15.0, "0.1~15.0"),
                 DecimalRow(16, 1037, 1, 10.0, 0.1, 10.0, "0.1~10.0"),
                 DecimalRow(17, 1038, 2, 20.0, 0.0, 20.0, "0.00~20.00"),
                 DecimalRow(18, 1039, 2, 20.0, 0.0, 20.0, "0.00~20.00"),
                 OptionRow(19, 1025, kContactModes, 2)};
    if (extended) {
        const double low = highVoltage ? 500.0 : 240.0;
        const double high = highVoltage ? 800.0 : 400.0;
        const char* range = highVoltage ? "500.0~800.0" : "240.0~400.0";
        for (int item : {20, 21}) {
            PageRow level = DecimalRow(item, 1020 + item, 1, high, low, high, range);
            level.rangeTextId = 1055 + item; // 1075, 1076
            page.rows.push_back(level);
        }
        page.rowGate = Page2ExRowGate;
    }
    NumberFlagPositions(page, 10);
    return page;
}

LayoutTable Layout(const PageTable& page1, const PageTable& page2, const char* secondCaption)
{
    LayoutTable layout;
    layout.pages = {&page1, &page2};
    layout.captions = {"-> 03-00 - 03-11 ", secondCaption};
    layout.apply = {{ValidationStep::Take, 0}, {ValidationStep::Check, 0}, {ValidationStep::Take, 1},
                    {ValidationStep::Check, 1}};
    return layout;
}

// Older software takes 03-15 only up to 15.0: the whole group is refused.
bool BeforeTransmit(std::vector<std::string>& values, int, EditorContext& context)
{
    if (VersionBelow(context.doc.m_fDriveVersion, kLongDelayVersion) && AboveOldDelayLimit(values[15])) {
        AfxMessageBox(FormatResString(IDS_VERSION_RANGE, "03-15", "0.1~15.0"), MB_OK | MB_ICONWARNING);
        return false;
    }
    return true;
}

GroupTable BuildTable()
{
    static const PageTable page1 = Page1(false);
    static const PageTable page1Ex = Page1(true);
    static const PageTable page2 = Page2(false, false);
    static const PageTable page2Ex = Page2(true, false);
    static const PageTable page2ExHigh = Page2(true, true);
    GroupTable table;
    table.group = 3;
    table.layouts = {Layout(page1, page2, "    03-13 - 03-19    "), Layout(page1Ex, page2Ex, "    03-13 - 03-21    "),
                    Layout(page1Ex, page2ExHigh, "    03-13 - 03-21    ")};
    table.layoutOf = [](int modelCode) { return !IsNewModel(modelCode) ? 0 : IsHighVoltage(modelCode) ? 2 : 1; };
    table.writer = &CParamGroupIO::WriteParamGroup03;
    table.beforeTransmit = BeforeTransmit;
    return table;
}

} // namespace

const GroupTable& Group03Table()
{
    static const GroupTable table = BuildTable();
    return table;
}
