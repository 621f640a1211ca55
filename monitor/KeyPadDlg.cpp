#include "monitor/KeyPadDlg.h"

#include "monitor/CommandWords.h"
#include "monitor/FreqEdit.h"
#include "monitor/FrequencyText.h"
#include "monitor/KeypadFace.h"
#include "monitor/LiveWindowSupport.h"
#include "monitor/MonitorQuantities.h"
#include "monitor/SegmentDisplay.h"
#include "platform/Accessibility.h"
#include "platform/Accessible.h"
#include "platform/MessageBox.h"
#include "platform/ResourceBitmap.h"
#include "platform/ResourceModule.h"
#include "res/StringIds.h"
#include "session/DriveSession.h"

#include <wx/bmpbuttn.h>
#include <wx/choice.h>
#include <wx/dcbuffer.h>
#include <wx/dcmemory.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/utils.h>
#include <wx/weakref.h>

#include <algorithm>
#include <memory>

namespace {

constexpr unsigned kBitmapFace = 155;
constexpr unsigned kBitmapDirection = 170;
constexpr unsigned kBitmapLampDark = 190;
constexpr unsigned kBitmapLampLit = 191;

constexpr int kFaceWidth = 380; // the 300 x 400 face and the two source lamps beside it
constexpr int kFaceHeight = 400;

// The keys as the face pictures them, by command id; the knob's button takes
// its area with a margin for the pointer's tip.
const struct {
    int id;
    const char* name;
    wxRect rect;
} kKeys[] = {
    { CKeyPadDlg::IDC_RUN, "RUN", wxRect(wxPoint(43, 253), wxPoint(110, 295)) },
    { CKeyPadDlg::IDC_STOP, "STOP", wxRect(wxPoint(112, 253), wxPoint(179, 295)) },
    { CKeyPadDlg::IDC_UP, "UP", wxRect(wxPoint(43, 137), wxPoint(110, 179)) },
    { CKeyPadDlg::IDC_DOWN, "DOWN", wxRect(wxPoint(43, 195), wxPoint(110, 237)) },
};
const wxRect kKnobButton(wxPoint(kKnobLeft - 2, kKnobTop - 2), wxPoint(kKnobRight + 2, kKnobBottom + 4));

wxString QuantityText(int index)
{
    const MonitorQuantity& q = GetMonitorQuantity(index);
    if (q.itemText)
        return q.itemText;
    return wxString::Format("%d: ", index + 1) + wxString::FromUTF8(LoadResString(q.nameId));
}

// The quantity's name without its number ("Output Frequency").
wxString QuantityName(int index)
{
    const wxString text = QuantityText(index);
    const int colon = text.Find(": ");
    return colon == wxNOT_FOUND ? text : text.Mid(static_cast<size_t>(colon) + 2);
}

bool Inside(int v, int low, int high)
{
    return v >= low && v <= high;
}

wxBitmap ScaledFace()
{
    const wxBitmap& face = LoadResourceBitmap(kBitmapFace);
    if (!face.IsOk())
        return wxBitmap(300, 400);
    wxImage image = face.ConvertToImage();
    if (image.GetWidth() != 300 || image.GetHeight() != 400)
        image.Rescale(300, 400);
    return wxBitmap(image);
}

// A part of the face; parts beyond the picture are filled with the window's colour.
wxBitmap FacePart(const wxBitmap& face, const wxRect& rect, const wxColour& background)
{
    wxBitmap part(rect.GetSize());
    wxMemoryDC dc(part);
    dc.SetBackground(wxBrush(background));
    dc.Clear();
    dc.DrawBitmap(face, -rect.GetX(), -rect.GetY());
    dc.SelectObject(wxNullBitmap);
    return part;
}

} // namespace

// What one tick read, in the order it reads; stages counts the reads that
// came back.
struct CKeyPadDlg::TickResult {
    int stages = 0;
    LiveReply failure;
    bool failed = false;
    std::uint16_t status = 0;
    std::uint16_t sources[5] {};
    std::uint16_t limits[2] {};
    std::uint16_t monitor[16] {};
};

