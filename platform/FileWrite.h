#pragma once
// Writing files without losing what was there: bytes go to a temporary file
// beside the target, which replaces the target only once all of them are on
// the disk. A full disk or a refused write leaves the old file as it was.

#include <cstddef>
#include <string>
#include <sys/types.h>

// Writes all size bytes of data to fd; false on the first error.
bool WriteAll(int fd, const char* data, std::size_t size);

// The permission bits a new file at path gets: those of the file it
// replaces, else the usual ones under the umask.
mode_t ModeForTarget(const std::string& path);

// Replaces the file at path by bytes. On failure the file at path is
// untouched, no temporary file is left, and reason (when given) holds the
// system's own text for what went wrong (strerror).
bool WriteFileReplacing(const std::string& path, const std::string& bytes, std::string* reason = nullptr);

// A temporary file beside path for a writer that needs a path of its own
// (a library that writes the file itself): created empty with the target's
// permission bits; empty on failure, with reason set. The caller renames it
// with CommitReplacement or removes it.
std::string MakeReplacementFile(const std::string& path, std::string* reason = nullptr);
bool CommitReplacement(const std::string& temporary, const std::string& path, std::string* reason = nullptr);
