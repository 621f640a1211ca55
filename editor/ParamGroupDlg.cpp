#include "editor/ParamGroupDlg.h"

#include "document/D390DocData.h"
#include "editor/EditorStrings.h"
#include "editor/GroupPagePanel.h"
#include "editor/SmallKeyboardDlg.h"
#include "platform/DialogUnits.h"
#include "platform/ModalWindow.h"
#include "platform/ResourceModule.h"

#include <wx/button.h>
#include <wx/modalhook.h>
#include <wx/notebook.h>
#include <wx/scrolwin.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include <gtk/gtk.h>

#include <algorithm>

namespace {

// The width of the notebook with every tab shown side by side: GTK tells it
// while the tabs may not scroll.
int TabStripWidth(wxNotebook* notebook)
{
    GtkWidget* widget = notebook->GetHandle();
    if (!widget || !GTK_IS_NOTEBOOK(widget))
        return 0;
    GtkNotebook* tabs = GTK_NOTEBOOK(widget);
    const gboolean scrollable = gtk_notebook_get_scrollable(tabs);
    gtk_notebook_set_scrollable(tabs, FALSE);
    gint minimum = 0;
    gint natural = 0;
    gtk_widget_get_preferred_width(widget, &minimum, &natural);
    gtk_notebook_set_scrollable(tabs, scrollable);
    return minimum;
}

} // namespace

CParamGroupDlg::CParamGroupDlg(wxWindow* parent, EditorLinks links)
    : wxDialog(parent, IDD, wxString::FromUTF8(LoadResString(IDS_EDITOR_CAPTION)), wxDefaultPosition, wxDefaultSize,
               wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX),
      m_links(std::move(links))
{
    Bind(wxEVT_BUTTON, &CParamGroupDlg::OnOK, this, wxID_OK);
    Bind(wxEVT_BUTTON, &CParamGroupDlg::OnCancel, this, wxID_CANCEL);
    Bind(wxEVT_BUTTON, &CParamGroupDlg::OnTransmitGroup, this, IDC_TRANSMIT);
    Bind(wxEVT_BUTTON, &CParamGroupDlg::OnSmallKeyboard, this, IDC_KEYBOARD);
    Bind(wxEVT_CHAR_HOOK, &CParamGroupDlg::OnCharHook, this);
    Bind(wxEVT_CLOSE_WINDOW, &CParamGroupDlg::OnClose, this);
}

CParamGroupDlg::~CParamGroupDlg()
{
    CloseKeyboard();
    if (m_links.curEdit)
        *m_links.curEdit = nullptr;
}

void CParamGroupDlg::BuildEditor()
{
    const GroupTable* table = FindGroupTable(m_nGroup);
    if (table && m_links.drive && m_links.doc)
        BuildPages(*table);
    else
        BuildFields();
}

