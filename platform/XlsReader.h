#pragma once
// The older binary workbook form (.xls), read with freexl. freexl reads past
// its buffers on some damaged files, so the parse runs in a child process: a
// fault there refuses the file, and the program (with the open project) goes
// on. The child hands the cells over a pipe; the parent holds them to the
// same bounds as any workbook it reads.

#include "platform/Workbook.h"

#include <string>

// Fills book with the sheets of the .xls file at path. False, with error set
// and book empty, when the file is damaged, past the bounds, or the parse
// failed or took too long.
bool ReadXlsWorkbook(const std::string& path, CWorkbook& book, std::string& error);
