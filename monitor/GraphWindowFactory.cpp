#include "monitor/GraphWindowFactory.h"

#include "monitor/GraphDlg.h"
#include "session/MainFrameState.h"

wxWindow* CreateGraphWindow(wxWindow* parent, CMainFrameState& state)
{
    const int model = state.m_StationModels.empty() ? state.m_nModelCode : state.m_StationModels.front();
    return new CGraphDlg(parent, state, state.m_Stations, model);
}
