#pragma once
// A group page as a table: its rows, what each row holds and how it is
// checked, stored and written, plus named hooks for what a table cannot say.
// The editor's window-free model (CGroupPageModel) and its window side (one
// panel built from the table) both read it; page tables live in pages/.

#include <climits>
#include <functional>
#include <string>
#include <vector>

class CGroupPageModel;
struct EditorContext;

enum class RowKind {
    Option,   // a drop-down list; the value is the selection index
    Decimal,  // an edit holding a number with one or two decimals
    Integer,  // an edit holding a whole number (the data exchange checks it)
    Unsigned, // as Integer, never below 0
    Packed,   // several lists, one digit each, joined into one text
    Text,     // an edit showing the stored text as it stands; never parsed,
              // stored or sent (identification, password, "----")
};

// How an option row with codes picks its entry from the stored text.
enum class OptionMatch {
    ExactElseFirst, // the entry whose code is the text exactly, else entry 0
    SameNumber,     // the entry whose code is the same whole number, else none
};

// A row's range when it follows the model: check and write bounds and the
// range text shown.
struct RowRange {
    double min = 0;
    double max = 0;
    std::string text;
};

// A limit of older drives on a row: on a drive whose software version lies
// below version (single precision) and whose model code lies strictly
// between codeAbove and codeBelow, the row is refused with 61580; a limited
// gate refuses only values outside low..high (option rows: the index), with
// 61622 naming the row and range.
// A gate version that every drive lies below: the gate refuses its codes at
// any version.
constexpr float kEveryVersion = 1e9f;

struct VersionGate {
    float version = 0;
    int codeAbove = INT_MIN;
    int codeBelow = INT_MAX;
    bool limited = false;
    double low = -1e300;
    double high = 1e300;
    const char* range = nullptr;
};

struct PageRow {
    int item = 0;      // GG-NN: the record, and register GG x 256 + NN
    RowKind kind = RowKind::Decimal;
    int controlId = 0; // combo (1025 on) or edit (1034 on); packed: unused
    // Packed rows: one list per digit, most significant first, and the base
    // in which the joined digits are sent (2 or 8).
    std::vector<int> packedIds;
    int packBase = 2;
    // Per list, how many options it offers (empty: optionCount each). A list
    // of one option offers no choice and is hidden; an id of 0 or a count of
    // 0 is a digit without a list, kept as stored.
    std::vector<int> packedCounts;
    // Packed rows: what each list sets, as readers name it (the input
    // terminal of a contact digit); empty: the lists are numbered.
    std::vector<std::string> digitNames;
    // Option texts: string ids first .. first + count - 1 (each packed list
    // uses the same texts).
    unsigned optionFirst = 0;
    int optionCount = 0;
    // Decimal rows: 1 or 2 decimals.
    int decimals = 0;
    // Keystroke filter: a value above filterMax is refused; below filterMin
    // too where filterTestsMin is set. A row without one (typingFiltered
    // false) takes every keystroke; its bounds act on OK and on its button.
    bool typingFiltered = true;
    double filterMax = 0;
    bool filterTestsMin = false;
    double filterMin = 0;
    // CheckRange: min - 0.000001 < v < max + 0.000001 (decimal rows), or
    // min <= v <= max (integer rows). Unchecked rows are still kept inside
    // their accepted range before any value goes to a drive.
    bool checked = false;
    double checkMin = 0;
    double checkMax = 0;
    // The row button's re-check when it differs from CheckRange's bounds.
    bool hasWriteBounds = false;
    double writeMin = 0;
    double writeMax = 0;
    // Integer rows: the bounds of the data exchange (outside: 61776).
    int exchangeMin = INT_MIN;
    int exchangeMax = INT_MAX;
    // May be written while the drive runs.
    bool whileRunning = false;
    bool readOnly = false;
    // Shown, but neither stored by OK nor sent.
    bool shownNotStored = false;
    bool disabled = false;
    bool masked = false; // a password edit
    // What the drive text conversion adds before it truncates (+0.001 or
    // +0.0001). Every text sent carries exactly the row's decimals, for
    // which both give the same word; ConvertTextToWord does the conversion.
    double addend = 0.001;
    // The range text beside the row ("0.00~650.00"), and its control id
    // (65535: a plain label; 1075 on: rewritten at run time).
    const char* rangeText = nullptr;
    int rangeTextId = 65535;
    // The changed-flag position; -1: the document's DefinedPosition.
    int flagPosition = -1;
    // An explanation text shown beside a list for its selection, in the
    // static explainId.
    // Packed rows: the digit chosen last (-1 before any choice) is explained.
    std::function<std::string(int selection)> explain;
    int explainId = 65535;
    // Packed rows: the explanation of the list the user changed last (by its
    // digit index and new selection), shown in explainId; empty at opening.
    std::function<std::string(int digit, int selection)> explainDigit;
    // Ranges that follow the model fixed at opening; they replace checkMin,
    // checkMax, the write bounds and rangeText.
    std::function<RowRange(int modelCode)> rangeOf;
    // The model's range also limits typing: its maximum replaces filterMax,
    // its minimum filterMin (where filterTestsMin is set).
    bool rangeFilters = false;
    // Option rows whose stored and sent text is a code rather than the
    // index: entry k holds optionCodes[k].
    std::vector<std::string> optionCodes;
    OptionMatch optionMatch = OptionMatch::ExactElseFirst;
    // A code that resets the drive: Transmit Group asks (61777) before it
    // sends any code but entry 0's.
    bool resetCode = false;
    // The keystroke filter of an integer row refuses, without a prompt, any
    // character but a digit (an edit held as text, not by the data exchange).
    bool digitsOnly = false;
    // The row's second form, used while its page's alternateForm holds (a
    // unit switched elsewhere): a whole row of its own that repeats this
    // row's item, control, range label and flag position and differs in
    // kind, decimals, bounds, filter or range text. Must outlive the page.
    const PageRow* alternate = nullptr;
    // Tested in order by the row button once the version is known.
    std::vector<VersionGate> versionGates;
};

