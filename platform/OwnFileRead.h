#pragma once
// Reading a small file that the user's own programs leave, in a folder that
// others may write too (the shared temporary folder) or that an older
// installation filled. Only a regular file that is no symbolic link, owned by
// the user, and within a size bound is read: a FIFO would hang the caller, a
// link to a device would feed it without end, another user's file is not ours
// to act on.

#include <cstddef>
#include <string>

enum class OwnFileRead {
    Read,     // content holds the whole file
    Missing,  // no such file: nothing to say
    TooLarge, // the user's own regular file, past the bound: not read
    Refused,  // anything else that is there: not read, reason says why
};

struct OwnFileRules {
    std::size_t maxBytes = 64 * 1024;
    // Files of an installation (the program folder) may belong to root, who
    // could change anything anyway.
    bool rootMayOwn = false;
};

// Opens without following a link and without blocking, checks what is open,
// then reads at most rules.maxBytes. reason is set for TooLarge and Refused.
OwnFileRead ReadOwnFile(const std::string& path, const OwnFileRules& rules, std::string& content,
                        std::string& reason);

// The usual line on standard error for a file that is there and was not read.
void ReportIgnoredFile(const std::string& path, const std::string& reason);
