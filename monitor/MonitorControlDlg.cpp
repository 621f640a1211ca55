#include "monitor/MonitorControlDlg.h"

#include "monitor/CommandWords.h"
#include "monitor/FrequencyText.h"
#include "monitor/GraphWindowFactory.h"
#include "monitor/LiveWindowSupport.h"
#include "monitor/MonitorStatusDlg.h"
#include "platform/MessageBox.h"
#include "platform/ModalChildren.h"
#include "platform/ResourceModule.h"
#include "platform/WorkArea.h"
#include "res/StringIds.h"
#include "session/DriveSession.h"

#include <wx/button.h>
#include <wx/choice.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/toplevel.h>

#include <memory>
#include <vector>

namespace {

wxString Res(unsigned id)
{
    return wxString::FromUTF8(LoadResString(id));
}

// Gives the focus to the first control after `after` (in the window's order,
// round to its start) that takes it.
void FocusNextEnabled(wxWindow* window, wxWindow* after)
{
    const std::vector<wxWindow*> children(window->GetChildren().begin(), window->GetChildren().end());
    const std::size_t count = children.size();
    std::size_t start = 0;
    for (std::size_t k = 0; k < count; ++k)
        if (children[k] == after)
            start = k;
    for (std::size_t step = 1; step <= count; ++step) {
        wxWindow* child = children[(start + step) % count];
        if (child->IsShown() && child->IsEnabled() && child->CanAcceptFocus()) {
            child->SetFocus();
            return;
        }
    }
}

} // namespace

