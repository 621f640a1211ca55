#include "editor/GroupPageModel.h"

#include "document/D390DocData.h"
#include "editor/EditorContext.h"
#include "editor/EditorStrings.h"
#include "link/CommTexts.h"
#include "link/ModbusRequest.h"
#include "link/ParamGroupIO.h"
#include "link/RegisterText.h"
#include "platform/MessageBox.h"
#include "platform/ResourceModule.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <thread>

namespace {

constexpr double kMargin = 0.000001;

bool IsEditRow(const PageRow& table)
{
    return table.kind == RowKind::Decimal || table.kind == RowKind::Integer || table.kind == RowKind::Unsigned;
}

bool IsIntegerRow(const PageRow& table)
{
    return table.kind == RowKind::Integer || table.kind == RowKind::Unsigned;
}

std::string ItemName(int group, int item)
{
    char name[8];
    std::snprintf(name, sizeof name, "%02d-%02d", group, item);
    return name;
}

int LeadingInt(const std::string& text)
{
    long long value = 0;
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        negative = text[i++] == '-';
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9' && value < 100000000; ++i)
        value = value * 10 + (text[i] - '0');
    return static_cast<int>(negative ? -value : value);
}

// CheckRange's bounds of a row: the model's when it has its own.
void CheckBounds(const PageRow& table, const RowState& state, double& low, double& high)
{
    low = state.ownBounds ? state.boundMin : table.checkMin;
    high = state.ownBounds ? state.boundMax : table.checkMax;
}

// The accepted range of a decimal row before it goes to a drive.
void DecimalBounds(const PageRow& table, const RowState& state, double& low, double& high)
{
    if (state.ownBounds) {
        low = state.boundMin;
        high = state.boundMax;
    } else if (table.hasWriteBounds) {
        low = table.writeMin;
        high = table.writeMax;
    } else if (table.checked) {
        low = table.checkMin;
        high = table.checkMax;
    } else {
        low = table.filterTestsMin ? table.filterMin : 0.0;
        high = table.filterMax;
    }
}

bool IntegerInside(const PageRow& table, const RowState& state, long long value)
{
    if (value < table.exchangeMin || value > table.exchangeMax)
        return false;
    if (table.kind == RowKind::Unsigned && value < 0)
        return false;
    // The model's range, where the row has one, is the row's whole range:
    // the table's filter and CheckRange bounds are those of another model.
    if (state.ownBounds)
        return state.boundMin <= value && value <= state.boundMax;
    if (table.checked && (value < table.checkMin || value > table.checkMax))
        return false;
    // A row without a range in its data exchange holds what its filter lets
    // through; a project can hold more.
    return !((table.filterMax != 0 && value > table.filterMax) || (table.filterTestsMin && value < table.filterMin));
}

// Whether text starts with a number (after blanks and a sign), as the
// conversions of the pages read it; an empty text reads as 0 and counts.
bool HoldsNumber(const std::string& text)
{
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return true;
    std::size_t i = first;
    if (text[i] == '-' || text[i] == '+')
        ++i;
    if (i < text.size() && text[i] == '.')
        ++i;
    return i < text.size() && text[i] >= '0' && text[i] <= '9';
}

// The entry of a coded option row that a stored text selects (-1: none).
int OptionOfCode(const PageRow& table, const std::string& value)
{
    long long number = 0;
    const bool isNumber = ParseWholeNumber(value, number);
    for (std::size_t k = 0; k < table.optionCodes.size(); ++k) {
        const std::string& code = table.optionCodes[k];
        long long codeNumber = 0;
        if (table.optionMatch == OptionMatch::ExactElseFirst ? code == value
                                                             : isNumber && ParseWholeNumber(code, codeNumber) && codeNumber == number)
            return static_cast<int>(k);
    }
    return table.optionMatch == OptionMatch::ExactElseFirst ? 0 : -1;
}

} // namespace

double ParseLeadingNumber(const std::string& text)
{
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        negative = text[i++] == '-';
    double value = 0;
    const char* first = text.data() + i;
    auto [end, error] = std::from_chars(first, text.data() + text.size(), value, std::chars_format::fixed);
    if (error != std::errc() || end == first)
        return 0.0;
    return negative ? -value : value;
}

