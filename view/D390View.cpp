#include "view/D390View.h"

#include "document/D390DocData.h"
#include "editor/ParamGroupDlg.h"
#include "platform/MessageBox.h"
#include "platform/ResourceModule.h"
#include "res/CommandIds.h"
#include "res/StringIds.h"
#include "session/DriveSession.h"
#include "view/StationSelectDlg.h"
#include "view/CompareCommand.h"
#include "view/ExchangeCommands.h"
#include "view/ParamListLayout.h"
#include "view/ParamListModel.h"
#include "view/ViewAutoRefresh.h"

#include "controls/XListCtrl.h"

wxIMPLEMENT_CLASS(CD390View, wxView);

namespace {

constexpr int kListId = 1;

wxString Utf8(const std::string& text)
{
    return wxString::FromUTF8(text);
}

ParamTableRef TableOf(const CD390DocData& doc)
{
    return {doc.m_Groups, doc.m_Defined, doc.m_Changed};
}

} // namespace

CD390View::CD390View(const ProjectViewLinks& links) : m_links(links) {}

CD390View::~CD390View()
{
    // The reader ends before the document it fills.
    m_pAutoRefresh.reset();
}

void CD390View::StopReadThread(bool handleEvents)
{
    if (m_pAutoRefresh)
        m_pAutoRefresh->StopReadThread(handleEvents);
}

CD390DocData* CD390View::GetDocData() const
{
    return dynamic_cast<CD390DocData*>(GetDocument());
}

bool CD390View::OnCreate(wxDocument* document, long flags)
{
    if (!wxView::OnCreate(document, flags))
        return false;
    wxWindow* frame = GetFrame();
    if (!frame)
        return false;

    m_pModel = new CParamListModel;
    // This list's own document and group, whichever project is active.
    m_pModel->m_isChangedByRow = [this](int row) { return IsParamChangedByRow(row); };
    m_pList = new CXListCtrl(frame, kListId, CParamListModel::kColumnCount, m_pModel);
    m_pList->SetFont(wxFont(wxFontInfo(11).FaceName("Times New Roman")));

    // Column 0 carries nothing and stays hidden; the list's columns keep
    // their numbers 1 to 3.
    const struct {
        unsigned textId;
        int width;
    } columns[] = {{0, 0}, {IDS_PARAMETER_NAME, 660}, {IDS_DEFAULT, 80}, {IDS_SET_VALUE, 80}};
    for (unsigned column = 0; column < 4; ++column) {
        wxString title = columns[column].textId ? Utf8(LoadResString(columns[column].textId)) : wxString();
        m_pList->SetColumn(column, title, columns[column].width);
        if (column == 0)
            m_pList->GetColumn(0)->SetHidden(true);
    }
    m_pList->SetTextAlignment(LVCFMT_LEFT);
    m_pList->Bind(wxEVT_DATAVIEW_ITEM_ACTIVATED, &CD390View::OnItemActivated, this);
    // The keys the list passes up (it leaves them to its parent).
    frame->Bind(wxEVT_KEY_DOWN, &CD390View::OnListKeyDown, this);

    if (CD390DocData* doc = GetDocData()) {
        m_pExchange = std::make_unique<CExchangeCommands>(frame, Session(), *doc);
        m_pExchange->m_afterPreview = [this] { OnUpdateFrameTitle(); };
    }
    Bind(wxEVT_MENU, &CD390View::OnExportParams, this, ID_EXPORT_PARAMS);
    Bind(wxEVT_MENU, &CD390View::OnImportParams, this, ID_IMPORT_PARAMS);
    Bind(wxEVT_MENU, &CD390View::OnFilePrint, this, ID_FILE_PRINT);
    Bind(wxEVT_MENU, &CD390View::OnFilePrint, this, ID_FILE_PRINT_DIRECT);
    Bind(wxEVT_MENU, &CD390View::OnFilePrintPreview, this, ID_FILE_PRINT_PREVIEW);
    Bind(wxEVT_MENU, &CD390View::OnFilePrintTitle, this, ID_PRINT_TITLE);
    m_pAutoRefresh = std::make_unique<CViewAutoRefresh>(*this);
    m_pCompare = std::make_unique<CCompareCommand>(*this);

    frame->Show(true);
    return true;
}

void CD390View::OnUpdate(wxView*, wxObject*)
{
    FillParamList();
}

