#include "platform/Workbook.h"

#include "platform/RegularFile.h"
#include "platform/WorkbookBounds.h"
#include "platform/XlsReader.h"

#include <tinyxml2.h>
#include <xlsxwriter.h>
#include <zip.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <memory>
#include <fcntl.h>
#include <unistd.h>

namespace {

// The largest sheet the .xlsx form allows; a cell reference beyond it marks a
// damaged file rather than a reason to allocate without bound.
constexpr int kMaxRows = 1048576;
constexpr int kMaxColumns = 16384;

const std::string kEmpty;

// --- helpers for the XML parts of an .xlsx file --------------------------

// Element and attribute names without their namespace prefix: producers
// differ in the prefixes they use ("sheet", "x:sheet").
const char* LocalName(const char* name)
{
    const char* colon = std::strrchr(name, ':');
    return colon ? colon + 1 : name;
}

bool IsNamed(const tinyxml2::XMLElement* element, const char* local)
{
    return std::strcmp(LocalName(element->Name()), local) == 0;
}

const tinyxml2::XMLElement* FirstChild(const tinyxml2::XMLNode* parent, const char* local)
{
    for (auto* child = parent->FirstChildElement(); child; child = child->NextSiblingElement())
        if (IsNamed(child, local))
            return child;
    return nullptr;
}

const tinyxml2::XMLElement* NextSibling(const tinyxml2::XMLElement* element, const char* local)
{
    for (auto* next = element->NextSiblingElement(); next; next = next->NextSiblingElement())
        if (IsNamed(next, local))
            return next;
    return nullptr;
}

// The relationship id of a <sheet>: "r:id" under whatever prefix the file binds.
const char* RelationshipId(const tinyxml2::XMLElement* element)
{
    for (auto* attribute = element->FirstAttribute(); attribute; attribute = attribute->Next()) {
        const char* name = attribute->Name();
        if (std::strchr(name, ':') && std::strcmp(LocalName(name), "id") == 0)
            return attribute->Value();
    }
    return nullptr;
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

void AppendUtf8(std::string& out, unsigned code)
{
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// Cell texts carry characters that XML cannot hold (control characters) as
// "_xHHHH_"; a literal "_x" sequence is itself written as "_x005F_x...".
std::string DecodeEscapes(const char* text)
{
    std::string out;
    for (const char* p = text; *p;) {
        if (p[0] == '_' && p[1] == 'x' && HexDigit(p[2]) >= 0 && HexDigit(p[3]) >= 0 && HexDigit(p[4]) >= 0
            && HexDigit(p[5]) >= 0 && p[6] == '_') {
            unsigned code = (HexDigit(p[2]) << 12) | (HexDigit(p[3]) << 8) | (HexDigit(p[4]) << 4) | HexDigit(p[5]);
            AppendUtf8(out, code);
            p += 7;
        } else {
            out += *p++;
        }
    }
    return out;
}

// The text of a shared string item or an inline string: its <t> elements,
// directly or inside rich-text runs <r>; phonetic hints <rPh> are not part of
// the text.
std::string StringItemText(const tinyxml2::XMLElement* item)
{
    std::string text;
    for (auto* child = item->FirstChildElement(); child; child = child->NextSiblingElement()) {
        if (IsNamed(child, "t")) {
            if (child->GetText())
                text += DecodeEscapes(child->GetText());
        } else if (IsNamed(child, "r")) {
            if (auto* t = FirstChild(child, "t"); t && t->GetText())
                text += DecodeEscapes(t->GetText());
        }
    }
    return text;
}

// "B12" -> row 12, column 2. False for anything else.
bool ParseCellReference(const char* reference, int& row, int& column)
{
    const char* p = reference;
    long col = 0;
    while ((*p >= 'A' && *p <= 'Z') || (*p >= 'a' && *p <= 'z')) {
        col = col * 26 + ((*p | 0x20) - 'a' + 1);
        if (col > kMaxColumns)
            return false;
        ++p;
    }
    long r = 0;
    const char* digits = p;
    while (*p >= '0' && *p <= '9') {
        r = r * 10 + (*p - '0');
        if (r > kMaxRows)
            return false;
        ++p;
    }
    if (*p != '\0' || p == digits || col == 0 || r == 0)
        return false;
    row = static_cast<int>(r);
    column = static_cast<int>(col);
    return true;
}

// Joins a relationship target to the folder of the part that names it:
// "worksheets/sheet1.xml" from "xl/workbook.xml" is "xl/worksheets/sheet1.xml";
// a target starting with '/' is taken from the package root.
std::string ResolveTarget(const std::string& fromPart, const std::string& target)
{
    std::vector<std::string> parts;
    std::string path;
    if (!target.empty() && target[0] == '/') {
        path = target.substr(1);
    } else {
        std::size_t slash = fromPart.rfind('/');
        path = (slash == std::string::npos ? std::string() : fromPart.substr(0, slash + 1)) + target;
    }
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find('/', start);
        if (end == std::string::npos)
            end = path.size();
        std::string piece = path.substr(start, end - start);
        if (piece == "..") {
            if (!parts.empty())
                parts.pop_back();
        } else if (!piece.empty() && piece != ".") {
            parts.push_back(piece);
        }
        start = end + 1;
    }
    std::string result;
    for (const std::string& piece : parts)
        result += (result.empty() ? "" : "/") + piece;
    return result;
}

// The relationships file of a part: "xl/workbook.xml" -> "xl/_rels/workbook.xml.rels".
std::string RelsPath(const std::string& part)
{
    std::size_t slash = part.rfind('/');
    if (slash == std::string::npos)
        return "_rels/" + part + ".rels";
    return part.substr(0, slash + 1) + "_rels/" + part.substr(slash + 1) + ".rels";
}

struct ZipCloser {
    void operator()(zip_t* archive) const { zip_discard(archive); }
};

class XlsxPackage {
public:
    // Reads the archive from its own copy of the checked descriptor.
    bool Open(int fd, std::string& error)
    {
        int code = 0;
        int own = ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
        zip_t* archive = own < 0 ? nullptr : zip_fdopen(own, 0, &code);
        if (!archive) {
            if (own >= 0)
                ::close(own);
            else
                code = ZIP_ER_OPEN;
            zip_error_t zipError;
            zip_error_init_with_code(&zipError, code);
            error = std::string("cannot open the workbook: ") + zip_error_strerror(&zipError);
            zip_error_fini(&zipError);
            return false;
        }
        m_archive.reset(archive);
        return true;
    }

    bool Has(const std::string& name) const { return zip_name_locate(m_archive.get(), name.c_str(), 0) >= 0; }

    // Parses one XML part; false when it is missing or not well formed.
    bool ReadXml(const std::string& name, tinyxml2::XMLDocument& xml, std::string& error) const
    {
        zip_stat_t stat;
        zip_stat_init(&stat);
        if (zip_stat(m_archive.get(), name.c_str(), 0, &stat) != 0 || !(stat.valid & ZIP_STAT_SIZE)) {
            error = "the workbook lacks its part " + name;
            return false;
        }
        // An XML part of a workbook this program deals with is small; a
        // gigantic size is a damaged or hostile file.
        if (stat.size > static_cast<zip_uint64_t>(kReadMaxPartBytes)) {
            error = "the workbook part " + name + " is too large";
            return false;
        }
        std::string data(static_cast<std::size_t>(stat.size), '\0');
        zip_file_t* file = zip_fopen(m_archive.get(), name.c_str(), 0);
        if (!file) {
            error = "cannot read the workbook part " + name;
            return false;
        }
        zip_int64_t got = data.empty() ? 0 : zip_fread(file, data.data(), data.size());
        zip_fclose(file);
        if (got < 0 || static_cast<zip_uint64_t>(got) != stat.size) {
            error = "cannot read the workbook part " + name;
            return false;
        }
        if (xml.Parse(data.data(), data.size()) != tinyxml2::XML_SUCCESS) {
            error = "the workbook part " + name + " is damaged";
            return false;
        }
        return true;
    }

    // Relationship id -> resolved target, and type suffix -> first target.
    bool ReadRelationships(const std::string& part, std::map<std::string, std::string>& byId,
                           std::map<std::string, std::string>& byType, std::string& error) const
    {
        tinyxml2::XMLDocument xml;
        if (!ReadXml(RelsPath(part), xml, error))
            return false;
        const tinyxml2::XMLElement* root = xml.RootElement();
        for (auto* rel = root ? FirstChild(root, "Relationship") : nullptr; rel; rel = NextSibling(rel, "Relationship")) {
            const char* id = rel->Attribute("Id");
            const char* target = rel->Attribute("Target");
            const char* type = rel->Attribute("Type");
            if (!target)
                continue;
            if (const char* mode = rel->Attribute("TargetMode"); mode && std::strcmp(mode, "External") == 0)
                continue;
            std::string resolved = ResolveTarget(part, target);
            if (id)
                byId[id] = resolved;
            if (type) {
                std::string typeText = type;
                std::string suffix = typeText.substr(typeText.rfind('/') + 1);
                byType.emplace(suffix, resolved);
            }
        }
        return true;
    }

private:
    std::unique_ptr<zip_t, ZipCloser> m_archive;
};

bool ReadSheetPart(const XlsxPackage& package, const std::string& part, const std::vector<std::string>& shared,
                   WorkbookSheet& sheet, CWorkbookLoadBudget& budget, std::string& error)
{
    tinyxml2::XMLDocument xml;
    if (!package.ReadXml(part, xml, error))
        return false;
    const tinyxml2::XMLElement* root = xml.RootElement();
    const tinyxml2::XMLElement* data = root ? FirstChild(root, "sheetData") : nullptr;
    if (!data)
        return true; // a sheet without cells
    int rowNumber = 0;
    for (auto* row = FirstChild(data, "row"); row; row = NextSibling(row, "row")) {
        int r = row->IntAttribute("r", rowNumber + 1);
        if (r <= rowNumber || r > kMaxRows) {
            error = "sheet " + sheet.m_strName + " has a damaged row number";
            return false;
        }
        rowNumber = r;
        int columnNumber = 0;
        for (auto* cell = FirstChild(row, "c"); cell; cell = NextSibling(cell, "c")) {
            int cellRow = rowNumber;
            int column = columnNumber + 1;
            if (const char* reference = cell->Attribute("r")) {
                if (!ParseCellReference(reference, cellRow, column) || cellRow != rowNumber) {
                    error = "sheet " + sheet.m_strName + " has a damaged cell reference " + reference;
                    return false;
                }
            }
            if (column > kMaxColumns) {
                error = "sheet " + sheet.m_strName + " has too many columns";
                return false;
            }
            columnNumber = column;
            const char* type = cell->Attribute("t");
            std::string text;
            if (type && std::strcmp(type, "inlineStr") == 0) {
                if (auto* inlineString = FirstChild(cell, "is"))
                    text = StringItemText(inlineString);
            } else {
                auto* value = FirstChild(cell, "v");
                const char* raw = value && value->GetText() ? value->GetText() : "";
                if (type && std::strcmp(type, "s") == 0) {
                    char* end = nullptr;
                    unsigned long index = std::strtoul(raw, &end, 10);
                    if (*raw == '\0' || *end != '\0' || index >= shared.size()) {
                        error = "sheet " + sheet.m_strName + " names a shared text that the workbook lacks";
                        return false;
                    }
                    text = shared[index];
                } else if (type && std::strcmp(type, "b") == 0) {
                    text = std::strcmp(raw, "1") == 0 ? "TRUE" : "FALSE";
                } else if (type && std::strcmp(type, "str") == 0) {
                    text = DecodeEscapes(raw);
                } else {
                    text = raw; // numbers and errors as stored
                }
            }
            if (!text.empty() && !budget.Place(sheet, cellRow, column, std::move(text), error))
                return false;
        }
    }
    return true;
}

// First bytes of the two forms: a zip archive, and the compound document
// that holds a binary workbook.
bool StartsWith(int fd, const unsigned char* magic, std::size_t size)
{
    std::vector<char> head(size);
    ssize_t got;
    do {
        got = ::pread(fd, head.data(), size, 0);
    } while (got < 0 && errno == EINTR);
    return got == static_cast<ssize_t>(size) && std::memcmp(head.data(), magic, size) == 0;
}

// Column width in characters of the spreadsheet's default font: wide enough
// for the longest text, within sensible bounds.
double ColumnWidth(const WorkbookSheet& sheet, std::size_t column)
{
    std::size_t longest = 0;
    for (const auto& row : sheet.m_Rows) {
        if (column >= row.size())
            continue;
        std::size_t characters = 0;
        for (unsigned char c : row[column])
            if ((c & 0xC0) != 0x80)
                ++characters;
        longest = std::max(longest, characters);
    }
    return std::clamp(static_cast<double>(longest) + 2.0, 10.0, 90.0);
}

} // namespace

const std::string& WorkbookSheet::Cell(int row, int column) const
{
    if (row < 1 || column < 1 || row > static_cast<int>(m_Rows.size()))
        return kEmpty;
    const auto& cells = m_Rows[row - 1];
    if (column > static_cast<int>(cells.size()))
        return kEmpty;
    return cells[column - 1];
}

void WorkbookSheet::SetCell(int row, int column, std::string text)
{
    if (row < 1 || column < 1 || row > kMaxRows || column > kMaxColumns)
        return;
    if (static_cast<int>(m_Rows.size()) < row)
        m_Rows.resize(row);
    auto& cells = m_Rows[row - 1];
    if (static_cast<int>(cells.size()) < column)
        cells.resize(column);
    cells[column - 1] = std::move(text);
}

WorkbookSheet* CWorkbook::FindSheet(const std::string& name)
{
    for (WorkbookSheet& sheet : m_Sheets)
        if (sheet.m_strName == name)
            return &sheet;
    return nullptr;
}

const WorkbookSheet* CWorkbook::FindSheet(const std::string& name) const
{
    return const_cast<CWorkbook*>(this)->FindSheet(name);
}

WorkbookSheet& CWorkbook::AddSheet(const std::string& name)
{
    m_Sheets.push_back(WorkbookSheet{name, {}});
    return m_Sheets.back();
}

bool CWorkbook::Load(const std::string& path, std::string& error, bool* refusedFile)
{
    m_Sheets.clear();
    if (refusedFile)
        *refusedFile = false;
    CRegularFile file;
    FileRules rules;
    rules.maxBytes = kReadMaxFileBytes;
    switch (file.Open(path, rules)) {
    case FileCheck::Ok:
        break;
    case FileCheck::NotRegular:
    case FileCheck::TooLarge:
        error = file.RefusalText(path);
        if (refusedFile)
            *refusedFile = true;
        return false;
    case FileCheck::Missing:
    case FileCheck::CannotOpen:
        error = "cannot open the workbook";
        return false;
    }
    static const unsigned char kZip[] = {'P', 'K', 3, 4};
    static const unsigned char kCompound[] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
    bool ok;
    // Within the bounds a load needs little memory; should the system still
    // refuse some, the file is refused and the program goes on.
    try {
        if (StartsWith(file.Descriptor(), kZip, sizeof kZip)) {
            ok = LoadXlsx(file.Descriptor(), error);
        } else if (StartsWith(file.Descriptor(), kCompound, sizeof kCompound)) {
            // The parser takes a name: the one of the file already checked
            // and open, whatever path names by now.
            ok = LoadXls("/proc/self/fd/" + std::to_string(file.Descriptor()), error);
        } else {
            error = "the file is not a workbook";
            ok = false;
        }
    } catch (const std::bad_alloc&) {
        error = "the workbook is too large to be read";
        ok = false;
    }
    if (!ok)
        m_Sheets.clear();
    return ok;
}

bool CWorkbook::LoadXlsx(int fd, std::string& error)
{
    XlsxPackage package;
    if (!package.Open(fd, error))
        return false;

    std::map<std::string, std::string> rootById, rootByType;
    std::string workbookPart = "xl/workbook.xml";
    std::string ignored;
    if (package.ReadRelationships("", rootById, rootByType, ignored)) {
        if (auto found = rootByType.find("officeDocument"); found != rootByType.end())
            workbookPart = found->second;
    }
    tinyxml2::XMLDocument workbookXml;
    if (!package.ReadXml(workbookPart, workbookXml, error))
        return false;
    std::map<std::string, std::string> byId, byType;
    if (!package.ReadRelationships(workbookPart, byId, byType, error))
        return false;

    CWorkbookLoadBudget budget;
    std::vector<std::string> shared;
    std::string sharedPart = byType.count("sharedStrings") ? byType["sharedStrings"] : "xl/sharedStrings.xml";
    if (package.Has(sharedPart)) {
        tinyxml2::XMLDocument sharedXml;
        if (!package.ReadXml(sharedPart, sharedXml, error))
            return false;
        const tinyxml2::XMLElement* root = sharedXml.RootElement();
        for (auto* item = root ? FirstChild(root, "si") : nullptr; item; item = NextSibling(item, "si")) {
            shared.push_back(StringItemText(item));
            if (!budget.TakeShared(shared.size(), shared.back().size(), error))
                return false;
        }
    }

    const tinyxml2::XMLElement* root = workbookXml.RootElement();
    const tinyxml2::XMLElement* sheets = root ? FirstChild(root, "sheets") : nullptr;
    if (!sheets) {
        error = "the workbook has no sheets";
        return false;
    }
    for (auto* sheet = FirstChild(sheets, "sheet"); sheet; sheet = NextSibling(sheet, "sheet")) {
        const char* name = sheet->Attribute("name");
        const char* id = RelationshipId(sheet);
        auto target = id ? byId.find(id) : byId.end();
        if (!name || target == byId.end()) {
            error = "the workbook lists a sheet it does not hold";
            return false;
        }
        if (!budget.AddSheet(*this, name, error))
            return false;
        if (!ReadSheetPart(package, target->second, shared, m_Sheets.back(), budget, error))
            return false;
    }
    return true;
}

bool CWorkbook::LoadXls(const std::string& path, std::string& error)
{
    return ReadXlsWorkbook(path, *this, error);
}

bool CWorkbook::Save(const std::string& path, std::string& error) const
{
    // Written beside the target under another name and moved over it at the
    // end, so that a failure never leaves half a workbook in its place.
    std::string temporary = path + ".part";
    lxw_workbook* workbook = workbook_new(temporary.c_str());
    if (!workbook) {
        error = "cannot create the workbook";
        return false;
    }
    bool ok = true;
    for (const WorkbookSheet& sheet : m_Sheets) {
        lxw_worksheet* worksheet = workbook_add_worksheet(workbook, sheet.m_strName.c_str());
        if (!worksheet) {
            error = "the sheet name \"" + sheet.m_strName + "\" cannot be used";
            ok = false;
            break;
        }
        std::size_t columns = 0;
        for (const auto& row : sheet.m_Rows)
            columns = std::max(columns, row.size());
        for (std::size_t c = 0; c < columns; ++c)
            worksheet_set_column(worksheet, static_cast<lxw_col_t>(c), static_cast<lxw_col_t>(c),
                                 ColumnWidth(sheet, c), nullptr);
        for (std::size_t r = 0; ok && r < sheet.m_Rows.size(); ++r) {
            const auto& row = sheet.m_Rows[r];
            for (std::size_t c = 0; c < row.size(); ++c) {
                if (row[c].empty())
                    continue;
                lxw_error result = worksheet_write_string(worksheet, static_cast<lxw_row_t>(r),
                                                          static_cast<lxw_col_t>(c), row[c].c_str(), nullptr);
                if (result != LXW_NO_ERROR) {
                    error = std::string("cannot write a cell: ") + lxw_strerror(result);
                    ok = false;
                    break;
                }
            }
        }
    }
    lxw_error closed = workbook_close(workbook);
    if (ok && closed != LXW_NO_ERROR) {
        error = std::string("cannot write the workbook: ") + lxw_strerror(closed);
        ok = false;
    }
    if (ok && std::rename(temporary.c_str(), path.c_str()) != 0) {
        error = "cannot write the workbook";
        ok = false;
    }
    if (!ok)
        ::unlink(temporary.c_str());
    return ok;
}
