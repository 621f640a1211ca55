// The resource module: the string table and the pictures of the program.

#include "res/ResDllApi.h"

#include <cstddef>

namespace {

struct StringEntry {
    unsigned id;
    const char* english;
    const char* chinese; // null where the text has no Chinese form
};

// Sorted by id; RES_STRING(id, English, Chinese or nullptr). A named entry's
// name is for code (res/StringIds.h); the module keeps the id alone.
#define RES_STRING(id, english, chinese) {id, english, chinese},
#define RES_STRING_NAMED(id, name, english, chinese) {id, english, chinese},
constexpr StringEntry kStrings[] = {
#include "res/StringTable.inc"
};
#undef RES_STRING_NAMED
#undef RES_STRING

constexpr std::size_t kStringCount = sizeof(kStrings) / sizeof(kStrings[0]);

// FindString is a binary search: one entry out of order or a repeated id makes
// other ids unreachable, so the build refuses such a table.
constexpr bool StringIdsAscending()
{
    for (std::size_t i = 1; i < kStringCount; ++i) {
        if (kStrings[i - 1].id >= kStrings[i].id)
            return false;
    }
    return true;
}
static_assert(StringIdsAscending(), "StringTable.inc must be sorted by id, each id once");

constexpr bool EveryStringHasEnglish()
{
    for (const StringEntry& entry : kStrings) {
        if (!entry.english)
            return false;
    }
    return true;
}
static_assert(EveryStringHasEnglish(), "every string needs its English text: it is the fallback");

struct BitmapEntry {
    unsigned id;
    const unsigned char* data;
    unsigned long size;
};

#include "res/BitmapTable.inc"

const StringEntry* FindString(unsigned id)
{
    std::size_t low = 0;
    std::size_t high = kStringCount;
    while (low < high) {
        std::size_t mid = (low + high) / 2;
        if (kStrings[mid].id < id)
            low = mid + 1;
        else
            high = mid;
    }
    if (low < kStringCount && kStrings[low].id == id)
        return &kStrings[low];
    return nullptr;
}

} // namespace

extern "C" __attribute__((visibility("default"))) const char* ResDll_LoadString(unsigned id, int language)
{
    const StringEntry* entry = FindString(id);
    if (!entry)
        return nullptr;
    if (language == RESDLL_LANG_CHINESE)
        return entry->chinese;
    return entry->english;
}

extern "C" __attribute__((visibility("default"))) const unsigned char* ResDll_LoadBitmap(unsigned id, unsigned long* size)
{
    for (const BitmapEntry& entry : kBitmaps) {
        if (entry.id == id) {
            if (size)
                *size = entry.size;
            return entry.data;
        }
    }
    return nullptr;
}