std::string FormatFixed(double value, int decimals)
{
    char text[64];
    auto [end, error] = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
    if (error != std::errc())
        return "0";
    std::string result(text, end);
    if (result.size() > 1 && result[0] == '-' && result.find_first_not_of("-0.") == std::string::npos)
        result.erase(0, 1); // -0.00 reads as 0.00
    return result;
}

bool ParseWholeNumber(const std::string& text, long long& value)
{
    std::size_t first = text.find_first_not_of(" \t");
    std::size_t last = text.find_last_not_of(" \t");
    if (first == std::string::npos)
        return false;
    std::size_t i = first;
    if (text[i] == '+')
        ++i;
    auto [end, error] = std::from_chars(text.data() + i, text.data() + last + 1, value);
    return error == std::errc() && end == text.data() + last + 1 && i <= last;
}

bool VersionBelow(float version, float threshold)
{
    return version < threshold;
}

bool VersionAtOrBelow(float version, float threshold)
{
    return version <= threshold;
}

PageRow OptionRow(int item, int comboId, unsigned optionFirst, int optionCount)
{
    PageRow row;
    row.item = item;
    row.kind = RowKind::Option;
    row.controlId = comboId;
    row.optionFirst = optionFirst;
    row.optionCount = optionCount;
    return row;
}

PageRow ReadOnlyTextRow(int item, int editId)
{
    PageRow row;
    row.item = item;
    row.kind = RowKind::Text;
    row.controlId = editId;
    row.readOnly = true;
    row.disabled = true;
    return row;
}

void NumberFlagPositions(PageTable& page, int firstPosition)
{
    for (std::size_t r = 0; r < page.rows.size(); ++r)
        page.rows[r].flagPosition = firstPosition + static_cast<int>(r);
}

PageRow DecimalRow(int item, int editId, int decimals, double filterMax, double checkMin, double checkMax,
                   const char* rangeText)
{
    PageRow row;
    row.item = item;
    row.kind = RowKind::Decimal;
    row.controlId = editId;
    row.decimals = decimals;
    row.filterMax = filterMax;
    row.checked = true;
    row.checkMin = checkMin;
    row.checkMax = checkMax;
    row.rangeText = rangeText;
    return row;
}

PageRow IntegerRow(int item, int editId, int exchangeMin, int exchangeMax, const char* rangeText)
{
    PageRow row;
    row.item = item;
    row.kind = RowKind::Integer;
    row.controlId = editId;
    row.exchangeMin = exchangeMin;
    row.exchangeMax = exchangeMax;
    row.filterMax = exchangeMax;
    row.rangeText = rangeText;
    return row;
}

PageRow BoundedIntegerRow(int item, int editId, int min, int max, const char* rangeText)
{
    PageRow row = IntegerRow(item, editId, INT_MIN, INT_MAX, rangeText);
    row.filterMax = max;
    row.filterTestsMin = true;
    row.filterMin = min;
    return row;
}

PageRow CheckedIntegerRow(int item, int editId, int filterMax, int checkMin, int checkMax, const char* rangeText)
{
    PageRow row = DecimalRow(item, editId, 0, filterMax, checkMin, checkMax, rangeText);
    row.kind = RowKind::Integer;
    return row;
}


CGroupPageModel::CGroupPageModel(const PageTable& table, int page) : m_table(table), m_nPage(page)
{
    m_rows.resize(table.rows.size());
    for (std::size_t r = 0; r < table.rows.size(); ++r) {
        m_rows[r].enabled = !table.rows[r].disabled;
        if (table.rows[r].rangeText)
            m_rows[r].rangeText = table.rows[r].rangeText;
    }
}

void CGroupPageModel::SyncForm(EditorContext& context)
{
    if (!m_table.alternateForm)
        return;
    m_bAlternate = m_table.alternateForm(context);
    for (int r = 0; r < RowCount(); ++r)
        if (m_table.rows[static_cast<std::size_t>(r)].alternate)
            m_rows[static_cast<std::size_t>(r)].rangeText = Row(r).rangeText ? Row(r).rangeText : "";
}

