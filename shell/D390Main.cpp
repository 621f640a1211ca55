// Entry point of the window program.

#include <wx/app.h>

#include "shell/D390App.h"

wxIMPLEMENT_APP(CD390App);
