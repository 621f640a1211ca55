#include "monitor/KeyPadDlg.h"

#include "monitor/CommandWords.h"
#include "monitor/FreqEdit.h"
#include "monitor/FrequencyText.h"
#include "monitor/LiveWindowSupport.h"
#include "monitor/MonitorQuantities.h"
#include "monitor/SegmentDisplay.h"
#include "platform/Accessible.h"
#include "platform/MessageBox.h"
#include "platform/ResourceBitmap.h"
#include "platform/ResourceModule.h"
#include "res/StringIds.h"
#include "session/DriveSession.h"

#include <wx/choice.h>
#include <wx/dcbuffer.h>
#include <wx/panel.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/utils.h>

namespace {

constexpr unsigned kBitmapFace = 155;
constexpr unsigned kBitmapDirection = 170;
constexpr unsigned kBitmapLampDark = 190;
constexpr unsigned kBitmapLampLit = 191;

constexpr int kFaceWidth = 380; // the 300 x 400 face and the two source lamps beside it
constexpr int kFaceHeight = 400;

wxString QuantityText(int index)
{
    const MonitorQuantity& q = GetMonitorQuantity(index);
    if (q.itemText)
        return q.itemText;
    return wxString::Format("%d: ", index + 1) + wxString::FromUTF8(LoadResString(q.nameId));
}

bool Inside(int v, int low, int high)
{
    return v >= low && v <= high;
}

} // namespace

CKeyPadDlg::CKeyPadDlg(wxWindow* parent, CDriveSession& state, LiveDriveInfo drive)
    : wxDialog(parent, IDD, "KeyPad")
    , m_state(state)
    , m_exchange(state)
    , m_drive(drive)
    , m_timer(this, 1)
{
    m_pFace = new wxPanel(this, wxID_ANY, wxDefaultPosition, wxSize(kFaceWidth, kFaceHeight));
    m_pFace->SetBackgroundStyle(wxBG_STYLE_PAINT);
    m_pFace->SetMinSize(wxSize(kFaceWidth, kFaceHeight));

    const int count = MonitorQuantityCount(m_drive.modelCode);
    for (int k = 0; k < 5; ++k) {
        // Entry 0 is the display (combo 1025); 1..4 are read-outs 1085..1088 (combos 1026..1029).
        const int id = k == 0 ? IDC_DISPLAY : IDC_MONITOR4 + (k - 1);
        m_pQuantities[k] = new wxChoice(this, id);
        for (int i = 0; i < count; ++i)
            m_pQuantities[k]->Append(QuantityText(i));
        m_pQuantities[k]->SetSelection(k);
    }
    for (int k = 0; k < 4; ++k) {
        m_pReadouts[k] = new wxStaticText(this, IDC_READOUT1 + k, "", wxDefaultPosition, wxSize(130, -1),
            wxST_NO_AUTORESIZE);
    }
    m_pFreqEdit = new CFreqEdit(this, IDC_FREQ_SET, [this](bool byEnter) { CommitFrequency(byEnter); });
    m_pStation = CreateStationChoice(this, IDC_STATION, m_state.m_Stations, 0);
    m_nStation = SelectedStation(m_pStation, m_state.m_Stations);
    m_pLinkGone = CreateLinkGoneLine(this);

    auto* side = new wxFlexGridSizer(2, 6, 8);
    side->Add(new wxStaticText(this, wxID_ANY, wxString::FromUTF8(LoadResString(IDS_STATION_NUM_LABEL))), 0, wxALIGN_CENTER_VERTICAL);
    side->Add(m_pStation, 0, wxEXPAND);
    side->Add(new wxStaticText(this, wxID_ANY, "Display"), 0, wxALIGN_CENTER_VERTICAL);
    side->Add(m_pQuantities[0], 0, wxEXPAND);
    for (int k = 0; k < 4; ++k) {
        side->Add(m_pQuantities[k + 1], 0, wxEXPAND);
        side->Add(m_pReadouts[k], 0, wxALIGN_CENTER_VERTICAL);
    }
    side->Add(new wxStaticText(this, wxID_ANY, "FREQ.SET"), 0, wxALIGN_CENTER_VERTICAL);
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
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnRun(); }, IDC_RUN);
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnStop(); }, IDC_STOP);
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnStep(+1); }, IDC_UP);
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnStep(-1); }, IDC_DOWN);
    Bind(wxEVT_CHOICE, [this](wxCommandEvent&) { OnDisplayChoice(); }, IDC_DISPLAY);
    for (int id = IDC_MONITOR4; id <= IDC_MONITOR1; ++id)
        Bind(wxEVT_CHOICE, [this](wxCommandEvent&) { UpdateReadouts(); }, id);
    Bind(wxEVT_CHOICE, [this](wxCommandEvent&) { m_nStation = SelectedStation(m_pStation, m_state.m_Stations); },
        IDC_STATION);
    m_pFreqEdit->Bind(wxEVT_TEXT, [this](wxCommandEvent&) { OnFreqText(); });

    if (m_exchange.IsConnected())
        m_timer.Start(100);
    else
        LinkGone();
}