void CGroupPageModel::Select(int row, int selection, EditorContext& context)
{
    m_rows[static_cast<std::size_t>(row)].selection = selection;
    if (m_table.onSelect)
        m_table.onSelect(*this, row, context);
}

void CGroupPageModel::Load(EditorContext& context)
{
    SyncForm(context);
    for (int r = 0; r < RowCount(); ++r) {
        const PageRow& table = Row(r);
        RowState& state = m_rows[static_cast<std::size_t>(r)];
        const ParamRec* record = context.doc.FindParam(m_table.group, table.item);
        const std::string value = record ? record->m_strValue : std::string();
        const bool editable = !table.shownNotStored && !table.disabled;
        switch (table.kind) {
        case RowKind::Option: {
            long long index = -1;
            if (!table.optionCodes.empty()) {
                state.selection = OptionOfCode(table, value);
                break;
            }
            state.selection = ParseWholeNumber(value, index) && index >= 0 && index < table.optionCount
                                  ? static_cast<int>(index)
                                  : -1;
            break;
        }
        case RowKind::Text:
            state.text = value;
            break;
        // A project text that is no number stays as it is in a row the user
        // can edit, for OK and the writes to refuse rather than turn it into
        // 0; a row only shown reads it as 0, as it always did.
        case RowKind::Decimal:
            state.text = HoldsNumber(value) || !editable ? FormatFixed(ParseLeadingNumber(value), table.decimals) : value;
            break;
        case RowKind::Integer:
        case RowKind::Unsigned:
            state.text = HoldsNumber(value) || !editable ? std::to_string(LeadingInt(value)) : value;
            break;
        case RowKind::Packed:
            state.kept.clear();
            state.digits.assign(table.packedIds.size(), -1);
            for (std::size_t d = 0; d < table.packedIds.size(); ++d) {
                char digit = d < value.size() ? value[d] : '0';
                state.kept += digit;
                if (digit >= '0' && digit - '0' < DigitOptionCount(r, static_cast<int>(d)))
                    state.digits[d] = digit - '0';
            }
            break;
        }
        if (table.rangeOf) {
            RowRange range = table.rangeOf(context.modelCode);
            state.ownBounds = true;
            state.boundMin = range.min;
            state.boundMax = range.max;
            state.rangeText = std::move(range.text);
        }
    }
    if (m_table.onLoad)
        m_table.onLoad(*this, context);
}

int CGroupPageModel::DigitOptionCount(int row, int digit) const
{
    const PageRow& table = Row(row);
    const std::size_t d = static_cast<std::size_t>(digit);
    if (d >= table.packedIds.size() || table.packedIds[d] == 0)
        return 0;
    return table.packedCounts.empty() ? table.optionCount : (d < table.packedCounts.size() ? table.packedCounts[d] : 0);
}

void CGroupPageModel::SelectDigit(int row, int digit, int selection)
{
    const PageRow& table = Row(row);
    RowState& state = m_rows[static_cast<std::size_t>(row)];
    const std::size_t d = static_cast<std::size_t>(digit);
    if (d >= state.digits.size() || selection >= DigitOptionCount(row, digit))
        return;
    state.digits[d] = selection;
    state.lastDigit = selection;
    if (table.explainDigit)
        state.explanation = table.explainDigit(digit, selection);
}

std::string CGroupPageModel::Filter(int row, const std::string& oldText, const std::string& newText) const
{
    std::string kept = FilterText(row, oldText, newText);
    // The key is dropped: the user hears it, as with the toolkit's own
    // validators.
    if (kept != newText)
        MessageBeep();
    return kept;
}

