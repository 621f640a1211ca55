#include "monitor/GraphExchange.h"

#include "document/CsvFile.h"
#include "document/ProjectFile.h"
#include "monitor/GraphRecorder.h"
#include "platform/FileReplace.h"
#include "platform/MessageBox.h"
#include "platform/ResourceModule.h"
#include "platform/TextEncoding.h"
#include "platform/Workbook.h"
#include "platform/WorkbookBounds.h"
#include "res/StringIds.h"

#include <array>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr const char* kSheetName = "GraphData";
// The header: curve names, minima, maxima, each line a first cell and four.
constexpr std::size_t kHeaderLines = 3;
constexpr std::size_t kHeaderCells = 5;

using Four = std::array<std::string, kGraphChannels>;

struct GraphHeader {
    Four names;
    Four minTexts;
    Four maxTexts;
};

bool IsNumber(const std::string& text, double& value)
{
    if (text.empty())
        return false;
    const char* begin = text.c_str();
    char* end = nullptr;
    errno = 0;
    value = std::strtod(begin, &end);
    while (end && *end == ' ')
        ++end;
    return end != begin && *end == '\0' && errno != ERANGE;
}

// A text the project can keep: the graph settings are saved with it.
bool IsProjectText(const std::string& text)
{
    return text.size() <= kProjectTextLimit && IsValidUtf8(text);
}

// Names and scales the project can keep, each scale's maximum above its
// minimum, both numbers.
bool IsGoodHeader(const GraphHeader& header)
{
    for (int c = 0; c < kGraphChannels; ++c) {
        if (!IsProjectText(header.names[c]) || !IsProjectText(header.maxTexts[c]) ||
            !IsProjectText(header.minTexts[c]))
            return false;
        double max = 0;
        double min = 0;
        if (!IsNumber(header.maxTexts[c], max) || !IsNumber(header.minTexts[c], min) || !(max > min))
            return false;
    }
    return true;
}

void TakeHeader(CGraphRecorder& recorder, const GraphHeader& header)
{
    for (int c = 0; c < kGraphChannels; ++c)
        recorder.SetChannel(c, header.names[c], header.maxTexts[c], header.minTexts[c]);
    recorder.ApplyScaleRule();
}

int Digits(const std::string& text, size_t from, size_t count)
{
    int value = 0;
    for (size_t i = from; i < from + count; ++i) {
        if (i >= text.size() || !std::isdigit(static_cast<unsigned char>(text[i])))
            return -1;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

// "h:mm:ss.mmm" (one or two digits of hours).
bool ParseTimeText(const std::string& text, GraphTimeOfDay& time)
{
    size_t colon = text.find(':');
    if (colon != 1 && colon != 2)
        return false;
    if (text.size() != colon + 10 || text[colon + 3] != ':' || text[colon + 6] != '.')
        return false;
    int hour = Digits(text, 0, colon);
    int minute = Digits(text, colon + 1, 2);
    int second = Digits(text, colon + 4, 2);
    int millisecond = Digits(text, colon + 7, 3);
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 || millisecond < 0)
        return false;
    time.hour = static_cast<uint16_t>(hour);
    time.minute = static_cast<uint16_t>(minute);
    time.second = static_cast<uint16_t>(second);
    time.millisecond = static_cast<uint16_t>(millisecond);
    return true;
}

// Empties the store for an import; the value texts of the newest sample stay.
void ClearForImport(CGraphRecorder& recorder)
{
    recorder.StopSampling();
    std::array<double, kGraphChannels> current{};
    for (int c = 0; c < kGraphChannels; ++c)
        current[c] = recorder.m_Channels[c].currentValue;
    recorder.ResetSamples();
    recorder.SetCurrentValues(current);
}

// One imported sample; false when its time is not a time of day.
bool AddImportedSample(CGraphRecorder& recorder, const Four& values, const std::string& timeText)
{
    GraphTimeOfDay time;
    if (!ParseTimeText(timeText, time))
        return false;
    GraphSample sample;
    sample.clock = time.Milliseconds() * 0.001;
    sample.timeOfDay = sample.clock;
    sample.timeText = timeText;
    for (int c = 0; c < kGraphChannels; ++c) {
        const GraphChannel& ch = recorder.m_Channels[c];
        sample.valueTexts[c] = values[c];
        sample.plotted[c] = (std::atof(values[c].c_str()) - ch.minimum) * ch.scaleFactor;
    }
    if (recorder.Samples().empty()) {
        recorder.m_TimeAxisBase = time;
        recorder.m_dStartClock = sample.clock;
    }
    // Imported samples are kept whole, whatever span is shown.
    recorder.KeepSample(std::move(sample));
    return true;
}

bool FourCells(const std::vector<std::string>& cells, Four& out)
{
    if (cells.size() != 5)
        return false;
    for (int c = 0; c < kGraphChannels; ++c)
        out[c] = cells[c + 1];
    return true;
}

// One message for all the lines of an import that were not samples.
void ReportSkipped(size_t skipped)
{
    if (skipped > 0)
        AfxMessageBox(FormatResString(IDS_IMPORT_LINES_SKIPPED, static_cast<int>(skipped)));
}

std::string WithReason(unsigned id, const std::string& reason)
{
    std::string text = LoadResString(id);
    if (!reason.empty())
        text += "\n" + reason;
    return text;
}

} // namespace

