#pragma once
// "KeyPad": the virtual keypad of one drive station. A pictured panel face
// with its segment display, speed knob and keys; four monitor read-outs; the
// "FREQ.SET" entry. It polls the station every 100 ms and writes the command
// word and the frequency command. Its exchanges run on a worker
// (CLiveWorker); the window takes their results in.

#include "monitor/KeypadKnob.h"
#include "monitor/LiveDriveInfo.h"
#include "monitor/LiveExchange.h"
#include "monitor/LiveWorker.h"
#include "platform/AccessibleTextThrottle.h"

#include <wx/bitmap.h>
#include <wx/dialog.h>
#include <wx/timer.h>

#include <array>
#include <cstdint>
#include <memory>
#include <optional>

class CFreqEdit;
class CDriveSession;
class CKeypadFace;
class wxBitmapButton;
class wxChoice;
class wxStaticText;
class wxWindow;

class CKeyPadDlg : public wxDialog {
public:
    enum { IDD = 146 };
    enum {
        IDC_RUN = 1005, IDC_UP = 1006, IDC_STOP = 1007, IDC_DOWN = 1008,
        IDC_DISPLAY = 1025, IDC_MONITOR4 = 1026, IDC_MONITOR3 = 1027, IDC_MONITOR2 = 1028, IDC_MONITOR1 = 1029,
        IDC_STATION = 1074, IDC_FREQ_SET = 1084, IDC_READOUT1 = 1085,
    };

    CKeyPadDlg(wxWindow* parent, CDriveSession& state, LiveDriveInfo drive);
    ~CKeyPadDlg() override;

    // Hidden (every road of closing hides it first): polling ends at once.
    bool Show(bool show = true) override;

    // Window-side state that tests look at.
    bool IsPolling() const { return m_timer.IsRunning(); }
    // An exchange runs or waits to be taken in.
    bool IsExchanging() const { return m_worker.IsBusy(); }
    wxWindow* GetFace() const;
    CFreqEdit* GetFreqEdit() const { return m_pFreqEdit; }
    wxStaticText* GetReadout(int k) const { return m_pReadouts[k]; }
    wxChoice* GetQuantityChoice(int k) const { return m_pQuantities[k]; } // 0 the display, 1..4 the read-outs
    wxChoice* GetStationChoice() const { return m_pStation; }
    wxBitmapButton* GetKey(int id) const;
    wxBitmapButton* GetKnob() const { return m_pKnob; }
    const KnobPolygon& GetPointer() const { return m_Pointer; }
    const LiveDriveInfo& GetDriveInfo() const { return m_drive; }
    // Lamps and read-outs show live values (false before the first read and
    // after polling stopped for a failure).
    bool ShowsLiveValues() const { return m_bHaveMonitor && !m_bStale; }
    // One tick as the timer makes it: its exchanges go to the worker.
    void Tick() { OnTimer(); }
    // One tick, its exchanges waited for and taken in.
    void Poll();
    // Waits for the exchanges queued so far and takes them in.
    void Settle() { m_worker.WaitUntilIdle(); }

    // The face's mouse handling, by client point of the face.
    void PressAt(int x, int y);
    void DragTo(int x, int y, bool leftDownOnly);
    void ReleaseDrag() { m_bLeftDown = false; }

private:
    struct TickResult;

    void OnTimer();
    void ApplyTick(const TickResult& tick);
    void OnKey(int id);
    void OnRun();
    void OnStop();
    void ChangeCommandWord(std::optional<std::uint16_t> (*change)(std::uint16_t), unsigned failId);
    void OnStep(int delta);
    void OnDisplayChoice();
    void OnStationChoice();
    void OnFreqText();
    void CommitFrequency(bool byEnter);
    void OnPaintFace();
    void OnKnobKey(wxKeyEvent& event);
    void PlaceKnob();
    void RefreshKnob();
    // byUser: the user chose what is shown, and a reader is told at once.
    void UpdateReadouts(bool byUser = false);
    void FillQuantities();
    void CreateKeys();
    void LinkGone();
    // Polling stopped for a failure: nothing read before stays on show.
    void ShowStale();
    // The tick's handling of a failed exchange: stops the timer before a message.
    bool TickFailed(const LiveReply& reply);

    CDriveSession& m_state;
    CLiveExchange m_exchange;
    CLiveWorker m_worker;
    LiveDriveInfo m_drive;
    wxTimer m_timer;

    int m_bHighlight = 0;
    int m_bDrag = 0;
    bool m_bLeftDown = false; // the left button as the face last saw it
    KnobPolygon m_Pointer = kKnobPointerAtStart;
    int m_bFirstPoll = 1;
    bool m_bHaveMonitor = false;
    bool m_bStale = false;
    std::array<std::uint16_t, 16> m_Monitor {};
    int m_nStation = 1;
    std::uint16_t m_nLowerLimit = 0;
    std::uint16_t m_nUpperLimit = 0;
    std::uint16_t m_nFreqSource = 0;
    std::uint16_t m_nRunSource = 0;
    std::uint16_t m_wStatus = 0;
    int m_bFreqByComm = 0;
    int m_bRunByComm = 0;
    wxString m_strFreqSet = "0.00";

    wxBitmap m_faceBitmap; // picture 155 at the face's size
    CKeypadFace* m_pFace = nullptr; // its accessible name is the segment display's value
    wxBitmapButton* m_pKeys[4] {}; // RUN, UP, STOP, DOWN (ids 1005 to 1008)
    wxBitmapButton* m_pKnob = nullptr;
    wxChoice* m_pQuantities[5] {};
    wxStaticText* m_pReadouts[4] {};
    // What a reader is told of the read-outs and the display while they move.
    std::unique_ptr<CAccessibleTextThrottle> m_readoutWords[4];
    std::unique_ptr<CAccessibleTextThrottle> m_displayWords;
    bool m_bReadoutsLive = false; // as the reader was last told
    CFreqEdit* m_pFreqEdit = nullptr;
    wxChoice* m_pStation = nullptr;
    wxStaticText* m_pLinkGone = nullptr;
};
