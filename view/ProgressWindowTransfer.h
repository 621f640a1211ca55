#pragma once
// The frame's progress window as a whole-drive transfer (Read, Write,
// Compare's read) drives it.

#include "session/ReadWriteAll.h"

class wxWindow;
class CProgressDlg;

class CProgressWindowTransfer : public TransferProgress {
public:
    // The window shows over placeOver: a third in from its left, a fifth up
    // from its bottom.
    CProgressWindowTransfer(wxWindow* placeOver, CProgressDlg* dialog);

    bool IsShown() const override;
    void ShowWithHeading(const std::string& heading) override;
    void SetRange(int high) override;
    void SetPosition(int position) override;
    void SetText(const std::string& text) override;
    void Hide() override;

private:
    wxWindow* m_pPlaceOver;
    CProgressDlg* m_pDialog;
};
