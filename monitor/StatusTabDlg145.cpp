#include "monitor/StatusTabDlg145.h"

#include "document/ModelTables.h"
#include "monitor/CommandWords.h"
#include "monitor/StatusLamps.h"
#include "platform/Accessible.h"
#include "platform/ResourceBitmap.h"

#include <wx/dc.h>
#include <wx/stattext.h>

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

void CStatusTabDlg145::OnTimer()
{
    std::uint16_t words[8] = {};
    const LiveReply reply = m_exchange.Read(m_nStation, kRegStatusWord, 8, words);
    if (!reply.Ok())
        return Failed(reply);
    m_nStatus = words[0];
    m_nFaultCode = words[1];
    for (int k = 0; k < 5; ++k)
        m_nValues[k] = words[3 + k];
    UpdateLabels();
    m_pPicture->Refresh(false);
}

void CStatusTabDlg145::UpdateLabels()
{
    const auto texts = StatusPageValues(m_nValues);
    for (std::size_t k = 0; k < texts.size(); ++k)
        PlaceLabel(m_pValues[k], wxString::FromUTF8(texts[k].text), texts[k].x, texts[k].y);
    std::string shortText;
    const std::string description = LookupFaultCode(static_cast<std::uint32_t>(m_nFaultCode), shortText);
    // A code missing from the fault table draws nothing.
    const bool known = !description.empty() || m_nFaultCode == 0;
    PlaceLabel(m_pFaultShort, known ? wxString::FromUTF8(shortText) : wxString(), 608, 142);
    PlaceLabel(m_pFaultDescription, known ? wxString::FromUTF8(description) : wxString(), 42, 325);
    const std::string lamps = DescribeLamps(StatusPageLamps(m_nStatus));
    SetAccessibleText(m_pPicture, "Status", wxString::FromUTF8(lamps));
}

void CStatusTabDlg145::OnPaintPicture(wxDC& dc)
{
    DrawPicture(dc, kBitmapStatusPage);
    if (!m_bStarted && !m_bStopped)
        return;
    for (const StatusLamp& lamp : StatusPageLamps(m_nStatus))
        dc.DrawBitmap(LoadResourceBitmap(lamp.bitmap), lamp.x, lamp.y, true);
}
