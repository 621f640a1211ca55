#include "view/CompareList.h"

#include "document/D390DocData.h"
#include "platform/FileWrite.h"
#include "platform/MessageBox.h"
#include "platform/ResourceModule.h"
#include "res/StringIds.h"

#include <algorithm>
#include <cstdio>
#include <string_view>

namespace {

constexpr std::size_t kCodeLength = 5;
constexpr std::size_t kNameStart = 6;

// The printed page, in device pixels from its top edge: rows start under the
// band and follow one another at a fixed pitch; the footer's line has its top
// this far above the bottom edge.
constexpr int kFirstRowTop = 310;
constexpr int kRowPitch = 75;
constexpr int kFooterRise = 160;

PrintItem Text(PrintFont font, bool centred, int x, int y, std::string text)
{
    PrintItem item;
    item.m_font = font;
    item.m_bCentered = centred;
    item.m_x = x;
    item.m_y = y;
    item.m_strText = std::move(text);
    return item;
}

} // namespace

unsigned CCompareList::HeadingAId(int mode)
{
    return mode == kCompareSetWithRead ? IDS_COMPARE_SET_VALUE : IDS_DEFAULT;
}

unsigned CCompareList::HeadingBId(int mode)
{
    return mode == kCompareDefaultWithSet ? IDS_COMPARE_SET_VALUE : IDS_READ_VALUE;
}

const std::string& CCompareList::ValueA(const ParamRec& param, int mode)
{
    return mode == kCompareSetWithRead ? param.m_strValue : param.m_strFactory;
}

const std::string& CCompareList::ValueB(const ParamRec& param, int mode)
{
    return mode == kCompareDefaultWithSet ? param.m_strValue : param.m_strRead;
}

void CCompareList::FillDiffList(const CD390DocData& doc, int mode, std::vector<GroupRec>& store,
                                const GateContext* drive)
{
    m_nMode = mode;
    m_Rows.clear();
    store.clear();
    for (std::size_t g = 0; g < doc.m_Groups.size() && g < static_cast<std::size_t>(kGroupCount); ++g) {
        const GroupRec& group = doc.m_Groups[g];
        GroupRec differences;
        for (std::size_t i = 0; i < group.m_Params.size() && i < static_cast<std::size_t>(kItemCount); ++i) {
            if (!doc.m_Defined[g][i])
                continue;
            if (drive && mode != kCompareDefaultWithSet &&
                !DriveHoldsItem(static_cast<int>(g), static_cast<int>(i), *drive))
                continue;
            const ParamRec& param = group.m_Params[i];
            const std::string& a = ValueA(param, mode);
            const std::string& b = ValueB(param, mode);
            if (a == b)
                continue;
            if (differences.m_Params.empty())
                differences.m_strName = group.m_strName;
            ParamRec stored;
            stored.m_strLabel = param.m_strLabel;
            if (mode == kCompareSetWithRead)
                stored.m_strValue = a;
            else
                stored.m_strFactory = a;
            if (mode == kCompareDefaultWithSet)
                stored.m_strValue = b;
            else
                stored.m_strRead = b;
            differences.m_Params.push_back(std::move(stored));

            const std::string& label = param.m_strLabel;
            m_Rows.push_back({label.substr(0, kCodeLength), label.size() > kNameStart ? label.substr(kNameStart) : "",
                              a, b});
        }
        if (!differences.m_Params.empty())
            store.push_back(std::move(differences));
    }
}

bool CCompareList::SaveText(const std::string& path, const std::vector<GroupRec>& store, int mode)
{
    std::string text;
    for (const GroupRec& group : store) {
        text += group.m_strName + "\r\n";
        for (const ParamRec& param : group.m_Params)
            text += param.m_strLabel + '\t' + ValueA(param, mode) + '\t' + ValueB(param, mode) + "\r\n";
    }
    std::string reason;
    // Through a file beside the target: a full disk keeps the list saved before.
    if (!WriteFileReplacing(path, text, &reason)) {
        AfxMessageBox(FormatResString(IDS_FILE_NOT_WRITTEN, path.c_str(), reason.c_str()), MB_OK);
        return false;
    }
    return true;
}

int CCompareList::PageCountOf(const std::vector<GroupRec>& store)
{
    std::size_t records = 0;
    for (const GroupRec& group : store)
        records += group.m_Params.size();
    return static_cast<int>((records + kRowsPerPage - 1) / kRowsPerPage);
}

int CCompareList::PageCountOf(const std::vector<GroupRec>& store, int height)
{
    std::size_t records = 0;
    for (const GroupRec& group : store)
        records += group.m_Params.size();
    const auto perPage = static_cast<std::size_t>(RowsPerPage(height));
    return static_cast<int>((records + perPage - 1) / perPage);
}

int CCompareList::RowsPerPage(int height)
{
    // Each row takes its pitch from its top; the last one ends where the
    // footer begins at the latest. One row a page at least, so that every
    // row is printed.
    const int fitting = (height - kFooterRise - kFirstRowTop) / kRowPitch;
    return std::clamp(fitting, 1, static_cast<int>(kRowsPerPage));
}

PrintFontChoice CCompareList::FontOf(PrintFont font)
{
    switch (font) {
    case PrintFont::Title:
        return {"Tahoma", 90, 0, 700};
    case PrintFont::Label:
        return {"Tahoma", 70, 0, 700};
    case PrintFont::Row:
        break;
    }
    return {"Tahoma", 70, 0, 400};
}

std::vector<PrintItem> CCompareList::Page(int page, int width, int height) const
{
    std::vector<PrintItem> items;
    const int perPage = RowsPerPage(height);
    const int first = perPage * (page - 1);
    if (page < 1 || first >= static_cast<int>(m_Rows.size()))
        return items;
    const int r = width - 200;
    const int columnA = 7 * r / 10;
    const int columnB = 10 * r / 11;

    items.push_back(Text(PrintFont::Title, true, r / 2 + 150, 60, LoadResString(IDS_PRINT_TITLE)));
    items.push_back(Text(PrintFont::Label, true, 500, 200, LoadResString(IDS_PARAMETER_NAME)));
    items.push_back(Text(PrintFont::Label, true, columnA + 150, 200, LoadResString(HeadingAId(m_nMode))));
    items.push_back(Text(PrintFont::Label, true, columnB + 80, 200, LoadResString(HeadingBId(m_nMode))));
    PrintItem rule;
    rule.m_kind = PrintItem::Rule;
    rule.m_x = 100;
    rule.m_y = 275;
    rule.m_x2 = r + 100;
    rule.m_y2 = 275;
    items.push_back(rule);

    for (int row = first; row < first + perPage && row < static_cast<int>(m_Rows.size()); ++row) {
        const CompareRow& line = m_Rows[static_cast<std::size_t>(row)];
        const int y = kFirstRowTop + kRowPitch * (row - first);
        std::string_view code = line.m_strCode;
        code.remove_prefix(std::min(code.find_first_not_of(' '), code.size()));
        items.push_back(Text(PrintFont::Row, false, 160, y, std::string(code) + " " + line.m_strName));
        items.push_back(Text(PrintFont::Row, false, columnA + 130, y, line.m_strA));
        items.push_back(Text(PrintFont::Row, false, columnB + 20, y, line.m_strB));
    }
    items.push_back(Text(PrintFont::Row, false, 6 * r / 7 + 150, height - kFooterRise,
                         LoadResString(IDS_PAGE) + std::to_string(page)));
    return items;
}
