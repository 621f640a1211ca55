#include "shell/AboutDlg.h"

#include <wx/artprov.h>
#include <wx/button.h>
#include <wx/sizer.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>

CAboutDlg::CAboutDlg(wxWindow* parent)
    : wxDialog(parent, IDD, "About D390")
{
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    auto* row = new wxBoxSizer(wxHORIZONTAL);
    row->Add(new wxStaticBitmap(this, wxID_ANY, wxArtProvider::GetBitmap(wxART_INFORMATION, wxART_MESSAGE_BOX)), 0,
             wxALL, 8);
    auto* texts = new wxBoxSizer(wxVERTICAL);
    texts->Add(new wxStaticText(this, wxID_ANY, "D390 Version 1.0"), 0, wxBOTTOM, 6);
    texts->Add(new wxStaticText(this, wxID_ANY, "Parameter setting and commissioning of D390 drives"));
    row->Add(texts, 1, wxALL | wxALIGN_CENTER_VERTICAL, 8);
    sizer->Add(row, 1, wxEXPAND | wxALL, 4);
    sizer->Add(CreateStdDialogButtonSizer(wxOK), 0, wxEXPAND | wxALL, 8);
    SetSizerAndFit(sizer);
}
