#include "view/ParamExchange.h"

#include "document/CsvFile.h"
#include "document/D390DocData.h"
#include "document/ModelTables.h"
#include "document/ProjectFile.h"
#include "platform/FileWrite.h"
#include "platform/MessageBox.h"
#include "platform/ResourceModule.h"
#include "platform/TextEncoding.h"
#include "platform/Workbook.h"
#include "res/StringIds.h"
#include "session/DriveSession.h"
#include "session/DriveSession.h"

#include <cstdio>
#include <new>

namespace {

// The comma-separated file: line 1 the model, lines 2 and 3 for readers,
// parameters from line 4.
constexpr std::size_t kFirstDataLine = 3;
// The code of the parameter whose name holds a comma; its lines get one
// repair (see ImportCsv).
const char kCommaParam[] = "10-00";
constexpr std::size_t kCodeLength = 5; // "GG-NN"

const char kColumnCode[] = "Parameter_Descriptions";
const char kColumnFactory[] = "Factory_Setting";
const char kColumnValue[] = "Current_Value";
constexpr int kTemplateGroups = 15;
constexpr int kFirstWorkbookRow = 3; // row 1 column names, row 2 description

// A line of the file holds at most two texts of a project (the model line
// one): a code and name, a comma and a value. A longer line is refused as soon
// as it passes this, unread beyond.
constexpr std::size_t kCsvLineBytes = 2 * kProjectTextLimit + 1;
// What a message shows of a bad line: its start, enough to find it.
constexpr std::size_t kShownLineBytes = 100;

std::string ShownLine(const std::string& line)
{
    if (line.size() <= kShownLineBytes)
        return line;
    std::size_t cut = kShownLineBytes;
    while (cut > 0 && (static_cast<unsigned char>(line[cut]) & 0xC0) == 0x80)
        --cut; // not inside a character
    return line.substr(0, cut) + "...";
}

// The start of a line cut at the bound, in UTF-8 as the file's lines would
// be: the bytes of a character cut off at the end do not make it code page 936.
std::string StartOfLongLine(const std::string& line)
{
    std::string start = line.substr(0, kShownLineBytes + 1);
    std::string text = start;
    for (int cut = 0; cut < 3 && !text.empty() && !IsValidUtf8(text); ++cut)
        text.pop_back();
    if (!IsValidUtf8(text))
        text = Cp936ToUtf8(start);
    return text.size() > kShownLineBytes ? ShownLine(text) : text + "...";
}

std::string TwoDigits(int value)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%02d", value);
    return buffer;
}

// A label for the date or time cell: the table's text without its closing
// colon, as the cell adds ": " itself.
std::string CellLabel(unsigned id)
{
    std::string text = LoadResString(id);
    while (!text.empty() && (text.back() == ':' || text.back() == ' '))
        text.pop_back();
    return text;
}

std::tm LocalNow()
{
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return local;
}

std::string SheetNameOf(int group)
{
    return "Group" + std::to_string(group);
}

std::string Upper(std::string text)
{
    for (char& c : text)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return text;
}

// One defined parameter in table order.
struct Position {
    int group;
    int item;
};

std::vector<Position> DefinedPositions(const CD390DocData& doc)
{
    std::vector<Position> positions;
    for (int g = 0; g < static_cast<int>(doc.m_Groups.size()) && g < kGroupCount; ++g)
        for (int j = 0; j < static_cast<int>(doc.m_Groups[g].m_Params.size()) && j < kItemCount; ++j)
            if (doc.m_Defined[g][j])
                positions.push_back({g, j});
    return positions;
}

// The item a workbook row's code names in group g: "GG-NN" with GG the
// group; -1 for anything else.
int ItemOfCode(const std::string& code, int group)
{
    auto digit = [&](std::size_t i) { return i < code.size() && code[i] >= '0' && code[i] <= '9'; };
    if (!digit(0) || !digit(1) || code.size() < kCodeLength || code[2] != '-' || !digit(3) || !digit(4))
        return -1;
    if ((code[0] - '0') * 10 + (code[1] - '0') != group)
        return -1;
    return (code[3] - '0') * 10 + (code[4] - '0');
}