CKeyPadDlg::CKeyPadDlg(wxWindow* parent, CDriveSession& state, LiveDriveInfo drive)
    : wxDialog(parent, IDD, "KeyPad")
    , m_state(state)
    , m_exchange(state)
    , m_worker(state, this)
    , m_drive(drive)
    , m_timer(this, 1)
{
    m_faceBitmap = ScaledFace();
    m_pFace = new CKeypadFace(this, wxSize(kFaceWidth, kFaceHeight));
    CreateKeys();

    for (int k = 0; k < 5; ++k) {
        // Entry 0 is the display (combo 1025); 1..4 are read-outs 1085..1088 (combos 1026..1029).
        const int id = k == 0 ? IDC_DISPLAY : IDC_MONITOR4 + (k - 1);
        m_pQuantities[k] = new wxChoice(this, id);
    }
    FillQuantities();
    for (int k = 0; k < 4; ++k) {
        m_pReadouts[k] = new wxStaticText(this, IDC_READOUT1 + k, "", wxDefaultPosition, wxSize(130, -1),
            wxST_NO_AUTORESIZE);
    }
    // The read-outs and the display move together in a ramp: the window
    // tells of one of them a second, each in its turn.
    auto beat = std::make_shared<CAccessibleTextBeat>();
    for (int k = 0; k < 4; ++k)
        m_readoutWords[k] = std::make_unique<CAccessibleTextThrottle>(m_pReadouts[k],
                                                                      CAccessibleTextThrottle::Field::Name, "", beat);
    m_displayWords = std::make_unique<CAccessibleTextThrottle>(m_pFace, CAccessibleTextThrottle::Field::Name, "", beat);
    auto* stationLabel = new wxStaticText(this, wxID_ANY, wxString::FromUTF8(LoadResString(IDS_STATION_NUM_LABEL)));
    m_pStation = CreateStationChoice(this, IDC_STATION, m_state.m_Stations, 0);
    NameByLabel(m_pStation, stationLabel->GetLabel());
    m_nStation = SelectedStation(m_pStation, m_state.m_Stations);
    auto* displayLabel = new wxStaticText(this, wxID_ANY, "Display");
    NameByLabel(m_pQuantities[0], displayLabel->GetLabel());
    auto* freqLabel = new wxStaticText(this, wxID_ANY, "FREQ.SET");
    m_pFreqEdit = new CFreqEdit(this, IDC_FREQ_SET, [this](bool byEnter) { CommitFrequency(byEnter); });
    NameByLabel(m_pFreqEdit, freqLabel->GetLabel());
    m_pLinkGone = CreateLinkGoneLine(this);

    auto* side = new wxFlexGridSizer(2, 6, 8);
    side->Add(stationLabel, 0, wxALIGN_CENTER_VERTICAL);
    side->Add(m_pStation, 0, wxEXPAND);
    side->Add(displayLabel, 0, wxALIGN_CENTER_VERTICAL);
    side->Add(m_pQuantities[0], 0, wxEXPAND);
    for (int k = 0; k < 4; ++k) {
        side->Add(m_pQuantities[k + 1], 0, wxEXPAND);
        side->Add(m_pReadouts[k], 0, wxALIGN_CENTER_VERTICAL);
    }
    side->Add(freqLabel, 0, wxALIGN_CENTER_VERTICAL);
    side->Add(m_pFreqEdit, 0, wxEXPAND);

    auto* column = new wxBoxSizer(wxVERTICAL);
    column->Add(side, 0, wxALL, 8);
    column->Add(m_pLinkGone, 0, wxALL, 8);
    column->AddStretchSpacer();
    column->Add(CreateStdDialogButtonSizer(wxCLOSE), 0, wxEXPAND | wxALL, 8);
    auto* row = new wxBoxSizer(wxHORIZONTAL);
    row->Add(m_pFace, 0, wxALL, 4);
    row->Add(column, 1, wxEXPAND);
    SetSizerAndFit(row);
    SetEscapeId(wxID_CLOSE);

    m_pFace->Bind(wxEVT_PAINT, [this](wxPaintEvent&) { OnPaintFace(); });
    auto press = [this](wxMouseEvent& event) {
        event.Skip();
        m_bLeftDown = true;
        PressAt(event.GetX(), event.GetY());
    };
    m_pFace->Bind(wxEVT_LEFT_DOWN, press);
    m_pFace->Bind(wxEVT_LEFT_DCLICK, press);
    m_pFace->Bind(wxEVT_LEFT_UP, [this](wxMouseEvent& event) {
        event.Skip();
        m_bLeftDown = false;
    });
    m_pFace->Bind(wxEVT_MOTION, [this](wxMouseEvent& event) {
        m_bLeftDown = event.LeftIsDown();
        DragTo(event.GetX(), event.GetY(),
            event.LeftIsDown() && !event.ControlDown() && !event.ShiftDown() && !event.MiddleIsDown()
                && !event.RightIsDown());
    });
    Bind(wxEVT_TIMER, [this](wxTimerEvent&) { OnTimer(); }, 1);
    for (int id : { IDC_RUN, IDC_STOP, IDC_UP, IDC_DOWN })
        Bind(wxEVT_BUTTON, [this, id](wxCommandEvent&) { OnKey(id); }, id);
    Bind(wxEVT_CHOICE, [this](wxCommandEvent&) { OnDisplayChoice(); }, IDC_DISPLAY);
    for (int id = IDC_MONITOR4; id <= IDC_MONITOR1; ++id)
        Bind(wxEVT_CHOICE, [this](wxCommandEvent&) { UpdateReadouts(true); }, id);
    Bind(wxEVT_CHOICE, [this](wxCommandEvent&) { OnStationChoice(); }, IDC_STATION);
    m_pFreqEdit->Bind(wxEVT_TEXT, [this](wxCommandEvent&) { OnFreqText(); });
    // Every road of closing (button, Esc, close box, Alt+F4) hides the window at once.
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { Hide(); }, wxID_CLOSE);
    Bind(wxEVT_CLOSE_WINDOW, [this](wxCloseEvent&) { Hide(); });

    UpdateReadouts();
    RefreshKnob();
    if (m_exchange.IsConnected())
        m_timer.Start(100);
    else
        LinkGone();
}