CKeyPadDlg::~CKeyPadDlg()
{
    m_timer.Stop();
}

void CKeyPadDlg::LinkGone()
{
    m_timer.Stop();
    m_bDrag = 0;
    m_pFreqEdit->Disable();
    if (!m_pLinkGone->IsShown()) {
        m_pLinkGone->Show();
        Layout();
    }
}

bool CKeyPadDlg::TickFailed(const LiveReply& reply)
{
    if (reply.Ok())
        return false;
    if (reply.failure == LiveFailure::NotConnected) {
        LinkGone();
    } else if (reply.messageId != 0) {
        m_timer.Stop();
        ShowLiveMessage(reply);
    }
    return true;
}

void CKeyPadDlg::OnTimer()
{
    if (m_inTick)
        return;
    m_inTick = true;
    struct Leave {
        bool& flag;
        ~Leave() { flag = false; }
    } leave { m_inTick };

    if (!m_exchange.IsConnected()) {
        LinkGone();
        return;
    }
    // 1. The knob was let go: its frequency goes to the drive.
    // A release outside the face reaches no handler of ours: ask the mouse too.
    if (m_bDrag && !(m_bLeftDown && wxGetMouseState().LeftIsDown())) {
        m_bDrag = 0;
        RefreshKnob();
        if (!m_bFreqByComm) {
            AfxMessageBox(IDS_FREQ_SOURCE);
            return;
        }
        const long value = FrequencyHundredths(FrequencyTextValue(m_pFreqEdit->GetValue().utf8_string()));
        if (TickFailed(m_exchange.Write(m_nStation, kRegFrequencyCommand, static_cast<std::uint16_t>(value & 0xFFFF))))
            return;
    }
    // 2 to 5: status word, command sources, limits, monitor block.
    std::uint16_t words[16] = {};
    if (TickFailed(m_exchange.Read(m_nStation, kRegStatusWord, 1, words)))
        return;
    m_wStatus = words[0];
    if (TickFailed(m_exchange.Read(m_nStation, kRegCommandSources, 5, words)))
        return;
    m_nRunSource = words[0];
    m_nFreqSource = words[3];
    m_bRunByComm = m_nRunSource == 2;
    m_bFreqByComm = m_nFreqSource == 5;
    if (TickFailed(m_exchange.Read(m_nStation, kRegFrequencyLimits, 2, words)))
        return;
    m_nUpperLimit = words[0];
    m_nLowerLimit = words[1];
    const int count = MonitorBlockCount(m_drive.modelCode);
    if (TickFailed(m_exchange.Read(m_nStation, kMonitorBlockFirst, static_cast<std::uint16_t>(count), words)))
        return;
    std::copy(words, words + count, m_Monitor.begin());
    m_bHaveMonitor = true;
    UpdateReadouts();
    // 6. The pointer follows the drive's set frequency after the first poll and after an entry.
    if (m_bFirstPoll || m_pFreqEdit->m_bSent)
        PlaceKnob();
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
    m_pFace->RefreshRect(wxRect(wxPoint(kKnobLeft, kKnobTop), wxPoint(kKnobRight, kKnobBottom)), false);
}

