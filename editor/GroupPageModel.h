#pragma once
// One page of the editor without its window: the texts and selections of its
// rows, what its row buttons last sent, and the page's operations: load from
// the project, the keystroke filter, CheckRange, the store of OK and the
// write of one row to a drive.

#include "editor/PageTable.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class CD390DocData;
struct EditorContext;

struct RowState {
    std::string text;         // edit rows: the text shown
    int selection = -1;       // option rows: the index chosen, -1 none
    std::vector<int> digits;  // packed rows: each list's index, -1 none
    std::string kept;         // packed rows: the stored text (digits no list can show stay);
                              // other rows: free for a page hook (a last accepted text)
    bool enabled = true;
    std::string rangeText;    // the range text shown beside the row
    bool ownBounds = false;   // the model's range (PageRow::rangeOf) replaces the table's
    double boundMin = 0;
    double boundMax = 0;
    int lastDigit = -1;       // packed rows: the digit chosen last, which the explanation names
    // Decimals the keystroke filter allows, -1: the row's.
    int filterDecimals = -1;
    // Packed rows: the explanation of the list changed last (explainDigit).
    std::string explanation;
};

class CGroupPageModel {
public:
    CGroupPageModel(const PageTable& table, int page);

    const PageTable& Table() const { return m_table; }
    int Page() const { return m_nPage; }
    int RowCount() const { return static_cast<int>(m_table.rows.size()); }
    // The row in the form its page uses now (its alternate form, if any,
    // while m_bAlternate is set).
    const PageRow& Row(int row) const
    {
        const PageRow& table = m_table.rows[static_cast<std::size_t>(row)];
        return m_bAlternate && table.alternate ? *table.alternate : table;
    }

    // Asks the page's alternateForm which form its rows use and shows the
    // range texts of that form. Load, CheckRange, Store and the row button
    // call it first; a timer or a list hook may call it any time.
    void SyncForm(EditorContext& context);
    // The user chose entry selection of list row: kept, then the page's
    // onSelect hook runs.
    void Select(int row, int selection, EditorContext& context);

    // Fills the rows from the project's set values (OnInitDialog).
    void Load(EditorContext& context);

    // The keystroke filter of an edit row: the text the edit keeps after the
    // user changed oldText into newText. Integer rows prompt (61775, 61776)
    // for a text that is no whole number or lies outside the row's exchange
    // bounds and keep oldText. Every keystroke it refuses or trims rings the
    // bell (MessageBeep).
    std::string Filter(int row, const std::string& oldText, const std::string& newText) const;

    // The data exchange of the whole-number rows: each must hold a whole
    // number inside its exchange bounds; the first that does not is focused
    // and prompted for (61775, 61776), and the result is false.
    bool ExchangeWholeNumbers(EditorContext& context);

    // Every row that OK stores must hold a number: the first whose text is
    // none (a project text such as "x?", never typed) is focused and refused
    // with 61460, and the result is false. Lists without a selection keep
    // the project's text and pass.
    bool CheckTexts(EditorContext& context);

    // Tests the checked rows in row order, reformatting the passing decimal
    // rows; at the first failing row focuses it, shows 61460 and returns
    // false.
    bool CheckRange(EditorContext& context);

    // The text that OK stores, the row button sends and Transmit Group sends.
    // False for an option row without a selection and for a row whose text
    // is no number (nothing to store or send).
    bool RowText(int row, std::string& text) const;

    // A packed row's list d now shows selection: the digit and the row's
    // explanation text follow it.
    void SelectDigit(int row, int digit, int selection);

    // OK: stores every stored row into the project, raising the changed flag
    // of each row whose text differs from its baseline.
    void Store(EditorContext& context);

    // A row's button: the gates, the write, the messages. True when written.
    bool OnParamButton(int row, EditorContext& context);

    // Checks text against the row's accepted range and converts it to the
    // register word; shows the refusal (focused) and returns false.
    // decimals: the form of a decimal row's text, -1 the row's.
    bool ValueForDrive(int row, const std::string& text, uint16_t& word, EditorContext& context, int decimals = -1);

    // The row's version gates against the document's drive version and the
    // editor's model code; the first that refuses is shown (the row focused).
    bool PassesVersionGates(int row, const std::string& text, EditorContext& context);

    // One function-06 write of the row's register; station 0 is a broadcast
    // reported as success. Failures are shown.
    bool WriteParamToDrive(int row, uint16_t word, int station, EditorContext& context);
    // One function-03 read of item of the page's group (partner rules).
    bool ReadParamFromDrive(int item, int station, std::string& value, EditorContext& context);

    // How many options list d of a packed row offers (0: no list).
    int DigitOptionCount(int row, int digit) const;

    // The changed-flag position of a row (-1 when the item is not defined).
    int FlagPosition(int row, const CD390DocData& doc) const;
    // The row showing item, or -1.
    int RowOfItem(int item) const;

    std::vector<RowState> m_rows;
    std::array<std::string, 10> m_strLast;
    std::array<bool, 10> m_bWritten{};
    int m_nMarked = -1; // the row drawn red, -1 none
    int m_nFocusRow = -1; // the row a refusal focused last
    bool m_bAlternate = false; // the rows' alternate forms are in use

    // A rule's refusal: the row gets the focus, then the message.
    void RefuseRow(int row, const std::string& message, EditorContext& context);

private:
    void Refuse(int row, unsigned message, EditorContext& context);
    std::string FilterText(int row, const std::string& oldText, const std::string& newText) const;

    const PageTable& m_table;
    int m_nPage;
};

// Numbers as the pages read and write them, in the C locale whatever the
// process's locale: a leading number of text (0 when there is none), and a
// value with a fixed count of decimals.
double ParseLeadingNumber(const std::string& text);
std::string FormatFixed(double value, int decimals);
// A whole number with an optional sign and blanks around; false otherwise.
bool ParseWholeNumber(const std::string& text, long long& value);