int ColumnNamed(const WorkbookSheet& sheet, const char* name)
{
    if (sheet.m_Rows.empty())
        return 0;
    const auto& header = sheet.m_Rows[0];
    for (std::size_t c = 0; c < header.size(); ++c)
        if (header[c] == name)
            return static_cast<int>(c) + 1;
    return 0;
}

} // namespace

CParamExchange::CParamExchange(const CDriveSession& session, CD390DocData& doc)
    : m_clock(LocalNow), m_session(session), m_doc(doc)
{
}

bool CParamExchange::RefusedWhileAutoRefresh() const
{
    return m_session.RefusedWhileAutoRefresh();
}

std::string CParamExchange::Snapshot() const
{
    // Placeholders are left out: a table rebuilt from the files renews them,
    // and the list and the exports leave them out.
    std::string state = m_doc.m_strModelName + '\n' + std::to_string(m_doc.m_nModelCode) + '\n';
    for (Position p : DefinedPositions(m_doc)) {
        const ParamRec& param = m_doc.m_Groups[p.group].m_Params[p.item];
        state += std::to_string(p.group) + '/' + std::to_string(p.item) + '\0' + param.m_strLabel + '\0'
                 + param.m_strFactory + '\0' + param.m_strValue + '\n';
    }
    return state;
}

// --- Comma-separated file ------------------------------------------------

std::vector<std::string> CParamExchange::BuildCsvLines() const
{
    CCsvFile csv;
    std::vector<std::string> lines;
    std::string capacity;
    lines.push_back(LoadResString(IDS_MODEL_LABEL) + LookupModelByCode(static_cast<uint32_t>(m_doc.m_nModelCode), capacity));
    lines.push_back(csv.JoinRow({LoadResString(IDS_PARAMETER_NAME), LoadResString(IDS_SET_VALUE)}));
    std::tm now = m_clock();
    std::string date = CellLabel(IDS_DATE_LABEL) + ": " + TwoDigits(now.tm_mon + 1) + "-" + TwoDigits(now.tm_mday) + "-"
                       + std::to_string(now.tm_year + 1900);
    std::string time = CellLabel(IDS_TIME_LABEL) + ": " + TwoDigits(now.tm_hour) + ":" + TwoDigits(now.tm_min) + ":"
                       + TwoDigits(now.tm_sec);
    lines.push_back(csv.JoinRow({date, time}));
    for (Position p : DefinedPositions(m_doc)) {
        const ParamRec& param = m_doc.m_Groups[p.group].m_Params[p.item];
        lines.push_back(csv.JoinRow({param.m_strLabel, param.m_strValue}));
    }
    return lines;
}

bool CParamExchange::ExportCsv(const std::string& path)
{
    std::string reason;
    // Through a file beside the target: a full disk keeps the file that was there.
    if (!WriteFileReplacing(path, CCsvFile::JoinLines(BuildCsvLines()), &reason)) {
        AfxMessageBox(FormatResString(IDS_FILE_NOT_WRITTEN, path.c_str(), reason.c_str()), MB_OK);
        return false;
    }
    AfxMessageBox(IDS_EXPORT_SUCCESS, MB_OK);
    return true;
}

template <typename Import>
bool CParamExchange::GuardMemory(Import import)
{
    try {
        return import();
    } catch (const std::bad_alloc&) {
        AfxMessageBox(IDS_IMPORT_TOO_LARGE, MB_OK);
        return false;
    }
}

bool CParamExchange::ImportCsv(const std::string& path)
{
    return GuardMemory([&] { return ImportCsvFile(path); });
}