std::vector<std::string> GraphCsvLines(const CGraphRecorder& recorder)
{
    CCsvFile csv;
    const auto& ch = recorder.m_Channels;
    std::vector<std::string> lines;
    lines.push_back(csv.JoinRow({"", ch[0].name, ch[1].name, ch[2].name, ch[3].name}));
    lines.push_back(csv.JoinRow({"Min", ch[0].minText, ch[1].minText, ch[2].minText, ch[3].minText}));
    lines.push_back(csv.JoinRow({"Max", ch[0].maxText, ch[1].maxText, ch[2].maxText, ch[3].maxText}));
    int index = 0;
    for (const GraphSample& sample : recorder.Samples()) {
        const auto& v = sample.valueTexts;
        lines.push_back(csv.JoinRow({std::to_string(index++), v[0], v[1], v[2], v[3], sample.timeText}));
    }
    return lines;
}

bool ImportGraphCsvLines(CGraphRecorder& recorder, const std::vector<std::string>& lines)
{
    CCsvFile csv;
    GraphHeader header;
    bool good = lines.size() >= 3;
    std::vector<std::string> cells;
    Four* parts[3] = {&header.names, &header.minTexts, &header.maxTexts};
    for (int row = 0; good && row < 3; ++row) {
        cells.clear();
        csv.SplitRow(lines[row], cells);
        good = FourCells(cells, *parts[row]);
    }
    recorder.StopSampling();
    if (!good || !IsGoodHeader(header)) {
        AfxMessageBox(IDS_IMPORT_ERROR);
        return false;
    }
    ClearForImport(recorder);
    TakeHeader(recorder, header);
    size_t skipped = 0;
    for (size_t row = 3; row < lines.size(); ++row) {
        cells.clear();
        csv.SplitRow(lines[row], cells);
        Four values;
        bool ok = cells.size() == 6;
        if (ok) {
            for (int c = 0; c < kGraphChannels; ++c)
                values[c] = cells[c + 1];
            ok = AddImportedSample(recorder, values, cells[5]);
        }
        if (!ok)
            ++skipped;
    }
    ReportSkipped(skipped);
    return true;
}

WorkbookSheet GraphWorkbookSheet(const CGraphRecorder& recorder)
{
    WorkbookSheet sheet;
    sheet.m_strName = kSheetName;
    for (int column = 1; column <= 6; ++column)
        sheet.SetCell(1, column, "");
    const auto& ch = recorder.m_Channels;
    sheet.SetCell(2, 1, "Index");
    sheet.SetCell(3, 1, "Min");
    sheet.SetCell(4, 1, "Max");
    for (int c = 0; c < kGraphChannels; ++c) {
        sheet.SetCell(2, c + 2, ch[c].name);
        sheet.SetCell(3, c + 2, ch[c].minText);
        sheet.SetCell(4, c + 2, ch[c].maxText);
    }
    sheet.SetCell(2, 6, "Time");
    int row = 5;
    for (const GraphSample& sample : recorder.Samples()) {
        sheet.SetCell(row, 1, std::to_string(row - 5));
        for (int c = 0; c < kGraphChannels; ++c)
            sheet.SetCell(row, c + 2, sample.valueTexts[c]);
        sheet.SetCell(row, 6, sample.timeText);
        ++row;
    }
    return sheet;
}

bool ImportGraphSheet(CGraphRecorder& recorder, const WorkbookSheet& sheet)
{
    GraphHeader header;
    for (int c = 0; c < kGraphChannels; ++c) {
        header.names[c] = sheet.Cell(2, c + 2);
        header.minTexts[c] = sheet.Cell(3, c + 2);
        header.maxTexts[c] = sheet.Cell(4, c + 2);
    }
    recorder.StopSampling();
    if (!IsGoodHeader(header)) {
        AfxMessageBox(IDS_IMPORT_ERROR);
        return false;
    }
    ClearForImport(recorder);
    TakeHeader(recorder, header);
    // The samples end at the first row without an index.
    size_t skipped = 0;
    for (int row = 5; row <= sheet.RowCount() && !sheet.Cell(row, 1).empty(); ++row) {
        Four values;
        for (int c = 0; c < kGraphChannels; ++c)
            values[c] = sheet.Cell(row, c + 2);
        if (!AddImportedSample(recorder, values, sheet.Cell(row, 6)))
            ++skipped;
    }
    ReportSkipped(skipped);
    return true;
}

