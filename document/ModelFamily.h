#pragma once
// The model families, named once. A model code is the drive's model number
// (13-00) plus its family base: the plain models lie at or below
// kModelFamilyS, the S family ("range A", the first extended family) above it
// and below kModelFamilySP, the S-P family ("range B", the second) above
// kModelFamilySP. The base 0x1110000 itself belongs to neither range; the
// rules that care treat it on its own.

#include <cstdint>

constexpr int kModelFamilyS = 0x1100000;
constexpr int kModelFamilySP = 0x1110000;

enum class ModelFamily {
    Old,       // code <= 0x1100000
    RangeA,    // 0x1100000 < code < 0x1110000
    ExactlySP, // code == 0x1110000
    RangeB,    // code > 0x1110000
};

constexpr ModelFamily FamilyOf(int64_t code)
{
    if (code <= kModelFamilyS)
        return ModelFamily::Old;
    if (code < kModelFamilySP)
        return ModelFamily::RangeA;
    if (code == kModelFamilySP)
        return ModelFamily::ExactlySP;
    return ModelFamily::RangeB;
}

// Any code above 0x1100000: the extended page sets, quantities and layouts.
constexpr bool IsNewModel(int64_t code) { return code > kModelFamilyS; }
constexpr bool IsRangeA(int64_t code) { return FamilyOf(code) == ModelFamily::RangeA; }
constexpr bool IsRangeB(int64_t code) { return FamilyOf(code) == ModelFamily::RangeB; }

// The model number within either extended family (the project's 13-00), 0
// for the plain models and for the base 0x1110000 itself.
constexpr int ModelNumberOf(int code)
{
    return code > kModelFamilySP ? code - kModelFamilySP : code > kModelFamilyS ? code - kModelFamilyS : 0;
}

// The three old models that some gates restrict up to version 1.31.
constexpr bool IsRestrictedModel(int64_t code, float version)
{
    return (code == 0x44E || code == 0x451 || code == 0x4B2) && version <= 1.31f;
}

// Voltage class of a model code: 100 or 400.
int ModelClassOf(int code);
