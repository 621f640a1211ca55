#pragma once
// The model list file "RQ5.SPE": the models offered by File New, each with a
// description of a few lines.
//
//   TYPE:<name><one closing character>
//   <description line>
//   ...
//
// Lines are trimmed; lines shorter than 5 characters are ignored. Every model
// has exactly one description (empty when no line follows it), so names and
// descriptions always pair up; description lines before the first model are
// dropped.

#include <string>
#include <vector>

struct ModelList {
    std::vector<std::string> names;
    std::vector<std::string> descriptions; // each line followed by CR LF
};

// The file name inside the program folder.
inline constexpr const char* kModelListFileName = "RQ5.SPE";

// Parses the text of a model list file.
ModelList ParseModelList(const std::string& text);

// Reads and parses the file; false (and an empty list) when it cannot be read.
bool ReadModelListFile(const std::string& path, ModelList& list);
