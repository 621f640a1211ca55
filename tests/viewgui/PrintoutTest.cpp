// The report drawn by the real printout: into a bitmap of an A4 page, and
// through the PostScript printer context page by page.

#include "tests/viewgui/GuiExchangeTest.h"
#include "view/D390Printout.h"

#include <wx/dcmemory.h>
#include <wx/dcps.h>
#include <wx/image.h>
#include <wx/imagpng.h>

#include <cstdlib>
#include <memory>

namespace {

class PrintoutTest : public GuiExchangeTest {
protected:
    std::unique_ptr<CD390Printout> Printout()
    {
        PrintTexts texts;
        texts.m_strTitle = m_doc.m_strPrintTitle;
        texts.m_strDepartment = "Commissioning";
        texts.m_strName = "A. Tester";
        auto printout = std::make_unique<CD390Printout>(m_doc, texts);
        printout->m_clock = FixedTestTime;
        return printout;
    }
};

bool Dark(const wxImage& image, int x, int y)
{
    return image.GetRed(x, y) < 128 && image.GetGreen(x, y) < 128 && image.GetBlue(x, y) < 128;
}

bool AnyDark(const wxImage& image, int x0, int y0, int x1, int y1)
{
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x)
            if (Dark(image, x, y))
                return true;
    return false;
}

} // namespace

TEST_F(PrintoutTest, FirstPageRenderedIntoABitmapOfAnA4Sheet)
{
    // The plain table has 15 headings and 45 parameters: two pages.
    auto printout = Printout();
    // 100 pixels per inch: one tenth of a millimetre is 0.03937 pixels.
    const int width = 827, height = 1169;
    wxBitmap bitmap(width, height, 24);
    wxMemoryDC dc(bitmap);
    dc.SetBackground(*wxWHITE_BRUSH);
    dc.Clear();
    printout->SetDC(&dc);
    printout->SetPageSizePixels(width, height);
    printout->SetPageSizeMM(210, 297);
    printout->SetPPIPrinter(100, 100);
    printout->SetPPIScreen(100, 100);
    printout->SetPaperRectPixels(wxRect(0, 0, width, height));
    printout->OnPreparePrinting();
    int minPage = 0, maxPage = 0, from = 0, to = 0;
    printout->GetPageInfo(&minPage, &maxPage, &from, &to);
    EXPECT_EQ(minPage, 1);
    EXPECT_EQ(maxPage, 2);
    EXPECT_TRUE(printout->HasPage(2));
    EXPECT_FALSE(printout->HasPage(3));
    ASSERT_TRUE(printout->OnPrintPage(1));
    dc.SelectObject(wxNullBitmap);
    wxImage image = bitmap.ConvertToImage();

    auto px = [](int tenths) { return static_cast<int>(tenths * 100.0 / 254.0 + 0.5); };
    // The rule under the title runs across the page at 20 mm.
    for (int x : {px(100), px(1000), px(2000)})
        EXPECT_TRUE(AnyDark(image, x, px(200) - 2, x, px(200) + 2)) << x;
    // The band's rule at 47.3 mm.
    EXPECT_TRUE(AnyDark(image, px(1000), px(473) - 2, px(1000), px(473) + 2));
    // Nothing between the title rule and the department line but white.
    EXPECT_FALSE(AnyDark(image, 0, px(215), width - 1, px(270)));
    // The title's letters lie around its reference point at 12 mm.
    EXPECT_TRUE(AnyDark(image, px(400), px(120), px(1300), px(170)));
    // Row 0's heading at 55 mm; nothing left of its x of 5 mm.
    EXPECT_TRUE(AnyDark(image, px(50), px(550), px(400), px(580)));
    EXPECT_FALSE(AnyDark(image, 0, px(540), px(40), px(2667)));
    // The footer's time line at 2830.
    EXPECT_TRUE(AnyDark(image, px(50), px(2830), px(400), px(2860)));

    // For a look at the page: D390_KEEP_RENDERED_PAGE=/tmp/page1.png
    if (const char* keep = std::getenv("D390_KEEP_RENDERED_PAGE")) {
        wxImage::AddHandler(new wxPNGHandler);
        image.SaveFile(keep, wxBITMAP_TYPE_PNG);
    }
}

TEST_F(PrintoutTest, EveryPageThroughThePostScriptPrinterContext)
{
    // The plain table has 15 headings and 45 parameters: two pages.
    std::string path = Path("report.ps");
    wxPrintData data;
    data.SetFilename(path);
    data.SetPrintMode(wxPRINT_MODE_FILE);
    data.SetPaperId(wxPAPER_A4);
    wxPostScriptDC dc(data);
    ASSERT_TRUE(dc.IsOk());
    auto printout = Printout();
    printout->SetDC(&dc);
    wxSize pixels = dc.GetSize();
    wxSize mm = dc.GetSizeMM();
    printout->SetPageSizePixels(pixels.x, pixels.y);
    printout->SetPageSizeMM(mm.x, mm.y);
    printout->SetPPIPrinter(dc.GetPPI());
    printout->SetPPIScreen(dc.GetPPI());
    printout->SetPaperRectPixels(wxRect(pixels));
    printout->OnPreparePrinting();
    ASSERT_TRUE(dc.StartDoc("report"));
    for (int page = 1; printout->HasPage(page); ++page) {
        dc.StartPage();
        ASSERT_TRUE(printout->OnPrintPage(page));
        dc.EndPage();
    }
    dc.EndDoc();

    std::string ps = ReadFileBytes(path);
    ASSERT_FALSE(ps.empty());
    std::size_t pages = 0;
    for (std::size_t at = ps.find("%%Page: "); at != std::string::npos; at = ps.find("%%Page: ", at + 1))
        ++pages;
    EXPECT_EQ(pages, 2u);
    for (const char* text : {"(Parameter Setting List)", "(Department:Commissioning)", "(Name:A. Tester)",
                             "(Date:2026-03-07)", "(Time:09:05:03)", "(Page:)", "([Group 0])", "(00-00Param 00-00)",
                             "(14-02Param 14-02)", "(142.5)"})
        EXPECT_NE(ps.find(text), std::string::npos) << text;
}
