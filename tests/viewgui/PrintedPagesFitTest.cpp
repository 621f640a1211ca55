// Printed pages on every paper and orientation: the report and the compare
// list drawn by their real printouts, each text's rectangle taken from the
// device as it was drawn. No row meets the column-heading band, the title
// block or the footer, and every row is printed once. An A4 sheet upright
// keeps its 30 and 35 report rows and its 40 compare rows a page.

#include "platform/Accessible.h"
#include "tests/common/TestPaths.h"
#include "tests/viewgui/GuiExchangeTest.h"
#include "view/CompareList.h"
#include "view/ComparePrintout.h"
#include "view/D390Printout.h"

#include <wx/app.h>
#include <wx/dcmemory.h>
#include <wx/print.h>

#include <cmath>
#include <memory>

namespace {

constexpr int kSModel = 0x11004B5; // the S family's full table: groups 00 to 14

// A sheet as the printer hands it over, in millimetres, with the printer's
// pixels an inch (the compare list is laid out in them).
struct Sheet {
    const char* name;
    wxPaperSize paper;
    wxPrintOrientation orientation;
    int widthMM;
    int heightMM;
    // Rows a page: the report's first page, its later pages, the compare list's.
    int firstRows;
    int laterRows;
    int compareRows;
};

// The report's pages keep 30 and 35 rows upright on A4; the compare list its
// 40. Lower pages take as many as end above the footer.
const Sheet kSheets[] = {
    {"A4 upright", wxPAPER_A4, wxPORTRAIT, 210, 297, 30, 35, 40},
    {"A4 turned", wxPAPER_A4, wxLANDSCAPE, 297, 210, 26, 33, 26},
    {"A5 upright", wxPAPER_A5, wxPORTRAIT, 148, 210, 26, 33, 26},
    {"A5 turned", wxPAPER_A5, wxLANDSCAPE, 210, 148, 20, 27, 17},
};

constexpr int kPrinterPpi = 300;
// The bitmap the pages are drawn on: 100 pixels an inch.
constexpr double kBitmapPpi = 100.0;

int Pixels(int mm, double ppi)
{
    return static_cast<int>(std::lround(mm * ppi / 25.4));
}

// A text or rule of a page and the rectangle it took on the device, in the
// page's logical units.
struct Drawn {
    PrintItem item;
    wxRect rect;
};

// What the printout drew on a page, item by item, each with the device's
// own bounding box of the drawing.
template <typename DrawItems>
std::vector<Drawn> Record(wxDC& dc, const std::vector<PrintItem>& items, DrawItems draw)
{
    std::vector<Drawn> drawn;
    for (const PrintItem& item : items) {
        if (item.m_kind == PrintItem::Text && item.m_strText.empty())
            continue;
        dc.ResetBoundingBox();
        draw(dc, std::vector<PrintItem>{item});
        drawn.push_back({item, wxRect(wxPoint(dc.MinX(), dc.MinY()), wxPoint(dc.MaxX(), dc.MaxY()))});
    }
    return drawn;
}

// A printout made ready for a sheet as wxPrinter does, drawing on a bitmap.
class SheetDevice {
public:
    explicit SheetDevice(const Sheet& sheet)
        : m_bitmap(Pixels(sheet.widthMM, kBitmapPpi), Pixels(sheet.heightMM, kBitmapPpi), 24), m_dc(m_bitmap)
    {
        m_dc.SetBackground(*wxWHITE_BRUSH);
        m_dc.Clear();
        m_widthPixels = Pixels(sheet.widthMM, kPrinterPpi);
        m_heightPixels = Pixels(sheet.heightMM, kPrinterPpi);
        m_sheet = sheet;
    }

    void Prepare(wxPrintout& printout)
    {
        printout.SetDC(&m_dc);
        printout.SetPageSizeMM(m_sheet.widthMM, m_sheet.heightMM);
        printout.SetPageSizePixels(m_widthPixels, m_heightPixels);
        printout.SetPPIPrinter(kPrinterPpi, kPrinterPpi);
        printout.SetPPIScreen(static_cast<int>(kBitmapPpi), static_cast<int>(kBitmapPpi));
        printout.SetPaperRectPixels(wxRect(0, 0, m_widthPixels, m_heightPixels));
        printout.OnPreparePrinting();
    }