CMonitorControlDlg::CMonitorControlDlg(wxWindow* parent, CDriveSession& state, int stationIndex, CD390DocData* project)
    : wxDialog(parent, IDD, "Monitor Control")
    , m_state(state)
    , m_pProject(project)
    , m_exchange(state)
    , m_worker(state, this)
    , m_timer(this, 1)
    , m_nStationIndex(stationIndex)
{
    m_pStation = CreateStationChoice(this, IDC_STATION, m_state.m_Stations, m_nStationIndex);
    m_nStationIndex = m_pStation->GetSelection();
    m_nStation = SelectedStation(m_pStation, m_state.m_Stations);
    m_pFrequency = new wxTextCtrl(this, IDC_FREQUENCY, m_strFrequency, wxDefaultPosition, wxDefaultSize,
                                  wxTE_PROCESS_ENTER);
    // The field has no label of its own on the screen; "Set" beside it says
    // what it is for.
    NameByLabel(m_pFrequency, "Frequency (Hz)");
    m_pJogForward = new wxButton(this, IDC_JOG_FORWARD, Res(IDS_JOG_FORWARD));
    m_pJogReverse = new wxButton(this, IDC_JOG_REVERSE, Res(IDS_JOG_REVERSE));
    // Jogging before the first poll would write a guessed word.
    m_pJogForward->Disable();
    m_pJogReverse->Disable();
    m_pLinkGone = CreateLinkGoneLine(this);

    auto* grid = new wxGridSizer(2, 6, 6);
    const struct {
        int id;
        const char* label;
    } buttons[] = { { IDC_RUN, "RUN" }, { IDC_STOP, "STOP" }, { IDC_FWD, "FWD" }, { IDC_REV, "REV" },
        { IDC_ABNORMAL, "Abnormal" }, { IDC_FAULT_RESET, "Fault Reset" } };
    for (const auto& b : buttons)
        grid->Add(new wxButton(this, b.id, b.label), 0, wxEXPAND);
    grid->Add(m_pJogForward, 0, wxEXPAND);
    grid->Add(m_pJogReverse, 0, wxEXPAND);

    auto* frequency = new wxBoxSizer(wxHORIZONTAL);
    frequency->Add(m_pFrequency, 1, wxRIGHT, 6);
    frequency->Add(new wxButton(this, IDC_SET, "Set"));
    auto* station = new wxBoxSizer(wxHORIZONTAL);
    auto* stationLabel = new wxStaticText(this, wxID_ANY, Res(IDS_STATION_NUM_LABEL));
    NameByLabel(m_pStation, stationLabel->GetLabel());
    station->Add(stationLabel, 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 6);
    station->Add(m_pStation, 1);
    auto* siblings = new wxBoxSizer(wxHORIZONTAL);
    siblings->Add(new wxButton(this, IDC_SHOW_STATUS, "Show Status"), 1, wxRIGHT, 6);
    siblings->Add(new wxButton(this, IDC_GRAPH, "Graph"), 1, wxRIGHT, 6);
    siblings->Add(new wxButton(this, wxID_CANCEL, "Cancel"), 1);

    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(station, 0, wxEXPAND | wxALL, 8);
    sizer->Add(grid, 0, wxEXPAND | wxLEFT | wxRIGHT, 8);
    sizer->Add(frequency, 0, wxEXPAND | wxALL, 8);
    sizer->Add(m_pLinkGone, 0, wxLEFT | wxRIGHT, 8);
    sizer->Add(siblings, 0, wxEXPAND | wxALL, 8);
    SetSizerAndFit(sizer);
    FollowScreenInTabOrder({stationLabel, m_pStation, FindWindow(IDC_RUN), FindWindow(IDC_STOP), FindWindow(IDC_FWD),
                            FindWindow(IDC_REV), FindWindow(IDC_ABNORMAL), FindWindow(IDC_FAULT_RESET),
                            m_pJogForward, m_pJogReverse, m_pFrequency, FindWindow(IDC_SET),
                            FindWindow(IDC_SHOW_STATUS), FindWindow(IDC_GRAPH), FindWindow(wxID_CANCEL)});

    Bind(wxEVT_TIMER, [this](wxTimerEvent&) { OnTimer(); }, 1);
    for (int id : { IDC_RUN, IDC_STOP, IDC_FWD, IDC_REV, IDC_ABNORMAL, IDC_FAULT_RESET })
        Bind(wxEVT_BUTTON, [this, id](wxCommandEvent&) { OnCommand(id); }, id);
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnJog(kBitJogForward, m_wJogForward != 0); }, IDC_JOG_FORWARD);
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnJog(kBitJogReverse, m_wJogReverse != 0); }, IDC_JOG_REVERSE);
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnSet(); }, IDC_SET);
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnShowStatus(); }, IDC_SHOW_STATUS);
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnGraph(); }, IDC_GRAPH);
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnCancel(); }, wxID_CANCEL);
    Bind(wxEVT_CLOSE_WINDOW, [this](wxCloseEvent&) { OnCancel(); });
    Bind(wxEVT_CHAR_HOOK, &CMonitorControlDlg::OnCharHook, this);
    Bind(wxEVT_TEXT, [this](wxCommandEvent&) { OnFrequencyText(); }, IDC_FREQUENCY);
    // Enter in the field is the "Set" beside it, while that can be pressed.
    Bind(wxEVT_TEXT_ENTER, [this](wxCommandEvent&) {
        if (FindWindow(IDC_SET)->IsEnabled())
            OnSet();
    }, IDC_FREQUENCY);
    Bind(wxEVT_CHOICE, [this](wxCommandEvent&) {
        m_nStationIndex = m_pStation->GetSelection();
        m_nStation = SelectedStation(m_pStation, m_state.m_Stations);
    }, IDC_STATION);
    if (!m_exchange.IsConnected())
        LinkGone();
}

CMonitorControlDlg::~CMonitorControlDlg()
{
    // The siblings are children of this window and are deleted with it.
    m_timer.Stop();
    m_worker.Stop();
}

void CMonitorControlDlg::SetStationIndex(int index)
{
    if (index < 0 || index >= static_cast<int>(m_pStation->GetCount()))
        return;
    m_nStationIndex = index;
    m_pStation->SetSelection(index);
    m_nStation = SelectedStation(m_pStation, m_state.m_Stations);
}

bool CMonitorControlDlg::Show(bool show)
{
    if (show && m_exchange.IsConnected() && !m_pLinkGone->IsShown())
        m_timer.Start(100);
    else if (!show) {
        m_timer.Stop();
        m_worker.Stop();
    }
    return wxDialog::Show(show);
}

