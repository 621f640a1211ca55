#include "monitor/LiveWindowSupport.h"

#include "platform/MessageBox.h"
#include "platform/ResourceModule.h"
#include "res/StringIds.h"

#include <wx/choice.h>
#include <wx/stattext.h>

wxChoice* CreateStationChoice(wxWindow* parent, int id, const std::vector<int>& stations, int index)
{
    auto* choice = new wxChoice(parent, id);
    for (int station : stations)
        choice->Append(wxString::Format("%d", station));
    if (index >= 0 && index < static_cast<int>(stations.size()))
        choice->SetSelection(index);
    else if (!stations.empty())
        choice->SetSelection(0);
    return choice;
}

int SelectedStation(const wxChoice* choice, const std::vector<int>& stations)
{
    const int index = choice->GetSelection();
    return index >= 0 && index < static_cast<int>(stations.size()) ? stations[index] : 0;
}

wxStaticText* CreateLinkGoneLine(wxWindow* parent)
{
    auto* line = new wxStaticText(parent, wxID_ANY, wxString::FromUTF8(LoadResString(IDS_NOT_CONNECTED)));
    line->SetForegroundColour(*wxRED);
    line->Hide();
    return line;
}

void ShowLiveMessage(const LiveReply& reply)
{
    ShowLiveMessage(reply.messageId);
}

void ShowLiveMessage(unsigned messageId)
{
    if (messageId != 0)
        AfxMessageBox(messageId);
}
