#include "view/PrintLayout.h"

#include "platform/ResourceModule.h"
#include "res/StringIds.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr int kPrintedGroups = 15;
constexpr int kItemsPerGroup = 100;

// Page 1 carries the title block and so fewer rows than the pages after it.
constexpr int kRowsOnFirstPage = 30;
constexpr int kRowsPerPage = 35;

// Where the first row's top lies below the page's top edge.
constexpr int kFirstRowTop = 550;
constexpr int kLaterRowTop = 300;
// The footer's first line (the date) has its top this far above the bottom edge.
constexpr int kFooterTop = 200;
// The pitch follows the page's height, but rows never come closer than a
// line of the row font (3.0 mm characters on 3.4 mm lines), and never so far
// apart that the band, which sits one pitch above the rows, meets the first.
constexpr int kLeastPitch = 36;
constexpr int kMostPitch = 140;

std::size_t CharacterCount(const std::string& text)
{
    std::size_t count = 0;
    for (unsigned char c : text)
        if ((c & 0xC0) != 0x80)
            ++count;
    return count;
}

// Byte offset of character index (UTF-8), or the text's size when it has
// fewer characters.
std::size_t ByteOffsetOf(const std::string& text, std::size_t index)
{
    std::size_t seen = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
            if (seen == index)
                return i;
            ++seen;
        }
    }
    return text.size();
}

std::string TwoDigits(int value)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%02d", value);
    return buffer;
}

// The string table's texts here are formats by tradition. They are never
// handed to printf with our numbers: a "%s" in a translated text would read
// memory that was never passed. "%d" is replaced by the text of the number,
// "%%" by "%", anything else stays as it stands.
std::string ExpandNumber(const std::string& format, const std::string& number, bool& used)
{
    std::string out;
    used = false;
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] == '%' && i + 1 < format.size()) {
            if (format[i + 1] == '%') {
                out += '%';
                ++i;
                continue;
            }
            if (format[i + 1] == 'd' && !used) {
                out += number;
                used = true;
                ++i;
                continue;
            }
        }
        out += format[i];
    }
    return out;
}

} // namespace

CPrintLayout::CPrintLayout(const std::vector<GroupRec>& groups, const uint32_t (&defined)[15][100])
    : m_Groups(groups), m_Defined(defined)
{
    for (int g = 0; g < static_cast<int>(groups.size()) && g < kPrintedGroups; ++g) {
        ++m_nRows;
        for (int j = 0; j < static_cast<int>(groups[g].m_Params.size()) && j < kItemsPerGroup; ++j)
            if (defined[g][j])
                ++m_nRows;
    }
}

int CPrintLayout::RowsOnPage(int page, int height)
{
    const bool first = page <= 1;
    const int most = first ? kRowsOnFirstPage : kRowsPerPage;
    // Row k takes the pitch from its top; the last one taken ends where the
    // footer begins at the latest. On the report's own sheet these are
    // exactly its 30 and 35 rows.
    const int room = height - kFooterTop - (first ? kFirstRowTop : kLaterRowTop);
    const int fitting = room / RowPitch(page, height);
    // One row a page at least: every row is printed, however small the sheet.
    return std::clamp(fitting, 1, most);
}

int CPrintLayout::PageCountOf(int rows, int height)
{
    const int first = RowsOnPage(1, height);
    if (rows <= first)
        return 1;
    const int later = RowsOnPage(2, height);
    return 1 + (rows - first + later - 1) / later;
}

int CPrintLayout::FirstRowOf(int page, int height)
{
    return page <= 1 ? 0 : RowsOnPage(1, height) + (page - 2) * RowsOnPage(2, height);
}

int CPrintLayout::LastRowOf(int page, int height)
{
    return FirstRowOf(page, height) + RowsOnPage(page, height) - 1;
}

int CPrintLayout::RowPitch(int page, int height)
{
    return std::clamp((height - 50) / (page <= 1 ? 40 : 42), kLeastPitch, kMostPitch);
}

PrintFontChoice CPrintLayout::FontOf(PrintFont font)
{
    switch (font) {
    case PrintFont::Title:
        return {"Courier New", 48, 39, 700};
    case PrintFont::Label:
        return {"Arial", 36, 20, 500};
    case PrintFont::Row:
        break;
    }
    return {"Courier New", 30, 16, 400};
}

std::string CPrintLayout::PrintedLabel(int group, const std::string& label)
{
    if (group != 10 || label.compare(0, 5, "10-15") != 0)
        return label;
    std::size_t from = ByteOffsetOf(label, 73);
    std::size_t to = ByteOffsetOf(label, 80);
    return label.substr(0, from) + label.substr(to);
}

