#pragma once
// "curfile.ini" in the temporary folder: a job that another program leaves
// for the next start. Read once at start-up and deleted, whatever its job.
//
//   line 1: "0" nothing, "1" open the project on line 2, "2" connect at once
//           with the settings on lines 2 to 6

#include <string>
#include <vector>

inline constexpr const char* kHandOverFileName = "curfile.ini";

struct HandOverJob {
    int job = 0;                    // 0 when the first line is anything else
    std::vector<std::string> lines; // the lines after the first, line ends removed
};

// Reads path and deletes it (a failed delete is ignored). Only the user's
// own regular file within a small bound is read; a FIFO, a symbolic link or
// another user's file is left alone with a line on standard error, and an
// oversized file of the user's is deleted unread. False when nothing was
// read; job then is 0.
bool TakeHandOverFile(const std::string& path, HandOverJob& job);
