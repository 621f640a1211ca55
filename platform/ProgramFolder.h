#pragma once
// Where the program lives: the folder of the executable, ending with '/'.
// Data files, the resource module and small settings files lie there.

#include <string>

// The folder of the running executable, ending with '/'.
std::string ExecutableFolder();
