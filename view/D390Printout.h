#pragma once
// The parameter report as a wxPrintout: the layout is computed without a
// window (CPrintLayout); this only maps its tenths of a millimetre onto the
// printer's or the preview's device and draws the items.

#include "view/PrintLayout.h"

#include <wx/print.h>

#include <functional>

class CD390DocData;

class CD390Printout : public wxPrintout {
public:
    // title, department and name are the view's; date and time are fixed when
    // the job is prepared.
    CD390Printout(const CD390DocData& doc, const PrintTexts& texts);

    // The local time the footer shows; tests fix it.
    std::function<std::tm()> m_clock;

    void OnPreparePrinting() override;
    void GetPageInfo(int* minPage, int* maxPage, int* selFrom, int* selTo) override;
    bool HasPage(int page) override;
    bool OnPrintPage(int page) override;

    const PrintTexts& Texts() const { return m_texts; }

    // Draws the items of a page onto dc, whose user scale already makes one
    // logical unit a tenth of a millimetre from the printable area's corner.
    static void DrawItems(wxDC& dc, const std::vector<PrintItem>& items);

private:
    // The printable height in tenths of a millimetre: the rows a page takes
    // follow it.
    int PageHeight() const;

    const CD390DocData& m_doc;
    CPrintLayout m_layout;
    PrintTexts m_texts;
};
