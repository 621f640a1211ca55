#pragma once
// Export and import of a project's parameter table, without windows: the
// comma-separated file and the workbook made from a template. The project
// view asks for the format and the file name and then calls these; every
// message is shown here.
//
// An import reads and checks the whole file before it changes anything: a
// file that does not fit leaves the project, its model and its values as they
// were. A completed import that changed anything marks the project modified.

#include <ctime>
#include <functional>
#include <string>
#include <vector>

class CD390DocData;
class CDriveSession;
class CWorkbook;

class CParamExchange {
public:
    CParamExchange(const CDriveSession& session, CD390DocData& doc);

    // The local time the export stamps into its third line; tests fix it.
    std::function<std::tm()> m_clock;
    // Has the windows show the imported table before its success is told.
    std::function<void()> m_showImported;

    // --- Comma-separated file ------------------------------------------
    // The lines of the export: model, column names, date and time, then one
    // line per defined parameter (code and name, set value).
    std::vector<std::string> BuildCsvLines() const;
    bool ExportCsv(const std::string& path);
    // Imports refuse, and change nothing, when a text of the file is longer
    // than a project holds, or when the file is more than memory takes. What
    // is no regular file, or larger than such a file can be, is refused
    // before it is read, with a message that names it; a line longer than two
    // texts of a project is refused where it passes that, the message showing
    // its start.
    bool ImportCsv(const std::string& path);

    // --- Workbook --------------------------------------------------------
    // Template file name for a model code, found in the program folder.
    static std::string TemplateNameOf(int modelCode);
    // The sheets a template holds: "Group0" to "Group14", each with the
    // column names in row 1 and a description row 2.
    static void MakeTemplate(CWorkbook& book);
    // The template filled with the table: false (message 61566) when the
    // template or one of the groups' sheets is missing. Nothing is written.
    bool BuildWorkbook(const std::string& templatePath, CWorkbook& book) const;
    bool SaveWorkbook(const CWorkbook& book, const std::string& path);
    bool ImportWorkbook(const std::string& path);

    // Which import a chosen file takes, by its extension in any letter case.
    enum class ImportKind { None, Workbook, Csv };
    static ImportKind ImportKindOf(const std::string& path);

    // Imports are refused while auto-refresh reads into the table (61576).
    bool RefusedWhileAutoRefresh() const;

private:
    bool ImportCsvFile(const std::string& path);
    bool ImportWorkbookFile(const std::string& path);
    // Runs an import; a refused allocation refuses the file instead of
    // ending the program with the open project.
    template <typename Import>
    static bool GuardMemory(Import import);

    // Everything a completed import may change, to tell whether it did.
    std::string Snapshot() const;

    const CDriveSession& m_session;
    CD390DocData& m_doc;
};