void CMonitorControlDlg::LinkGone()
{
    m_timer.Stop();
    m_worker.Stop();
    wxWindow* focus = FindFocus();
    for (int id : { IDC_RUN, IDC_STOP, IDC_FWD, IDC_REV, IDC_ABNORMAL, IDC_FAULT_RESET, IDC_SET })
        FindWindow(id)->Disable();
    // The stale view greys the jog buttons too.
    ShowStale();
    // A button that goes grey takes the focus with it: the next control
    // that still works has it, so that the keyboard is not left nowhere.
    if (focus && focus->GetParent() == this && !focus->IsEnabled())
        FocusNextEnabled(this, focus);
    if (!m_pLinkGone->IsShown()) {
        m_pLinkGone->Show();
        Refit(this);
    }
}

void CMonitorControlDlg::Poll()
{
    OnTimer();
    Settle();
}

void CMonitorControlDlg::OnTimer()
{
    // The last exchange has not ended: this tick is skipped.
    if (m_worker.IsBusy())
        return;
    if (!m_exchange.IsConnected())
        return LinkGone();
    auto reply = std::make_shared<LiveReply>();
    auto word = std::make_shared<std::uint16_t>(0);
    const int station = m_nStation;
    m_worker.Queue([reply, word, station](CLiveLink& link) { *reply = link.Read(station, kRegCommandWord, 1, word.get()); },
        [this, reply, word] { ApplyPoll(*reply, *word); });
}

void CMonitorControlDlg::ApplyPoll(const LiveReply& reply, std::uint16_t word)
{
    if (reply.failure == LiveFailure::NotConnected || (!reply.Ok() && !m_exchange.IsConnected()))
        return LinkGone();
    if (!reply.Ok()) {
        if (reply.messageId != 0) {
            m_timer.Stop();
            ShowStale();
            ShowLiveMessage(reply);
        }
        return;
    }
    m_bLive = true;
    m_wCommand = word;
    m_wJogForward = word & kBitJogForward;
    m_wJogReverse = word & kBitJogReverse;
    const wxString forward = wxString::FromUTF8(LoadResString(m_wJogForward ? IDS_STOP_JOG_FORWARD : IDS_JOG_FORWARD));
    const wxString reverse = wxString::FromUTF8(LoadResString(m_wJogReverse ? IDS_STOP_JOG_REVERSE : IDS_JOG_REVERSE));
    if (m_pJogForward->GetLabel() != forward)
        m_pJogForward->SetLabel(forward);
    if (m_pJogReverse->GetLabel() != reverse)
        m_pJogReverse->SetLabel(reverse);
    m_pJogForward->Enable();
    m_pJogReverse->Enable();
}

void CMonitorControlDlg::ShowStale()
{
    m_bLive = false;
    m_wCommand = m_wJogForward = m_wJogReverse = 0xFFFF;
    m_pJogForward->SetLabel(Res(IDS_JOG_FORWARD));
    m_pJogReverse->SetLabel(Res(IDS_JOG_REVERSE));
    m_pJogForward->Disable();
    m_pJogReverse->Disable();
}

void CMonitorControlDlg::ApplyButton(const LiveReply& reply)
{
    if (reply.failure == LiveFailure::NotConnected || (!reply.Ok() && !m_exchange.IsConnected()))
        return LinkGone();
    ShowLiveMessage(reply);
}

void CMonitorControlDlg::OnCommand(int id)
{
    static const std::pair<int, ControlCommand> kCommands[] = { { IDC_RUN, ControlCommand::Run },
        { IDC_STOP, ControlCommand::Stop }, { IDC_FWD, ControlCommand::Forward }, { IDC_REV, ControlCommand::Reverse },
        { IDC_ABNORMAL, ControlCommand::Abnormal }, { IDC_FAULT_RESET, ControlCommand::FaultReset } };
    ControlCommand command = ControlCommand::Run;
    for (const auto& [button, change] : kCommands) {
        if (button == id)
            command = change;
    }
    if (!m_exchange.IsConnected())
        return LinkGone();
    auto reply = std::make_shared<LiveReply>();
    const int station = m_nStation;
    m_worker.Queue(
        [reply, station, command](CLiveLink& link) {
            std::uint16_t word = 0;
            *reply = link.Read(station, kRegCommandWord, 1, &word);
            if (reply->Ok())
                *reply = link.Write(station, kRegCommandWord, ApplyControlCommand(command, word));
        },
        [this, reply] { ApplyButton(*reply); });
}

