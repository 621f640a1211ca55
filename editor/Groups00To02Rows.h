#pragma once
// Row shapes and refusals that the pages of groups 00 to 02 share.

#include "editor/EditorContext.h"
#include "editor/GroupPageModel.h"
#include "platform/MessageBox.h"

#include <climits>
#include <cmath>
#include <string>

namespace Groups00To02 {

// Every row of these pages keeps its changed flag at the page's first
// position plus its row, whatever the project lists.
inline void NumberFlags(PageSpec& page, int firstPosition)
{
    for (std::size_t r = 0; r < page.rows.size(); ++r)
        page.rows[r].flagPosition = firstPosition + static_cast<int>(r);
}

// A one-decimal row whose limits are single-precision numbers: both checks
// widen them to double, and the filter lets the maximum itself through but
// not its next tenth.
inline RowSpec LimitRow(int item, int editId, float low, float high, const char* rangeText, int rangeTextId)
{
    RowSpec row = DecimalRow(item, editId, 1, static_cast<double>(high) + 0.001, low, high, rangeText);
    row.rangeTextId = rangeTextId;
    return row;
}

// The word a decimal text goes to the drive as.
inline long WordOfText(const std::string& text, int scale)
{
    return static_cast<long>(std::trunc((ParseLeadingNumber(text) + 0.001) * scale)) & 0xFFFF;
}


} // namespace Groups00To02
