#pragma once
// The docking bar's tab control: a notebook with its tabs at the bottom that
// the bar may squeeze to its narrowest stop. GTK's notebook cannot be drawn
// smaller than its tab strip and page need (it fails a check and draws with
// negative sizes); below that the strip is left out, and the page is given
// no minimum beyond what the bar holds.

#include <wx/notebook.h>

class CCoolTabCtrl : public wxNotebook {
public:
    CCoolTabCtrl(wxWindow* parent, wxWindowID id, const wxSize& size, long style);

    // Whether the tab strip is shown at the control's present size.
    bool IsTabStripShown() const;

protected:
    void DoSetSize(int x, int y, int width, int height, int sizeFlags) override;

private:
    void FitToSize(const wxSize& size);

    // GTK's own minimum of the control with its strip, measured while the
    // strip was last shown.
    wxSize m_minWithStrip;
};