CKeyPadDlg::~CKeyPadDlg()
{
    m_timer.Stop();
    m_worker.Stop();
}

bool CKeyPadDlg::Show(bool show)
{
    if (!show) {
        m_timer.Stop();
        m_worker.Stop();
    }
    return wxDialog::Show(show);
}

wxWindow* CKeyPadDlg::GetFace() const
{
    return m_pFace;
}

wxBitmapButton* CKeyPadDlg::GetKey(int id) const
{
    for (int k = 0; k < 4; ++k)
        if (kKeys[k].id == id)
            return m_pKeys[k];
    return nullptr;
}

void CKeyPadDlg::CreateKeys()
{
    const wxColour background = GetBackgroundColour();
    for (int k = 0; k < 4; ++k) {
        m_pKeys[k] = new wxBitmapButton(m_pFace, kKeys[k].id, FacePart(m_faceBitmap, kKeys[k].rect, background),
            kKeys[k].rect.GetPosition(), kKeys[k].rect.GetSize(), wxBORDER_NONE);
        m_pKeys[k]->SetSize(kKeys[k].rect);
        SetAccessibleName(m_pKeys[k], kKeys[k].name);
    }
    m_pKnob = new wxBitmapButton(m_pFace, wxID_ANY, FacePart(m_faceBitmap, kKnobButton, background),
        kKnobButton.GetPosition(), kKnobButton.GetSize(), wxBORDER_NONE);
    m_pKnob->SetSize(kKnobButton);
    SetAccessibleName(m_pKnob, wxString::FromUTF8(LoadResString(IDS_KNOB_NAME)));
    // The knob's face-relative mouse handling, as on the face itself.
    auto facePoint = [this](const wxMouseEvent& event) { return event.GetPosition() + m_pKnob->GetPosition(); };
    m_pKnob->Bind(wxEVT_LEFT_DOWN, [this, facePoint](wxMouseEvent& event) {
        m_bLeftDown = true;
        const wxPoint at = facePoint(event);
        PressAt(at.x, at.y);
        if (!m_pKnob->HasCapture())
            m_pKnob->CaptureMouse();
    });
    m_pKnob->Bind(wxEVT_MOTION, [this, facePoint](wxMouseEvent& event) {
        m_bLeftDown = event.LeftIsDown();
        const wxPoint at = facePoint(event);
        DragTo(at.x, at.y,
            event.LeftIsDown() && !event.ControlDown() && !event.ShiftDown() && !event.MiddleIsDown()
                && !event.RightIsDown());
    });
    m_pKnob->Bind(wxEVT_LEFT_UP, [this](wxMouseEvent&) {
        m_bLeftDown = false;
        if (m_pKnob->HasCapture())
            m_pKnob->ReleaseMouse();
    });
    m_pKnob->Bind(wxEVT_MOUSE_CAPTURE_LOST, [this](wxMouseCaptureLostEvent&) { m_bLeftDown = false; });
    m_pKnob->Bind(wxEVT_KEY_DOWN, &CKeyPadDlg::OnKnobKey, this);
}