std::string CPrintLayout::DateText(const std::tm& now)
{
    return DateText(now, LoadResString(IDS_DATE_LABEL));
}

std::string CPrintLayout::TimeText(const std::tm& now)
{
    return TimeText(now, LoadResString(IDS_TIME_LABEL));
}

std::string CPrintLayout::DateText(const std::tm& now, const std::string& label)
{
    // The date label takes the year where it has a "%d"; a label without one
    // gets the year in front of month and day, so that the date is whole.
    bool used = false;
    std::string year = std::to_string(now.tm_year + 1900);
    std::string text = ExpandNumber(label, year, used);
    if (!used)
        text += year + "-";
    return text + TwoDigits(now.tm_mon + 1) + "-" + TwoDigits(now.tm_mday);
}

std::string CPrintLayout::TimeText(const std::tm& now, const std::string& label)
{
    bool used = false;
    std::string text = ExpandNumber(label, std::string(), used);
    return text + TwoDigits(now.tm_hour) + ":" + TwoDigits(now.tm_min) + ":" + TwoDigits(now.tm_sec);
}

std::vector<PrintItem> CPrintLayout::Page(int page, int width, int height, const PrintTexts& texts) const
{
    std::vector<PrintItem> items;
    auto text = [&](PrintFont font, int x, int y, std::string value, bool centered = false) {
        PrintItem item;
        item.m_font = font;
        item.m_x = x;
        item.m_y = y;
        item.m_bCentered = centered;
        item.m_strText = std::move(value);
        items.push_back(std::move(item));
    };
    auto rule = [&](int x, int y, int x2, int y2) {
        PrintItem item;
        item.m_kind = PrintItem::Rule;
        item.m_x = x;
        item.m_y = y;
        item.m_x2 = x2;
        item.m_y2 = y2;
        items.push_back(std::move(item));
    };

    const int pitch = RowPitch(page, height);
    const int bandTop = page <= 1 ? 400 : 150;
    const int rowTop = page <= 1 ? kFirstRowTop : kLaterRowTop;
    const int first = FirstRowOf(page, height);
    const int last = LastRowOf(page, height);

    // The title block belongs to the report's groups: a table without groups
    // prints the footer alone.
    if (page == 1 && !m_Groups.empty()) {
        rule(0, -200, width, -200);
        if (!texts.m_strTitle.empty()) {
            int length = static_cast<int>(CharacterCount(texts.m_strTitle));
            text(PrintFont::Title, (width - 20 * length) / 2, -120, texts.m_strTitle, true);
        }
        text(PrintFont::Label, 50, -280, LoadResString(IDS_DEPARTMENT_LABEL) + texts.m_strDepartment);
        text(PrintFont::Label, 3 * (width / 5), -280, LoadResString(IDS_NAME_LABEL) + texts.m_strName);
    }

    bool anyRow = false;
    int row = 0;
    auto placeRow = [&](int r) { return -((r - first) * pitch + rowTop); };
    for (int g = 0; g < static_cast<int>(m_Groups.size()) && g < kPrintedGroups; ++g) {
        const GroupRec& group = m_Groups[g];
        if (row >= first && row <= last) {
            text(PrintFont::Row, 50, placeRow(row), "[" + group.m_strName + "]");
            anyRow = true;
        }
        ++row;
        for (int j = 0; j < static_cast<int>(group.m_Params.size()) && j < kItemsPerGroup; ++j) {
            if (!m_Defined[g][j])
                continue;
            if (row >= first && row <= last) {
                const ParamRec& param = group.m_Params[j];
                int y = placeRow(row);
                text(PrintFont::Row, 100, y, PrintedLabel(g, param.m_strLabel));
                text(PrintFont::Row, 7 * (width / 10), y, param.m_strFactory);
                text(PrintFont::Row, 17 * (width / 20) + 20, y, param.m_strValue);
                anyRow = true;
            }
            ++row;
        }
    }

    if (anyRow) {
        rule(0, -(pitch + bandTop), width, -(pitch + bandTop));
        int y = 70 - pitch - bandTop;
        text(PrintFont::Label, 50, y, LoadResString(IDS_PARAMETER_NAME));
        text(PrintFont::Label, 6 * (width / 10) + 25, y, LoadResString(IDS_DEFAULT));
        text(PrintFont::Label, 16 * (width / 20), y, LoadResString(IDS_SET_VALUE));
    }

    text(PrintFont::Label, 50, kFooterTop - height, texts.m_strDate);
    text(PrintFont::Label, 50, 140 - height, texts.m_strTime);
    text(PrintFont::Label, width - 500, 140 - height, LoadResString(IDS_PAGE));
    text(PrintFont::Label, width - 350, 140 - height, std::to_string(page));
    return items;
}