bool CParamExchange::ImportWorkbook(const std::string& path)
{
    return GuardMemory([&] { return ImportWorkbookFile(path); });
}

bool CParamExchange::ImportCsvFile(const std::string& path)
{
    if (RefusedWhileAutoRefresh())
        return false;
    auto refuse = [](std::size_t index, const std::string& line) {
        AfxMessageBox(FormatResString(IDS_BAD_IMPORT_LINE, static_cast<int>(index), ShownLine(line).c_str()), MB_OK);
        return false;
    };
    std::vector<std::string> lines;
    {
        CCsvFile csv;
        std::string refusal;
        switch (csv.OpenToRead(path, refusal)) {
        case FileCheck::Ok:
            break;
        case FileCheck::NotRegular:
        case FileCheck::TooLarge:
            AfxMessageBox(refusal, MB_OK);
            return false;
        case FileCheck::Missing:
        case FileCheck::CannotOpen:
            AfxMessageBox(IDS_OPEN_FILE_FAILED, MB_OK);
            return false;
        }
        CCsvFile::LineBounds bounds;
        bounds.maxBytes = kCsvLineBytes;
        for (std::string line;;) {
            CCsvFile::LineRead read = csv.ReadLine(line, bounds);
            if (read == CCsvFile::LineRead::Line) {
                lines.push_back(std::move(line));
                continue;
            }
            if (read == CCsvFile::LineRead::End)
                break;
            if (read == CCsvFile::LineRead::LineTooLong)
                return refuse(lines.size(), StartOfLongLine(line));
            AfxMessageBox(read == CCsvFile::LineRead::TooLarge ? IDS_IMPORT_TOO_LARGE : IDS_OPEN_FILE_FAILED, MB_OK);
            return false;
        }
    }
    if (lines.empty())
        return refuse(0, std::string());
    // A file from elsewhere that is not UTF-8 is the older program's code page.
    bool utf8 = true;
    for (const std::string& line : lines)
        utf8 = utf8 && IsValidUtf8(line);
    if (!utf8)
        for (std::string& line : lines)
            line = Cp936ToUtf8(line);
    auto refuseLong = [](std::size_t index, const std::string& what) {
        AfxMessageBox(FormatResString(IDS_IMPORT_TEXT_TOO_LONG, static_cast<int>(index), what.c_str(),
                                      static_cast<int>(kProjectTextLimit)),
                      MB_OK);
        return false;
    };

    // The table of the file's model, read on the side: the lines are checked
    // against it before the project is switched to that model.
    CD390DocData target;
    {
        const std::string& first = lines[0];
        std::size_t colon = first.find(':');
        std::string name = colon == std::string::npos ? first : first.substr(colon + 1);
        if (!FitsProjectText(name))
            return refuseLong(0, "the model name");
        int code = m_doc.m_nModelCode;
        std::string capacity;
        LookupModelByName(name, code, capacity);
        if (!target.ParseParamFile(m_doc.m_strProgramFolder + CD390DocData::ParamFileNameOf(code)))
            return false; // reported with the file's name; nothing changed
    }

    CCsvFile csv;
    std::vector<Position> positions = DefinedPositions(target);
    std::vector<std::string> values;
    for (std::size_t index = kFirstDataLine; index < lines.size(); ++index) {
        std::string line = lines[index];
        std::vector<std::string> cells;
        csv.SplitRow(line, cells);
        // Parameter 10-00's name holds one comma that the plain format cannot
        // carry; its line is taken with that comma read as a blank.
        if (cells.size() != 2 && line.compare(0, kCodeLength, kCommaParam) == 0) {
            if (std::size_t comma = line.find(','); comma != std::string::npos)
                line[comma] = ' ';
            cells.clear();
            csv.SplitRow(line, cells);
        }
        std::size_t n = values.size();
        if (cells.size() != 2 || n >= positions.size())
            return refuse(index, line);
        const ParamRec& param = target.m_Groups[positions[n].group].m_Params[positions[n].item];
        if (cells[0].size() < kCodeLength || param.m_strLabel.size() < kCodeLength
            || cells[0].compare(0, kCodeLength, param.m_strLabel, 0, kCodeLength) != 0)
            return refuse(index, line);
        if (!FitsProjectText(cells[1]))
            return refuseLong(index, "parameter " + param.m_strLabel.substr(0, kCodeLength));
        values.push_back(cells[1]);
    }

    std::string before = Snapshot();
    if (!m_doc.SetModelFromText(lines[0]))
        return false;
    positions = DefinedPositions(m_doc);
    for (std::size_t n = 0; n < values.size() && n < positions.size(); ++n)
        m_doc.m_Groups[positions[n].group].m_Params[positions[n].item].m_strValue = values[n];
    m_doc.SetModelDefaults();
    if (Snapshot() != before)
        m_doc.SetModifiedFlag(true);
    if (m_showImported)
        m_showImported();
    AfxMessageBox(IDS_IMPORT_SUCCESS, MB_OK);
    return true;
}

