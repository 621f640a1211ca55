#pragma once
// Station list texts such as "1,3,5-12": the stations a command addresses.

#include <string>
#include <vector>

// Appends the stations of text to stations, in the order of the text, ranges
// ascending. Returns 1, or 0 after showing why the text was refused; on 0 the
// vector is emptied. A number is written with digits only and lies from 1 to
// 32; a range "a-b" needs a <= b; no station may repeat. An empty text adds
// nothing; a comma at the very end is allowed.
int ParseStationList(std::vector<int>& stations, const std::string& text);