void CParamGroupDlg::BuildPages(const GroupTable& table)
{
    m_pContext = std::make_unique<EditorContext>(
        EditorContext{*m_links.drive, *m_links.doc, *this, m_links.doc->m_nModelCode});
    m_pEditor = std::make_unique<CGroupEditor>(*m_pContext, table, m_nGroup, m_nItem);
    m_pEditor->InitGroupTabs();

    m_pTab = new wxNotebook(this, IDC_TAB, wxPoint(0, 0), DlgSize(this, 371, 227));
    for (std::size_t p = 0; p < m_pEditor->m_Pages.size(); ++p) {
        CGroupPageModel& model = *m_pEditor->m_Pages[p];
        std::vector<std::string> labels;
        for (int r = 0; r < model.RowCount(); ++r) {
            const ParamRec* record = m_links.doc->FindParam(m_nGroup, model.Row(r).item);
            labels.push_back(record ? record->m_strLabel : std::string());
        }
        auto* panel = new CGroupPagePanel(m_pTab, model, *this, labels);
        m_Panels.push_back(panel);
        m_pTab->AddPage(panel, wxString::FromUTF8(m_pEditor->m_Captions[p]));
    }
    m_pTab->ChangeSelection(static_cast<size_t>(m_pEditor->m_nShownTab));

    // The template's width, or more where a page's texts or the row of tabs
    // need it, within the screen.
    int width = DlgSize(this, 371, 0).x;
    for (CGroupPagePanel* panel : m_Panels)
        width = std::max(width, panel->NeededWidth() + DlgSize(this, 6, 0).x);
    width = std::max(width, TabStripWidth(m_pTab));
    width = std::min(width, wxGetClientDisplayRect().GetWidth());
    m_pTab->SetSize(wxSize(width, DlgSize(this, 0, 227).y));

    const int y = 231;
    auto* transmit = new wxButton(this, IDC_TRANSMIT, "Transmit Group", DlgPoint(this, 22, y), DlgSize(this, 56, 14));
    new wxButton(this, IDC_KEYBOARD, "Small Keyboard", DlgPoint(this, 101, y), DlgSize(this, 56, 14));
    new wxButton(this, wxID_OK, "OK", DlgPoint(this, 186, y), DlgSize(this, 56, 14));
    new wxButton(this, wxID_CANCEL, "Cancel", DlgPoint(this, 265, y), DlgSize(this, 56, 14));
    transmit->Enable(m_pEditor->m_bTransmitEnabled);
    SetClientSize(wxSize(width, DlgSize(this, 0, 251).y));
    // Opened on a row of the list, the editor starts in that row's input;
    // the toolkit would start at the page's first button. Once shown: the
    // window manager gives a new window's focus to what it holds then.
    Bind(wxEVT_SHOW, [this](wxShowEvent& event) {
        event.Skip();
        if (event.IsShown() && event.GetEventObject() == this)
            CallAfter([this] { FocusMarkedRow(); });
    });
    FocusMarkedRow();
}

void CParamGroupDlg::FocusMarkedRow()
{
    if (!m_pEditor || m_bMarkedRowFocused)
        return;
    const int page = m_pEditor->m_nShownTab;
    if (page < 0 || page >= static_cast<int>(m_pEditor->m_Pages.size()))
        return;
    const int row = m_pEditor->m_Pages[static_cast<std::size_t>(page)]->m_nMarked;
    if (row < 0)
        return;
    FocusRow(page, row);
    m_bMarkedRowFocused = IsShown();
}

void CParamGroupDlg::BuildFields()
{
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    auto* scroll = new wxScrolledWindow(this, wxID_ANY, wxDefaultPosition, wxSize(520, 420));
    auto* grid = new wxFlexGridSizer(2, wxSize(12, 4));
    grid->AddGrowableCol(0);
    CD390DocData* doc = m_links.doc;
    if (doc && m_nGroup >= 0 && m_nGroup < static_cast<int>(doc->m_Groups.size())) {
        const GroupRec& group = doc->m_Groups[static_cast<std::size_t>(m_nGroup)];
        SetTitle(GetTitle() + " - " + wxString::FromUTF8(group.m_strName));
        for (int item = 0; item < kItemCount && item < static_cast<int>(group.m_Params.size()); ++item) {
            if (!doc->m_Defined[m_nGroup][item])
                continue;
            const ParamRec& param = group.m_Params[static_cast<std::size_t>(item)];
            auto* label = new wxStaticText(scroll, wxID_ANY, wxString::FromUTF8(param.m_strLabel));
            auto* field = new wxTextCtrl(scroll, wxID_ANY, wxString::FromUTF8(param.m_strValue));
            field->SetName(label->GetLabel());
            if (static_cast<int>(m_Fields.size()) == m_nItem)
                label->SetFont(label->GetFont().Bold());
            grid->Add(label, 1, wxALIGN_CENTER_VERTICAL);
            grid->Add(field, 0, wxEXPAND);
            m_Fields.push_back(field);
            m_Records.push_back(item);
        }
    }
    scroll->SetSizer(grid);
    scroll->SetScrollRate(0, 10);
    sizer->Add(scroll, 1, wxEXPAND | wxALL, 8);
    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    auto* transmit = new wxButton(this, IDC_TRANSMIT, "Transmit Group");
    transmit->Disable();
    buttons->Add(transmit, 0, wxALL, 4);
    buttons->AddStretchSpacer();
    buttons->Add(new wxButton(this, wxID_OK, "OK"), 0, wxALL, 4);
    buttons->Add(new wxButton(this, wxID_CANCEL, "Cancel"), 0, wxALL, 4);
    sizer->Add(buttons, 0, wxEXPAND | wxALL, 4);
    SetSizerAndFit(sizer);
    if (m_nItem >= 0 && m_nItem < static_cast<int>(m_Fields.size())) {
        m_Fields[static_cast<std::size_t>(m_nItem)]->SetFocus();
        m_Fields[static_cast<std::size_t>(m_nItem)]->SelectAll();
    }
}

