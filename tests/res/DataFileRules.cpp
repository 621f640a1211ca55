#include "tests/res/DataFileRules.h"

#include "document/D390DocData.h"
#include "document/ModelListFile.h"
#include "document/ModelTables.h"
#include "tests/common/MessageRecorder.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>

namespace {

enum FileMask : unsigned { kPlain = 1, kS = 2, kSP = 4, kExt = kS | kSP, kAll = kPlain | kS | kSP };

unsigned MaskOf(Family family)
{
    switch (family) {
    case Family::Plain:
        return kPlain;
    case Family::S:
        return kS;
    case Family::SP:
        return kSP;
    }
    return 0;
}

// ---------------------------------------------------------------------------
// Defined items per group and definition file. The editor pages place their
// rows by the position of a parameter among the defined items, and group 14's
// pages exist for every model, so all three files carry its 43 items.
struct ItemSpan {
    int group;
    int first;
    int last;
    unsigned files;
};

constexpr ItemSpan kDefinedItems[] = {
    {0, 1, 20, kPlain},
    {0, 0, 21, kExt},
    {1, 0, 11, kPlain},
    {1, 0, 18, kExt},
    {2, 0, 4, kPlain},
    {2, 0, 9, kExt},
    {2, 13, 19, kExt},
    {3, 0, 4, kAll},
    {3, 6, 9, kAll},
    {3, 11, 11, kAll},
    {3, 13, 19, kAll},
    {3, 20, 21, kExt},
    {4, 0, 15, kPlain},
    {4, 0, 19, kExt},
    {5, 0, 8, kAll},
    {5, 17, 32, kAll},
    {6, 0, 7, kAll},
    {6, 16, 23, kAll},
    {6, 32, 39, kAll},
    {7, 0, 9, kPlain},
    {7, 0, 12, kExt},
    {8, 0, 11, kPlain},
    {8, 0, 19, kExt},
    {9, 0, 9, kAll},
    {9, 10, 10, kS}, // the network adapter address: only the S family shows it
    {10, 0, 22, kAll},
    {11, 0, 11, kAll},
    {11, 13, 21, kExt},
    {12, 0, 5, kPlain},
    {12, 0, 7, kExt},
    {13, 0, 8, kAll},
    {14, 0, 20, kAll},
    {14, 22, 31, kAll},
    {14, 34, 35, kAll},
    {14, 37, 39, kAll},
    {14, 71, 77, kAll},
};

// ---------------------------------------------------------------------------
// Value forms: the text in which the group readers show a register and the
// editor pages store a value. lo and hi bound the number the text stands for
// (for bin5 and oct5 the number the digits spell); for a mode row they are the
// percent bounds and the pressure bounds stand in kModeRows.
enum class Form {
    Int,      // "%d"
    D1,       // "%.1f" of v x 0.1
    D2,       // "%.2f" of v x 0.01
    D3,       // "%.3f" of v x 0.001
    Bin5,     // five binary digits, bit 4 first
    Oct5,     // five octal digits
    Pad5,     // "%05d"
    Pad4,     // "%04d"
    Dashes,   // "-----"
    Capacity, // capacity code of a model of the family
    Mode,     // group 14: "%.2f" in pressure mode (14-20 = 0), "%d" in percent mode
};

struct FormRule {
    int group;
    int item;
    unsigned files;
    Form form;
    double lo;
    double hi;
};

// clang-format off
constexpr FormRule kForms[] = {
    // group 00
    {0, 0, kExt, Form::Int, 0, 1},
    {0, 1, kAll, Form::Int, 0, 1},
    {0, 2, kAll, Form::Int, 0, 2},
    {0, 3, kAll, Form::Int, 0, 2},
    {0, 4, kAll, Form::Int, 0, 2},
    {0, 5, kAll, Form::Int, 0, 6},
    {0, 6, kAll, Form::Int, 0, 6},
    {0, 7, kAll, Form::Int, 0, 1},
    {0, 8, kAll, Form::D2, 0, 599},
    {0, 9, kAll, Form::Int, 0, 1},
    {0, 10, kAll, Form::Int, 0, 2},
    {0, 11, kAll, Form::D2, 0, 599},
    {0, 12, kAll, Form::D2, 0.01, 599},
    {0, 13, kAll, Form::D2, 0, 598.99},
    {0, 14, kAll, Form::D1, 0.1, 3600},
    {0, 15, kAll, Form::D1, 0.1, 3600},
    {0, 16, kAll, Form::D1, 0.1, 3600},
    {0, 17, kAll, Form::D1, 0.1, 3600},
    {0, 18, kAll, Form::D2, 1, 25},
    {0, 19, kAll, Form::D1, 0.1, 25.5},
    {0, 20, kAll, Form::D1, 0.1, 25.5},
    {0, 21, kExt, Form::Int, 0, 3},
    // group 01 (01-01 by voltage class, see ModelLimit)
    {1, 0, kAll, Form::Int, 1, 7},
    {1, 1, kAll, Form::D1, 170, 528},
    {1, 2, kAll, Form::D2, 0.2, 599},
    {1, 3, kAll, Form::D1, 0, 100},
    {1, 4, kAll, Form::D2, 0.1, 599},
    {1, 5, kAll, Form::D1, 0, 100},
    {1, 6, kAll, Form::D2, 0.1, 599},
    {1, 7, kAll, Form::D1, 0, 100},
    {1, 8, kAll, Form::D2, 0.1, 599},
    {1, 9, kAll, Form::D1, 0, 100},
    {1, 10, kAll, Form::D1, 0, 10},
    {1, 11, kAll, Form::D2, 0, 10},
    {1, 12, kExt, Form::D1, 0, 200},
    {1, 13, kExt, Form::Int, 1, 8192},
    {1, 14, kExt, Form::Int, 0, 100},
    {1, 15, kExt, Form::D1, 0, 100},
    {1, 16, kExt, Form::D1, 0.1, 1000},
    {1, 17, kExt, Form::Int, 0, 100},
    {1, 18, kExt, Form::D2, 1.3, 5},
    // group 02 (02-00, 02-01, 02-04, 02-05 by model, see ModelLimit)
    {2, 0, kAll, Form::D1, 0, 51.9},
    {2, 1, kAll, Form::D1, 0.2, 52},
    {2, 2, kAll, Form::D1, 0, 100},
    {2, 3, kAll, Form::Int, 0, 39000},
    {2, 4, kAll, Form::D1, 170, 528},
    {2, 5, kExt, Form::D1, 0.1, 22},
    {2, 6, kExt, Form::D1, 0, 599},
    {2, 7, kExt, Form::Int, 0, 1},
    {2, 8, kExt, Form::Int, 0, 600},
    {2, 9, kExt, Form::Int, 0, 600},
    {2, 13, kExt, Form::Int, 0, 150}, // drives below software 1.03 take no more
    {2, 14, kExt, Form::Int, 0, 100}, // likewise
    {2, 15, kExt, Form::Int, 0, 100},
    {2, 16, kExt, Form::Int, 0, 200},
    {2, 17, kExt, Form::Int, 0, 200},
    {2, 18, kExt, Form::Int, 0, 200},
    {2, 19, kExt, Form::Int, 0, 1},
    // group 03
    {3, 0, kAll, Form::Int, 0, 17},
    {3, 1, kAll, Form::Int, 0, 17},
    {3, 2, kAll, Form::Int, 0, 17},
    {3, 3, kAll, Form::Int, 0, 17},
    {3, 4, kAll, Form::Int, 0, 17},
    {3, 6, kAll, Form::D2, 0, 5},
    {3, 7, kAll, Form::Int, 0, 2},
    {3, 8, kPlain, Form::Int, 1, 400},
    {3, 8, kExt, Form::Int, 1, 200},
    {3, 9, kAll, Form::Bin5, 0, 31},
    {3, 11, kAll, Form::Int, 0, 13},
    {3, 13, kAll, Form::D2, 0, 599},
    {3, 14, kAll, Form::D2, 0, 30},
    {3, 15, kAll, Form::D1, 0.1, 15}, // the S family's older drives take no more
    {3, 16, kAll, Form::D1, 0.1, 10},
    {3, 17, kAll, Form::D2, 0, 20},
    {3, 18, kAll, Form::D2, 0, 20},
    {3, 19, kAll, Form::Int, 0, 1},
    {3, 20, kExt, Form::D1, 240, 800},
    {3, 21, kExt, Form::D1, 240, 800},
    // group 04
    {4, 0, kAll, Form::Int, 0, 3},
    {4, 1, kPlain, Form::Int, 1, 400},
    {4, 1, kExt, Form::Int, 1, 200},
    {4, 2, kAll, Form::Int, 0, 1000},
    {4, 3, kAll, Form::Int, 0, 100},
    {4, 4, kAll, Form::Int, 0, 1},
    {4, 5, kAll, Form::Int, 0, 1},
    {4, 6, kPlain, Form::Int, 1, 400},
    {4, 6, kExt, Form::Int, 1, 200},
    {4, 7, kAll, Form::Int, 0, 1000},
    {4, 8, kAll, Form::Int, 0, 100},
    {4, 9, kAll, Form::Int, 0, 1},
    {4, 10, kAll, Form::Int, 0, 1},
    {4, 11, kAll, Form::Int, 0, 4},
    {4, 12, kAll, Form::Int, 0, 1000},
    {4, 13, kAll, Form::Int, 0, 100},
    {4, 14, kAll, Form::Int, 0, 1},
    {4, 15, kAll, Form::Int, 0, 1},
    {4, 16, kExt, Form::Int, 0, 1000},
    {4, 17, kExt, Form::Int, 0, 100},
    {4, 18, kExt, Form::Int, 0, 1},
    {4, 19, kExt, Form::Int, 0, 1},
    // group 05
    {5, 0, kAll, Form::Int, 0, 1},
    {5, 1, kAll, Form::D2, 0, 599}, {5, 2, kAll, Form::D2, 0, 599}, {5, 3, kAll, Form::D2, 0, 599},
    {5, 4, kAll, Form::D2, 0, 599}, {5, 5, kAll, Form::D2, 0, 599}, {5, 6, kAll, Form::D2, 0, 599},
    {5, 7, kAll, Form::D2, 0, 599}, {5, 8, kAll, Form::D2, 0, 599},
    {5, 17, kAll, Form::D1, 0.1, 3600}, {5, 18, kAll, Form::D1, 0.1, 3600}, {5, 19, kAll, Form::D1, 0.1, 3600},
    {5, 20, kAll, Form::D1, 0.1, 3600}, {5, 21, kAll, Form::D1, 0.1, 3600}, {5, 22, kAll, Form::D1, 0.1, 3600},
    {5, 23, kAll, Form::D1, 0.1, 3600}, {5, 24, kAll, Form::D1, 0.1, 3600}, {5, 25, kAll, Form::D1, 0.1, 3600},
    {5, 26, kAll, Form::D1, 0.1, 3600}, {5, 27, kAll, Form::D1, 0.1, 3600}, {5, 28, kAll, Form::D1, 0.1, 3600},
    {5, 29, kAll, Form::D1, 0.1, 3600}, {5, 30, kAll, Form::D1, 0.1, 3600}, {5, 31, kAll, Form::D1, 0.1, 3600},
    {5, 32, kAll, Form::D1, 0.1, 3600},
    // group 06
    {6, 0, kAll, Form::Int, 0, 6},
    {6, 1, kAll, Form::D2, 0, 599}, {6, 2, kAll, Form::D2, 0, 599}, {6, 3, kAll, Form::D2, 0, 599},
    {6, 4, kAll, Form::D2, 0, 599}, {6, 5, kAll, Form::D2, 0, 599}, {6, 6, kAll, Form::D2, 0, 599},
    {6, 7, kAll, Form::D2, 0, 599},
    {6, 16, kAll, Form::D1, 0, 3600}, {6, 17, kAll, Form::D1, 0, 3600}, {6, 18, kAll, Form::D1, 0, 3600},
    {6, 19, kAll, Form::D1, 0, 3600}, {6, 20, kAll, Form::D1, 0, 3600}, {6, 21, kAll, Form::D1, 0, 3600},
    {6, 22, kAll, Form::D1, 0, 3600}, {6, 23, kAll, Form::D1, 0, 3600},
    {6, 32, kAll, Form::Int, 0, 2}, {6, 33, kAll, Form::Int, 0, 2}, {6, 34, kAll, Form::Int, 0, 2},
    {6, 35, kAll, Form::Int, 0, 2}, {6, 36, kAll, Form::Int, 0, 2}, {6, 37, kAll, Form::Int, 0, 2},
    {6, 38, kAll, Form::Int, 0, 2}, {6, 39, kAll, Form::Int, 0, 2},
    // group 07 (07-07 by model, see ModelLimit)
    {7, 0, kAll, Form::Int, 0, 1},
    {7, 1, kAll, Form::D1, 0, 800}, // 6000.0 only for newer S-family drives
    {7, 2, kAll, Form::Int, 0, 10},
    {7, 3, kAll, Form::Int, 0, 1},
    {7, 4, kAll, Form::Int, 0, 1},
    {7, 5, kAll, Form::D1, 1, 300},
    {7, 6, kAll, Form::D2, 0.1, 10},
    {7, 7, kAll, Form::Int, 0, 100},
    {7, 8, kAll, Form::D1, 0, 25.5},
    {7, 9, kAll, Form::Int, 0, 1},
    {7, 10, kExt, Form::Int, 0, 100},
    {7, 11, kExt, Form::D1, 0, 25.5},
    {7, 12, kExt, Form::Int, 0, 1},
    // group 08 (08-04 by voltage class, see ModelLimit)
    {8, 0, kAll, Form::Bin5, 0, 15}, // the leading digit has the one option 0
    {8, 1, kAll, Form::Int, 50, 200},
    {8, 2, kAll, Form::Int, 50, 200},
    {8, 3, kAll, Form::Int, 50, 200},
    {8, 4, kAll, Form::D1, 350, 780},
    {8, 5, kPlain, Form::Int, 0, 1},
    {8, 5, kExt, Form::Bin5, 0, 7}, // "00" and three binary digits
    {8, 6, kAll, Form::Int, 0, 1},
    {8, 7, kAll, Form::Int, 0, 3},
    {8, 8, kAll, Form::Int, 0, 5},
    {8, 9, kAll, Form::Int, 0, 1},
    {8, 10, kPlain, Form::D1, 0, 25},
    {8, 10, kExt, Form::Int, 0, 3},
    {8, 11, kPlain, Form::D1, 0, 10},
    {8, 11, kExt, Form::D2, 0.01, 10},
    {8, 12, kExt, Form::Int, 1, 300},
    {8, 13, kExt, Form::D1, 0.1, 10},
    {8, 14, kExt, Form::D1, 0.1, 10},
    {8, 15, kExt, Form::D1, 0.1, 10},
    {8, 16, kExt, Form::D1, 10, 50},
    {8, 17, kExt, Form::D1, 0, 60},
    {8, 18, kExt, Form::D1, 0, 1500},
    {8, 19, kExt, Form::Int, 0, 2},
    // group 09
    {9, 0, kAll, Form::Int, 1, 32},
    {9, 1, kAll, Form::Int, 0, 1},
    {9, 2, kAll, Form::Int, 0, 3},
    {9, 3, kAll, Form::Int, 0, 1},
    {9, 4, kAll, Form::Int, 0, 2},
    {9, 5, kAll, Form::Int, 0, 1},
    {9, 6, kAll, Form::D1, 0, 25.5},
    {9, 7, kAll, Form::Int, 0, 3},
    {9, 8, kPlain, Form::Int, 1, 20},
    {9, 8, kExt, Form::Int, 0, 20},
    {9, 9, kAll, Form::Int, 5, 65},
    {9, 10, kS, Form::Int, 1, 254},
    // group 10
    {10, 0, kPlain, Form::Int, 0, 4},
    {10, 0, kExt, Form::Int, 0, 5},
    {10, 1, kPlain, Form::Int, 0, 4},
    {10, 1, kExt, Form::Int, 0, 3},
    {10, 2, kAll, Form::D1, 0, 100},
    {10, 3, kAll, Form::Int, 0, 4},
    {10, 4, kAll, Form::D2, 0, 10},
    {10, 5, kPlain, Form::D1, 0, 10},
    {10, 5, kExt, Form::D2, 0, 10}, // the extended page keeps two decimals
    {10, 6, kAll, Form::D1, 0, 100},
    {10, 7, kAll, Form::D2, 0, 10},
    {10, 8, kAll, Form::Int, 0, 1},
    {10, 9, kAll, Form::Int, 0, 109},
    {10, 10, kAll, Form::D1, 0, 2.5},
    {10, 11, kAll, Form::Int, 0, 2},
    {10, 12, kAll, Form::Int, 0, 100},
    {10, 13, kAll, Form::D1, 0, 25.5},
    {10, 14, kAll, Form::Int, 0, 109},
    {10, 15, kAll, Form::Int, 0, 30},
    {10, 16, kAll, Form::Int, 0, 100},
    {10, 17, kAll, Form::D2, 0, 599},
    {10, 18, kAll, Form::D1, 0, 25.5},
    {10, 19, kAll, Form::D2, 0, 599},
    {10, 20, kAll, Form::D1, 0, 25.5},
    {10, 21, kAll, Form::Int, 0, 999},
    {10, 22, kAll, Form::Int, 0, 999},
    // group 11 (11-14 by voltage class, see ModelLimit)
    {11, 0, kAll, Form::Int, 0, 1},
    {11, 1, kAll, Form::Int, 1, 16},
    {11, 2, kAll, Form::Int, 0, 2},
    {11, 3, kAll, Form::Int, 0, 1},
    {11, 4, kAll, Form::D1, 0, 4}, {11, 5, kAll, Form::D1, 0, 4}, {11, 6, kAll, Form::D1, 0, 4},
    {11, 7, kAll, Form::D1, 0, 4},
    {11, 8, kAll, Form::D2, 0, 599}, {11, 9, kAll, Form::D2, 0, 599}, {11, 10, kAll, Form::D2, 0, 599},
    {11, 11, kAll, Form::D2, 0, 30},
    {11, 13, kExt, Form::Int, 0, 2},
    {11, 14, kExt, Form::D1, 300, 800},
    {11, 15, kExt, Form::D2, 0, 15},
    {11, 16, kExt, Form::Int, 0, 200},
    {11, 17, kExt, Form::Int, 0, 200},
    {11, 18, kExt, Form::Int, 0, 65535},
    {11, 19, kExt, Form::Int, 0, 65535},
    {11, 20, kExt, Form::Int, 0, 65535},
    {11, 21, kExt, Form::Int, 0, 1},
    // group 12
    {12, 0, kAll, Form::Oct5, 0, 32767},
    {12, 1, kAll, Form::Int, 0, 2},
    {12, 2, kAll, Form::Int, 0, 2},
    {12, 3, kAll, Form::Int, 0, 65535},
    {12, 4, kAll, Form::Int, 0, 4},
    {12, 5, kAll, Form::Dashes, 0, 0},
    {12, 6, kExt, Form::D1, 0, 6553.5},
    {12, 7, kExt, Form::Int, 0, 65535},
    // group 13
    {13, 0, kAll, Form::Capacity, 0, 0},
    {13, 1, kAll, Form::D3, 0, 65.535},
    {13, 2, kAll, Form::Int, 0, 34},
    {13, 3, kAll, Form::Int, 0, 23},
    {13, 4, kAll, Form::Int, 0, 65535},
    {13, 5, kAll, Form::Int, 0, 1},
    {13, 6, kAll, Form::Int, 0, 3},
    {13, 7, kAll, Form::Pad5, 0, 65535},
    {13, 8, kAll, Form::Pad4, 0, 1360}, // a reset code: 0000, 1150 ... 1360
    // group 14
    {14, 0, kAll, Form::Int, 0, 1},
    {14, 1, kAll, Form::Int, 0, 4},
    {14, 2, kAll, Form::D2, 0.1, 650},
    {14, 3, kAll, Form::D2, 0.1, 650},
    {14, 4, kAll, Form::Int, 0, 1},
    {14, 5, kAll, Form::Int, 0, 2},
    {14, 6, kAll, Form::D2, 0, 10},
    {14, 7, kAll, Form::D1, 0, 100},
    {14, 8, kAll, Form::D2, 0, 10},
    {14, 9, kAll, Form::Mode, 1, 100},
    {14, 10, kAll, Form::D2, 0, 599},
    {14, 11, kAll, Form::D1, 0, 255.5},
    {14, 12, kAll, Form::Mode, 0, 100},
    {14, 13, kAll, Form::D1, 0, 600},
    {14, 14, kAll, Form::D1, 0, 600},
    {14, 15, kAll, Form::Mode, 0, 100},
    {14, 16, kAll, Form::D1, 0, 600},
    {14, 17, kAll, Form::D1, 0, 600},
    {14, 18, kAll, Form::D1, 0, 600},
    {14, 19, kAll, Form::Int, 0, 100},
    {14, 20, kAll, Form::Int, 0, 1},
    {14, 22, kAll, Form::D2, 0, 599},
    {14, 23, kAll, Form::Int, 0, 1},
    {14, 24, kAll, Form::Mode, 0, 10},
    {14, 25, kAll, Form::D1, 0, 200},
    {14, 26, kAll, Form::D1, 0.1, 3600},
    {14, 27, kAll, Form::D1, 0.1, 3600},
    {14, 28, kAll, Form::D2, 0, 599},
    {14, 29, kAll, Form::Int, 0, 240},
    {14, 30, kAll, Form::D1, 0, 30},
    {14, 31, kAll, Form::Int, 0, 3},
    {14, 34, kAll, Form::Mode, 1, 100},
    {14, 35, kAll, Form::Int, 0, 4},
    {14, 37, kAll, Form::D1, 0, 100},
    {14, 38, kAll, Form::Mode, 1, 10},
    {14, 39, kAll, Form::Mode, 1, 100},
    {14, 71, kAll, Form::D2, 0.1, 650},
    {14, 72, kAll, Form::Int, 0, 1},
    {14, 73, kAll, Form::Int, 0, 1},
    {14, 74, kAll, Form::D2, 0, 10},
    {14, 75, kAll, Form::D1, 0, 100},
    {14, 76, kAll, Form::D2, 0, 10},
    {14, 77, kAll, Form::Int, 1, 100},
};
// clang-format on

// Pressure bounds of the mode rows of group 14 (pressure mode, "%.2f").
struct ModeRow {
    int item;
    double lo;
    double hi;
};
constexpr ModeRow kModeRows[] = {
    {9, 0.01, 650}, {12, 0, 650}, {15, 0, 650}, {24, 0, 65}, {34, 0.01, 650}, {38, 0.01, 65}, {39, 0.01, 650},
};

// Motor current and power limits of group 02 by model number (the code less
// its family base), as the group-02 pages set them.
struct MotorLimit {
    int number;
    double noLoadLo, noLoadHi;   // 02-00
    double ratedLo, ratedHi;     // 02-01
    double powerLo, powerHi;     // 02-05, extended files only
};
constexpr MotorLimit kPlainMotorLimits[] = {
    {101, 0.2, 6.7, 0.3, 6.8, 0, 0},   {201, 0.2, 6.7, 0.3, 6.8, 0, 0},   {202, 0.5, 12.1, 0.6, 12.2, 0, 0},
    {203, 0.8, 17.3, 0.9, 17.4, 0, 0}, {401, 0.1, 3.1, 0.2, 3.2, 0, 0},   {402, 0.2, 5.9, 0.3, 6.0, 0, 0},
    {403, 0.3, 8.5, 0.4, 8.6, 0, 0},   {1102, 0.1, 2.5, 0.2, 2.6, 0, 0},  {1202, 0.1, 2.5, 0.2, 2.6, 0, 0},
    {1105, 0.1, 3.7, 0.2, 3.8, 0, 0},  {1205, 0.1, 3.7, 0.2, 3.8, 0, 0},
};
// The S-P family shares these limits (and its initial-values column) with the
// S model of the same number.
constexpr MotorLimit kExtendedMotorLimits[] = {
    {1102, 0.0, 2.5, 0.2, 2.6, 0.1, 0.8},   {1202, 0.0, 2.5, 0.2, 2.6, 0.1, 0.8},
    {1105, 0.0, 3.7, 0.2, 3.8, 0.1, 0.8},   {1205, 0.0, 3.7, 0.2, 3.8, 0.1, 0.8},
    {1207, 0.0, 6.7, 0.3, 6.8, 0.1, 0.8},   {101, 0.0, 6.7, 0.3, 6.8, 0.1, 1.6},
    {201, 0.0, 6.7, 0.3, 6.8, 0.1, 1.6},    {202, 0.0, 12.1, 0.6, 12.2, 0.2, 3.0},
    {203, 0.0, 17.3, 0.9, 17.4, 0.2, 4.4},  {205, 1.0, 26.9, 1.4, 27.0, 0.4, 7.4},
    {208, 0.0, 39.9, 2.0, 40.0, 0.6, 11.0}, {210, 0.0, 51.9, 2.6, 52.0, 0.8, 15.6},
    {401, 0.0, 3.1, 0.2, 3.2, 0.1, 1.6},    {402, 0.0, 5.9, 0.3, 6.0, 0.2, 3.0},
    {403, 0.0, 8.5, 0.4, 8.6, 0.2, 4.4},    {405, 0.0, 13.5, 0.7, 13.6, 0.4, 7.4},
    {408, 0.0, 19.9, 1.0, 20.0, 0.6, 11.0}, {410, 0.0, 24.9, 1.3, 25.0, 0.8, 15.6},
    {415, 0.0, 36.9, 1.9, 37.0, 1.1, 22.0},
};

// Models whose DC braking current (07-07) stays within 0 to 20: every plain
// model and these numbers of both extended families.
constexpr int kLowBrakingNumbers[] = {101, 201, 202, 203, 401, 402, 403, 1102, 1105, 1202, 1205, 1207};

// Targets of the initial-values rows, in row order; rows 0 to 8 have one value
// per model of the wide numbering (30), rows 9 to 20 per model of the narrow
// one (19).
constexpr int kInitialTargets[21][2] = {
    {1, 1},  {1, 5},  {1, 7},  {1, 9},  {2, 0},  {2, 1},  {2, 4},  {8, 4},  {11, 14}, {1, 14}, {2, 5},
    {2, 8},  {2, 9},  {2, 13}, {2, 16}, {3, 20}, {3, 21}, {7, 7},  {8, 1},  {8, 2},   {8, 3},
};

std::string Code(int group, int item)
{
    char text[16];
    std::snprintf(text, sizeof text, "%02d-%02d", group, item);
    return text;
}

int ModelNumber(int code)
{
    if (code > kModelFamilySP)
        return code - kModelFamilySP;
    if (code > kModelFamilyS)
        return code - kModelFamilyS;
    return code;
}

const FormRule* FindForm(Family family, int group, int item)
{
    for (const FormRule& rule : kForms)
        if (rule.group == group && rule.item == item && (rule.files & MaskOf(family)))
            return &rule;
    return nullptr;
}

bool AllOf(const std::string& text, const char* allowed)
{
    return !text.empty() && text.find_first_not_of(allowed) == std::string::npos;
}

// The number a decimal text stands for, when the text is exactly "%.Nf" of it.
bool ParseDecimal(const std::string& text, int decimals, double& value)
{
    if (!AllOf(text, "0123456789."))
        return false;
    char* end = nullptr;
    value = std::strtod(text.c_str(), &end);
    if (*end != '\0')
        return false;
    char again[64];
    std::snprintf(again, sizeof again, "%.*f", decimals, value);
    return text == again;
}

std::string Number(double value)
{
    std::ostringstream out;
    out << value;
    return out.str();
}

// Empty when text has the form and lies within lo..hi.
std::string FormProblem(Form form, const std::string& text, double lo, double hi, Family family)
{
    double value = 0;
    int decimals = -1;
    switch (form) {
    case Form::Int:
        if (!AllOf(text, "0123456789") || (text.size() > 1 && text[0] == '0') || text.size() > 5)
            return "\"" + text + "\" is not \"%d\" of a register";
        value = std::atof(text.c_str());
        break;
    case Form::D1:
        decimals = 1;
        break;
    case Form::D2:
        decimals = 2;
        break;
    case Form::D3:
        decimals = 3;
        break;
    case Form::Bin5:
        if (text.size() != 5 || !AllOf(text, "01"))
            return "\"" + text + "\" is not five binary digits";
        value = static_cast<double>(std::strtol(text.c_str(), nullptr, 2));
        break;
    case Form::Oct5:
        if (text.size() != 5 || !AllOf(text, "01234567"))
            return "\"" + text + "\" is not five octal digits";
        value = static_cast<double>(std::strtol(text.c_str(), nullptr, 8));
        break;
    case Form::Pad5:
    case Form::Pad4:
        if (text.size() != (form == Form::Pad5 ? 5u : 4u) || !AllOf(text, "0123456789"))
            return "\"" + text + "\" is not " + (form == Form::Pad5 ? "\"%05d\"" : "\"%04d\"");
        value = std::atof(text.c_str());
        break;
    case Form::Dashes:
        return text == "-----" ? std::string() : "\"" + text + "\" is not \"-----\"";
    case Form::Capacity: {
        for (const ModelCodeEntry& model : ModelCodeTable())
            if (FamilyOfModel(static_cast<int>(model.code)) == family && text == model.capacity)
                return std::string();
        return "\"" + text + "\" is no capacity code of the family";
    }
    case Form::Mode:
        return "mode row without a mode";
    }
    if (decimals > 0) {
        if (!ParseDecimal(text, decimals, value))
            return "\"" + text + "\" is not \"%." + std::to_string(decimals) + "f\"";
        if (value * std::pow(10.0, decimals) > 65535.5)
            return "\"" + text + "\" does not fit a register";
    }
    if (value < lo - 1e-9 || value > hi + 1e-9)
        return "\"" + text + "\" lies outside " + Number(lo) + " to " + Number(hi);
    return std::string();
}

// The limits of parameters that follow the model: voltage class and motor
// size. False when the parameter has none beyond its form rule.
bool ModelLimit(int code, int group, int item, double& lo, double& hi)
{
    const bool high = ModelClassOf(code) == 400;
    const bool extended = code > kModelFamilyS;
    const int number = ModelNumber(code);
    auto set = [&](double low, double high_) {
        lo = low;
        hi = high_;
        return true;
    };
    if (group == 1 && item == 1)
        return high ? set(323, 528) : extended ? set(170, 264) : set(198, 256);
    if (group == 2 && item == 4)
        return high ? set(323, 528) : set(170, 264);
    if (group == 8 && item == 4)
        return high ? set(700, 780) : set(350, 390);
    if (group == 11 && item == 14)
        return high ? set(600, 800) : set(300, 400);
    if (group == 3 && (item == 20 || item == 21))
        return high ? set(500, 800) : set(240, 400);
    if (group == 7 && item == 7) {
        bool low = !extended || std::find(std::begin(kLowBrakingNumbers), std::end(kLowBrakingNumbers), number) !=
                                    std::end(kLowBrakingNumbers);
        return low ? set(0, 20) : set(0, 100);
    }
    if (group == 2 && (item == 0 || item == 1 || item == 5)) {
        const MotorLimit* begin = extended ? std::begin(kExtendedMotorLimits) : std::begin(kPlainMotorLimits);
        const MotorLimit* end = extended ? std::end(kExtendedMotorLimits) : std::end(kPlainMotorLimits);
        for (const MotorLimit* limit = begin; limit != end; ++limit) {
            if (limit->number != number)
                continue;
            if (item == 0)
                return set(limit->noLoadLo, limit->noLoadHi);
            if (item == 1)
                return set(limit->ratedLo, limit->ratedHi);
            return set(limit->powerLo, limit->powerHi);
        }
    }
    return false;
}

int DecimalsOf(const std::string& text)
{
    size_t point = text.find('.');
    return point == std::string::npos ? 0 : static_cast<int>(text.size() - point - 1);
}

// The first "MIN~MAX" of a remark bounds a value text of as many decimals.
std::string RemarkRangeProblem(const std::string& remark, const std::string& text)
{
    // The same few remarks come back for every model: search each once.
    static const std::regex pattern(R"((-?[0-9]+(?:\.[0-9]+)?)\s*~\s*(-?[0-9]+(?:\.[0-9]+)?))");
    static std::map<std::string, std::pair<std::string, std::string>> ranges;
    auto found = ranges.find(remark);
    if (found == ranges.end()) {
        std::smatch match;
        std::pair<std::string, std::string> range;
        if (std::regex_search(remark, match, pattern))
            range = {match[1].str(), match[2].str()};
        found = ranges.emplace(remark, range).first;
    }
    const std::string& low = found->second.first;
    const std::string& high = found->second.second;
    if (low.empty())
        return std::string();
    const int decimals = DecimalsOf(text);
    if (DecimalsOf(low) != decimals || DecimalsOf(high) != decimals || !AllOf(text, "0123456789."))
        return std::string();
    const double value = std::atof(text.c_str());
    if (value < std::atof(low.c_str()) - 1e-9 || value > std::atof(high.c_str()) + 1e-9)
        return "\"" + text + "\" lies outside the remark's " + low + "~" + high;
    return std::string();
}

double Value(const ParamTable& params, int group, int item, bool factory)
{
    auto it = params.find({group, item});
    if (it == params.end())
        return 0;
    return std::atof((factory ? it->second.factory : it->second.value).c_str());
}

bool Has(const ParamTable& params, int group, int item)
{
    return params.count({group, item}) != 0;
}

std::vector<std::string> SplitLines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

bool ReadFile(const std::string& path, std::string& text)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::ostringstream out;
    out << in.rdbuf();
    text = out.str();
    return true;
}

