#pragma once
// A drive read made by a page's gate, of which the user hears once. Some
// queries tell their own failures (all of them, only the link's, or none);
// the page adds its text only where the query told nothing, so a failure
// never shows two boxes, nor none.

#include <functional>
#include <string>

// Runs read; when it fails without having shown a box, shows text. Returns
// what read returned.
bool ReadToldOnce(const std::function<bool()>& read, const std::string& text);
bool ReadToldOnce(const std::function<bool()>& read, unsigned textId);