void CKeyPadDlg::FillQuantities()
{
    const int count = MonitorQuantityCount(m_drive.modelCode);
    for (int k = 0; k < 5; ++k) {
        wxChoice* choice = m_pQuantities[k];
        if (static_cast<int>(choice->GetCount()) == count)
            continue;
        const int selected = choice->GetSelection();
        choice->Clear();
        for (int i = 0; i < count; ++i)
            choice->Append(QuantityText(i));
        choice->SetSelection(selected >= 0 && selected < count ? selected : k);
    }
}

void CKeyPadDlg::LinkGone()
{
    m_timer.Stop();
    m_worker.Stop();
    m_bDrag = 0;
    m_pFreqEdit->Disable();
    if (!m_pLinkGone->IsShown()) {
        m_pLinkGone->Show();
        Refit(this);
    }
    ShowStale();
}

void CKeyPadDlg::ShowStale()
{
    m_bStale = true;
    UpdateReadouts();
    m_pFace->Refresh(false);
}

bool CKeyPadDlg::TickFailed(const LiveReply& reply)
{
    if (reply.Ok())
        return false;
    if (reply.failure == LiveFailure::NotConnected || !m_exchange.IsConnected()) {
        LinkGone();
    } else if (reply.messageId != 0) {
        m_timer.Stop();
        ShowStale();
        ShowLiveMessage(reply);
    }
    return true;
}

void CKeyPadDlg::Poll()
{
    OnTimer();
    Settle();
}

void CKeyPadDlg::OnTimer()
{
    // The exchange of the last tick (or of a key) has not ended: this tick is skipped.
    if (m_worker.IsBusy())
        return;
    if (!m_exchange.IsConnected()) {
        LinkGone();
        return;
    }
    // 1. The knob was let go: its frequency goes to the drive.
    // A release outside the face reaches no handler of ours: ask the mouse too.
    std::optional<std::uint16_t> release;
    if (m_bDrag && !(m_bLeftDown && wxGetMouseState().LeftIsDown())) {
        m_bDrag = 0;
        RefreshKnob();
        if (!m_bFreqByComm) {
            AfxMessageBox(IDS_FREQ_SOURCE);
            return;
        }
        const long value = FrequencyHundredths(FrequencyTextValue(m_pFreqEdit->GetValue().utf8_string()));
        release = static_cast<std::uint16_t>(value & 0xFFFF);
    }
    // 2 to 5 on the worker: status word, command sources, limits, monitor block.
    auto tick = std::make_shared<TickResult>();
    const int station = m_nStation;
    const auto count = static_cast<std::uint16_t>(MonitorBlockCount(m_drive.modelCode));
    m_worker.Queue(
        [tick, station, count, release](CLiveLink& link) {
            auto failed = [&tick](const LiveReply& reply) {
                if (reply.Ok())
                    return false;
                tick->failed = true;
                tick->failure = reply;
                return true;
            };
            if (release && failed(link.Write(station, kRegFrequencyCommand, *release)))
                return;
            if (failed(link.Read(station, kRegStatusWord, 1, &tick->status)))
                return;
            tick->stages = 1;
            if (failed(link.Read(station, kRegCommandSources, 5, tick->sources)))
                return;
            tick->stages = 2;
            if (failed(link.Read(station, kRegFrequencyLimits, 2, tick->limits)))
                return;
            tick->stages = 3;
            if (failed(link.Read(station, kMonitorBlockFirst, count, tick->monitor)))
                return;
            tick->stages = 4;
        },
        [this, tick] { ApplyTick(*tick); });
}