void CKeyPadDlg::UpdateReadouts()
{
    if (!m_bHaveMonitor)
        return;
    for (int k = 0; k < 4; ++k) {
        const wxString text = wxString::FromUTF8(FormatMonitorQuantity(m_pQuantities[k + 1]->GetSelection(),
            m_Monitor.data(), MonitorBlockCount(m_drive.modelCode), m_drive.modelCode, m_drive.version, true));
        if (m_pReadouts[k]->GetLabel() != text)
            m_pReadouts[k]->SetLabel(text);
    }
    const std::string shown = FormatMonitorQuantity(m_pQuantities[0]->GetSelection(), m_Monitor.data(),
        MonitorBlockCount(m_drive.modelCode), m_drive.modelCode, m_drive.version, false);
    SetAccessibleText(m_pFace, wxString::FromUTF8(LayOutSegments(shown).shown),
        m_pQuantities[0]->GetStringSelection());
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
    if (Inside(y, 253, 295) && (Inside(x, 43, 110) || Inside(x, 112, 179))) {
        if (!m_bRunByComm) {
            AfxMessageBox(IDS_RUN_SOURCE);
            return;
        }
        wxCommandEvent click(wxEVT_BUTTON, Inside(x, 43, 110) ? IDC_RUN : IDC_STOP);
        wxPostEvent(this, click);
        return;
    }
    if (Inside(x, 43, 110) && Inside(y, 137, 179))
        wxPostEvent(this, wxCommandEvent(wxEVT_BUTTON, IDC_UP));
    else if (Inside(x, 43, 110) && Inside(y, 195, 237))
        wxPostEvent(this, wxCommandEvent(wxEVT_BUTTON, IDC_DOWN));
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
    std::uint16_t word = 0;
    const LiveReply read = m_exchange.Read(m_nStation, kRegCommandWord, 1, &word);
    if (!read.Ok()) {
        if (read.failure == LiveFailure::NotConnected)
            return LinkGone();
        if (read.failure == LiveFailure::Link && read.messageId != 0) {
            m_timer.Stop();
            m_bDrag = 0;
        }
        return ShowLiveMessage(read);
    }
    if (const auto changed = change(word)) {
        const LiveReply write = m_exchange.Write(m_nStation, kRegCommandWord, *changed);
        if (write.failure == LiveFailure::NotConnected)
            return LinkGone();
        if (!write.Ok())
            AfxMessageBox(failId);
    }
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
    UpdateReadouts();
    m_pFace->Refresh(false);
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
    const LiveReply write
        = m_exchange.Write(m_nStation, kRegFrequencyCommand, static_cast<std::uint16_t>(FrequencyHundredths(value) & 0xFFFF));
    if (write.failure == LiveFailure::NotConnected)
        return LinkGone();
    if (!write.Ok()) {
        if (byEnter)
            m_pFreqEdit->m_bSuppress = 1;
        AfxMessageBox(IDS_SET_FREQ);
        m_pFreqEdit->m_bSuppress = 0;
    }
}

void CKeyPadDlg::OnPaintFace()
{
    wxAutoBufferedPaintDC dc(m_pFace);
    dc.SetBackground(wxBrush(m_pFace->GetBackgroundColour()));
    dc.Clear();
    const wxBitmap& face = LoadResourceBitmap(kBitmapFace);
    if (face.IsOk()) {
        wxImage image = face.ConvertToImage();
        if (image.GetWidth() != 300 || image.GetHeight() != 400)
            image.Rescale(300, 400);
        dc.DrawBitmap(wxBitmap(image), 0, 0);
    }
    // The pointer.
    const bool dark = m_bDrag && m_bHighlight;
    const wxColour colour = dark ? *wxBLACK : wxColour(255, 0, 0);
    dc.SetPen(wxPen(colour, 1));
    dc.SetBrush(wxBrush(colour));
    wxPoint points[3];
    for (int i = 0; i < 3; ++i)
        points[i] = wxPoint(m_Pointer[i].x, m_Pointer[i].y);
    dc.DrawPolygon(3, points);
    // Source lamps and the direction mark.
    dc.DrawBitmap(LoadResourceBitmap(m_bRunByComm ? kBitmapLampLit : kBitmapLampDark), 338, 78, true);
    dc.DrawBitmap(LoadResourceBitmap(m_bFreqByComm ? kBitmapLampLit : kBitmapLampDark), 338, 98, true);
    dc.DrawBitmap(LoadResourceBitmap(kBitmapDirection), (m_wStatus & 0x0002) ? 165 : 120, 101, true);
    if (!m_bHaveMonitor)
        return;
    const SegmentLayout layout = LayOutSegments(FormatMonitorQuantity(m_pQuantities[0]->GetSelection(),
        m_Monitor.data(), MonitorBlockCount(m_drive.modelCode), m_drive.modelCode, m_drive.version, false));
    for (const SegmentDigit& digit : layout.digits)
        dc.DrawBitmap(LoadResourceBitmap(digit.bitmap), digit.x, kSegmentDigitY, true);
    if (layout.pointX >= 0)
        dc.DrawBitmap(LoadResourceBitmap(kBitmapPoint), layout.pointX, kSegmentPointY, true);
}
