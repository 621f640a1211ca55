#pragma once
// Writing a file so that a failure never costs the old one: the content goes
// to a temporary file beside the target, which is then renamed over it.

#include <functional>
#include <string>

// write fills the temporary file named by its argument and returns false with
// a reason in error when it could not. True when path now holds the new file;
// otherwise path is as it was and error says why.
bool ReplaceFileWith(const std::string& path, const std::function<bool(const std::string&, std::string&)>& write,
                     std::string& error);
// The same for bytes already in memory.
bool ReplaceFileBytes(const std::string& path, const std::string& bytes, std::string& error);
