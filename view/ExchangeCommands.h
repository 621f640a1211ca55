#pragma once
// The project view's commands for export, import and printing, apart from the
// view class: the view forwards its command handlers here and rebuilds its
// list after an import. The work itself is window-free (CParamExchange,
// CPrintLayout); this asks for the format and the file and runs the printer
// and the preview.

#include <wx/cmndata.h>
#include <wx/string.h>

#include <functional>
#include <string>

class CD390DocData;
class CDriveSession;
class CD390Printout;
class wxWindow;

class CExchangeCommands {
public:
    CExchangeCommands(wxWindow* view, const CDriveSession& session, CD390DocData& doc);

    // Called when a print preview window closes (the view resets its caption).
    std::function<void()> m_afterPreview;
    // Has the view show the table as an import left it: told after a
    // successful import before its message, else once the import has ended.
    std::function<void()> m_showImported;

    void OnExportParams();
    void ExportCsv();
    void ExportExcel();
    // True when an import was attempted, whatever its outcome: the change
    // marks are gone and the view was told to show the table.
    bool OnImportParams();

    // Print (with the print dialog) and Print Direct (without it).
    void OnFilePrint(bool prompt);
    // False when no preview could be shown.
    bool OnFilePrintPreview();
    // True when the dialog was left with OK and a text changed.
    bool OnFilePrintTitle();

    // A printout of the project as it stands, with the view's title block.
    CD390Printout* MakePrintout() const;
    wxPrintDialogData& PrintDialogData() { return m_printData; }
    // The paper and orientation of Print Setup, for printing and preview.
    void SetPageSetup(const wxPrintData& data) { m_printData.SetPrintData(data); }

private:
    // The chosen full path, or the empty text when the user cancels. A name
    // typed without extension gets the default one (given without the dot).
    std::string ChoosePath(bool save, const std::string& filter, const std::string& extension) const;

    wxWindow* m_pView;
    const CDriveSession& m_session;
    CD390DocData& m_doc;
    wxPrintDialogData m_printData;
};