void CKeyPadDlg::ApplyTick(const TickResult& tick)
{
    if (tick.stages >= 1)
        m_wStatus = tick.status;
    if (tick.stages >= 2) {
        m_nRunSource = tick.sources[0];
        m_nFreqSource = tick.sources[3];
        m_bRunByComm = m_nRunSource == 2;
        m_bFreqByComm = m_nFreqSource == 5;
    }
    if (tick.stages >= 3) {
        m_nUpperLimit = tick.limits[0];
        m_nLowerLimit = tick.limits[1];
    }
    if (tick.stages >= 4) {
        std::copy(std::begin(tick.monitor), std::end(tick.monitor), m_Monitor.begin());
        m_bHaveMonitor = true;
        m_bStale = false;
        UpdateReadouts();
        // 6. The pointer follows the drive's set frequency after the first poll and after an entry.
        if (m_bFirstPoll || m_pFreqEdit->m_bSent)
            PlaceKnob();
    }
    if (tick.failed && TickFailed(tick.failure))
        return;
    // 7.
    m_pFace->Refresh(false);
}

void CKeyPadDlg::PlaceKnob()
{
    unsigned set = m_Monitor[0];
    if (!m_bFirstPoll && (set < m_nLowerLimit || set > m_nUpperLimit))
        set = 0;
    const KnobPoint point = KnobPointForFraction(KnobFraction(set, m_nLowerLimit, m_nUpperLimit));
    if (const auto drag = DragKnob(point, m_nLowerLimit, m_nUpperLimit))
        m_Pointer = drag->pointer;
    m_bDrag = 0;
    m_pFreqEdit->m_bSent = 0;
    m_bFirstPoll = 0;
    RefreshKnob();
}

void CKeyPadDlg::RefreshKnob()
{
    // The knob's button shows its part of the face with the pointer on it.
    wxBitmap knob = FacePart(m_faceBitmap, kKnobButton, GetBackgroundColour());
    {
        wxMemoryDC dc(knob);
        const bool dark = m_bDrag && m_bHighlight;
        const wxColour colour = dark ? *wxBLACK : wxColour(255, 0, 0);
        dc.SetPen(wxPen(colour, 1));
        dc.SetBrush(wxBrush(colour));
        wxPoint points[3];
        for (int i = 0; i < 3; ++i)
            points[i] = wxPoint(m_Pointer[i].x, m_Pointer[i].y) - kKnobButton.GetPosition();
        dc.DrawPolygon(3, points);
    }
    m_pKnob->SetBitmap(knob);
    m_pKnob->Refresh(false);
    m_pFace->RefreshRect(wxRect(wxPoint(kKnobLeft, kKnobTop), wxPoint(kKnobRight, kKnobBottom)), false);
    // The knob reads as the frequency it points at, with its unit.
    const wxString value = m_pFreqEdit->GetValue();
    SetAccessibleTextIfChanged(m_pKnob, wxString::FromUTF8(LoadResString(IDS_KNOB_NAME)),
                               value.empty() ? value : value + " Hz");
}

