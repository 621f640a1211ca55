#pragma once
// A picture of the resource module by id, decoded once and kept.

#include <wx/bitmap.h>

// An empty bitmap when the module has no picture of that id.
const wxBitmap& LoadResourceBitmap(unsigned id);