// Which running-state rule a page's row write follows.
enum class RunningRule {
    RefuseUnlessAllowed, // read it; refuse rows without whileRunning
    Ignore,              // never read it
};

// Where a page refuses its read-only rows.
enum class ReadOnlyPlace {
    BeforeLink, // before the link check
    AfterRange, // after CheckRange, before the station chooser
    AtValue,    // when the row's value is built, after the drive reads
};

// How a refused write reply (another function byte) is reported.
enum class WriteRefusal {
    CommException, // ShowCommExceptionMsg: "Station Num %d", a line break, the code's text
    StationComm,   // "Station Num %d" directly followed by 61479
};

// How a refused partner read reply is reported.
enum class ReadRefusal {
    Comm,          // 61479 alone
    CommException, // ShowCommExceptionMsg
};

struct PageTable {
    const char* className = "";
    int templateId = 0;
    int group = 0;
    std::vector<PageRow> rows;
    int widthDu = 371; // template size in dialog units
    int heightDu = 231;
    // Whether the page's edits become the on-screen keyboard's target when
    // they take the focus; on a page without the hook the keyboard has no
    // target while one of its edits has the focus.
    bool keyboardHook = true;
    RunningRule running = RunningRule::RefuseUnlessAllowed;
    bool readsVersion = false;
    ReadOnlyPlace readOnlyPlace = ReadOnlyPlace::AfterRange;
    WriteRefusal writeRefusal = WriteRefusal::CommException;
    ReadRefusal readRefusal = ReadRefusal::Comm;
    // A row button first runs CheckRange over the whole page; without it
    // only the row's own value is tested, after the drive reads.
    bool rowWriteChecksPage = true;
    // The rows' version gates run just before rowGate, or, where the version
    // or another drive rule must come first, inside it (PassesVersionGates).
    bool versionGatesInHook = false;

    // Hooks. Each may be empty.
    // After the rows were loaded: model-dependent range texts, enabling.
    std::function<void(CGroupPageModel&, EditorContext&)> onLoad;
    // Step 10 of a row write, after the value text is built: version and
    // model gates, partner reads. False refuses (the hook has reported).
    std::function<bool(CGroupPageModel&, int row, const std::string& text, int station, EditorContext&)> rowGate;
    // Step 10 of a row write, before the value text is built: a row whose
    // resolution depends on the chosen drive sets the decimals it is sent
    // with (reading the drive where it must). False refuses (reported).
    std::function<bool(CGroupPageModel&, int row, int station, EditorContext&, int& decimals)> rowForm;
    // After a successful row write (caches, enabling).
    std::function<void(CGroupPageModel&, int row, const std::string& text, EditorContext&)> afterWrite;
    // A page timer: its period and what a tick does. It runs while the page
    // is hidden too; the window side never rewrites the edit with the focus.
    int timerMs = 0;
    std::function<void(CGroupPageModel&, EditorContext&)> onTimer;
    // Whether the rows with an alternate form use it now; asked whenever the
    // page loads, checks, stores or sends (CGroupPageModel::SyncForm).
    std::function<bool(const EditorContext&)> alternateForm;
    // After the user chose another entry of a list row (the window shows the
    // page's model again afterwards).
    std::function<void(CGroupPageModel&, int row, EditorContext&)> onSelect;
};

// Row builders for the common shapes.
PageRow OptionRow(int item, int comboId, unsigned optionFirst, int optionCount);
PageRow DecimalRow(int item, int editId, int decimals, double filterMax, double checkMin, double checkMax,
                   const char* rangeText);
PageRow IntegerRow(int item, int editId, int exchangeMin, int exchangeMax, const char* rangeText);
// A disabled edit showing the stored text as it stands, never stored or sent.
PageRow ReadOnlyTextRow(int item, int editId);

// Pages whose rows keep their changed flags at the page's first position plus
// the row, whatever the project's definition file lists.
void NumberFlagPositions(PageTable& page, int firstPosition);
// A whole number without a range in its data exchange: a number outside
// min..max typed into it reverts without a prompt; a row write or transmit
// refuses a stored one.
PageRow BoundedIntegerRow(int item, int editId, int min, int max, const char* rangeText);
// A whole number that CheckRange holds to checkMin..checkMax, typed up to
// filterMax.
PageRow CheckedIntegerRow(int item, int editId, int filterMax, int checkMin, int checkMax, const char* rangeText);

// Single-precision version gates: below refuses under the threshold, at or
// below refuses at equality too.
bool VersionBelow(float version, float threshold);
bool VersionAtOrBelow(float version, float threshold);
