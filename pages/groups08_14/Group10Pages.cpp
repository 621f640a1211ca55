// Group 10, PID: three pages, the first in a base and an extended form. The
// two source items 10-00 and 10-01 may not hold the same source, which a row
// write checks against the drive; 10-05's resolution on the extended page
// follows the model and the drive's software.

#include "pages/groups08_14/Groups08To10Pages.h"
#include "res/StringIds.h"

#include "document/D390DocData.h"
#include "document/ModelFamily.h"
#include "editor/EditorContext.h"
#include "editor/EditorStrings.h"
#include "editor/GroupPageModel.h"
#include "platform/MessageBox.h"

namespace {

constexpr unsigned kBase = PageStringBase(10);
constexpr unsigned kSource = kBase + 0;       // 10-00 and 10-01, five options
constexpr unsigned kDControl = kBase + 5;     // 10-03, five
constexpr unsigned kTargetEx = kBase + 10;    // 10-00 extended, six
constexpr unsigned kFeedbackEx = kBase + 16;  // 10-01 extended, four
constexpr unsigned kDControlEx = kBase + 20;  // 10-03 extended, five
constexpr unsigned kDirection = kBase + 25;   // 10-08, two
constexpr unsigned kLossAction = kBase + 27;  // 10-11, three

PageRow Running(PageRow row)
{
    row.whileRunning = true;
    return row;
}

PageRow Whole(int item, int editId, int maximum, const char* rangeText)
{
    PageRow row = IntegerRow(item, editId, 0, maximum, rangeText);
    row.kind = RowKind::Unsigned;
    return row;
}

// The row's source may not be the one the drive holds in the partner item.
bool PartnerDiffers(CGroupPageModel& model, int row, const std::string& text, int station, EditorContext& context)
{
    const int item = model.Row(row).item;
    if (item != 0 && item != 1)
        return true;
    std::string partner;
    if (!model.ReadParamFromDrive(item == 0 ? 1 : 0, station, partner, context))
        return false;
    if (partner == text) {
        AfxMessageBox(IDS_SAME_1000_1001);
        return false;
    }
    return true;
}

// 10-05 on the extended page: hundredths on the second extended family and on
// the first from software 1.1, tenths otherwise. The software is read from
// the station being written, not taken from whichever drive the project
// last heard from.
bool IntegralTimeForm(CGroupPageModel& model, int row, int station, EditorContext& context, int& decimals)
{
    if (model.Row(row).item != 5)
        return true;
    const int code = context.modelCode;
    if (IsRangeB(code)) {
        decimals = 2;
    } else if (IsRangeA(code)) {
        float version = 0;
        if (!context.drive.ReadParam0D01(static_cast<uint8_t>(station), version))
            return false;
        context.doc.m_fDriveVersion = version;
        decimals = VersionBelow(version, 1.1f) ? 1 : 2;
    } else {
        decimals = 1;
    }
    return true;
}

PageTable FirstPage(bool extended)
{
    PageTable page;
    page.className = extended ? "CGroup10Page1ExDlg" : "CGroup10Page1Dlg";
    page.templateId = extended ? 5792 : 272;
    page.group = 10;
    page.readRefusal = extended ? ReadRefusal::CommException : ReadRefusal::Comm;
    page.rows.push_back(Running(OptionRow(0, 1025, extended ? kTargetEx : kSource, extended ? 6 : 5)));
    page.rows.push_back(Running(OptionRow(1, 1026, extended ? kFeedbackEx : kSource, extended ? 4 : 5)));
    page.rows.push_back(Running(DecimalRow(2, 1034, 1, 100.0, 0.0, 100.0, "0.0~100.0")));
    page.rows.push_back(OptionRow(3, 1027, extended ? kDControlEx : kDControl, 5));
    page.rows.push_back(DecimalRow(4, 1035, 2, 10.0, 0.0, 10.0, "0.00~10.00"));
    PageRow integral = DecimalRow(5, 1036, extended ? 2 : 1, 10.0, 0.0, 10.0, "0.0~10.0");
    if (extended)
        integral.addend = 0.0001;
    page.rows.push_back(integral);
    page.rows.push_back(DecimalRow(6, 1037, 1, 100.0, 0.0, 100.0, "0.0~100.0"));
    page.rows.push_back(DecimalRow(7, 1038, 2, 10.0, 0.0, 10.0, "0.00~10.00"));
    page.rows.push_back(OptionRow(8, 1028, kDirection, 2));
    page.rows.push_back(Whole(9, 1039, 109, "0~109"));
    page.rowGate = PartnerDiffers;
    if (extended) {
        page.rowForm = IntegralTimeForm;
        page.onLoad = [](CGroupPageModel& model, EditorContext& context) {
            // Only the second extended family types hundredths.
            model.m_rows[static_cast<std::size_t>(model.RowOfItem(5))].filterDecimals =
                IsRangeB(context.modelCode) ? 2 : 1;
        };
    }
    return page;
}

PageTable SecondPage()
{
    PageTable page;
    page.className = "CGroup10Page2Dlg";
    page.templateId = 273;
    page.group = 10;
    page.rows.push_back(Running(DecimalRow(10, 1034, 1, 2.5, 0.0, 2.5, "0.0~2.5")));
    page.rows.push_back(OptionRow(11, 1025, kLossAction, 3));
    page.rows.push_back(Whole(12, 1035, 100, "0~100"));
    page.rows.push_back(DecimalRow(13, 1036, 1, 25.5, 0.0, 25.5, "0.0~25.5"));
    page.rows.push_back(Running(Whole(14, 1037, 109, "0~109")));
    page.rows.push_back(Whole(15, 1042, 30, "0~30"));
    page.rows.push_back(Whole(16, 1038, 100, "0~100"));
    page.rows.push_back(DecimalRow(17, 1039, 2, 599.0, 0.0, 599.0, "0.00~650.00"));
    page.rows.push_back(DecimalRow(18, 1040, 1, 25.5, 0.0, 25.5, "0.0~25.5"));
    page.rows.push_back(DecimalRow(19, 1041, 2, 599.0, 0.0, 599.0, "0.00~650.00"));
    return page;
}

PageTable ThirdPage()
{
    PageTable page;
    page.className = "CGroup10Page3Dlg";
    page.templateId = 274;
    page.group = 10;
    page.writeRefusal = WriteRefusal::StationComm;
    page.rows.push_back(DecimalRow(20, 1034, 1, 25.5, 0.0, 25.5, "0.0~25.5"));
    page.rows.push_back(Running(Whole(21, 1035, 999, "0~999")));
    page.rows.push_back(Running(Whole(22, 1036, 999, "0~999")));
    return page;
}

LayoutTable Layout(const PageTable& first, const PageTable& second, const PageTable& third)
{
    LayoutTable layout;
    layout.pages = {&first, &second, &third};
    layout.captions = {"-> 10-00 - 10-09 ", "    10-10 - 10-19    ", "    10-20 - 10-22    "};
    layout.apply = {{ValidationStep::Take, 0},  {ValidationStep::Take, 1},  {ValidationStep::Take, 2},
                    {ValidationStep::Check, 0}, {ValidationStep::Check, 1}, {ValidationStep::Check, 2}};
    return layout;
}

GroupTable BuildTable()
{
    static const PageTable page1 = FirstPage(false);
    static const PageTable page1Ex = FirstPage(true);
    static const PageTable page2 = SecondPage();
    static const PageTable page3 = ThirdPage();
    GroupTable table;
    table.group = 10;
    table.layouts = {Layout(page1, page2, page3), Layout(page1Ex, page2, page3)};
    table.writer = &CParamGroupIO::WriteParamGroup10;
    return table;
}

} // namespace

const GroupTable& Group10Table()
{
    static const GroupTable table = BuildTable();
    return table;
}