bool CD390View::OnClose(bool deleteWindow)
{
    // The reader fills this project. Its window's close is refused; a close
    // by the document manager cannot be refused, so the reader stops first
    // (the main frame's close has stopped it already).
    if (!deleteWindow && Session().RefusedWhileAutoRefresh())
        return false;
    StopReadThread();
    // The document asks whether to save; Cancel keeps everything as it is.
    if (!wxView::OnClose(deleteWindow))
        return false;
    // The tree belongs to the project that stays when a replacement failed to
    // open (its view is closed while the old project is still there).
    wxDocManager* manager = GetDocumentManager();
    bool lastProject = !manager || manager->GetDocumentsVector().size() <= 1;
    if (lastProject)
        Windows().ClearProjectTree();
    Activate(false);
    if (deleteWindow && GetFrame()) {
        GetFrame()->Destroy();
        SetFrame(nullptr);
    }
    return true;
}

void CD390View::OnUpdateFrameTitle()
{
    CD390DocData* doc = GetDocData();
    if (!doc || !GetFrame())
        return;
    std::string name = doc->GetProjectFileName();
    wxString caption = Utf8(name.empty() ? LoadResString(IDS_NEW_PROJECT) : name);
    // Still modified: the mark stays, as the framework's own caption shows it.
    if (GetDocument()->IsModified())
        caption += "*";
    GetFrame()->SetLabel(caption);
}

void CD390View::FillParamList()
{
    Fill(m_nSelGroup);
}

void CD390View::FillGroupList(int group)
{
    m_nSelGroup = group < 0 ? -1 : group;
    Fill(m_nSelGroup);
}

int CD390View::IsParamChangedByRow(int row) const
{
    CD390DocData* doc = GetDocData();
    return doc ? ::IsParamChangedByRow(TableOf(*doc), m_nSelGroup, row) : 0;
}

void CD390View::Fill(int selGroup)
{
    if (!m_pModel)
        return;
    CD390DocData* doc = GetDocData();
    std::vector<CParamListModel::Row> rows;
    if (doc) {
        for (const ListRow& layout : BuildListRows(TableOf(*doc), selGroup)) {
            const GroupRec& group = doc->m_Groups[static_cast<std::size_t>(layout.group)];
            CParamListModel::Row row = CParamListModel::MakeRow();
            if (layout.record < 0) {
                row.heading = true;
                row.text[CParamListModel::kColumnName] = "  " + Utf8(group.m_strName);
            } else {
                const ParamRec& param = group.m_Params[static_cast<std::size_t>(layout.record)];
                row.text[CParamListModel::kColumnName] = "    " + Utf8(param.m_strLabel);
                row.text[CParamListModel::kColumnDefault] = "  " + Utf8(param.m_strFactory);
                row.text[CParamListModel::kColumnValue] = "  " + Utf8(param.m_strValue);
            }
            rows.push_back(std::move(row));
        }
    }
    m_pModel->SetRows(std::move(rows));
}

void CD390View::UpdateGroupValues(int group)
{
    UpdateGroupColumns(group, false, true);
}

void CD390View::UpdateGroupDefaults(int group)
{
    UpdateGroupColumns(group, true, false);
}

void CD390View::UpdateGroupDefaultsAndValues(int group)
{
    UpdateGroupColumns(group, true, true);
}

void CD390View::UpdateGroupColumns(int group, bool defaults, bool values)
{
    CD390DocData* doc = GetDocData();
    if (!doc || !m_pModel)
        return;
    for (const RowOfRecord& entry : GroupRowsForUpdate(TableOf(*doc), m_nSelGroup, group)) {
        const ParamRec& param = doc->m_Groups[static_cast<std::size_t>(group)].m_Params[static_cast<std::size_t>(entry.record)];
        if (defaults)
            m_pModel->SetItemText(entry.row, CParamListModel::kColumnDefault, "  " + Utf8(param.m_strFactory));
        if (values)
            m_pModel->SetItemText(entry.row, CParamListModel::kColumnValue, "  " + Utf8(param.m_strValue));
    }
}

void CD390View::FocusFirstRow()
{
    if (!m_pList || !m_pModel)
        return;
    m_pList->SetFocus();
    m_pList->SelectItem(0);
}

void CD390View::OnItemActivated(wxDataViewEvent& event)
{
    if (event.GetItem().IsOk())
        OpenEditorAtRow(static_cast<int>(m_pModel->GetRow(event.GetItem())));
}

void CD390View::OnListKeyDown(wxKeyEvent& event)
{
    if (!m_pList || event.GetEventObject() != m_pList) {
        event.Skip();
        return;
    }
    // Enter opens the editor on the selected row, as a double click does;
    // the other keys the list passes up have no command here.
    if (event.GetKeyCode() == WXK_RETURN || event.GetKeyCode() == WXK_NUMPAD_ENTER)
        OpenEditorAtRow(m_pList->GetCurSel());
}

