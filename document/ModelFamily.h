#pragma once
// The model families, named once. A model code is the drive's model number
// (13-00) plus its family base: the plain models lie at or below
// kModelFamilyS, the S family ("range A") above it and below kModelFamilySP,
// the S-P family ("range B") above kModelFamilySP. The base 0x1110000 itself
// belongs to neither range; several gates treat it on its own.

#include <cstdint>

constexpr int kModelFamilyS = 0x1100000;
constexpr int kModelFamilySP = 0x1110000;

enum class ModelFamily {
    Old,       // code <= 0x1100000
    RangeA,    // 0x1100000 < code < 0x1110000
    ExactlySP, // code == 0x1110000
    RangeB,    // code > 0x1110000
};

ModelFamily FamilyOf(int64_t code);

// Any code above 0x1100000: the extended page sets, quantities and layouts.
inline bool IsNewModel(int64_t code) { return code > kModelFamilyS; }
inline bool IsRangeA(int64_t code) { return FamilyOf(code) == ModelFamily::RangeA; }
inline bool IsRangeB(int64_t code) { return FamilyOf(code) == ModelFamily::RangeB; }

// The three old models that some gates restrict up to version 1.31.
bool IsRestrictedModel(int64_t code, float version);

// Voltage class of a model code: 100 or 400.
int ModelClassOf(int code);
