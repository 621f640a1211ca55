#include "view/D390Printout.h"

#include "document/D390DocData.h"
#include "platform/Accessibility.h"
#include "view/PrintItemDrawing.h"

#include <wx/dc.h>
#include <wx/print.h>

namespace {

// A page's texts as lines read from the top: the items of one line share
// their height on the page.
std::string PageWords(const std::vector<PrintItem>& items)
{
    std::string words;
    bool first = true;
    int line = 0;
    for (const PrintItem& item : items) {
        if (item.m_kind != PrintItem::Text || item.m_strText.find_first_not_of(' ') == std::string::npos)
            continue;
        if (!first)
            words += item.m_y == line ? "  " : "\n";
        words += item.m_strText;
        line = item.m_y;
        first = false;
    }
    return words;
}

std::tm LocalNow()
{
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return local;
}

// A face asked for by name falls back to the nearest installed one; the
// family keeps that fallback fixed-pitch or proportional as meant. The report
// gives a character height in its own units; a line of these fonts is about
// 1.12 character heights. The separate character width cannot be asked of
// the fonts here; the face's own proportions stand.
wxFont FontFor(wxDC& dc, PrintFont which)
{
    PrintFontChoice wanted = CPrintLayout::FontOf(which);
    wxFontInfo info(10.0);
    info.FaceName(wanted.m_pszFace)
        .Family(which == PrintFont::Label ? wxFONTFAMILY_SWISS : wxFONTFAMILY_TELETYPE)
        .Weight(wanted.m_nWeight);
    return FitFontToDevice(dc, wxFont(info), wanted.m_nHeight * 1.12);
}

} // namespace

CD390Printout::CD390Printout(const CD390DocData& doc, const PrintTexts& texts)
    : wxPrintout(wxString::FromUTF8(texts.m_strTitle.empty() ? std::string("d390") : texts.m_strTitle))
    , m_clock(LocalNow)
    , m_doc(doc)
    , m_layout(doc.m_Groups, doc.m_Defined)
    , m_texts(texts)
{
}

void CD390Printout::OnPreparePrinting()
{
    std::tm now = m_clock();
    m_texts.m_strDate = CPrintLayout::DateText(now);
    m_texts.m_strTime = CPrintLayout::TimeText(now);
}

int CD390Printout::PageHeight() const
{
    int widthMM = 0, heightMM = 0;
    GetPageSizeMM(&widthMM, &heightMM);
    // Before a device has said its size, the report's own sheet.
    return heightMM > 0 ? 10 * heightMM : CPrintLayout::kA4Height;
}

void CD390Printout::GetPageInfo(int* minPage, int* maxPage, int* selFrom, int* selTo)
{
    *minPage = 1;
    *maxPage = m_layout.PageCount(PageHeight());
    *selFrom = 1;
    *selTo = *maxPage;
}

bool CD390Printout::HasPage(int page)
{
    return page >= 1 && page <= m_layout.PageCount(PageHeight());
}

bool CD390Printout::OnPrintPage(int page)
{
    wxDC* dc = GetDC();
    if (!dc)
        return false;
    int widthMM = 0, heightMM = 0;
    GetPageSizeMM(&widthMM, &heightMM);
    if (widthMM <= 0 || heightMM <= 0)
        return false;
    const int width = 10 * widthMM;
    const int height = 10 * heightMM;
    // One logical unit becomes a tenth of a millimetre of the page, on the
    // printer and in the preview alike.
    FitThisSizeToPage(wxSize(width, height));
    const std::vector<PrintItem> items = m_layout.Page(page, width, height, m_texts);
    DrawItems(*dc, items);
    // The preview's page is a picture: a reader is given its words.
    if (wxPrintPreviewBase* preview = GetPreview(); preview && preview->GetCanvas()) {
        SetAccessibleName(preview->GetCanvas(), wxString::Format("Page %d of %d", page, m_layout.PageCount(height)));
        SetAccessibleDescription(preview->GetCanvas(), wxString::FromUTF8(PageWords(items)));
    }
    return true;
}

void CD390Printout::DrawItems(wxDC& dc, const std::vector<PrintItem>& items)
{
    PrintDrawStyle style{{FontFor(dc, PrintFont::Title), FontFor(dc, PrintFont::Label), FontFor(dc, PrintFont::Row)},
                         2, true};
    DrawPrintItems(dc, items, style);
}
