#pragma once
// The C interface of the resource module, shared by the module and its loader.

#define RESDLL_LANG_ENGLISH 0
#define RESDLL_LANG_CHINESE 1
#define RESDLL_STRING_SYMBOL "ResDll_LoadString"
#define RESDLL_BITMAP_SYMBOL "ResDll_LoadBitmap"

extern "C" {
// The text of a string id in a language, or null when there is none.
typedef const char* (*ResDllStringFn)(unsigned id, int language);
// The bytes of a picture by resource id, or null.
typedef const unsigned char* (*ResDllBitmapFn)(unsigned id, unsigned long* size);
}