void Add(std::vector<std::string>& problems, const std::string& where, const std::vector<std::string>& more)
{
    for (const std::string& problem : more)
        problems.push_back(where + ": " + problem);
}

// A drive fresh from the factory holds the definition file's factory values
// (the simulated drive starts so). The group writers check a project's motor
// currents and V/F points against what the drive holds at each step; every
// model's new project must pass them, also with the user-defined curve.
std::vector<std::string> FreshDriveWriteProblems(const ParamTable& project, const ParamTable& fileValues)
{
    std::vector<std::string> problems;
    // The drive powers up with the factory defaults; the project sends its set values.
    auto drivesWord = [&fileValues](int group, int item, double scale) {
        return std::lround(Value(fileValues, group, item, true) * scale);
    };
    auto projectsWord = [&project](int group, int item, double scale) {
        return std::lround(Value(project, group, item, false) * scale);
    };
    if (!Has(project, 2, 0) || !Has(fileValues, 2, 1) || !Has(project, 1, 4))
        return problems;
    if (!(projectsWord(2, 0, 10) < drivesWord(2, 1, 10)))
        problems.push_back("02-00 is not below a fresh drive's 02-01: the group-02 write is refused");

    // V/F points 01-04 to 01-09 written one by one, hundredths and tenths.
    std::map<int, long> drive;
    for (int item = 4; item <= 9; ++item)
        drive[item] = drivesWord(1, item, item % 2 ? 10 : 100);
    auto fresh = [&](int item) { return projectsWord(1, item, item % 2 ? 10 : 100); };
    auto check = [&](int item, bool ok) {
        if (!ok)
            problems.push_back(Code(1, item) + " is refused by the V/F order check of a fresh drive");
        drive[item] = fresh(item);
    };
    check(4, fresh(4) >= drive[6]);
    check(5, fresh(5) >= drive[7]);
    check(6, drive[8] <= fresh(6) && fresh(6) <= drive[4]);
    check(7, drive[9] <= fresh(7) && fresh(7) <= drive[5]);
    check(8, fresh(8) <= drive[6]);
    check(9, fresh(9) <= drive[7]);
    return problems;
}

} // namespace

