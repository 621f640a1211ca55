#include "view/ExchangeCommands.h"

#include "document/D390DocData.h"
#include "platform/FileChooser.h"
#include "platform/MessageBox.h"
#include "platform/ProgramFolder.h"
#include "platform/ResourceModule.h"
#include "platform/Workbook.h"
#include "res/StringIds.h"
#include "session/DriveSession.h"
#include "view/D390Printout.h"
#include "view/ExportFormatDlg.h"
#include "view/ParamExchange.h"
#include "view/PrintTitleDlg.h"

#include <wx/docview.h>
#include <wx/filename.h>
#include <wx/print.h>

#include <memory>

namespace {

// The string table writes file filters as "Text(*.x)|*.x||"; the file
// dialog wants them without the closing bars.
std::string Wildcard(std::string filter)
{
    while (!filter.empty() && filter.back() == '|')
        filter.pop_back();
    return filter;
}

std::string ProgramFolderOf(const CD390DocData& doc)
{
    if (!doc.m_strProgramFolder.empty())
        return doc.m_strProgramFolder;
    return ExecutableFolder();
}

} // namespace

CExchangeCommands::CExchangeCommands(wxWindow* view, const CDriveSession& session, CD390DocData& doc)
    : m_pView(view), m_session(session), m_doc(doc)
{
    m_printData.SetMinPage(1);
}

std::string CExchangeCommands::ChoosePath(bool save, const std::string& filter, const std::string& extension) const
{
    FileChoice choice;
    choice.save = save;
    choice.filter = filter;
    choice.title = LoadResString(save ? IDS_EXPORT_TITLE : IDS_IMPORT_TITLE);
    // Beside the project file, once the project has one.
    if (auto* document = dynamic_cast<const wxDocument*>(&m_doc); document && !document->GetFilename().empty())
        choice.folder = wxFileName(document->GetFilename()).GetPath().utf8_string();
    std::string path;
    if (!ChooseFile(m_pView, choice, path) || path.empty())
        return {};
    if (save && !extension.empty() && !wxFileName(wxString::FromUTF8(path)).HasExt())
        path += "." + extension;
    return path;
}

void CExchangeCommands::OnExportParams()
{
    CExportFormatDlg dialog(m_pView);
    if (dialog.ShowModal() != wxID_OK)
        return;
    if (dialog.m_nFormat == CExportFormatDlg::kCsv)
        ExportCsv();
    else
        ExportExcel();
}

void CExchangeCommands::ExportCsv()
{
    std::string path = ChoosePath(true, Wildcard(FormatResString(IDS_EXPORT_FILTER, "*.csv", "*.csv")), "csv");
    if (path.empty())
        return;
    CParamExchange(m_session, m_doc).ExportCsv(path);
}

void CExchangeCommands::ExportExcel()
{
    CParamExchange exchange(m_session, m_doc);
    std::string templatePath = ProgramFolderOf(m_doc) + CParamExchange::TemplateNameOf(m_doc.m_nModelCode);
    // The workbook is filled before the file is asked for: a missing
    // template is reported first, and nothing is written without a name.
    CWorkbook book;
    if (!exchange.BuildWorkbook(templatePath, book))
        return;
    std::string path = ChoosePath(true, Wildcard(FormatResString(IDS_EXPORT_FILTER, "*.xlsx", "*.xlsx")), "xlsx");
    if (path.empty())
        return;
    exchange.SaveWorkbook(book, path);
}

bool CExchangeCommands::OnImportParams()
{
    // Refused before the file is asked for: the reading thread writes into
    // the same table.
    if (m_session.RefusedWhileAutoRefresh())
        return false;
    std::string path = ChoosePath(false, "Import File(*.xls;*.xlsx)|*.xls;*.xlsx|Import File(*.csv)|*.csv", "xls");
    if (path.empty())
        return false;
    const CParamExchange::ImportKind kind = CParamExchange::ImportKindOf(path);
    if (kind == CParamExchange::ImportKind::None)
        return false;
    // The list shows the imported table, without change marks, before
    // "Import success." is told; after a refused file it is rebuilt as well.
    bool shown = false;
    auto show = [this, &shown] {
        m_doc.ClearChanged();
        if (m_showImported)
            m_showImported();
        shown = true;
    };
    CParamExchange exchange(m_session, m_doc);
    exchange.m_showImported = show;
    if (kind == CParamExchange::ImportKind::Workbook)
        exchange.ImportWorkbook(path);
    else
        exchange.ImportCsv(path);
    if (!shown)
        show();
    return true;
}

CD390Printout* CExchangeCommands::MakePrintout() const
{
    PrintTexts texts;
    texts.m_strTitle = m_doc.m_strPrintTitle;
    texts.m_strName = m_doc.m_strPrintName;
    texts.m_strDepartment = m_doc.m_strPrintDepartment;
    return new CD390Printout(m_doc, texts);
}

void CExchangeCommands::OnFilePrint(bool prompt)
{
    wxPrinter printer(&m_printData);
    std::unique_ptr<CD390Printout> printout(MakePrintout());
    if (!printer.Print(m_pView, printout.get(), prompt)) {
        if (wxPrinter::GetLastError() == wxPRINTER_ERROR)
            AfxMessageBox(IDS_COMMAND_FAILED, MB_OK);
        return;
    }
    m_printData = printer.GetPrintDialogData();
}

bool CExchangeCommands::OnFilePrintPreview()
{
    auto* preview = new wxPrintPreview(MakePrintout(), MakePrintout(), &m_printData);
    if (!preview->IsOk()) {
        delete preview;
        AfxMessageBox(IDS_NO_PRINTER, MB_OK);
        return false;
    }
    wxWindow* top = m_pView ? wxGetTopLevelParent(m_pView) : nullptr;
    auto* frame = new wxPreviewFrame(preview, top, "Print Preview", wxDefaultPosition, wxSize(900, 1000));
    frame->Bind(wxEVT_CLOSE_WINDOW, [this](wxCloseEvent& event) {
        event.Skip();
        if (m_afterPreview)
            m_afterPreview();
    });
    frame->Initialize();
    frame->Show();
    // The preview takes the keyboard at once, however it was opened: its
    // page turns with the keys, and the main window under it is disabled.
    frame->Raise();
    if (preview->GetCanvas())
        preview->GetCanvas()->SetFocus();
    return true;
}

bool CExchangeCommands::OnFilePrintTitle()
{
    CPrintTitleDlg dialog(m_pView);
    dialog.m_strTitle = m_doc.m_strPrintTitle;
    dialog.m_strName = m_doc.m_strPrintName;
    dialog.m_strDepartment = m_doc.m_strPrintDepartment;
    if (dialog.ShowModal() != wxID_OK)
        return false;
    bool changed = dialog.m_strTitle != m_doc.m_strPrintTitle || dialog.m_strName != m_doc.m_strPrintName
                   || dialog.m_strDepartment != m_doc.m_strPrintDepartment;
    m_doc.m_strPrintTitle = dialog.m_strTitle;
    m_doc.m_strPrintName = dialog.m_strName;
    m_doc.m_strPrintDepartment = dialog.m_strDepartment;
    // The title block is stored with the project: a change must not be lost
    // on close without a question.
    if (changed)
        m_doc.SetModifiedFlag(true);
    return changed;
}
