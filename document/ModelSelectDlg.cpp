#include "document/ModelSelectDlg.h"

#include "platform/DialogUnits.h"
#include "platform/MessageBox.h"
#include "platform/ResourceModule.h"
#include "res/StringIds.h"

#include <wx/button.h>
#include <wx/choice.h>
#include <wx/statbox.h>
#include <wx/stattext.h>

namespace {

wxString Utf8(const std::string& text)
{
    return wxString::FromUTF8(text);
}

} // namespace

CModelSelectDlg::CModelSelectDlg(wxWindow* parent, std::string programFolder, std::string currentModel)
    : wxDialog(parent, IDD, "Model Select"), m_strProgramFolder(std::move(programFolder)),
      m_strCurrentModel(std::move(currentModel))
{
    SetClientSize(DlgSize(this, 195, 149));
    m_pDescription = new wxStaticText(this, IDC_DESCRIPTION, wxEmptyString, DlgPoint(this, 7, 7), DlgSize(this, 181, 62),
                                      wxSUNKEN_BORDER | wxST_NO_AUTORESIZE);
    new wxStaticBox(this, wxID_ANY, wxEmptyString, DlgPoint(this, 7, 74), DlgSize(this, 128, 68));
    new wxStaticText(this, wxID_ANY, "Frequency:", DlgPoint(this, 15, 90), DlgSize(this, 40, 10));
    new wxStaticText(this, wxID_ANY, "Model:", DlgPoint(this, 15, 118), DlgSize(this, 40, 10));
    wxArrayString frequencies;
    frequencies.Add("50.00");
    frequencies.Add("60.00");
    m_pFrequency = new wxChoice(this, IDC_FREQUENCY, DlgPoint(this, 57, 88), wxSize(DlgSize(this, 72, 12).x, -1), frequencies);
    m_pModel = new wxChoice(this, IDC_MODEL, DlgPoint(this, 57, 116), wxSize(DlgSize(this, 72, 12).x, -1));
    auto* ok = new wxButton(this, wxID_OK, "OK", DlgPoint(this, 141, 80), DlgSize(this, 48, 14));
    new wxButton(this, wxID_CANCEL, "Cancel", DlgPoint(this, 141, 100), DlgSize(this, 48, 14));
    ok->SetDefault();

    Bind(wxEVT_CHOICE, &CModelSelectDlg::OnSelchangeModel, this, IDC_MODEL);
    Bind(wxEVT_BUTTON, &CModelSelectDlg::OnOK, this, wxID_OK);
    OnInitDialog();
}

bool CModelSelectDlg::ReadModelFile(const std::string& path)
{
    ModelList list;
    bool found = ReadModelListFile(path, list);
    m_ModelNames = std::move(list.names);
    m_Descriptions = std::move(list.descriptions);
    return found;
}

void CModelSelectDlg::OnInitDialog()
{
    // The frequency list opens on 50.00 whatever the project had.
    m_nFreqIndex = 0;
    m_pFrequency->SetSelection(m_nFreqIndex);

    std::string path = m_strProgramFolder + kModelListFileName;
    bool found = ReadModelFile(path);

    m_pModel->Clear();
    for (const std::string& name : m_ModelNames)
        m_pModel->Append(Utf8(name));

    m_nModelIndex = 0;
    for (std::size_t i = 0; i < m_ModelNames.size(); ++i) {
        if (m_ModelNames[i] == m_strCurrentModel) {
            m_nModelIndex = static_cast<int>(i);
            break;
        }
    }
    if (!m_ModelNames.empty())
        m_pModel->SetSelection(m_nModelIndex);
    ShowDescription();

    // Without models OK would create a project of no model at all.
    FindWindow(wxID_OK)->Enable(!m_ModelNames.empty());
    if (!found) {
        AfxMessageBox(FormatResString(IDS_MODEL_FILE_MISSING, path.c_str()),
                      MB_OK | MB_ICONERROR);
    }
}

void CModelSelectDlg::ShowDescription()
{
    m_strDescription.clear();
    if (m_nModelIndex >= 0 && static_cast<std::size_t>(m_nModelIndex) < m_Descriptions.size())
        m_strDescription = m_Descriptions[m_nModelIndex];
    wxString shown = Utf8(m_strDescription);
    shown.Replace("\r\n", "\n");
    m_pDescription->SetLabel(shown);
    // Lines wrap at the box's width, as the template's multi-line text does.
    m_pDescription->Wrap(m_pDescription->GetClientSize().x);
}

void CModelSelectDlg::OnSelchangeModel(wxCommandEvent&)
{
    m_nModelIndex = m_pModel->GetSelection();
    ShowDescription();
}

void CModelSelectDlg::OnOK(wxCommandEvent&)
{
    if (m_ModelNames.empty())
        return;
    m_strModel = m_pModel->GetStringSelection().utf8_string();
    m_nFreqIndex = m_pFrequency->GetSelection();
    SetReturnCode(wxID_OK);
    EndDialog(wxID_OK);
}