std::string CGroupPageModel::FilterText(int row, const std::string& oldText, const std::string& newText) const
{
    const PageRow& table = Row(row);
    if (!table.typingFiltered)
        return newText;
    const RowState& state = m_rows[static_cast<std::size_t>(row)];
    const bool own = state.ownBounds && table.rangeFilters;
    const double filterMax = own ? state.boundMax : table.filterMax;
    const double filterMin = own ? state.boundMin : table.filterMin;
    const int decimals = state.filterDecimals >= 0 ? state.filterDecimals : table.decimals;
    if (IsIntegerRow(table)) {
        if (newText.empty())
            return newText;
        if (table.digitsOnly) {
            if (newText.find_first_not_of("0123456789") != std::string::npos || newText.size() > 9)
                return oldText;
            const long long value = std::stoll(newText);
            return table.filterMax != 0 && value > table.filterMax ? oldText : newText;
        }
        long long value = 0;
        if (!ParseWholeNumber(newText, value)) {
            AfxMessageBox(IDS_ENTER_INTEGER, MB_OK | MB_ICONWARNING);
            return oldText;
        }
        const long long low = table.kind == RowKind::Unsigned ? std::max(0, table.exchangeMin) : table.exchangeMin;
        if (value < low || value > table.exchangeMax) {
            AfxMessageBox(FormatResString(IDS_ENTER_INTEGER_BETWEEN, static_cast<int>(low), table.exchangeMax),
                          MB_OK | MB_ICONWARNING);
            return oldText;
        }
        if ((filterMax != 0 && value > filterMax) || (table.filterTestsMin && value < filterMin))
            return oldText;
        return newText;
    }
    if (table.kind != RowKind::Decimal)
        return newText;
    std::string text = newText;
    if (!text.empty()) {
        bool refused = text[0] == '.' || std::count(text.begin(), text.end(), '.') > 1 ||
                       std::any_of(text.begin(), text.end(), [](char c) { return !(c == '.' || (c >= '0' && c <= '9')); });
        if (!refused) {
            const double value = ParseLeadingNumber(text);
            refused = value > filterMax || (table.filterTestsMin && value < filterMin);
        }
        if (refused)
            text = oldText;
    }
    const std::size_t point = text.find('.');
    if (point != std::string::npos && text.size() - point - 1 > static_cast<std::size_t>(decimals))
        text.pop_back();
    return text;
}

bool CGroupPageModel::ExchangeWholeNumbers(EditorContext& context)
{
    for (int r = 0; r < RowCount(); ++r) {
        const PageRow& table = Row(r);
        if (!IsIntegerRow(table))
            continue;
        long long value = 0;
        const bool whole = ParseWholeNumber(m_rows[static_cast<std::size_t>(r)].text, value);
        const long long low = table.kind == RowKind::Unsigned ? std::max(0, table.exchangeMin) : table.exchangeMin;
        if (whole && value >= low && value <= table.exchangeMax)
            continue;
        m_nFocusRow = r;
        context.host.FocusRow(m_nPage, r);
        if (whole)
            AfxMessageBox(FormatResString(IDS_ENTER_INTEGER_BETWEEN, static_cast<int>(low), table.exchangeMax),
                          MB_OK | MB_ICONWARNING);
        else
            AfxMessageBox(IDS_ENTER_INTEGER, MB_OK | MB_ICONWARNING);
        return false;
    }
    return true;
}

bool CGroupPageModel::CheckTexts(EditorContext& context)
{
    for (int r = 0; r < RowCount(); ++r) {
        const PageRow& table = Row(r);
        // A list without a selection keeps the project's text, and so does a
        // row the user cannot edit (Store leaves what it cannot read).
        if (table.shownNotStored || table.disabled || table.kind == RowKind::Text || table.kind == RowKind::Option)
            continue;
        std::string text;
        if (!RowText(r, text)) {
            Refuse(r, IDS_BEYOND_RANGE, context);
            return false;
        }
    }
    return true;
}

bool CGroupPageModel::CheckRange(EditorContext& context)
{
    SyncForm(context);
    for (int r = 0; r < RowCount(); ++r) {
        const PageRow& table = Row(r);
        if (!table.checked || !IsEditRow(table))
            continue;
        RowState& state = m_rows[static_cast<std::size_t>(r)];
        double low = 0;
        double high = 0;
        CheckBounds(table, state, low, high);
        if (!HoldsNumber(state.text)) {
            // A project text that is no number: refused, not read as 0.
        } else if (table.kind == RowKind::Decimal) {
            const double value = ParseLeadingNumber(state.text);
            if (low - kMargin < value && value < high + kMargin) {
                state.text = FormatFixed(value, table.decimals);
                continue;
            }
        } else {
            long long value = LeadingInt(state.text);
            if (value >= low && value <= high)
                continue;
        }
        Refuse(r, IDS_BEYOND_RANGE, context);
        return false;
    }
    return true;
}