    wxDC& DC() { return m_dc; }
    int WidthPixels() const { return m_widthPixels; }
    int HeightPixels() const { return m_heightPixels; }

private:
    Sheet m_sheet{};
    wxBitmap m_bitmap;
    wxMemoryDC m_dc;
    int m_widthPixels = 0;
    int m_heightPixels = 0;
};

std::string Describe(const Drawn& drawn)
{
    const wxRect& r = drawn.rect;
    return "\"" + drawn.item.m_strText + "\" at " + std::to_string(r.x) + "," + std::to_string(r.y) + " " +
           std::to_string(r.width) + "x" + std::to_string(r.height);
}

// No row rectangle meets another part of the page.
void ExpectApart(const std::vector<Drawn>& rows, const std::vector<Drawn>& others, const std::string& page)
{
    for (const Drawn& row : rows)
        for (const Drawn& other : others)
            EXPECT_FALSE(row.rect.Intersects(other.rect)) << page << ": row " << Describe(row) << " meets " << Describe(other);
}

class PrintedPagesFitTest : public GuiExchangeTest {
protected:
    // The S family's table of the program's own definition files, every set
    // value differing from its factory default.
    CD390DocData& FullProject()
    {
        CD390DocData& doc = NewDoc();
        doc.m_strProgramFolder = TestProgramFolder();
        doc.m_nModelCode = kSModel;
        EXPECT_TRUE(doc.BuildForCurrentModel());
        for (GroupRec& group : doc.m_Groups)
            for (ParamRec& param : group.m_Params)
                param.m_strValue = param.m_strFactory + "9";
        return doc;
    }
};

} // namespace

TEST_F(PrintedPagesFitTest, ReportRowsKeepClearOfBandTitleAndFooterOnEverySheet)
{
    CD390DocData& doc = FullProject();
    CPrintLayout layout(doc.m_Groups, doc.m_Defined);
    ASSERT_GT(layout.RowCount(), 200);
    // The rows the report holds, in order: headings and labels.
    std::vector<std::string> expected;
    for (int g = 0; g < static_cast<int>(doc.m_Groups.size()) && g < 15; ++g) {
        expected.push_back("[" + doc.m_Groups[g].m_strName + "]");
        for (int j = 0; j < static_cast<int>(doc.m_Groups[g].m_Params.size()); ++j)
            if (doc.m_Defined[g][j])
                expected.push_back(CPrintLayout::PrintedLabel(g, doc.m_Groups[g].m_Params[j].m_strLabel));
    }

    for (const Sheet& sheet : kSheets) {
        SCOPED_TRACE(sheet.name);
        SheetDevice device(sheet);
        PrintTexts texts;
        texts.m_strTitle = "Parameter Setting List";
        texts.m_strDepartment = "Commissioning";
        texts.m_strName = "A. Tester";
        CD390Printout printout(doc, texts);
        printout.m_clock = FixedTestTime;
        device.Prepare(printout);
        int minPage = 0, maxPage = 0, from = 0, to = 0;
        printout.GetPageInfo(&minPage, &maxPage, &from, &to);
        const int rows = layout.RowCount();
        const int pages = 1 + (rows - sheet.firstRows + sheet.laterRows - 1) / sheet.laterRows;
        EXPECT_EQ(maxPage, pages);
        // The preview of the paper and orientation that Print Setup chose
        // counts the same pages.
        {
            wxPrintDialogData data;
            data.GetPrintData().SetPaperId(sheet.paper);
            data.GetPrintData().SetOrientation(sheet.orientation);
            auto* previewed = new CD390Printout(doc, texts);
            previewed->m_clock = FixedTestTime;
            auto* preview = new wxPrintPreview(previewed, nullptr, &data);
            ASSERT_TRUE(preview->IsOk());
            auto* frame = new wxPreviewFrame(preview, nullptr, "Print Preview");
            frame->Initialize();
            ASSERT_TRUE(preview->RenderPage(1));
            EXPECT_EQ(preview->GetMaxPage(), pages);
            // A reader is told the pages of this sheet, not of an A4 one.
            EXPECT_EQ(GetAccessibleName(preview->GetCanvas()), wxString::Format("Page 1 of %d", pages));
            frame->Close(true);
            wxTheApp->ProcessIdle();
        }

        const int width = 10 * sheet.widthMM;
        const int height = 10 * sheet.heightMM;
        std::vector<std::string> printed;
        for (int page = 1; printout.HasPage(page); ++page) {
            const std::string where = std::string(sheet.name) + " page " + std::to_string(page);
            ASSERT_TRUE(printout.OnPrintPage(page)) << where;
            // The items the printout drew, each drawn again on its own on
            // the same device to take its rectangle.
            const std::vector<Drawn> drawn =
                Record(device.DC(), layout.Page(page, width, height, printout.Texts()), CD390Printout::DrawItems);
            std::vector<Drawn> rowTexts, band, title, footer;
            for (const Drawn& d : drawn) {
                const PrintItem& item = d.item;
                if (item.m_kind == PrintItem::Rule)
                    (item.m_y == -200 ? title : band).push_back(d);
                else if (item.m_font == PrintFont::Row)
                    rowTexts.push_back(d);
                else if (item.m_font == PrintFont::Title || item.m_y == -280)
                    title.push_back(d);
                else if (item.m_y <= 200 - height)
                    footer.push_back(d);
                else
                    band.push_back(d);
            }
            ASSERT_FALSE(rowTexts.empty()) << where;
            EXPECT_EQ(footer.size(), 4u) << where;
            ExpectApart(rowTexts, band, where + " (band)");
            ExpectApart(rowTexts, title, where + " (title)");
            ExpectApart(rowTexts, footer, where + " (footer)");
            // Every row stays on the sheet.
            for (const Drawn& row : rowTexts)
                EXPECT_LE(row.rect.GetBottom(), height) << where << ": " << Describe(row);

            int pageRows = 0;
            for (const Drawn& row : rowTexts)
                if (row.item.m_x <= 100) {
                    printed.push_back(row.item.m_strText);
                    ++pageRows;
                }
            if (printout.HasPage(page + 1)) {
                EXPECT_EQ(pageRows, page == 1 ? sheet.firstRows : sheet.laterRows) << where;
            }
        }
        EXPECT_EQ(printed, expected) << "every row once, in order";
    }
}

