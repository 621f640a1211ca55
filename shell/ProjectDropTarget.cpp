#include "shell/ProjectDropTarget.h"

#include "shell/D390App.h"

bool CProjectDropTarget::OnDropFiles(wxCoord, wxCoord, const wxArrayString& files)
{
    if (!m_pApp || files.empty())
        return false;
    return m_pApp->OpenDroppedProject(files[0].utf8_string());
}