const char* DefinitionFileOf(Family family)
{
    switch (family) {
    case Family::Plain:
        return "PARAM.DAT";
    case Family::S:
        return "PARAMS.DAT";
    case Family::SP:
        return "PARAMSP.DAT";
    }
    return "";
}

const char* MotorFileOf(Family family)
{
    switch (family) {
    case Family::Plain:
        return "D390MOTORPARAM.DAT";
    case Family::S:
        return "RQ5MOTORPARAM.DAT";
    case Family::SP:
        return "D390SPMOTORPARAM.DAT";
    }
    return "";
}

Family FamilyOfModel(int modelCode)
{
    if (modelCode <= kModelFamilyS)
        return Family::Plain;
    if (modelCode <= kModelFamilySP)
        return Family::S;
    return Family::SP;
}

bool IsExpectedItem(Family family, int group, int item)
{
    for (const ItemSpan& span : kDefinedItems)
        if (span.group == group && item >= span.first && item <= span.last && (span.files & MaskOf(family)))
            return true;
    return false;
}

std::vector<std::string> DefinitionTextProblems(Family family, const std::string& text, ParamTable* table)
{
    std::vector<std::string> problems;
    ParamTable params;
    int groupLines = 0;
    int previousItem = -1;
    bool paramsAfterLastGroup = false;
    const std::vector<std::string> lines = SplitLines(text);
    for (size_t n = 0; n < lines.size(); ++n) {
        const std::string& line = lines[n];
        const std::string where = "line " + std::to_string(n + 1);
        if (line.find('#') != std::string::npos) {
            if (line[0] != '#' || line.size() < 2)
                problems.push_back(where + ": a group line is '#' and the group's name");
            ++groupLines;
            previousItem = -1;
            paramsAfterLastGroup = false;
            continue;
        }
        paramsAfterLastGroup = true;
        // GG-NN, a blank, the name; '@' factory, '$' value, '*' remark.
        size_t at = line.find('@');
        size_t dollar = line.find('$');
        size_t star = line.find('*');
        if (line.size() < 7 || !AllOf(line.substr(0, 2), "0123456789") || line[2] != '-' ||
            !AllOf(line.substr(3, 2), "0123456789") || line[5] != ' ' || line[6] == ' ' || at == std::string::npos ||
            dollar == std::string::npos || star == std::string::npos || !(at < dollar && dollar < star)) {
            problems.push_back(where + ": not \"GG-NN name@factory$value*remark\": \"" + line + "\"");
            continue;
        }
        const int group = std::atoi(line.substr(0, 2).c_str());
        const int item = std::atoi(line.substr(3, 2).c_str());
        const std::string code = line.substr(0, 5);
        ParamValues values{line.substr(0, at), line.substr(at + 1, dollar - at - 1),
                           line.substr(dollar + 1, star - dollar - 1), line.substr(star + 1)};
        // Labels and values travel as cells of comma-separated exports.
        if (values.label.find(',') != std::string::npos || values.factory.find(',') != std::string::npos ||
            values.value.find(',') != std::string::npos)
            problems.push_back(where + ": " + code + " holds a comma");
        if (group != groupLines) {
            problems.push_back(where + ": " + code + " stands in group " + std::to_string(groupLines) + "'s lines");
            continue;
        }
        if (item <= previousItem) {
            problems.push_back(where + ": " + code + " is not above the item before it (duplicate or out of order)");
            continue;
        }
        previousItem = item;
        params[{group, item}] = values;
    }
    if (groupLines != 15)
        problems.push_back(std::to_string(groupLines) + " group lines, not 15");
    if (paramsAfterLastGroup)
        problems.push_back("parameter lines after the last group line");

    for (int group = 0; group < 15; ++group)
        for (int item = 0; item < 100; ++item) {
            bool expected = IsExpectedItem(family, group, item);
            bool present = Has(params, group, item);
            if (expected && !present)
                problems.push_back(Code(group, item) + " is missing");
            else if (present && !expected)
                problems.push_back(Code(group, item) + " is defined but not expected");
        }
    std::vector<std::string> more = ValueProblems(family, params, 0);
    problems.insert(problems.end(), more.begin(), more.end());
    if (table)
        *table = params;
    return problems;
}

