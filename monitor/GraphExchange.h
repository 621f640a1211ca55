#pragma once
// The recorder's curves as files: comma-separated text and workbooks (.xlsx
// written; .xlsx and .xls read), both laid out as a header of channel names,
// minima and maxima followed by one line per sample (index, four values, time
// of day "hh:mm:ss.mmm").
//
// Imports replace the recording: the samples, their times and texts, the
// channel names and scales; the first sample's time becomes the left end of
// the time axis. A file whose header is not a recording changes nothing.

#include <string>
#include <vector>

class CGraphRecorder;
struct WorkbookSheet;

// The lines of the comma-separated form (without line ends).
std::vector<std::string> GraphCsvLines(const CGraphRecorder& recorder);
// Takes a recording from those lines. A short or bad header (a name or scale
// text beyond the project's text bound or not UTF-8 among them) shows 61570,
// changes nothing and ends; sample lines without six cells or with a bad time
// are skipped, and one message says how many. False when the header was
// refused.
bool ImportGraphCsvLines(CGraphRecorder& recorder, const std::vector<std::string>& lines);

// Sheet "GraphData" of the workbook form.
WorkbookSheet GraphWorkbookSheet(const CGraphRecorder& recorder);
bool ImportGraphSheet(CGraphRecorder& recorder, const WorkbookSheet& sheet);

// The lines of a comma-separated file, read as CCsvFile reads them, within
// the bounds of the workbook reader (kReadMaxRows lines, kReadMaxTextBytes of
// text): a larger file is refused before it can take the program's memory,
// and lines is left empty. Refused: not a regular file, or larger than any
// such file (kCsvMaxFileBytes), checked before the first byte is read;
// refusal (when given) holds the message that names it. BadHeader: a name or
// scale of the first three lines passed the project's text bound, refused
// there, the rest unread. CannotOpen leaves errno set.
enum class GraphCsvRead { Ok, CannotOpen, TooLarge, Refused, BadHeader };
GraphCsvRead ReadGraphCsvLines(const std::string& path, std::vector<std::string>& lines,
                               std::string* refusal = nullptr);

// The files, with the program's messages: 61563 when a file cannot be opened
// or written (followed by the reason), 61561 after a workbook export, 61560
// after a workbook import, 61559 and the reason for a workbook that cannot be
// read, 61570 for one without the sheet or with a header past the bounds,
// 61794 for a comma-separated file past the bounds, and a message naming the
// file for one that is not a regular file or too large to be one of these. Writing goes through a temporary
// file beside the target, so a failure keeps the old file.
bool ExportGraphCsvFile(const CGraphRecorder& recorder, const std::string& path);
bool ImportGraphCsvFile(CGraphRecorder& recorder, const std::string& path);
bool ExportGraphWorkbookFile(const CGraphRecorder& recorder, const std::string& path);
bool ImportGraphWorkbookFile(CGraphRecorder& recorder, const std::string& path);
