#include "shell/D390App.h"

#include "platform/ProgramFolder.h"
#include "platform/ResourceModule.h"
#include "platform/WxMessageBox.h"

#include <wx/frame.h>

bool CD390App::OnInit()
{
    // Without the resource module there are no texts to show: end quietly.
    if (!LoadResourceModule(ExecutableFolder()))
        return false;
    SetResLanguage(LanguageFromEnvironment());
    InstallWxMessageHandler();
    SetAppDisplayName("D390");

    auto* frame = new wxFrame(nullptr, wxID_ANY, "D390");
    frame->Maximize();
    frame->Show();
    return true;
}

int CD390App::OnExit()
{
    return wxApp::OnExit();
}
