#pragma once
// "Model Select": the drive model and base frequency of a new project.

#include "document/ModelListFile.h"

#include <wx/dialog.h>

#include <string>
#include <vector>

class wxChoice;
class wxStaticText;

class CModelSelectDlg : public wxDialog {
public:
    enum { IDD = 131, IDC_FREQUENCY = 1001, IDC_MODEL = 1002, IDC_DESCRIPTION = 1003 };

    // The model list file is read from programFolder; the list opens on
    // currentModel (the open project's) when it names one of its models.
    explicit CModelSelectDlg(wxWindow* parent = nullptr, std::string programFolder = {}, std::string currentModel = {});

    // Fills the two arrays from the model list file; false when it is missing.
    bool ReadModelFile(const std::string& path);

    std::vector<std::string> m_ModelNames;
    std::vector<std::string> m_Descriptions;
    std::string m_strModel;       // chosen name, filled by OK
    std::string m_strDescription; // shown in control 1003
    int m_nFreqIndex = 0;
    int m_nModelIndex = 0;

private:
    void OnInitDialog();
    void OnSelchangeModel(wxCommandEvent& event);
    void OnOK(wxCommandEvent& event);
    void ShowDescription();

    std::string m_strProgramFolder;
    std::string m_strCurrentModel;
    wxStaticText* m_pDescription = nullptr;
    wxChoice* m_pFrequency = nullptr;
    wxChoice* m_pModel = nullptr;
};
