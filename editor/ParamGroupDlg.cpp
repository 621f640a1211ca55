#include "editor/ParamGroupDlg.h"

#include "document/D390DocData.h"
#include "platform/ResourceModule.h"
#include "shell/MainFrame.h"
#include "view/D390View.h"
#include "view/ParamListLayout.h"

#include <wx/button.h>
#include <wx/scrolwin.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

namespace {

constexpr unsigned IDS_EDITOR_CAPTION = 61461;

CD390View* ActiveView()
{
    CMainFrame* main = CMainFrame::Get();
    return main ? main->GetActiveProjectView() : nullptr;
}

} // namespace

CParamGroupDlg::CParamGroupDlg(wxWindow* parent)
    : wxDialog(parent, IDD, wxString::FromUTF8(LoadResString(IDS_EDITOR_CAPTION)), wxDefaultPosition, wxDefaultSize,
               wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER)
{
    Bind(wxEVT_BUTTON, &CParamGroupDlg::OnOK, this, wxID_OK);
}

int CParamGroupDlg::ShowModal()
{
    BuildFields();
    return wxDialog::ShowModal();
}

void CParamGroupDlg::BuildFields()
{
    DestroyChildren();
    m_Fields.clear();
    m_Records.clear();
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    auto* scroll = new wxScrolledWindow(this, wxID_ANY, wxDefaultPosition, wxSize(520, 420));
    auto* grid = new wxFlexGridSizer(2, wxSize(12, 4));
    grid->AddGrowableCol(0);

    CD390View* view = ActiveView();
    CD390DocData* doc = view ? view->GetDocData() : nullptr;
    if (doc && m_nGroup >= 0 && m_nGroup < static_cast<int>(doc->m_Groups.size())) {
        const GroupRec& group = doc->m_Groups[static_cast<std::size_t>(m_nGroup)];
        SetTitle(GetTitle() + " - " + wxString::FromUTF8(group.m_strName));
        ParamTableRef table{doc->m_Groups, doc->m_Defined, doc->m_Changed};
        for (int record : DefinedRecords(table, m_nGroup)) {
            const ParamRec& param = group.m_Params[static_cast<std::size_t>(record)];
            auto* label = new wxStaticText(scroll, wxID_ANY, wxString::FromUTF8(param.m_strLabel));
            auto* field = new wxTextCtrl(scroll, wxID_ANY, wxString::FromUTF8(param.m_strValue));
            if (static_cast<int>(m_Fields.size()) == m_nItem)
                label->SetFont(label->GetFont().Bold());
            grid->Add(label, 1, wxALIGN_CENTER_VERTICAL);
            grid->Add(field, 0, wxEXPAND);
            m_Fields.push_back(field);
            m_Records.push_back(record);
        }
    }
    scroll->SetSizer(grid);
    scroll->SetScrollRate(0, 10);
    sizer->Add(scroll, 1, wxEXPAND | wxALL, 8);
    sizer->Add(CreateStdDialogButtonSizer(wxOK | wxCANCEL), 0, wxEXPAND | wxALL, 8);
    SetSizerAndFit(sizer);
    if (m_nItem >= 0 && m_nItem < static_cast<int>(m_Fields.size())) {
        m_Fields[static_cast<std::size_t>(m_nItem)]->SetFocus();
        m_Fields[static_cast<std::size_t>(m_nItem)]->SelectAll();
        scroll->ScrollWindow(0, 0);
    }
}

void CParamGroupDlg::OnOK(wxCommandEvent&)
{
    CD390View* view = ActiveView();
    CD390DocData* doc = view ? view->GetDocData() : nullptr;
    if (doc && m_nGroup >= 0 && m_nGroup < static_cast<int>(doc->m_Groups.size())) {
        GroupRec& group = doc->m_Groups[static_cast<std::size_t>(m_nGroup)];
        bool stored = false;
        for (std::size_t position = 0; position < m_Fields.size(); ++position) {
            std::string value = m_Fields[position]->GetValue().utf8_string();
            ParamRec& param = group.m_Params[static_cast<std::size_t>(m_Records[position])];
            if (value != param.m_strValue) {
                stored = true;
                if (position < static_cast<std::size_t>(kListItems))
                    doc->m_Changed[m_nGroup][position] = 1;
            }
            param.m_strValue = value;
        }
        // Whichever road opened the editor (menu, list, keyboard), a stored
        // change must reach the save question of Close and Exit.
        if (stored)
            if (auto* document = view->GetDocument())
                document->Modify(true);
        view->UpdateGroupValues(m_nGroup);
    }
    SetReturnCode(wxID_OK);
    EndDialog(wxID_OK);
}