TEST_F(PrintedPagesFitTest, AnA4SheetUprightKeepsTheReportsOwnRowPositions)
{
    // Rows at -550 - 73k on page 1 and -300 - 69k later, 30 and 35 of them.
    CD390DocData& doc = FullProject();
    CPrintLayout layout(doc.m_Groups, doc.m_Defined);
    PrintTexts texts;
    for (int page = 1; page <= 3; ++page) {
        std::vector<int> tops;
        for (const PrintItem& item : layout.Page(page, 2100, 2970, texts))
            if (item.m_kind == PrintItem::Text && item.m_font == PrintFont::Row && item.m_x <= 100)
                tops.push_back(item.m_y);
        ASSERT_EQ(tops.size(), page == 1 ? 30u : 35u) << page;
        for (std::size_t k = 0; k < tops.size(); ++k)
            EXPECT_EQ(tops[k], page == 1 ? -550 - 73 * static_cast<int>(k) : -300 - 69 * static_cast<int>(k)) << page;
    }
    EXPECT_EQ(CPrintLayout::FirstRowOf(2, 2970), 30);
    EXPECT_EQ(CPrintLayout::FirstRowOf(3, 2970), 65);
    EXPECT_EQ(CPrintLayout::PageCountOf(100, 2970), 3);
}

TEST_F(PrintedPagesFitTest, CompareRowsKeepClearOfHeadingsAndFooterOnEverySheet)
{
    CD390DocData& doc = FullProject();
    CCompareList list;
    std::vector<GroupRec> store;
    list.FillDiffList(doc, kCompareDefaultWithSet, store);
    ASSERT_GT(list.m_Rows.size(), 200u);

    for (const Sheet& sheet : kSheets) {
        SCOPED_TRACE(sheet.name);
        SheetDevice device(sheet);
        CComparePrintout printout(list, store);
        device.Prepare(printout);
        int minPage = 0, maxPage = 0, from = 0, to = 0;
        printout.GetPageInfo(&minPage, &maxPage, &from, &to);
        const int rows = static_cast<int>(list.m_Rows.size());
        EXPECT_EQ(maxPage, (rows + sheet.compareRows - 1) / sheet.compareRows);

        const int height = device.HeightPixels();
        std::vector<std::string> printed;
        for (int page = 1; printout.HasPage(page); ++page) {
            const std::string where = std::string(sheet.name) + " page " + std::to_string(page);
            ASSERT_TRUE(printout.OnPrintPage(page)) << where;
            const std::vector<Drawn> drawn =
                Record(device.DC(), list.Page(page, device.WidthPixels(), height), CComparePrintout::DrawItems);
            std::vector<Drawn> rowTexts, headings, footer;
            for (const Drawn& d : drawn) {
                const PrintItem& item = d.item;
                if (item.m_kind == PrintItem::Rule || item.m_font != PrintFont::Row)
                    headings.push_back(d);
                else if (item.m_y == height - 160)
                    footer.push_back(d);
                else
                    rowTexts.push_back(d);
            }
            ASSERT_FALSE(rowTexts.empty()) << where;
            ASSERT_EQ(footer.size(), 1u) << where;
            ExpectApart(rowTexts, headings, where + " (headings)");
            ExpectApart(rowTexts, footer, where + " (footer)");

            int pageRows = 0;
            for (const Drawn& row : rowTexts)
                if (row.item.m_x == 160) {
                    printed.push_back(row.item.m_strText);
                    ++pageRows;
                }
            if (printout.HasPage(page + 1)) {
                EXPECT_EQ(pageRows, sheet.compareRows) << where;
            }
        }
        std::vector<std::string> expected;
        for (const CompareRow& row : list.m_Rows)
            expected.push_back(row.m_strCode + " " + row.m_strName);
        EXPECT_EQ(printed, expected) << "every row once, in order";
    }
}
