// Group 07, start and stop: page 1 for every model, page 2 above 0x1100000
// only. Every row waits for the drive to stop; the limits of 07-01 and 07-07
// follow the model code, and several rows follow the drive's software.

#include "pages/groups03_07/Groups03To07Pages.h"

#include "document/ModelFamily.h"
#include "editor/EditorStrings.h"
#include "pages/groups03_07/PageRules.h"

#include <algorithm>
#include <array>

namespace {

constexpr unsigned kRestartModes = PageStringBase(7);     // 07-00
constexpr unsigned kResetModes = PageStringBase(7) + 10;  // 07-03
constexpr unsigned kPowerUpModes = PageStringBase(7) + 20; // 07-04
constexpr unsigned kStopModes = PageStringBase(7) + 30;   // 07-09
constexpr unsigned kEnabledModes = PageStringBase(7) + 40; // 07-12

// The software each row needs, by family.
constexpr float kLongFilterFirst = 1.093f;  // 07-01 above 800.0, 07-12
constexpr float kLongFilterSecond = 1.12f;
constexpr float kStopModeVersion = 0.4f;    // 07-09
constexpr float kPage2FirstVersion = 1.05f; // 07-10, 07-11
constexpr double kShortFilterMax = 800.0;

// The extended models whose 07-07 keeps the plain models' 0 to 20.
constexpr std::array<int, 12> kShortRetryModels = {101, 201, 202, 203, 401, 402, 403, 1102, 1105, 1202, 1205, 1207};

bool HasShortRetries(int modelCode)
{
    if (!IsNewModel(modelCode))
        return true;
    const int base = modelCode > kModelFamilySP ? kModelFamilySP : kModelFamilyS;
    return std::any_of(kShortRetryModels.begin(), kShortRetryModels.end(),
                       [&](int number) { return modelCode == base + number; });
}

// Software new enough for 07-01 above 800.0 and for 07-12; never on
// 0x1110000 itself.
bool NewEnough(int modelCode, float version)
{
    if (IsRangeA(modelCode))
        return !VersionBelow(version, kLongFilterFirst);
    if (IsRangeB(modelCode))
        return !VersionBelow(version, kLongFilterSecond);
    return false;
}

bool Page1RowGate(CGroupPageModel& page, int row, const std::string& text, int, EditorContext& context)
{
    const int item = page.Row(row).item;
    const float version = context.doc.m_fDriveVersion;
    if (item == 1 && IsNewModel(context.modelCode) && !NewEnough(context.modelCode, version) &&
        ParseLeadingNumber(text) >= kShortFilterMax + 0.000001)
        return RefuseForVersion(page, row, "07-01", "0.0~800.0", context);
    return true;
}

PageTable Page1(bool extended, bool shortRetries)
{
    PageTable page;
    page.className = "CGroup07Page1Dlg";
    page.templateId = 269;
    page.group = 7;
    page.widthDu = 373;
    page.readsVersion = true;
    const double filterMax = extended ? 6000.0 : kShortFilterMax;
    PageRow filter = DecimalRow(1, 1034, 1, filterMax, 0.0, filterMax, extended ? "0.0~6000.0" : "0.0~800.0");
    filter.rangeTextId = 1075;
    PageRow retries = BoundedIntegerRow(7, 1038, 0, shortRetries ? 20 : 100, shortRetries ? "0~20" : "0~100");
    retries.rangeTextId = 1099;
    page.rows = {OptionRow(0, 1025, kRestartModes, 2),
                 filter,
                 IntegerRow(2, 1035, 0, 10, "0~10"),
                 OptionRow(3, 1026, kResetModes, 2),
                 OptionRow(4, 1027, kPowerUpModes, 2),
                 DecimalRow(5, 1036, 1, 300.0, 1.0, 300.0, "1.0~300.0"),
                 DecimalRow(6, 1037, 2, 10.0, 0.1, 10.0, "0.10~10.00"),
                 retries,
                 DecimalRow(8, 1039, 1, 25.5, 0.0, 25.5, "0.0~25.5"),
                 OptionRow(9, 1028, kStopModes, 2)};
    page.rows[9].versionGates = {VersionGate{kStopModeVersion}};
    page.rowGate = Page1RowGate;
    return page;
}

PageTable Page2()
{
    PageTable page;
    page.className = "CGroup07Page2Dlg";
    page.templateId = 5794;
    page.group = 7;
    page.widthDu = 308;
    page.readsVersion = true;
    page.rowWriteChecksPage = false; // 07-11 is tested on its own button only
    PageRow count = IntegerRow(10, 1034, 0, 100, "0~100");
    count.kind = RowKind::Unsigned;
    page.rows = {count, DecimalRow(11, 1035, 1, 25.5, 0.0, 25.5, "0.0~25.5"), OptionRow(12, 1025, kEnabledModes, 2)};
    const VersionGate page2First{kPage2FirstVersion, kModelFamilyS, kModelFamilySP};
    page.rows[0].versionGates = {page2First};
    page.rows[1].versionGates = {page2First};
    // 07-12: range A from 1.093, range B from 1.12, never elsewhere.
    page.rows[2].versionGates = {VersionGate{kLongFilterFirst, kModelFamilyS, kModelFamilySP},
                                 VersionGate{kLongFilterSecond, kModelFamilySP, INT_MAX},
                                 VersionGate{kEveryVersion, INT_MIN, kModelFamilyS + 1},
                                 VersionGate{kEveryVersion, kModelFamilySP - 1, kModelFamilySP + 1}};
    return page;
}

GroupTable BuildTable()
{
    static const PageTable page1 = Page1(false, true);
    static const PageTable page1ExShort = Page1(true, true);
    static const PageTable page1Ex = Page1(true, false);
    static const PageTable page2 = Page2();
    LayoutTable base;
    base.pages = {&page1};
    base.captions = {"-> 07-00 - 07-09 "};
    base.apply = {{ValidationStep::Take, 0}, {ValidationStep::Check, 0}};
    LayoutTable extended;
    extended.pages = {&page1ExShort, &page2};
    extended.captions = {"-> 07-00 - 07-09 ", "   07-10 - 07-12 "};
    extended.apply = {{ValidationStep::Take, 0}, {ValidationStep::Check, 0}, {ValidationStep::Take, 1},
                      {ValidationStep::Check, 1}};
    LayoutTable extendedLong = extended;
    extendedLong.pages = {&page1Ex, &page2};
    GroupTable table;
    table.group = 7;
    table.layouts = {base, extended, extendedLong};
    table.layoutOf = [](int modelCode) { return !IsNewModel(modelCode) ? 0 : HasShortRetries(modelCode) ? 1 : 2; };
    table.writer = &CParamGroupIO::WriteParamGroup07;
    return table;
}

} // namespace

const GroupTable& Group07Table()
{
    static const GroupTable table = BuildTable();
    return table;
}