void CKeyPadDlg::UpdateReadouts(bool byUser)
{
    const bool live = ShowsLiveValues();
    // Values coming or going (the first read, a failure) are told at once;
    // values moving while they are read wait for their turn.
    const bool stateChanged = live != m_bReadoutsLive;
    m_bReadoutsLive = live;
    // The display first: it is the keypad's own figure, first in its turn.
    const wxString shown = live
        ? wxString::FromUTF8(LayOutSegments(FormatMonitorQuantity(m_pQuantities[0]->GetSelection(), m_Monitor.data(),
                                                MonitorBlockCount(m_drive.modelCode), m_drive.modelCode,
                                                m_drive.version, false))
                                 .shown)
        : wxString::FromUTF8(LoadResString(IDS_LIVE_NOT_POLLING));
    m_displayWords->Update({shown}, byUser || stateChanged);
    for (int k = 0; k < 4; ++k) {
        const int quantity = m_pQuantities[k + 1]->GetSelection();
        const wxString text = live
            ? wxString::FromUTF8(FormatMonitorQuantity(quantity, m_Monitor.data(), MonitorBlockCount(m_drive.modelCode),
                  m_drive.modelCode, m_drive.version, true))
            : wxString();
        if (m_pReadouts[k]->GetLabel() != text)
            m_pReadouts[k]->SetLabel(text);
        const wxString name = QuantityName(quantity) + " "
            + (live ? text : wxString::FromUTF8(LoadResString(IDS_LIVE_NOT_POLLING)));
        m_readoutWords[k]->Update({name}, byUser || stateChanged);
    }
    // The lamps and the direction mark are pictures: their words follow
    // the display's quantity.
    wxString description = m_pQuantities[0]->GetStringSelection();
    if (live) {
        description += (m_wStatus & 0x0002) ? "; REV" : "; FWD";
        description += m_bRunByComm ? "; run command by communication" : "; run command not by communication";
        description += m_bFreqByComm ? "; frequency command by communication"
                                     : "; frequency command not by communication";
    }
    if (GetAccessibleDescription(m_pFace) != description)
        SetAccessibleDescription(m_pFace, description);
}

void CKeyPadDlg::PressAt(int x, int y)
{
    // The knob: an ellipse in its area.
    const double rx = (kKnobRight - kKnobLeft) / 2.0;
    const double ry = (kKnobBottom - kKnobTop) / 2.0;
    const double nx = (x - (kKnobLeft + rx)) / rx;
    const double ny = (y - (kKnobTop + ry)) / ry;
    if (nx * nx + ny * ny <= 1.0) {
        m_bDrag = 1;
        m_bHighlight = 1;
        RefreshKnob();
        return;
    }
    // The keys, as their buttons do.
    for (const auto& key : kKeys) {
        if (Inside(x, key.rect.GetLeft(), key.rect.GetRight()) && Inside(y, key.rect.GetTop(), key.rect.GetBottom())) {
            wxPostEvent(this, wxCommandEvent(wxEVT_BUTTON, key.id));
            return;
        }
    }
}

void CKeyPadDlg::DragTo(int x, int y, bool leftDownOnly)
{
    m_bHighlight = 1;
    if (!(m_bDrag && leftDownOnly)) {
        m_bHighlight = 0;
        RefreshKnob();
        return;
    }
    const auto drag = DragKnob({ x, y }, m_nLowerLimit, m_nUpperLimit);
    if (!drag)
        return;
    m_Pointer = drag->pointer;
    if (drag->frequency && !m_bFirstPoll && !m_pFreqEdit->m_bSent)
        m_pFreqEdit->ChangeValue(wxString::Format("%.2f", *drag->frequency * 0.01));
    RefreshKnob();
}

