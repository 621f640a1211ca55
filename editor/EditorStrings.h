#pragma once
// String ids of the editor: its messages (named in res/StringIds.h) and the
// blocks of its page tables.

#include "res/StringIds.h"

// Option and range texts of the page tables: one hundred ids per group.
constexpr unsigned PageStringBase(int group)
{
    return 62000u + 100u * static_cast<unsigned>(group);
}
