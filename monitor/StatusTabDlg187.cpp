#include "monitor/StatusTabDlg187.h"

#include "monitor/CommandWords.h"
#include "monitor/StatusLamps.h"
#include "platform/Accessible.h"
#include "platform/ResourceBitmap.h"

#include <wx/dc.h>

CStatusTabDlg187::CStatusTabDlg187(wxWindow* parent, CMonitorStatusDlg* owner, CDriveSession& state, int stationIndex)
    : CStatusTabPage(parent, owner, state, stationIndex)
{
}

void CStatusTabDlg187::OnTimer()
{
    std::uint16_t word = 0;
    const LiveReply reply = m_exchange.Read(m_nStation, kRegTerminalWord, 1, &word);
    if (!reply.Ok())
        return Failed(reply);
    m_nTerminal = word;
    SetAccessibleText(m_pPicture, "Terminal", wxString::FromUTF8(DescribeLamps(TerminalPageLamps(m_nTerminal))));
    m_pPicture->RefreshRect(wxRect(wxPoint(249, 311), wxPoint(469, 350)), false);
}

void CStatusTabDlg187::OnPaintPicture(wxDC& dc)
{
    const wxBitmap& picture = LoadResourceBitmap(kBitmapTerminalPage);
    dc.SetBackground(*wxWHITE_BRUSH);
    dc.Clear();
    if (picture.IsOk())
        dc.DrawBitmap(picture, 0, 0);
    if (!m_bStarted && !m_bStopped)
        return;
    for (const StatusLamp& lamp : TerminalPageLamps(m_nTerminal))
        dc.DrawBitmap(LoadResourceBitmap(lamp.bitmap), lamp.x, lamp.y, true);
}
