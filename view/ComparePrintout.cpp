#include "view/ComparePrintout.h"

#include <wx/dc.h>

namespace {

// The list gives character heights in device pixels; a point size means
// different things on a printer, a preview and a bitmap, so the size is
// measured on the device itself.
wxFont FontFor(wxDC& dc, PrintFont which)
{
    PrintFontSpec spec = CCompareList::FontOf(which);
    wxFont font(wxFontInfo(10.0).FaceName(spec.m_pszFace).Family(wxFONTFAMILY_SWISS).Weight(spec.m_nWeight));
    dc.SetFont(font);
    wxCoord width = 0, height = 0;
    dc.GetTextExtent("Hg", &width, &height);
    if (height > 0)
        font.SetFractionalPointSize(10.0 * spec.m_nHeight / height);
    return font;
}

} // namespace

CComparePrintout::CComparePrintout(const CCompareList& list, const std::vector<GroupRec>& store)
    : wxPrintout("pdoc"), m_list(list), m_store(store)
{
}

void CComparePrintout::GetPageInfo(int* minPage, int* maxPage, int* selFrom, int* selTo)
{
    *minPage = 1;
    *maxPage = CCompareList::PageCountOf(m_store);
    *selFrom = 1;
    *selTo = *maxPage;
}

bool CComparePrintout::HasPage(int page)
{
    return page >= 1 && page <= CCompareList::PageCountOf(m_store);
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
    wxFont fonts[3] = {FontFor(dc, PrintFont::Title), FontFor(dc, PrintFont::Label), FontFor(dc, PrintFont::Row)};
    dc.SetPen(wxPen(*wxBLACK, 1));
    dc.SetTextForeground(*wxBLACK);
    dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
    for (const PrintItem& item : items) {
        if (item.m_kind == PrintItem::Rule) {
            dc.DrawLine(item.m_x, item.m_y, item.m_x2, item.m_y2);
            continue;
        }
        if (item.m_strText.empty())
            continue;
        dc.SetFont(fonts[static_cast<int>(item.m_font)]);
        wxString text = wxString::FromUTF8(item.m_strText);
        int x = item.m_x;
        if (item.m_bCentered)
            x -= dc.GetTextExtent(text).x / 2;
        dc.DrawText(text, x, item.m_y);
    }
}
