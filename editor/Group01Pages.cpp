// Group 01, the V/F curve: page 1 in both layouts, a two-row page 2 in the
// base layout and a nine-row page 2 in the extended layout. The limits of
// 01-01 follow the voltage class and the layout, so each pair of them has a
// layout of its own.

#include "editor/Groups00To02Pages.h"
#include "res/StringIds.h"

#include "document/D390DocData.h"
#include "document/ModelFamily.h"
#include "editor/EditorStrings.h"
#include "editor/Groups00To02Rows.h"
#include "editor/ToldOnce.h"
#include "link/CommTexts.h"
#include "link/ModbusRequest.h"
#include "platform/MessageBox.h"
#include "platform/ResourceModule.h"

using namespace Groups00To02;

namespace {

enum Layout01 { kBase100, kExtended100, kBase400, kExtended400 };

// The drive's 01-00, read at once (no pause before the request).
bool ReadCurveMode(int station, int& mode, EditorContext& context)
{
    CModbusRequest request(context.drive.m_pComm, RequestPace::Direct);
    uint16_t word = 0;
    const ModbusReply reply = request.ReadHolding(static_cast<uint8_t>(station), 0x0100, 1, &word);
    if (reply.Ok()) {
        mode = word;
        return true;
    }
    if (reply.Refused())
        ShowCommExceptionMsg(reply.exception, station);
    else
        AfxMessageBox(GetErrTypeTextId(reply.result));
    return false;
}

bool ReadCurvePoint(int item, int station, int& value, EditorContext& context)
{
    CDriveSession& drive = context.drive;
    const uint8_t address = static_cast<uint8_t>(station);
    return ReadToldOnce(
        [&] {
            switch (item) {
            case 4: return drive.ReadParam0104(address, value) != 0;
            case 5: return drive.ReadParam0105(address, value) != 0;
            case 6: return drive.ReadParam0106(address, value) != 0;
            case 7: return drive.ReadParam0107(address, value) != 0;
            case 8: return drive.ReadParam0108(address, value) != 0;
            case 9: return drive.ReadParam0109(address, value) != 0;
            default: return false;
            }
        },
        IDS_COMM_ERROR);
}

// The curve runs downwards: each point lies at or below the one before it
// (two items back) and at or above the one after it, as the drive holds them.
bool CurveOrderHolds(int item, long n, int station, EditorContext& context)
{
    int before = 0;
    int after = 0;
    const bool hasBefore = item >= 6;
    const bool hasAfter = item <= 7;
    if (hasBefore && !ReadCurvePoint(item - 2, station, before, context))
        return false;
    if (hasAfter && !ReadCurvePoint(item + 2, station, after, context))
        return false;
    if ((hasBefore && n > before) || (hasAfter && n < after)) {
        AfxMessageBox(IDS_ORDER_FIRST + static_cast<unsigned>(item - 4));
        return false;
    }
    return true;
}

bool Page1Gate(CGroupPageModel& page, int row, const std::string& text, int station, EditorContext& context)
{
    const int item = page.Row(row).item;
    if (item < 2)
        return true;
    int mode = 0;
    if (!ReadCurveMode(station, mode, context))
        return false;
    if (mode != 7) {
        AfxMessageBox(IDS_NEEDS_VF_CURVE);
        return false;
    }
    if (!page.PassesVersionGates(row, text, context))
        return false;
    // The order is judged on the number the frame carries.
    return item < 4 || CurveOrderHolds(item, WordOfText(text, item % 2 == 0 ? 100 : 10), station, context);
}

PageTable Page1(Layout01 layout)
{
    struct Limits {
        float low, high;
        const char* text;
    };
    const Limits limits = layout == kBase100       ? Limits{198.0f, 256.0f, "198.0~256.0"}
                          : layout == kExtended100 ? Limits{170.0f, 264.0f, "170.0~264.0"}
                                                   : Limits{323.0f, 528.0f, "323.0~528.0"};
    PageTable page;
    page.className = "CGroup01Page1Dlg";
    page.templateId = 141;
    page.group = 1;
    page.readsVersion = true;
    page.rows = {IntegerRow(0, 1034, 1, 7, "1~7"),
                 LimitRow(1, 1035, limits.low, limits.high, limits.text, 1075),
                 DecimalRow(2, 1036, 2, 599.0, 0.2, 599.0, "0.20~599.00"),
                 DecimalRow(3, 1037, 1, 100.0, 0.0, 100.0, "0.0~100.0"),
                 DecimalRow(4, 1038, 2, 599.0, 0.1, 599.0, "0.10~599.00"),
                 DecimalRow(5, 1039, 1, 100.0, 0.0, 100.0, "0.0~100.0"),
                 DecimalRow(6, 1040, 2, 599.0, 0.1, 599.0, "0.10~599.00"),
                 DecimalRow(7, 1041, 1, 100.0, 0.0, 100.0, "0.0~100.0"),
                 DecimalRow(8, 1042, 2, 599.0, 0.1, 599.0, "0.10~599.00"),
                 DecimalRow(9, 1043, 1, 100.0, 0.0, 100.0, "0.0~100.0")};
    // The filter of 01-01 stops at the class maximum itself.
    page.rows[1].filterMax = limits.high;
    page.rows[2].rangeTextId = 1076;
    page.rows[4].rangeTextId = 1077;
    page.rows[6].rangeTextId = 1078;
    page.rows[8].rangeTextId = 1079;
    // Drives before 1.04 keep the frequency points higher; 01-00 must be 7
    // before that is judged.
    page.rows[2].versionGates = {VersionGate{1.04f, INT_MIN, INT_MAX, true, 1.4, 599.0, "1.40~599.00"}};
    for (int r : {4, 6, 8})
        page.rows[static_cast<std::size_t>(r)].versionGates = {
            VersionGate{1.04f, INT_MIN, INT_MAX, true, 1.3, 599.0, "1.30~599.00"}};
    page.versionGatesInHook = true;
    NumberFlagPositions(page, 0);
    page.rowGate = Page1Gate;
    return page;
}

// 01-10 may be written while the drive runs.
PageTable Page2(bool extended)
{
    PageTable page;
    page.className = extended ? "CGroup01Page2ExDlg" : "CGroup01Page2Dlg";
    page.templateId = extended ? 5783 : 143;
    page.group = 1;
    page.rows = {DecimalRow(10, 1034, 1, 10.0, 0.0, 10.0, "0.0~10.0"),
                 DecimalRow(11, 1035, 2, 10.0, 0.0, 10.0, "0.00~10.00")};
    page.rows[0].whileRunning = true;
    if (extended) {
        page.rows.push_back(DecimalRow(12, 1036, 1, 200.0, 0.0, 200.0, "0.0~200.0"));
        page.rows.push_back(BoundedIntegerRow(13, 1037, 1, 8192, "1~8192"));
        page.rows.push_back(BoundedIntegerRow(14, 1038, 0, 100, "0~100"));
        page.rows.push_back(DecimalRow(15, 1039, 1, 100.0, 0.0, 100.0, "0.0~100.0"));
        page.rows.push_back(DecimalRow(16, 1040, 1, 1000.0, 0.1, 1000.0, "0.1~1000.0"));
        page.rows.push_back(BoundedIntegerRow(17, 1041, 0, 100, "0~100"));
        page.rows.push_back(DecimalRow(18, 1042, 2, 5.0, 1.3, 5.0, "1.30~5.00"));
    }
    NumberFlagPositions(page, 10);
    return page;
}

GroupTable BuildTable()
{
    static const PageTable page1Base100 = Page1(kBase100);
    static const PageTable page1Extended100 = Page1(kExtended100);
    static const PageTable page1Class400 = Page1(kBase400);
    static const PageTable page2 = Page2(false);
    static const PageTable page2Extended = Page2(true);
    const std::vector<ValidationStep> order = {{ValidationStep::Take, 0}, {ValidationStep::Take, 1},
                                               {ValidationStep::Check, 0}, {ValidationStep::Check, 1}};
    LayoutTable base100{{&page1Base100, &page2}, {"-> 01-01 - 01-09 ", "    01-10 - 01-11    "}, order, {}};
    LayoutTable extended100{{&page1Extended100, &page2Extended}, {"-> 01-01 - 01-09 ", "    01-10 - 01-18    "}, order, {}};
    LayoutTable base400 = base100;
    base400.pages[0] = &page1Class400;
    LayoutTable extended400 = extended100;
    extended400.pages[0] = &page1Class400;
    GroupTable table;
    table.group = 1;
    table.layouts = {base100, extended100, base400, extended400};
    table.layoutOf = [](int code) {
        const bool extended = code > kModelFamilyS;
        if (ModelClassOf(code) == 400)
            return extended ? kExtended400 : kBase400;
        return extended ? kExtended100 : kBase100;
    };
    table.writer = &CParamGroupIO::WriteParamGroup01;
    return table;
}

} // namespace

const GroupTable& Group01Table()
{
    static const GroupTable table = BuildTable();
    return table;
}
