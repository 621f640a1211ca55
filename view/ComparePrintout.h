#pragma once
// The compare list as a wxPrintout: the pages of CCompareList, drawn in the
// device's own pixels as the list was designed for a printer.

#include "view/CompareList.h"

#include <wx/print.h>

class CComparePrintout : public wxPrintout {
public:
    // The list and the store stay the compare window's; they must outlive the job.
    CComparePrintout(const CCompareList& list, const std::vector<GroupRec>& store);

    void GetPageInfo(int* minPage, int* maxPage, int* selFrom, int* selTo) override;
    bool HasPage(int page) override;
    bool OnPrintPage(int page) override;

    // Draws items (device units, y downward) onto dc.
    static void DrawItems(wxDC& dc, const std::vector<PrintItem>& items);

private:
    // The pages on the device's page height: its rows per page follow it.
    int PageCount() const;

    const CCompareList& m_list;
    const std::vector<GroupRec>& m_store;
};