// --- Workbook ------------------------------------------------------------

std::string CParamExchange::TemplateNameOf(int modelCode)
{
    return modelCode > kModelFamilySP ? "RQ5 Parameter.xlsx" : "D390 Parameter.xlsx";
}

void CParamExchange::MakeTemplate(CWorkbook& book)
{
    book.m_Sheets.clear();
    for (int g = 0; g < kTemplateGroups; ++g) {
        WorkbookSheet& sheet = book.AddSheet(SheetNameOf(g));
        sheet.SetCell(1, 1, kColumnCode);
        sheet.SetCell(1, 2, kColumnFactory);
        sheet.SetCell(1, 3, kColumnValue);
        // Row 2 says what the columns hold; an import passes over it.
        sheet.SetCell(2, 1, "Code and name");
        sheet.SetCell(2, 2, "Factory default");
        sheet.SetCell(2, 3, "Set value");
    }
}

bool CParamExchange::BuildWorkbook(const std::string& templatePath, CWorkbook& book) const
{
    std::string error;
    CWorkbook filled;
    bool ok = filled.Load(templatePath, error) && filled.FindSheet(SheetNameOf(0));
    for (int g = 0; ok && g < static_cast<int>(m_doc.m_Groups.size()); ++g)
        ok = filled.FindSheet(SheetNameOf(g)) != nullptr;
    if (!ok) {
        AfxMessageBox(IDS_FILE_LOST, MB_OK);
        return false;
    }
    for (int g = 0; g < static_cast<int>(m_doc.m_Groups.size()) && g < kGroupCount; ++g) {
        WorkbookSheet& sheet = *filled.FindSheet(SheetNameOf(g));
        if (sheet.m_Rows.size() > kFirstWorkbookRow - 1)
            sheet.m_Rows.resize(kFirstWorkbookRow - 1);
        int row = kFirstWorkbookRow;
        const GroupRec& group = m_doc.m_Groups[g];
        for (int j = 0; j < static_cast<int>(group.m_Params.size()) && j < kItemCount; ++j) {
            if (!m_doc.m_Defined[g][j])
                continue;
            const ParamRec& param = group.m_Params[j];
            sheet.SetCell(row, 1, param.m_strLabel);
            sheet.SetCell(row, 2, param.m_strFactory);
            sheet.SetCell(row, 3, param.m_strValue);
            ++row;
        }
    }
    book = std::move(filled);
    return true;
}

bool CParamExchange::SaveWorkbook(const CWorkbook& book, const std::string& path)
{
    std::string error;
    if (!book.Save(path, error)) {
        AfxMessageBox(IDS_OPEN_FILE_FAILED, MB_OK);
        return false;
    }
    AfxMessageBox(IDS_EXPORT_SUCCESS, MB_OK);
    return true;
}

