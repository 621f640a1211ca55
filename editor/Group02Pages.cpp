// Group 02, the motor: one page in the base layout, two in the extended
// layout. The limits of 02-00, 02-01, 02-04 and 02-05 follow the model, so
// each row of the model tables has a layout of its own.

#include "editor/Groups00To02Pages.h"
#include "res/StringIds.h"

#include "document/D390DocData.h"
#include "document/ModelFamily.h"
#include "editor/EditorStrings.h"
#include "editor/Groups00To02Rows.h"
#include "editor/ToldOnce.h"
#include "platform/MessageBox.h"
#include "platform/ResourceModule.h"

#include <cstring>
#include <deque>

using namespace Groups00To02;

namespace {

constexpr unsigned kSelfLearning = PageStringBase(2);     // 02-07, 2
constexpr unsigned kApplyLearned = PageStringBase(2) + 2; // 02-19, 2

// One row of a model table: the range texts beside 02-00, 02-01 and (extended
// layout) 02-05; the limits are the texts' numbers unless max05 says
// otherwise.
struct MotorRow {
    int numbers[2];
    const char* text00;
    const char* text01;
    const char* text05;
    float max05;
};

constexpr MotorRow kBaseRows[] = {
    {{101, 201}, "0.2~6.7", "0.3~6.8", nullptr, 0},
    {{202, 0}, "0.5~12.1", "0.6~12.2", nullptr, 0},
    {{203, 0}, "0.8~17.3", "0.9~17.4", nullptr, 0},
    {{401, 0}, "0.1~3.1", "0.2~3.2", nullptr, 0},
    {{402, 0}, "0.2~5.9", "0.3~6.0", nullptr, 0},
    {{403, 0}, "0.3~8.5", "0.4~8.6", nullptr, 0},
    {{1102, 1202}, "0.1~2.5", "0.2~2.6", nullptr, 0},
    {{1105, 1205}, "0.1~3.7", "0.2~3.8", nullptr, 0},
};

constexpr MotorRow kExtendedRows[] = {
    {{1102, 1202}, "0.0~2.5", "0.2~2.6", "0.1~0.8", 0},
    {{1105, 1205}, "0.0~3.7", "0.2~3.8", "0.1~0.8", 0},
    {{1207, 0}, "0.0~6.7", "0.3~6.8", "0.1~0.8", 0},
    {{101, 201}, "0.0~6.7", "0.3~6.8", "0.1~1.6", 0},
    {{202, 0}, "0.0~12.1", "0.6~12.2", "0.2~3.0", 0},
    {{203, 0}, "0.0~17.3", "0.9~17.4", "0.2~4.4", 0},
    {{205, 0}, "1.0~26.9", "1.4~27.0", "0.4~7.4", 0},
    {{208, 0}, "0.0~39.9", "2.0~40.0", "0.6~11.0", 0},
    {{210, 0}, "0.0~51.9", "2.6~52.0", "0.8~15.0", 15.6f},
    {{401, 0}, "0.0~3.1", "0.2~3.2", "0.1~1.6", 0},
    {{402, 0}, "0.0~5.9", "0.3~6.0", "0.2~3.0", 0},
    {{403, 0}, "0.0~8.5", "0.4~8.6", "0.2~4.4", 0},
    {{405, 0}, "0~13.5", "0.7~13.6", "0.4~7.4", 0},
    {{408, 0}, "0.0~19.9", "1.0~20.0", "0.6~11.0", 0},
    {{410, 0}, "0.0~24.9", "1.3~25.0", "0.8~15.0", 15.6f},
    {{415, 0}, "0.0~36.9", "1.9~37.0", "1.1~22.0", 0},
};

// A model without a row keeps the templates' texts and the limits they state.
constexpr MotorRow kUnlisted = {{0, 0}, "0.0~6553.5", "0.1~6553.5", "0.0~22.0", 0};

float LowOf(const char* text)
{
    return static_cast<float>(ParseLeadingNumber(text));
}

float HighOf(const char* text)
{
    const char* tilde = std::strchr(text, '~');
    return tilde ? static_cast<float>(ParseLeadingNumber(tilde + 1)) : 0.0f;
}

PageRow Limited(int item, int editId, const char* text, int rangeTextId, float high = 0)
{
    return LimitRow(item, editId, LowOf(text), high > 0 ? high : HighOf(text), text, rangeTextId);
}

// 02-00 stays below the drive's 02-01 and 02-01 above the drive's 02-00; the
// drive's own pair decides, not the page's.
bool Page1Gate(CGroupPageModel& page, int row, const std::string& text, int station, EditorContext& context)
{
    const int item = page.Row(row).item;
    const uint8_t address = static_cast<uint8_t>(station);
    if (item == 0 || item == 1) {
        int partner = 0;
        // 02-00's query tells a link failure itself, 02-01's tells nothing.
        const bool read = ReadToldOnce(
            [&] {
                return item == 0 ? context.drive.ReadParam0201(address, partner) != 0
                                 : context.drive.ReadParam0200(address, partner) != 0;
            },
            IDS_COMM_ERROR);
        if (!read)
            return false;
        const long n = WordOfText(text, 10);
        if (item == 0 ? !(n < partner) : !(n > partner)) {
            AfxMessageBox(IDS_CURRENT_ORDER);
            return false;
        }
    }
    return true;
}

PageTable Page1(const MotorRow& limits, bool base, bool highVoltage)
{
    const char* text04 = highVoltage ? "323.0~528.0" : "170.0~264.0";
    PageTable page;
    page.className = base ? "CGroup02Page1Dlg" : "CGroup02Page1ExDlg";
    page.templateId = base ? 173 : 5784;
    page.group = 2;
    page.readsVersion = true;
    page.rows = {Limited(0, 1034, limits.text00, 1075), Limited(1, 1035, limits.text01, 1076),
                 DecimalRow(2, 1036, 1, 100.0, 0.0, 100.0, "0.0~100.0")};
    page.rows[2].whileRunning = true;
    if (base) {
        page.rows.push_back(IntegerRow(3, 1037, 0, 39000, "0~39000"));
        page.rows.push_back(Limited(4, 1038, text04, 1077));
        page.rows.back().versionGates = {VersionGate{1.1f}}; // kept from drives before 1.1
    } else {
        page.rows.push_back(BoundedIntegerRow(3, 1037, 0, 39000, "0~39000"));
        page.rows.push_back(Limited(4, 1038, text04, 1077));
        page.rows.push_back(Limited(5, 1039, limits.text05, 1078, limits.max05));
        page.rows.push_back(DecimalRow(6, 1040, 1, 599.0, 0.0, 599.0, "0.0~599.0"));
        page.rows.push_back(OptionRow(7, 1025, kSelfLearning, 2));
        page.rows.push_back(BoundedIntegerRow(8, 1042, 0, 600, "0~600"));
        page.rows.push_back(BoundedIntegerRow(9, 1043, 0, 600, "0~600"));
    }
    NumberFlagPositions(page, 0);
    page.rowGate = Page1Gate;
    return page;
}

// The page asks whether the drive runs but writes every row either way.
PageTable Page2()
{
    PageTable page;
    page.className = "CGroup02Page2ExDlg";
    page.templateId = 5785;
    page.group = 2;
    page.readsVersion = true;
    page.rows = {BoundedIntegerRow(13, 1034, 0, 200, "0~150"), BoundedIntegerRow(14, 1035, 0, 200, "0~100"),
                 BoundedIntegerRow(15, 1036, 0, 100, "0~100"), BoundedIntegerRow(16, 1037, 0, 200, "0~200"),
                 BoundedIntegerRow(17, 1038, 0, 200, "0~200"), BoundedIntegerRow(18, 1039, 0, 200, "0~200"),
                 OptionRow(19, 1025, kApplyLearned, 2)};
    // 02-18 is unsigned: only its upper bound is the filter's.
    page.rows[5].kind = RowKind::Unsigned;
    page.rows[5].filterTestsMin = false;
    // Drives before 1.03 take 02-13 up to 150 and 02-14 up to 100, and
    // neither 02-18 nor 02-19.
    page.rows[0].versionGates = {VersionGate{1.03f, INT_MIN, INT_MAX, true, -1e300, 150, "0~150"}};
    page.rows[1].versionGates = {VersionGate{1.03f, INT_MIN, INT_MAX, true, -1e300, 100, "0~100"}};
    page.rows[5].versionGates = {VersionGate{1.03f}};
    page.rows[6].versionGates = {VersionGate{1.03f}};
    for (PageRow& row : page.rows)
        row.whileRunning = true;
    NumberFlagPositions(page, 10);
    return page;
}

struct Layouts02 {
    std::deque<PageTable> pages;
    std::vector<LayoutTable> layouts;
    // Model numbers to layouts, per layout family.
    std::vector<std::pair<int, int>> base, extended;
    int baseUnlisted = 0, extendedUnlistedLow = 0, extendedUnlistedHigh = 0;
};

Layouts02& Tables()
{
    static Layouts02 tables = [] {
        Layouts02 t;
        t.pages.push_back(Page2());
        const PageTable* page2 = &t.pages.back();
        auto add = [&t, page2](const MotorRow& row, bool base, bool high) {
            t.pages.push_back(Page1(row, base, high));
            LayoutTable layout;
            layout.pages = {&t.pages.back()};
            if (base) {
                layout.captions = {"-> 02-00 - 02-04 "};
                layout.apply = {{ValidationStep::Take, 0}, {ValidationStep::Check, 0}};
            } else {
                layout.pages.push_back(page2);
                layout.captions = {"-> 02-00 - 02-09 ", "    02-13 - 02-19    "};
                layout.apply = {{ValidationStep::Take, 0}, {ValidationStep::Take, 1}, {ValidationStep::Check, 0},
                                {ValidationStep::Check, 1}};
            }
            t.layouts.push_back(layout);
            const int index = static_cast<int>(t.layouts.size()) - 1;
            for (int number : row.numbers)
                if (number)
                    (base ? t.base : t.extended).emplace_back(number, index);
            return index;
        };
        // 02-04 takes the 400 V range for 401 to 403 (base) and 401 to 415.
        for (const MotorRow& row : kBaseRows)
            add(row, true, row.numbers[0] >= 401 && row.numbers[0] <= 403);
        for (const MotorRow& row : kExtendedRows)
            add(row, false, row.numbers[0] >= 401 && row.numbers[0] <= 415);
        t.baseUnlisted = add(kUnlisted, true, false);
        t.extendedUnlistedLow = add(kUnlisted, false, false);
        t.extendedUnlistedHigh = add(kUnlisted, false, true);
        return t;
    }();
    return tables;
}

int LayoutOfModel(int code)
{
    const Layouts02& t = Tables();
    const bool base = code <= kModelFamilyS;
    const int number = base ? code : ModelNumberOf(code);
    for (const auto& [listed, layout] : base ? t.base : t.extended)
        if (listed == number)
            return layout;
    if (base)
        return t.baseUnlisted;
    return number >= 401 && number <= 415 ? t.extendedUnlistedHigh : t.extendedUnlistedLow;
}

GroupTable BuildTable()
{
    GroupTable table;
    table.group = 2;
    table.layouts = Tables().layouts;
    table.layoutOf = LayoutOfModel;
    table.writer = &CParamGroupIO::WriteParamGroup02;
    return table;
}

} // namespace

const GroupTable& Group02Table()
{
    static const GroupTable table = BuildTable();
    return table;
}
