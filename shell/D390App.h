#pragma once
// The application object.

#include <wx/app.h>

class CD390App : public wxApp {
public:
    bool OnInit() override;
    int OnExit() override;
};

wxDECLARE_APP(CD390App);