bool CGroupPageModel::RowText(int row, std::string& text) const
{
    const PageRow& table = Row(row);
    const RowState& state = m_rows[static_cast<std::size_t>(row)];
    switch (table.kind) {
    case RowKind::Option:
        if (state.selection < 0)
            return false;
        if (!table.optionCodes.empty()) {
            // An entry without a code of its own sends the first entry's.
            const std::size_t entry = static_cast<std::size_t>(state.selection);
            text = entry < table.optionCodes.size() ? table.optionCodes[entry] : table.optionCodes.front();
            return true;
        }
        text = std::to_string(state.selection);
        return true;
    case RowKind::Text:
        text = state.text;
        return true;
    case RowKind::Decimal:
        if (!HoldsNumber(state.text))
            return false;
        text = FormatFixed(ParseLeadingNumber(state.text), table.decimals);
        return true;
    case RowKind::Integer:
    case RowKind::Unsigned:
        if (!HoldsNumber(state.text))
            return false;
        text = std::to_string(LeadingInt(state.text));
        return true;
    case RowKind::Packed:
        text.clear();
        for (std::size_t d = 0; d < table.packedIds.size(); ++d) {
            const int digit = d < state.digits.size() ? state.digits[d] : -1;
            const char kept = d < state.kept.size() ? state.kept[d] : '0';
            if (digit < 0 && (kept < '0' || kept > '9'))
                return false; // a project text that is no number
            text += digit >= 0 ? static_cast<char>('0' + digit) : kept;
        }
        return true;
    }
    return false;
}

void CGroupPageModel::Store(EditorContext& context)
{
    SyncForm(context);
    CD390DocData& doc = context.doc;
    for (int r = 0; r < RowCount(); ++r) {
        const PageRow& table = Row(r);
        ParamRec* record = doc.FindParam(m_table.group, table.item);
        std::string text;
        if (table.shownNotStored || table.kind == RowKind::Text || !record || !RowText(r, text))
            continue; // a list without a selection keeps the project's text
        const std::size_t index = static_cast<std::size_t>(r);
        const std::string& baseline = m_bWritten[index] ? m_strLast[index] : record->m_strValue;
        const int position = FlagPosition(r, doc);
        if (text != baseline && position >= 0 && position < kItemCount)
            doc.m_Changed[m_table.group][position] = 1;
        record->m_strValue = text;
    }
}

void CGroupPageModel::Refuse(int row, unsigned message, EditorContext& context)
{
    m_nFocusRow = row;
    context.host.FocusRow(m_nPage, row);
    AfxMessageBox(message, MB_OK | MB_ICONWARNING);
}

void CGroupPageModel::RefuseRow(int row, const std::string& message, EditorContext& context)
{
    m_nFocusRow = row;
    context.host.FocusRow(m_nPage, row);
    AfxMessageBox(message, MB_OK | MB_ICONWARNING);
}