bool ExportGraphCsvFile(const CGraphRecorder& recorder, const std::string& path)
{
    std::vector<std::string> lines = GraphCsvLines(recorder);
    std::string error;
    bool ok = ReplaceFileWith(
        path,
        [&](const std::string& temporary, std::string& reason) {
            CCsvFile csv;
            if (!csv.Open(temporary, CCsvFile::modeCreate | CCsvFile::modeWrite)) {
                reason = std::strerror(errno);
                return false;
            }
            if (!csv.WriteLines(lines)) {
                reason = std::strerror(errno);
                return false;
            }
            return true;
        },
        error);
    if (!ok)
        AfxMessageBox(WithReason(IDS_OPEN_FILE_FAILED, error), MB_ICONERROR);
    return ok;
}

GraphCsvRead ReadGraphCsvLines(const std::string& path, std::vector<std::string>& lines, std::string* refusal)
{
    lines.clear();
    CCsvFile csv;
    std::string refusalText;
    switch (csv.OpenToRead(path, refusalText)) {
    case FileCheck::Ok:
        break;
    case FileCheck::NotRegular:
    case FileCheck::TooLarge:
        if (refusal)
            *refusal = refusalText;
        return GraphCsvRead::Refused;
    case FileCheck::Missing:
    case FileCheck::CannotOpen:
        return GraphCsvRead::CannotOpen;
    }
    // A header line holds five cells, four of them names or scales that the
    // project keeps: past that it is no header, and the rest is not read.
    CCsvFile::LineBounds header;
    header.maxCellBytes = kProjectTextLimit;
    header.maxBytes = kHeaderCells * (kProjectTextLimit + 1);
    GraphCsvRead result = GraphCsvRead::Ok;
    for (std::string line; result == GraphCsvRead::Ok;) {
        switch (csv.ReadLine(line, lines.size() < kHeaderLines ? header : CCsvFile::LineBounds())) {
        case CCsvFile::LineRead::Line:
            lines.push_back(std::move(line));
            continue;
        case CCsvFile::LineRead::End:
            return GraphCsvRead::Ok;
        case CCsvFile::LineRead::Failed:
            result = GraphCsvRead::CannotOpen;
            break;
        case CCsvFile::LineRead::LineTooLong:
            result = GraphCsvRead::BadHeader;
            break;
        case CCsvFile::LineRead::TooLarge:
            result = GraphCsvRead::TooLarge;
            break;
        }
    }
    int saved = errno;
    csv.Close();
    lines.clear();
    lines.shrink_to_fit();
    errno = saved;
    return result;
}

bool ImportGraphCsvFile(CGraphRecorder& recorder, const std::string& path)
{
    std::vector<std::string> lines;
    std::string refusal;
    switch (ReadGraphCsvLines(path, lines, &refusal)) {
    case GraphCsvRead::CannotOpen:
        AfxMessageBox(WithReason(IDS_OPEN_FILE_FAILED, std::strerror(errno)), MB_ICONERROR);
        return false;
    case GraphCsvRead::Refused:
        AfxMessageBox(refusal, MB_ICONERROR);
        return false;
    case GraphCsvRead::TooLarge:
        AfxMessageBox(IDS_IMPORT_TOO_LARGE, MB_ICONERROR);
        return false;
    case GraphCsvRead::BadHeader:
        recorder.StopSampling();
        AfxMessageBox(IDS_IMPORT_ERROR);
        return false;
    case GraphCsvRead::Ok:
        break;
    }
    return ImportGraphCsvLines(recorder, lines);
}

bool ExportGraphWorkbookFile(const CGraphRecorder& recorder, const std::string& path)
{
    CWorkbook workbook;
    workbook.m_Sheets.push_back(GraphWorkbookSheet(recorder));
    std::string error;
    bool ok = ReplaceFileWith(
        path, [&](const std::string& temporary, std::string& reason) { return workbook.Save(temporary, reason); },
        error);
    if (!ok) {
        AfxMessageBox(WithReason(IDS_OPEN_FILE_FAILED, error), MB_ICONERROR);
        return false;
    }
    AfxMessageBox(IDS_EXPORT_SUCCESS);
    return true;
}

bool ImportGraphWorkbookFile(CGraphRecorder& recorder, const std::string& path)
{
    CWorkbook workbook;
    std::string error;
    bool refusedFile = false;
    if (!workbook.Load(path, error, &refusedFile)) {
        recorder.StopSampling();
        AfxMessageBox(refusedFile ? error : LoadResString(IDS_DATABASE_ERROR) + error, MB_ICONERROR);
        return false;
    }
    const WorkbookSheet* sheet = workbook.FindSheet(kSheetName);
    if (!sheet) {
        recorder.StopSampling();
        AfxMessageBox(IDS_IMPORT_ERROR);
        return false;
    }
    if (!ImportGraphSheet(recorder, *sheet))
        return false;
    AfxMessageBox(IDS_IMPORT_SUCCESS);
    return true;
}
