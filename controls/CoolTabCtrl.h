#pragma once
// The docking bar's tab control: a notebook with its tabs at the bottom that
// the bar may squeeze to its narrowest and lowest stops. GTK's notebook
// cannot be given less than its tab strip and page need (it fails a check
// and draws with negative sizes): below that the strip is left out, and
// below what the page needs even without the strip the page's scroll bars
// are left out too (a tree a few pixels wide cannot use them) and the page
// asks for no minimum of its own.

#include <wx/notebook.h>

#include <gtk/gtk.h>

#include <map>

class CCoolTabCtrl : public wxNotebook {
public:
    CCoolTabCtrl(wxWindow* parent, wxWindowID id, const wxSize& size, long style);

    // Whether the tab strip is shown at the control's present size.
    bool IsTabStripShown() const;
    // Whether the pages keep their scroll bars at the present size.
    bool PagesKeepScrollBars() const;

protected:
    void DoSetSize(int x, int y, int width, int height, int sizeFlags) override;

private:
    void FitToSize(const wxSize& size);
    void KeepPageScrollBars(bool keep);

    // GTK's own minimum of the control with its strip, measured while the
    // strip was last shown.
    wxSize m_minWithStrip;
    // What a page had before its scroll bars were left out: their policies
    // and the minimum wx asked for it.
    struct Kept {
        GtkPolicyType horizontal = GTK_POLICY_AUTOMATIC;
        GtkPolicyType vertical = GTK_POLICY_AUTOMATIC;
        wxSize request;
    };
    std::map<wxWindow*, Kept> m_squeezedPages;
    bool m_squeezed = false;
};
