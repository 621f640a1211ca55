#pragma once
// Row shapes that the pages of groups 00 to 02 share.

#include "editor/EditorContext.h"
#include "editor/GroupPageModel.h"
#include "link/RegisterText.h"

#include <string>

namespace Groups00To02 {

// A one-decimal row whose limits are single-precision numbers: both checks
// widen them to double, and the filter lets the maximum itself through but
// not its next tenth.
inline PageRow LimitRow(int item, int editId, float low, float high, const char* rangeText, int rangeTextId)
{
    PageRow row = DecimalRow(item, editId, 1, static_cast<double>(high) + 0.001, low, high, rangeText);
    row.rangeTextId = rangeTextId;
    return row;
}

// The word a one- or two-decimal text (scale 10 or 100) goes to the drive as.
inline long WordOfText(const std::string& text, int scale)
{
    uint16_t word = 0;
    ConvertTextToWord(scale == 100 ? '2' : '1', text, word);
    return word;
}

} // namespace Groups00To02
