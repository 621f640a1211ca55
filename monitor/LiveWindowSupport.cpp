#include "monitor/LiveWindowSupport.h"

#include "platform/Accessibility.h"
#include "platform/Accessible.h"
#include "platform/MessageBox.h"
#include "platform/ResourceModule.h"
#include "res/StringIds.h"

#include <wx/choice.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/utils.h>

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

void Refit(wxWindow* window)
{
    if (wxSizer* sizer = window->GetSizer()) {
        wxSize client = window->GetClientSize();
        client.IncTo(sizer->GetMinSize());
        if (client != window->GetClientSize())
            window->SetClientSize(client);
    }
    window->Layout();
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

void SetAccessibleTextIfChanged(wxWindow* window, const wxString& name, const wxString& description)
{
    if (GetAccessibleName(window) != name)
        SetAccessibleName(window, name);
    if (GetAccessibleDescription(window) != description)
        SetAccessibleDescription(window, description);
}

void NameByLabel(wxWindow* control, const wxString& label)
{
    wxString name = wxStripMenuCodes(label);
    name.Trim();
    if (name.EndsWith(":"))
        name.RemoveLast();
    name.Trim();
    SetAccessibleName(control, name);
}

wxStaticText* CreateLinkFailedLine(wxWindow* parent)
{
    auto* line = new wxStaticText(parent, wxID_ANY, "");
    line->SetForegroundColour(*wxRED);
    line->Hide();
    return line;
}

bool ShowLinkFailed(wxStaticText* line, int messageId)
{
    const bool wasShown = line->IsShown();
    if (messageId < 0) {
        line->Hide();
        return wasShown;
    }
    const std::string reason = messageId > 0 ? LoadResString(static_cast<unsigned>(messageId)) : std::string();
    const wxString text = wxString::FromUTF8(FormatResString(IDS_LIVE_LINK_FAILED, reason.c_str()));
    const bool changed = line->GetLabel() != text;
    if (changed)
        line->SetLabel(text);
    line->Show();
    return changed || !wasShown;
}