void CParamGroupDlg::OnOK(wxCommandEvent&)
{
    if (m_commandRunning)
        return;
    if (m_pEditor) {
        if (!m_pEditor->ApplyGroup())
            return;
    } else if (CD390DocData* doc = m_links.doc; doc && m_nGroup >= 0 && m_nGroup < kGroupCount) {
        GroupRec& group = doc->m_Groups[static_cast<std::size_t>(m_nGroup)];
        for (std::size_t position = 0; position < m_Fields.size(); ++position) {
            const std::string value = m_Fields[position]->GetValue().utf8_string();
            ParamRec& param = group.m_Params[static_cast<std::size_t>(m_Records[position])];
            if (value != param.m_strValue && position < static_cast<std::size_t>(kItemCount))
                doc->m_Changed[m_nGroup][position] = 1;
            param.m_strValue = value;
        }
        doc->SetModifiedFlag(true);
        GroupStored(m_nGroup);
    }
    EndEditor(wxID_OK);
}

void CParamGroupDlg::OnCancel(wxCommandEvent&)
{
    // Esc and the close box come here too.
    if (m_commandRunning)
        return;
    if (m_pEditor)
        m_pEditor->OnCancel();
    EndEditor(wxID_CANCEL);
}

void CParamGroupDlg::OnClose(wxCloseEvent& event)
{
    // Refused while a command runs: the dialog's own close would hide the
    // window past OnCancel when Cancel takes no click (during a wait).
    if (m_commandRunning && event.CanVeto()) {
        event.Veto();
        return;
    }
    event.Skip();
}

void CParamGroupDlg::OnCharHook(wxKeyEvent& event)
{
    // Enter in a page neither stores nor closes.
    const int key = event.GetKeyCode();
    if ((key == WXK_RETURN || key == WXK_NUMPAD_ENTER) && m_pEditor && !dynamic_cast<wxButton*>(FindFocus()))
        return;
    // Esc in a page does nothing, so that a slip of the finger does not throw
    // away what was typed; on the tabs and the editor's own buttons it cancels.
    if (key == WXK_ESCAPE && IsInPage(dynamic_cast<wxWindow*>(event.GetEventObject())))
        return;
    event.Skip();
}

bool CParamGroupDlg::IsInPage(wxWindow* window) const
{
    for (; window && window != this; window = window->GetParent())
        for (CGroupPagePanel* panel : m_Panels)
            if (window == panel)
                return true;
    return false;
}

void CParamGroupDlg::EndEditor(int code)
{
    CloseKeyboard();
    if (m_links.curEdit)
        *m_links.curEdit = nullptr;
    if (m_links.editSel)
        *m_links.editSel = 0;
    m_bEnded = true;
    SetReturnCode(code);
    if (m_pResult)
        *m_pResult = code;
    Hide();
}

void CParamGroupDlg::CloseKeyboard()
{
    if (m_pKeyboard) {
        m_pKeyboard->Destroy();
        m_pKeyboard = nullptr;
    }
    if (m_links.keypad)
        *m_links.keypad = nullptr;
}