bool CGroupPageModel::ValueForDrive(int row, const std::string& text, uint16_t& word, EditorContext& context,
                                    int decimals)
{
    const PageRow& table = Row(row);
    if (decimals < 0)
        decimals = table.decimals;
    char form = 'd';
    switch (table.kind) {
    case RowKind::Option:
        if (m_rows[static_cast<std::size_t>(row)].selection < 0 ||
            m_rows[static_cast<std::size_t>(row)].selection >= table.optionCount) {
            Refuse(row, IDS_BEYOND_RANGE, context);
            return false;
        }
        break;
    case RowKind::Decimal: {
        double low = 0;
        double high = 0;
        DecimalBounds(table, m_rows[static_cast<std::size_t>(row)], low, high);
        const double value = ParseLeadingNumber(text);
        if (!(low - kMargin < value && value < high + kMargin)) {
            Refuse(row, IDS_BEYOND_RANGE, context);
            return false;
        }
        form = decimals == 2 ? '2' : '1';
        break;
    }
    case RowKind::Integer:
    case RowKind::Unsigned: {
        long long value = 0;
        if (!ParseWholeNumber(text, value) || !IntegerInside(table, m_rows[static_cast<std::size_t>(row)], value)) {
            Refuse(row, IDS_BEYOND_RANGE, context);
            return false;
        }
        break;
    }
    case RowKind::Packed:
        form = table.packBase == 8 ? 'o' : 'b';
        break;
    case RowKind::Text:
        AfxMessageBox(IDS_READ_ONLY); // shown only, never sent
        return false;
    }
    switch (ConvertTextToWord(form, text, word)) {
    case WordError::None:
        return true;
    case WordError::NotANumber:
        context.host.FocusRow(m_nPage, row);
        AfxMessageBox(WriteCheckText(IDS_WRITE_VALUE_NOT_NUMBER, ItemName(m_table.group, table.item), text),
                      MB_OK | MB_ICONWARNING);
        return false;
    case WordError::OutOfRange:
        Refuse(row, IDS_BEYOND_RANGE, context);
        return false;
    }
    return false;
}

bool CGroupPageModel::OnParamButton(int row, EditorContext& context)
{
    const PageRow& table = Row(row);
    CDriveSession& drive = context.drive;
    const std::size_t index = static_cast<std::size_t>(row);
    if (table.readOnly && m_table.readOnlyPlace == ReadOnlyPlace::BeforeLink) {
        AfxMessageBox(IDS_READ_ONLY);
        return false;
    }
    if (!drive.m_bConnected) {
        AfxMessageBox(IDS_NOT_CONNECTED);
        return false;
    }
    if (!context.host.TakeControls(m_nPage))
        return false;
    SyncForm(context);
    const bool anyChecked = m_table.rowWriteChecksPage &&
        std::any_of(m_table.rows.begin(), m_table.rows.end(), [](const PageRow& r) { return r.checked; });
    if (anyChecked && !CheckRange(context))
        return false;
    if (table.readOnly && m_table.readOnlyPlace == ReadOnlyPlace::AfterRange) {
        AfxMessageBox(IDS_READ_ONLY);
        return false;
    }
    const int station = context.host.ChooseStation();
    if (station < 0)
        return false;
    const uint8_t address = static_cast<uint8_t>(station);
    bool locked = false;
    if (!drive.ReadPasswordState(address, locked))
        return false;
    if (locked) {
        AfxMessageBox(FormatResString(IDS_PASSWORD_SET, station));
        return false;
    }
    if (m_table.running == RunningRule::RefuseUnlessAllowed) {
        bool running = false;
        if (!drive.IsDriveRunning(address, running))
            return false;
        if (running && !table.whileRunning) {
            AfxMessageBox(IDS_DRIVE_RUNNING);
            return false;
        }
    }
    if (m_table.readsVersion) {
        float version = 0;
        if (!drive.ReadParam0D01(address, version))
            return false;
        context.doc.m_fDriveVersion = version;
    }
    if (table.readOnly && m_table.readOnlyPlace == ReadOnlyPlace::AtValue) {
        AfxMessageBox(IDS_READ_ONLY);
        return false;
    }
    int decimals = table.decimals;
    if (m_table.rowForm && !m_table.rowForm(*this, row, station, context, decimals))
        return false;
    std::string text;
    if (!RowText(row, text)) {
        Refuse(row, IDS_BEYOND_RANGE, context);
        return false;
    }
    if (table.kind == RowKind::Decimal && decimals != table.decimals)
        text = FormatFixed(ParseLeadingNumber(text), decimals);
    uint16_t word = 0;
    if (!ValueForDrive(row, text, word, context, decimals))
        return false;
    if (table.kind == RowKind::Decimal)
        m_rows[index].text = text;
    context.host.ShowControls(m_nPage);
    if (!m_table.versionGatesInHook && !PassesVersionGates(row, text, context))
        return false;
    if (m_table.rowGate && !m_table.rowGate(*this, row, text, station, context))
        return false;
    if (!WriteParamToDrive(row, word, station, context))
        return false;
    // OK compares with the row's own form: a value sent with fewer decimals
    // than the page shows ("2.3" for "2.30") is the same value.
    m_strLast[index] = decimals != table.decimals ? FormatFixed(ParseLeadingNumber(text), table.decimals) : text;
    m_bWritten[index] = true;
    const int position = FlagPosition(row, context.doc);
    if (position >= 0 && position < kItemCount)
        context.doc.m_Changed[m_table.group][position] = 0;
    if (m_table.afterWrite)
        m_table.afterWrite(*this, row, text, context);
    context.host.FlagsChanged();
    AfxMessageBox(IDS_WRITE_SUCCESSFUL);
    return true;
}