// The knob from the keyboard: the arrows turn it a hundredth of its travel,
// and the next poll writes the frequency as after a release of the mouse.
void CKeyPadDlg::OnKnobKey(wxKeyEvent& event)
{
    int direction = 0;
    switch (event.GetKeyCode()) {
    case WXK_LEFT:
    case WXK_DOWN:
    case WXK_NUMPAD_LEFT:
    case WXK_NUMPAD_DOWN: direction = -1; break;
    case WXK_RIGHT:
    case WXK_UP:
    case WXK_NUMPAD_RIGHT:
    case WXK_NUMPAD_UP: direction = +1; break;
    default: event.Skip(); return;
    }
    if (m_nUpperLimit <= m_nLowerLimit || m_bFirstPoll)
        return; // no limits read yet: the knob has no travel
    const long range = m_nUpperLimit - m_nLowerLimit;
    const long step = std::max(1L, range / 100);
    const long current = std::clamp(FrequencyHundredths(FrequencyTextValue(m_pFreqEdit->GetValue().utf8_string())),
        static_cast<long>(m_nLowerLimit), static_cast<long>(m_nUpperLimit));
    const long next = std::clamp(current + direction * step, static_cast<long>(m_nLowerLimit),
        static_cast<long>(m_nUpperLimit));
    const KnobPoint point
        = KnobPointForFraction(KnobFraction(static_cast<unsigned>(next), m_nLowerLimit, m_nUpperLimit));
    if (const auto drag = DragKnob(point, m_nLowerLimit, m_nUpperLimit))
        m_Pointer = drag->pointer;
    if (!m_pFreqEdit->m_bSent)
        m_pFreqEdit->ChangeValue(wxString::Format("%.2f", next * 0.01));
    m_bDrag = 1;
    m_bHighlight = 0;
    m_bLeftDown = false;
    RefreshKnob();
}

void CKeyPadDlg::OnKey(int id)
{
    switch (id) {
    case IDC_RUN:
    case IDC_STOP:
        if (!m_bRunByComm) {
            AfxMessageBox(IDS_RUN_SOURCE);
            return;
        }
        return id == IDC_RUN ? OnRun() : OnStop();
    case IDC_UP: return OnStep(+1);
    case IDC_DOWN: return OnStep(-1);
    default: return;
    }
}

void CKeyPadDlg::OnRun()
{
    ChangeCommandWord(KeypadRunWord, IDS_WRITE_RUN);
}

void CKeyPadDlg::OnStop()
{
    ChangeCommandWord(KeypadStopWord, IDS_WRITE_STOP);
}

// RUN and STOP read the command word afresh and write it back changed, unless
// the change says there is nothing to write.
void CKeyPadDlg::ChangeCommandWord(std::optional<std::uint16_t> (*change)(std::uint16_t), unsigned failId)
{
    if (!m_exchange.IsConnected())
        return LinkGone();
    struct Result {
        LiveReply read;
        bool wrote = false;
        LiveReply write;
    };
    auto result = std::make_shared<Result>();
    const int station = m_nStation;
    m_worker.Queue(
        [result, station, change](CLiveLink& link) {
            std::uint16_t word = 0;
            result->read = link.Read(station, kRegCommandWord, 1, &word);
            if (!result->read.Ok())
                return;
            if (const auto changed = change(word)) {
                result->wrote = true;
                result->write = link.Write(station, kRegCommandWord, *changed);
            }
        },
        [this, result, failId] {
            const LiveReply& read = result->read;
            if (!read.Ok()) {
                if (read.failure == LiveFailure::NotConnected || !m_exchange.IsConnected())
                    return LinkGone();
                if (read.failure == LiveFailure::Link && read.messageId != 0) {
                    m_timer.Stop();
                    m_bDrag = 0;
                    ShowStale();
                }
                return ShowLiveMessage(read);
            }
            if (result->wrote && !result->write.Ok()) {
                if (result->write.failure == LiveFailure::NotConnected || !m_exchange.IsConnected())
                    return LinkGone();
                AfxMessageBox(failId);
            }
        });
}

void CKeyPadDlg::OnStep(int delta)
{
    const int count = MonitorQuantityCount(m_drive.modelCode);
    const int next = ((m_pQuantities[0]->GetSelection() + delta) % count + count) % count;
    m_pQuantities[0]->SetSelection(next);
    OnDisplayChoice();
}

void CKeyPadDlg::OnDisplayChoice()
{
    m_pFreqEdit->Enable(m_pQuantities[0]->GetSelection() == 0 && !m_pLinkGone->IsShown());
    UpdateReadouts(true);
    m_pFace->Refresh(false);
}

