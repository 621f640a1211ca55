#pragma once
// Texts are UTF-8 in memory. Files from elsewhere (written by the drive
// vendor's Windows tools) that are not valid UTF-8 are read as code page 936.

#include <string>

bool IsValidUtf8(const std::string& text);
// text read as code page 936, in UTF-8. Bytes that code page 936 cannot map
// become U+FFFD; nothing is dropped silently.
std::string Cp936ToUtf8(const std::string& text);
// text itself when it is valid UTF-8, otherwise read as code page 936.
std::string ToUtf8FromFile(const std::string& text);
