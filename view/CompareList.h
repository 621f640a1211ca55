#pragma once
// Compare without the window: which parameters of a project differ between
// two of their value texts, the rows the compare window lists, the result
// store that Save and Print read, the tab-separated text and the printed pages.

#include "document/GroupRec.h"
#include "link/ParamGroupTables.h"
#include "view/PrintLayout.h"

#include <string>
#include <vector>

class CD390DocData;

// The pair of values a comparison looks at, numbered as the mode dialog's
// radio buttons.
enum CompareMode : int {
    kCompareDefaultWithSet = 0,
    kCompareDefaultWithRead = 1,
    kCompareSetWithRead = 2,
};

// One row of the compare window.
struct CompareRow {
    std::string m_strCode;  // GG-NN
    std::string m_strName;  // the label from its seventh character on
    std::string m_strA;
    std::string m_strB;
};

class CCompareList {
public:
    // Rows of a page high enough for them; a lower page takes fewer.
    static constexpr int kRowsPerPage = 40;

    // String ids of the headings of value A and value B in a mode.
    static unsigned HeadingAId(int mode);
    static unsigned HeadingBId(int mode);
    // Value A and value B of a record in a mode.
    static const std::string& ValueA(const ParamRec& param, int mode);
    static const std::string& ValueB(const ParamRec& param, int mode);

    // The rows of the project's defined parameters whose two values differ,
    // byte for byte; store gets one group per group with a difference, each
    // holding the label and the two values of the mode (the other texts
    // empty). Both are replaced.
    // In the modes that read a drive, drive names its model and version:
    // items such a drive does not hold were not read and are no difference.
    void FillDiffList(const CD390DocData& doc, int mode, std::vector<GroupRec>& store,
                      const GateContext* drive = nullptr);

    // Writes store as text: per group its name, then per record its label,
    // TAB, value A, TAB, value B, each line ending in CR LF, bytes as they are.
    // False, after telling the user why, when the file cannot be written; the
    // file that was there then stays as it was.
    static bool SaveText(const std::string& path, const std::vector<GroupRec>& store, int mode);

    // Pages of the printout: 40 rows each, none for an empty store.
    static int PageCountOf(const std::vector<GroupRec>& store);
    // The same on a page of height device pixels: 40 rows a page where they
    // end above the footer (an A4 sheet upright at 300 pixels an inch or
    // more), else as many as do.
    static int PageCountOf(const std::vector<GroupRec>& store, int height);
    static int RowsPerPage(int height);
    // What page p (from 1) of a device of width x height pixels shows, in
    // device units with y growing downward; the fonts are FontOf's.
    std::vector<PrintItem> Page(int page, int width, int height) const;
    // Tahoma: title 90 bold, headings 70 bold, rows 70 regular, device units.
    static PrintFontChoice FontOf(PrintFont font);

    int m_nMode = kCompareSetWithRead;
    std::vector<CompareRow> m_Rows;
};