std::vector<std::string> ValueProblems(Family family, const ParamTable& params, int modelCode)
{
    std::vector<std::string> problems;
    auto mode14 = params.find({14, 20});
    for (const auto& [key, values] : params) {
        const auto [group, item] = key;
        const std::string code = Code(group, item);
        const FormRule* rule = FindForm(family, group, item);
        if (!rule) {
            problems.push_back(code + " has no form rule");
            continue;
        }
        for (bool factory : {true, false}) {
            const std::string& text = factory ? values.factory : values.value;
            const std::string what = code + (factory ? " factory default " : " set value ");
            Form form = rule->form;
            double lo = rule->lo;
            double hi = rule->hi;
            if (form == Form::Mode) {
                const std::string mode =
                    mode14 == params.end() ? std::string("1") : (factory ? mode14->second.factory : mode14->second.value);
                if (mode == "0") {
                    form = Form::D2;
                    for (const ModeRow& row : kModeRows)
                        if (row.item == item) {
                            lo = row.lo;
                            hi = row.hi;
                        }
                } else {
                    form = Form::Int;
                }
            }
            if (modelCode > 0)
                ModelLimit(modelCode, group, item, lo, hi);
            std::string problem = FormProblem(form, text, lo, hi, family);
            if (problem.empty())
                problem = RemarkRangeProblem(values.remark, text);
            if (!problem.empty())
                problems.push_back(what + problem);
        }
    }

    // Parameters that the writers and pages tie together, for both columns.
    for (bool factory : {true, false}) {
        const std::string column = factory ? " (factory defaults)" : " (set values)";
        auto value = [&](int group, int item) { return Value(params, group, item, factory); };
        auto text = [&](int group, int item) {
            auto it = params.find({group, item});
            return it == params.end() ? std::string() : (factory ? it->second.factory : it->second.value);
        };
        if (Has(params, 0, 5) && text(0, 5) == text(0, 6))
            problems.push_back("00-05 equals 00-06" + column);
        if (Has(params, 10, 0) && text(10, 0) == text(10, 1))
            problems.push_back("10-00 equals 10-01" + column);
        if (Has(params, 2, 0) && !(value(2, 0) < value(2, 1)))
            problems.push_back("02-00 is not below 02-01" + column);
        if (Has(params, 1, 4) && !(value(1, 4) >= value(1, 6) && value(1, 6) >= value(1, 8)))
            problems.push_back("not 01-04 >= 01-06 >= 01-08" + column);
        if (Has(params, 1, 5) && !(value(1, 5) >= value(1, 7) && value(1, 7) >= value(1, 9)))
            problems.push_back("not 01-05 >= 01-07 >= 01-09" + column);
        if (Has(params, 3, 20) && !(value(3, 20) > value(3, 21)))
            problems.push_back("03-20 (braking on) is not above 03-21 (braking off)" + column);
        if (Has(params, 0, 12) && !(value(0, 12) > value(0, 13)))
            problems.push_back("00-12 (upper limit) is not above 00-13 (lower limit)" + column);
    }
    return problems;
}