bool CParamExchange::ImportWorkbookFile(const std::string& path)
{
    if (RefusedWhileAutoRefresh())
        return false;
    auto refuse = [](const std::string& why) {
        AfxMessageBox(LoadResString(IDS_DATABASE_ERROR) + why, MB_OK);
        return false;
    };
    CWorkbook book;
    std::string error;
    bool refusedFile = false;
    if (!book.Load(path, error, &refusedFile)) {
        if (!refusedFile)
            return refuse(error);
        AfxMessageBox(error, MB_OK);
        return false;
    }

    // Every row is checked before the first value is taken.
    struct Change {
        int group;
        int item;
        std::string factory;
        std::string value;
    };
    std::vector<Change> changes;
    for (int g = 0; g < static_cast<int>(m_doc.m_Groups.size()) && g < kGroupCount; ++g) {
        const WorkbookSheet* sheet = book.FindSheet(SheetNameOf(g));
        if (!sheet)
            return refuse("the workbook has no sheet " + SheetNameOf(g));
        int columns[3] = {ColumnNamed(*sheet, kColumnCode), ColumnNamed(*sheet, kColumnFactory),
                          ColumnNamed(*sheet, kColumnValue)};
        const char* names[3] = {kColumnCode, kColumnFactory, kColumnValue};
        for (int c = 0; c < 3; ++c)
            if (!columns[c])
                return refuse("sheet " + SheetNameOf(g) + " has no column " + names[c]);
        const GroupRec& group = m_doc.m_Groups[g];
        int defined = 0;
        for (int j = 0; j < static_cast<int>(group.m_Params.size()) && j < kItemCount; ++j)
            defined += m_doc.m_Defined[g][j] ? 1 : 0;
        // As many rows as the group has defined parameters are taken; rows
        // after them are left unread.
        for (int row = kFirstWorkbookRow; row < kFirstWorkbookRow + defined && row <= sheet->RowCount(); ++row) {
            const std::string& code = sheet->Cell(row, columns[0]);
            const std::string& factory = sheet->Cell(row, columns[1]);
            const std::string& value = sheet->Cell(row, columns[2]);
            if (code.empty() && factory.empty() && value.empty())
                continue; // a blank row carries nothing
            int item = ItemOfCode(code, g);
            if (item < 0 || item >= static_cast<int>(group.m_Params.size()) || !m_doc.m_Defined[g][item])
                return refuse("sheet " + SheetNameOf(g) + " row " + std::to_string(row) + ": \"" + code
                              + "\" is no parameter of group " + std::to_string(g));
            if (!FitsProjectText(factory) || !FitsProjectText(value)) {
                AfxMessageBox(FormatResString(IDS_WORKBOOK_TEXT_TOO_LONG, SheetNameOf(g).c_str(), row,
                                              code.substr(0, kCodeLength).c_str(),
                                              static_cast<int>(kProjectTextLimit)),
                              MB_OK);
                return false;
            }
            changes.push_back({g, item, factory, value});
        }
    }

    std::string before = Snapshot();
    for (Change& change : changes) {
        ParamRec& param = m_doc.m_Groups[change.group].m_Params[change.item];
        param.m_strFactory = std::move(change.factory);
        param.m_strValue = std::move(change.value);
    }
    if (Snapshot() != before)
        m_doc.SetModifiedFlag(true);
    if (m_showImported)
        m_showImported();
    AfxMessageBox(IDS_IMPORT_SUCCESS, MB_OK);
    return true;
}

CParamExchange::ImportKind CParamExchange::ImportKindOf(const std::string& path)
{
    std::size_t slash = path.rfind('/');
    std::size_t dot = path.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return ImportKind::None;
    std::string extension = Upper(path.substr(dot + 1));
    if (extension == "XLS" || extension == "XLSX")
        return ImportKind::Workbook;
    if (extension == "CSV")
        return ImportKind::Csv;
    return ImportKind::None;
}
