#pragma once
// The printed parameter report laid out without a window: which rows fall on
// which page and where every text and rule of a page goes. Positions are in
// tenths of a millimetre of the printable area, x to the right and y upward
// from its top-left corner (so every y on the page is negative), the metric
// mapping the report was designed in. The printout only draws the items.

#include "document/GroupRec.h"

#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

enum class PrintFont { Title, Label, Row };

// A font as the report asks for it, in the page's units.
struct PrintFontChoice {
    const char* m_pszFace;
    int m_nHeight; // character height
    int m_nWidth;  // average character width
    int m_nWeight; // 400 regular, 700 bold
};

struct PrintItem {
    enum Kind { Text, Rule };
    Kind m_kind = Text;
    PrintFont m_font = PrintFont::Row;
    bool m_bCentered = false; // the reference point is the text's top centre, else its top left
    int m_x = 0;
    int m_y = 0;
    int m_x2 = 0; // end of a rule
    int m_y2 = 0;
    std::string m_strText;
};

// The texts of the title block and the footer of one print job.
struct PrintTexts {
    std::string m_strTitle;
    std::string m_strDepartment;
    std::string m_strName;
    std::string m_strDate;
    std::string m_strTime;
};

class CPrintLayout {
public:
    // Groups beyond the fifteenth are not printed; flags index [group][item].
    CPrintLayout(const std::vector<GroupRec>& groups, const uint32_t (&defined)[15][100]);

    // The report's own page: an A4 sheet upright, 2970 tenths of a
    // millimetre high. Its pages carry 30 rows, then 35 each.
    static constexpr int kA4Height = 2970;

    // Rows of the whole report: per group its heading and its defined parameters.
    int RowCount() const { return m_nRows; }
    int PageCount(int height = kA4Height) const { return PageCountOf(m_nRows, height); }

    // Which rows fall on which page of a printable area of the given height.
    // A page as high as the report's own or higher carries its 30 and 35
    // rows; a lower one (another paper, or the sheet turned) carries as many
    // as end above the footer, so that no row meets it.
    static int RowsOnPage(int page, int height = kA4Height);
    static int PageCountOf(int rows, int height = kA4Height);
    static int FirstRowOf(int page, int height = kA4Height);
    static int LastRowOf(int page, int height = kA4Height);
    // Distance between two rows on a page of the given height.
    static int RowPitch(int page, int height);
    static PrintFontChoice FontOf(PrintFont font);

    // Everything page p (from 1) of a printable area width x height shows, in
    // drawing order: title block, rows, column-heading band, footer.
    std::vector<PrintItem> Page(int page, int width, int height, const PrintTexts& texts) const;

    // Footer texts from the local time the job was prepared at, after the
    // string table's labels (or the labels given).
    static std::string DateText(const std::tm& now);
    static std::string TimeText(const std::tm& now);
    static std::string DateText(const std::tm& now, const std::string& label);
    static std::string TimeText(const std::tm& now, const std::string& label);
    // The label as group 10 prints it: the long text of 10-15 loses the
    // characters at 73 to 79.
    static std::string PrintedLabel(int group, const std::string& label);

private:
    const std::vector<GroupRec>& m_Groups;
    const uint32_t (&m_Defined)[15][100];
    int m_nRows = 0;
};
