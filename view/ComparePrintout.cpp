#include "view/ComparePrintout.h"

#include "view/PrintItemDrawing.h"

#include <wx/dc.h>

namespace {

// The list gives character heights in device pixels.
wxFont FontFor(wxDC& dc, PrintFont which)
{
    PrintFontChoice wanted = CCompareList::FontOf(which);
    wxFont font(wxFontInfo(10.0).FaceName(wanted.m_pszFace).Family(wxFONTFAMILY_SWISS).Weight(wanted.m_nWeight));
    return FitFontToDevice(dc, font, wanted.m_nHeight);
}

} // namespace

CComparePrintout::CComparePrintout(const CCompareList& list, const std::vector<GroupRec>& store)
    : wxPrintout("pdoc"), m_list(list), m_store(store)
{
}

int CComparePrintout::PageCount() const
{
    int width = 0, height = 0;
    GetPageSizePixels(&width, &height);
    // Before a device has said its size: the pages of a sheet that takes 40 rows.
    return height > 0 ? CCompareList::PageCountOf(m_store, height) : CCompareList::PageCountOf(m_store);
}

void CComparePrintout::GetPageInfo(int* minPage, int* maxPage, int* selFrom, int* selTo)
{
    *minPage = 1;
    *maxPage = PageCount();
    *selFrom = 1;
    *selTo = *maxPage;
}

bool CComparePrintout::HasPage(int page)
{
    return page >= 1 && page <= PageCount();
}

bool CComparePrintout::OnPrintPage(int page)
{
    wxDC* dc = GetDC();
    if (!dc)
        return false;
    int width = 0, height = 0;
    GetPageSizePixels(&width, &height);
    if (width <= 0 || height <= 0)
        return false;
    // One logical unit is a pixel of the printer's page, on the printer and
    // in a preview alike.
    FitThisSizeToPage(wxSize(width, height));
    DrawItems(*dc, m_list.Page(page, width, height));
    return true;
}

void CComparePrintout::DrawItems(wxDC& dc, const std::vector<PrintItem>& items)
{
    PrintDrawStyle style{{FontFor(dc, PrintFont::Title), FontFor(dc, PrintFont::Label), FontFor(dc, PrintFont::Row)},
                         1, false};
    DrawPrintItems(dc, items, style);
}
