#pragma once
// The rules the program's data files keep, as tables a reader can hold against
// the group readers and the editor pages, and checkers that list every broken
// rule of a program folder as a readable text.

#include <map>
#include <string>
#include <utility>
#include <vector>

// The three model families and their definition files.
enum class Family { Plain, S, SP };

const char* DefinitionFileOf(Family family);
const char* MotorFileOf(Family family);
Family FamilyOfModel(int modelCode);

// Whether the family's definition file defines item GG-NN.
bool IsExpectedItem(Family family, int group, int item);

// The parameters of one definition file or one built document: group and item
// to factory default and set value.
struct ParamValues {
    std::string label;
    std::string factory;
    std::string value;
    std::string remark; // a first "MIN~MAX" in it bounds values of as many decimals
};
using ParamTable = std::map<std::pair<int, int>, ParamValues>;

// Problems of the raw text of a definition file: line grammar, group order,
// items strictly rising within their group, the defined set, the value forms
// and the rules that tie parameters together. Empty when the file is sound.
// table, when given, receives the parameters read.
std::vector<std::string> DefinitionTextProblems(Family family, const std::string& text, ParamTable* table = nullptr);

// Value forms, ranges and ties of a parameter table; with a model code above 0
// also the limits that follow that model (voltage class, motor size). The
// range a remark states (the simulated drive enforces it) holds the values too.
std::vector<std::string> ValueProblems(Family family, const ParamTable& params, int modelCode);

// Problems of the raw text of the initial-values file: 21 rows keyed by their
// target parameter, 30 values in rows 0 to 8 and 19 in rows 9 to 20, then END.
std::vector<std::string> InitialValuesTextProblems(const std::string& text);

// Problems of the model list text: every model of the model table once, with a
// description, and no other model.
std::vector<std::string> ModelListProblems(const std::string& text);

// Everything above, plus each definition file loaded by the document for
// every model of its family at both base frequencies with that model's column
// of the initial-values file applied, and the motor-parameter lists held
// against their definition files. folder ends with '/'.
std::vector<std::string> ProgramFolderProblems(const std::string& folder);
