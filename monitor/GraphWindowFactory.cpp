#include "monitor/GraphWindowFactory.h"

#include "document/D390DocData.h"
#include "monitor/GraphDlg.h"
#include "monitor/LiveDriveInfo.h"
#include "session/DriveSession.h"

wxWindow* CreateGraphWindow(wxWindow* parent, CDriveSession& state, CD390DocData* project)
{
    const int model = !state.m_StationModels.empty() ? state.m_StationModels.front()
                      : project                      ? project->m_nModelCode
                                                     : kDefaultModelCode;
    return new CGraphDlg(parent, state, state.m_Stations, model, project);
}
