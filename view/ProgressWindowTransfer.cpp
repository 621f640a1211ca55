#include "view/ProgressWindowTransfer.h"

#include "platform/WorkArea.h"
#include "view/ProgressDlg.h"

#include <wx/gauge.h>
#include <wx/stattext.h>

#include <algorithm>

CProgressWindowTransfer::CProgressWindowTransfer(wxWindow* placeOver, CProgressDlg* dialog)
    : m_pPlaceOver(placeOver), m_pDialog(dialog)
{
}

bool CProgressWindowTransfer::IsShown() const
{
    return m_pDialog && m_pDialog->IsShown();
}

void CProgressWindowTransfer::ShowWithHeading(const std::string& heading)
{
    if (!m_pDialog)
        return;
    wxRect over = m_pPlaceOver ? m_pPlaceOver->GetScreenRect() : wxRect();
    MoveInsideWorkArea(m_pDialog, wxPoint(over.GetLeft() + over.GetWidth() / 3, over.GetBottom() - over.GetHeight() / 5));
    m_pDialog->m_strHeading = wxString::FromUTF8(heading);
    // The window has no caption bar; its title is what screen readers name
    // it by: the heading without its trailing dots and comma.
    wxString title = m_pDialog->m_strHeading;
    while (!title.empty() && wxString(".,: ").find(title.Last()) != wxString::npos)
        title.RemoveLast();
    m_pDialog->SetTitle(title);
    m_pDialog->Show();
    m_pDialog->SetFocus();
    m_pDialog->TransferDataToWindow();
    m_pDialog->Update();
}

void CProgressWindowTransfer::SetRange(int high)
{
    if (m_pDialog)
        m_pDialog->m_ctlProgress->SetRange(high > 0 ? high : 1);
}

void CProgressWindowTransfer::SetPosition(int position)
{
    if (m_pDialog)
        m_pDialog->m_ctlProgress->SetValue(std::min(position, m_pDialog->m_ctlProgress->GetRange()));
}

void CProgressWindowTransfer::SetText(const std::string& text)
{
    if (!m_pDialog)
        return;
    m_pDialog->m_ctlGroupText->SetLabel(wxString::FromUTF8(text));
    m_pDialog->Update();
}

void CProgressWindowTransfer::Hide()
{
    if (m_pDialog)
        m_pDialog->Hide();
}
