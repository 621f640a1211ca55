#pragma once
// Messages of this program that the classic string table did not have. They
// are looked up by id like every other text; until the resource module carries
// an id, the English text given here is shown.

#include <string>

enum : unsigned {
    IDS_MODEL_FILE_MISSING = 61760,   // "%s": path of the model list file
    IDS_STATION_ITEM_INVALID = 61761, // "%s": the refused item of a station list
};

// printf-style; the format is the string table's text of id, or fallback.
std::string FormatOwnText(unsigned id, const char* fallback, ...);
