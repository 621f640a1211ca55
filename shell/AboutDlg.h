#pragma once
// The About box: the program's name and version.

#include <wx/dialog.h>

class CAboutDlg : public wxDialog {
public:
    enum { IDD = 100 };
    explicit CAboutDlg(wxWindow* parent = nullptr);
};
