#pragma once
// What code below the shell needs to know about a model code: its family
// (plain models up to 0x1100000, the S family above it up to 0x1110000, the
// S-P family above that), its model number within the family and its voltage
// class. The shell's model table holds the names; these rules agree with it.

namespace ModelFamily {

constexpr int kS = 0x1100000;
constexpr int kSP = 0x1110000;

// The model number: the code less its family base (plain models: the code).
int ModelNumber(int code);
// 100 or 400: the shell's class for every model of its table; a code that
// names no model is class 100.
int VoltageClass(int code);

} // namespace ModelFamily
