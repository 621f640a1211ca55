// Group 00, basic functions: two pages in the base layout (00-01 to 00-20),
// three in the extended layout (00-00 to 00-21).

#include "editor/Groups00To02Pages.h"
#include "res/StringIds.h"

#include "document/D390DocData.h"
#include "document/ModelFamily.h"
#include "editor/EditorStrings.h"
#include "editor/Groups00To02Rows.h"
#include "platform/MessageBox.h"
#include "platform/ResourceModule.h"

using namespace Groups00To02;

namespace {

// Option texts of the base templates.
constexpr unsigned kDirection = PageStringBase(0);          // 2
constexpr unsigned kRunSource = PageStringBase(0) + 2;      // 3
constexpr unsigned kTerminalMode = PageStringBase(0) + 5;   // 3
constexpr unsigned kFrequencySource = PageStringBase(0) + 10; // 7
constexpr unsigned kCombination = PageStringBase(0) + 17;   // 2
constexpr unsigned kMemory = PageStringBase(0) + 20;        // 2
constexpr unsigned kStartFrequency = PageStringBase(0) + 22; // 3
// Option texts of the extended templates.
constexpr unsigned kControlModeEx = PageStringBase(0) + 30;     // 2
constexpr unsigned kDirectionEx = PageStringBase(0) + 32;       // 2
constexpr unsigned kRunSourceEx = PageStringBase(0) + 34;       // 3
constexpr unsigned kTerminalModeEx = PageStringBase(0) + 37;    // 3 (a fourth text follows, offered by no page)
constexpr unsigned kFrequencySourceEx = PageStringBase(0) + 41; // 7
constexpr unsigned kCombinationEx = PageStringBase(0) + 48;     // 2
constexpr unsigned kMemoryEx = PageStringBase(0) + 50;          // 2
constexpr unsigned kStartFrequencyEx = PageStringBase(0) + 52;  // 3
constexpr unsigned kApplicationEx = PageStringBase(0) + 55;     // 4

PageRow Running(PageRow row)
{
    row.whileRunning = true;
    return row;
}

// 00-08 shows the frequency command the drive got over the link: shown and
// stored, never written by its button.
PageRow CommandFrequency(const char* rangeText)
{
    PageRow row = DecimalRow(8, 1034, 2, 599.0, 0.0, 599.0, rangeText);
    row.checked = false;
    row.readOnly = true;
    return row;
}

// 00-05 and 00-06 must name different sources: the new one is compared with
// what the drive holds for its partner.
bool PartnersDiffer(int item, int selection, int station, EditorContext& context)
{
    CDriveSession& drive = context.drive;
    int partner = 0;
    const bool read = item == 5 ? drive.ReadParam0006(static_cast<uint8_t>(station), partner)
                                : drive.ReadParam0005(static_cast<uint8_t>(station), partner);
    if (!read)
        return false;
    if (partner == selection) {
        AfxMessageBox(item == 5 ? FormatResString(IDS_SAME_VALUE, "00-05", "00-06")
                                : FormatResString(IDS_SAME_VALUE, "00-06", "00-05"));
        return false;
    }
    return true;
}

// The repeat of the partner test just before the frame: the drive's partner
// may have changed since the first read.
bool PartnerStillDiffers(CGroupPageModel& page, int item, const std::string& text, int station,
                         EditorContext& context)
{
    std::string partner;
    if (!page.ReadParamFromDrive(item == 5 ? 6 : 5, station, partner, context))
        return false;
    if (partner == text) {
        AfxMessageBox(IDS_SAME_0005_0006);
        return false;
    }
    return true;
}

// The run command source rows need their partner source readable first.
bool SourcePartnerReads(int item, int station, EditorContext& context)
{
    int value = 0;
    if (item == 2)
        return context.drive.ReadParam0003(static_cast<uint8_t>(station), value) != 0;
    if (item == 3)
        return context.drive.ReadParam0002To(static_cast<uint8_t>(station), value) != 0;
    return true;
}

bool BasePage1Gate(CGroupPageModel& page, int row, const std::string& text, int station, EditorContext& context)
{
    const int item = page.Row(row).item;
    if (!context.drive.ReadParam0002(static_cast<uint8_t>(station)))
        return false;
    if (!SourcePartnerReads(item, station, context))
        return false;
    const int selection = page.m_rows[static_cast<std::size_t>(row)].selection;
    if ((item == 5 || item == 6) && !PartnersDiffer(item, selection, station, context))
        return false;
    // The direction belongs to the keypad: while another source gives the run
    // command, it stays as the drive has it.
    if (item == 1 && context.drive.m_nParam0002 != 0) {
        AfxMessageBox(IDS_READ_ONLY);
        return false;
    }
    return !(item == 5 || item == 6) || PartnerStillDiffers(page, item, text, station, context);
}

void BasePage1Load(CGroupPageModel& page, EditorContext& context)
{
    page.m_rows[0].enabled = context.drive.m_nParam0002 == 0;
}

void BasePage1AfterWrite(CGroupPageModel& page, int row, const std::string& text, EditorContext& context)
{
    if (page.Row(row).item != 2)
        return;
    context.drive.m_nParam0002 = static_cast<int>(ParseLeadingNumber(text));
    page.m_rows[0].enabled = context.drive.m_nParam0002 == 0;
}

bool ExtendedPage1Gate(CGroupPageModel& page, int row, const std::string& text, int station, EditorContext& context)
{
    const int item = page.Row(row).item;
    CDriveSession& drive = context.drive;
    if (!drive.ReadParam0002(static_cast<uint8_t>(station)))
        return false;
    float version = 0;
    if (!drive.ReadParam0D01(static_cast<uint8_t>(station), version))
        return false;
    context.doc.m_fDriveVersion = version;
    if (item == 1 && drive.m_nParam0002 != 0) {
        AfxMessageBox(IDS_DIRECTION_NEEDS_KEYPAD);
        return false;
    }
    if (!SourcePartnerReads(item, station, context))
        return false;
    if (!page.PassesVersionGates(row, text, context))
        return false;
    const int selection = page.m_rows[static_cast<std::size_t>(row)].selection;
    if ((item == 5 || item == 6) && !PartnersDiffer(item, selection, station, context))
        return false;
    return !(item == 5 || item == 6) || PartnerStillDiffers(page, item, text, station, context);
}

// The three run modes every drive knows; the gate of the S family's drives
// before 1.093 (0~2) stands as the page's rule.
PageRow TerminalModeEx()
{
    PageRow row = OptionRow(4, 1029, kTerminalModeEx, 3);
    row.versionGates = {VersionGate{1.093f, kModelFamilyS, kModelFamilySP, true, 0, 2, "0~2"}};
    return row;
}

// 00-21 needs drive software 1.093 in the S family and 1.13 in the S-P
// family; plain models and the code of the S-P family's base never take it.
PageRow Application()
{
    PageRow row = OptionRow(21, 1025, kApplicationEx, 4);
    row.versionGates = {VersionGate{1.13f, kModelFamilySP, INT_MAX},
                        VersionGate{1.093f, kModelFamilyS, kModelFamilySP},
                        VersionGate{kEveryVersion, INT_MIN, kModelFamilyS + 1},
                        VersionGate{kEveryVersion, kModelFamilySP - 1, kModelFamilySP + 1}};
    return row;
}

PageTable BasePage1()
{
    PageTable page;
    page.className = "CGroup00Page1Dlg";
    page.templateId = 134;
    page.group = 0;
    page.keyboardHook = false;
    page.rows = {Running(OptionRow(1, 1025, kDirection, 2)),
                 OptionRow(2, 1026, kRunSource, 3),
                 OptionRow(3, 1027, kRunSource, 3),
                 OptionRow(4, 1028, kTerminalMode, 3),
                 OptionRow(5, 1029, kFrequencySource, 7),
                 OptionRow(6, 1030, kFrequencySource, 7),
                 OptionRow(7, 1031, kCombination, 2),
                 CommandFrequency("0.00~650.00"),
                 OptionRow(9, 1032, kMemory, 2),
                 OptionRow(10, 1033, kStartFrequency, 3)};
    page.rows[7].rangeTextId = 1075;
    NumberFlagPositions(page, 0);
    page.onLoad = BasePage1Load;
    page.rowGate = BasePage1Gate;
    page.afterWrite = BasePage1AfterWrite;
    return page;
}

PageTable ExtendedPage1()
{
    PageTable page;
    page.className = "CGroup00Page1ExDlg";
    page.templateId = 5791;
    page.group = 0;
    page.keyboardHook = false;
    page.rows = {Running(OptionRow(0, 1025, kControlModeEx, 2)),
                 OptionRow(1, 1026, kDirectionEx, 2),
                 OptionRow(2, 1027, kRunSourceEx, 3),
                 OptionRow(3, 1028, kRunSourceEx, 3),
                 TerminalModeEx(),
                 OptionRow(5, 1030, kFrequencySourceEx, 7),
                 OptionRow(6, 1031, kFrequencySourceEx, 7),
                 OptionRow(7, 1032, kCombinationEx, 2),
                 CommandFrequency("0.00~599.00"),
                 OptionRow(9, 1033, kMemoryEx, 2)};
    page.rows[8].rangeTextId = 1075;
    NumberFlagPositions(page, 0);
    // The version is read after 00-02, inside the hook.
    page.versionGatesInHook = true;
    page.rowGate = ExtendedPage1Gate;
    return page;
}

// The numeric rows 00-11 to lastItem of the second pages, on edits 1034 on.
// The base page stops the drive for 00-11 to 00-13, the extended page for
// 00-10 to 00-12.
std::vector<PageRow> NumericRows(int lastItem, bool base)
{
    struct Shape {
        int decimals;
        double filterMax, low, high;
        const char* text;
    };
    const Shape shapes[] = {
        {2, 599.0, 0.0, 599.0, base ? "0.00~650.00" : "0.00~599.00"},  // 00-11
        {2, 599.0, 0.01, 599.0, base ? "0.01~650.00" : "0.01~599.00"}, // 00-12
        {2, base ? 598.99 : 598.990990234375, 0.0, 598.99, base ? "0.00~649.99" : "0.00~598.99"},
        {1, 3600.0, 0.1, 3600.0, "0.1~3600.0"}, // 00-14 to 00-17
        {1, 3600.0, 0.1, 3600.0, "0.1~3600.0"},
        {1, 3600.0, 0.1, 3600.0, "0.1~3600.0"},
        {1, 3600.0, 0.1, 3600.0, "0.1~3600.0"},
        {2, 25.0, 1.0, 25.0, "1.00~25.00"}, // 00-18
        {1, 25.5, 0.1, 25.5, "0.1~25.5"},   // 00-19, 00-20
        {1, 25.5, 0.1, 25.5, "0.1~25.5"},
    };
    std::vector<PageRow> rows;
    for (int item = 11; item <= lastItem; ++item) {
        const Shape& shape = shapes[item - 11];
        PageRow row = DecimalRow(item, 1034 + item - 11, shape.decimals, shape.filterMax, shape.low, shape.high,
                                 shape.text);
        row.whileRunning = item >= (base ? 14 : 13);
        rows.push_back(row);
    }
    return rows;
}

PageTable BasePage2()
{
    PageTable page;
    page.className = "CGroup00Page2Dlg";
    page.templateId = 135;
    page.group = 0;
    page.rows = NumericRows(20, true);
    NumberFlagPositions(page, 10);
    return page;
}

PageTable ExtendedPage2()
{
    PageTable page;
    page.className = "CGroup00Page2ExDlg";
    page.templateId = 5782;
    page.group = 0;
    page.keyboardHook = false;
    page.rows.push_back(OptionRow(10, 1025, kStartFrequencyEx, 3));
    for (const PageRow& row : NumericRows(19, false))
        page.rows.push_back(row);
    NumberFlagPositions(page, 10);
    return page;
}

// 00-20 and 00-21 are written while the drive runs: the page never asks.
PageTable ExtendedPage3()
{
    PageTable page;
    page.className = "CGroup00Page3ExDlg";
    page.templateId = 5802;
    page.group = 0;
    page.keyboardHook = false;
    page.running = RunningRule::Ignore;
    page.readsVersion = true;
    page.rows = {DecimalRow(20, 1034, 1, 25.5, 0.1, 25.5, "0.1~25.5"), Application()};
    NumberFlagPositions(page, 20);
    return page;
}

GroupTable BuildTable()
{
    static const PageTable base1 = BasePage1();
    static const PageTable base2 = BasePage2();
    static const PageTable extended1 = ExtendedPage1();
    static const PageTable extended2 = ExtendedPage2();
    static const PageTable extended3 = ExtendedPage3();
    LayoutTable base;
    base.pages = {&base1, &base2};
    base.captions = {"-> 00-01 - 00-10 ", "    00-11 - 00-20    "};
    base.apply = {{ValidationStep::Take, 0}, {ValidationStep::Take, 1}, {ValidationStep::Check, 1}};
    LayoutTable extended;
    extended.pages = {&extended1, &extended2, &extended3};
    extended.captions = {"-> 00-00 - 00-09 ", "    00-10 - 00-19    ", "    00-20 - 00-21    "};
    extended.apply = {{ValidationStep::Take, 0}, {ValidationStep::Take, 1}, {ValidationStep::Take, 2},
                      {ValidationStep::Check, 1}, {ValidationStep::Check, 2}};
    GroupTable table;
    table.group = 0;
    table.layouts = {base, extended};
    table.writer = &CParamGroupIO::WriteParamGroup00;
    return table;
}

} // namespace

const GroupTable& Group00Table()
{
    static const GroupTable table = BuildTable();
    return table;
}