bool CGroupPageModel::PassesVersionGates(int row, const std::string& text, EditorContext& context)
{
    const PageRow& table = Row(row);
    for (const VersionGate& gate : table.versionGates) {
        if (!(gate.codeAbove < context.modelCode && context.modelCode < gate.codeBelow) ||
            !VersionBelow(context.doc.m_fDriveVersion, gate.version))
            continue;
        if (!gate.limited) {
            AfxMessageBox(IDS_VERSION_RETAINED);
            return false;
        }
        const double value = table.kind == RowKind::Option ? m_rows[static_cast<std::size_t>(row)].selection
                                                          : ParseLeadingNumber(text);
        if (gate.low - kMargin < value && value < gate.high + kMargin)
            continue;
        m_nFocusRow = row;
        context.host.FocusRow(m_nPage, row);
        AfxMessageBox(FormatResString(IDS_VERSION_RANGE, ItemName(m_table.group, table.item).c_str(),
                                      gate.range ? gate.range : ""));
        return false;
    }
    return true;
}

bool CGroupPageModel::WriteParamToDrive(int row, uint16_t word, int station, EditorContext& context)
{
    const uint16_t address = static_cast<uint16_t>(m_table.group << 8 | Row(row).item);
    CModbusRequest request(context.drive.m_pComm, RequestPace::Interactive);
    if (station == 0) {
        request.Broadcast(address, word);
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        return true;
    }
    const ModbusReply reply = request.WriteOne(static_cast<uint8_t>(station), address, word);
    if (reply.Ok())
        return true;
    if (reply.Refused()) {
        if (m_table.writeRefusal == WriteRefusal::CommException)
            ShowCommExceptionMsg(reply.exception, station);
        else
            AfxMessageBox(FormatResString(IDS_STATION_NUM, station) + LoadResString(IDS_COMM_ERROR));
        return false;
    }
    if (reply.result >= 1 && reply.result <= 3)
        AfxMessageBox(FormatResString(IDS_STATION_NUM, station) + LoadResString(GetErrTypeTextId(reply.result)));
    return false;
}

bool CGroupPageModel::ReadParamFromDrive(int item, int station, std::string& value, EditorContext& context)
{
    CModbusRequest request(context.drive.m_pComm, RequestPace::Interactive);
    uint16_t word = 0;
    const ModbusReply reply = request.ReadHolding(static_cast<uint8_t>(station),
                                                  static_cast<uint16_t>(m_table.group << 8 | item), 1, &word);
    if (reply.Ok()) {
        value = std::to_string(word);
        return true;
    }
    if (reply.Refused()) {
        if (m_table.readRefusal == ReadRefusal::CommException)
            ShowCommExceptionMsg(reply.exception, station);
        else
            AfxMessageBox(IDS_COMM_ERROR);
    } else if (reply.result >= 1 && reply.result <= 3) {
        AfxMessageBox(GetErrTypeTextId(reply.result));
    }
    return false;
}

int CGroupPageModel::FlagPosition(int row, const CD390DocData& doc) const
{
    const PageRow& table = Row(row);
    return table.flagPosition >= 0 ? table.flagPosition : doc.DefinedPosition(m_table.group, table.item);
}

int CGroupPageModel::RowOfItem(int item) const
{
    for (int r = 0; r < RowCount(); ++r)
        if (Row(r).item == item)
            return r;
    return -1;
}
