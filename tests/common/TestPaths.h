#pragma once
// Folders the tests use.

#include <string>

// The build's program folder (executable, resource module, data files), ending with '/'.
std::string TestProgramFolder();
// Folder of the test sources' fixtures, ending with '/'.
std::string TestSourceFolder();
// A new empty folder under the system's temporary folder, ending with '/'.
std::string MakeTempFolder();
