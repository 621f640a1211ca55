#pragma once
// Command Compare of the project view: the mode, for the read values a read
// of the drive, then the compare window, made once and rebuilt each time.

#include <wx/event.h>
#include <wx/weakref.h>

class CCompareDlg;
class CD390View;
class wxShowEvent;
class wxWindow;

class CCompareCommand : public wxEvtHandler {
public:
    explicit CCompareCommand(CD390View& view);
    ~CCompareCommand() override;

    // Command 32821.
    void OnCompare();

    // The window of the last Compare (nullptr before the first).
    CCompareDlg* GetDialog() const { return m_pDialog; }

private:
    void OnCompareCommand(wxCommandEvent&) { OnCompare(); }
    // Reads every group of the chosen station into the project's read
    // values. False when cancelled or failed (reported).
    bool ReadDrive();

    // The window closed: the focus goes back where Compare was asked for.
    void OnDialogShown(wxShowEvent& event);

    CD390View& m_view;
    CCompareDlg* m_pDialog = nullptr; // a child of the project window
    wxWeakRef<wxWindow> m_pReturnFocus;
};