void CKeyPadDlg::OnStationChoice()
{
    m_nStation = SelectedStation(m_pStation, m_state.m_Stations);
    if (m_drive.fromProject)
        return;
    // Without a project the station's own model and version count.
    const LiveDriveInfo drive = LiveDriveInfoOf(m_state, nullptr, m_pStation->GetSelection());
    if (drive.modelCode != m_drive.modelCode || drive.version != m_drive.version) {
        m_drive = drive;
        m_bHaveMonitor = false; // a block of the other model's length
        FillQuantities();
        OnDisplayChoice();
    }
}

void CKeyPadDlg::OnFreqText()
{
    const std::string typed = m_pFreqEdit->GetValue().utf8_string();
    const std::string kept = FilterFrequencyText(m_strFreqSet.utf8_string(), typed, m_nUpperLimit * 0.01 + 0.001);
    m_strFreqSet = wxString::FromUTF8(kept);
    if (kept != typed) {
        const long insertion = std::min<long>(m_pFreqEdit->GetInsertionPoint(), static_cast<long>(kept.size()));
        m_pFreqEdit->ChangeValue(m_strFreqSet);
        m_pFreqEdit->SetInsertionPoint(insertion);
    }
}

void CKeyPadDlg::CommitFrequency(bool byEnter)
{
    if (!m_exchange.IsConnected())
        return LinkGone();
    if (!m_bFreqByComm) {
        if (byEnter)
            m_pFreqEdit->m_bSuppress = 1;
        AfxMessageBox(IDS_FREQ_SOURCE);
        return;
    }
    const double value = FrequencyTextValue(m_pFreqEdit->GetValue().utf8_string());
    if (!KeypadFrequencyInRange(value, m_nLowerLimit, m_nUpperLimit)) {
        AfxMessageBox(IDS_FREQ_RANGE);
        return;
    }
    m_pFreqEdit->m_bSent = 1;
    auto write = std::make_shared<LiveReply>();
    const int station = m_nStation;
    const auto hundredths = static_cast<std::uint16_t>(FrequencyHundredths(value) & 0xFFFF);
    m_worker.Queue([write, station, hundredths](
                       CLiveLink& link) { *write = link.Write(station, kRegFrequencyCommand, hundredths); },
        [this, write, byEnter] {
            if (write->Ok())
                return;
            if (write->failure == LiveFailure::NotConnected || !m_exchange.IsConnected())
                return LinkGone();
            if (byEnter)
                m_pFreqEdit->m_bSuppress = 1;
            const wxWeakRef<CKeyPadDlg> alive(this);
            AfxMessageBox(IDS_SET_FREQ);
            if (alive)
                m_pFreqEdit->m_bSuppress = 0;
        });
}

void CKeyPadDlg::OnPaintFace()
{
    wxAutoBufferedPaintDC dc(m_pFace);
    dc.SetBackground(wxBrush(GetBackgroundColour()));
    dc.Clear();
    dc.DrawBitmap(m_faceBitmap, 0, 0);
    // Source lamps and the direction mark: dark while nothing live is read.
    const bool live = ShowsLiveValues();
    dc.DrawBitmap(LoadResourceBitmap(live && m_bRunByComm ? kBitmapLampLit : kBitmapLampDark), 338, 78, true);
    dc.DrawBitmap(LoadResourceBitmap(live && m_bFreqByComm ? kBitmapLampLit : kBitmapLampDark), 338, 98, true);
    if (!live)
        return;
    dc.DrawBitmap(LoadResourceBitmap(kBitmapDirection), (m_wStatus & 0x0002) ? 165 : 120, 101, true);
    const SegmentLayout layout = LayOutSegments(FormatMonitorQuantity(m_pQuantities[0]->GetSelection(),
        m_Monitor.data(), MonitorBlockCount(m_drive.modelCode), m_drive.modelCode, m_drive.version, false));
    for (const SegmentDigit& digit : layout.digits)
        dc.DrawBitmap(LoadResourceBitmap(digit.bitmap), digit.x, kSegmentDigitY, true);
    if (layout.pointX >= 0)
        dc.DrawBitmap(LoadResourceBitmap(kBitmapPoint), layout.pointX, kSegmentPointY, true);
}