void CD390View::OpenEditorAtRow(int row)
{
    CD390DocData* doc = GetDocData();
    int group = 0;
    int position = 0;
    if (!doc || !RowToEditorTarget(TableOf(*doc), m_nSelGroup, row, group, position))
        return;
    OpenEditor(group, position);
}

int CD390View::OpenEditor(int group, int position)
{
    CD390DocData* doc = GetDocData();
    if (!doc)
        return wxID_CANCEL;
    CDriveSession& session = Session();
    // A cycle would copy drive values under the open pages: the one under way
    // is taken in before they load, and the next begins when the editor closes.
    // The wait is Read's and Write's: the window thread goes on handling
    // events while the cycle reads to its end, rather than joining it.
    const bool refreshing = session.m_bAutoRefresh != 0 && m_pAutoRefresh;
    if (refreshing) {
        m_pAutoRefresh->WaitWhileCycleRuns();
        m_pAutoRefresh->GetReader().Stop();
    }
    EditorLinks links;
    links.drive = &session;
    links.doc = doc;
    links.chooseStation = [&session] {
        CStationSelectDlg dialog(nullptr, session);
        return dialog.ShowModal() == wxID_OK ? dialog.GetStation() : -1;
    };
    links.groupStored = [this](int stored) { UpdateGroupValues(stored); };
    links.flagsChanged = [this] {
        if (m_pList)
            m_pList->Refresh();
    };
    links.curEdit = &m_pCurEdit;
    links.editSel = &m_dwEditSel;
    links.keypad = &m_pKeypad;
    const int code = OpenParamGroupEditor(m_links.mainWindow, links, group, position);
    if (code == wxID_OK)
        GetDocument()->Modify(true);
    if (refreshing && session.m_bConnected && !session.m_bAutoRefresh) {
        session.m_bAutoRefresh = 1;
        m_pAutoRefresh->GetReader().OnStartReadThread(*doc);
    }
    return code;
}

void CD390View::OnFileClose()
{
    wxDocument* document = GetDocument();
    if (!document || Session().RefusedWhileAutoRefresh())
        return;
    if (document->IsModified()) {
        int answer = AfxMessageBox(IDS_FILE_MODIFIED, MB_YESNOCANCEL | MB_ICONINFORMATION);
        if (answer == IDCANCEL)
            return;
        if (answer == IDYES) {
            wxCommandEvent save(wxEVT_MENU, ID_FILE_SAVE);
            document->ProcessEvent(save);
            // A cancelled or failed save keeps the project open.
            if (document->IsModified())
                return;
        } else {
            document->Modify(false); // the answer was No: close without asking again
        }
    }
    CFrameWindows& windows = Windows();
    wxDocManager* manager = document->GetDocumentManager();
    // This view is deleted by the close: nothing of it is touched afterwards.
    if (!manager->CloseDocument(document, true))
        return;
    windows.ClearProjectTree();
    windows.SetStatusPaneText(kPaneModel, "");
    windows.SetStatusPaneText(kPaneFileName, "");
}

void CD390View::OnExportParams(wxCommandEvent&)
{
    if (m_pExchange)
        m_pExchange->OnExportParams();
}

void CD390View::OnImportParams(wxCommandEvent&)
{
    CD390DocData* doc = GetDocData();
    if (!m_pExchange || !doc)
        return;
    // The list shows the table as the import left it, with no change marks.
    const int modelBefore = doc->m_nModelCode;
    m_pExchange->m_showImported = [this, doc, modelBefore] {
        // A comma-separated file may name another model, with other groups.
        if (doc->m_nModelCode != modelBefore)
            Windows().InitProjectTree(doc->m_nModelCode);
        FillParamList();
        if (m_pList)
            m_pList->Refresh();
    };
    m_pExchange->OnImportParams();
    m_pExchange->m_showImported = nullptr;
}

void CD390View::OnFilePrint(wxCommandEvent& event)
{
    if (m_pExchange)
        m_pExchange->OnFilePrint(event.GetId() != ID_FILE_PRINT_DIRECT);
}

void CD390View::OnFilePrintPreview(wxCommandEvent&)
{
    if (m_pExchange)
        m_pExchange->OnFilePrintPreview();
}

void CD390View::OnFilePrintTitle(wxCommandEvent&)
{
    if (m_pExchange)
        m_pExchange->OnFilePrintTitle();
}