void CMonitorControlDlg::OnJog(std::uint16_t bit, bool polledSet)
{
    if (!m_exchange.IsConnected())
        return LinkGone();
    // A fresh word, so that a STOP since the last poll is not undone.
    auto reply = std::make_shared<LiveReply>();
    const int station = m_nStation;
    m_worker.Queue(
        [reply, station, bit, polledSet](CLiveLink& link) {
            std::uint16_t word = 0;
            *reply = link.Read(station, kRegCommandWord, 1, &word);
            if (reply->Ok())
                *reply = link.Write(station, kRegCommandWord, JogWord(word, bit, !polledSet));
        },
        [this, reply] { ApplyButton(*reply); });
}

void CMonitorControlDlg::OnSet()
{
    m_strFrequency = m_pFrequency->GetValue();
    if (!m_exchange.IsConnected())
        return LinkGone();
    struct Result {
        LiveReply reply;
        bool outOfRange = false;
    };
    auto result = std::make_shared<Result>();
    const int station = m_nStation;
    const double value = FrequencyTextValue(m_strFrequency.utf8_string());
    m_worker.Queue(
        [result, station, value](CLiveLink& link) {
            std::uint16_t limits[2] = {};
            result->reply = link.Read(station, kRegFrequencyLimits, 2, limits);
            if (!result->reply.Ok())
                return; // a failed limit read ends the setting before any check
            if (!ControlFrequencyInRange(value, limits[1], limits[0])) {
                result->outOfRange = true;
                return;
            }
            result->reply = link.Write(station, kRegFrequencyCommand, static_cast<std::uint16_t>(FrequencyHundredths(value)));
        },
        [this, result] {
            if (result->outOfRange)
                AfxMessageBox(IDS_SET_RANGE);
            else
                ApplyButton(result->reply);
        });
}

void CMonitorControlDlg::OnFrequencyText()
{
    const std::string typed = m_pFrequency->GetValue().utf8_string();
    const std::string kept = FilterFrequencyText(m_strFrequency.utf8_string(), typed, 1200.0);
    m_strFrequency = wxString::FromUTF8(kept);
    if (kept != typed) {
        const long insertion = std::min<long>(m_pFrequency->GetInsertionPoint(), static_cast<long>(kept.size()));
        m_pFrequency->ChangeValue(m_strFrequency);
        m_pFrequency->SetInsertionPoint(insertion);
    }
}

CMonitorStatusDlg* CMonitorControlDlg::GetStatusWindow() const
{
    return static_cast<CMonitorStatusDlg*>(m_pStatusDlg.get());
}

void CMonitorControlDlg::OnShowStatus()
{
    CMonitorStatusDlg* status = GetStatusWindow();
    if (!status) {
        status = new CMonitorStatusDlg(this, m_state, m_nStationIndex, m_pProject);
        m_pStatusDlg = status;
    } else {
        status->SetStationIndex(m_nStationIndex);
    }
    status->Show();
    status->EnableShowControl(false);
    const wxRect mine = GetScreenRect();
    MoveInsideWorkArea(status, wxPoint(mine.GetRight() + 1, mine.GetTop()));
    status->Raise();
}

void CMonitorControlDlg::OnGraph()
{
    if (!m_pGraphDlg)
        m_pGraphDlg = CreateGraphWindow(this, m_state, m_pProject);
    if (m_pGraphDlg) {
        m_pGraphDlg->Show();
        m_pGraphDlg->Raise();
    }
}

void CMonitorControlDlg::DestroySiblings()
{
    for (wxWeakRef<wxWindow>* sibling : { &m_pStatusDlg, &m_pGraphDlg }) {
        if (wxWindow* window = sibling->get()) {
            window->Hide();
            DestroyAfterModalDialogs(window);
        }
        *sibling = nullptr;
    }
}

void CMonitorControlDlg::OnCancel()
{
    DestroySiblings();
    Show(false);
}

// An Escape of another window (a frame passes its keys on to its parent; the
// recorder keeps its own) is not this window's Cancel: be it for a menu or
// the chart's cursor, it closes neither that window nor this one.
void CMonitorControlDlg::OnCharHook(wxKeyEvent& event)
{
    auto* from = dynamic_cast<wxWindow*>(event.GetEventObject());
    wxWindow* top = from ? wxGetTopLevelParent(from) : nullptr;
    if (event.GetKeyCode() == WXK_ESCAPE && top && top != this)
        return;
    event.Skip();
}
