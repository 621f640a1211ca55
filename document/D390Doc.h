#pragma once
// The framework's project document: a thin window-side shell around the
// window-free CD390DocData, which holds the table and does every step of New,
// Open and Save. The framework's modified flag is the document's.

#include "document/D390DocData.h"
#include "res/CommandIds.h" // ID_FILE_SAVE, ID_FILE_SAVE_AS

#include <wx/docview.h>

class CD390Doc : public wxDocument, public CD390DocData {
public:
    // Made by the project template with the main frame's windows.
    explicit CD390Doc(CFrameWindows& windows = NoFrameWindows());
    ~CD390Doc() override;

    // File New, after the model choice: the table of the project's model.
    bool OnNewDocument() override;
    // File Open, recent files and the command line.
    bool OnOpenDocument(const wxString& path) override;
    // The framework asks before a project closes.
    bool OnSaveModified() override;
    // The framework's own save routes, kept on our save.
    bool Save() override;
    bool SaveAs() override;

    bool IsModified() const override;
    void SetModifiedFlag(bool modified = true) override;
    void Modify(bool modified) override;

    void OnFileSave(wxCommandEvent& event);
    void OnFileSaveAs(wxCommandEvent& event);

protected:
    void OnProjectPathChanged(const std::string& path) override;

private:
    wxDECLARE_DYNAMIC_CLASS(CD390Doc);
    wxDECLARE_EVENT_TABLE();
};
