#include "monitor/StatusTabDlg145.h"

#include "document/ModelTables.h"
#include "monitor/CommandWords.h"
#include "monitor/LiveWindowSupport.h"
#include "monitor/LiveWorker.h"
#include "monitor/StatusLamps.h"
#include "platform/Accessible.h"
#include "platform/ResourceBitmap.h"
#include "platform/ResourceModule.h"
#include "res/StringIds.h"

#include <wx/dc.h>
#include <wx/stattext.h>

#include <memory>

namespace {

void DrawPicture(wxDC& dc, unsigned id)
{
    const wxBitmap& picture = LoadResourceBitmap(id);
    dc.SetBackground(*wxWHITE_BRUSH);
    dc.Clear();
    if (picture.IsOk())
        dc.DrawBitmap(picture, 0, 0);
}

wxStaticText* ValueLabel(wxWindow* parent, const wxColour& colour)
{
    auto* label = new wxStaticText(parent, wxID_ANY, "", wxDefaultPosition, wxDefaultSize);
    label->SetForegroundColour(colour);
    label->Hide();
    return label;
}

// A label whose line is centred on y, its left edge at x.
void PlaceLabel(wxStaticText* label, const wxString& text, int x, int y)
{
    if (label->GetLabel() != text)
        label->SetLabel(text);
    const wxSize size = label->GetBestSize();
    label->SetSize(x, y - size.GetHeight() / 2, size.GetWidth(), size.GetHeight());
    label->Show(!text.empty());
}

} // namespace

CStatusTabDlg145::CStatusTabDlg145(wxWindow* parent, CMonitorStatusDlg* owner, CDriveSession& state, int stationIndex)
    : CStatusTabPage(parent, owner, state, stationIndex)
{
    for (wxStaticText*& label : m_pValues)
        label = ValueLabel(m_pPicture, wxColour(0, 0, 255));
    m_pFaultShort = ValueLabel(m_pPicture, wxColour(255, 0, 0));
    m_pFaultDescription = ValueLabel(m_pPicture, wxColour(255, 0, 0));
}

void CStatusTabDlg145::QueuePoll(CLiveWorker& worker)
{
    struct Result {
        LiveReply reply;
        std::uint16_t words[8] {};
    };
    auto result = std::make_shared<Result>();
    const int station = m_nStation;
    worker.Queue([result, station](CLiveLink& link) { result->reply = link.Read(station, kRegStatusWord, 8, result->words); },
        [this, result] {
            if (!Done(result->reply))
                return;
            m_nStatus = result->words[0];
            m_nFaultCode = result->words[1];
            for (int k = 0; k < 5; ++k)
                m_nValues[k] = result->words[3 + k];
            UpdateTexts();
            m_pPicture->Refresh(false);
        });
}

void CStatusTabDlg145::UpdateTexts()
{
    const bool live = ShowsLiveValues();
    const auto texts = StatusPageValues(m_nValues);
    for (std::size_t k = 0; k < texts.size(); ++k) {
        const wxString text = live ? wxString::FromUTF8(texts[k].text) : wxString();
        PlaceLabel(m_pValues[k], text, texts[k].x, texts[k].y);
        // Named by the picture's caption and unit ("DC V 311 V"): a bare number says nothing.
        const wxString name = wxString::FromUTF8(texts[k].caption) + " "
            + (live ? text + " " + wxString::FromUTF8(texts[k].unit)
                    : wxString::FromUTF8(LoadResString(IDS_LIVE_NOT_POLLING)));
        SetAccessibleTextIfChanged(m_pValues[k], name);
    }
    std::string shortText;
    const std::string description = LookupFaultCode(static_cast<std::uint32_t>(m_nFaultCode), shortText);
    // A code missing from the fault table draws nothing.
    const bool known = live && (!description.empty() || m_nFaultCode == 0);
    PlaceLabel(m_pFaultShort, known ? wxString::FromUTF8(shortText) : wxString(), 608, 142);
    PlaceLabel(m_pFaultDescription, known ? wxString::FromUTF8(description) : wxString(), 42, 325);
    const std::string lamps
        = live ? DescribeLamps(StatusPageLamps(m_nStatus)) : LoadResString(IDS_LIVE_NOT_POLLING);
    SetAccessibleTextIfChanged(m_pPicture, "Status", wxString::FromUTF8(lamps));
}

void CStatusTabDlg145::OnPaintPicture(wxDC& dc)
{
    DrawPicture(dc, kBitmapStatusPage);
    if (!ShowsLiveValues())
        return;
    for (const StatusLamp& lamp : StatusPageLamps(m_nStatus))
        dc.DrawBitmap(LoadResourceBitmap(lamp.bitmap), lamp.x, lamp.y, true);
}
