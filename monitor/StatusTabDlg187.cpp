#include "monitor/StatusTabDlg187.h"

#include "monitor/CommandWords.h"
#include "monitor/LiveWindowSupport.h"
#include "monitor/LiveWorker.h"
#include "monitor/StatusLamps.h"
#include "platform/Accessible.h"
#include "platform/ResourceBitmap.h"
#include "platform/ResourceModule.h"
#include "res/StringIds.h"

#include <wx/dc.h>

#include <memory>

CStatusTabDlg187::CStatusTabDlg187(wxWindow* parent, CMonitorStatusDlg* owner, CDriveSession& state, int stationIndex)
    : CStatusTabPage(parent, owner, state, stationIndex)
{
}

void CStatusTabDlg187::QueuePoll(CLiveWorker& worker)
{
    auto reply = std::make_shared<LiveReply>();
    auto word = std::make_shared<std::uint16_t>(0);
    const int station = m_nStation;
    worker.Queue([reply, word, station](CLiveLink& link) { *reply = link.Read(station, kRegTerminalWord, 1, word.get()); },
        [this, reply, word] {
            if (!Done(*reply))
                return;
            m_nTerminal = *word;
            UpdateTexts();
            m_pPicture->RefreshRect(wxRect(wxPoint(249, 311), wxPoint(469, 350)), false);
        });
}

void CStatusTabDlg187::UpdateTexts()
{
    const std::string lamps = ShowsLiveValues() ? DescribeLamps(TerminalPageLamps(m_nTerminal))
                                                : LoadResString(IDS_LIVE_NOT_POLLING);
    SetAccessibleTextIfChanged(m_pPicture, "Terminal", wxString::FromUTF8(lamps));
}

void CStatusTabDlg187::OnPaintPicture(wxDC& dc)
{
    const wxBitmap& picture = LoadResourceBitmap(kBitmapTerminalPage);
    dc.SetBackground(*wxWHITE_BRUSH);
    dc.Clear();
    if (picture.IsOk())
        dc.DrawBitmap(picture, 0, 0);
    if (!ShowsLiveValues())
        return;
    for (const StatusLamp& lamp : TerminalPageLamps(m_nTerminal))
        dc.DrawBitmap(LoadResourceBitmap(lamp.bitmap), lamp.x, lamp.y, true);
}