std::vector<std::string> InitialValuesTextProblems(const std::string& text)
{
    std::vector<std::string> problems;
    const std::vector<std::string> lines = SplitLines(text);
    size_t row = 0;
    bool ended = false;
    for (const std::string& line : lines) {
        if (line.find_first_not_of(" \t") != std::string::npos && line.substr(line.find_first_not_of(" \t")) == "END") {
            ended = true;
            break;
        }
        const std::string where = "row " + std::to_string(row);
        if (row >= 21) {
            problems.push_back(where + ": more than 21 rows");
            ++row;
            continue;
        }
        const std::string target = Code(kInitialTargets[row][0], kInitialTargets[row][1]);
        const size_t colon = line.find(':');
        if (colon == std::string::npos || line.substr(0, colon) != target)
            problems.push_back(where + ": key is not " + target);
        std::vector<std::string> values;
        std::string rest = colon == std::string::npos ? line : line.substr(colon + 1);
        size_t start = 0;
        while (true) {
            size_t comma = rest.find(',', start);
            values.push_back(rest.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
            if (comma == std::string::npos)
                break;
            start = comma + 1;
        }
        const size_t wanted = row < 9 ? 30 : 19;
        if (values.size() != wanted)
            problems.push_back(where + " (" + target + "): " + std::to_string(values.size()) + " values, not " +
                               std::to_string(wanted));
        for (const std::string& value : values)
            if (value.empty() || value.find(' ') != std::string::npos)
                problems.push_back(where + " (" + target + "): empty value or value with a blank");
        ++row;
    }
    if (row < 21)
        problems.push_back(std::to_string(row) + " rows, not 21");
    if (!ended)
        problems.push_back("no END line");
    return problems;
}

std::vector<std::string> ModelListProblems(const std::string& text)
{
    std::vector<std::string> problems;
    const ModelList list = ParseModelList(text);
    std::set<std::string> known;
    for (const ModelCodeEntry& model : ModelCodeTable()) {
        known.insert(model.name);
        auto count = std::count(list.names.begin(), list.names.end(), model.name);
        if (count == 0) {
            problems.push_back(std::string("model ") + model.name + " has no entry");
            continue;
        }
        if (count > 1)
            problems.push_back(std::string("model ") + model.name + " has " + std::to_string(count) + " entries");
        size_t index = static_cast<size_t>(std::find(list.names.begin(), list.names.end(), model.name) - list.names.begin());
        if (index >= list.descriptions.size() || list.descriptions[index].empty())
            problems.push_back(std::string("model ") + model.name + " has no description");
    }
    for (const std::string& name : list.names)
        if (!known.count(name))
            problems.push_back("entry \"" + name + "\" is no model of the model table");
    return problems;
}

std::vector<std::string> ProgramFolderProblems(const std::string& folder)
{
    std::vector<std::string> problems;
    std::string text;

    std::map<Family, ParamTable> fileValues;
    for (Family family : {Family::Plain, Family::S, Family::SP}) {
        const std::string name = DefinitionFileOf(family);
        if (!ReadFile(folder + name, text))
            problems.push_back(name + ": cannot be read");
        else
            Add(problems, name, DefinitionTextProblems(family, text, &fileValues[family]));
    }
    if (!ReadFile(folder + "IntialParam.DAT", text))
        problems.push_back("IntialParam.DAT: cannot be read");
    else
        Add(problems, "IntialParam.DAT", InitialValuesTextProblems(text));
    if (!ReadFile(folder + kModelListFileName, text))
        problems.push_back(std::string(kModelListFileName) + ": cannot be read");
    else
        Add(problems, kModelListFileName, ModelListProblems(text));

    // Each model with its own column of the initial values, at 50 and 60 Hz,
    // the way File New builds a project.
    MessageRecorder messages;
    for (const ModelCodeEntry& model : ModelCodeTable()) {
        const int code = static_cast<int>(model.code);
        const Family family = FamilyOfModel(code);
        for (int freq : {0, 1}) {
            const std::string where = std::string(model.name) + (freq ? " at 60 Hz" : " at 50 Hz");
            CD390DocData doc;
            doc.m_strProgramFolder = folder;
            doc.m_nModelCode = code;
            doc.m_strModelName = model.name;
            doc.m_nFreqIndex = freq;
            if (!doc.BuildForCurrentModel() || !doc.ReadInitialParamFile(folder + "IntialParam.DAT")) {
                problems.push_back(where + ": the project cannot be built");
                continue;
            }
            ParamTable params;
            for (int group = 0; group < static_cast<int>(doc.m_Groups.size()); ++group) {
                const std::vector<ParamRec>& records = doc.m_Groups[group].m_Params;
                for (int item = 0; item < static_cast<int>(records.size()); ++item) {
                    if (group < kGroupCount && item < kItemCount && doc.m_Defined[group][item])
                        params[{group, item}] = {records[item].m_strLabel, records[item].m_strFactory,
                                                 records[item].m_strValue, records[item].m_strRemark};
                }
            }
            if (doc.m_Groups.size() != 15)
                problems.push_back(where + ": " + std::to_string(doc.m_Groups.size()) + " groups, not 15");
            else if (doc.m_Groups[14].m_Params.size() < 78)
                problems.push_back(where + ": group 14 holds fewer than 78 records");
            for (int group = 0; group < kGroupCount; ++group)
                for (int item = 0; item < kItemCount; ++item)
                    if ((doc.m_Defined[group][item] != 0) != IsExpectedItem(family, group, item))
                        problems.push_back(where + ": defined flag of " + Code(group, item) + " is wrong");
            for (const auto& [key, values] : params)
                if (values.label.compare(0, 5, Code(key.first, key.second)) != 0)
                    problems.push_back(where + ": record " + Code(key.first, key.second) + " is labelled \"" +
                                       values.label + "\"");
            Add(problems, where, ValueProblems(family, params, code));
            Add(problems, where, FreshDriveWriteProblems(params, fileValues[family]));
            if (Has(params, 13, 0) && (params[{13, 0}].value != model.capacity || params[{13, 0}].factory != model.capacity))
                problems.push_back(where + ": 13-00 is not the capacity code " + model.capacity);

            // The motor list names parameters of this very file, by their names.
            if (doc.m_MotorParams.empty())
                problems.push_back(where + ": empty motor-parameter list");
            for (const MotorParamRec& motor : doc.m_MotorParams) {
                const int group = std::atoi(motor.m_strCode.substr(0, 2).c_str());
                const int item = motor.m_strCode.size() == 5 ? std::atoi(motor.m_strCode.substr(3, 2).c_str()) : -1;
                auto it = params.find({group, item});
                if (it == params.end() || motor.m_strCode != Code(group, item))
                    problems.push_back(where + ": motor list names \"" + motor.m_strCode + "\", no parameter of the file");
                else if (it->second.label != motor.m_strCode + " " + motor.m_strText)
                    problems.push_back(where + ": motor list text of " + motor.m_strCode + " is not the parameter's name");
            }
        }
    }
    for (const std::string& text_ : messages.Texts())
        problems.push_back("message shown: " + text_);
    return problems;
}