void CParamGroupDlg::OnTransmitGroup(wxCommandEvent&)
{
    if (!m_pEditor || !m_pEditor->m_bTransmitEnabled || m_commandRunning || m_bEnded)
        return;
    wxRecursionGuard running(m_commandRunning);
    m_pEditor->OnTransmitGroup();
}

void CParamGroupDlg::OnSmallKeyboard(wxCommandEvent&)
{
    if (m_pKeyboard)
        return;
    m_pKeyboard = new CSmallKeyboardDlg(this, [this] {
        m_pKeyboard = nullptr;
        if (m_links.keypad)
            *m_links.keypad = nullptr;
    });
    if (m_links.keypad)
        *m_links.keypad = m_pKeyboard;
    m_pKeyboard->Show();
    if (m_links.curEdit && *m_links.curEdit) {
        (*m_links.curEdit)->SetFocus();
        m_pKeyboard->SetTarget(*m_links.curEdit);
        m_pKeyboard->m_dwSel = m_links.editSel ? *m_links.editSel : 0;
    }
}

void CParamGroupDlg::EditFocused(wxTextCtrl* edit)
{
    if (m_links.curEdit)
        *m_links.curEdit = edit;
    if (m_links.editSel && !edit)
        *m_links.editSel = 0;
    if (m_links.editSel && edit) {
        long start = 0;
        long end = 0;
        edit->GetSelection(&start, &end);
        *m_links.editSel = (start & 0xFFFF) | (end & 0xFFFF) << 16;
    }
    if (m_pKeyboard)
        m_pKeyboard->SetTarget(edit);
}

void CParamGroupDlg::OnRowButton(int page, int row)
{
    if (!m_pEditor || m_commandRunning || m_bEnded)
        return;
    wxRecursionGuard running(m_commandRunning);
    m_pEditor->OnParamButton(page, row);
    ShowControls(page);
}

int CParamGroupDlg::ChooseStation()
{
    return m_links.chooseStation ? m_links.chooseStation() : -1;
}

bool CParamGroupDlg::TakeControls(int page)
{
    return page >= 0 && page < static_cast<int>(m_Panels.size()) ? m_Panels[static_cast<std::size_t>(page)]->TakeControls()
                                                                  : true;
}

void CParamGroupDlg::ShowControls(int page)
{
    if (page >= 0 && page < static_cast<int>(m_Panels.size()))
        m_Panels[static_cast<std::size_t>(page)]->ShowControls();
}

void CParamGroupDlg::FocusRow(int page, int row)
{
    if (page < 0 || page >= static_cast<int>(m_Panels.size()))
        return;
    SelectTab(page);
    ShowControls(page);
    m_Panels[static_cast<std::size_t>(page)]->FocusRow(row);
}

void CParamGroupDlg::SelectTab(int tab)
{
    if (m_pTab && tab >= 0 && tab < static_cast<int>(m_pTab->GetPageCount()) && m_pTab->GetSelection() != tab)
        m_pTab->ChangeSelection(static_cast<size_t>(tab));
}

void CParamGroupDlg::GroupStored(int group)
{
    if (m_links.groupStored)
        m_links.groupStored(group);
}

void CParamGroupDlg::FlagsChanged()
{
    if (m_links.flagsChanged)
        m_links.flagsChanged();
}

int OpenParamGroupEditor(wxWindow* parent, const EditorLinks& links, int group, int nItem)
{
    auto* editor = new CParamGroupDlg(parent, links);
    editor->m_nGroup = group;
    editor->m_nItem = nItem;
    editor->BuildEditor();
    // Test hooks answer the editor as they answer a modal dialog.
    const int hooked = wxModalDialogHook::CallEnter(editor);
    if (hooked != wxID_NONE) {
        wxModalDialogHook::CallExit(editor);
        // Deleted at once, not at an idle time: the main frame may go first.
        editor->Hide();
        delete editor;
        return hooked;
    }
    int result = wxID_CANCEL;
    editor->m_pResult = &result;
    RunModalToMainFrame(editor, parent);
    return result;
}
